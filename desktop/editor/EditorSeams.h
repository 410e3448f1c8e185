#pragma once

#include <functional>

class TFormInfUnit;

// Windows that other parts of the program open over an editor's rule base. Each is installed
// once at start-up; an empty hook does nothing.
struct EditorSeams {
    // The variable dialog's operations (installed by InstallVariableDialog). Add and Edit answer
    // true when the person pressed OK; variables are addressed by signed index.
    std::function<bool(TFormInfUnit& editor)> AddVariable;
    std::function<bool(TFormInfUnit& editor, int variable)> EditVariable;
    // Opens the dialog only for a variable that fails its checks; true when the person then
    // corrected it with OK.
    std::function<bool(TFormInfUnit& editor, int variable)> CheckVariable;
    // The test window over the editor's rule base, which goes with the editor (installed by
    // InstallTestWindow).
    std::function<void(TFormInfUnit& editor)> OpenTestWindow;
};

// The hooks in use for the whole run.
EditorSeams& InstalledEditorSeams();
