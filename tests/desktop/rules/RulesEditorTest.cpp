#include <QTest>

#include <random>

#include "core/lang/CLinguisticSettings.h"
#include "core/rulebase/Rules.h"
#include "desktop/rules/RuleRowSorter.h"
#include "desktop/rules/RulesEditor.h"
#include "tests/desktop/support/RulesTestModels.h"

using rules_test::Make;
using rules_test::Variable;

namespace {

// The grid's variable cells row by row, "|" between rows, and "#" before an inactive row.
std::string Rows(const RulesGridModel& grid) {
    std::string text;
    for (int row = 1; row <= grid.RuleRowCount(); ++row) {
        text += row > 1 ? "|" : "";
        text += grid.IsActive(row) ? "" : "#";
        for (int c = 1; c <= grid.VariableCount(); ++c)
            text += (c > 1 ? "," : "") + grid.Cell(c, row);
    }
    return text;
}

std::string Column(const RulesGridModel& grid, int column) {
    std::string text;
    for (int row = 1; row <= grid.RuleRowCount(); ++row)
        text += (row > 1 ? "|" : "") + grid.Text(column, row);
    return text;
}

std::unique_ptr<CRuleBase> TwoInputs(const std::vector<std::vector<std::string>>& rules,
                                     double lo = 0.0) {
    return Make({Variable("x", "linguistic", lo, 1.0), Variable("y", "linguistic", lo, 1.0)},
                {Variable("z", "linguistic", lo, 1.0)}, rules);
}

}  // namespace

class RulesEditorTest : public QObject {
    Q_OBJECT

  private slots:
    void fillShowsRulesAndStoreSkipsIncompleteRows() {
        auto ruleBase = TwoInputs({{"sm", "bi", "me"}, {"#", "ve sm", "me", "bi"}});
        RulesEditor editor(*ruleBase);
        editor.FillGrid();
        const RulesGridModel& grid = editor.Grid();
        QCOMPARE(grid.ColumnCount(), 3 + 5);
        QCOMPARE(grid.Text(0, 2), std::string("2."));
        QCOMPARE(grid.Text(5, 0), std::string("Inconsistency"));
        QCOMPARE(grid.RuleForm(), std::string("x && y --> z"));
        QCOMPARE(Rows(grid), std::string("sm,bi,me|#ve sm,me,bi"));

        editor.Grid().SetCell(2, 1, "");
        editor.StoreGrid();
        QCOMPARE(ruleBase->GetNumRules(), 1);
        QCOMPARE(ruleBase->GetAntExpression(0, 0), std::string("ve sm"));
        QVERIFY(!ruleBase->IsRuleActive(0));
        // The incomplete row stays in the grid for the user to finish.
        QCOMPARE(Rows(editor.Grid()), std::string("sm,,me|#ve sm,me,bi"));
    }

    // The widget tests read the annotations; here an open row shifts the rows that show rules.
    void checkColumnsNameTheRowsThatShowTheRules() {
        auto ruleBase = TwoInputs(
            {{"sm", "sm", "bi"}, {"sm", "sm", "bi"}, {"ve bi", "bi", "me"}, {"bi", "bi", "me"}});
        RulesEditor editor(*ruleBase);
        editor.FillGrid();
        editor.Grid().InsertRows(1, 1);
        editor.RunChecks();
        QCOMPARE(Column(editor.Grid(), 4), std::string("same as 3.||same as 1.||"));
        QCOMPARE(Column(editor.Grid(), 7), std::string("|||wrt 5|"));
        QCOMPARE(editor.Grid().SortKey(7, 4), 5);
        QCOMPARE(editor.Grid().SortKey(4, 2), RulesGridModel::kNoSortKey);
    }

    void sortByCheckColumnPutsUnannotatedRowsLast() {
        auto ruleBase = TwoInputs({{"bi", "bi", "me"},
                                   {"me", "me", "bi"},
                                   {"sm", "sm", "bi"},
                                   {"me", "me", "sm"},
                                   {"sm", "sm", "bi"}});
        RulesEditor editor(*ruleBase);
        editor.FillGrid();
        editor.RunChecks();
        editor.Sort(5);
        QCOMPARE(Rows(editor.Grid()), std::string("me,me,bi|me,me,sm|bi,bi,me|sm,sm,bi|sm,sm,bi"));
    }

