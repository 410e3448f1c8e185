#include "ToolbarFixtureForm.h"

#include "platform/registry/Registry.h"
#include "toolbars/TDockKit.h"
#include "toolbars/TToolbarKit.h"
#include "toolbars/TbkRegistry.h"

#include <QTemporaryDir>
#include <QTest>

#include <memory>

using platform::registry::Registry;
using platform::registry::Root;

// Tool-window places in the registry store, in a store file of the test's own.
class TbkRegistryTest : public QObject {
    Q_OBJECT

    QTemporaryDir directory;
    std::unique_ptr<ToolbarFixtureForm> form;

  private slots:
    void initTestCase() {
        SilenceOffscreenPlatformNotices();
        QVERIFY(directory.isValid());
        qputenv("TAVO_REGISTRY", directory.filePath("registry").toLocal8Bit());
    }
    void init() { form = std::make_unique<ToolbarFixtureForm>(); }
    void cleanup() { form.reset(); }

    void roundTripThroughTheCurrentUsersKey() {
        TToolbarKit* docked = form->AddToolbar("Docked", form->DockRight, 2, 0, 40);
        TToolbarKit* floating = form->AddToolbar("Floating", form->DockTop, 3);
        floating->SetParent(form.get());
        floating->SetBounds(300, 250, floating->width(), floating->height());
        floating->SetFloatingWidth(50);
        form->ShowAndActivate();
        RegSaveToolbarPositions(form.get(), "Software\\Tavo\\Toolbars");

        // Every value is text under one subkey per tool window.
        const Registry registry;
        const auto dockedTo =
            registry.ReadValue(Root::CurrentUser, "Software\\Tavo\\Toolbars\\Docked", "DockedTo");
        QVERIFY(dockedTo);
        QCOMPARE(QString::fromStdString(dockedTo->text), QString("DockRight"));
        const auto rev =
            registry.ReadValue(Root::CurrentUser, "Software\\Tavo\\Toolbars\\Floating", "Rev");
        QVERIFY(rev);
        QCOMPARE(QString::fromStdString(rev->text), QString("3"));

        docked->SetParent(form->DockBottom);
        floating->SetParent(form->DockLeft);
        floating->SetFloatingWidth(0);
        RegLoadToolbarPositions(form.get(), "Software\\Tavo\\Toolbars");
        ProcessLayouts();
        QCOMPARE(docked->DockedTo(), form->DockRight);
        QCOMPARE(docked->DockPos(), 40);
        QVERIFY(!floating->Docked());
        QCOMPARE(floating->BoundsRect().topLeft(), QPoint(300, 250));
        QCOMPARE(floating->FloatingWidth(), 50);
        QCOMPARE(floating->LastDock(), form->DockTop);
    }

    void missingKeyIsCreatedAndChangesNothing() {
        TToolbarKit* bar = form->AddToolbar("Bar", form->DockTop, 1, 0, 20);
        RegLoadToolbarPositionsEx(form.get(), Root::ClassesRoot, "Nothing\\Here");
        QCOMPARE(bar->DockedTo(), form->DockTop);
        QCOMPARE(bar->DockPos(), 20);
        QVERIFY(Registry().KeyExists(Root::ClassesRoot, "Nothing\\Here"));
    }
};

QTEST_MAIN(TbkRegistryTest)
#include "TbkRegistryTest.moc"
