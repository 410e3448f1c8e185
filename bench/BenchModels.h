#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/lang/CLinguisticSettings.h"
#include "core/rulebase/CFuzzyVariable.h"
#include "core/rulebase/CRuleBase.h"
#include "core/rulebase/Rules.h"

namespace bench {

// A new linguistic rule base (perception-based logical deduction, simple defuzzification of
// linguistic expressions, grids of 301) with inputs over [0, 1] and five terms per input in
// every combination: 5^n rules.
inline CRuleBase GridRuleBase(int inputs) {
    static const std::vector<std::string> kTerms = {"ex sm", "sm", "me", "bi", "ex bi"};
    CRuleBase ruleBase(CRuleBase::kLinguistic);
    for (int i = 1; i < inputs; ++i) {
        ruleBase.AddAntVariable(
            std::make_unique<CFuzzyVariable>("x" + std::to_string(i),
                                             std::make_shared<CLinguisticSettings>(0.0, 1.0),
                                             CRuleBase::kDefaultDiscretization),
            0);
    }
    Rules rules;
    std::vector<int> term(inputs, 0);
    for (;;) {
        std::vector<std::string> cells;
        int sum = 0;
        for (int k : term) {
            cells.push_back(kTerms[k]);
            sum += k;
        }
        cells.push_back(kTerms[sum / inputs]);
        rules.AddRule(std::move(cells));
        int d = 0;
        while (d < inputs && ++term[d] == static_cast<int>(kTerms.size()))
            term[d++] = 0;
        if (d == inputs)
            break;
    }
    ruleBase.SetRulesFromSet(rules);
    return ruleBase;
}

}  // namespace bench
