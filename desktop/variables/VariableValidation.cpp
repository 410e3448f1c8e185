#include "desktop/variables/VariableValidation.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <string_view>

#include "core/io/RuleBaseWriter.h"
#include "core/rulebase/CRuleBase.h"
#include "desktop/toolkit/Conversions.h"

namespace {

std::string_view Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(" \t");
    return std::string_view(text).substr(first, last - first + 1);
}

bool CellsHoldMinus(const CRuleBase& ruleBase, int variable) {
    for (int r = 0; r < ruleBase.GetNumRules(); ++r) {
        const std::string& text = variable >= 0 ? ruleBase.GetAntExpression(variable, r)
                                                : ruleBase.GetSucExpression(-1 - variable, r);
        if (text.find('-') != std::string::npos)
            return true;
    }
    return false;
}

VariableFieldError NotANumber() {
    return {"Something is wrong!", true, std::nullopt};
}

// The file reads its numbers in single precision; beyond this they would read back infinite.
bool FileHolds(double value) {
    return std::fabs(value) <= FLT_MAX;
}

// Compared as the file keeps them: two doubles that round to one float are one bound there.
double AsStored(double value) {
    return RuleBaseNumber(value);
}

}  // namespace

std::optional<VariableFieldError> CheckBound(BoundField field, const std::string& text) {
    const std::string label = field == BoundField::kLow ? "Lower bound" : "Upper bound";
    const auto value = ReadBound(text);
    if (!value)
        return VariableFieldError{"Something is wrong!", true, field};
    if (!FileHolds(*value))
        return VariableFieldError{label + ": " + std::string(Trimmed(text)) +
                                      " is more than a rulebase file can hold (at most " +
                                      RuleBaseNumberText(FLT_MAX) + " in magnitude).",
                                  false, field};
    return std::nullopt;
}

std::string BoundFieldText(double bound) {
    return RuleBaseNumberText(bound);
}

double FieldBound(double number, double current) {
    if (FileHolds(number) && FileHolds(current) && AsStored(number) == AsStored(current))
        return current;
    return number;
}

std::optional<double> ReadBound(const std::string& text) {
    // The same reading as the conversion that stores the bounds after validation.
    double value = 0.0;
    if (!toolkit::TryStrToFloat(QString::fromStdString(text), value))
        return std::nullopt;
    return value;
}

std::optional<int> ReadDiscretization(const std::string& text) {
    std::string_view trimmed = Trimmed(text);
    if (!trimmed.empty() && trimmed.front() == '+')
        trimmed.remove_prefix(1);
    int value = 0;
    const auto [end, error] =
        std::from_chars(trimmed.data(), trimmed.data() + trimmed.size(), value);
    if (trimmed.empty() || error != std::errc() || end != trimmed.data() + trimmed.size())
        return std::nullopt;
    return value;
}

std::optional<VariableFieldError> ValidateVariableFields(const CRuleBase& ruleBase,
                                                         const VariableFields& fields,
                                                         const VariableFieldContext& context) {
    if (context.variable >= 0) {
        for (int a = 0; a < ruleBase.GetNumAntVariables(); ++a) {
            if (context.editMode && a == context.variable)
                continue;
            if (ruleBase.GetVariableName(a) == fields.name)
                return VariableFieldError{"Variable name is already used!", false, std::nullopt};
        }
    }
    if (auto error = CheckBound(BoundField::kLow, fields.low))
        return error;
    if (auto error = CheckBound(BoundField::kHigh, fields.high))
        return error;
    const double low = *ReadBound(fields.low);
    const double high = *ReadBound(fields.high);
    if (AsStored(high) <= AsStored(low))
        return VariableFieldError{"Low bound is greater or equal to high bound!", false,
                                  std::nullopt};
    // A "-" marks a signed linguistic expression; in a linear combination it only subtracts.
    if (context.linguistic && low >= 0 && CellsHoldMinus(ruleBase, context.variable))
        return VariableFieldError{
            "Rulebase contains negative expressions for not symetrical bounds!", false,
            std::nullopt};
    if (context.linguistic) {
        const auto discretization = ReadDiscretization(fields.discretization);
        if (!discretization)
            return NotANumber();
        if (*discretization < kDialogMinDiscretization ||
            *discretization > kDialogMaxDiscretization)
            return VariableFieldError{"Discretization is out of range", false, std::nullopt};
        if (std::fabs(std::trunc(low)) == std::fabs(std::trunc(high)) && *discretization % 2 == 0)
            return VariableFieldError{"Discretization for symetrical variable must be odd value!",
                                      false, std::nullopt};
    }
    return std::nullopt;
}
