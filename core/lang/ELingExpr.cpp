#include "core/lang/ELingExpr.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <vector>

#include "core/io/RuleBaseWriter.h"
#include "core/lang/CLingTerm.h"
#include "core/lang/ParserVocabulary.h"
#include "core/lang/WordTables.h"
#include "core/sets/CUniverse.h"
#include "core/text/ESyntax.h"
#include "core/text/NumberScan.h"

namespace {

// The cell texts print numbers as C's "%g" does; stored texts depend on it.
void AppendNumber(std::string& text, double value) {
    char buffer[32];
    const ClassicNumbersScope classicNumbers;
    const int length = std::snprintf(buffer, sizeof buffer, "%g", value);
    text.append(buffer, static_cast<std::size_t>(length));
}

void AppendSign(std::string& text, int sign) {
    if (sign < 0)
        text += '-';
    else if (sign > 0)
        text += '+';
}

bool IsBinary(const std::unique_ptr<ELingExpr>& node) {
    return node && node->Kind() == ELingExpr::kBinary;
}

double RescaleValue(double value, double newLo, double newHi, double oldLo, double oldHi) {
    return newLo + (value - oldLo) / (oldHi - oldLo) * (newHi - newLo);
}

double ClampValue(double value, double lo, double hi) {
    return std::min(std::max(value, lo), hi);
}

}  // namespace

void ELingExpr::ToText(std::string& text) const {
    text.clear();
    AppendText(text);
}

std::string ELingExpr::ToText() const {
    std::string text;
    AppendText(text);
    return text;
}

void ESingletonExpr::AppendText(std::string& text) const {
    AppendNumber(text, value_);
}

void ESingletonExpr::Rescale(double newLo, double newHi, double oldLo, double oldHi) {
    value_ = RescaleValue(value_, newLo, newHi, oldLo, oldHi);
}

void ESingletonExpr::Clamp(double lo, double hi) {
    value_ = ClampValue(value_, lo, hi);
}

bool ESingletonExpr::IsInRange(double lo, double hi) const {
    return lo <= value_ && value_ <= hi;
}

void EUndefExpr::AppendText(std::string& text) const {
    text += "undef";
}

void EUndefExpr::ToLingTerm(CLingTerm& term) const {
    term.kind = CLingTerm::kUndef;
}

void EIgnorExpr::AppendText(std::string& text) const {
    text += "ignor";
}

void EIgnorExpr::ToLingTerm(CLingTerm& term) const {
    term.kind = CLingTerm::kIgnor;
}

void EModifTerm::AppendModifierText(std::string& text) const {
    if (modifier_ == kAbout) {
        text += "about ";
    } else if (modifier_ == kNegation) {
        text += "no ";
    } else if (modifier_ >= 0 && modifier_ < static_cast<int>(kHedges.size())) {
        text += kHedges[modifier_].full;
        text += ' ';
    }
}

void EFuzzyTerm::AppendText(std::string& text) const {
    AppendSign(text, sign_);
    AppendModifierText(text);
    if (atom_ < kAtomicTerms.size())
        text += kAtomicTerms[atom_].full;
}

void EFuzzyTerm::ToLingTerm(CLingTerm& term) const {
    term.kind = atom_;
    term.hedge = Modifier();
    term.sign = sign_;
}

bool EFuzzyTerm::Validate() const {
    if (sign_ < 0 && Vocabulary() != nullptr && Vocabulary()->Context().At(0).lo >= 0)
        throw ESyntax("negative term is not allowed in this context", -2);
    return true;
}

void EZeroTerm::AppendText(std::string& text) const {
    AppendSign(text, sign_);
    AppendModifierText(text);
    text += kAtomicTerms[CLingTerm::kZero].full;
}

void EZeroTerm::ToLingTerm(CLingTerm& term) const {
    term.kind = CLingTerm::kZero;
    term.hedge = Modifier();
    term.sign = sign_;
}

void EFuzzyNumber::AppendText(std::string& text) const {
    AppendModifierText(text);
    AppendNumber(text, number_);
}

