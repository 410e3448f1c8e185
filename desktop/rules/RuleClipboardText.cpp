#include "desktop/rules/RuleClipboardText.h"

std::string FormatRuleLine(const std::vector<std::string>& cells) {
    std::string line;
    for (const std::string& cell : cells) {
        line += cell;
        line += ';';
    }
    line += "\r\n";
    return line;
}

std::vector<std::string_view> SplitRuleLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n')
            ++start;
    }
    return lines;
}

std::vector<std::string> SplitRuleFields(std::string_view line, int fieldCount) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    while (static_cast<int>(fields.size()) < fieldCount) {
        const std::size_t end = line.find(';', start);
        if (end == std::string_view::npos)
            break;
        fields.emplace_back(line.substr(start, end - start));
        start = end + 1;
    }
    return fields;
}
