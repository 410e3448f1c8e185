#include "ToolbarFixtureForm.h"

#include "toolbars/TDockKit.h"
#include "toolbars/TToolbarButtonKit.h"
#include "toolbars/TToolbarKit.h"

#include <QPainter>
#include <QSignalSpy>
#include <QTest>

#include <memory>

Q_DECLARE_METATYPE(tbk::TDockPosition)

// Docks: rows, packing, thickness, deferred arranging, background and lines.
class TDockKitTest : public QObject {
    Q_OBJECT

    std::unique_ptr<ToolbarFixtureForm> form;

    TDockKit* Dock(tbk::TDockPosition position) const {
        switch (position) {
            case tbk::dpTop:
                return form->DockTop;
            case tbk::dpBottom:
                return form->DockBottom;
            case tbk::dpLeft:
                return form->DockLeft;
            case tbk::dpRight:
                return form->DockRight;
        }
        return nullptr;
    }

  private slots:
    void initTestCase() { SilenceOffscreenPlatformNotices(); }
    void init() { form = std::make_unique<ToolbarFixtureForm>(); }
    void cleanup() { form.reset(); }

    void docksOnEachSide_data() {
        QTest::addColumn<tbk::TDockPosition>("position");
        QTest::newRow("top") << tbk::dpTop;
        QTest::newRow("bottom") << tbk::dpBottom;
        QTest::newRow("left") << tbk::dpLeft;
        QTest::newRow("right") << tbk::dpRight;
    }

    void docksOnEachSide() {
        QFETCH(tbk::TDockPosition, position);
        TDockKit* dock = Dock(position);
        TToolbarKit* bar = form->AddToolbar("Bar", dock, 3);
        form->ShowAndActivate();
        QCOMPARE(bar->DockedTo(), dock);
        QVERIFY(bar->Docked());
        QCOMPARE(bar->parentWidget(), dock);
        QVERIFY(bar->isVisible());
        const bool vertical = position == tbk::dpLeft || position == tbk::dpRight;
        // Three 23 x 22 buttons, the double drag handle (9) and a 2-pixel border.
        if (vertical) {
            QCOMPARE(bar->size(), QSize(2 + 23 + 2, 2 + 9 + 3 * 22 + 2));
            QCOMPARE(dock->width(), 27);
        } else {
            QCOMPARE(bar->size(), QSize(2 + 9 + 3 * 23 + 2, 2 + 22 + 2));
            QCOMPARE(dock->height(), 26);
        }
        QCOMPARE(bar->BoundsRect().topLeft(), QPoint(0, 0));
        // The dock keeps to its side of the form.
        const QRect area = form->rect();
        switch (position) {
            case tbk::dpTop:
                QCOMPARE(dock->geometry().top(), area.top());
                break;
            case tbk::dpBottom:
                QCOMPARE(dock->geometry().bottom(), area.bottom());
                break;
            case tbk::dpLeft:
                QCOMPARE(dock->geometry().left(), area.left());
                break;
            case tbk::dpRight:
                QCOMPARE(dock->geometry().right(), area.right());
                break;
        }
    }

    void emptyDockIsZeroOrOneThick() {
        form->ShowAndActivate();
        QCOMPARE(form->DockTop->height(), 0);
        form->DockTop->SetFixAlign(true);
        QCOMPARE(form->DockTop->height(), 1);
        QCOMPARE(form->DockLeft->width(), 0);
    }

    void rowsStackAndBarsDoNotOverlap() {
        TToolbarKit* first = form->AddToolbar("First", form->DockTop, 3, 0, 0);
        TToolbarKit* second = form->AddToolbar("Second", form->DockTop, 2, 0, 10);
        TToolbarKit* third = form->AddToolbar("Third", form->DockTop, 1, 1, 40);
        form->ShowAndActivate();
        QCOMPARE(second->BoundsRect().topLeft(), QPoint(first->width(), 0));
        QCOMPARE(second->DockPos(), first->width());
        QCOMPARE(third->BoundsRect().topLeft(), QPoint(40, 26));
        QCOMPARE(form->DockTop->height(), 52);
        QCOMPARE(form->DockTop->GetToolbarCount(), 3);
        QCOMPARE(form->DockTop->GetToolbars(2), third);
    }

