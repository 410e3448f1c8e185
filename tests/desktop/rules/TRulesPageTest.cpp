#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include "core/lang/CLinguisticSettings.h"
#include "core/rulebase/CFuzzyVariable.h"
#include "core/rulebase/CRuleBase.h"
#include "desktop/editor/EditorSeams.h"
#include "desktop/editor/TFormInfUnit.h"
#include "desktop/editor/TVariablePage.h"
#include "desktop/mainwindow/TMainForm.h"
#include "desktop/mainwindow/VariableDialogSeams.h"
#include "desktop/rules/RulesGridController.h"
#include "desktop/rules/TRulesPage.h"
#include "desktop/toolkit/TStringGrid.h"
#include "desktop/variables/TDlgAddVar.h"
#include "desktop/variables/VariableNumbers.h"
#include "tests/desktop/support/RulesTestModels.h"
#include "tests/desktop/support/ScriptedPrompts.h"
#include "tests/desktop/support/TemporaryRegistry.h"
#include "toolbars/TToolbarButtonKit.h"
#include "toolbars/TToolbarKit.h"

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

// In the number column, left of the active-rule image.
void Click(TStringGrid& grid, int column, int row, Qt::KeyboardModifiers modifiers = {}) {
    const QRect cell = grid.CellRect(column, row);
    const QPoint point = column == 0 ? QPoint(cell.left() + 2, cell.center().y()) : cell.center();
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, modifiers, point);
}

