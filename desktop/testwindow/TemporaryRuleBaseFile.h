#pragma once

#include <string>

class CRuleBase;

// The test window shows its rule base as the rulebase file would hold it and leaves a copy,
// "temp.rb", in the per-user temporary folder (never beside the user's own files).
struct TemporaryRuleBaseFile {
    std::string text;  // what to show: the file's text, or why there is none
    std::string path;  // empty when nothing was written
};

// folder: where to write; empty for the per-user runtime folder. Never throws: a rule base the
// file cannot describe is shown as the reason, and a folder that cannot be written leaves the
// text shown and no file.
TemporaryRuleBaseFile WriteTemporaryRuleBase(const CRuleBase& ruleBase,
                                             const std::string& folder = {});
