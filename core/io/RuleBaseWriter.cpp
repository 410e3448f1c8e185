#include "core/io/RuleBaseWriter.h"

#include <charconv>
#include <memory>
#include <ostream>
#include <stdexcept>
#include <vector>

#include "core/inference/MethodTables.h"
#include "core/io/FileReplace.h"
#include "core/lang/CLinguisticSettings.h"
#include "core/lang/CTriangSettings.h"
#include "core/rulebase/CFuzzyVariable.h"
#include "core/rulebase/CRuleBase.h"
#include "core/sets/CFuzzyParamSet.h"

namespace {

constexpr std::string_view kKindWords[] = {"linguistic", "takagi_sugeno", "singleton"};

// printf's "%g": six significant digits, no trailing zeros, whatever the process locale.
void AppendNumber(std::string& text, double value) {
    char buffer[32];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 6);
    text.append(buffer, result.ptr);
}

void AppendCount(std::string& text, int value) {
    text += std::to_string(value);
}

const CFuzzyVariable& VariableInFileOrder(const CRuleBase& ruleBase, int position) {
    const int antecedents = ruleBase.GetNumAntVariables();
    return ruleBase.GetVariable(position < antecedents ? position : antecedents - 1 - position);
}

// The terms of "triang" settings begin with the triangular atomic terms that the settings make
// for their context; the reader makes them again, so only the terms after them are written.
std::size_t BuiltInTermCount(const CBasicSettings& settings) {
    if (settings.GetTypeName() != "triang")
        return 0;
    const CTriangSettings fresh(settings.GetLowerBound(), settings.GetUpperBound());
    const auto& builtIn = fresh.Terms();
    const auto& terms = settings.Terms();
    std::size_t count = 0;
    while (count < builtIn.size() && count < terms.size() &&
           terms[count]->Names() == builtIn[count]->Names())
        ++count;
    return count;
}

void AppendUserTerms(std::string& text, const CBasicSettings& settings) {
    const auto& terms = settings.Terms();
    for (std::size_t t = BuiltInTermCount(settings); t < terms.size(); ++t) {
        const auto& term = *terms[t];
        const auto& set = dynamic_cast<const CFuzzyParamSet&>(term.Element());
        text += " UserTerm\n  name=";
        for (std::size_t n = 0; n < term.Names().size(); ++n) {
            if (n > 0)
                text += ", ";
            text += term.Names()[n];
        }
        text += "\n  type=";
        text += set.GetTypeName();
        text += "\n  parameters=";
        std::vector<double> parameters(set.ParamCount());
        set.GetParams(parameters);
        for (double parameter : parameters) {
            text += ' ';
            AppendNumber(text, parameter);
        }
        text += "\n End_UserTerm\n";
    }
}

void CheckWritable(const CRuleBase& ruleBase) {
    if (!FindMethodByRoutine(InferenceMethodTable, ruleBase.GetInferenceMethod()))
        throw std::invalid_argument("the inference method has no keyword of the rulebase file");
    if (!FindMethodByRoutine(DefuzzificationMethodTable, ruleBase.GetDefuzzificationMethod()))
        throw std::invalid_argument(
            "the defuzzification method has no keyword of the rulebase file");
    const int variables = ruleBase.GetNumAntVariables() + ruleBase.GetNumSucVariables();
    for (int position = 0; position < variables; ++position) {
        const auto* settings = dynamic_cast<const CBasicSettings*>(
            VariableInFileOrder(ruleBase, position).GetSettings().get());
        if (settings == nullptr)
            continue;
        const auto& terms = settings->Terms();
        for (std::size_t t = BuiltInTermCount(*settings); t < terms.size(); ++t) {
            if (dynamic_cast<const CFuzzyParamSet*>(&terms[t]->Element()) == nullptr)
                throw std::invalid_argument("the user term " + terms[t]->Name() +
                                            " has no parametric shape");
        }
    }
}

}  // namespace