    void shortDockPushesBarsBackWithoutCommitting() {
        TToolbarKit* left = form->AddToolbar("Left", form->DockTop, 2, 0, 0);
        TToolbarKit* right = form->AddToolbar("Right", form->DockTop, 2, 0, 500);
        form->ShowAndActivate();
        QCOMPARE(right->BoundsRect().x(), 500);
        form->resize(300, form->height());
        QCOMPARE(right->BoundsRect().x(), 300 - right->width());
        QCOMPARE(right->DockPos(), 500);
        // Narrower than both bars: the row overflows in order.
        form->resize(60, form->height());
        QCOMPARE(right->BoundsRect().x(), left->width());
        form->resize(600, form->height());
        QCOMPARE(right->BoundsRect().x(), 500);
    }

    void fullSizeBarEndsAloneSpanningTheRow() {
        TToolbarKit* other = form->AddToolbar("Other", form->DockTop, 2, 0, 0);
        TToolbarKit* full = form->AddToolbar("Full", form->DockTop, 2, 0, 100);
        full->SetFullSize(true);
        form->ShowAndActivate();
        QCOMPARE(full->DockRow(), 0);
        QCOMPARE(other->DockRow(), 1);
        QCOMPARE(full->BoundsRect(), QRect(0, 0, form->DockTop->width(), 26));
    }

    void limitToOneRowForcesEveryBarIntoRowZero() {
        form->AddToolbar("A", form->DockTop, 2, 0, 0);
        TToolbarKit* b = form->AddToolbar("B", form->DockTop, 2, 3, 0);
        form->ShowAndActivate();
        QCOMPARE(b->DockRow(), 1);  // the blank rows between went
        form->DockTop->SetLimitToOneRow(true);
        QCOMPARE(b->DockRow(), 0);
        QCOMPARE(form->DockTop->height(), 26);
    }

    void updatesDeferArrangingToTheLastEndUpdate() {
        form->ShowAndActivate();
        form->DockTop->BeginUpdate();
        form->DockTop->BeginUpdate();
        form->AddToolbar("Bar", form->DockTop, 2);
        QCOMPARE(form->DockTop->height(), 0);
        form->DockTop->EndUpdate();
        QCOMPARE(form->DockTop->height(), 0);
        form->DockTop->EndUpdate();
        QCOMPARE(form->DockTop->height(), 26);
    }

    void rowsWithoutBarsDisappear() {
        TToolbarKit* a = form->AddToolbar("A", form->DockTop, 2, 0, 0);
        TToolbarKit* b = form->AddToolbar("B", form->DockTop, 2, 1, 0);
        form->ShowAndActivate();
        QCOMPARE(form->DockTop->height(), 52);
        a->SetParent(form->DockBottom);
        QCOMPARE(b->DockRow(), 0);
        QCOMPARE(form->DockTop->height(), 26);
    }

    void barsFollowTheThicknessOfTheirRow() {
        // Rows 0 and 1 as in the main window: a neighbour twice as tall shares row 1.
        form->AddToolbar("Top", form->DockTop, 1, 0, 0);
        TToolbarKit* tall = form->AddToolbar("Tall", form->DockTop, 1, 1, 0);
        form->AddButton(tall, "T")->resize(23, 44);
        TToolbarKit* left = form->AddToolbar("Left", form->DockTop, 2, 1, 100);
        form->ShowAndActivate();
        QWidget* button = left->GetOrderedControls(0);
        QCOMPARE(form->DockTop->height(), 26 + 48);
        QCOMPARE(left->height(), 48);
        QCOMPARE(button->y(), 2 + 11);  // centred across the row

        // The neighbour floats out: the row and the bar left in it get thinner, and its
        // buttons move up with them instead of being cut off.
        tall->SetParent(form.get());
        QCOMPARE(form->DockTop->height(), 26 + 26);
        QCOMPARE(left->height(), 26);
        QCOMPARE(button->y(), 2);
        ProcessLayouts();
        QCOMPARE(left->height(), 26);

        // It comes back: the row grows again and the buttons are centred again.
        tall->SetParent(form->DockTop);
        QCOMPARE(left->height(), 48);
        QCOMPARE(button->y(), 2 + 11);
    }

