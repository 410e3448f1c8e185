#include "core/lang/CBasicSettings.h"

#include "core/io/RuleBaseWriter.h"
#include "core/lang/CLingTerm.h"
#include "core/lang/WordTables.h"
#include "core/norms/CMaxTConorm.h"
#include "core/norms/CMinTNorm.h"
#include "core/norms/CNegation.h"
#include "core/sets/CFuzzyDiscreteSet.h"
#include "core/sets/CFuzzyParamSet.h"
#include "core/sets/CFuzzyQuadraticSet.h"
#include "core/sets/ShapeFactory.h"
#include "core/text/ESyntax.h"
#include "core/text/NumberScan.h"
#include "core/text/Scanner.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <utility>
#include <vector>

namespace {

// Parentheses nest one call pair deeper each; bounded so that no text can exhaust the stack.
constexpr int kMaxNesting = 1000;

// The row of the first element one of whose names stands at the cursor.
template <class Element>
int MatchNamed(const std::vector<std::unique_ptr<Element>>& elements, const char*& cursor) {
    for (size_t row = 0; row < elements.size(); ++row) {
        for (const std::string& name : elements[row]->Names()) {
            if (MatchWordAt(cursor, name))
                return static_cast<int>(row);
        }
    }
    return kNoMatch;
}

// The grid of CFuzzySet::ToDiscrete: each point computed from its index, and a point that
// overshoots hi by less than half a step is hi, so kernel edges are met exactly.
void SampleOnGrid(const CFuzzySet& set, double lo, double hi, std::span<double> out) {
    const int count = static_cast<int>(out.size());
    const double width = hi - lo;
    const double intervals = count > 1 ? count - 1 : 1;
    const double halfStep = count > 1 ? width / intervals * 0.5 : 0.0;
    for (int i = 0; i < count; ++i) {
        double x = lo + i * width / intervals;
        if (x > hi && x - hi < halfStep)
            x = hi;
        out[i] = set.Membership(x);
    }
}

// One operand of the value readers: the codes of its atomic term and modifier and the sign
// that stood before the modifier.
struct Operand {
    int atom = kNoMatch;
    int modifier = kNoMatch;
    int sign = 0;
};

// Reads the operand at the cursor of a spaced-out text. A sign before a modifier is written
// back in front of the atomic term, so that "-ve sm" goes on as "-sm", a signed word. Returns
// with atom kNoMatch and the cursor on what follows the modifier when no term matches. A sign
// followed by the opposite one throws "bad sign" (the position is set by the caller).
Operand ReadOperand(const CBasicSettings& settings, char* text, const char*& cursor) {
    Operand operand;
    operand.atom = settings.MatchAtomicTerm(cursor);
    if (operand.atom != kNoMatch)
        return operand;
    const char signChar = *cursor;
    if (signChar == '+' || signChar == '-') {
        operand.sign = signChar == '+' ? 1 : -1;
        ++cursor;
    }
    if (*cursor == ' ')
        ++cursor;
    operand.modifier = settings.MatchModifier(cursor);
    if (operand.sign != 0) {
        const char next = *cursor;
        if ((operand.sign < 0 && next == '+') || (operand.sign > 0 && next == '-'))
            throw ESyntax("bad sign");
        if (next != '+' && next != '-') {
            // At least the sign itself lies before the cursor.
            const std::size_t at = static_cast<std::size_t>(cursor - text) - 1;
            text[at] = signChar;
            cursor = text + at;
        }
    }
    operand.atom = settings.MatchAtomicTerm(cursor);
    return operand;
}

// CBasicSettings::ParseValue step by step. Each level of parentheses holds one set and one
// pending connective; the right operand of a pending connective is read into a buffer of its own.
// Buffers are swapped between levels, never copied. Operands are written back into the work
// text (ReadOperand), so an error reports the text as it was prepared.
class ValueReader {
  public:
    ValueReader(const CBasicSettings& settings, std::string_view text, int n)
        : settings_(settings),
          source_(text.substr(0, text.find('\0'))),
          work_(SpaceOut(source_.c_str())),
          cursor_(work_.c_str()),
          n_(n) {
        if (n < 1)
            Fail("bad value of discretization", cursor_);
    }
    ValueReader(const ValueReader&) = delete;
    ValueReader& operator=(const ValueReader&) = delete;

