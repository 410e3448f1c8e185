#include "ToolbarFixtureForm.h"

#include "toolbars/EInvalidOperation.h"
#include "toolbars/TDockKit.h"
#include "toolbars/TFloatingWindowParent.h"
#include "toolbars/TToolbarKit.h"
#include "toolbars/Tbkcmn.h"
#include "toolbars/ToolWindowFrame.h"

#include <QGuiApplication>
#include <QSignalSpy>
#include <QTest>

#include <memory>

namespace {

// A press on the drag handle of a bar on a top or bottom dock.
const QPoint kHandle(5, 10);

QPoint CloseButtonCentre(const TCustomToolWindowKit* bar) {
    TFrameOptions options;
    if (bar->Docked()) {
        options.DockType = GetDockTypeOf(bar->DockedTo());
        options.CloseButtonWhenDocked = bar->CloseButtonWhenDocked();
        return ComputeToolWindowFrame(options, bar->size()).DockedCloseRect.center();
    }
    return ComputeToolWindowFrame(options, bar->size()).CloseButtonRect.center();
}

}  // namespace

// Tool windows: docking, floating, the drag loop, double-clicks, the close button, visibility
// and the order of their events.
class TCustomToolWindowKitTest : public QObject {
    Q_OBJECT

    std::unique_ptr<ToolbarFixtureForm> form;
    TToolbarKit* bar = nullptr;

    QPoint FormPoint(int x, int y) const { return form->mapToGlobal(QPoint(x, y)); }

  private slots:
    void initTestCase() { SilenceOffscreenPlatformNotices(); }
    void init() {
        form = std::make_unique<ToolbarFixtureForm>();
        bar = form->AddToolbar("Bar", form->DockTop, 3);
        form->ShowAndActivate();
    }
    void cleanup() {
        form.reset();
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    void dragsIntoAnotherDock() {
        // The left dock is empty and 0 pixels wide: its edge still takes the drop.
        DragToolWindow(bar, kHandle, FormPoint(1, 150));
        QCOMPARE(bar->DockedTo(), form->DockLeft);
        QCOMPARE(bar->DockRow(), 0);
        QCOMPARE(bar->size(), QSize(27, 2 + 9 + 3 * 22 + 2));
        QCOMPARE(form->DockTop->height(), 0);
        QCOMPARE(form->DockLeft->width(), 27);
        QCOMPARE(bar->LastDock(), form->DockLeft);
    }

    void dropsNearRowBoundariesMakeNewRows() {
        TToolbarKit* other = form->AddToolbar("Other", form->DockTop, 2, 0, 200);
        ProcessLayouts();
        // Below the only row: a new last row.
        DragToolWindow(other, kHandle, FormPoint(200 + kHandle.x(), 25));
        QCOMPARE(other->DockRow(), 1);
        QCOMPARE(bar->DockRow(), 0);
        QCOMPARE(form->DockTop->height(), 52);
        // At the dock's top edge: a new first row.
        DragToolWindow(other, kHandle, FormPoint(50, 0));
        QCOMPARE(other->DockRow(), 0);
        QCOMPARE(bar->DockRow(), 1);
        QCOMPARE(other->DockPos(), 50 - kHandle.x());
        // Back into the middle of the first row, beside the other bar.
        DragToolWindow(bar, kHandle, FormPoint(300, 12));
        QCOMPARE(bar->DockRow(), 0);
        QCOMPARE(form->DockTop->height(), 26);
    }

    void dragsOutToFloat() {
        const QPoint target = FormPoint(300, 200);
        const QSize start = bar->size() - QSize(1, 1);
        DragToolWindow(bar, kHandle, target);
        QVERIFY(!bar->Docked());
        QVERIFY(bar->FloatingParent());
        QTRY_VERIFY(bar->FloatingParent()->isVisible());
        // The press point keeps its relative place in the floating frame.
        const QPoint expected(target.x() - MulDiv(bar->width() - 1, kHandle.x(), start.width()),
                              target.y() - MulDiv(bar->height() - 1, kHandle.y(), start.height()));
        QCOMPARE(bar->FloatingTopLeft(), expected);
        QCOMPARE(bar->BoundsRect().topLeft(), expected);
        QCOMPARE(bar->size(), QSize(4 + 4 + 3 * 23 + 4 + 4, 4 + 16 + 2 + 22 + 1 + 4));
        QCOMPARE(bar->LastDock(), form->DockTop);
        QCOMPARE(form->DockTop->height(), 0);
    }

    void controlKeyTurnsDockingOff() {
        DragToolWindow(bar, kHandle, FormPoint(1, 150), Qt::ControlModifier);
        QVERIFY(!bar->Docked());

        bar->SetParent(form->DockTop);
        PressToolWindow(bar, kHandle);
        MoveMouse(bar, FormPoint(1, 150));
        QTest::keyPress(bar, Qt::Key_Control);
        QTest::keyRelease(bar, Qt::Key_Control);
        QTest::keyPress(bar, Qt::Key_Control);
        ReleaseMouse(bar, FormPoint(1, 150), Qt::ControlModifier);
        QVERIFY(!bar->Docked());

        bar->SetParent(form->DockTop);
        PressToolWindow(bar, kHandle, Qt::ControlModifier);
        MoveMouse(bar, FormPoint(1, 150), Qt::ControlModifier);
        QTest::keyRelease(bar, Qt::Key_Control);
        ReleaseMouse(bar, FormPoint(1, 150));
        QCOMPARE(bar->DockedTo(), form->DockLeft);
    }

    void escapeSecondPressAndDoubleClickLeaveTheWindowWhereItWas() {
        const QRect before = bar->BoundsRect();
        PressToolWindow(bar, kHandle);
        MoveMouse(bar, FormPoint(300, 200));
        QTest::keyClick(bar, Qt::Key_Escape);
        QVERIFY(!bar->InDragOrSizeLoop());
        ReleaseMouse(bar, FormPoint(300, 200));

        PressToolWindow(bar, kHandle);
        MoveMouse(bar, FormPoint(300, 200));
        QTest::mousePress(bar, Qt::RightButton, {}, bar->mapFromGlobal(FormPoint(300, 200)));
        QVERIFY(bar->InDragOrSizeLoop());  // other buttons are swallowed
        QTest::mousePress(bar, Qt::LeftButton, {}, bar->mapFromGlobal(FormPoint(300, 200)));
        QVERIFY(!bar->InDragOrSizeLoop());
        QTest::mouseRelease(bar, Qt::LeftButton);
        QTest::mouseRelease(bar, Qt::RightButton);

        PressToolWindow(bar, kHandle);
        MoveMouse(bar, FormPoint(300, 200));
        QTest::mouseDClick(bar, Qt::LeftButton, {}, bar->mapFromGlobal(FormPoint(300, 200)));
        QVERIFY(!bar->InDragOrSizeLoop());
        QTest::mouseRelease(bar, Qt::LeftButton);

        QCOMPARE(bar->DockedTo(), form->DockTop);
        QCOMPARE(bar->BoundsRect(), before);
    }

    void withoutFloatingADragOutsideDocksIsRefused() {
        bar->SetDockMode(tbk::dmCannotFloat);
        const QRect before = bar->BoundsRect();
        PressToolWindow(bar, kHandle);
        MoveMouse(bar, FormPoint(300, 200));
        QVERIFY(QGuiApplication::overrideCursor());
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::ForbiddenCursor);
        MoveMouse(bar, FormPoint(1, 150));
        QVERIFY(!QGuiApplication::overrideCursor());
        MoveMouse(bar, FormPoint(300, 200));
        ReleaseMouse(bar, FormPoint(300, 200));
        QVERIFY(!QGuiApplication::overrideCursor());
        QCOMPARE(bar->DockedTo(), form->DockTop);
        QCOMPARE(bar->BoundsRect(), before);
        // Another dock is still allowed.
        DragToolWindow(bar, kHandle, FormPoint(1, 150));
        QCOMPARE(bar->DockedTo(), form->DockLeft);
    }

