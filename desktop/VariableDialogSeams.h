#pragma once

class TDlgAddVar;

// Makes the editor windows' Add, Edit and check of variables run the dialog, which must live
// as long as they may be used (the program makes one at start-up).
void InstallVariableDialog(TDlgAddVar& dialog);
