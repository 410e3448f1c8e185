#pragma once

#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "core/inference/MethodTables.h"
#include "core/rulebase/CRuleBase.h"
#include "core/sets/ShapeFactory.h"

class CBasicSettings;

// A remark on a file that is read all the same.
struct RuleBaseWarning {
    std::string message;
    // The 1-based line of the file that the remark is about; 0 for the file as a whole.
    int line = 0;
};

// Prints "warning: " and the message as one line of the standard output.
void PrintRuleBaseWarning(const RuleBaseWarning& warning);

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
    // Receives the remarks in file order: a rule count that differs from the rules read, then
    // each line of the rules section that was not read as a rule (its number and text). Empty:
    // the remarks are dropped.
    std::function<void(const RuleBaseWarning&)> warn = PrintRuleBaseWarning;
};

// Upper bound of a linguistic variable's grid: a sampled set of that many doubles per cell.
inline constexpr int kMaxDiscretization = 100000;

// Reads a rulebase file whole and builds the rule base it describes. Every keyword is searched
// for anywhere in the text (the first occurrence counts); variable blocks are found by their
// opening and closing words. Throws ESyntax (position 0) at the first error; nothing of the rule
// base survives it. A wrong rule count and lines of the rules section that are not read as rules
// only warn, through the options.
CRuleBase ReadRuleBaseFile(const std::string& fileName, const RuleBaseReaderOptions& options = {});
// The same over a text in memory; fileName is what the rule base records.
CRuleBase ReadRuleBaseText(std::string_view text, const std::string& fileName = {},
                           const RuleBaseReaderOptions& options = {});

// Reads one user-term block (the text between "UserTerm" and "End_UserTerm") and appends the
// named set to the settings' terms. Throws ESyntax.
void ReadUserTerm(const char* text, double lo, double hi, CBasicSettings& settings,
                  std::span<const std::string_view> shapes = kShapeNames);
