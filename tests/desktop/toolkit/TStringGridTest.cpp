#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSignalSpy>
#include <QTest>

#include "desktop/toolkit/TStringGrid.h"

#include <vector>

namespace {

// The keys that reach a grid's parent.
struct KeyRecorder : QWidget {
    std::vector<QKeyCombination> keys;
    void keyPressEvent(QKeyEvent* event) override { keys.push_back(event->keyCombination()); }
};

}  // namespace

class TStringGridTest : public QObject {
    Q_OBJECT

    struct Fixture {
        TStringGrid grid;
        std::vector<std::pair<int, int>> asked;
        bool allow = true;
        Fixture() {
            grid.resize(400, 200);
            grid.SetColCount(4);
            grid.SetRowCount(6);
            grid.SetOptions(goEditing | goTabs | goRangeSelect);
            grid.OnSelectCell = [this](int c, int r) {
                asked.emplace_back(c, r);
                return allow;
            };
            grid.show();
            grid.setFocus();
        }
    };

  private slots:
    void refusedMovesLeaveTheCurrentCell() {
        Fixture f;
        QTest::keyClick(&f.grid, Qt::Key_Down);
        QCOMPARE(f.grid.Row(), 2);
        f.allow = false;
        QTest::keyClick(&f.grid, Qt::Key_Right);
        QTest::keyClick(&f.grid, Qt::Key_Tab);
        QTest::mouseClick(f.grid.viewport(), Qt::LeftButton, {}, f.grid.CellRect(3, 4).center());
        QVERIFY(!f.grid.FocusCell(2, 1));
        QCOMPARE(f.grid.Col(), 1);
        QCOMPARE(f.grid.Row(), 2);
        QCOMPARE(f.asked.size(), size_t(5));
        QCOMPARE(f.asked.back(), std::make_pair(2, 1));
    }

    void headersAreNeverCurrentAndTabWrapsRows() {
        Fixture f;
        QTest::mouseClick(f.grid.viewport(), Qt::LeftButton, {}, f.grid.CellRect(2, 0).center());
        QCOMPARE(f.grid.Row(), 1);
        f.grid.FocusCell(3, 1);
        QTest::keyClick(&f.grid, Qt::Key_Tab);
        QCOMPARE(std::make_pair(f.grid.Col(), f.grid.Row()), std::make_pair(1, 2));
        QTest::keyClick(&f.grid, Qt::Key_Backtab);
        QCOMPARE(std::make_pair(f.grid.Col(), f.grid.Row()), std::make_pair(3, 1));
    }

    void keyHandlersConsumeKeysAndSeeShiftTab() {
        Fixture f;
        std::vector<std::pair<int, Qt::KeyboardModifiers>> keys;
        f.grid.OnKeyDown = [&](int key, Qt::KeyboardModifiers modifiers) {
            if (key != Qt::Key_Shift)
                keys.emplace_back(key, modifiers);
            return key == Qt::Key_Tab;
        };
        QTest::keyClick(&f.grid, Qt::Key_Backtab, Qt::ShiftModifier);
        QTest::keyClick(&f.grid, Qt::Key_Tab);
        QCOMPARE(f.grid.Col(), 1);
        QCOMPARE(keys.size(), size_t(2));
        QVERIFY(keys[0].second & Qt::ShiftModifier);
    }

    void typingWritesEveryKeystrokeIntoTheCellAndEscapeRestoresIt() {
        Fixture f;
        f.grid.SetCells(1, 1, "sm");
        std::vector<QString> edits;
        f.grid.OnSetEditText = [&](int, int, const QString& text) { edits.push_back(text); };
        QTest::keyClicks(&f.grid, "ve");
        QVERIFY(f.grid.EditorMode());
        QCOMPARE(f.grid.Cells(1, 1), QString("ve"));
        QCOMPARE(edits, std::vector<QString>({"v", "ve"}));
        QTest::keyClick(f.grid.InplaceEditor(), Qt::Key_Escape);
        QVERIFY(!f.grid.EditorMode());
        QCOMPARE(f.grid.Cells(1, 1), QString("sm"));
        QCOMPARE(edits.back(), QString("sm"));
    }

    // These did overflow the stack: the grid sent every key the editor refused back to it.
    void keysTheOpenEditorRefusesGoUpToTheParent() {
        KeyRecorder parent;
        Fixture f;
        f.grid.setParent(&parent);
        parent.show();
        QVERIFY(QTest::qWaitForWindowActive(&parent));
        f.grid.SetEditorMode(true);
        QLineEdit* editor = f.grid.InplaceEditor();
        const std::pair<Qt::Key, Qt::KeyboardModifiers> refused[] = {
            {Qt::Key_Shift, Qt::ShiftModifier}, {Qt::Key_Control, Qt::ControlModifier},
            {Qt::Key_Alt, Qt::AltModifier},     {Qt::Key_F1, Qt::NoModifier},
            {Qt::Key_F12, Qt::NoModifier},      {Qt::Key_Insert, Qt::NoModifier},
            {Qt::Key_S, Qt::ControlModifier}};
        for (const auto& [key, modifiers] : refused) {
            QTest::keyClick(editor, key, modifiers);
            QCOMPARE(parent.keys.back().key(), key);
        }

        // Taken keys stay in the editor, with or without the focus in it.
        QTest::keyClick(editor, Qt::Key_F2);
        QTest::keyClick(editor, 'S', Qt::ShiftModifier);
        QTest::keyClicks(editor, "m+");
        QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(editor, 'V', Qt::ShiftModifier);
        f.grid.setFocus();
        QTest::keyClick(&f.grid, 'e');
        QVERIFY(editor->hasFocus());
        QTest::keyClicks(editor, " Sm");
        QCOMPARE(f.grid.Cells(1, 1), QString("Ve Sm"));
    }

