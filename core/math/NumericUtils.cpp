#include "core/math/NumericUtils.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {

constexpr int kSignificantDigits = 3;
// Decimal digits taken from the binary value before rounding, as an 80-bit conversion gives.
constexpr int kSourceDigits = 18;
constexpr int kMaxDecimals = 18;

// A magnitude as 0.d1d2d3... * 10^exponent; no digits for zero.
struct DecimalDigits {
    char digits[kSourceDigits];
    int count = 0;
    int exponent = 0;

    char At(int position) const {
        return position >= 0 && position < count ? digits[position] : '0';
    }
};

DecimalDigits ToDecimal(double magnitude) {
    DecimalDigits decimal;
    if (magnitude == 0.0)
        return decimal;
    // to_chars is locale-independent: "d.ddd...e+XX" with kSourceDigits digits.
    char text[64];
    const char* end = std::to_chars(text, text + sizeof text, magnitude,
                                    std::chars_format::scientific, kSourceDigits - 1)
                          .ptr;
    decimal.digits[decimal.count++] = text[0];
    const char* p = text + 2;
    for (; *p != 'e'; ++p)
        decimal.digits[decimal.count++] = *p;
    int exponent = 0;
    std::from_chars(p + (p[1] == '+' ? 2 : 1), end, exponent);  // from_chars takes no '+'
    decimal.exponent = exponent + 1;
    return decimal;
}

// Keeps the first `keep` digits, rounding half away from zero on the next one; drops trailing
// zeros.
void RoundDigits(DecimalDigits& decimal, int keep) {
    if (keep < decimal.count) {
        const bool roundUp = keep >= 0 && decimal.digits[keep] >= '5';
        decimal.count = std::max(keep, 0);
        if (roundUp) {
            int i = decimal.count - 1;
            while (i >= 0 && decimal.digits[i] == '9')
                --i;
            if (i >= 0) {
                ++decimal.digits[i];
                decimal.count = i + 1;
            } else {  // 99..9 carries into 1 with a higher exponent
                decimal.digits[0] = '1';
                decimal.count = 1;
                ++decimal.exponent;
            }
        }
    }
    while (decimal.count > 0 && decimal.digits[decimal.count - 1] == '0')
        --decimal.count;
}

}  // namespace

std::string FormatNumber(double value, int digits) {
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value > 0 ? "INF" : "-INF";
    digits = std::clamp(digits, 0, kMaxDecimals);

    DecimalDigits decimal = ToDecimal(std::fabs(value));
    RoundDigits(decimal, std::min(kSignificantDigits, decimal.exponent + digits));

    std::string text;
    // A value that rounds to zero loses its sign.
    if (value < 0 && decimal.count > 0)
        text.push_back('-');

    if (decimal.exponent > kSignificantDigits) {
        text.push_back(decimal.digits[0]);
        if (decimal.count > 1) {
            text.push_back('.');
            for (int i = 1; i < decimal.count; ++i)
                text.push_back(decimal.digits[i]);
        }
        text.push_back('E');
        text += std::to_string(decimal.exponent - 1);
        return text;
    }

    if (decimal.count == 0 || decimal.exponent <= 0) {
        text.push_back('0');
    } else {
        for (int i = 0; i < decimal.exponent; ++i)
            text.push_back(decimal.At(i));
    }
    if (digits > 0) {
        text.push_back('.');
        for (int i = 0; i < digits; ++i)
            text.push_back(decimal.At(decimal.exponent + i));
    }
    return text;
}
