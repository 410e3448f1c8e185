#include "desktop/data/DataFileFormat.h"

#include <algorithm>

#include "desktop/data/DataRows.h"

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// One line of the row part into its words; false for a line that is no text.
bool SplitWords(std::string_view line, int wordsPerRow, std::vector<QString>& words) {
    if (line.find('\0') != std::string_view::npos)
        return false;
    std::string word;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && IsBlank(line[i]))
            ++i;
        const std::size_t start = i;
        while (i < line.size() && !IsBlank(line[i]))
            ++i;
        if (i == start)
            break;
        if (i - start > static_cast<std::size_t>(kMaxDataWordLength))
            return false;
        if (static_cast<int>(words.size()) >= wordsPerRow)
            continue;
        word.assign(line.substr(start, i - start));
        for (char& c : word)
            if (c == ',')
                c = '.';
        words.push_back(QString::fromUtf8(word.data(), static_cast<qsizetype>(word.size())));
    }
    return true;
}

// Words of which none is a number, such as a header repeated between two runs. A row with one
// bad cell among numbers stays a row, which Compute marks "N/A".
bool IsTextLine(const std::vector<QString>& words) {
    double value = 0.0;
    return !words.empty() && std::none_of(words.begin(), words.end(), [&](const QString& word) {
        return GridTextToNumber(word, value);
    });
}

}  // namespace

bool StartsWithNumber(std::string_view line) {
    std::size_t i = 0;
    while (i < line.size() && IsBlank(line[i]))
        ++i;
    if (i < line.size() && (line[i] == '+' || line[i] == '-'))
        ++i;
    if (i < line.size() && line[i] == '.')
        ++i;
    return i < line.size() && IsDigit(line[i]);
}

DataImport ParseDataText(std::string_view text, int wordsPerRow) {
    DataImport result;
    bool inRows = false;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(at, end - at);
        at = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (!inRows && !StartsWithNumber(line))
            continue;
        inRows = true;
        std::vector<QString> words;
        if (!SplitWords(line, wordsPerRow, words) || IsTextLine(words)) {
            result.complete = false;
            break;
        }
        result.rows.push_back(std::move(words));
    }
    return result;
}

std::string OutFileText(const DataCells& cells, int colCount) {
    QString text;
    for (int r = 0; r < cells.RowCount(); ++r) {
        for (int c = 1; c < colCount; ++c) {
            QString cell = cells.Cell(c, r);
            cell.replace(u'.', u',');
            text += cell;
            text += u'\t';
        }
        text += u'\n';
    }
    return text.toStdString();
}
