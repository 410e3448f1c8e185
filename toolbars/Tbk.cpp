#include "toolbars/Tbk.h"

#include "toolbars/EInvalidOperation.h"
#include "toolbars/IniFile.h"
#include "toolbars/TCustomToolWindowKit.h"
#include "toolbars/TDockKit.h"
#include "toolbars/Tbkcnst.h"

#include <QWidget>

#include <algorithm>
#include <vector>

namespace {

// Value names of a saved tool-window place.
const QString kRev = QStringLiteral("Rev");
const QString kVisible = QStringLiteral("Visible");
const QString kDockedTo = QStringLiteral("DockedTo");
const QString kLastDock = QStringLiteral("LastDock");
const QString kDockRow = QStringLiteral("DockRow");
const QString kDockPos = QStringLiteral("DockPos");
const QString kFloatLeft = QStringLiteral("FloatLeft");
const QString kFloatTop = QStringLiteral("FloatTop");
// "DockedTo" of a floating tool window.
const QString kFloating = QStringLiteral("+");
constexpr int kCurrentRev = 3;

QString NameOf(const TCustomToolWindowKit* window) {
    const QString name = window->objectName();
    if (name.isEmpty())
        throw EInvalidOperation(STBKToolwinNameNotSet);
    return name;
}

// An empty name names no dock, not one left without a name.
TDockKit* FindDock(const std::vector<TDockKit*>& docks, const QString& name) {
    if (name.isEmpty())
        return nullptr;
    for (TDockKit* dock : docks)
        if (dock->objectName() == name)
            return dock;
    return nullptr;
}

// The form's tool windows in the order they were made.
std::vector<TCustomToolWindowKit*> ToolWindowsOf(QWidget* form) {
    const QList<TCustomToolWindowKit*> found = form->findChildren<TCustomToolWindowKit*>();
    std::vector<TCustomToolWindowKit*> windows(found.begin(), found.end());
    std::sort(windows.begin(), windows.end(), [](const auto* a, const auto* b) {
        return a->CreationSequence() < b->CreationSequence();
    });
    return windows;
}

// Lets every dock of the form arrange once, after all places are read, even when one fails.
class DockUpdateScope {
  public:
    explicit DockUpdateScope(std::vector<TDockKit*> docks) : docks_(std::move(docks)) {
        for (TDockKit* dock : docks_)
            dock->BeginUpdate();
    }
    ~DockUpdateScope() {
        for (auto it = docks_.rbegin(); it != docks_.rend(); ++it)
            (*it)->EndUpdate();
    }
    DockUpdateScope(const DockUpdateScope&) = delete;
    DockUpdateScope& operator=(const DockUpdateScope&) = delete;

  private:
    std::vector<TDockKit*> docks_;
};

}  // namespace

void CustomSaveToolbarPositions(QWidget* Form, const TPositionWriteIntProc& WriteIntProc,
                                const TPositionWriteStringProc& WriteStringProc) {
    for (TCustomToolWindowKit* window : ToolWindowsOf(Form)) {
        const QString name = NameOf(window);
        WriteIntProc(name, kRev, kCurrentRev);
        WriteIntProc(name, kVisible, window->Visible() ? 1 : 0);
        QString dockedTo = kFloating;
        if (TDockKit* dock = window->DockedTo()) {
            dockedTo.clear();
            if (dock->AllowDrag()) {
                if (dock->objectName().isEmpty())
                    throw EInvalidOperation(STBKToolwinDockedToNameNotSet);
                dockedTo = dock->objectName();
            }
        }
        WriteStringProc(name, kDockedTo, dockedTo);
        WriteStringProc(name, kLastDock,
                        window->LastDock() ? window->LastDock()->objectName() : QString());
        WriteIntProc(name, kDockRow, window->DockRow());
        WriteIntProc(name, kDockPos, window->DockPos());
        WriteIntProc(name, kFloatLeft, window->FloatingTopLeft().x());
        WriteIntProc(name, kFloatTop, window->FloatingTopLeft().y());
        window->WritePositionData(WriteIntProc, WriteStringProc);
    }
}

void CustomLoadToolbarPositions(QWidget* Form, const TPositionReadIntProc& ReadIntProc,
                                const TPositionReadStringProc& ReadStringProc) {
    const QList<TDockKit*> found = Form->findChildren<TDockKit*>();
    const std::vector<TDockKit*> docks(found.begin(), found.end());
    DockUpdateScope scope(docks);
    for (TCustomToolWindowKit* window : ToolWindowsOf(Form)) {
        const QString name = NameOf(window);
        const int rev = ReadIntProc(name, kRev, 0);
        if (rev != 2 && rev != 3)
            continue;
        window->SetVisible(ReadIntProc(name, kVisible, window->Visible() ? 1 : 0) != 0);
        const QString dockedTo = ReadStringProc(name, kDockedTo, QString());
        if (dockedTo.isEmpty())
            continue;
        TDockKit* newDock = nullptr;
        if (dockedTo != kFloating) {
            newDock = FindDock(docks, dockedTo);
            if (!newDock || !newDock->AllowDrag())
                continue;
        }
        window->SetDockRow(ReadIntProc(name, kDockRow, window->DockRow()));
        window->SetDockPos(ReadIntProc(name, kDockPos, window->DockPos()));
        const QPoint floatingAt(ReadIntProc(name, kFloatLeft, 0), ReadIntProc(name, kFloatTop, 0));
        window->SetFloatingTopLeft(floatingAt);
        window->ReadPositionData(ReadIntProc, ReadStringProc);
        if (!newDock) {
            window->SetParent(Form);
            window->SetBounds(floatingAt.x(), floatingAt.y(), window->width(), window->height());
            window->MoveOnScreen(true);
            if (rev > 2 && window->UseLastDock())
                if (TDockKit* last = FindDock(docks, ReadStringProc(name, kLastDock, QString())))
                    window->SetLastDock(last);
        } else {
            window->SetParent(newDock);
        }
        window->ArrangeControls();
        window->DoneReadingPositionData(ReadIntProc, ReadStringProc);
    }
}

void IniLoadToolbarPositions(QWidget* Form, const QString& Filename,
                             const QString& SectionNamePrefix) {
    const IniFile ini(Filename);
    CustomLoadToolbarPositions(
        Form,
        [&](const QString& toolbar, const QString& value, int Default) {
            return ini.ReadInteger(SectionNamePrefix + toolbar, value, Default);
        },
        [&](const QString& toolbar, const QString& value, const QString& Default) {
            return ini.ReadString(SectionNamePrefix + toolbar, value, Default);
        });
}

void IniSaveToolbarPositions(QWidget* Form, const QString& Filename,
                             const QString& SectionNamePrefix) {
    IniFile ini(Filename);
    try {
        CustomSaveToolbarPositions(
            Form,
            [&](const QString& toolbar, const QString& value, int data) {
                ini.WriteInteger(SectionNamePrefix + toolbar, value, data);
            },
            [&](const QString& toolbar, const QString& value, const QString& data) {
                ini.WriteString(SectionNamePrefix + toolbar, value, data);
            });
    } catch (...) {
        // What was written before the failure stays written; the first error is the one told.
        try {
            ini.UpdateFile();
        } catch (const EIniFileError&) {
        }
        throw;
    }
    ini.UpdateFile();
}