    std::vector<double> Read() {
        for (;;) {
            OpenParentheses();
            std::vector<double>& target = OperandTarget();
            SampleOperand(target);
            ApplyOwnModifier(target);
            CloseParentheses();
            if (*cursor_ == '\0')
                break;
            ReadConnective();
        }
        if (depth_ > 0)
            Fail("missing right parenthesis", cursor_);
        if (levels_[0].pending != kNoMatch)
            Combine(levels_[0], cursor_);
        std::vector<double> values = std::move(levels_[0].set);
        KeepOneSideOfNegation(values);
        return values;
    }

  private:
    struct Level {
        std::vector<double> set;
        int pending = kNoMatch;
    };

    [[noreturn]] void Fail(const char* message, const char* at) const {
        throw ESyntax(message, static_cast<int>(at - work_.c_str()), SpaceOut(source_.c_str()));
    }

    void OpenParentheses() {
        while (*cursor_ == '(') {
            cursor_ += cursor_[1] == ' ' ? 2 : 1;
            if (++depth_ == levels_.size())
                levels_.emplace_back();
            levels_[depth_].pending = kNoMatch;
        }
    }

    std::vector<double>& OperandTarget() {
        Level& level = levels_[depth_];
        std::vector<double>& target = level.pending != kNoMatch ? right_ : level.set;
        target.resize(n_);
        return target;
    }

    void SampleOperand(std::vector<double>& target) {
        const char* operandStart = cursor_;
        try {
            last_ = ReadOperand(settings_, work_.data(), cursor_);
        } catch (const ESyntax& error) {
            Fail(error.what(), cursor_);
        }
        if (last_.atom >= kFixedCodeBase) {
            SampleFixedTerm(target, operandStart);
        } else if (last_.atom != kNoMatch) {
            SampleUserTerm(target, operandStart);
        } else if (std::strncmp(cursor_, "about", 5) == 0) {
            SampleFuzzyNumber(target);
        } else if (MatchWordAt(cursor_, "undef") || MatchWordAt(cursor_, "ignor")) {
            std::fill(target.begin(), target.end(), 1.0);
        } else {
            Fail("atomic term expected", cursor_);
        }
    }

    void SampleFixedTerm(std::vector<double>& target, const char* operandStart) const {
        const int hedge =
            last_.modifier >= kFixedCodeBase ? last_.modifier - kFixedCodeBase : kNoMatch;
        std::unique_ptr<CFuzzyQuadraticSet> set;
        try {
            set = settings_.MakeTermSet(last_.atom - kFixedCodeBase, hedge);
        } catch (const ESyntax& error) {
            Fail(error.what(), operandStart);
        }
        if (!set)
            Fail("atomic term expected", operandStart);
        SampleOnGrid(*set, set->GetLowerBound(), set->GetUpperBound(), target);
    }

    // A set made for another context is sampled on its own axis.
    void SampleUserTerm(std::vector<double>& target, const char* operandStart) const {
        const CFuzzySet& set = settings_.Terms()[last_.atom]->Element();
        if (!set.HasUniverse()) {
            SampleOnGrid(set, settings_.GetLowerBound(), settings_.GetUpperBound(), target);
        } else if (set.Dimensions() == 1) {
            SampleOnGrid(set, set.GetLowerBound(), set.GetUpperBound(), target);
        } else {
            Fail("user term is not a set of one variable", operandStart);
        }
    }

    // "about" at the cursor, then blanks and the number.
    void SampleFuzzyNumber(std::vector<double>& target) {
        const char* number = cursor_ + 5;
        while (*number == ' ')
            ++number;
        const char* numberEnd = number;
        const double x = ScanDouble(number, &numberEnd);
        if (numberEnd == number)
            Fail("Number expected", number);
        if (!WithinContext(x, settings_.GetLowerBound(), settings_.GetUpperBound()))
            Fail("fuzzy number out of context", number);
        const auto set = settings_.MakeFuzzyNumber(x);
        SampleOnGrid(*set, set->GetLowerBound(), set->GetUpperBound(), target);
        cursor_ = numberEnd;
        if (*cursor_ == ' ')
            ++cursor_;
    }

