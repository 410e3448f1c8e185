#include "core/rulebase/CFuzValue.h"

#include "core/lang/CBasicSettings.h"
#include "core/rulebase/CRuleBase.h"
#include "core/sets/CCompressedFuzzyDiscreteSet.h"
#include "core/text/ESyntax.h"

CFuzValue::CFuzValue(std::string text, int variableIndex)
    : CValue(std::move(text), variableIndex) {}

CFuzValue::~CFuzValue() = default;

void CFuzValue::Build(const CRuleBase& ruleBase) {
    set_.reset();
    const auto* settings =
        dynamic_cast<const CBasicSettings*>(&ruleBase.GetSettings(GetVariableIndex()));
    if (settings == nullptr)
        throw ESyntax("a linear combination is allowed only in an output variable", 0, GetText());
    const int samples = ruleBase.GetDiscretization(GetVariableIndex());
    // Fewer than two samples leave no step between grid points.
    if (samples < 2)
        throw ESyntax("bad value of discretization", 0, GetText());
    std::unique_ptr<CFuzzyDiscreteSet> set = settings->ParseValue(GetText(), samples);
    set->ClearTemporary();
    if (set->LastNonZero() != -1) {
        set_ = std::make_unique<CCompressedFuzzyDiscreteSet>(*set);
    } else {
        set_ = std::move(set);
    }
}
