#pragma once

#include <QTemporaryDir>
#include <memory>
#include <string>

class CRuleBase;

// The test window shows its rule base as the rulebase file would hold it and writes a copy,
// "temp.rb", into a folder of its own in the per-user runtime folder (never beside the user's
// own files). The folder and the copy go when this goes, so that nothing is left behind.
struct TemporaryRuleBaseFile {
    std::string text;                       // what to show: the file's text, or why there is none
    std::string path;                       // empty when nothing was written
    std::unique_ptr<QTemporaryDir> folder;  // the folder made for the copy; null in a given one
};

// folder: where to write; empty for a new folder in the per-user runtime folder. Never throws: a
// rule base the file cannot describe is shown as the reason, and a folder that cannot be written
// leaves the text shown and no file.
TemporaryRuleBaseFile WriteTemporaryRuleBase(const CRuleBase& ruleBase,
                                             const std::string& folder = {});

// Shows and writes the rule base again when its text changed since (rules, contexts or names
// edited while the test window is open); true when it did.
bool UpdateTemporaryRuleBase(TemporaryRuleBaseFile& file, const CRuleBase& ruleBase);
