#pragma once

#include <span>
#include <string>
#include <string_view>

#include "core/inference/MethodTables.h"
#include "core/rulebase/CRuleBase.h"
#include "core/sets/ShapeFactory.h"

class CBasicSettings;

// What a reader knows besides the file format; the defaults are the desktop program's.
struct RuleBaseReaderOptions {
    std::span<const InferenceMethodRecord> inferenceMethods = InferenceMethodTable;
    std::span<const DefuzzificationMethodRecord> defuzzificationMethods =
        DefuzzificationMethodTable;
    std::span<const std::string_view> userTermShapes = kShapeNames;
    bool readsFilterSwitch = true;
    // Prepares the rule base once read; a cell that does not build is then reported as an
    // ESyntax that names its rule and variable.
    bool prepares = true;
};

// Upper bound of a linguistic variable's grid: a sampled set of that many doubles per cell.
inline constexpr int kMaxDiscretization = 100000;

// Reads a rulebase file whole and builds the rule base it describes. Every keyword is searched
// for anywhere in the text (the first occurrence counts); variable blocks are found by their
// opening and closing words. Throws ESyntax (position 0) at the first error; nothing of the rule
// base survives it. A wrong rule count only warns, on the standard output.
CRuleBase ReadRuleBaseFile(const std::string& fileName, const RuleBaseReaderOptions& options = {});
// The same over a text in memory; fileName is what the rule base records.
CRuleBase ReadRuleBaseText(std::string_view text, const std::string& fileName = {},
                           const RuleBaseReaderOptions& options = {});

// Reads one user-term block (the text between "UserTerm" and "End_UserTerm") and appends the
// named set to the settings' terms. Throws ESyntax.
void ReadUserTerm(const char* text, double lo, double hi, CBasicSettings& settings,
                  std::span<const std::string_view> shapes = kShapeNames);
