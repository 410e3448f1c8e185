#include "desktop/testwindow/TypicalExpression.h"

#include "core/lang/CLingTerm.h"
#include "core/lang/CLinguisticSettings.h"

std::string TypicalExpressionText(const CSettings& settings, double value) {
    const auto* linguistic = dynamic_cast<const CLinguisticSettings*>(&settings);
    if (!linguistic)
        return {};
    CLingTerm term;
    linguistic->DescribeValue(value, term, 2);
    std::string text;
    term.GetText(text);
    if (value < 0.0 && !text.starts_with('-'))
        text.insert(text.begin(), '-');
    return text;
}
