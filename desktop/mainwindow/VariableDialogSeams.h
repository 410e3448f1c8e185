#pragma once

#include "desktop/userterms/UserTermsOwner.h"

class TDlgAddVar;
class TFormInfUnit;

// Makes the editor windows' Add, Edit and check of variables run the dialog, which must live
// as long as they may be used (the program makes one at start-up).
void InstallVariableDialog(TDlgAddVar& dialog);

// The owner for variable (signed: inputs from 0 up, outputs -1 down) of the editor window's
// rule base: its language definition, the editor's use test and modified mark, and the main
// window's list of copied rows when the editor belongs to one. Renaming is the variable
// dialog's and is left empty. Settings is null for a variable without user expressions.
UserTermsOwner UserTermsOwnerOf(TFormInfUnit& editor, int variable);
