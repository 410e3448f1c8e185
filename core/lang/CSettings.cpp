#include "core/lang/CSettings.h"

CSettings::CSettings(double lo, double hi) : context_(lo, hi) {}

CSettings::~CSettings() = default;

void CSettings::SetContext(double lo, double hi) {
    context_.At(0) = {lo, hi};
}
