#pragma once

#include <iosfwd>
#include <string>
#include <string_view>

class CRuleBase;

// The rulebase file: keyword lines ended by LF, numbers of contexts and parameters as printf's
// "%g" writes them, one block per variable (a variable that shares the settings of one written
// before it names that one as its alias), then the rules ("#" before an inactive one).
//
// All throw std::invalid_argument, before anything is written, for a rule base that the file
// cannot describe: a method that stands in no method table, or a user term that is not one of
// the parametric shapes. A text that would read back as another rule base is refused with
// ESyntax, also before anything is written: "the description holds the keyword " and the
// keyword when the description holds one (text: the description from there on), else "the
// file would not read back the same" (text: the line or the variable name that would change,
// or the reader's message appended). A description with keyword text that reads back the same
// is written.
// A number whose six digits would not read back to the same single-precision value is written
// with the fewest digits that do.

std::string RuleBaseText(const CRuleBase& ruleBase);
// A number as the file holds it; it reads back to RuleBaseNumber(value).
std::string RuleBaseNumberText(double value);
// The number the reader makes of RuleBaseNumberText(value): the nearest single-precision value
// (an infinity beyond its range). Every number that the file holds is kept so from the moment
// it is set, so a rule base computes the same before and after it is saved and read again.
double RuleBaseNumber(double value);
// Whether x lies in the context [lo, hi] held so: a number written as a bound is in the context.
bool WithinContext(double x, double lo, double hi);
// Whether a variable's or a user expression's name reads back as written: not empty, printable
// ASCII without a comma, and no blank at either end. (A name that looks like a line of the
// file's own may still make the whole text refuse to be written.)
bool FileHoldsName(std::string_view name);
void Save(const CRuleBase& ruleBase, std::ostream& out);
// Writes the file whole or not at all; throws ESyntax when it cannot be written (see
// ReplaceFileText).
void SaveRuleBaseFile(const CRuleBase& ruleBase, const std::string& fileName);
// Appends the block of antecedent j, or of succedent j.
void SaveVariable(const CRuleBase& ruleBase, std::string& text, bool isSuccedent, int j);
