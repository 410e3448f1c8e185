#pragma once

#include <optional>
#include <string>

class CRuleBase;

// The texts of the variable dialog's edit boxes.
struct VariableFields {
    std::string name;
    std::string low;
    std::string high;
    std::string discretization;
};

enum class BoundField { kLow, kHigh };

// Why the dialog's fields were refused: a validation message, or a text that is not a number
// (shown in a warning box), and the field that must take the focus back, if any.
struct VariableFieldError {
    std::string message;
    bool notANumber = false;
    std::optional<BoundField> field;
};

// What the fields are checked against: the variable at signed index variable (in add mode the
// copy source), whether it is being edited or copied into a new input, and whether it is
// linguistic (only a linguistic variable has a discretization).
struct VariableFieldContext {
    int variable = 0;
    bool editMode = true;
    bool linguistic = true;
};

// The dialog's validation in its order: the name among the inputs, each bound (CheckBound), the
// bounds' order as the file keeps them, negative expressions under non-negative bounds
// (linguistic variables), the discretization's range and, for bounds whose integer parts have
// equal magnitude, its oddness. Nothing when the fields pass.
std::optional<VariableFieldError> ValidateVariableFields(const CRuleBase& ruleBase,
                                                         const VariableFields& fields,
                                                         const VariableFieldContext& context);

// A number as the dialog reads it: blanks around it allowed, nothing else; finite only.
std::optional<double> ReadBound(const std::string& text);
// A bound's text that is not a number ("Something is wrong!"), or a number beyond what a
// rulebase file holds (single precision), refused with a message that names the field.
std::optional<VariableFieldError> CheckBound(BoundField field, const std::string& text);
// The text a bound's field shows: the bound as the rulebase file writes it.
std::string BoundFieldText(double bound);
// The bound a field's number stands for: the current bound when the two are one number in the
// file, so that a field left as it was shown changes nothing; else the number itself.
double FieldBound(double number, double current);
// A whole decimal number, blanks around it allowed.
std::optional<int> ReadDiscretization(const std::string& text);

// The range the dialog offers ("Discretization (20 - 1000):").
inline constexpr int kDialogMinDiscretization = 20;
inline constexpr int kDialogMaxDiscretization = 1000;
