#include "core/io/RuleBaseReader.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>
#include <vector>

#include "core/lang/CLinCSettings.h"
#include "core/lang/CLinguisticSettings.h"
#include "core/lang/CTriangSettings.h"
#include "core/rulebase/CFuzzyVariable.h"
#include "core/rulebase/CValue.h"
#include "core/sets/CFuzzyParamSet.h"
#include "core/text/ESyntax.h"
#include "core/text/Scanner.h"

namespace {

constexpr std::array<std::string_view, 3> kKindWords = {"linguistic", "takagi_sugeno", "singleton"};
enum SettingsType { kAlias = 0, kLinguistic = 1, kTriang = 2, kLinC = 3, kUnknown = 4 };
constexpr std::array<std::string_view, 4> kSettingsWords = {"alias", "linguistic", "triang",
                                                            "linc"};
constexpr char kWrongSettingsType[] = "wrong settings type for a given description type";
constexpr char kBadParameter[] = "missing or bad parameter";

[[noreturn]] void Fail(const std::string& message, const char* text = nullptr) {
    throw ESyntax(message, 0, text ? std::string(text) : std::string());
}

// Bytes 1..32, as SkipSpace steps over them.
bool IsBlank(char c) {
    return c > 0 && c <= ' ';
}

const char* Find(const char* from, const char* key) {
    return std::strstr(from, key);
}

// The row of the first word that begins the text, or the table's size.
template <std::size_t N>
int MatchWord(const std::array<std::string_view, N>& words, const char* text) {
    const std::string_view rest(text);
    for (std::size_t row = 0; row < N; ++row) {
        if (rest.starts_with(words[row]))
            return static_cast<int>(row);
    }
    return static_cast<int>(N);
}

// A decimal integer as C's atoi reads it (leading white space, a sign, digits), clamped to the
// range of int instead of overflowing; 0 when there are no digits.
int ReadInteger(const char* p) {
    while (*p == ' ' || (*p >= '\t' && *p <= '\r'))
        ++p;
    const bool negative = *p == '-';
    if (*p == '-' || *p == '+')
        ++p;
    long long value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        value = value * 10 + (*p - '0');
        if (value > std::numeric_limits<int>::max())
            value = static_cast<long long>(std::numeric_limits<int>::max()) + 1;
    }
    if (negative)
        value = -value;
    if (value > std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    if (value < std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    return static_cast<int>(value);
}

// The value after a key: the first occurrence of key in text, stepped over and past space.
const char* ValueOf(const char* text, const char* key) {
    const char* p = Find(text, key);
    if (p == nullptr)
        return nullptr;
    p += std::strlen(key);
    SkipSpace(p);
    return p;
}

const char* RequiredValueOf(const char* text, const char* key, const char* name) {
    const char* p = ValueOf(text, key);
    if (p == nullptr)
        Fail(std::string("missing: ") + name);
    return p;
}

bool AllFinite(const std::vector<double>& numbers) {
    for (double number : numbers) {
        if (!std::isfinite(number))
            return false;
    }
    return true;
}

struct Context {
    double lo = 0.0;
    double hi = 1.0;
};

// "context=<lo,hi>": both numbers on the line of the key, finite, hi above lo.
Context ReadContext(const char* block) {
    const char* key = Find(block, "context=<");
    if (key == nullptr)
        Fail("missing: context");
    const char* p = key + std::strlen("context=<");
    SkipSpace(p);
    const std::vector<double> lo = ReadNumbers(p, 1);
    const char* comma = p;
    while (*comma != '\0' && *comma != ',' && !IsLineEnd(comma))
        ++comma;
    std::vector<double> hi;
    if (*comma == ',') {
        const char* q = comma + 1;
        SkipSpace(q);
        hi = ReadNumbers(q, 1);
    }
    if (lo.empty() || hi.empty() || !AllFinite(lo) || !AllFinite(hi) || !(hi[0] > lo[0]))
        Fail("bad context bounds", key);
    return {lo[0], hi[0]};
}

class Reader {
  public:
    Reader(std::string_view text, const std::string& fileName, const RuleBaseReaderOptions& options)
        // C string searches stop at the first NUL, as in a text read whole into a C buffer.
        : text_(text.substr(0, text.find('\0'))), options_(options) {
        ruleBase_.SetFileName(fileName);
    }

    CRuleBase Read() {
        const char* text = text_.c_str();
        if (Find(text, "END_RULES") == nullptr)
            Fail("bad file type");
        ruleBase_.SetDescription(
            ExtractBetweenMarkers(text, "!COMMENT!", "!END_COMMENT!", false).value_or(""));
        ReadKind();
        ReadVariables(false);
        ReadVariables(true);
        ReadMethods();
        ReadCounts();
        ReadRules();
        if (options_.prepares)
            PrepareReporting();
        ruleBase_.RecordUseFuzzyFilter(useFuzzyFilter_);
        return std::move(ruleBase_);
    }

  private:
    void ReadKind() {
        const char* p = ValueOf(text_.c_str(), "TypeOfDescription=");
        if (p == nullptr)
            return;
        const int word = MatchWord(kKindWords, p);
        if (word == static_cast<int>(kKindWords.size()))
            Fail("unknown type of description ", p);
        kind_ = static_cast<TypeOfDescription>(word);
        ruleBase_.SetTypeOfDescription(kind_);
    }

    void ReadVariables(bool isSuccedent) {
        const char* open = isSuccedent ? "SucVariable" : "AntVariable";
        const char* close = isSuccedent ? "End_SucVariable" : "End_AntVariable";
        const char* cursor = text_.c_str();
        for (int count = 0;; ++count) {
            const char* opening = Find(cursor, open);
            if (opening == nullptr)
                return;
            const char* afterOpening = opening + std::strlen(open);
            if (ReadInteger(afterOpening) != count + 1)
                Fail("variables out of order", opening);
            const char* closing = Find(afterOpening, close);
            if (closing == nullptr)
                Fail(std::string("missing: ") + close, opening);
            const char* afterClosing = closing + std::strlen(close);
            if (ReadInteger(afterClosing) != count + 1)
                Fail("Variable dont match End_Variable", opening);
            ReadVariable(std::string(afterOpening, afterClosing), isSuccedent);
            cursor = afterClosing;
        }
    }

    void ReadVariable(const std::string& blockText, bool isSuccedent) {
        const char* block = blockText.c_str();
        std::string name = CopyToken(RequiredValueOf(block, "name=", "name"));
        const char* settingsValue = RequiredValueOf(block, "settings=", "settings");
        int type = MatchWord(kSettingsWords, settingsValue);

        Context context;
        int discretization = lastDiscretization_;
        if (type != kAlias) {
            context = ReadContext(block);
            if (type == kLinguistic)
                discretization =
                    Discretization(RequiredValueOf(block, "discretization=", "discretization"));
        }
        const bool gridRequired = type == kLinguistic;

        std::shared_ptr<CSettings> settings;
        if (type == kAlias) {
            const std::string target = *ExtractBetweenMarkers(settingsValue, "(", ")", true);
            const int index = ruleBase_.FindVariable(target);
            if (index == CRuleBase::kNoVariable)
                Fail("alias to nonexistent variable ", settingsValue);
            const CFuzzyVariable& aliased = ruleBase_.GetVariable(index);
            settings = aliased.GetSettings();
            context = {settings->GetLowerBound(), settings->GetUpperBound()};
            discretization = aliased.GetDiscretization();
            // The kind checks hold for shared settings as for the variable's own.
            type = MatchWord(kSettingsWords, std::string(settings->GetTypeName()).c_str());
        }
        // Other blocks hold a grid only where it differs from the one they would take over.
        if (!gridRequired && type != kUnknown) {
            if (const char* grid = ValueOf(block, "discretization="))
                discretization = Discretization(grid);
        }
        if (kind_ == CRuleBase::kLinguistic && type == kLinC)
            Fail(kWrongSettingsType, block);
        if (isSuccedent && kind_ != CRuleBase::kLinguistic &&
            (type == kLinguistic || type == kTriang))
            Fail(kWrongSettingsType, block);
        if (!isSuccedent && type == kLinC)
            Fail("Takagi-Sugeno or singleton type variable among antecedents", block);

        if (!settings) {
            switch (type) {
                case kLinguistic:
                    settings = LinguisticSettings(block, context);
                    break;
                case kTriang:
                    settings = std::make_shared<CTriangSettings>(context.lo, context.hi);
                    break;
                case kLinC:
                    settings = std::make_shared<CLinCSettings>(context.lo, context.hi);
                    break;
                default:
                    Fail("unknown type of settings ", settingsValue);
            }
        }

        auto variable = std::make_unique<CFuzzyVariable>(std::move(name), settings, discretization);
        ruleBase_.AppendVariable(std::move(variable), isSuccedent);
        lastDiscretization_ = discretization;

        if (auto* basic = dynamic_cast<CBasicSettings*>(settings.get()))
            ReadUserTerms(block, context, *basic);
    }

    static int Discretization(const char* value) {
        const int discretization = ReadInteger(value);
        // A grid needs two samples; the bound keeps one cell's set of a sane size.
        if (discretization < 2 || discretization > kMaxDiscretization)
            Fail("bad value of discretization");
        return discretization;
    }

    static std::shared_ptr<CSettings> LinguisticSettings(const char* block,
                                                         const Context& context) {
        auto settings = std::make_shared<CLinguisticSettings>(context.lo, context.hi);
        if (const char* key = Find(block, "lingparams=")) {
            const std::vector<double> f = ReadNumbers(key + std::strlen("lingparams="), 4);
            if (f.size() < 4 || !AllFinite(f))
                Fail(kBadParameter, block);
            // The file holds P0 P2 P3 P1, ascending along the axis.
            settings->SetLingParams({f[0], f[3], f[1], f[2]});
        }
        return settings;
    }

    void ReadUserTerms(const char* block, const Context& context, CBasicSettings& settings) {
        const char* cursor = block;
        while (const char* start = Find(cursor, "UserTerm")) {
            const char* end = Find(start + std::strlen("UserTerm"), "End_UserTerm");
            if (end == nullptr)
                Fail("missing: End_UserTerm", start);
            const std::string term =
                *ExtractBetweenMarkers(start, "UserTerm", "End_UserTerm", true);
            ReadUserTerm(term.c_str(), context.lo, context.hi, settings, options_.userTermShapes);
            cursor = end + std::strlen("End_UserTerm");
        }
    }

    void ReadMethods() {
        const char* text = text_.c_str();
        const char* p = RequiredValueOf(text, "InfMethod=", "InfMethod");
        const auto* inference = FindMethodByName(options_.inferenceMethods, p);
        if (inference == nullptr)
            Fail("unknown type of inference method ", p);
        ruleBase_.SetInferenceMethod(inference->Routine);

        p = RequiredValueOf(text, "DefuzzMethod=", "DefuzzMethod");
        const auto* defuzzification = FindMethodByName(options_.defuzzificationMethods, p);
        if (defuzzification == nullptr)
            Fail("unknown type of defuzzification method ", p);
        ruleBase_.SetDefuzzificationMethod(defuzzification->Routine);

        if (options_.readsFilterSwitch) {
            if (const char* q = ValueOf(text, "UseFuzzyFilter="))
                useFuzzyFilter_ = std::string_view(q).starts_with("true");
        }
    }

    void ReadCounts() {
        const char* text = text_.c_str();
        const char* p =
            RequiredValueOf(text, "NumberOfAntecedentVariables=", "NumberOfAntecedentVariables");
        if (ReadInteger(p) != ruleBase_.GetNumAntVariables())
            Fail("bad value of NumberOfAntecedentVariables");
        p = RequiredValueOf(text, "NumberOfSuccedentVariables=", "NumberOfSuccedentVariables");
        if (ReadInteger(p) != ruleBase_.GetNumSucVariables())
            Fail("bad value of NumberOfSuccedentVariables");
        // Without an input there are no rules, and without an output nothing to infer.
        if (ruleBase_.GetNumAntVariables() == 0)
            Fail("missing: AntVariable1");
        if (ruleBase_.GetNumSucVariables() == 0)
            Fail("missing: SucVariable1");
        statedRules_ = ReadInteger(RequiredValueOf(text, "NumberOfRules=", "NumberOfRules"));
        // 0 states a rule base without rules; over rules it would drop them all.
        if (statedRules_ < 0 || (statedRules_ == 0 && !RulesBlockIsEmpty()))
            Fail("bad value of NumberOfRules");
    }

    bool RulesBlockIsEmpty() const {
        const char* p = Find(text_.c_str(), "RULES");
        if (p == nullptr)
            return false;
        p += std::strlen("RULES");
        SkipSpace(p);
        while (*p == ';') {
            NextLine(p);
            SkipSpace(p);
        }
        return std::string_view(p).starts_with("END_RULES");
    }

    // One quoted cell from the cursor on: the closing quote is searched from the cell's second
    // character, so a cell holds at least one.
    static std::string ReadCell(const char*& p) {
        const char* quote = std::strchr(p, '"');
        if (quote == nullptr || quote[1] == '\0')
            Fail("error in rules");
        const char* start = quote + 1;
        const char* end = std::strchr(start + 1, '"');
        if (end == nullptr)
            Fail("error in rules");
        p = end + 1;
        return std::string(start, end);
    }

    void ReadRules() {
        const char* p = Find(text_.c_str(), "RULES");
        if (p == nullptr)
            Fail("missing: RULES");
        p += std::strlen("RULES");
        SkipSpace(p);
        const char* const rulesStart = p;
        const char* rulesEnd = nullptr;
        std::vector<const char*> ruleStarts;

        const int antecedents = ruleBase_.GetNumAntVariables();
        const int succedents = ruleBase_.GetNumSucVariables();
        std::vector<std::string> cells;
        std::vector<bool> active;
        int rules = 0;
        while (rules < statedRules_) {
            while (*p == ';') {
                NextLine(p);
                SkipSpace(p);
            }
            const char* ruleStart = p;
            const bool isActive = *p != '#';
            if (!isActive)
                ++p;
            if (std::string_view(p).starts_with("END_RULES")) {
                rulesEnd = ruleStart;
                break;
            }
            ruleStarts.push_back(ruleStart);
            for (int a = 0; a < antecedents; ++a)
                cells.push_back(ReadCell(p));
            p = std::strchr(p, '|');
            if (p == nullptr)
                Fail("error in rules");
            for (int s = 0; s < succedents; ++s)
                cells.push_back(ReadCell(p));
            active.push_back(isActive);
            NextLine(p);
            SkipSpace(p);
            ++rules;
        }
        if (rules != statedRules_ && options_.warn) {
            options_.warn({"bad value of NumberOfRules=" + std::to_string(statedRules_) +
                           ", new value NumberOfRules=" + std::to_string(rules)});
        }
        if (rulesEnd == nullptr) {
            rulesEnd = Find(p, "END_RULES");
            if (rulesEnd == nullptr)
                rulesEnd = p + std::strlen(p);
            else if (rulesEnd > p && rulesEnd[-1] == '#')
                --rulesEnd;  // an inactive mark before the end marker ends the rules as well
        }
        WarnUnreadLines(rulesStart, rulesEnd, ruleStarts);

        static constexpr char kActive[] = "";
        const std::size_t columns = 1 + antecedents + succedents;
        std::vector<const char*> table;
        table.reserve(rules * columns);
        for (int r = 0; r < rules; ++r) {
            table.push_back(active[r] ? kActive : nullptr);
            for (std::size_t c = 0; c + 1 < columns; ++c)
                table.push_back(cells[r * (columns - 1) + c].c_str());
        }
        ruleBase_.SetRules(table, rules);
    }

    // Names every line of [from, to) that holds more than blanks or a ";" comment and on which
    // no rule begins: its text went into the rule before it, or the stated count ended the
    // reading first. A later save would lose it without a trace.
    void WarnUnreadLines(const char* from, const char* to,
                         const std::vector<const char*>& ruleStarts) const {
        if (!options_.warn)
            return;
        auto rule = ruleStarts.begin();
        const char* line = text_.c_str();
        for (int number = 1; *line != '\0' && line < to; ++number) {
            const char* end = line;
            while (*end != '\0' && !IsLineEnd(end))
                ++end;
            const char* content = std::max(line, from);
            const char* stop = std::min(end, to);
            while (content < stop && IsBlank(*content))
                ++content;
            while (rule != ruleStarts.end() && *rule < line)
                ++rule;
            const bool ruleBegins = rule != ruleStarts.end() && *rule < end;
            if (content < stop && *content != ';' && !ruleBegins) {
                std::string lineText(content, end);
                TrimRight(lineText);
                options_.warn(
                    {"line " + std::to_string(number) + " not read as a rule: " + lineText,
                     number});
            }
            line = end;
            SkipLineEnd(line);
        }
    }

    // A file whose cell does not build cannot be opened: the first such cell, in rule order, is
    // reported with what its parser said.
    void PrepareReporting() {
        try {
            ruleBase_.Prepare();
        } catch (const ESyntaxRB& failure) {
            const int antecedents = ruleBase_.GetNumAntVariables();
            const int succedents = ruleBase_.GetNumSucVariables();
            for (int r = 0; r < ruleBase_.GetNumRules(); ++r) {
                for (int v = 0; v < antecedents + succedents; ++v) {
                    const bool bad =
                        v < antecedents
                            ? failure.AntecedentErrors()[r * antecedents + v] != 0
                            : failure.SuccedentErrors()[r * succedents + v - antecedents] != 0;
                    if (bad)
                        ReportCell(r, v < antecedents ? v : antecedents - 1 - v);
                }
            }
            throw;
        }
    }

    [[noreturn]] void ReportCell(int rule, int variable) {
        const std::string where = "bad expression in rule " + std::to_string(rule + 1) +
                                  ", variable " + ruleBase_.GetVariableName(variable) + ": ";
        CValue& cell = const_cast<CValue&>(ruleBase_.GetCell(variable, rule));
        try {
            cell.Build(ruleBase_);
        } catch (const ESyntax& error) {
            throw ESyntax(where + error.Message(), error.Position(), error.Text());
        } catch (const std::exception& error) {
            throw ESyntax(where + error.what(), 0, cell.GetText());
        }
        throw ESyntax(where + "it does not build", 0, cell.GetText());
    }

    std::string text_;
    const RuleBaseReaderOptions& options_;
    CRuleBase ruleBase_;
    TypeOfDescription kind_ = CRuleBase::kLinguistic;
    int lastDiscretization_ = CRuleBase::kDefaultDiscretization;
    int statedRules_ = 0;
    bool useFuzzyFilter_ = false;
};

}  // namespace

void PrintRuleBaseWarning(const RuleBaseWarning& warning) {
    std::printf("warning: %s\n", warning.message.c_str());
    std::fflush(stdout);
}

CRuleBase ReadRuleBaseText(std::string_view text, const std::string& fileName,
                           const RuleBaseReaderOptions& options) {
    return Reader(text, fileName, options).Read();
}

CRuleBase ReadRuleBaseFile(const std::string& fileName, const RuleBaseReaderOptions& options) {
    return ReadRuleBaseText(ReadFileText(fileName), fileName, options);
}

void ReadUserTerm(const char* text, double lo, double hi, CBasicSettings& settings,
                  std::span<const std::string_view> shapes) {
    const char* names = Find(text, "name=");
    if (names == nullptr)
        Fail("missing: name", text);
    names += std::strlen("name=");
    // The first name begins right behind "=", each further one behind its comma and blanks.
    std::vector<std::string> nameList;
    const int items = CountItems(names);
    const char* item = names;
    for (int i = 0; i < items; ++i) {
        const char* end = item;
        while (*end != '\0' && *end != ',' && !IsLineEnd(end))
            ++end;
        std::string name(item, end);
        TrimRight(name);
        // An empty name would match at every place of a cell.
        if (name.empty())
            Fail("missing: name", text);
        nameList.push_back(std::move(name));
        if (*end != ',')
            break;
        item = end;
        NextItem(item);
    }
    if (nameList.empty())
        Fail("missing: name", text);

    const char* type = Find(text, "type=");
    if (type == nullptr)
        Fail("missing: type", text);
    type += std::strlen("type=");
    std::unique_ptr<CFuzzyParamSet> set;
    for (std::string_view shape : shapes) {
        if (std::string_view(type).starts_with(shape)) {
            set = CreateShapeSet(shape, lo, hi);
            break;
        }
    }
    if (!set)
        Fail("unknown type of fuzzy set ", type);

    const char* parameters = Find(text, "parameters=");
    if (parameters == nullptr)
        Fail("missing: parameters", text);
    parameters += std::strlen("parameters=");
    const std::vector<double> numbers = ReadNumbers(parameters, set->ParamCount());
    if (static_cast<int>(numbers.size()) < set->ParamCount() || !AllFinite(numbers))
        Fail(kBadParameter, parameters);
    set->SetParams(numbers);
    settings.AddTerm(std::make_unique<CNamedTerm>(std::move(nameList), std::move(set)));
}
