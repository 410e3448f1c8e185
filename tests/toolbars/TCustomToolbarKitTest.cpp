#include "ToolbarFixtureForm.h"

#include "toolbars/TDockKit.h"
#include "toolbars/TFloatingWindowParent.h"
#include "toolbars/TToolbarButtonKit.h"
#include "toolbars/TToolbarKit.h"
#include "toolbars/TToolbarSepKit.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTest>

#include <memory>

// Toolbars: laying controls out in lines, their order, slave controls, separators and the
// snapping resize of a floating toolbar.
class TCustomToolbarKitTest : public QObject {
    Q_OBJECT

    std::unique_ptr<ToolbarFixtureForm> form;

    // Presses the floating frame's edge at Press and drags it by Delta.
    static void DragEdge(TCustomToolWindowKit* bar, QPoint press, QPoint delta, bool accept) {
        const QPoint from = bar->mapToGlobal(press);
        QTest::mousePress(bar, Qt::LeftButton, {}, press);
        QVERIFY(bar->InDragOrSizeLoop());
        MoveMouse(bar, from + delta);
        if (accept)
            ReleaseMouse(bar, from + delta);
        else
            QTest::keyClick(bar, Qt::Key_Escape);
        ProcessLayouts();
    }

  private slots:
    void initTestCase() { SilenceOffscreenPlatformNotices(); }
    void init() { form = std::make_unique<ToolbarFixtureForm>(); }
    void cleanup() { form.reset(); }

    void controlsAddedLaterJoinTheEndOfTheLine() {
        TToolbarKit* bar = form->AddToolbar("Bar", form->DockTop, 2);
        form->ShowAndActivate();
        auto* label = new QLabel("Terms:", bar);
        ProcessLayouts();
        QVERIFY(label->isVisible());
        QCOMPARE(bar->GetOrderIndex(label), 2);
        QCOMPARE(label->geometry().left(), 2 + 9 + 2 * 23);
        QCOMPARE(bar->width(), 2 + 9 + 2 * 23 + label->sizeHint().width() + 2);
        delete label;
        ProcessLayouts();
        QCOMPARE(bar->width(), 2 + 9 + 2 * 23 + 2);
        QCOMPARE(bar->OrderedControlCount(), 2);
    }

    void leftAndRightDocksStackControlsDownward() {
        TToolbarKit* bar = form->AddToolbar("Bar", form->DockLeft, 2);
        auto* separator = new TToolbarSepKit(bar);
        separator->SetSizeVert(10);
        form->AddButton(bar, "3");
        form->ShowAndActivate();
        const auto buttons = bar->findChildren<TToolbarButtonKit*>();
        QCOMPARE(buttons.at(0)->geometry(), QRect(2, 11, 23, 22));
        QCOMPARE(buttons.at(1)->geometry(), QRect(2, 33, 23, 22));
        QCOMPARE(separator->geometry(), QRect(2, 55, 23, 10));
        QCOMPARE(buttons.at(2)->geometry(), QRect(2, 65, 23, 22));
        QCOMPARE(bar->size(), QSize(27, 11 + 2 * 22 + 10 + 22 + 2));
    }

    void orderIndexMovesControlsAndIsClamped() {
        TToolbarKit* bar = form->AddToolbar("Bar", form->DockTop, 3);
        form->ShowAndActivate();
        QWidget* third = bar->GetOrderedControls(2);
        bar->SetOrderIndex(third, -5);
        QCOMPARE(bar->GetOrderIndex(third), 0);
        QCOMPARE(third->x(), 11);
        bar->SetOrderIndex(third, 999);
        QCOMPARE(bar->GetOrderIndex(third), 2);
        QCOMPARE(third->x(), 11 + 2 * 23);
    }

    void slaveControlsShowOnlyInTheirOrientation() {
        TToolbarKit* bar = form->AddToolbar("Bar", form->DockTop, 1);
        auto* wide = form->AddButton(bar, "wide");
        wide->resize(60, 22);
        auto* narrow = form->AddButton(bar, "n");
        bar->SetSlaveControl(wide, narrow);
        form->ShowAndActivate();
        QVERIFY(wide->isVisible());
        QVERIFY(!narrow->isVisible());
        QCOMPARE(bar->width(), 2 + 9 + 23 + 60 + 2);
        bar->SetParent(form->DockLeft);
        ProcessLayouts();
        QVERIFY(!wide->isVisible());
        QVERIFY(narrow->isVisible());
        QCOMPARE(bar->height(), 2 + 9 + 22 + 22 + 2);
        bar->SetParent(form.get());
        ProcessLayouts();
        QVERIFY(wide->isVisible());
        QVERIFY(!narrow->isVisible());
    }