void EFuzzyNumber::ToLingTerm(CLingTerm& term) const {
    term.kind = CLingTerm::kFuzzyNumber;
}

bool EFuzzyNumber::Validate() const {
    if (Vocabulary() == nullptr)
        return true;
    const CUniverse::Interval context = Vocabulary()->Context().At(0);
    if (!WithinContext(number_, context.lo, context.hi))
        throw ESyntax("fuzzy number out of context", -2);
    return true;
}

void EFuzzyNumber::Rescale(double newLo, double newHi, double oldLo, double oldHi) {
    number_ = RescaleValue(number_, newLo, newHi, oldLo, oldHi);
}

void EFuzzyNumber::Clamp(double lo, double hi) {
    number_ = ClampValue(number_, lo, hi);
}

bool EFuzzyNumber::IsInRange(double lo, double hi) const {
    return lo <= number_ && number_ <= hi;
}

void EUserTerm::AppendText(std::string& text) const {
    if (Vocabulary() == nullptr)
        return;
    const auto terms = Vocabulary()->UserTerms();
    if (row_ < 0 || row_ >= static_cast<int>(terms.size()))
        return;
    text += terms[row_]->Name();
}

void EUserTerm::ToLingTerm(CLingTerm& term) const {
    term.kind = CLingTerm::kUserTerm;
    term.userIndex = row_;
}

EBinaryExpr::EBinaryExpr(std::unique_ptr<ELingExpr> left, int connective,
                         std::unique_ptr<ELingExpr> right)
    : EFuzzyExpr(kBinary),
      left_(std::move(left)),
      right_(std::move(right)),
      connective_(static_cast<std::uint8_t>(connective)) {}

EBinaryExpr::~EBinaryExpr() {
    // A chain of left operands ("a or b or c ...") is as deep as the text is long. Taking it
    // apart by rotations keeps every destructor from recursing, with no extra memory.
    for (std::unique_ptr<ELingExpr>* operand : {&left_, &right_}) {
        std::unique_ptr<ELingExpr> node = std::move(*operand);
        while (IsBinary(node)) {
            auto& binary = static_cast<EBinaryExpr&>(*node);
            if (IsBinary(binary.left_)) {
                std::unique_ptr<ELingExpr> left = std::move(binary.left_);
                auto& leftBinary = static_cast<EBinaryExpr&>(*left);
                binary.left_ = std::move(leftBinary.right_);
                leftBinary.right_ = std::move(node);
                node = std::move(left);
            } else {
                binary.left_.reset();
                node = std::move(binary.right_);
            }
        }
    }
}

void EBinaryExpr::AppendText(std::string& text) const {
    // Walk the chain of left operands without recursion; right operands nest only through
    // parentheses, which the parser's stack bounds.
    std::vector<const EBinaryExpr*> chain;
    const ELingExpr* node = this;
    while (node->Kind() == kBinary) {
        const auto* binary = static_cast<const EBinaryExpr*>(node);
        if (binary->IsParenthesised())
            text += '(';
        chain.push_back(binary);
        node = binary->left_.get();
    }
    node->AppendText(text);
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        const EBinaryExpr& binary = **it;
        text += binary.connective_ == kAnd ? " and " : " or ";
        binary.right_->AppendText(text);
        if (binary.IsParenthesised())
            text += ')';
    }
}

void EBinaryExpr::ToLingTerm(CLingTerm& term) const {
    term.kind = CLingTerm::kCompound;
}

bool EBinaryExpr::Validate() const {
    // Down the chain of left operands the later failures stand further left; the last one
    // caught is the leftmost.
    std::optional<ESyntax> leftmost;
    const ELingExpr* node = this;
    while (node->Kind() == kBinary) {
        const auto* binary = static_cast<const EBinaryExpr*>(node);
        try {
            binary->right_->Validate();
        } catch (const ESyntax& error) {
            leftmost = error;
        }
        node = binary->left_.get();
    }
    node->Validate();
    if (leftmost)
        throw *leftmost;
    return true;
}
