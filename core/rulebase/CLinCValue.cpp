#include "core/rulebase/CLinCValue.h"

#include "core/lang/CLinCSettings.h"
#include "core/rulebase/CRuleBase.h"
#include "core/text/ESyntax.h"

CLinCValue::CLinCValue(std::string text, int variableIndex, int antecedentCount)
    : CValue(std::move(text), variableIndex), coefficients_(antecedentCount + 1, 0.0) {}

CLinCValue::~CLinCValue() = default;

void CLinCValue::Build(const CRuleBase& ruleBase) {
    const auto* settings =
        dynamic_cast<const CLinCSettings*>(&ruleBase.GetSettings(GetVariableIndex()));
    if (settings == nullptr)
        throw ESyntax("a linear combination needs linear-combination settings", 0, GetText());
    // Antecedents added since the value was made get coefficients too.
    const int antecedents = ruleBase.GetNumAntVariables();
    coefficients_.assign(antecedents + 1, 0.0);
    std::string text = GetText();  // the parser collapses blanks in place
    coefficients_ = settings->ParseValue(text, antecedents);
}
