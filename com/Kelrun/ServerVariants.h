#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>

#include "core/inference/MethodTables.h"
#include "core/io/RuleBaseReader.h"

class CLingTerm;
class CLinguisticSettings;
class CRuleBase;
class SetOperand;

// Where the component server differs from the core it is built on. Its rulebase files are read
// against its own method tables and shapes: no product or Lukasiewicz variant of the functional
// approximation, no gaussian user terms, no fuzzy filter. Everything else is the core's.
namespace kelrun {

// The core's value, and for each set one line on the standard output: "max= " followed by the
// maximum, the number of samples that reach it, the middle of those (count / 2) and the first
// and last of their positions.
void MOM(CRuleBase& ruleBase, std::span<SetOperand> sets, std::span<double> results);
// The core's smooth defuzzification with a fixed grid: each input's window of width 2w is
// walked in steps of 2w / 10, whatever the rule base's projection steps.
void SmoothDeffuzLingExpr(CRuleBase& ruleBase, std::span<SetOperand> sets,
                          std::span<double> results);

inline constexpr std::array<InferenceMethodRecord, 6> InferenceMethodTable = {{
    {"Fuzzy_Approximation-logical", LLogInfCrisp, "LLogInfCrisp",
     "Fuzzy Approximation with Implications"},
    {"Logical_Deduction", LLogInfPreCrisp, "LLogInfPreCrisp", "Logical Deduction"},
    {"LLogInfFuz", LLogInfFuz, "LLogInfFuz", "LLogInfFuz"},
    {"Fuzzy_Approximation-functional", LZadInfCrisp, "LZadInfCrisp",
     "Fuzzy Approximation with Conjunctions"},
    {"LZadInfFuz", LZadInfFuz, "LZadInfFuz", "LZadInfFuz"},
    {"Takagi-Sugeno Inference", LLinCInfCrisp, "LLinCInfCrisp", "Takagi-Sugeno Inference"},
}};

// The core's rows, names included, with the two routines above.
inline constexpr std::array<DefuzzificationMethodRecord, 6> DefuzzificationMethodTable = {{
    ::DefuzzificationMethodTable[0],
    ::DefuzzificationMethodTable[1],
    ::DefuzzificationMethodTable[2],
    ::DefuzzificationMethodTable[3],
    {::DefuzzificationMethodTable[4].Keyword, MOM, ::DefuzzificationMethodTable[4].ShortName,
     ::DefuzzificationMethodTable[4].DisplayName},
    {::DefuzzificationMethodTable[5].Keyword, SmoothDeffuzLingExpr,
     ::DefuzzificationMethodTable[5].ShortName, ::DefuzzificationMethodTable[5].DisplayName},
}};

inline constexpr std::array<std::string_view, 3> UserTermShapes = {"triang", "trapezoid",
                                                                   "quadratic"};

RuleBaseReaderOptions ReaderOptions();

// Reads a rulebase file with the server's tables and prepares the rule base. Throws ESyntax for
// a file that cannot be read and for the first cell that does not build.
CRuleBase ReadRuleBase(const std::string& fileName);

// The core's linguistic description without its clamp: a value beyond the context is not taken
// for its nearest end.
int DescribeValue(const CLinguisticSettings& settings, double x, CLingTerm& term, int mode);

}  // namespace kelrun
