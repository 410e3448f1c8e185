#include "core/lang/CLinCSettings.h"

#include <cmath>
#include <cstdlib>
#include <stdexcept>
#include <string_view>

#include "core/text/ESyntax.h"
#include "core/text/NumberScan.h"

namespace {

constexpr const char* kUnexpectedEnd = "unexpected end";

// Leading and trailing blanks go, every run of blanks inside becomes one.
void CollapseBlanks(std::string& text) {
    std::size_t out = 0;
    for (char c : text) {
        if (c == ' ' && (out == 0 || text[out - 1] == ' '))
            continue;
        text[out++] = c;
    }
    if (out > 0 && text[out - 1] == ' ')
        --out;
    text.resize(out);
}

// Reads a linear combination; the text is NUL-terminated at end, which may also hold NULs of
// its own.
class LinearCombinationReader {
  public:
    LinearCombinationReader(const std::string& text, std::vector<double>& coefficients)
        : cursor_(text.c_str()), end_(text.c_str() + text.size()), coefficients_(coefficients) {}

    void Read() {
        while (!AtEnd())
            ReadSummand();
    }

  private:
    [[noreturn]] static void Fail(const char* message) { throw ESyntax(message); }

    bool AtEnd() const { return cursor_ >= end_; }

    // Steps over c when it stands at the cursor; a text that ends right after it is cut short.
    bool Take(char c) {
        if (AtEnd() || *cursor_ != c)
            return false;
        ++cursor_;
        if (AtEnd())
            Fail(kUnexpectedEnd);
        return true;
    }

    bool TakeBlank() {
        if (AtEnd() || *cursor_ != ' ')
            return false;
        ++cursor_;
        if (AtEnd())
            Fail(kUnexpectedEnd);
        return true;
    }

    bool AtVariable() const { return !AtEnd() && (*cursor_ == 'x' || *cursor_ == 'X'); }

    // The integer after "x"; the cursor moves over the digits.
    long ReadIndex() {
        ++cursor_;
        if (AtEnd())
            Fail(kUnexpectedEnd);
        const long index = std::strtol(cursor_, nullptr, 10);
        if (index == 0)
            Fail("nonzero integeral index expected");
        while (!AtEnd() && *cursor_ >= '0' && *cursor_ <= '9')
            ++cursor_;
        return index;
    }

    double ReadCoefficient() {
        const char* numberEnd = cursor_;
        const double value = ScanDouble(cursor_, &numberEnd);
        if (numberEnd == cursor_ || !std::isfinite(value))
            Fail("real number expected");
        cursor_ = numberEnd;
        return value;
    }

    // Moves to the next sign that is not an exponent's, or to one of the stop characters.
    void SkipToSummandEnd(std::string_view stops) {
        for (; !AtEnd(); ++cursor_) {
            const char c = *cursor_;
            const bool exponentSign =
                (c == '+' || c == '-') && (cursor_[-1] == 'e' || cursor_[-1] == 'E');
            if (!exponentSign && stops.find(c) != std::string_view::npos)
                return;
        }
    }

    void ReadSummand() {
        double factor = 1.0;
        if (!Take('+') && Take('-'))
            factor = -1.0;
        TakeBlank();

        double coefficient = 1.0;
        long index = 0;
        if (AtVariable()) {
            index = ReadIndex();
            TakeBlank();
            if (Take('*')) {
                TakeBlank();
                coefficient = ReadCoefficient();
                if (coefficient == 0)
                    Fail("real number expected");
                SkipToSummandEnd("+-");
            } else if (!AtEnd() && *cursor_ != '+' && *cursor_ != '-') {
                Fail("plus, minus or end expected");
            }
        } else {
            coefficient = ReadCoefficient();
            SkipToSummandEnd("+- *xX");
            TakeBlank();
            Take('*');
            TakeBlank();
            if (AtVariable())
                index = ReadIndex();
        }
        TakeBlank();

        const long count = static_cast<long>(coefficients_.size());
        if (index < 0 || index >= count)
            Fail("variable index out of range");
        if (coefficients_[index] != 0)
            Fail("each index should occure only once");
        coefficients_[index] = factor * coefficient;
    }

    const char* cursor_;
    const char* end_;
    std::vector<double>& coefficients_;
};

}  // namespace

CLinCSettings::CLinCSettings(double lo, double hi) : CSettings(lo, hi) {}

CLinCSettings::~CLinCSettings() = default;

std::vector<double> CLinCSettings::ParseValue(std::string& text, int n) const {
    if (n < 0)
        throw std::invalid_argument("a linear combination needs a count of variables");
    std::vector<double> coefficients(static_cast<std::size_t>(n) + 1, 0.0);
    CollapseBlanks(text);
    LinearCombinationReader(text, coefficients).Read();
    return coefficients;
}