    // Fixed hedges are part of the term's set; the settings' own modifiers act on samples.
    void ApplyOwnModifier(std::vector<double>& target) const {
        if (last_.modifier < 0 || last_.modifier >= kFixedCodeBase)
            return;
        const C1ArgOper& modifier = settings_.Modifiers()[last_.modifier]->Element();
        for (double& degree : target)
            degree = modifier.Apply(degree);
    }

    // Each ")" combines what is pending inside and hands the result to the level outside.
    void CloseParentheses() {
        while (*cursor_ == ')') {
            if (depth_ == 0)
                Fail("too much right parentheses", cursor_);
            Level& inner = levels_[depth_];
            if (inner.pending != kNoMatch)
                Combine(inner, cursor_);
            Level& outer = levels_[depth_ - 1];
            std::swap(outer.pending != kNoMatch ? right_ : outer.set, inner.set);
            --depth_;
            cursor_ += cursor_[1] == ' ' ? 2 : 1;
        }
    }

    // Strictly left to right: a pending connective is applied before the next one waits.
    void ReadConnective() {
        const int connective = settings_.MatchConnective(cursor_);
        if (connective == kNoMatch)
            Fail("connective expected", cursor_);
        Level& level = levels_[depth_];
        if (level.pending != kNoMatch)
            Combine(level, cursor_);
        level.pending = connective;
    }

    void Combine(Level& level, const char* at) {
        if (level.pending >= kFixedCodeBase)
            Fail("no linguistic connective expected", at);
        const C2ArgOper& connective = settings_.Connectives()[level.pending]->Element();
        for (int k = 0; k < n_; ++k)
            level.set[k] = connective.Apply(level.set[k], right_[k]);
        level.pending = kNoMatch;
    }

    // "not" in a symmetric context keeps one side of the axis: the negative side for a
    // negative operand, the positive side otherwise. The last operand read decides.
    void KeepOneSideOfNegation(std::vector<double>& values) const {
        if (last_.modifier != 0 || !settings_.IsSymmetric())
            return;
        const auto half = values.begin() + n_ / 2;
        if (last_.sign < 0) {
            std::fill(half, values.end(), 0.0);
        } else {
            std::fill(values.begin(), half, 0.0);
        }
    }

    const CBasicSettings& settings_;
    const std::string source_;
    std::string work_;
    const char* cursor_;
    const int n_;
    std::vector<Level> levels_ = std::vector<Level>(1);
    std::size_t depth_ = 0;
    std::vector<double> right_;
    Operand last_;
};

}  // namespace

CBasicSettings::CBasicSettings(double lo, double hi) : CSettings(lo, hi) {
    modifiers_.push_back(std::make_unique<CNamedModifier>(std::vector<std::string>{"not", "no"},
                                                          std::make_unique<CNegation>()));
    connectives_.push_back(std::make_unique<CNamedConnective>(std::vector<std::string>{"and"},
                                                              std::make_unique<CMinTNorm>()));
    connectives_.push_back(std::make_unique<CNamedConnective>(std::vector<std::string>{"or"},
                                                              std::make_unique<CMaxTConorm>()));
}

CBasicSettings::~CBasicSettings() = default;

int CBasicSettings::AddTerm(std::unique_ptr<CNamedTerm> term) {
    KeepAsFileHolds(*term);
    terms_.push_back(std::move(term));
    return static_cast<int>(terms_.size()) - 1;
}

// The reader makes a user term's set on the variable's context from the numbers of the file.
void CBasicSettings::KeepAsFileHolds(CNamedTerm& term) const {
    const auto* set = dynamic_cast<const CFuzzyParamSet*>(&term.Element());
    if (set == nullptr)
        return;
    auto kept = CreateShapeSet(set->GetTypeName(), GetLowerBound(), GetUpperBound());
    if (!kept)
        return;
    std::vector<double> params(set->ParamCount());
    set->GetParams(params);
    for (double& param : params)
        param = RuleBaseNumber(param);
    kept->SetParams(params);
    term.SetElement(std::move(kept));
}

void CBasicSettings::SetContext(double lo, double hi) {
    CSettings::SetContext(lo, hi);
    for (auto& term : terms_)
        KeepAsFileHolds(*term);
}

