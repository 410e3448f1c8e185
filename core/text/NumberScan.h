#pragma once

// Number conversion of cell texts. The decimal separator of every text is '.', whatever locale
// the host program has set (a Qt program adopts the user's locale at start-up).

// The number at text as the C library's strtod reads it in the "C" locale: leading white space,
// an optional sign, decimal or hexadecimal digits with an exponent, "inf" or "nan". *end is the
// byte after the number, or text itself when nothing converts (the result is then 0).
double ScanDouble(const char* text, const char** end);

// Makes the C library's formatted input and output of this thread use the "C" conventions for
// as long as it lives, so that "%f" reads and "%g" writes a '.' in any host.
class ClassicNumbersScope {
  public:
    ClassicNumbersScope();
    ~ClassicNumbersScope();
    ClassicNumbersScope(const ClassicNumbersScope&) = delete;
    ClassicNumbersScope& operator=(const ClassicNumbersScope&) = delete;

  private:
    void* previous_;  // the thread's locale_t before
};