    void withoutChangingDocksOnlyItsOwnDockTakesIt() {
        bar->SetDockMode(tbk::dmCannotFloatOrChangeDocks);
        DragToolWindow(bar, kHandle, FormPoint(1, 150));
        QCOMPARE(bar->DockedTo(), form->DockTop);
        DragToolWindow(bar, kHandle, FormPoint(120, 10));
        QCOMPARE(bar->DockedTo(), form->DockTop);
        QCOMPARE(bar->DockPos(), 120 - kHandle.x());
    }

    void refusedRequestDockLetsTheNextCandidateDecide() {
        form->DockLeft->SetOnRequestDock(
            [](TDockKit*, TCustomToolWindowKit*, bool& Accept) { Accept = false; });
        DragToolWindow(bar, kHandle, FormPoint(1, 150));
        QVERIFY(!bar->Docked());
    }

    void dockableToLimitsTheDocks() {
        bar->SetDockableTo({tbk::dpTop, tbk::dpBottom});
        DragToolWindow(bar, kHandle, FormPoint(1, 150));
        QVERIFY(!bar->Docked());
        DragToolWindow(bar, QPoint(10, 10), FormPoint(200, 399));
        QCOMPARE(bar->DockedTo(), form->DockBottom);
    }

    void doubleClicksFloatAndDockAgain() {
        bar->SetDockPos(40);
        ProcessLayouts();
        const QPoint docked = bar->mapToGlobal(QPoint(0, 0));
        QTest::mouseClick(bar, Qt::LeftButton, {}, kHandle);
        QTest::mouseDClick(bar, Qt::LeftButton, {}, kHandle);
        QTest::mouseRelease(bar, Qt::LeftButton, {}, kHandle);
        QVERIFY(!bar->Docked());
        QCOMPARE(bar->LastDock(), form->DockTop);
        // The first float comes up where the bar sat, not in the screen's corner.
        QCOMPARE(bar->FloatingTopLeft(), docked);
        const QPoint caption(20, 10);
        QTest::mouseClick(bar, Qt::LeftButton, {}, caption);
        QTest::mouseDClick(bar, Qt::LeftButton, {}, caption);
        QTest::mouseRelease(bar, Qt::LeftButton, {}, caption);
        QCOMPARE(bar->DockedTo(), form->DockTop);
        QCOMPARE(bar->BoundsRect().topLeft(), QPoint(40, 0));
        // A double-click on a button is the button's.
        QTest::mouseDClick(bar, Qt::LeftButton, {}, QPoint(20, 12));
        QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(20, 12));
        QVERIFY(bar->Docked());
    }

    void doubleClickNeedsLastOrDefaultDock() {
        TToolbarKit* loose = form->AddToolbar("Loose", nullptr, 1);
        ProcessLayouts();
        const QPoint caption(10, 10);
        QTest::mouseDClick(loose, Qt::LeftButton, {}, caption);
        QTest::mouseRelease(loose, Qt::LeftButton, {}, caption);
        QVERIFY(!loose->Docked());
        loose->SetDefaultDock(form->DockRight);
        QTest::mouseDClick(loose, Qt::LeftButton, {}, caption);
        QTest::mouseRelease(loose, Qt::LeftButton, {}, caption);
        QCOMPARE(loose->DockedTo(), form->DockRight);
        QCOMPARE(loose->DockRow(), 0);
        QCOMPARE(loose->BoundsRect().topLeft(), QPoint(0, 0));
    }

    void closeButtonAsksBeforeHiding() {
        bar->SetParent(form.get());
        ProcessLayouts();
        QSignalSpy closed(bar, &TCustomToolWindowKit::closed);
        bool allow = false;
        int asked = 0;
        bar->SetOnCloseQuery([&](TCustomToolWindowKit* sender, bool& CanClose) {
            QCOMPARE(sender, bar);
            QVERIFY(CanClose);
            ++asked;
            CanClose = allow;
        });
        const QPoint close = CloseButtonCentre(bar);
        QTest::mouseClick(bar, Qt::LeftButton, {}, close);
        QCOMPARE(asked, 1);
        QVERIFY(bar->Visible());
        QCOMPARE(closed.count(), 0);
        // Released away from the button: nothing.
        QTest::mousePress(bar, Qt::LeftButton, {}, close);
        QTest::mouseMove(bar, QPoint(5, 30));
        QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(5, 30));
        QCOMPARE(asked, 1);
        allow = true;
        QTest::mouseClick(bar, Qt::LeftButton, {}, close);
        QCOMPARE(asked, 2);
        QVERIFY(!bar->Visible());
        QVERIFY(!bar->FloatingParent()->isVisible());
        QCOMPARE(closed.count(), 1);
    }

    void dockedCloseButtonHidesTheBar() {
        bar->SetCloseButtonWhenDocked(true);
        QCOMPARE(bar->width(), 2 + 14 + 3 * 23 + 2);
        QTest::mouseClick(bar, Qt::LeftButton, {}, CloseButtonCentre(bar));
        QVERIFY(!bar->Visible());
        QCOMPARE(form->DockTop->height(), 0);
    }

    void eventsComeInTheirOrder() {
        QStringList events;
        auto record = [&](const char* name) { return [&events, name] { events << name; }; };
        connect(bar, &TCustomToolWindowKit::dockChanging, this, record("dockChanging"));
        connect(bar, &TCustomToolWindowKit::dockChangingEx, this, [&](TDockKit* to) {
            events << (to == form->DockLeft ? "dockChangingEx(left)" : "dockChangingEx(?)");
        });
        connect(bar, &TCustomToolWindowKit::recreating, this, record("recreating"));
        connect(bar, &TCustomToolWindowKit::moved, this, record("moved"));
        connect(bar, &TCustomToolWindowKit::recreated, this, record("recreated"));
        connect(bar, &TCustomToolWindowKit::dockChanged, this, record("dockChanged"));
        bar->SetParent(form->DockLeft);
        QCOMPARE(events, (QStringList{"dockChanging", "dockChangingEx(left)", "recreating", "moved",
                                      "recreated", "dockChanged"}));
        events.clear();
        bar->SetParent(form->DockLeft);
        QVERIFY(events.isEmpty());
        QSignalSpy visible(bar, &TCustomToolWindowKit::visibleChanged);
        bar->SetVisible(false);
        bar->SetVisible(false);
        QCOMPARE(visible.count(), 1);
    }

    void floatingWindowHidesWhileApplicationIsInactive() {
        bar->SetParent(form.get());
        TFloatingWindowParent* host = bar->FloatingParent();
        QTRY_VERIFY(host->isVisible());
        DeactivateApplication();
        QVERIFY(!host->isVisible());
        ReactivateApplication(form.get());
        QVERIFY(host->isVisible());

        bar->SetHideWhenInactive(false);
        DeactivateApplication();
        QVERIFY(host->isVisible());
        QVERIFY(bar->InactiveCaption());
        ReactivateApplication(form.get());
        QVERIFY(!bar->InactiveCaption());
    }

    void floatingWindowFollowsItsForm() {
        bar->SetParent(form.get());
        TFloatingWindowParent* host = bar->FloatingParent();
        QCOMPARE(host->ParentForm(), form.get());
        QTRY_VERIFY(host->isVisible());
        form->hide();
        QVERIFY(!host->isVisible());
        form->showMinimized();
        QVERIFY(!host->isVisible());
        form->showNormal();
        form->ShowAndActivate();
        QTRY_VERIFY(host->isVisible());
        // On top of all forms it stays while its form is hidden.
        bar->SetFloatingMode(tbk::fmOnTopOfAllForms);
        form->hide();
        QVERIFY(host->isVisible());
    }

    void hostComesBackWithItsRestoredFormNotMinimised() {
        bar->SetParent(form.get());
        TFloatingWindowParent* host = bar->FloatingParent();
        QTRY_VERIFY(host->isVisible());
        // A window manager minimises the host with its form. Shown again still minimised, the
        // host would map iconic and take its form back down with it.
        form->showMinimized();
        host->setWindowState(Qt::WindowMinimized);
        QVERIFY(!host->isVisible());
        form->showNormal();
        QTRY_VERIFY(host->isVisible());
        QVERIFY(!host->isMinimized());
        QVERIFY(!form->isMinimized());
    }

    void keptOnScreen() {
        bar->SetParent(form.get());
        const QRect screen = GetRectOfPrimaryMonitor();
        bar->SetBounds(screen.right() - 10, 300, bar->width(), bar->height());
        bar->MoveOnScreen(true);
        QCOMPARE(bar->BoundsRect().x(), screen.right() - 10);  // still touches the screen
        bar->MoveOnScreen(false);
        QCOMPARE(bar->BoundsRect().right(), screen.right());
        bar->SetBounds(-500, -500, bar->width(), bar->height());
        bar->MoveOnScreen(true);
        QCOMPARE(bar->BoundsRect().topLeft(), screen.topLeft());
    }

    // Floating bars that are floated, shown again, or grow with their buttons open wholly on
    // the screen: partly off it, their close box and their last buttons were out of reach.
    void floatingBarsOpenAndGrowWhollyOnTheScreen() {
        const QRect screen = GetRectOfPrimaryMonitor();
        form->move(screen.right() - 40, 100);
        ProcessLayouts();
        QTest::mouseDClick(bar, Qt::LeftButton, {}, kHandle);
        QTest::mouseRelease(bar, Qt::LeftButton, {}, kHandle);
        QVERIFY(!bar->Docked());
        QVERIFY(screen.contains(bar->BoundsRect()));
        bar->SetVisible(false);
        bar->SetBounds(screen.right() - 10, 300, bar->width(), bar->height());
        bar->SetVisible(true);
        QVERIFY(screen.contains(bar->BoundsRect()));
        const int narrow = bar->width();
        bar->SetBounds(screen.right() + 1 - narrow, 300, narrow, bar->height());
        for (const char* caption : {"4", "5", "6"})
            form->AddButton(bar, caption);
        ProcessLayouts();
        QCOMPARE(bar->width(), narrow + 3 * 23);
        QVERIFY(screen.contains(bar->BoundsRect()));
    }

    void placedOnlyOnDocksAndForms() {
        QWidget* plain = form->Center;
        try {
            bar->SetParent(plain);
            QFAIL("no exception");
        } catch (const EInvalidOperation& error) {
            QCOMPARE(
                QString(error.what()),
                QString("A tool window can only be placed on a TDockKit or directly on the form"));
        }
        QCOMPARE(bar->DockedTo(), form->DockTop);
        TToolbarKit loose;
        loose.setObjectName("Loose");
        try {
            loose.SetDockedTo(nullptr);
            QFAIL("no exception");
        } catch (const EInvalidOperation& error) {
            QCOMPARE(QString(error.what()), QString("Control 'Loose' has no parent window"));
        }
    }
};

QTEST_MAIN(TCustomToolWindowKitTest)
#include "TCustomToolWindowKitTest.moc"