void CBasicSettings::MoveContext(double lo, double hi) {
    const double newLo = RuleBaseNumber(lo);
    const double newHi = RuleBaseNumber(hi);
    for (auto& term : terms_) {
        CFuzzySet& set = term->Element();
        if (!set.HasUniverse())
            continue;
        // Moving the upper end first keeps the set's interval ordered when it moves up.
        if (newLo > set.GetUpperBound()) {
            set.SetUpperBound(newHi);
            set.SetLowerBound(newLo);
        } else {
            set.SetLowerBound(newLo);
            set.SetUpperBound(newHi);
        }
    }
    SetContext(newLo, newHi);
}

int CBasicSettings::UpdateSymmetry() {
    symmetric_ = -GetUpperBound() == GetLowerBound();
    return symmetric_ ? 1 : 0;
}

int CBasicSettings::MatchOwnTerm(const char*& cursor) const {
    return MatchNamed(terms_, cursor);
}

int CBasicSettings::MatchOwnModifier(const char*& cursor) const {
    return MatchNamed(modifiers_, cursor);
}

int CBasicSettings::MatchOwnConnective(const char*& cursor) const {
    return MatchNamed(connectives_, cursor);
}

int CBasicSettings::MatchAtomicTerm(const char*& cursor) const {
    return MatchOwnTerm(cursor);
}

int CBasicSettings::MatchModifier(const char*& cursor) const {
    return MatchOwnModifier(cursor);
}

int CBasicSettings::MatchConnective(const char*& cursor) const {
    return MatchOwnConnective(cursor);
}

bool CBasicSettings::BestTerm(double x, CLingTerm& term) const {
    int best = -1;
    double bestDegree = -1.0;
    for (size_t row = 0; row < terms_.size(); ++row) {
        const double degree = terms_[row]->Element().Membership(x);
        if (degree > bestDegree) {
            bestDegree = degree;
            best = static_cast<int>(row);
        }
    }
    if (best < 0)
        return false;
    term.kind = CLingTerm::kUserTerm;
    term.userIndex = best;
    return true;
}

int CBasicSettings::CopyTerms(const CBasicSettings& other) {
    // A set that is not one of the file's shapes is kept as it is rather than lose the term.
    for (const auto& term : other.terms_)
        AddTerm(std::make_unique<CNamedTerm>(term->Names(), term->Element().Clone()));
    return 0;
}

int CBasicSettings::TermToText(const CLingTerm& term, std::string& text) const {
    if (term.kind != CLingTerm::kUserTerm)
        return term.GetText(text);
    if (term.userIndex < 0 || term.userIndex >= static_cast<int>(terms_.size())) {
        text = "N/A";
        return -1;
    }
    text = terms_[term.userIndex]->Name();
    return 0;
}

std::string CBasicSettings::CombineExpressions(const std::string& a, const std::string& b) const {
    CLingTerm merged;
    CLingTerm clicked;
    TextToLingTerm(a, merged);
    TextToLingTerm(b, clicked);
    if (clicked.kind != CLingTerm::kNotParsed) {
        merged.kind = clicked.kind;
        merged.userIndex = clicked.userIndex;
        merged.sign = clicked.sign;
    }
    if (clicked.hedge != CLingTerm::kNoHedge)
        merged.hedge = clicked.hedge;
    std::string text;
    // "N/A" in a cell would lose what the user wrote.
    return TermToText(merged, text) == 0 ? text : a;
}

std::unique_ptr<CFuzzyQuadraticSet> CBasicSettings::MakeTermSet(int, int) const {
    return nullptr;
}

std::unique_ptr<CFuzzyQuadraticSet> CBasicSettings::MakeFuzzyNumber(double x) const {
    const double lo = GetLowerBound();
    const double hi = GetUpperBound();
    const double axisLo = IsSymmetric() ? -1.0 : 0.0;
    const double u = IsSymmetric() ? x / hi : (x - lo) / (hi - lo);
    std::array<double, 6> params = {u - 0.2, u - 0.12, u - 0.04, u + 0.04, u + 0.12, u + 0.2};
    for (double& p : params)
        p = std::clamp(p, axisLo, 1.0);
    return std::make_unique<CFuzzyQuadraticSet>(params[0], params[1], params[2], params[3],
                                                params[4], params[5], axisLo, 1.0);
}

