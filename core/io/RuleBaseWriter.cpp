#include "core/io/RuleBaseWriter.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <vector>

#include "core/inference/MethodTables.h"
#include "core/io/FileReplace.h"
#include "core/io/RuleBaseReader.h"
#include "core/lang/CLinguisticSettings.h"
#include "core/lang/CTriangSettings.h"
#include "core/rulebase/CFuzzyVariable.h"
#include "core/rulebase/CRuleBase.h"
#include "core/sets/CFuzzyParamSet.h"
#include "core/text/ESyntax.h"

// The reader keeps single precision, so that is what a number must survive: printf's "%g" (six
// significant digits, no trailing zeros, whatever the process locale) where it does, else the
// fewest digits that do. Nine always do.
bool FileHoldsName(std::string_view name) {
    // The reader ends a name at a comma or a byte below 32 (bytes above 127 count as such), and
    // drops the blanks around it.
    return !name.empty() && name.front() != ' ' && name.back() != ' ' &&
           std::all_of(name.begin(), name.end(),
                       [](char c) { return c >= 32 && c < 127 && c != ','; });
}

double RuleBaseNumber(double value) {
    // Half way between the largest float and the next power of two, which rounds to infinity.
    constexpr double kOverflow = 0x1.ffffffp+127;
    if (std::fabs(value) > FLT_MAX) {  // false for NaN, which stays NaN
        const double magnitude = std::fabs(value) < kOverflow ? FLT_MAX : HUGE_VAL;
        return std::copysign(magnitude, value);
    }
    // The reader's "%f" and from_chars below both round to the nearest float, as the cast does.
    return static_cast<float>(value);
}

bool WithinContext(double x, double lo, double hi) {
    const double held = RuleBaseNumber(x);
    return lo <= held && held <= hi;
}

std::string RuleBaseNumberText(double value) {
    const float stored = static_cast<float>(RuleBaseNumber(value));
    char buffer[32];
    for (int digits = 6;; ++digits) {
        const auto written = std::to_chars(buffer, buffer + sizeof buffer, double{stored},
                                           std::chars_format::general, digits);
        float readBack = 0.0f;
        std::from_chars(buffer, written.ptr, readBack);
        if (readBack == stored || digits == 9)
            return std::string(buffer, written.ptr);
    }
}

namespace {

constexpr std::string_view kKindWords[] = {"linguistic", "takagi_sugeno", "singleton"};

void AppendNumber(std::string& text, double value) {
    text += RuleBaseNumberText(value);
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
    const auto* triang = dynamic_cast<const CTriangSettings*>(&settings);
    return triang != nullptr ? triang->AtomicTermCount() : 0;
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

// Without a grid line the reader gives a variable the grid of the one it aliases, or of the
// variable before it; only a grid of its own is written.
void AppendGridIfOwn(std::string& text, int discretization, int takenOver) {
    if (discretization == takenOver)
        return;
    text += " discretization=";
    AppendCount(text, discretization);
    text += '\n';
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
            AppendGridIfOwn(text, variable.GetDiscretization(), other.GetDiscretization());
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
    const auto* linguistic = dynamic_cast<const CLinguisticSettings*>(&settings);
    if (linguistic == nullptr) {
        AppendGridIfOwn(text, variable.GetDiscretization(),
                        position > 0
                            ? VariableInFileOrder(ruleBase, position - 1).GetDiscretization()
                            : CRuleBase::kDefaultDiscretization);
    } else {
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

namespace {

// Every key the reader searches the whole text for; the description is written before the
// file's own keys, so one of these in it would be found first.
constexpr std::string_view kReaderKeys[] = {"!END_COMMENT!",
                                            "TypeOfDescription=",
                                            "AntVariable",
                                            "SucVariable",
                                            "InfMethod=",
                                            "DefuzzMethod=",
                                            "UseFuzzyFilter=",
                                            "NumberOfAntecedentVariables=",
                                            "NumberOfSuccedentVariables=",
                                            "NumberOfRules=",
                                            "RULES"};
constexpr char kNotReadBack[] = "the file would not read back the same";

// File position of the first variable that uses the same settings as the one at position.
int FirstSharing(const CRuleBase& ruleBase, int position) {
    const auto& settings = VariableInFileOrder(ruleBase, position).GetSettings();
    int first = 0;
    while (VariableInFileOrder(ruleBase, first).GetSettings() != settings)
        ++first;
    return first;
}

std::string UncheckedText(const CRuleBase& ruleBase);

// Keyword text in the description is the likeliest cause and is named first.
[[noreturn]] void Refuse(const CRuleBase& ruleBase, const std::string& message,
                         const std::string& text) {
    const std::string& description = ruleBase.GetDescription();
    for (std::string_view key : kReaderKeys) {
        const std::size_t at = description.find(key);
        if (at != std::string::npos)
            throw ESyntax("the description holds the keyword " + std::string(key), 0,
                          description.substr(at));
    }
    throw ESyntax(message, 0, text);
}

// A text that reads back as a different rule base must not replace a file that reads right:
// the text is read again and must give the same text and the same sharing of settings.
void CheckReadsBack(const CRuleBase& ruleBase, const std::string& text) {
    // A count that the reader would find first, in the description, would also make it warn.
    const char* count = text.c_str() + text.find("NumberOfRules=") + std::strlen("NumberOfRules=");
    if (std::strtol(count, nullptr, 10) != ruleBase.GetNumRules())
        Refuse(ruleBase, kNotReadBack, "NumberOfRules=");
    RuleBaseReaderOptions options;
    options.prepares = false;
    std::optional<CRuleBase> readBack;
    try {
        readBack.emplace(ReadRuleBaseText(text, {}, options));
    } catch (const ESyntax& error) {
        Refuse(ruleBase, std::string(kNotReadBack) + ": " + error.Message(), error.Text());
    }
    const std::string again = UncheckedText(*readBack);
    if (again != text) {
        const std::size_t differs = static_cast<std::size_t>(
            std::mismatch(text.begin(), text.end(), again.begin(), again.end()).first -
            text.begin());
        const std::size_t lineEnd =
            differs == 0 ? std::string::npos : text.rfind('\n', differs - 1);
        const std::size_t from = lineEnd == std::string::npos ? 0 : lineEnd + 1;
        Refuse(ruleBase, kNotReadBack, text.substr(from, text.find('\n', from) - from));
    }
    const int variables = ruleBase.GetNumAntVariables() + ruleBase.GetNumSucVariables();
    for (int position = 0; position < variables; ++position) {
        if (FirstSharing(ruleBase, position) != FirstSharing(*readBack, position))
            Refuse(ruleBase, kNotReadBack, VariableInFileOrder(ruleBase, position).GetName());
    }
}

std::string UncheckedText(const CRuleBase& ruleBase) {
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

}  // namespace

std::string RuleBaseText(const CRuleBase& ruleBase) {
    std::string text = UncheckedText(ruleBase);
    CheckReadsBack(ruleBase, text);
    return text;
}

void Save(const CRuleBase& ruleBase, std::ostream& out) {
    const std::string text = RuleBaseText(ruleBase);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

void SaveRuleBaseFile(const CRuleBase& ruleBase, const std::string& fileName) {
    ReplaceFileText(fileName, RuleBaseText(ruleBase));
}
