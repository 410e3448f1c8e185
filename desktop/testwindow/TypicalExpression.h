#pragma once

#include <string>

class CSettings;

// The short text of the evaluative expression that linguistic settings choose for a value
// (every hedge admitted), with "-" in front of a negative value whose text does not carry its
// sign already; empty for settings of any other kind.
std::string TypicalExpressionText(const CSettings& settings, double value);