    // The sort compares cached readings of the texts; its order must be the one the literal
    // selection sort with neighbour swaps gives with the settings' own comparison, also where
    // that comparison is no order at all (invalid texts, user words, numbers).
    void sortOrderAgreesWithLiteralSelectionSort() {
        const std::vector<std::string> pool = {
            "sm",    "ve sm", "ro sm", "me",        "ml me",     "bi",
            "ex bi", "ze",    "-sm",   "about 0.3", "about 0.7", "sm and bi",
            "undef", "xx",    "",      "ve",        "ml bi",     "qr sm"};
        CLinguisticSettings settings(-1.0, 1.0);
        settings.UpdateSymmetry();
        const unsigned seed = 7;
        std::mt19937 random(seed);
        std::uniform_int_distribution<std::size_t> pick(0, pool.size() - 1);
        for (int trial = 0; trial < 40; ++trial) {
            std::vector<std::string> texts(1 + trial % 17);
            for (auto& text : texts)
                text = pool[pick(random)];
            std::vector<std::string> literal = texts;
            for (std::size_t i = 0; i < literal.size(); ++i) {
                std::size_t m = i;
                for (std::size_t j = i + 1; j < literal.size(); ++j) {
                    if (settings.CompareExpressions(literal[j], literal[m]) != 0)
                        m = j;
                }
                for (std::size_t k = m; k > i; --k)
                    std::swap(literal[k], literal[k - 1]);
            }
            const ExpressionOrder order(settings, texts, [&settings](const std::string& text) {
                return !settings.CheckExpression(text);
            });
            const std::vector<int> sorted =
                SelectionSortOrder(static_cast<int>(texts.size()),
                                   [&](int a, int b) { return order.Compare(a, b) != 0; });
            std::vector<std::string> fast;
            for (int i : sorted)
                fast.push_back(texts[i]);
            if (fast != literal)
                QFAIL(qPrintable(QStringLiteral("seed %1, trial %2").arg(seed).arg(trial)));
        }
    }

    // The widget tests run the row commands; here the rows that must stay.
    void lastRowStaysAndPasteReplacesEveryRow() {
        auto ruleBase = TwoInputs({{"sm", "sm", "bi"}, {"me", "me", "me"}});
        RulesEditor editor(*ruleBase);
        editor.FillGrid();
        QVERIFY(!editor.DeleteRules(1, 2));
        QVERIFY(editor.DeleteRules(2, 2));
        editor.Grid().SetCell(1, 1, "");
        editor.Grid().SetCell(2, 1, "");
        editor.Grid().SetCell(3, 1, "");
        QVERIFY(!editor.DeleteEmptyRows());
        QCOMPARE(editor.Grid().RuleRowCount(), 1);

        QCOMPARE(editor.PasteRows("bi;bi;sm;\r\nze;ze;\r\n", 1, 1, true),
                 std::optional(std::pair(1, 2)));
        QCOMPARE(Rows(editor.Grid()), std::string("bi,bi,sm|ze,ze,"));
        QVERIFY(!editor.PasteRows("", 1, 1, false));
    }

    void invertSignOnlyWhereTheContextHoldsBothSigns() {
        auto ruleBase =
            Make({Variable("p", "linguistic", 0.0, 1.0), Variable("q", "linguistic", -1.0, 1.0)},
                 {Variable("z", "linguistic", -1.0, 1.0)},
                 {{"sm", "sm", "-sm"}, {"bi", "+bi", "about 0.5"}});
        RulesEditor editor(*ruleBase);
        editor.FillGrid();
        QVERIFY(editor.InvertSign(1, 2));
        QCOMPARE(Rows(editor.Grid()), std::string("sm,-sm,sm|bi,-bi,about 0.5"));
    }

    void deleteDuplicateAndRedundantKeepFlagsAndOpenRows() {
        auto ruleBase = TwoInputs({{"#", "sm", "sm", "bi"},
                                   {"sm", "sm", "bi"},
                                   {"ve bi", "bi", "me"},
                                   {"bi", "bi", "me"}});
        RulesEditor editor(*ruleBase);
        editor.FillGrid();
        editor.AddRule(4);
        QVERIFY(editor.DeleteDuplicateRules());
        QCOMPARE(Rows(editor.Grid()), std::string("#sm,sm,bi|ve bi,bi,me|bi,bi,me|,,"));
        QVERIFY(!editor.DeleteDuplicateRules());

        int steps = 0;
        QVERIFY(editor.DeleteRedundantRules([&](int) { ++steps; }));
        QCOMPARE(steps, 3);
        QCOMPARE(Rows(editor.Grid()), std::string("#sm,sm,bi|bi,bi,me|,,"));
        QCOMPARE(ruleBase->GetNumRules(), 2);
        QVERIFY(!editor.DeleteRedundantRules());
    }

