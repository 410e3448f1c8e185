#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QProgressBar>
#include <QSet>
#include <QTabWidget>
#include <QTest>

#include <tuple>

#include "core/lang/CLinguisticSettings.h"
#include "core/rulebase/CFuzzyVariable.h"
#include "core/rulebase/CRuleBase.h"
#include "desktop/editor/EditorSeams.h"
#include "desktop/editor/TFormInfUnit.h"
#include "desktop/editor/TVariablePage.h"
#include "desktop/mainwindow/TMainForm.h"
#include "desktop/mainwindow/VariableDialogSeams.h"
#include "desktop/rules/RulesTableView.h"
#include "desktop/rules/TRulesPage.h"
#include "desktop/variables/TDlgAddVar.h"
#include "desktop/variables/VariableNumbers.h"
#include "tests/desktop/support/RulesTestModels.h"
#include "tests/desktop/support/ScriptedPrompts.h"
#include "tests/desktop/support/TemporaryRegistry.h"
#include "toolbars/TToolbarButtonKit.h"
#include "toolbars/TToolbarKit.h"

using rules_test::Click;
using rules_test::Column;
using rules_test::Make;
using rules_test::Type;
using rules_test::Variable;

namespace {

std::unique_ptr<TFormInfUnit> Show(std::unique_ptr<CRuleBase> ruleBase) {
    auto editor = std::make_unique<TFormInfUnit>(nullptr, std::move(ruleBase));
    editor->SetFileName("NoName0.rb");
    editor->resize(820, 420);
    editor->show();
    editor->ShowRulesPage();
    return editor;
}

std::unique_ptr<CRuleBase> Checked() {
    return Make({Variable("distance"), Variable("speed")}, {Variable("braking")},
                {{"sm", "sm", "bi"},
                 {"sm", "sm", "bi"},
                 {"me", "me", "bi"},
                 {"me", "me", "ve bi"},
                 {"#", "ve bi", "bi", "me"},
                 {"bi", "bi", "me"}});
}

// The selected cells as a rectangle of grid coordinates.
QRect Selected(TRulesPage& page) {
    QRect cells;
    for (const QModelIndex& index : page.Grid().selectionModel()->selectedIndexes())
        cells |= QRect(index.column() + 1, index.row() + 1, 1, 1);
    return cells;
}

// The rules the grid shows, its complete rows, as undo keeps them.
QString CompleteRows(const TRulesPage& page, int columns) {
    QStringList rows;
    for (int row = 1; row <= page.RuleRowCount(); ++row) {
        QStringList cells;
        for (int column = 1; column <= columns; ++column)
            cells << page.CellText(column, row);
        if (!cells.contains(QString()))
            rows << cells.join(';');
    }
    return rows.join('|');
}

// The colour in the middle of a rule's image.
QColor RuleDot(TRulesPage& page, int row) {
    QHeaderView& numbers = *page.Grid().verticalHeader();
    return numbers.viewport()->grab().toImage().pixelColor(
        page.Grid().ActiveImageRect(row - 1).center());
}

}  // namespace

class TRulesPageTest : public QObject {
    Q_OBJECT

    TemporaryRegistry store_;
    // No box waits for a person, whatever a test runs into.
    ScriptedPrompts prompts_;

  private slots:
    void invalidCellIsRefusedAndKeptForCorrection() {
        auto editor = Show(Checked());
        TRulesPage& page = editor->RulesPage();
        QVERIFY(page.SelectCell(2, 3));
        Type(page, "sm xx");
        QTest::keyClick(page.CellEditor(), Qt::Key_Down);
        Click(page, 1, 1);
        QTest::keyClick(page.CellEditor(), Qt::Key_Tab);
        QTest::keyClick(page.CellEditor(), Qt::Key_Return);
        QCoreApplication::processEvents();
        editor->PageControl->setCurrentWidget(editor->TabSheetGeneral);
        QCOMPARE(editor->PageControl->currentWidget(), editor->TabSheetRules);
        QVERIFY(!editor->close());
        QCOMPARE(page.CurrentCell(), QPoint(2, 3));
        QVERIFY(page.CellEditor());
        QCOMPARE(page.CellText(2, 3), QString("sm xx"));
        QCOMPARE(page.CellCheck().message, QString("connective expected"));
        QCOMPARE(page.CellCheck().goodPart, QString("sm "));
        QCOMPARE(page.CellCheck().badPart, QString("xx"));

        Type(page, "ro sm");
        QTest::keyClick(page.CellEditor(), Qt::Key_Down);
        QCOMPARE(page.CurrentCell(), QPoint(2, 4));
        QVERIFY(page.CellCheck().message.isEmpty());
        QCOMPARE(editor->RuleBase().GetAntExpression(1, 2), std::string("ro sm"));
    }