std::unique_ptr<CFuzzyDiscreteSet> CBasicSettings::ParseValue(std::string_view text, int n) const {
    std::vector<double> values = ValueReader(*this, text, n).Read();
    return std::make_unique<CFuzzyDiscreteSet>(std::move(values), GetLowerBound(), GetUpperBound());
}

int CBasicSettings::ParseLingTerm(std::string_view text, CLingTerm& term) const {
    term.sign = 0;
    const std::string source(text.substr(0, text.find('\0')));
    std::string work = SpaceOut(source.c_str());
    const char* cursor = work.c_str();
    int result = -1;
    while (*cursor != '\0') {
        Operand operand;
        try {
            operand = ReadOperand(*this, work.data(), cursor);
        } catch (const ESyntax& error) {
            throw ESyntax(error.what(), static_cast<int>(cursor - work.c_str()),
                          SpaceOut(source.c_str()));
        }
        if (operand.atom == kNoMatch)
            break;
        if (operand.atom >= kFixedCodeBase) {
            term.kind = operand.atom - kFixedCodeBase;
            term.hedge = operand.modifier >= kFixedCodeBase ? operand.modifier - kFixedCodeBase
                                                            : CLingTerm::kNoHedge;
            result = 0;
        }
    }
    if (result == 0) {
        // Rows 4-7 are the "+" forms, rows 8-11 the "-" forms of rows 0-3.
        if (term.kind >= 8)
            term.sign = -1;
        term.kind %= 4;
    }
    return result;
}

std::string CBasicSettings::NormalizeText(std::string_view text, CLingTerm* term) {
    reader_ = Reader{};
    reader_.text.assign(text.substr(0, text.find('\0')));
    reader_.echo = true;
    reader_.term = term;
    // The reader keeps no pointer to the caller's term once it returns or throws.
    struct Detach {
        Reader& reader;
        ~Detach() {
            reader.term = nullptr;
            reader.echo = false;
        }
    } detach{reader_};
    if (term) {
        term->kind = CLingTerm::kNotParsed;
        term->userIndex = -1;
        term->hedge = CLingTerm::kNoHedge;
        term->sign = 0;
    }
    ParseExpression();
    if (!AtEnd())
        Fail("too much right parentheses");
    return std::move(reader_.output);
}

void CBasicSettings::Emit(std::string_view piece) {
    if (!reader_.echo)
        return;
    if (!reader_.output.empty() && !reader_.glue && piece != ")")
        reader_.output += ' ';
    reader_.output += piece;
    reader_.glue = piece == "(" || piece == "-" || piece == "+";
}

bool CBasicSettings::ParseExpression() {
    ParseOperand();
    for (;;) {
        if (ParseConnective()) {
            if (reader_.term)
                reader_.term->kind = CLingTerm::kCompound;
            ParseOperand();
            continue;
        }
        if (AtEnd() || reader_.text[reader_.cursor] == ')')
            return true;
        Fail("connective expected");
    }
}

bool CBasicSettings::ParseOperand() {
    if (Match("(", true, false, true)) {
        if (++reader_.depth > kMaxNesting) {
            --reader_.cursor;
            Fail("parser stack overflow");
        }
        reader_.blankSeen = true;
        ParseExpression();
        if (AtEnd())
            Fail("missing right parenthesis");
        Match(")", false, false, true);
        --reader_.depth;
        return true;
    }
    if (Match("about", true, false, true)) {
        if (reader_.term && !ReadCompound())
            reader_.term->kind = CLingTerm::kFuzzyNumber;
        if (reader_.cursor >= reader_.text.size() || reader_.text[reader_.cursor] != ' ')
            Fail("Space required");
        SkipBlanks();
        const char* number = reader_.text.c_str() + reader_.cursor;
        const char* numberEnd = number;
        const double x = ScanDouble(number, &numberEnd);
        if (numberEnd == number)
            Fail("Number expected");
        Emit(std::string_view(number, static_cast<std::size_t>(numberEnd - number)));
        if (!WithinContext(x, GetLowerBound(), GetUpperBound()))
            Fail("fuzzy number out of context");
        reader_.cursor += static_cast<std::size_t>(numberEnd - number);
        reader_.blankSeen = false;
        return true;
    }
    ParseSignedTerm();
    return ParseAtomicTerm();
}