    void undoAndRedoAcrossEdits() {
        auto ruleBase = TwoInputs({{"sm", "sm", "bi"}, {"me", "me", "me"}});
        RulesEditor editor(*ruleBase);
        editor.FillGrid();
        editor.ResetUndo();
        const std::string start = Rows(editor.Grid());

        // Undo with only the first snapshot changes nothing.
        QVERIFY(!editor.UndoRuleEdit(true));
        QCOMPARE(Rows(editor.Grid()), start);

        editor.AddRule(2);
        editor.PushUndoSnapshot(true);  // an incomplete row adds nothing to a snapshot
        QCOMPARE(editor.UndoStacks().UndoDepth(), std::size_t(1));
        editor.PasteRows("bi;bi;sm;\r\n", 2, 2, false);
        editor.PushUndoSnapshot(true);
        editor.Sort(3);
        editor.PushUndoSnapshot(true);
        // Undecided comparisons count as less, so the open row sorts first.
        QCOMPARE(Rows(editor.Grid()), std::string(",,|bi,bi,sm|me,me,me|sm,sm,bi"));
        const std::string sorted = "bi,bi,sm|me,me,me|sm,sm,bi";
        editor.DeleteRules(2, 2);
        editor.PushUndoSnapshot(true);
        editor.Grid().SetCell(1, 2, "ve");
        editor.PushUndoSnapshot(false);  // an invalid cell keeps nothing
        editor.Grid().SetCell(1, 2, "ve bi");
        editor.PushUndoSnapshot(true);
        QCOMPARE(editor.UndoStacks().UndoDepth(), std::size_t(5));

        QVERIFY(editor.UndoRuleEdit(true));  // the cell edit
        QVERIFY(editor.UndoRuleEdit(true));  // the delete
        QCOMPARE(Rows(editor.Grid()), sorted);
        QVERIFY(editor.UndoRuleEdit(true));  // the sort
        QCOMPARE(Rows(editor.Grid()), std::string("sm,sm,bi|me,me,me|bi,bi,sm"));
        QVERIFY(editor.RedoRuleEdit(true));
        QCOMPARE(Rows(editor.Grid()), sorted);

        // A new edit after an undo empties the redo stack.
        editor.Grid().SetCell(3, 1, "ze");
        editor.PushUndoSnapshot(true);
        QCOMPARE(editor.UndoStacks().RedoDepth(), std::size_t(0));
        QVERIFY(!editor.RedoRuleEdit(true));

        // Equal rows come back from a snapshot, incomplete rows do not.
        editor.PasteRows("sm;sm;ze;\r\nsm;sm;ze;\r\n;me;\r\n", 0, 0, false);
        editor.PushUndoSnapshot(true);
        editor.Grid().SetCell(1, 1, "bi");
        editor.PushUndoSnapshot(true);
        QVERIFY(editor.UndoRuleEdit(true));
        QCOMPARE(editor.Grid().RuleRowCount(), ruleBase->GetNumRules());
        QCOMPARE(Rows(editor.Grid()), std::string("sm,sm,ze|sm,sm,ze|bi,bi,ze|me,me,me|sm,sm,bi"));

        // Away from the rules page, undo changes the rule base only.
        const std::string shown = Rows(editor.Grid());
        QVERIFY(editor.UndoRuleEdit(false));
        QCOMPARE(Rows(editor.Grid()), shown);
        QCOMPARE(ruleBase->GetSucExpression(0, 0), std::string("ze"));
        QCOMPARE(ruleBase->GetNumRules(), 3);
    }

    // Undo turned every rule it brought back on, so a rule switched off came back on.
    void undoKeepsARuleSwitchedOff() {
        auto ruleBase = TwoInputs({{"#", "sm", "sm", "bi"}, {"me", "me", "me"}});
        RulesEditor editor(*ruleBase);
        editor.FillGrid();
        editor.ResetUndo();
        editor.Grid().SetCell(1, 2, "bi");
        editor.PushUndoSnapshot(true);
        QVERIFY(editor.UndoRuleEdit(true));
        QCOMPARE(Rows(editor.Grid()), std::string("#sm,sm,bi|me,me,me"));
        QVERIFY(editor.RedoRuleEdit(false));
        QVERIFY(!ruleBase->IsRuleActive(0));
    }

    // Snapshots one cell wider than the rules did reach the rule base (std::invalid_argument)
    // when no valid cell was current while a variable went.
    void undoAfterAVariableWentWithNoValidCurrentCell() {
        auto ruleBase = TwoInputs({{"sm", "sm", "bi"}, {"me", "me", "me"}});
        RulesEditor editor(*ruleBase);
        editor.FillGrid();
        editor.ResetUndo();
        editor.Grid().SetCell(3, 2, "bi");
        editor.StoreGrid();
        editor.PushUndoSnapshot(true);
        ruleBase->DeleteVariable(1);
        editor.PushUndoSnapshot(false);
        QVERIFY(!editor.UndoRuleEdit(true));
        QVERIFY(!editor.RedoRuleEdit(true));
        QCOMPARE(ruleBase->GetNumRules(), 2);
        QCOMPARE(ruleBase->GetSucExpression(0, 1), std::string("bi"));
    }
};

QTEST_GUILESS_MAIN(RulesEditorTest)
#include "RulesEditorTest.moc"
