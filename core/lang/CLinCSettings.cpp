#include "core/lang/CLinCSettings.h"

CLinCSettings::CLinCSettings(double lo, double hi) : CSettings(lo, hi) {}

CLinCSettings::~CLinCSettings() = default;