bool CBasicSettings::ParseSignedTerm() {
    if (reader_.term) {
        reader_.term->sign = 0;
        reader_.term->hedge = CLingTerm::kNoHedge;
    }
    if (Match("-", true, false, true)) {
        if (reader_.term)
            reader_.term->sign = -1;
        reader_.blankSeen = true;
        if (GetLowerBound() >= 0) {
            --reader_.cursor;
            Fail("negative term is not allowed in this context");
        }
    } else if (Match("+", true, false, true)) {
        if (reader_.term)
            reader_.term->sign = 1;
        reader_.blankSeen = true;
    }
    ParseModifier();
    return true;
}

bool CBasicSettings::ParseModifier() {
    for (size_t row = 0; row < modifiers_.size(); ++row) {
        for (const std::string& name : modifiers_[row]->Names()) {
            if (Match(name, true, true, false)) {
                Emit(modifiers_[row]->Name());
                if (reader_.term)
                    reader_.term->hedge = static_cast<int>(row);
                return true;
            }
        }
    }
    return false;
}

bool CBasicSettings::ParseConnective() {
    for (const auto& connective : connectives_) {
        for (const std::string& name : connective->Names()) {
            if (Match(name, true, true, false)) {
                Emit(connective->Name());
                return true;
            }
        }
    }
    return false;
}

bool CBasicSettings::ParseAtomicTerm() {
    for (size_t row = 0; row < terms_.size(); ++row) {
        for (const std::string& name : terms_[row]->Names()) {
            if (Match(name, true, true, false)) {
                Emit(terms_[row]->Name());
                if (reader_.term && !ReadCompound()) {
                    reader_.term->kind = CLingTerm::kUserTerm;
                    reader_.term->userIndex = static_cast<int>(row);
                }
                return true;
            }
        }
    }
    Fail("atomic term expected");
}

void CBasicSettings::SkipBlanks() {
    while (reader_.cursor < reader_.text.size() &&
           (reader_.text[reader_.cursor] == ' ' || reader_.text[reader_.cursor] == '\t')) {
        ++reader_.cursor;
        reader_.blankSeen = true;
    }
}

bool CBasicSettings::AtEnd() {
    SkipBlanks();
    return reader_.cursor >= reader_.text.size();
}

namespace {

bool EndsWord(const std::string& text, std::size_t after) {
    return after >= text.size() || text[after] == ' ' || text[after] == '\t' || text[after] == ')';
}

}  // namespace

bool CBasicSettings::Match(std::string_view word, bool blankBefore, bool delimiterAfter,
                           bool echo) {
    if (word.empty())
        return false;
    if (word.front() != ' ')
        SkipBlanks();
    if (blankBefore && !reader_.blankSeen)
        return false;
    const std::string& text = reader_.text;
    if (text.compare(reader_.cursor, word.size(), word) != 0)
        return false;
    const std::size_t after = reader_.cursor + word.size();
    if (delimiterAfter && !EndsWord(text, after))
        return false;
    reader_.cursor = after;
    reader_.blankSeen = false;
    if (echo)
        Emit(word);
    return true;
}

int CBasicSettings::MatchFixedWord(std::span<const FixedWord> rows) {
    SkipBlanks();
    if (!reader_.blankSeen)
        return -1;
    const std::string& text = reader_.text;
    int best = -1;
    std::size_t bestLength = 0;
    for (size_t row = 0; row < rows.size(); ++row) {
        for (std::string_view word : {rows[row].full, rows[row].shortForm}) {
            if (word.size() > bestLength && text.compare(reader_.cursor, word.size(), word) == 0 &&
                EndsWord(text, reader_.cursor + word.size())) {
                best = static_cast<int>(row);
                bestLength = word.size();
            }
        }
    }
    if (best >= 0) {
        reader_.cursor += bestLength;
        reader_.blankSeen = false;
    }
    return best;
}

void CBasicSettings::Fail(const char* message) const {
    throw ESyntax(message, static_cast<int>(reader_.cursor), reader_.text);
}

bool CBasicSettings::ReadCompound() const {
    return reader_.term && reader_.term->kind == CLingTerm::kCompound;
}
