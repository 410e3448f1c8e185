#pragma once

// Number conversion of cell texts. The decimal separator of every text is '.', whatever locale
// the host program has set (a Qt program adopts the user's locale at start-up).

// The number at text as the C library's strtod reads it in the "C" locale: leading white space,
// an optional sign, decimal or hexadecimal digits with an exponent, "inf" or "nan". *end is the
// byte after the number, or text itself when nothing converts (the result is then 0).
double ScanDouble(const char* text, const char** end);
