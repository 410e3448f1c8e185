#include "core/rulebase/CFuzzyVariable.h"

#include "core/lang/CSettings.h"

CFuzzyVariable::CFuzzyVariable(std::string name, std::shared_ptr<CSettings> settings,
                               int discretization)
    : name_(std::move(name)), settings_(std::move(settings)), discretization_(discretization) {}