    // A click away from a bad cell was refused out of sight: the editor lost the focus, so the
    // next keys went on into the bad cell with no editor to be seen, and its row's dot stayed
    // green.
    void aRefusedMoveShowsTheBadCell() {
        auto editor = Show(Checked());
        QVERIFY(QTest::qWaitForWindowActive(editor.get()));
        TRulesPage& page = editor->RulesPage();
        Click(page, 2, 2);
        Type(page, "foo");
        Click(page, 1, 5);
        QCOMPARE(page.CurrentCell(), QPoint(2, 2));
        QPointer<QLineEdit> edit = page.CellEditor();
        QVERIFY(edit && edit->isVisible() && edit->hasFocus());
        QVERIFY(edit->palette().color(QPalette::Base) !=
                page.Grid().palette().color(QPalette::Base));
        QColor dot = RuleDot(page, 2);
        QVERIFY2(dot.red() > 150 && dot.green() < 100, qPrintable(dot.name()));

        Type(page, "sm");
        Click(page, 1, 5);
        QCOMPARE(page.CurrentCell(), QPoint(1, 5));
        QVERIFY(!page.CellEditor());
        dot = RuleDot(page, 2);
        QVERIFY2(dot.green() > dot.red(), qPrintable(dot.name()));
    }

    // Another window taking the focus (a message box, another editor) closed a bad cell's
    // editor and dropped its text, or left the focus on the grid, where the next key was lost.
    void anotherWindowLeavesTheBadCellAsItWas() {
        auto editor = Show(Checked());
        QVERIFY(QTest::qWaitForWindowActive(editor.get()));
        TRulesPage& page = editor->RulesPage();
        QVERIFY(page.SelectCell(2, 2));
        Type(page, "foo");
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        QVERIFY(page.CellEditor());
        QCOMPARE(page.CellText(2, 2), QString("foo"));
        editor->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(editor.get()));
        QTRY_COMPARE(QApplication::focusWidget(), page.CellEditor());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
        QTest::keyClicks(QApplication::focusWidget(), "r sm");
        QCOMPARE(page.CellText(2, 2), QString("for sm"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QCOMPARE(page.CellText(2, 2), QString("sm"));
        QVERIFY(page.SelectCell(1, 1));

        // Two windows that each hold a bad cell leave each other the focus.
        auto second = Show(Checked());
        for (TFormInfUnit* window : {editor.get(), second.get()}) {
            window->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(window));
            Type(window->RulesPage(), "xx");
        }
        for (TFormInfUnit* window : {editor.get(), second.get(), editor.get()}) {
            window->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(window));
            QTRY_COMPARE(QApplication::focusWidget(), window->RulesPage().CellEditor());
        }
        QCOMPARE(second->RulesPage().CellText(1, 1), QString("xx"));
    }

    // Escape put back the cell's older text, which failed as well, so nothing released a cell
    // that a paste or a change of its variable had left bad.
    void escapeReleasesAnInvalidCell() {
        auto editor = Show(Checked());
        TRulesPage& page = editor->RulesPage();
        QVERIFY(page.SelectCell(1, 2));
        Type(page, "sm x");
        QTest::keyClick(page.CellEditor(), Qt::Key_Escape);
        QCOMPARE(page.CellText(1, 2), QString("sm"));
        QVERIFY(page.CellCheck().message.isEmpty());
        QVERIFY(page.SelectCell(1, 3));

        QApplication::clipboard()->setText("qq;sm;me;\r\n");
        page.PasteRules();
        QCOMPARE(page.CurrentCell(), QPoint(1, 4));
        QVERIFY(!page.SelectCell(2, 2));
        // The pasted text comes back in the editor, and Escape there releases it too.
        Type(page, "qq ve");
        QTest::keyClick(page.CellEditor(), Qt::Key_Escape);
        QCOMPARE(page.CellText(1, 4), QString());
        QVERIFY(page.SelectCell(2, 2));

        // A cell left bad without an editor: the last text that passed there comes back.
        QVERIFY(page.SelectCell(1, 1));
        page.Editor().Grid().SetCell(1, 1, "sm yy");
        QVERIFY(!page.SelectCell(2, 1));
        QTest::keyClick(&page.Grid(), Qt::Key_Escape);
        QCOMPARE(page.CellText(1, 1), QString("sm"));
        QVERIFY(page.SelectCell(2, 1));
    }

    void checkColumnsAndScreenshot() {
        auto editor = Show(Checked());
        TRulesPage& page = editor->RulesPage();
        QCOMPARE(Column(page, 4), QString("same as 2.|same as 1.||||"));
        QCOMPARE(Column(page, 5), QString("||with 4.|with 3.||"));
        QCOMPARE(Column(page, 6), QString("||with 4|||"));
        QCOMPARE(Column(page, 7), QString("||||wrt 6|"));
        QCOMPARE(page.RuleForm(), QString("distance & speed --> braking"));
        QVERIFY(QTest::qWaitForWindowExposed(editor.get()));
        QVERIFY(page.SelectCell(2, 3));
        Type(page, "ve");
        // The labels are laid out for their new texts first.
        QCoreApplication::processEvents();
        editor->grab().save(TAVO_ARTIFACT_DIR "/RulesPage.png");

        // Hiding "Group" empties it; showing it again brings width and texts back.
        QTableView& grid = page.Grid();
        const int width = grid.columnWidth(3);
        editor->mnShowGroup->trigger();
        QVERIFY(grid.isColumnHidden(3));
        QCOMPARE(Column(page, 4), QString("|||||"));
        editor->mnShowGroup->trigger();
        QVERIFY(!grid.isColumnHidden(3));
        QCOMPARE(grid.columnWidth(3), width);
        QCOMPARE(Column(page, 4), QString("same as 2.|same as 1.||||"));
    }

    void headerClicksSortByEveryKindOfColumn() {
        auto editor = Show(Checked());
        TRulesPage& page = editor->RulesPage();
        QVERIFY(page.SelectCell(2, 4));
        Click(page, 3, 0);
        QCOMPARE(page.CurrentCell(), QPoint(2, 4));
        QCOMPARE(Selected(page), QRect(2, 4, 1, 1));
        // Equal evaluative texts count as less, so the last of them is taken first.
        QCOMPARE(Column(page, 3), QString("me|me|bi|bi|bi|ve bi"));
        QCOMPARE(Column(page, 1), QString("ve bi|bi|me|sm|sm|me"));
        QCOMPARE(Column(page, 0), QString("1.|2.|3.|4.|5.|6."));
        Click(page, 7, 0);
        QCOMPARE(Column(page, 7).section('|', 0, 0), QString("wrt 2"));
        QVERIFY(editor->Modified());

        auto singleton = Show(Make({Variable("x")}, {Variable("v", "linc")},
                                   {{"sm", "2*x1"}, {"me", "x1"}, {"bi", "-1"}}, "singleton"));
        Click(singleton->RulesPage(), 2, 0);
        QCOMPARE(Column(singleton->RulesPage(), 2), QString("-1|x1|2*x1"));
    }

    // Sizing a column by its header border did sort every rule and mark the window modified.
    void resizingAColumnIsNotAHeaderClick() {
        auto editor = Show(Checked());
        editor->SetModified(false);
        TRulesPage& page = editor->RulesPage();
        const QString rows = Column(page, 1);
        QHeaderView& header = *page.Grid().horizontalHeader();
        const int width = header.sectionSize(0);
        const QPoint border(header.sectionViewportPosition(0) + width - 1, header.height() / 2);
        QTest::mousePress(header.viewport(), Qt::LeftButton, {}, border);
        QMouseEvent drag(QEvent::MouseMove, border + QPoint(30, 0),
                         header.viewport()->mapToGlobal(border + QPoint(30, 0)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(header.viewport(), &drag);
        QTest::mouseRelease(header.viewport(), Qt::LeftButton, {}, border + QPoint(30, 0));
        QCOMPARE(header.sectionSize(0), width + 30);
        QCOMPARE(Column(page, 1), rows);
        QVERIFY(!editor->Modified());
    }

    void keysAndClicks() {
        auto editor = Show(Checked());
        TRulesPage& page = editor->RulesPage();
        QTableView& grid = page.Grid();
        const CRuleBase& ruleBase = editor->RuleBase();

        // Tab in the last cell of the last row appends an active rule and moves into it.
        QVERIFY(page.SelectCell(3, 6));
        QTest::keyClick(&grid, Qt::Key_Tab);
        QCOMPARE(page.RuleRowCount(), 7);
        QCOMPARE(page.CurrentCell(), QPoint(1, 7));
        QVERIFY(page.Editor().Grid().IsActive(7));
        // The open row blocks leaving the page, with its empty cell selected.
        QVERIFY(page.SelectCell(1, 1));
        QVERIFY(!page.PageControlChanging());
        QCOMPARE(page.CurrentCell(), QPoint(1, 7));
        QTest::keyClick(&grid, Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(page.CurrentCell(), QPoint(3, 6));
        // Home and End stay among the variables; a click on a check cell picks the row's last.
        QTest::keyClick(&grid, Qt::Key_Home);
        QCOMPARE(page.CurrentCell(), QPoint(1, 6));
        QTest::keyClick(&grid, Qt::Key_End);
        QCOMPARE(page.CurrentCell(), QPoint(3, 6));
        Click(page, 5, 2);
        QCOMPARE(page.CurrentCell(), QPoint(3, 2));

        // Rows 2 to 4 selected through the number column, then deleted.
        Click(page, 0, 2);
        Click(page, 0, 4, Qt::ShiftModifier);
        QCOMPARE(Selected(page), QRect(QPoint(1, 2), QPoint(3, 4)));
        QTest::keyClick(&grid, Qt::Key_Delete);
        QCOMPARE(Column(page, 1), QString("sm|ve bi|bi|"));

        // Delete on one cell opens its editor empty.
        QVERIFY(page.SelectCell(2, 3));
        QTest::keyClick(&grid, Qt::Key_Delete);
        QVERIFY(page.CellEditor());
        QCOMPARE(page.CellText(2, 3), QString());
        Type(page, "ro bi");
        QVERIFY(page.CommitRules());
        QCOMPARE(ruleBase.GetAntExpression(1, 2), std::string("ro bi"));

        // Insert adds a rule after the current one.
        QTest::keyClick(&grid, Qt::Key_Insert);
        QCOMPARE(Column(page, 1), QString("sm|ve bi|bi||"));
        QCOMPARE(page.CurrentCell(), QPoint(1, 4));

        // A click on the image toggles the rule; elsewhere in the number column it selects.
        QTest::mouseClick(grid.verticalHeader()->viewport(), Qt::LeftButton, {},
                          page.Grid().ActiveImageRect(1).center());
        QVERIFY(page.Editor().Grid().IsActive(2));
        QVERIFY(page.SelectCell(1, 1));
        page.StoreRulesFromGrid();
        QVERIFY(ruleBase.IsRuleActive(1));

        // The hint shows the normalised text.
        QCOMPARE(page.Model().index(1, 0).data(Qt::ToolTipRole).toString(), QString("very big"));
    }

    void clipboardCommandsAndGarbage() {
        auto editor = Show(Checked());
        TRulesPage& page = editor->RulesPage();
        Click(page, 0, 3);
        Click(page, 0, 4, Qt::ShiftModifier);
        page.CopyRules();
        QCOMPARE(QApplication::clipboard()->text(), QString("me;me;bi;\r\nme;me;ve bi;\r\n"));
        page.CutRules();
        QCOMPARE(Column(page, 1), QString("sm|sm|ve bi|bi"));

        // Whole rows selected: the pasted lines replace them.
        Click(page, 0, 1);
        QApplication::clipboard()->setText("ze;ze;ze;\r\n");
        page.PasteRules();
        QCOMPARE(Column(page, 1), QString("ze|sm|ve bi|bi"));

        // A cell selected: the lines go in after its row; short lines leave cells empty, and
        // garbage stays for correction, its first bad cell selected.
        QVERIFY(page.SelectCell(2, 2));
        QApplication::clipboard()->setText("ve sm;bi;\r\nnot a rule\r\nqq;sm;me;\r\n");
        page.PasteRules();
        QCOMPARE(Column(page, 1), QString("ze|sm|ve sm||qq|ve bi|bi"));
        QCOMPARE(Column(page, 3), QString("ze|bi|||me|me|me"));
        QCOMPARE(page.CurrentCell(), QPoint(1, 5));
        QCOMPARE(page.CellCheck().message, QString("atomic term expected"));
        Type(page, "me");
        page.DeleteEmptyRules();
        QCOMPARE(Column(page, 1), QString("ze|sm|ve sm|me|ve bi|bi"));

        QVERIFY(page.SelectCell(1, 2));
        page.DuplicateRules();
        QCOMPARE(Column(page, 1), QString("ze|sm|sm|ve sm|me|ve bi|bi"));
        page.DeleteDuplicateRules();
        QCOMPARE(Column(page, 1), QString("ze|sm|ve sm|me|ve bi|bi"));

        // In an open editor Copy takes the cell's text, and Paste gives it to another cell.
        Type(page, "ro me");
        page.CopyRules();
        QCOMPARE(QApplication::clipboard()->text(), QString("ro me"));
        QVERIFY(page.SelectCell(1, 1));
        QVERIFY(page.OpenCellEditor());
        page.PasteRules();
        QCOMPARE(page.CellText(1, 1), QString("ro me"));
    }

    void redundancyMergeAndInvertSign() {
        auto editor =
            Show(Make({Variable("x", "linguistic", -1, 1)}, {Variable("y", "linguistic", 0, 10)},
                      {{"ve bi", "me"}, {"bi", "me"}, {"sm", "sm"}, {"sm", "bi"}}));
        TRulesPage& page = editor->RulesPage();
        page.DeleteRedundantRules();
        QCOMPARE(Column(page, 1), QString("bi|sm|sm"));
        QCOMPARE(editor->pgProgress->value(), 0);
        const QString seconds = editor->lbProgressSec->text();
        QVERIFY(seconds.startsWith(' ') && seconds.endsWith('s') && !seconds.endsWith(" s"));
        page.MergeInconsistentRules();
        QCOMPARE(Column(page, 1), QString("sm|bi"));
        QVERIFY(Column(page, 2).startsWith("about "));

        Click(page, 0, 1);
        Click(page, 0, 2, Qt::ShiftModifier);
        page.InvertSign();
        QCOMPARE(Column(page, 1), QString("-sm|-bi"));
        QCOMPARE(Column(page, 2).section('|', 1), QString("me"));
    }

    void deleteInTheOpenEditorRemovesOnlyTheSelection() {
        auto editor = Show(Checked());
        TRulesPage& page = editor->RulesPage();
        QVERIFY(page.SelectCell(1, 1));
        Type(page, "ve bi");
        page.CellEditor()->setSelection(0, 3);
        page.DeleteRules();
        QCOMPARE(page.CellEditor()->text(), QString("bi"));
        page.DeleteRules();
        QCOMPARE(page.CellText(1, 1), QString("bi"));
    }

    void hiddenGridKeepsChangesMadeOnOtherPages() {
        auto editor = Show(Make({Variable("x", "linguistic", -1, 1)}, {Variable("y")},
                                {{"ve bi", "me"}, {"bi", "me"}, {"sm", "sm"}}));
        TRulesPage& page = editor->RulesPage();
        QVERIFY(page.SelectCell(1, 1));
        editor->PageControl->setCurrentWidget(editor->TabSheetInputVar);
        ReplaceCellTexts(editor->RuleBase(), -1, {{"sm", "bi"}});
        // A current cell gone stale in the hidden grid held these commands back in silence.
        page.Editor().Grid().SetCell(1, 1, "foo");
        page.DeleteRedundantRules();
        QCOMPARE(editor->RuleBase().GetNumRules(), 2);
        QCOMPARE(editor->RuleBase().GetSucExpression(0, 1), std::string("bi"));
        ReplaceCellTexts(editor->RuleBase(), 0, {{"sm", "bi"}});
        page.MergeInconsistentRules();
        QCOMPARE(editor->RuleBase().GetNumRules(), 1);
    }

    void deletingTheCurrentColumnsVariable() {
        auto editor = Show(Checked());
        QVERIFY(editor->RulesPage().SelectCell(2, 1));
        editor->PageControl->setCurrentWidget(editor->TabSheetInputVar);
        editor->TabSheetInputVar->SelectRow(1);
        prompts_.Answers = {toolkit::ModalResult::Yes};
        editor->ButtonDeleteVarClick();
        QCOMPARE(editor->RuleBase().GetNumAntVariables(), 1);
        editor->ShowRulesPage();
        QCOMPARE(editor->RulesPage().Model().columnCount(), 2 + 4);
        QCOMPARE(editor->RulesPage().CurrentCell(), QPoint(2, 1));
    }

    // This did throw std::invalid_argument out of Undo: the deleted input left the current cell
    // on the "Group" column, so the stacks kept snapshots one cell wider than the rules.
    void undoAfterTheNumberOfVariablesChanged() {
        auto editor = Show(Checked());
        TRulesPage& page = editor->RulesPage();
        QVERIFY(page.SelectCell(3, 2));
        editor->PageControl->setCurrentWidget(editor->TabSheetInputVar);
        editor->TabSheetInputVar->SelectRow(1);
        prompts_.Answers = {toolkit::ModalResult::Yes};
        editor->ButtonDeleteVarClick();
        editor->ShowRulesPage();
        QCOMPARE(page.CurrentCell(), QPoint(2, 2));

        InstalledEditorSeams().AddVariable = [](TFormInfUnit& window) {
            window.RuleBase().AddAntVariable(
                std::make_unique<CFuzzyVariable>(
                    "load", std::make_shared<CLinguisticSettings>(0.0, 1.0), 301),
                0);
            return true;
        };
        editor->PageControl->setCurrentWidget(editor->TabSheetInputVar);
        editor->ButtonAddVarClick();
        InstalledEditorSeams() = {};
        page.UndoRuleEdit();
        editor->ShowRulesPage();
        page.UndoRuleEdit();
        page.RedoRuleEdit();
        QCOMPARE(editor->RuleBase().GetNumAntVariables(), 2);
        QCOMPARE(Column(page, 1), QString("sm|sm|me|me|ve bi|bi"));
        QCOMPARE(Column(page, 3), QString("bi|bi|bi|ve bi|me|me"));
    }

    void undoAndRedoAcrossAddsDeletesPastesAndSorts() {
        auto editor = Show(Make({Variable("x")}, {Variable("y")}, {{"sm", "bi"}, {"bi", "sm"}}));
        TRulesPage& page = editor->RulesPage();
        const QString start = Column(page, 1);

        QVERIFY(page.SelectCell(1, 2));
        page.ButtonAddRuleClick();
        Type(page, "me");
        QTest::keyClick(page.CellEditor(), Qt::Key_Tab);
        Type(page, "me");
        QCOMPARE(Column(page, 1), QString("sm|bi|me"));
        Click(page, 1, 0);
        QCOMPARE(Column(page, 1), QString("sm|me|bi"));
        QApplication::clipboard()->setText("ze;ze;\r\n");
        QVERIFY(page.SelectCell(1, 1));
        page.PasteRules();
        QCOMPARE(Column(page, 1), QString("sm|ze|me|bi"));
        QVERIFY(page.SelectCell(1, 1));
        page.ButtonDeleteRuleClick();
        QCOMPARE(Column(page, 1), QString("ze|me|bi"));

        page.UndoRuleEdit();
        QCOMPARE(Column(page, 1), QString("sm|ze|me|bi"));
        page.UndoRuleEdit();
        QCOMPARE(Column(page, 1), QString("sm|me|bi"));
        page.UndoRuleEdit();
        QCOMPARE(Column(page, 1), QString("sm|bi|me"));
        page.RedoRuleEdit();
        QCOMPARE(Column(page, 1), QString("sm|me|bi"));

        // Away from the page the rule base changes and the grid waits for the page.
        editor->PageControl->setCurrentWidget(editor->TabSheetGeneral);
        page.UndoRuleEdit();
        QCOMPARE(editor->RuleBase().GetAntExpression(0, 2), std::string("me"));
        editor->ShowRulesPage();
        QCOMPARE(Column(page, 1), QString("sm|bi|me"));
        for (int i = 0; i < 6; ++i)
            page.UndoRuleEdit();
        QCOMPARE(Column(page, 1), start);
    }

    // Undo went back one keystroke at a time: several presses brought texts that were only
    // ever typed on the way ("ro sm", "ro sm "), which looked as if undo did nothing.
    void everyUndoPressChangesTheGrid() {
        auto editor = Show(Make({Variable("x")}, {Variable("y")}, {{"sm", "bi"}, {"bi", "sm"}}));
        TRulesPage& page = editor->RulesPage();
        // An open row, so that a typing can end with a move into an empty cell.
        QApplication::clipboard()->setText(";sm;\r\n");
        page.PasteRules();
        QStringList states = {CompleteRows(page, 2)};
        const std::tuple<QPoint, const char*, Qt::Key> typing[] = {
            {{1, 1}, "ro sm or bi", Qt::Key_Down},
            {{2, 3}, "about 0.5", Qt::Key_Return},
            {{1, 3}, "ve bi and ml me", Qt::Key_Tab}};
        for (const auto& [cell, text, end] : typing) {
            QVERIFY(page.SelectCell(cell.x(), cell.y()));
            QTest::keyClick(&page.Grid(), Qt::Key_F2);
            page.CellEditor()->selectAll();
            QTest::keyClicks(page.CellEditor(), text);
            QTest::keyClick(page.CellEditor(), end);
            // Tab opens the next cell's editor.
            QTRY_VERIFY(end == Qt::Key_Tab || !page.CellEditor());
            page.Grid().RevertEditor();
            states << CompleteRows(page, 2);
        }
        Click(page, 2, 0);
        states << CompleteRows(page, 2);
        QVERIFY(page.SelectCell(1, 1));
        QTest::keyClick(&page.Grid(), Qt::Key_Tab);
        QTest::keyClicks(page.CellEditor(), "ze");
        states << CompleteRows(page, 2);
        QCOMPARE(QSet<QString>(states.begin(), states.end()).size(), states.size());

        for (qsizetype i = states.size() - 1; i > 0; --i) {
            page.UndoRuleEdit();
            QCOMPARE(CompleteRows(page, 2), states[i - 1]);
        }
        for (qsizetype i = 1; i < states.size(); ++i) {
            page.RedoRuleEdit();
            QCOMPARE(CompleteRows(page, 2), states[i]);
        }
    }

    // Each of these lost a rule: snapshots dropped the pasted copies, Escape wrote back the text
    // the cell held before Undo, and a paste after Cut replaced the row that moved up.
    void undoRedoAndPasteKeepEveryRule() {
        auto editor =
            Show(Make({Variable("x")}, {Variable("y")},
                      {{"sm", "sm"}, {"me", "sm"}, {"bi", "sm"}, {"ze", "sm"}, {"ve sm", "sm"}}));
        TRulesPage& page = editor->RulesPage();
        Click(page, 0, 1);
        Click(page, 0, 2, Qt::ShiftModifier);
        page.CopyRules();
        Click(page, 0, 5);
        page.PasteRules();
        const QString pasted = "sm|me|bi|ze|sm|me";
        QCOMPARE(Column(page, 1), pasted);
        page.UndoRuleEdit();
        QCOMPARE(Column(page, 1), QString("sm|me|bi|ze|ve sm"));
        page.RedoRuleEdit();
        QCOMPARE(Column(page, 1), pasted);

        QVERIFY(page.SelectCell(1, 3));
        QTest::keyClick(&page.Grid(), Qt::Key_Delete);
        QTest::keyClicks(page.CellEditor(), "ro bi");
        page.UndoRuleEdit();
        QCOMPARE(page.CellText(1, 3), QString("bi"));
        QTest::keyClick(&page.Grid(), Qt::Key_Escape);
        QCOMPARE(page.CellText(1, 3), QString("bi"));
        QCOMPARE(Column(page, 1), pasted);

        Click(page, 0, 2);
        Click(page, 0, 3, Qt::ShiftModifier);
        page.CutRules();
        page.PasteRules();
        QCOMPARE(Column(page, 1), QString("sm|ze|me|bi|sm|me"));
        Click(page, 0, 1);
        page.ButtonDeleteRuleClick();
        QApplication::clipboard()->setText("ex sm;ze;\r\n");
        page.PasteRules();
        QCOMPARE(Column(page, 1), QString("ze|ex sm|me|bi|sm|me"));
    }

    void wordButtonsOnlyOnTheRulesPage() {
        auto editor = Show(Make({Variable("x")}, {Variable("y")}, {{"sm", "bi"}}));
        TRulesPage& page = editor->RulesPage();
        QVERIFY(page.SelectCell(1, 1));
        editor->SetModified(false);
        page.InsertWord("or");
        QCOMPARE(page.CellText(1, 1), QString("sm"));
        QVERIFY(!editor->Modified());
        page.InsertWord("vr");
        QCOMPARE(page.CellText(1, 1), QString("vr sm"));
        QVERIFY(page.CellEditor());
        page.InsertWord("or");
        QCOMPARE(page.CellText(1, 1), QString("vr sm"));
        QVERIFY(page.CommitRules());
        editor->PageControl->setCurrentWidget(editor->TabSheetGeneral);
        page.InsertWord("bi");
        QCOMPARE(editor->PageControl->currentWidget(), editor->TabSheetGeneral);
        QCOMPARE(editor->RuleBase().GetAntExpression(0, 0), std::string("vr sm"));
    }

    // The buttons of the current column's user expressions sit on the main window's toolbar and
    // insert their names; a key in the grid enables the clipboard actions.
    void userExpressionButtonsFollowTheColumn() {
        TMainForm form;
        form.show();
        TFormInfUnit* editor = form.OpenFileByName(QString(TAVO_EXAMPLES) + "/user_terms.rb");
        QVERIFY(editor);
        editor->ShowRulesPage();
        TRulesPage& page = editor->RulesPage();
        auto buttons = [&] {
            return form.ToolbarUserTerms->findChildren<TToolbarButtonKit*>(
                Qt::FindDirectChildrenOnly);
        };
        auto captions = [&] {
            QStringList texts;
            for (const TToolbarButtonKit* button : buttons())
                texts << button->Caption();
            return texts;
        };
        QVERIFY(page.SelectCell(2, 1));
        QCOMPARE(captions(), QStringList({"small", "medium", "big", "muggy"}));
        QVERIFY(page.SelectCell(1, 1));
        QCOMPARE(captions(), QStringList({"freezing", "mild", "hot", "comfortable"}));
        form.ToolbarUserTerms->SetVisible(true);
        TToolbarButtonKit* mild = buttons()[1];
        QTest::mouseClick(mild, Qt::LeftButton, {}, mild->rect().center());
        QCOMPARE(page.CellText(1, 1), QString("mild"));

        form.EditPaste1->setEnabled(false);
        page.Grid().setFocus();
        QTest::keyClick(&page.Grid(), Qt::Key_Down);
        QVERIFY(form.EditPaste1->isEnabled());
        QCOMPARE(editor->RuleBase().GetAntExpression(0, 0), std::string("mild"));
    }

    void variableDialogThroughTheEditor() {
        TDlgAddVar dialog;
        InstallVariableDialog(dialog);
        ScriptedPrompts prompts;
        prompts.Answers = {toolkit::ModalResult::Yes};
        auto editor =
            Show(Make({Variable("x", "linguistic", 0, 10)}, {Variable("y")}, {{"about 5", "sm"}}));
        dialog.ModalLoop = [&] {
            dialog.edHigh->setText("20");
            dialog.OKBtnClick();
            return dialog.result();
        };
        editor->PageControl->setCurrentWidget(editor->TabSheetInputVar);
        editor->TabSheetInputVar->SelectRow(0);
        editor->ButtonEditInputVarClick();
        editor->ShowRulesPage();
        QCOMPARE(editor->RulesPage().CellText(1, 1), QString("about 10"));
        InstalledEditorSeams() = {};
    }

    // The model keeps Qt's rules of models through every kind of change the page makes.
    void modelPassesTheModelTester() {
        auto editor = Show(Checked());
        TRulesPage& page = editor->RulesPage();
        QAbstractItemModelTester tester(&page.Model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QVERIFY(page.SelectCell(3, 6));
        QTest::keyClick(&page.Grid(), Qt::Key_Tab);
        Type(page, "me");
        Click(page, 2, 0);
        QApplication::clipboard()->setText("ze;ze;ze;\r\nsm;\r\n");
        page.PasteRules();
        page.DeleteEmptyRules();
        page.UndoRuleEdit();
        page.RedoRuleEdit();
        page.InvertSign();
        editor->mnShowConsistency->trigger();
        page.FillRulesGrid();
        QVERIFY(page.Model().rowCount() > 0);
    }
};

QTEST_MAIN(TRulesPageTest)
#include "TRulesPageTest.moc"
