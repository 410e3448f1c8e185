#pragma once

#include <QLineEdit>
#include <QTest>

#include <memory>
#include <string>
#include <vector>

#include "core/io/RuleBaseReader.h"
#include "core/rulebase/CRuleBase.h"
#include "desktop/toolkit/TStringGrid.h"
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

// The person replaces the current cell's text in its editor.
inline void Type(TStringGrid& grid, const QString& text) {
    grid.SetEditorMode(true);
    grid.InplaceEditor()->selectAll();
    if (text.isEmpty())
        QTest::keyClick(grid.InplaceEditor(), Qt::Key_Backspace);
    else
        QTest::keyClicks(grid.InplaceEditor(), text);
}

}  // namespace rules_test
