#pragma once

#include <QHeaderView>
#include <QLineEdit>
#include <QStringList>
#include <QTest>

#include <memory>
#include <string>
#include <vector>

#include "core/io/RuleBaseReader.h"
#include "core/rulebase/CRuleBase.h"
#include "desktop/rules/RulesTableView.h"
#include "desktop/rules/TRulesPage.h"
#include "tests/core/rulebase/RuleBaseTestSupport.h"

namespace rules_test {

using rulebase_test::Variable;

// A linguistic rule base over the given variables; each rule lists the input cells, then the
// output cells, and a leading "#" cell switches the rule off.
inline std::unique_ptr<CRuleBase> Make(const std::vector<Variable>& inputs,
                                       const std::vector<Variable>& outputs,
                                       const std::vector<std::vector<std::string>>& rules,
                                       const std::string& kind = "linguistic") {
    rulebase_test::Model model;
    model.kind = kind;
    if (kind == "singleton")
        model.inference = "Takagi-Sugeno Inference";
    model.inputs = inputs;
    model.outputs = outputs;
    for (std::vector<std::string> cells : rules) {
        const bool active = cells.front() != "#";
        if (!active)
            cells.erase(cells.begin());
        const std::vector<std::string> in(cells.begin(), cells.begin() + inputs.size());
        const std::vector<std::string> out(cells.begin() + inputs.size(), cells.end());
        model.rules.push_back(rulebase_test::RuleLine(in, out, active));
    }
    return std::make_unique<CRuleBase>(rulebase_test::Build(model));
}

// The person replaces the current cell's text in its editor, which stays open.
inline void Type(TRulesPage& page, const QString& text) {
    QLineEdit* editor = page.OpenCellEditor();
    QVERIFY(editor);
    editor->selectAll();
    if (text.isEmpty())
        QTest::keyClick(editor, Qt::Key_Backspace);
    else
        QTest::keyClicks(editor, text);
}

// A column of the grid as it shows it, rows joined by "|" (column 0: the rule numbers).
inline QString Column(const TRulesPage& page, int column) {
    QStringList texts;
    for (int row = 1; row <= page.RuleRowCount(); ++row)
        texts << page.CellText(column, row);
    return texts.join('|');
}

// A click where the person clicks: on a cell, on a column's header (row 0) or on a rule's
// number, left of its image (column 0).
inline void Click(TRulesPage& page, int column, int row, Qt::KeyboardModifiers modifiers = {}) {
    QTableView& grid = page.Grid();
    if (row == 0) {
        QHeaderView& header = *grid.horizontalHeader();
        const int x =
            header.sectionViewportPosition(column - 1) + header.sectionSize(column - 1) / 2;
        QTest::mouseClick(header.viewport(), Qt::LeftButton, modifiers, {x, header.height() / 2});
    } else if (column == 0) {
        QHeaderView& header = *grid.verticalHeader();
        const int y = header.sectionViewportPosition(row - 1) + header.sectionSize(row - 1) / 2;
        QTest::mouseClick(header.viewport(), Qt::LeftButton, modifiers, {2, y});
    } else {
        const QRect cell = grid.visualRect(grid.model()->index(row - 1, column - 1));
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, modifiers, cell.center());
    }
}

}  // namespace rules_test