QString Column(const TStringGrid& grid, int column) {
    QStringList texts;
    for (int row = 1; row < grid.RowCount(); ++row)
        texts << grid.Cells(column, row);
    return texts.join('|');
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
        TStringGrid& grid = *editor->StringGridRules;
        QVERIFY(grid.FocusCell(2, 3));
        Type(grid, "sm xx");
        QTest::keyClick(grid.InplaceEditor(), Qt::Key_Down);
        Click(grid, 1, 1);
        editor->PageControl->setCurrentWidget(editor->TabSheetGeneral);
        QCOMPARE(editor->PageControl->currentWidget(), editor->TabSheetRules);
        QVERIFY(!editor->close());
        QCOMPARE(QPoint(grid.Col(), grid.Row()), QPoint(2, 3));
        QCOMPARE(grid.Cells(2, 3), QString("sm xx"));
        QCOMPARE(editor->LabelErrorMessage->text(), QString("connective expected"));
        QCOMPARE(editor->LabelGoodPart->text(), QString("sm "));
        QCOMPARE(editor->LabelBadPart->text(), QString("xx"));

        Type(grid, "ro sm");
        QTest::keyClick(grid.InplaceEditor(), Qt::Key_Down);
        QCOMPARE(grid.Row(), 4);
        QVERIFY(editor->LabelErrorMessage->text().isEmpty());
        QCOMPARE(editor->RuleBase().GetAntExpression(1, 2), std::string("ro sm"));
    }

    // A click away from a bad cell was refused out of sight: the editor lost the focus, so the
    // next keys went on into the bad cell with no editor to be seen, and its row's dot stayed
    // green.
    void aRefusedMoveShowsTheBadCell() {
        auto editor = Show(Checked());
        QVERIFY(QTest::qWaitForWindowActive(editor.get()));
        TStringGrid& grid = *editor->StringGridRules;
        Click(grid, 2, 2);
        Type(grid, "foo");
        Click(grid, 1, 5);
        QCOMPARE(QPoint(grid.Col(), grid.Row()), QPoint(2, 2));
        QLineEdit* edit = grid.InplaceEditor();
        QVERIFY(edit && edit->isVisible() && edit->hasFocus());
        QVERIFY(edit->palette().color(QPalette::Base) != grid.palette().color(QPalette::Base));
        const QImage picture = grid.viewport()->grab().toImage();
        const QRect number = grid.CellRect(0, 2);
        const QColor dot = picture.pixelColor(number.right() - 9, number.center().y());
        QVERIFY2(dot.red() > 150 && dot.green() < 100, qPrintable(dot.name()));

        Type(grid, "sm");
        Click(grid, 1, 5);
        QCOMPARE(QPoint(grid.Col(), grid.Row()), QPoint(1, 5));
        QVERIFY(edit->palette().color(QPalette::Base) == grid.palette().color(QPalette::Base));
    }

    void checkColumnsAndScreenshot() {
        auto editor = Show(Checked());
        const TStringGrid& grid = *editor->StringGridRules;
        QCOMPARE(Column(grid, 4), QString("same as 2.|same as 1.||||"));
        QCOMPARE(Column(grid, 5), QString("||with 4.|with 3.||"));
        QCOMPARE(Column(grid, 6), QString("||with 4|||"));
        QCOMPARE(Column(grid, 7), QString("||||wrt 6|"));
        QCOMPARE(editor->lbRuleForm->text(), QString("distance & speed --> braking"));
        QVERIFY(QTest::qWaitForWindowExposed(editor.get()));
        editor->grab().save(TAVO_ARTIFACT_DIR "/RulesPage.png");

        // Hiding "Group" empties it; showing it again brings width and texts back.
        const int width = grid.ColWidths(4);
        editor->mnShowGroup->trigger();
        QCOMPARE(grid.ColWidths(4), -1);
        QCOMPARE(Column(grid, 4), QString("|||||"));
        editor->mnShowGroup->trigger();
        QCOMPARE(grid.ColWidths(4), width);
        QCOMPARE(Column(grid, 4), QString("same as 2.|same as 1.||||"));
    }

    void headerClicksSortByEveryKindOfColumn() {
        auto editor = Show(Checked());
        TStringGrid& grid = *editor->StringGridRules;
        Click(grid, 3, 0);
        // Equal evaluative texts count as less, so the last of them is taken first.
        QCOMPARE(Column(grid, 3), QString("me|me|bi|bi|bi|ve bi"));
        QCOMPARE(Column(grid, 1), QString("ve bi|bi|me|sm|sm|me"));
        QCOMPARE(Column(grid, 0), QString("1.|2.|3.|4.|5.|6."));
        Click(grid, 7, 0);
        QCOMPARE(Column(grid, 7).section('|', 0, 0), QString("wrt 2"));
        QVERIFY(editor->Modified());

        auto singleton = Show(Make({Variable("x")}, {Variable("v", "linc")},
                                   {{"sm", "2*x1"}, {"me", "x1"}, {"bi", "-1"}}, "singleton"));
        Click(*singleton->StringGridRules, 2, 0);
        QCOMPARE(Column(*singleton->StringGridRules, 2), QString("-1|x1|2*x1"));
    }

    // Sizing a column by its header border did sort every rule and mark the window modified.
    void resizingAColumnIsNotAHeaderClick() {
        auto editor = Show(Checked());
        editor->SetModified(false);
        TStringGrid& grid = *editor->StringGridRules;
        const QString rows = Column(grid, 1);
        const int width = grid.ColWidths(1);
        const QRect header = grid.CellRect(1, 0);
        const QPoint border(header.right() + 1, header.center().y());
        QTest::mousePress(grid.viewport(), Qt::LeftButton, {}, border);
        QMouseEvent drag(QEvent::MouseMove, border + QPoint(30, 0),
                         grid.viewport()->mapToGlobal(border + QPoint(30, 0)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(grid.viewport(), &drag);
        QTest::mouseRelease(grid.viewport(), Qt::LeftButton, {}, border + QPoint(30, 0));
        QCOMPARE(grid.ColWidths(1), width + 30);
        QCOMPARE(Column(grid, 1), rows);
        QVERIFY(!editor->Modified());
    }

    void keysAndClicks() {
        auto editor = Show(Checked());
        TStringGrid& grid = *editor->StringGridRules;
        const CRuleBase& ruleBase = editor->RuleBase();

        // Tab in the last cell of the last row appends an active rule and moves into it.
        QVERIFY(grid.FocusCell(3, 6));
        QTest::keyClick(&grid, Qt::Key_Tab);
        QCOMPARE(grid.RowCount(), 8);
        QCOMPARE(QPoint(grid.Col(), grid.Row()), QPoint(1, 7));
        QCOMPARE(grid.Objects(0, 7), std::intptr_t(1));
        // The open row blocks leaving the page, with its empty cell selected.
        QVERIFY(grid.FocusCell(1, 1));
        QVERIFY(!editor->RulesPage().PageControlChanging());
        QCOMPARE(QPoint(grid.Col(), grid.Row()), QPoint(1, 7));
        QTest::keyClick(&grid, Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(QPoint(grid.Col(), grid.Row()), QPoint(3, 6));

        // Rows 2 to 4 selected through the number column, then deleted.
        Click(grid, 0, 2);
        Click(grid, 0, 4, Qt::ShiftModifier);
        QCOMPARE(grid.Selection(), (TGridRect{1, 2, 3, 4}));
        QTest::keyClick(&grid, Qt::Key_Delete);
        QCOMPARE(Column(grid, 1), QString("sm|ve bi|bi|"));

        // Delete on one cell empties it and opens the editor.
        QVERIFY(grid.FocusCell(2, 3));
        QTest::keyClick(&grid, Qt::Key_Delete);
        QVERIFY(grid.EditorMode());
        QCOMPARE(grid.Cells(2, 3), QString());
        Type(grid, "ro bi");
        grid.SetEditorMode(false);

        // A click on the image toggles the rule; elsewhere in the number column it selects.
        const QRect cell = grid.CellRect(0, 2);
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {},
                          QPoint(cell.right() - 9, cell.center().y()));
        QCOMPARE(grid.Objects(0, 2), std::intptr_t(1));
        QVERIFY(grid.FocusCell(1, 1));
        editor->RulesPage().StoreRulesFromGrid();
        QVERIFY(ruleBase.IsRuleActive(1));

        // The hint shows the normalised text.
        QTest::mouseMove(grid.viewport(), grid.CellRect(1, 2).center());
        QCOMPARE(grid.viewport()->toolTip(), QString("very big"));
    }

    void clipboardCommandsAndGarbage() {
        auto editor = Show(Checked());
        TStringGrid& grid = *editor->StringGridRules;
        TRulesPage& page = editor->RulesPage();
        Click(grid, 0, 3);
        Click(grid, 0, 4, Qt::ShiftModifier);
        page.CopyRules();
        QCOMPARE(QApplication::clipboard()->text(), QString("me;me;bi;\r\nme;me;ve bi;\r\n"));
        page.CutRules();
        QCOMPARE(Column(grid, 1), QString("sm|sm|ve bi|bi"));

        // Whole rows selected: the pasted lines replace them.
        Click(grid, 0, 1);
        QApplication::clipboard()->setText("ze;ze;ze;\r\n");
        page.PasteRules();
        QCOMPARE(Column(grid, 1), QString("ze|sm|ve bi|bi"));

        // A cell selected: the lines go in after its row; short lines leave cells empty, and
        // garbage stays for correction, its first bad cell selected.
        QVERIFY(grid.FocusCell(2, 2));
        QApplication::clipboard()->setText("ve sm;bi;\r\nnot a rule\r\nqq;sm;me;\r\n");
        page.PasteRules();
        QCOMPARE(Column(grid, 1), QString("ze|sm|ve sm||qq|ve bi|bi"));
        QCOMPARE(Column(grid, 3), QString("ze|bi|||me|me|me"));
        QCOMPARE(QPoint(grid.Col(), grid.Row()), QPoint(1, 5));
        QCOMPARE(editor->LabelErrorMessage->text(), QString("atomic term expected"));
        Type(grid, "me");
        page.DeleteEmptyRules();
        QCOMPARE(Column(grid, 1), QString("ze|sm|ve sm|me|ve bi|bi"));

        QVERIFY(grid.FocusCell(1, 2));
        page.DuplicateRules();
        QCOMPARE(Column(grid, 1), QString("ze|sm|sm|ve sm|me|ve bi|bi"));
        page.DeleteDuplicateRules();
        QCOMPARE(Column(grid, 1), QString("ze|sm|ve sm|me|ve bi|bi"));
    }

    void redundancyMergeAndInvertSign() {
        auto editor =
            Show(Make({Variable("x", "linguistic", -1, 1)}, {Variable("y", "linguistic", 0, 10)},
                      {{"ve bi", "me"}, {"bi", "me"}, {"sm", "sm"}, {"sm", "bi"}}));
        TStringGrid& grid = *editor->StringGridRules;
        TRulesPage& page = editor->RulesPage();
        page.DeleteRedundantRules();
        QCOMPARE(Column(grid, 1), QString("bi|sm|sm"));
        QCOMPARE(editor->pgProgress->value(), 0);
        const QString seconds = editor->lbProgressSec->text();
        QVERIFY(seconds.startsWith(' ') && seconds.endsWith('s') && !seconds.endsWith(" s"));
        page.MergeInconsistentRules();
        QCOMPARE(Column(grid, 1), QString("sm|bi"));
        QVERIFY(Column(grid, 2).startsWith("about "));

        Click(grid, 0, 1);
        Click(grid, 0, 2, Qt::ShiftModifier);
        page.InvertSign();
        QCOMPARE(Column(grid, 1), QString("-sm|-bi"));
        QCOMPARE(Column(grid, 2).section('|', 1), QString("me"));
    }

    void deleteInTheOpenEditorRemovesOnlyTheSelection() {
        auto editor = Show(Checked());
        TStringGrid& grid = *editor->StringGridRules;
        QVERIFY(grid.FocusCell(1, 1));
        Type(grid, "ve bi");
        grid.InplaceEditor()->setSelection(0, 3);
        editor->RulesPage().DeleteRules();
        QCOMPARE(grid.InplaceEditor()->text(), QString("bi"));
        editor->RulesPage().DeleteRules();
        QCOMPARE(grid.Cells(1, 1), QString("bi"));
    }

    void hiddenGridKeepsChangesMadeOnOtherPages() {
        auto editor = Show(Make({Variable("x", "linguistic", -1, 1)}, {Variable("y")},
                                {{"ve bi", "me"}, {"bi", "me"}, {"sm", "sm"}}));
        QVERIFY(editor->StringGridRules->FocusCell(1, 1));
        editor->PageControl->setCurrentWidget(editor->TabSheetInputVar);
        ReplaceCellTexts(editor->RuleBase(), -1, {{"sm", "bi"}});
        // A current cell gone stale in the hidden grid held these commands back in silence.
        editor->RulesPage().Controller().Editor().Grid().SetCell(1, 1, "foo");
        editor->RulesPage().DeleteRedundantRules();
        QCOMPARE(editor->RuleBase().GetNumRules(), 2);
        QCOMPARE(editor->RuleBase().GetSucExpression(0, 1), std::string("bi"));
        ReplaceCellTexts(editor->RuleBase(), 0, {{"sm", "bi"}});
        editor->RulesPage().MergeInconsistentRules();
        QCOMPARE(editor->RuleBase().GetNumRules(), 1);
    }

    void deletingTheCurrentColumnsVariable() {
        auto editor = Show(Checked());
        QVERIFY(editor->StringGridRules->FocusCell(2, 1));
        editor->PageControl->setCurrentWidget(editor->TabSheetInputVar);
        editor->TabSheetInputVar->SelectRow(1);
        prompts_.Answers = {toolkit::ModalResult::Yes};
        editor->ButtonDeleteVarClick();
        QCOMPARE(editor->RuleBase().GetNumAntVariables(), 1);
        editor->ShowRulesPage();
        QCOMPARE(editor->StringGridRules->ColCount(), 7);
    }

    // This did throw std::invalid_argument out of Undo: the deleted input left the current cell
    // on the "Group" column, so the stacks kept snapshots one cell wider than the rules.
    void undoAfterTheNumberOfVariablesChanged() {
        auto editor = Show(Checked());
        TStringGrid& grid = *editor->StringGridRules;
        QVERIFY(grid.FocusCell(3, 2));
        editor->PageControl->setCurrentWidget(editor->TabSheetInputVar);
        editor->TabSheetInputVar->SelectRow(1);
        prompts_.Answers = {toolkit::ModalResult::Yes};
        editor->ButtonDeleteVarClick();
        editor->ShowRulesPage();
        QCOMPARE(QPoint(grid.Col(), grid.Row()), QPoint(2, 2));

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
        editor->RulesPage().UndoRuleEdit();
        editor->ShowRulesPage();
        editor->RulesPage().UndoRuleEdit();
        editor->RulesPage().RedoRuleEdit();
        QCOMPARE(editor->RuleBase().GetNumAntVariables(), 2);
        QCOMPARE(Column(grid, 1), QString("sm|sm|me|me|ve bi|bi"));
        QCOMPARE(Column(grid, 3), QString("bi|bi|bi|ve bi|me|me"));
    }

    void undoAndRedoAcrossAddsDeletesPastesAndSorts() {
        auto editor = Show(Make({Variable("x")}, {Variable("y")}, {{"sm", "bi"}, {"bi", "sm"}}));
        TStringGrid& grid = *editor->StringGridRules;
        TRulesPage& page = editor->RulesPage();
        const QString start = Column(grid, 1);

        QVERIFY(grid.FocusCell(1, 2));
        page.ButtonAddRuleClick();
        Type(grid, "me");
        QTest::keyClick(grid.InplaceEditor(), Qt::Key_Tab);
        Type(grid, "me");
        QCOMPARE(Column(grid, 1), QString("sm|bi|me"));
        Click(grid, 1, 0);
        QCOMPARE(Column(grid, 1), QString("sm|me|bi"));
        QApplication::clipboard()->setText("ze;ze;\r\n");
        QVERIFY(grid.FocusCell(1, 1));
        page.PasteRules();
        QCOMPARE(Column(grid, 1), QString("sm|ze|me|bi"));
        QVERIFY(grid.FocusCell(1, 1));
        page.ButtonDeleteRuleClick();
        QCOMPARE(Column(grid, 1), QString("ze|me|bi"));

        page.UndoRuleEdit();
        QCOMPARE(Column(grid, 1), QString("sm|ze|me|bi"));
        page.UndoRuleEdit();
        QCOMPARE(Column(grid, 1), QString("sm|me|bi"));
        page.UndoRuleEdit();
        QCOMPARE(Column(grid, 1), QString("sm|bi|me"));
        page.RedoRuleEdit();
        QCOMPARE(Column(grid, 1), QString("sm|me|bi"));

        // Away from the page the rule base changes and the grid waits for the page.
        editor->PageControl->setCurrentWidget(editor->TabSheetGeneral);
        page.UndoRuleEdit();
        QCOMPARE(editor->RuleBase().GetAntExpression(0, 2), std::string("me"));
        editor->ShowRulesPage();
        QCOMPARE(Column(grid, 1), QString("sm|bi|me"));
        for (int i = 0; i < 6; ++i)
            page.UndoRuleEdit();
        QCOMPARE(Column(grid, 1), start);
    }

    // Each of these lost a rule: snapshots dropped the pasted copies, Escape wrote back the text
    // the cell held before Undo, and a paste after Cut replaced the row that moved up.
    void undoRedoAndPasteKeepEveryRule() {
        auto editor =
            Show(Make({Variable("x")}, {Variable("y")},
                      {{"sm", "sm"}, {"me", "sm"}, {"bi", "sm"}, {"ze", "sm"}, {"ve sm", "sm"}}));
        TStringGrid& grid = *editor->StringGridRules;
        TRulesPage& page = editor->RulesPage();
        Click(grid, 0, 1);
        Click(grid, 0, 2, Qt::ShiftModifier);
        page.CopyRules();
        Click(grid, 0, 5);
        page.PasteRules();
        const QString pasted = "sm|me|bi|ze|sm|me";
        QCOMPARE(Column(grid, 1), pasted);
        page.UndoRuleEdit();
        QCOMPARE(Column(grid, 1), QString("sm|me|bi|ze|ve sm"));
        page.RedoRuleEdit();
        QCOMPARE(Column(grid, 1), pasted);

        QVERIFY(grid.FocusCell(1, 3));
        QTest::keyClick(&grid, Qt::Key_Delete);
        QTest::keyClicks(grid.InplaceEditor(), "ro bi");
        page.UndoRuleEdit();
        QCOMPARE(grid.Cells(1, 3), QString("bi"));
        QTest::keyClick(grid.InplaceEditor(), Qt::Key_Escape);
        QCOMPARE(grid.Cells(1, 3), QString("bi"));
        QCOMPARE(Column(grid, 1), pasted);

        Click(grid, 0, 2);
        Click(grid, 0, 3, Qt::ShiftModifier);
        page.CutRules();
        page.PasteRules();
        QCOMPARE(Column(grid, 1), QString("sm|ze|me|bi|sm|me"));
        Click(grid, 0, 1);
        page.ButtonDeleteRuleClick();
        QApplication::clipboard()->setText("ex sm;ze;\r\n");
        page.PasteRules();
        QCOMPARE(Column(grid, 1), QString("ze|ex sm|me|bi|sm|me"));
    }

    void wordButtonsOnlyOnTheRulesPage() {
        auto editor = Show(Make({Variable("x")}, {Variable("y")}, {{"sm", "bi"}}));
        TStringGrid& grid = *editor->StringGridRules;
        QVERIFY(grid.FocusCell(1, 1));
        editor->RulesPage().InsertWord("vr");
        QCOMPARE(grid.Cells(1, 1), QString("vr sm"));
        QVERIFY(grid.EditorMode());
        editor->RulesPage().InsertWord("or");
        QCOMPARE(grid.Cells(1, 1), QString("vr sm"));
        grid.SetEditorMode(false);
        editor->PageControl->setCurrentWidget(editor->TabSheetGeneral);
        editor->RulesPage().InsertWord("bi");
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
        TStringGrid& grid = *editor->StringGridRules;
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
        QVERIFY(grid.FocusCell(2, 1));
        QCOMPARE(captions(), QStringList({"small", "medium", "big", "muggy"}));
        QVERIFY(grid.FocusCell(1, 1));
        QCOMPARE(captions(), QStringList({"freezing", "mild", "hot", "comfortable"}));
        form.ToolbarUserTerms->SetVisible(true);
        TToolbarButtonKit* mild = buttons()[1];
        QTest::mouseClick(mild, Qt::LeftButton, {}, mild->rect().center());
        QCOMPARE(grid.Cells(1, 1), QString("mild"));

        form.EditPaste1->setEnabled(false);
        grid.setFocus();
        QTest::keyClick(&grid, Qt::Key_Down);
        QVERIFY(form.EditPaste1->isEnabled());
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
        QCOMPARE(editor->StringGridRules->Cells(1, 1), QString("about 10"));
        InstalledEditorSeams() = {};
    }
};

QTEST_MAIN(TRulesPageTest)
#include "TRulesPageTest.moc"