    void floatingSeparatorAtAWrapVanishes() {
        TToolbarKit* bar = form->AddToolbar("Bar", nullptr, 2);
        auto* separator = new TToolbarSepKit(bar);
        form->AddButton(bar, "3");
        bar->SetFloatingWidth(60);
        form->ShowAndActivate();
        QCOMPARE(separator->width(), 0);
        // Client: two lines of buttons, 6 pixels apart; plus the floating frame.
        QCOMPARE(bar->size(), QSize(4 + (4 + 2 * 23 + 4) + 4, 20 + 2 + 22 + 6 + 22 + 1 + 4));
        bar->SetFloatingWidth(0);
        QCOMPARE(separator->width(), 6);
        QCOMPARE(bar->size(), QSize(4 + 4 + 3 * 23 + 6 + 4 + 4, 20 + 2 + 22 + 1 + 4));
    }

    void floatingResizeSnapsToWrapWidths() {
        TToolbarKit* bar = form->AddToolbar("Bar", nullptr, 6);
        form->ShowAndActivate();
        QCOMPARE(bar->size(), QSize(8 + 146, 24 + 25));
        const QPoint topLeft = bar->BoundsRect().topLeft();
        QSignalSpy widthChanged(bar, &TCustomToolbarKit::floatingWidthChanged);
        const QPoint rightEdge(bar->width() - 2, 30);

        // Within the snap tolerance nothing changes.
        DragEdge(bar, rightEdge, QPoint(-10, 0), true);
        QCOMPARE(bar->FloatingWidth(), 0);
        QCOMPARE(widthChanged.count(), 0);

        // Shrinking takes the widest layout that fits: three buttons per line.
        DragEdge(bar, rightEdge, QPoint(-40, 0), true);
        QCOMPARE(bar->FloatingWidth(), 77);
        QCOMPARE(bar->size(), QSize(8 + 77, 24 + 47));
        QCOMPARE(bar->BoundsRect().topLeft(), topLeft);
        QCOMPARE(widthChanged.count(), 1);

        // Escape keeps the size.
        DragEdge(bar, QPoint(bar->width() - 2, 30), QPoint(-40, 0), false);
        QCOMPARE(bar->FloatingWidth(), 77);

        // Dragging the left edge keeps the right edge where it was.
        const int right = bar->BoundsRect().right();
        DragEdge(bar, QPoint(1, 30), QPoint(15, 0), true);
        QCOMPARE(bar->FloatingWidth(), 54);
        QCOMPARE(bar->BoundsRect().right(), right);

        // The bottom edge snaps by height: growing takes the next taller layout.
        DragEdge(bar, QPoint(20, bar->height() - 1), QPoint(0, 30), true);
        QCOMPARE(bar->FloatingWidth(), 31);
        QCOMPARE(bar->size(), QSize(8 + 31, 24 + 135));
    }

    void positionDataCarriesTheFloatingWidth() {
        TToolbarKit* bar = form->AddToolbar("Bar", nullptr, 3);
        bar->SetFloatingWidth(40);
        QMap<QString, int> written;
        bar->WritePositionData([&](const QString& name, const QString& value,
                                   int data) { written[name + "/" + value] = data; },
                               [](const QString&, const QString&, const QString&) {});
        QCOMPARE(written.value("Bar/FloatRightX"), 40);
        bar->ReadPositionData(
            [](const QString&, const QString&, int) { return 70; },
            [](const QString&, const QString&, const QString& Default) { return Default; });
        QCOMPARE(bar->FloatingWidth(), 70);
    }

    void separatorsMayOnlySitOnToolbars() {
        TToolbarKit* bar = form->AddToolbar("Bar", form->DockTop, 1);
        auto* separator = new TToolbarSepKit(bar);
        form->ShowAndActivate();
        const int width = bar->width();
        separator->SetSizeHorz(12);
        QCOMPARE(bar->width(), width + 6);
        separator->SetSizeHorz(0);
        QCOMPARE(separator->SizeHorz(), 1);
        QVERIFY(bar->ChildControlTransparent(separator));
        QCOMPARE(separator->Version(), QString("ToolbarKit version 1.0"));
        // A drag may start on a separator.
        QTest::mousePress(separator, Qt::LeftButton, {}, QPoint(0, 5));
        QVERIFY(bar->InDragOrSizeLoop());
        QTest::keyClick(bar, Qt::Key_Escape);
        QTest::mouseRelease(separator, Qt::LeftButton, {}, QPoint(0, 5));
    }
};

QTEST_MAIN(TCustomToolbarKitTest)
#include "TCustomToolbarKitTest.moc"
