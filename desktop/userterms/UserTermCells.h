#pragma once

#include <QString>

#include <array>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "core/sets/ShapeFactory.h"

class CFuzzyParamSet;

// One row of the user-expressions grid as the editor keeps it, its parameters as numbers, and
// what the editor does with it: the parameter columns of each shape, building the row's set,
// checking a parameter cell, changing the shape, and the line a row is copied as.
namespace userterm {

inline constexpr int kNameCol = 1;
inline constexpr int kTypeCol = 2;
inline constexpr int kFirstParamCol = 3;
inline constexpr int kLastParamCol = 8;
inline constexpr int kUsedCol = 9;
inline constexpr int kColCount = 10;

// The general number format: the shortest text of value rounded to precision significant
// digits; the exponent form ("1.23E3", "1E-6") when the integer part needs more digits than
// that or the value is below 0.00001.
QString FormatGeneral(double value, int precision);
// What the editor writes when it loads, converts or spaces rows.
inline QString Format3(double value) {
    return FormatGeneral(value, 3);
}
// What the add buttons write.
inline QString FormatFull(double value) {
    return FormatGeneral(value, 15);
}

// One parameter cell: the text the grid shows and the number it stands for.
struct ParamCell {
    QString text;
    // Nothing for an empty cell; while the text is no number, the last number it was.
    std::optional<double> value;
    bool readable = true;
};

struct TermRow {
    QString name;
    // A shape's name, or whatever a pasted line held.
    QString type;
    // Columns 3 to 8.
    std::array<ParamCell, 6> params;
    bool used = false;
    // The row's term among those loaded, or -1 for a row made in the editor.
    int loaded = -1;

    ParamCell& Param(int col) { return params[static_cast<std::size_t>(col - kFirstParamCol)]; }
    const ParamCell& Param(int col) const {
        return params[static_cast<std::size_t>(col - kFirstParamCol)];
    }
};

// The grid columns of the shape's parameters, in the set's parameter order.
std::span<const int> ParamColumns(UserTermShape shape);
// Nothing for a row of no known shape (the placeholder row, a foreign pasted type).
std::optional<UserTermShape> RowShape(const TermRow& row);

// The cell shows value with precision significant digits and stands for what that text reads.
void SetNumber(TermRow& row, int col, double value, int precision = 3);
// Typed or pasted text, read with '.' as the decimal point. False when it is neither empty nor a
// number: the cell then keeps its last number.
bool SetParamText(TermRow& row, int col, const QString& text);
// The refusal of a cell whose text is no number, as the toolkit's conversion words it.
QString NotANumber(const ParamCell& cell);

// Clears the parameter columns and writes the shape's type and parameters.
void WriteShape(TermRow& row, UserTermShape shape, std::span<const double> params,
                bool fullPrecision);
// The first of the shape's parameter columns whose cell holds no number (empty, or a text that
// is none); nothing when all do or the row has no known shape.
std::optional<int> MissingParameter(const TermRow& row);
// The row's set over [lo, hi] from its numbers; null for a row of no known shape or with an
// empty parameter cell.
std::unique_ptr<CFuzzyParamSet> BuildSet(const TermRow& row, double lo, double hi);

// The message of the first check that the parameter cell col fails, or nothing when it passes
// (also for columns the row's shape does not use). A neighbour without a number is not compared.
std::optional<QString> CheckParameter(const TermRow& row, int col, double lo, double hi);

// Each throws toolkit::EConvertError, before changing anything, when a number it needs is
// missing. The support stays and the peak is the middle of the old kernel. A Gaussian row,
// which has no support, gets one two spreads beyond its kernel, clipped into [lo, hi].
void ChangeToTriangular(TermRow& row, double lo, double hi);
// A triangle's peak b widens into the kernel b -/+ (c - a)/8, clipped into [lo, hi].
void ChangeToTrapezoid(TermRow& row, double lo, double hi);
// As to a trapezoid (the kernel stays), then the equilibria halfway between support and kernel.
void ChangeToQuadratic(TermRow& row, double lo, double hi);

// The parameters an add button gives a new row on [lo, hi].
std::vector<double> DefaultParams(UserTermShape shape, double lo, double hi);
// Triangle k of n with peaks evenly spaced from lo to hi, each reaching to its neighbours'
// peaks; n >= 2.
std::array<double, 3> UniformTriangle(int n, int k, double lo, double hi);

// Columns 1 to 8 as shown, each followed by ";".
QString CopyLine(const TermRow& row);
// Columns 1 to 8 from the ";"-separated fields of a copied line; a last field without ";"
// takes the rest of the line.
TermRow PasteLine(const QString& line);

}  // namespace userterm
