#include "core/text/NumberScan.h"

#include <locale.h>
#include <stdlib.h>

namespace {

// Made once and never changed: the "C" conventions for strtod_l.
locale_t ClassicLocale() {
    static const locale_t classic = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    return classic;
}

}  // namespace

double ScanDouble(const char* text, const char** end) {
    char* stop = nullptr;
    const locale_t classic = ClassicLocale();
    const double value =
        classic != static_cast<locale_t>(0) ? strtod_l(text, &stop, classic) : strtod(text, &stop);
    *end = stop;
    return value;
}

ClassicNumbersScope::ClassicNumbersScope() : previous_(nullptr) {
    const locale_t classic = ClassicLocale();
    if (classic != static_cast<locale_t>(0))
        previous_ = uselocale(classic);
}

ClassicNumbersScope::~ClassicNumbersScope() {
    if (previous_ != nullptr)
        uselocale(static_cast<locale_t>(previous_));
}
