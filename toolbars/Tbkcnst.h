#pragma once

// Texts of the toolbar component's misuse errors (raised as EInvalidOperation).
inline constexpr const char* STBKDockParentNotAllowed =
    "A TDockKit control cannot be placed inside a tool window or another TDockKit";
inline constexpr const char* STBKDockCannotChangePosition =
    "Cannot change Position of a TDockKit if it already contains controls";
inline constexpr const char* STBKToolwinNameNotSet =
    "Cannot save tool window's position because Name property is not set";
inline constexpr const char* STBKToolwinDockedToNameNotSet =
    "Cannot save tool window's position because DockedTo's Name property not set";
inline constexpr const char* STBKToolwinParentNotAllowed =
    "A tool window can only be placed on a TDockKit or directly on the form";
// %s is the control's Name.
inline constexpr const char* STBKToolbarControlNotChildOfToolbar =
    "Control '%s' is not a child of the toolbar";
inline constexpr const char* STBKSepParentNotAllowed =
    "TToolbarSepKit can only be placed on a TToolbarKit";
// The class library's text for a control that needs a parent window; %s is the control's Name.
inline constexpr const char* SParentRequired = "Control '%s' has no parent window";
