#include "desktop/userterms/UserTermCells.h"

#include <QStringList>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/math/NumericUtils.h"
#include "core/sets/CFuzzyParamSet.h"
#include "desktop/toolkit/Conversions.h"

namespace userterm {

namespace {

constexpr std::array<int, 3> kTriangColumns = {3, 5, 8};
constexpr std::array<int, 4> kTrapezoidColumns = {3, 5, 6, 8};
constexpr std::array<int, 6> kQuadraticColumns = {3, 4, 5, 6, 7, 8};
constexpr std::array<int, 4> kGaussianColumns = {4, 5, 6, 7};

// A number a shape change needs; a cell without one refuses the change.
double Number(const TermRow& row, int col) {
    const ParamCell& cell = row.Param(col);
    if (!cell.readable || !cell.value)
        throw toolkit::EConvertError(NotANumber(cell).toStdString());
    return *cell.value;
}

void Clear(TermRow& row, int col) {
    row.Param(col) = {};
}

// A Gaussian row leaves the support columns empty; the new support reaches two spreads beyond
// the kernel, where the curve has all but vanished.
void FillSupportOfGaussian(TermRow& row, double lo, double hi) {
    if (RowShape(row) != UserTermShape::kGaussian)
        return;
    SetNumber(row, 3, Clamp(lo, Number(row, 5) - 2.0 * Number(row, 4), hi));
    SetNumber(row, 8, Clamp(lo, Number(row, 6) + 2.0 * Number(row, 7), hi));
}

// Gives a triangle's peak b the kernel b -/+ (c - a)/8.
void WidenPeak(TermRow& row, double lo, double hi) {
    if (!row.Param(6).text.isEmpty())
        return;
    const double peak = Number(row, 5);
    const double half = (Number(row, 8) - Number(row, 3)) / 8.0;
    SetNumber(row, 5, Clamp(lo, peak - half, hi));
    SetNumber(row, 6, Clamp(lo, peak + half, hi));
}

// Changes a copy, so that a missing number leaves the row as it was.
template <class Change>
void ChangeWhole(TermRow& row, Change change) {
    TermRow changed = row;
    change(changed);
    row = std::move(changed);
}

}  // namespace

QString FormatGeneral(double value, int precision) {
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value > 0 ? "INF" : "-INF";
    if (value == 0.0)
        return "0";
    // Seventeen digits hold the double exactly enough to round half away from zero by hand.
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.16e", std::fabs(value));
    std::string digits(1, buffer[0]);
    digits.append(buffer + 2, 16);
    int exponent = std::atoi(std::strchr(buffer, 'e') + 1);
    std::string kept = digits.substr(0, static_cast<std::size_t>(precision));
    if (digits[static_cast<std::size_t>(precision)] >= '5') {
        int i = precision - 1;
        while (i >= 0 && kept[static_cast<std::size_t>(i)] == '9')
            kept[static_cast<std::size_t>(i--)] = '0';
        if (i < 0) {
            kept.insert(kept.begin(), '1');
            kept.pop_back();
            ++exponent;
        } else {
            ++kept[static_cast<std::size_t>(i)];
        }
    }
    while (kept.size() > 1 && kept.back() == '0')
        kept.pop_back();
    std::string text = value < 0 ? "-" : "";
    if (exponent >= precision || std::fabs(value) < 1e-5) {
        text += kept[0];
        if (kept.size() > 1)
            text += "." + kept.substr(1);
        text += "E" + std::to_string(exponent);
    } else if (exponent >= 0) {
        const auto whole = static_cast<std::size_t>(exponent + 1);
        if (kept.size() <= whole) {
            text += kept + std::string(whole - kept.size(), '0');
        } else {
            text += kept.substr(0, whole) + "." + kept.substr(whole);
        }
    } else {
        text += "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + kept;
    }
    return QString::fromStdString(text);
}

std::span<const int> ParamColumns(UserTermShape shape) {
    switch (shape) {
        case UserTermShape::kTriang:
            return kTriangColumns;
        case UserTermShape::kTrapezoid:
            return kTrapezoidColumns;
        case UserTermShape::kQuadratic:
            return kQuadraticColumns;
        case UserTermShape::kGaussian:
            break;
    }
    return kGaussianColumns;
}

std::optional<UserTermShape> RowShape(const TermRow& row) {
    return FindShape(row.type.toStdString());
}

void SetNumber(TermRow& row, int col, double value, int precision) {
    ParamCell& cell = row.Param(col);
    cell.text = FormatGeneral(value, precision);
    double shown = value;
    // The cell stands for what it shows: 0.12345 shown as 0.123 is 0.123.
    toolkit::TryStrToFloat(cell.text, shown);
    cell.value = shown;
    cell.readable = true;
}

bool SetParamText(TermRow& row, int col, const QString& text) {
    ParamCell& cell = row.Param(col);
    cell.text = text;
    if (text.trimmed().isEmpty()) {
        cell.value.reset();
        cell.readable = true;
        return true;
    }
    double value = 0.0;
    cell.readable = toolkit::TryStrToFloat(text, value);
    if (cell.readable)
        cell.value = value;
    return cell.readable;
}

QString NotANumber(const ParamCell& cell) {
    return "'" + cell.text + "' is not a valid floating point value";
}

void WriteShape(TermRow& row, UserTermShape shape, std::span<const double> params,
                bool fullPrecision) {
    row.type =
        QString::fromUtf8(ShapeName(shape).data(), static_cast<qsizetype>(ShapeName(shape).size()));
    row.params = {};
    const auto columns = ParamColumns(shape);
    for (std::size_t i = 0; i < columns.size() && i < params.size(); ++i)
        SetNumber(row, columns[i], params[i], fullPrecision ? 15 : 3);
}

std::optional<int> MissingParameter(const TermRow& row) {
    const auto shape = RowShape(row);
    if (!shape)
        return std::nullopt;
    for (int col : ParamColumns(*shape)) {
        if (!row.Param(col).readable || !row.Param(col).value)
            return col;
    }
    return std::nullopt;
}

std::unique_ptr<CFuzzyParamSet> BuildSet(const TermRow& row, double lo, double hi) {
    const auto shape = RowShape(row);
    if (!shape)
        return nullptr;
    std::vector<double> params;
    for (int col : ParamColumns(*shape)) {
        if (!row.Param(col).value)
            return nullptr;
        params.push_back(*row.Param(col).value);
    }
    auto set = CreateShapeSet(*shape, lo, hi);
    set->SetParams(params);
    return set;
}

std::optional<QString> CheckParameter(const TermRow& row, int col, double lo, double hi) {
    const auto shape = RowShape(row);
    if (!shape)
        return std::nullopt;
    const auto columns = ParamColumns(*shape);
    const auto at = std::find(columns.begin(), columns.end(), col);
    if (at == columns.end())
        return std::nullopt;
    const ParamCell& cell = row.Param(col);
    if (!cell.readable || !cell.value)
        return NotANumber(cell);
    const double v = *cell.value;
    const auto less = [&](int other) {
        return row.Param(other).value && v < *row.Param(other).value;
    };
    const auto greater = [&](int other) {
        return row.Param(other).value && v > *row.Param(other).value;
    };
    if (*shape == UserTermShape::kGaussian) {
        if (col == 4 || col == 7) {
            if (v <= 0)
                return QString("Scale factor must be greater then zero");
            return std::nullopt;
        }
        if (v < lo || v > hi)
            return QString("Value is out of variable range");
        if (col == 5 && greater(6))
            return QString("Value is greater than next parameter");
        if (col == 6 && less(5))
            return QString("Value is less than previous parameter");
        return std::nullopt;
    }
    if (v < lo || v > hi)
        return QString("Value is out of variable range");
    if (at != columns.begin() && less(*(at - 1)))
        return QString("Value is less than previous parameter");
    if (at + 1 != columns.end() && greater(*(at + 1)))
        return QString("Value is greater than next parameter");
    return std::nullopt;
}

void ChangeToTriangular(TermRow& row, double lo, double hi) {
    ChangeWhole(row, [lo, hi](TermRow& changed) {
        FillSupportOfGaussian(changed, lo, hi);
        const double peak = changed.Param(6).text.isEmpty()
                                ? Number(changed, 5)
                                : Midpoint(Number(changed, 5), Number(changed, 6));
        changed.type = "triang";
        SetNumber(changed, 5, peak);
        Clear(changed, 4);
        Clear(changed, 6);
        Clear(changed, 7);
    });
}

void ChangeToTrapezoid(TermRow& row, double lo, double hi) {
    ChangeWhole(row, [lo, hi](TermRow& changed) {
        FillSupportOfGaussian(changed, lo, hi);
        changed.type = "trapezoid";
        Clear(changed, 4);
        Clear(changed, 7);
        WidenPeak(changed, lo, hi);
    });
}

void ChangeToQuadratic(TermRow& row, double lo, double hi) {
    ChangeWhole(row, [lo, hi](TermRow& changed) {
        FillSupportOfGaussian(changed, lo, hi);
        changed.type = "quadratic";
        WidenPeak(changed, lo, hi);
        SetNumber(changed, 4, Midpoint(Number(changed, 3), Number(changed, 5)));
        SetNumber(changed, 7, Midpoint(Number(changed, 6), Number(changed, 8)));
    });
}

std::vector<double> DefaultParams(UserTermShape shape, double lo, double hi) {
    const double w = hi - lo;
    const auto at = [&](int eighths) { return lo + w * eighths / 8.0; };
    switch (shape) {
        case UserTermShape::kTriang:
            return {at(1), at(4), at(7)};
        case UserTermShape::kTrapezoid:
            return {at(1), at(3), at(5), at(7)};
        case UserTermShape::kQuadratic:
            return {at(1), at(2), at(3), at(5), at(6), at(7)};
        case UserTermShape::kGaussian:
            break;
    }
    // The spreads do not follow the range.
    return {0.1, at(3), at(5), 0.1};
}

std::array<double, 3> UniformTriangle(int n, int k, double lo, double hi) {
    const double step = (hi - lo) / (n - 1);
    return {lo + std::max(k - 1, 0) * step, lo + k * step, lo + std::min(k + 1, n - 1) * step};
}

QString CopyLine(const TermRow& row) {
    QString line = row.name + ";" + row.type + ";";
    for (const ParamCell& cell : row.params)
        line += cell.text + ";";
    return line;
}

TermRow PasteLine(const QString& line) {
    std::array<QString, kLastParamCol + 1> fields;
    qsizetype start = 0;
    for (int col = kNameCol; col <= kLastParamCol; ++col) {
        const qsizetype end = line.indexOf(';', start);
        if (end < 0) {
            fields[static_cast<std::size_t>(col)] = line.mid(start);
            break;
        }
        fields[static_cast<std::size_t>(col)] = line.mid(start, end - start);
        start = end + 1;
    }
    TermRow row;
    row.name = fields[kNameCol];
    row.type = fields[kTypeCol];
    for (int col = kFirstParamCol; col <= kLastParamCol; ++col)
        SetParamText(row, col, fields[static_cast<std::size_t>(col)]);
    return row;
}

}  // namespace userterm
