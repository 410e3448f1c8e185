#include "desktop/data/DataFileFormat.h"

#include <algorithm>
#include <iterator>

#include "desktop/data/DataRows.h"

namespace {

constexpr std::size_t kRowsPerStep = 1024;

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

DataTable ImportedTable(const DataTable& earlier, const DataLayout& layout,
                        std::vector<std::vector<QString>> rows, const DataProgressStep& step) {
    const int first = layout.ImportedColumns() + 1;
    const int last = layout.DesiredColumn();
    std::vector<std::vector<QString>> cells(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        std::vector<QString>& row = cells[i];
        // Room up to the description, which Compute writes.
        row.reserve(layout.ColumnCount(true));
        row.push_back(QString::number(i + 1) + u'.');
        std::move(rows[i].begin(), rows[i].end(), std::back_inserter(row));
        for (int c = first; c <= last; ++c) {
            const QString& kept = earlier.Cell(c, static_cast<int>(i));
            if (kept.isEmpty())
                continue;
            row.resize(std::max<std::size_t>(row.size(), c + 1));
            row[c] = kept;
        }
        if (step && i % kRowsPerStep == kRowsPerStep - 1)
            step(static_cast<int>(i + 1));
    }
    return DataTable(std::move(cells));
}

std::string OutFileText(const DataTable& table, const DataLayout& layout, int columnCount) {
    QString text;
    const auto write = [&text](QString cell) {
        cell.replace(u'.', u',');
        text += cell;
        text += u'\t';
    };
    for (int c = 1; c < columnCount; ++c)
        write(layout.HeaderOf(c).name);
    text += u'\n';
    for (int c = 1; c < columnCount; ++c)
        write(layout.HeaderOf(c).context);
    text += u'\n';
    for (int r = 0; r < table.RowCount(); ++r) {
        for (int c = 1; c < columnCount; ++c)
            write(table.Cell(c, r));
        text += u'\n';
    }
    return text.toStdString();
}
