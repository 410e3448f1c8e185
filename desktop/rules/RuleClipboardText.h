#pragma once

#include <string>
#include <string_view>
#include <vector>

// The text in which the rules grid copies rows: every cell followed by ";", every row ended by
// CR LF ("sm;bi;\r\n" for a rule of two cells).
std::string FormatRuleLine(const std::vector<std::string>& cells);

// Lines of pasted text, split at CR LF, LF or CR; a line break at the end starts no line.
std::vector<std::string_view> SplitRuleLines(std::string_view text);
// The first fieldCount fields of a line, each the text before its ";"; text after the last ";"
// is not a field. A line holding fewer gives fewer fields.
std::vector<std::string> SplitRuleFields(std::string_view line, int fieldCount);
