#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "desktop/data/DataCompute.h"

class CRuleBase;
class Rules;

// A rule row for one data row: values holds the inputs, then the outputs (every output column
// in the first output's settings). With describe each cell is the evaluative expression that
// the settings give the value; without, the user term of highest membership there. Nothing
// when a variable has no such expression (settings that describe no values, or no user terms).
std::optional<std::vector<std::string>> MakeRuleForDataRow(const CRuleBase& ruleBase,
                                                           std::span<const double> values,
                                                           bool describe);

// The rule base's rules, in order, into rules (offered one by one to AddRule).
void CollectRuleSet(const CRuleBase& ruleBase, Rules& rules);

// Adds a rule for every data row that reads as numbers to rules (which should check
// duplicates); returns the number of rules that were new.
int LearnRulesFromData(const CRuleBase& ruleBase, const DataTable& table, bool describe,
                       Rules& rules, const DataProgressStep& step = {});

// Empty when approximate learning may run; else the message that stops it: every input needs
// user terms.
std::string ApproxLearningRefusal(const CRuleBase& ruleBase);

// The rule lines of learning method 2, one per data row whose inputs and first output read as
// numbers: a blank, then the quoted short texts of the expressions that describe the values,
// separated by " | ".
std::vector<std::string> DescribedRuleLines(const CRuleBase& ruleBase, const DataTable& table);
// Whether some data row's inputs and first output read as numbers.
bool HasCompleteDataRow(const CRuleBase& ruleBase, const DataTable& table);

// The text of a rulebase file with the rule lines appended to its rules section: everything
// after its END_RULES line is dropped, lines already contained in a line after the
// "NumberOfRules" line are not added again, and that line states ruleCount plus the lines added.
// Nothing when the file has no "NumberOfRules" line followed by RULES and END_RULES lines.
struct RewrittenRules {
    std::string text;
    int added = 0;
};
std::optional<RewrittenRules> AppendRuleLines(const std::string& fileText,
                                              const std::vector<std::string>& ruleLines,
                                              int ruleCount);

// The report of the rule-merging learner over the rules (see PrintLearnedTerms).
std::string MergedRulesReport(const Rules& rules);