void SaveVariable(const CRuleBase& ruleBase, std::string& text, bool isSuccedent, int j) {
    const int position = isSuccedent ? ruleBase.GetNumAntVariables() + j : j;
    const CFuzzyVariable& variable = VariableInFileOrder(ruleBase, position);
    const std::string_view word = isSuccedent ? "SucVariable" : "AntVariable";
    text += word;
    AppendCount(text, j + 1);
    text += "\n name=";
    text += variable.GetName();
    text += '\n';

    // The first variable in file order that uses these settings is written in full; the
    // reader meets it before every alias to it.
    for (int earlier = 0; earlier < position; ++earlier) {
        const CFuzzyVariable& other = VariableInFileOrder(ruleBase, earlier);
        if (other.GetSettings() == variable.GetSettings()) {
            text += " settings=alias(";
            text += other.GetName();
            text += ")\n";
            text += "End_";
            text += word;
            AppendCount(text, j + 1);
            text += "\n\n";
            return;
        }
    }

    const CSettings& settings = *variable.GetSettings();
    text += " settings=";
    text += settings.GetTypeName();
    text += "\n context=<";
    AppendNumber(text, settings.GetLowerBound());
    text += ',';
    AppendNumber(text, settings.GetUpperBound());
    text += ">\n";
    if (const auto* linguistic = dynamic_cast<const CLinguisticSettings*>(&settings)) {
        text += " discretization=";
        AppendCount(text, variable.GetDiscretization());
        // Stored as P0 P1 P2 P3; the file holds them ascending along the axis: P0 P2 P3 P1.
        const auto p = linguistic->GetLingParams();
        text += "\n lingparams=";
        for (int k : {0, 2, 3, 1}) {
            AppendNumber(text, p[k]);
            text += k == 1 ? '\n' : ' ';
        }
    }
    // The reader takes user terms in "triang" settings as well as in "linguistic" ones.
    if (settings.GetTypeName() == "linguistic" || settings.GetTypeName() == "triang")
        AppendUserTerms(text, static_cast<const CBasicSettings&>(settings));
    text += "End_";
    text += word;
    AppendCount(text, j + 1);
    text += "\n\n";
}

std::string RuleBaseText(const CRuleBase& ruleBase) {
    CheckWritable(ruleBase);
    std::string text;
    if (!ruleBase.GetDescription().empty()) {
        text += "!COMMENT!\n";
        text += ruleBase.GetDescription();
        text += "\n!END_COMMENT!\n\n";
    }
    const int kind = static_cast<int>(ruleBase.GetTypeOfDescription());
    text += "TypeOfDescription=";
    text += kind >= 0 && kind < 3 ? kKindWords[kind] : kKindWords[0];
    text += "\nInfMethod=";
    text += FindMethodByRoutine(InferenceMethodTable, ruleBase.GetInferenceMethod())->Keyword;
    text += "\nDefuzzMethod=";
    text += FindMethodByRoutine(DefuzzificationMethodTable, ruleBase.GetDefuzzificationMethod())
                ->Keyword;
    text += "\nUseFuzzyFilter=";
    text += ruleBase.GetUseFuzzyFilter() ? "true" : "false";
    text += "\n\nNumberOfAntecedentVariables=";
    AppendCount(text, ruleBase.GetNumAntVariables());
    text += "\nNumberOfSuccedentVariables=";
    AppendCount(text, ruleBase.GetNumSucVariables());
    text += "\nNumberOfRules=";
    const int rules = ruleBase.GetNumRules();
    AppendCount(text, rules);
    text += "\n\n";
    for (int a = 0; a < ruleBase.GetNumAntVariables(); ++a)
        SaveVariable(ruleBase, text, false, a);
    for (int s = 0; s < ruleBase.GetNumSucVariables(); ++s)
        SaveVariable(ruleBase, text, true, s);

    text += "RULES\n";
    for (int r = 0; r < rules; ++r) {
        if (!ruleBase.IsRuleActive(r))
            text += '#';
        for (int a = 0; a < ruleBase.GetNumAntVariables(); ++a) {
            text += " \"";
            text += ruleBase.GetAntExpression(a, r);
            text += '"';
        }
        text += " |";
        for (int s = 0; s < ruleBase.GetNumSucVariables(); ++s) {
            text += " \"";
            text += ruleBase.GetSucExpression(s, r);
            text += '"';
        }
        text += '\n';
    }
    text += "END_RULES\n";
    return text;
}

void Save(const CRuleBase& ruleBase, std::ostream& out) {
    const std::string text = RuleBaseText(ruleBase);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

void SaveRuleBaseFile(const CRuleBase& ruleBase, const std::string& fileName) {
    ReplaceFileText(fileName, RuleBaseText(ruleBase));
}