    void rowUnderPointAsksForNewRowsNearBoundaries() {
        form->AddToolbar("A", form->DockTop, 2, 0, 0);
        form->AddToolbar("B", form->DockTop, 2, 1, 0);
        form->ShowAndActivate();
        form->DockTop->BuildRowInfo();
        struct Case {
            int at;
            int row;
            bool before;
        };
        // Rows are 26 thick: row 0 is [0, 26), row 1 is [26, 52).
        for (const Case c : {Case{-10, 0, true}, Case{4, 0, true}, Case{5, 0, false},
                             Case{20, 0, false}, Case{21, 1, true}, Case{30, 1, true},
                             Case{31, 1, false}, Case{47, 2, true}, Case{60, 2, false}}) {
            bool before = false;
            QCOMPARE(form->DockTop->GetRowOf(c.at, before), c.row);
            QCOMPARE(before, c.before);
        }
        QCOMPARE(form->DockTop->GetDesignModeRowOf(10), 0);
        QCOMPARE(form->DockTop->GetDesignModeRowOf(30), 1);
        QCOMPARE(form->DockTop->GetDesignModeRowOf(60), 2);
    }

    void reportsBarsThatComeAndGo() {
        form->ShowAndActivate();
        QSignalSpy spy(form->DockTop, &TDockKit::barInsertedOrRemoved);
        TToolbarKit* bar = form->AddToolbar("Bar", form->DockTop, 1);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toBool(), true);
        bar->hide();
        QCOMPARE(spy.count(), 2);
        QCOMPARE(spy.at(1).at(0).toBool(), false);
        QCOMPARE(form->DockTop->height(), 0);
        bar->show();
        QCOMPARE(spy.count(), 3);
        QCOMPARE(form->DockTop->height(), 26);
    }

    void boundLinesShiftTheClientArea() {
        form->DockTop->SetBoundLines({tbk::blTop, tbk::blBottom});
        TToolbarKit* bar = form->AddToolbar("Bar", form->DockTop, 1);
        form->ShowAndActivate();
        QCOMPARE(form->DockTop->height(), 28);
        QCOMPARE(bar->geometry().topLeft(), QPoint(0, 1));
        QCOMPARE(bar->BoundsRect().topLeft(), QPoint(0, 0));
        const QImage image = form->DockTop->grab().toImage();
        QCOMPARE(image.pixel(100, 0), form->DockTop->palette().color(QPalette::Dark).rgb());
        QCOMPARE(image.pixel(100, 27), form->DockTop->palette().color(QPalette::Light).rgb());
    }

    void transparentBackgroundShowsDockColourForBottomLeftColour() {
        QPixmap tile(4, 4);
        tile.fill(Qt::blue);
        {
            QPainter painter(&tile);
            painter.fillRect(0, 2, 2, 2, Qt::red);
        }
        form->DockTop->SetFixAlign(true);
        form->DockTop->SetBackground(tile);
        form->DockTop->SetColor(Qt::green);
        form->ShowAndActivate();
        form->DockTop->ChangeWidthHeight(form->DockTop->width(), 1);
        QImage image = form->DockTop->grab().toImage();
        QCOMPARE(image.pixel(0, 0), QColor(Qt::blue).rgb());
        form->DockTop->SetBackgroundTransparent(true);
        form->AddToolbar("Bar", form->DockTop, 1);
        image = form->DockTop->grab().toImage();
        // The bar paints the dock's background in its frame too, aligned to the dock.
        QCOMPARE(image.pixel(1, 2), QColor(Qt::green).rgb());
        QCOMPARE(image.pixel(1, 4), QColor(Qt::blue).rgb());
        QCOMPARE(image.pixel(60, 6), QColor(Qt::green).rgb());
    }
};

QTEST_MAIN(TDockKitTest)
#include "TDockKitTest.moc"
