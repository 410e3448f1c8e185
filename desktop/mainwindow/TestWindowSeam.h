#pragma once

struct EditorSeams;
class TFormInfUnit;

// The editor's Test command: a test window over the editor's rule base, named by its file (or
// the editor's caption before it has one), in
// the editor's MDI area (or a window of its own without one). The editor's method combos and
// filter box follow the test window's; the test window closes when the editor goes.
void OpenTestWindow(TFormInfUnit& editor);
// Installs OpenTestWindow as the seam of every editor; called once at start-up.
void InstallTestWindow(EditorSeams& seams);
