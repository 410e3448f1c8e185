#include "ToolbarFixtureForm.h"

#include "toolbars/TDockKit.h"
#include "toolbars/TToolbarKit.h"

#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

// A store of saved values, as an ini file or the registry would keep them.
struct ValueStore {
    QMap<QString, QString> values;
    QStringList order;

    TPositionWriteIntProc WriteInt() {
        return [this](const QString& bar, const QString& name, int data) {
            Put(bar, name, QString::number(data));
        };
    }
    TPositionWriteStringProc WriteString() {
        return [this](const QString& bar, const QString& name, const QString& data) {
            Put(bar, name, data);
        };
    }
    TPositionReadIntProc ReadInt() {
        return [this](const QString& bar, const QString& name, int Default) {
            const QString key = bar + "/" + name;
            return values.contains(key) ? values[key].toInt() : Default;
        };
    }
    TPositionReadStringProc ReadString() {
        return [this](const QString& bar, const QString& name, const QString& Default) {
            return values.value(bar + "/" + name, Default);
        };
    }
    void Put(const QString& bar, const QString& name, const QString& data) {
        values[bar + "/" + name] = data;
        order << bar + "/" + name;
    }
};

}  // namespace

// Saving and loading the places of a form's tool windows.
class TbkTest : public QObject {
    Q_OBJECT

    std::unique_ptr<ToolbarFixtureForm> form;
    TToolbarKit* docked = nullptr;
    TToolbarKit* floating = nullptr;
    TToolbarKit* hidden = nullptr;

    // Moves everything away from the saved places.
    void Disarrange() {
        docked->SetParent(form->DockBottom);
        docked->SetDockPos(0);
        floating->SetParent(form->DockRight);
        floating->SetFloatingWidth(0);
        hidden->SetVisible(true);
        ProcessLayouts();
    }

    void CheckArranged() {
        QCOMPARE(docked->DockedTo(), form->DockLeft);
        QCOMPARE(docked->DockRow(), 1);
        QCOMPARE(docked->DockPos(), 30);
        QVERIFY(!floating->Docked());
        QCOMPARE(floating->BoundsRect().topLeft(), QPoint(400, 300));
        QCOMPARE(floating->FloatingWidth(), 40);
        QCOMPARE(floating->LastDock(), form->DockTop);
        QVERIFY(!hidden->Visible());
    }

  private slots:
    void initTestCase() { SilenceOffscreenPlatformNotices(); }
    void init() {
        form = std::make_unique<ToolbarFixtureForm>();
        form->AddToolbar("Keeper", form->DockLeft, 1, 0, 0);
        docked = form->AddToolbar("Docked", form->DockLeft, 2, 1, 30);
        floating = form->AddToolbar("Floating", form->DockTop, 3);
        floating->SetParent(form.get());
        floating->SetBounds(400, 300, floating->width(), floating->height());
        floating->SetFloatingWidth(40);
        hidden = form->AddToolbar("Hidden", form->DockBottom, 1);
        hidden->SetVisible(false);
        form->ShowAndActivate();
    }
    void cleanup() { form.reset(); }

    void savesEveryValueOfEveryToolWindow() {
        ValueStore store;
        CustomSaveToolbarPositions(form.get(), store.WriteInt(), store.WriteString());
        QCOMPARE(store.order.mid(0, 9),
                 (QStringList{"Keeper/Rev", "Keeper/Visible", "Keeper/DockedTo", "Keeper/LastDock",
                              "Keeper/DockRow", "Keeper/DockPos", "Keeper/FloatLeft",
                              "Keeper/FloatTop", "Keeper/FloatRightX"}));
        QCOMPARE(store.values["Docked/Rev"], QString("3"));
        QCOMPARE(store.values["Docked/DockedTo"], QString("DockLeft"));
        QCOMPARE(store.values["Docked/DockRow"], QString("1"));
        QCOMPARE(store.values["Floating/DockedTo"], QString("+"));
        QCOMPARE(store.values["Floating/LastDock"], QString("DockTop"));
        QCOMPARE(store.values["Floating/FloatLeft"], QString("400"));
        QCOMPARE(store.values["Floating/FloatRightX"], QString("40"));
        QCOMPARE(store.values["Hidden/Visible"], QString("0"));
    }

    void loadsWhatWasSaved() {
        ValueStore store;
        CustomSaveToolbarPositions(form.get(), store.WriteInt(), store.WriteString());
        Disarrange();
        CustomLoadToolbarPositions(form.get(), store.ReadInt(), store.ReadString());
        ProcessLayouts();
        CheckArranged();
    }

    void leavesUnknownRevisionsAndDocksAlone() {
        ValueStore store;
        CustomSaveToolbarPositions(form.get(), store.WriteInt(), store.WriteString());
        store.values["Docked/Rev"] = "1";
        store.values["Floating/DockedTo"] = "NoSuchDock";
        store.values["Hidden/DockedTo"] = "";
        Disarrange();
        CustomLoadToolbarPositions(form.get(), store.ReadInt(), store.ReadString());
        QCOMPARE(docked->DockedTo(), form->DockBottom);
        QCOMPARE(floating->DockedTo(), form->DockRight);
        QCOMPARE(hidden->DockedTo(), form->DockBottom);
        QVERIFY(!hidden->Visible());  // read before the dock
    }

    void iniFileRoundTrip() {
        QTemporaryDir directory;
        QVERIFY(directory.isValid());
        const QString file = directory.filePath("places.ini");
        IniSaveToolbarPositions(form.get(), file, "Toolbar_");
        QFile ini(file);
        QVERIFY(ini.open(QIODevice::ReadOnly | QIODevice::Text));
        const QString text = QString::fromUtf8(ini.readAll());
        QVERIFY(text.contains("[Toolbar_Docked]"));
        QVERIFY(text.contains("DockedTo=DockLeft"));
        QVERIFY(text.contains("FloatRightX=40"));
        Disarrange();
        IniLoadToolbarPositions(form.get(), file, "Toolbar_");
        ProcessLayouts();
        CheckArranged();
    }

    void iniSectionsAsNamedBesideOtherSettings() {
        QTemporaryDir directory;
        QVERIFY(directory.isValid());
        const QString file = directory.filePath("program.ini");
        const QByteArray settings = "; the program's own\n[General]\nLanguage=en\n";
        {
            QFile ini(file);
            QVERIFY(ini.open(QIODevice::WriteOnly));
            ini.write(settings);
        }
        IniSaveToolbarPositions(form.get(), file, "Main Window ");
        QFile ini(file);
        QVERIFY(ini.open(QIODevice::ReadOnly));
        const QByteArray text = ini.readAll();
        QVERIFY(text.startsWith(settings));
        QVERIFY(text.contains("\n[Main Window Docked]\nRev=3\nVisible=1\nDockedTo=DockLeft\n"));
        Disarrange();
        IniLoadToolbarPositions(form.get(), file, "Main Window ");
        ProcessLayouts();
        CheckArranged();
    }

    void emptyLastDockNamesNoUnnamedDock() {
        auto* unnamed = new TDockKit(form.get(), tbk::dpBottom);
        ValueStore store;
        CustomSaveToolbarPositions(form.get(), store.WriteInt(), store.WriteString());
        store.values["Floating/LastDock"] = "";
        Disarrange();
        CustomLoadToolbarPositions(form.get(), store.ReadInt(), store.ReadString());
        QVERIFY(!floating->Docked());
        QVERIFY(floating->LastDock() != unnamed);
    }
};

QTEST_MAIN(TbkTest)
#include "TbkTest.moc"
