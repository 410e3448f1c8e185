#pragma once

#include <QString>

#include <array>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "core/sets/ShapeFactory.h"

class CFuzzyParamSet;

// One row of the user-expressions grid as plain texts, and what the editor does with it: the
// parameter columns of each shape, building the row's set, checking a parameter cell, changing
// the shape, and the line a row is copied as. Parameter texts are read with '.' as the decimal
// point; a text that is not a number raises toolkit::EConvertError.
namespace userterm {

inline constexpr int kNumberCol = 0;
inline constexpr int kNameCol = 1;
inline constexpr int kTypeCol = 2;
inline constexpr int kFirstParamCol = 3;
inline constexpr int kLastParamCol = 8;
inline constexpr int kUsedCol = 9;
inline constexpr int kColCount = 10;

using RowCells = std::array<QString, kColCount>;

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

// The grid columns of the shape's parameters, in the set's parameter order.
std::span<const int> ParamColumns(UserTermShape shape);
// The columns Tab stops at in a row of the shape, the name column first.
std::span<const int> TabStops(UserTermShape shape);
// Nothing for a row of no known shape (the placeholder row, a foreign pasted type).
std::optional<UserTermShape> RowShape(const RowCells& row);

// Clears the parameter columns and writes the shape's type and parameters.
void WriteShape(RowCells& row, UserTermShape shape, std::span<const double> params,
                bool fullPrecision);
// The row's set over [lo, hi]; null for a row of no known shape.
std::unique_ptr<CFuzzyParamSet> BuildSet(const RowCells& row, double lo, double hi);

// The message of the first check that the parameter cell col fails, or nothing when it passes
// (also for columns the row's shape does not use).
std::optional<QString> CheckParameter(const RowCells& row, int col, double lo, double hi);

// The support stays and the peak is the middle of the old kernel. A Gaussian row, which has
// no support, gets one two spreads beyond its kernel, clipped into [lo, hi].
void ChangeToTriangular(RowCells& row, double lo, double hi);
// A triangle's peak b widens into the kernel b -/+ (c - a)/8, clipped into [lo, hi].
void ChangeToTrapezoid(RowCells& row, double lo, double hi);
// As to a trapezoid (the kernel stays), then the equilibria halfway between support and kernel.
void ChangeToQuadratic(RowCells& row, double lo, double hi);

// The parameters an add button gives a new row on [lo, hi].
std::vector<double> DefaultParams(UserTermShape shape, double lo, double hi);
// Triangle k of n with peaks evenly spaced from lo to hi, each reaching to its neighbours'
// peaks; n >= 2.
std::array<double, 3> UniformTriangle(int n, int k, double lo, double hi);

// Columns 1 to 8, each followed by ";".
QString CopyLine(const RowCells& row);
// Columns 1 to 8 from the ";"-separated fields of a copied line; a last field without ";"
// takes the rest of the line.
RowCells PasteLine(const QString& line);

}  // namespace userterm
