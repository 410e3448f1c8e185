#include "desktop/data/DataRows.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "core/lang/CLingTerm.h"
#include "core/lang/CLinguisticSettings.h"
#include "core/math/NumericUtils.h"
#include "core/rulebase/CRuleBase.h"

namespace {

bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\v' || c == u'\f';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// A number longer than this is no cell a person or a data file writes.
constexpr int kMaxNumberLength = 64;

// The grammar of a float text with '.' as its point (the separators already replaced).
bool IsFloatGrammar(const char* text, int n) {
    int i = 0;
    if (i < n && (text[i] == '+' || text[i] == '-'))
        ++i;
    int digits = 0;
    while (i < n && IsDigit(text[i])) {
        ++i;
        ++digits;
    }
    if (i < n && text[i] == '.') {
        ++i;
        while (i < n && IsDigit(text[i])) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return false;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < n && (text[i] == '+' || text[i] == '-'))
            ++i;
        int exponentDigits = 0;
        while (i < n && IsDigit(text[i])) {
            ++i;
            ++exponentDigits;
        }
        if (exponentDigits == 0)
            return false;
    }
    return i == n;
}

}  // namespace

const QString& DataTable::Cell(int col, int row) const {
    static const QString kEmpty;
    if (row < 0 || row >= RowCount() || col < 0 || col >= static_cast<int>(rows_[row].size()))
        return kEmpty;
    return rows_[row][col];
}

void DataTable::SetCell(int col, int row, const QString& text) {
    if (row < 0 || row >= RowCount() || col < 0)
        return;
    std::vector<QString>& cells = rows_[row];
    if (col >= static_cast<int>(cells.size())) {
        if (text.isEmpty())
            return;
        cells.resize(col + 1);
    }
    cells[col] = text;
}

void DataTable::InsertRows(int at, int count) {
    rows_.insert(rows_.begin() + std::clamp(at, 0, RowCount()), std::max(count, 0), {});
}

void DataTable::RemoveRow(int row) {
    if (row < 0 || row >= RowCount())
        return;
    // From the bottom up, so that each row takes the label its upper neighbour has yet.
    for (int r = RowCount() - 1; r > row; --r)
        SetCell(0, r, Cell(0, r - 1));
    rows_.erase(rows_.begin() + row);
}

DataLayout DataLayout::Of(const CRuleBase& ruleBase) {
    DataLayout layout;
    layout.inputs = ruleBase.GetNumAntVariables();
    layout.outputs = ruleBase.GetNumSucVariables();
    const auto context = [&ruleBase](int variable) {
        return QString::asprintf("<%.2f, %.2f>", ruleBase.GetLowerBound(variable),
                                 ruleBase.GetUpperBound(variable));
    };
    for (int c = 1; c <= layout.VariableColumns(); ++c) {
        const int variable = c <= layout.inputs ? c - 1 : layout.inputs - c;
        const int clampedTo = c <= layout.inputs ? variable : -1;
        layout.universes.emplace_back(ruleBase.GetLowerBound(clampedTo),
                                      ruleBase.GetUpperBound(clampedTo));
        layout.headers.push_back(
            {QString::fromStdString(ruleBase.GetVariableName(variable)), context(variable)});
    }
    const QString firstOutput = layout.outputs > 0 ? context(-1) : QString();
    layout.headers.push_back({QStringLiteral("est."), firstOutput});
    layout.headers.push_back({QStringLiteral("Ling. Approx."), firstOutput});
    return layout;
}

bool GridTextToNumber(QStringView text, double& value) {
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && IsBlank(text[first].unicode()))
        ++first;
    while (last > first && IsBlank(text[last - 1].unicode()))
        --last;
    const qsizetype length = last - first;
    if (length == 0 || length > kMaxNumberLength)
        return false;
    char latin[kMaxNumberLength];
    for (qsizetype i = 0; i < length; ++i) {
        const char16_t c = text[first + i].unicode();
        if (c > 0x7f)
            return false;
        latin[i] = c == u',' ? '.' : static_cast<char>(c);
    }
    const int n = static_cast<int>(length);
    if (!IsFloatGrammar(latin, n))
        return false;
    const char* begin = latin + (latin[0] == '+' ? 1 : 0);
    double result = 0.0;
    const auto [end, error] = std::from_chars(begin, latin + n, result);
    if (error != std::errc() || end != latin + n || !std::isfinite(result))
        return false;
    value = result;
    return true;
}

bool ReadDataRow(const DataTable& table, const DataLayout& layout, int row, int count,
                 std::span<double> values) {
    for (int c = 1; c <= count; ++c) {
        double value = 0.0;
        if (!GridTextToNumber(table.Cell(c, row), value))
            return false;
        const auto& [low, high] = layout.universes[std::min(c, layout.VariableColumns()) - 1];
        values[c - 1] = Clamp(low, value, high);
    }
    return true;
}

double MaxErrorOfInference(const DataTable& table, const DataLayout& layout,
                           const RowEstimates& estimates) {
    double maximum = 0.0;
    for (const auto& [row, estimate] : estimates) {
        double desired = 0.0;
        if (!GridTextToNumber(table.Cell(layout.DesiredColumn(), row), desired))
            continue;
        const double error = std::fabs(desired - estimate);
        if (error > maximum)
            maximum = error;
    }
    return maximum;
}

QString EstimateText(double value) {
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    constexpr int kDecimals = 6;
    // A finite double has at most 309 integer digits.
    char text[400];
    const char* end =
        std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, kDecimals).ptr;
    QString result = QString::fromLatin1(text, end - text);
    // A value that rounds to zero loses its sign.
    if (result == u"-0.000000")
        result.remove(0, 1);
    return result;
}

QString DescribedValueText(const CRuleBase& ruleBase, int variable, double value) {
    const auto* settings =
        dynamic_cast<const CLinguisticSettings*>(&ruleBase.GetSettings(variable));
    if (!settings)
        return {};
    CLingTerm term;
    settings->DescribeValue(value, term, 2);
    std::string text;
    term.GetText(text);
    // In a context symmetric about zero the term carries its own sign.
    if (value < 0.0 && !text.starts_with('-'))
        text.insert(text.begin(), '-');
    return QString::fromStdString(text);
}
