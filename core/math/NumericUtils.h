#pragma once

#include <string>

// lo when x < lo, else hi when x > hi, else x. A NaN x gives lo.
inline double Clamp(double lo, double x, double hi) {
    if (!(x >= lo))
        return lo;
    if (x > hi)
        return hi;
    return x;
}

inline double Midpoint(double a, double b) {
    return (a + b) * 0.5;
}

// The number text of the grids and labels: the value rounded half away from zero to three
// significant digits and to `digits` decimals (0 .. 18), then written with exactly `digits`
// decimals ("3.140000" for pi with 6). More than three integer digits switch to the exponent
// form "1.23E3". The decimal point is always '.', with no thousands separator, whatever the
// process locale, so that the texts read back as numbers. Non-finite values give "NAN", "INF"
// and "-INF".
std::string FormatNumber(double value, int digits);
