#include "ToolbarFixtureForm.h"

#include "toolbars/EInvalidOperation.h"
#include "toolbars/TDockKit.h"
#include "toolbars/TToolbarKit.h"
#include "toolbars/TToolbarSepKit.h"

#include <QTest>

#include <functional>
#include <memory>

namespace {

// The message of the EInvalidOperation that Misuse throws; empty when it throws none.
QString MessageOf(const std::function<void()>& Misuse) {
    try {
        Misuse();
    } catch (const EInvalidOperation& error) {
        return QString::fromStdString(error.what());
    }
    return {};
}

void Discard(const QString&, const QString&, int) {}
void DiscardText(const QString&, const QString&, const QString&) {}

}  // namespace

// Every misuse of the toolbar classes is refused with its own message, and leaves things as
// they were.
class TbkcnstTest : public QObject {
    Q_OBJECT

    std::unique_ptr<ToolbarFixtureForm> form;
    TToolbarKit* bar = nullptr;

  private slots:
    void initTestCase() { SilenceOffscreenPlatformNotices(); }
    void init() {
        form = std::make_unique<ToolbarFixtureForm>();
        bar = form->AddToolbar("Bar", form->DockTop, 1);
    }
    void cleanup() { form.reset(); }

    void dockInsideToolWindowOrDock() {
        const QString expected =
            "A TDockKit control cannot be placed inside a tool window or another TDockKit";
        QCOMPARE(MessageOf([&] { new TDockKit(bar); }), expected);
        QCOMPARE(MessageOf([&] { new TDockKit(form->DockLeft); }), expected);
        QCOMPARE(MessageOf([&] { form->DockRight->SetParent(form->DockLeft); }), expected);
        QCOMPARE(form->DockRight->parentWidget(), form.get());
    }

    void dockPositionWhileHoldingControls() {
        QCOMPARE(MessageOf([&] { form->DockTop->SetPosition(tbk::dpLeft); }),
                 QString("Cannot change Position of a TDockKit if it already contains controls"));
        QCOMPARE(form->DockTop->Position(), tbk::dpTop);
        form->DockBottom->SetPosition(tbk::dpLeft);  // empty: allowed
        QCOMPARE(form->DockBottom->Position(), tbk::dpLeft);
    }

    void savingWithoutNames() {
        bar->setObjectName(QString());
        QCOMPARE(MessageOf([&] { CustomSaveToolbarPositions(form.get(), Discard, DiscardText); }),
                 QString("Cannot save tool window's position because Name property is not set"));
        bar->setObjectName("Bar");
        form->DockTop->setObjectName(QString());
        QCOMPARE(
            MessageOf([&] { CustomSaveToolbarPositions(form.get(), Discard, DiscardText); }),
            QString("Cannot save tool window's position because DockedTo's Name property not set"));
        // A dock that takes no drags is saved as empty and needs no name.
        form->DockTop->SetAllowDrag(false);
        QCOMPARE(MessageOf([&] { CustomSaveToolbarPositions(form.get(), Discard, DiscardText); }),
                 QString());
    }

    void toolWindowOnOtherControls() {
        QCOMPARE(MessageOf([&] { bar->SetParent(form->Center); }),
                 QString("A tool window can only be placed on a TDockKit or directly on the form"));
        QCOMPARE(bar->DockedTo(), form->DockTop);
    }

    void foreignControlInToolbarOrder() {
        QWidget foreign;
        foreign.setObjectName("Foreign");
        QCOMPARE(MessageOf([&] { bar->GetOrderIndex(&foreign); }),
                 QString("Control 'Foreign' is not a child of the toolbar"));
        QCOMPARE(MessageOf([&] { bar->SetOrderIndex(&foreign, 0); }),
                 QString("Control 'Foreign' is not a child of the toolbar"));
    }

    void separatorOutsideToolbars() {
        QCOMPARE(MessageOf([&] { new TToolbarSepKit(form->Center); }),
                 QString("TToolbarSepKit can only be placed on a TToolbarKit"));
        auto* separator = new TToolbarSepKit(bar);
        QCOMPARE(MessageOf([&] { separator->SetParent(form.get()); }),
                 QString("TToolbarSepKit can only be placed on a TToolbarKit"));
        QCOMPARE(separator->parentWidget(), bar);
    }
};

QTEST_MAIN(TbkcnstTest)
#include "TbkcnstTest.moc"
