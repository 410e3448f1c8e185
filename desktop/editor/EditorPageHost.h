#pragma once

#include <QString>

#include <memory>
#include <vector>

#include "core/ftransform/FTDimensionSettings.h"

class CRuleBase;
class EditorHost;
class QWidget;
class TFTransform;

// What the pages of a rule-base editor window ask of the window: its rule base, files and
// state, and what one page needs done by the other. The window implements it, so that it may
// hold its pages while they never see it.
class EditorPageHost {
  public:
    virtual ~EditorPageHost() = default;

    // The window itself: parent of the pages' dialogs and context of their connections.
    virtual QWidget& Window() = 0;
    virtual EditorHost* Host() const = 0;
    virtual CRuleBase& RuleBase() = 0;
    virtual const QString& FileName() const = 0;
    virtual bool HasFileName() const = 0;
    virtual QString& DataFileName() = 0;
    virtual std::vector<FTDimensionSettings>& FTransformSettings() = 0;
    virtual std::unique_ptr<TFTransform>& FTransform() = 0;
    virtual void MarkModified() = 0;
    // False when the rule base was not written (cancelled or failed).
    virtual bool Save() = 0;
    virtual bool VariablesChanged() const = 0;
    virtual void SetVariablesChanged(bool changed) = 0;
    // The control that has or last had the focus in the window.
    virtual QWidget* ActiveControl() const = 0;
    virtual bool ShowsRulesPage() const = 0;
    virtual void ShowRulesPage() = 0;
    // The rules grid shows the rule base's rules again (after learning added some).
    virtual void RefillRulesGrid() = 0;
};