    // Both did overflow the stack: a grid that takes the focus back from inside the focus change
    // fought the MDI area, and two grids that both refuse to be left fought each other.
    void exitHandlersThatKeepTheFocusRunOnceItHasMoved() {
        QMdiArea area;
        auto* first = new TStringGrid;
        auto* second = new TStringGrid;
        area.addSubWindow(first)->setGeometry(0, 0, 300, 200);
        area.addSubWindow(second)->setGeometry(300, 0, 300, 200);
        int firstExits = 0;
        int secondExits = 0;
        first->OnExit = [&] {
            ++firstExits;
            first->setFocus();
        };
        second->OnExit = [&] {
            ++secondExits;
            second->setFocus();
        };
        area.resize(620, 220);
        area.show();
        QVERIFY(QTest::qWaitForWindowActive(&area));
        first->setFocus();
        QTest::mouseClick(second->viewport(), Qt::LeftButton, {}, QPoint(150, 60));
        QCOMPARE(firstExits, 0);
        QTRY_COMPARE(QApplication::focusWidget(), first);
        QCoreApplication::processEvents();
        QCOMPARE(firstExits, 1);
        QCOMPARE(secondExits, 0);
        QCOMPARE(area.activeSubWindow()->widget(), first);
    }

    void editorFollowsTheCurrentCellAcrossMoves() {
        Fixture f;
        f.grid.SetCells(1, 2, "big");
        f.grid.SetEditorMode(true);
        QTest::keyClick(f.grid.InplaceEditor(), Qt::Key_Down);
        QCOMPARE(f.grid.Row(), 2);
        QVERIFY(f.grid.EditorMode());
        QCOMPARE(f.grid.InplaceEditor()->text(), QString("big"));
    }

    void shiftExtendsTheSelectionFromTheAnchor() {
        Fixture f;
        f.grid.FocusCell(2, 2);
        QTest::keyClick(&f.grid, Qt::Key_Down, Qt::ShiftModifier);
        QTest::keyClick(&f.grid, Qt::Key_Left, Qt::ShiftModifier);
        QCOMPARE(f.grid.Selection(), (TGridRect{1, 2, 2, 3}));
        f.grid.SetOptions(f.grid.Options() | goRowSelect);
        QCOMPARE(f.grid.Selection(), (TGridRect{1, 2, 3, 3}));
    }

    void rowsMoveWithTheirObjects() {
        Fixture f;
        for (int r = 1; r < 6; ++r) {
            f.grid.SetCells(1, r, QString::number(r));
            f.grid.SetObjects(0, r, r * 10);
        }
        f.grid.MoveRow(5, 2);
        f.grid.InsertRows(1, 2);
        f.grid.DeleteRows(6, 1);
        QCOMPARE(f.grid.RowCount(), 7);
        QStringList column;
        for (int r = 1; r < 7; ++r)
            column << f.grid.Cells(1, r);
        QCOMPARE(column, QStringList({"", "", "1", "5", "2", "4"}));
        QCOMPARE(f.grid.Objects(0, 4), std::intptr_t(50));
        f.grid.SetRowCount(1);
        f.grid.SetRowCount(3);
        QCOMPARE(f.grid.FixedRows(), 1);
        QCOMPARE(f.grid.Cells(1, 1), QString());
    }

    void hiddenColumnsTakeNoRoomAndScrollingKeepsTheCurrentRowInView() {
        Fixture f;
        f.grid.SetColWidths(2, -1);
        QVERIFY(f.grid.CellRect(2, 1).isEmpty());
        QCOMPARE(f.grid.CellRect(3, 1).left(), f.grid.CellRect(1, 1).right() + 2);
        f.grid.SetRowCount(200);
        f.grid.FocusCell(1, 150);
        QVERIFY(f.grid.TopRow() <= 150);
        QVERIFY(f.grid.TopRow() + f.grid.VisibleRowCount() > 150);
        int c = 0;
        int r = 0;
        const QRect cell = f.grid.CellRect(1, 150);
        f.grid.MouseToCell(cell.center().x(), cell.center().y(), c, r);
        QCOMPARE(std::make_pair(c, r), std::make_pair(1, 150));
    }
};

QTEST_MAIN(TStringGridTest)
#include "TStringGridTest.moc"
