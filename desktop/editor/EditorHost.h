#pragma once

#include <QString>

class QMdiArea;
class TFormInfUnit;

// What a rule-base editor window asks of the window that made it (the main window).
class EditorHost {
  public:
    virtual ~EditorHost() = default;
    // The MDI area the editor lives in; null for an editor on its own.
    virtual QMdiArea* MdiClient() const = 0;
    // Mirrors the active editor's modified flag in the Save controls.
    virtual void UpdateSaveState() = 0;
    virtual void AddRecentFile(const QString& fileName) = 0;
    // The editor has agreed to close and is about to go.
    virtual void EditorClosing(TFormInfUnit& editor) = 0;
    // Opens the rulebase file in an editor of its own; null when it was not opened (here: no
    // main window to open it in).
    virtual TFormInfUnit* OpenFileByName(const QString& fileName) {
        static_cast<void>(fileName);
        return nullptr;
    }
    // The editor's user expressions for its rules grid's current column changed
    // (TFormInfUnit::UserExpressionNames).
    virtual void UserExpressionsChanged(TFormInfUnit& /*editor*/) {}
    // The rules grid took a key or a click, so Cut, Copy and Paste apply to it.
    virtual void EnableClipboardActions() {}
};
