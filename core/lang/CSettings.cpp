#include "core/lang/CSettings.h"

#include "core/io/RuleBaseWriter.h"
#include "core/lang/CFEParser.h"
#include "core/lang/CLingTerm.h"
#include "core/lang/ELingExpr.h"

CSettings::CSettings(double lo, double hi)
    : context_(RuleBaseNumber(lo), RuleBaseNumber(hi)),
      parser_(std::make_unique<CFEParser>(this)) {}

CSettings::~CSettings() = default;

void CSettings::SetContext(double lo, double hi) {
    context_.At(0) = {RuleBaseNumber(lo), RuleBaseNumber(hi)};
}

std::optional<ESyntax> CSettings::CheckExpression(const std::string& text) const {
    const std::unique_ptr<ELingExpr> root = parser_->Parse(text);
    if (!root) {
        const char* message = parser_->State() == ParserState::kForbiddenSign
                                  ? "negative term is not allowed in this context"
                                  : "parse error";
        return ESyntax(message, parser_->SavedTokenStart(), text);
    }
    try {
        root->Validate();
    } catch (const ESyntax& error) {
        return error;
    }
    return std::nullopt;
}

bool CSettings::TextToLingTerm(const std::string& text, CLingTerm& term) const {
    term.kind = CLingTerm::kNotParsed;
    term.userIndex = -1;
    term.hedge = CLingTerm::kNoHedge;
    const std::unique_ptr<ELingExpr> root = parser_->Parse(text);
    if (root) {
        root->ToLingTerm(term);
        return true;
    }
    if (parser_->LastItem() == CFEParser::kLastHedge)
        term.hedge = parser_->SavedValue();
    return false;
}
