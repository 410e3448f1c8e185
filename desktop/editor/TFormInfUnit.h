#pragma once

#include <QStringList>
#include <QWidget>

#include <memory>
#include <vector>

#include "core/ftransform/FTDimensionSettings.h"
#include "desktop/editor/EditorPageHost.h"
#include "desktop/toolkit/UserPrompts.h"

class CRuleBase;
class EditorHost;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QAction;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTabWidget;
class TDataPage;
class TFTransform;
class TRulesPage;
class TVariablePage;

// The MDI child in which one rule base is edited; it owns the rule base for its whole life.
// Its pages are the general settings, the input and output variables, the rules and the data.
// The rules page and the data page are widgets of their own (TRulesPage, TDataPage), which the
// window hosts and forwards to.
class TFormInfUnit : public QWidget, public EditorPageHost {
    Q_OBJECT

  public:
    // Reads the rule base from the file. Throws ESyntax when it cannot be read; no window is
    // left then.
    TFormInfUnit(EditorHost* owner, const QString& fileName);
    // Takes the rule base; the window starts modified and without a file name of its own.
    TFormInfUnit(EditorHost* owner, std::unique_ptr<CRuleBase> ruleBase);
    ~TFormInfUnit() override;

    CRuleBase& RuleBase() override { return *ruleBase_; }
    const CRuleBase& RuleBase() const { return *ruleBase_; }
    TRulesPage& RulesPage() { return *rulesPage_; }
    TDataPage& DataPage() { return *dataPage_; }
    QWidget& Window() override { return *this; }
    EditorHost* Host() const override { return owner_; }
    const QString& FileName() const override { return ruleBaseFileName_; }
    // What the reader remarked on the file it was read from ("warning: ..."), in file order.
    const QStringList& ReadWarnings() const { return readWarnings_; }
    bool HasFileName() const override { return hasFileName_; }
    bool Modified() const { return modified_; }
    void SetModified(bool modified) { modified_ = modified; }
    bool VariablesChanged() const override { return variablesChanged_; }
    void SetVariablesChanged(bool changed) override { variablesChanged_ = changed; }
    std::vector<FTDimensionSettings>& FTransformSettings() override { return fTransformSettings_; }
    std::unique_ptr<TFTransform>& FTransform() override { return fTransform_; }
    QString& DataFileName() override { return dataFileName_; }

    void SetFileName(const QString& name);
    void MarkModified() override;
    // False when the rule base was not written (cancelled or failed).
    bool Save() override;
    bool SaveRuleBaseAs();
    bool SaveRuleBaseFile();
    void SetEditingEnabled(bool enabled);
    // Whether some rule's cell of the variable (inputs first, then outputs, in one range), or of
    // a variable that shares its language definition, holds exactly the text or names it as a
    // user term.
    bool IsExpressionUsed(const QString& text, int variableIndex) const;
    // The control that has or last had the focus in this window.
    QWidget* ActiveControl() const override;
    bool ShowsRulesPage() const override;
    void ShowRulesPage() override;
    void RefillRulesGrid() override;
    // The user expressions of the rules grid's current column while the rules page is shown.
    QStringList UserExpressionNames() const;

    void FillInferenceCombo();
    void FillDefuzzCombo();
    void ShowTypeOfUnit();

    // Handlers.
    void FormActivate();
    void ComboBoxInfTypeChange();
    void ComboBoxDefTypeChange();
    void cbUseFTFilterClick();
    void ButtonTestClick();
    void ButtonAddVarClick();
    void ButtonEditInputVarClick();
    void ButtonEditOutputVarClick();
    void ButtonDeleteVarClick();

    QTabWidget* PageControl;
    QWidget* TabSheetGeneral;
    // The variable pages; their lists and buttons are theirs.
    TVariablePage* TabSheetInputVar;
    TVariablePage* TabSheetOutputVar;
    QWidget* TabSheetRules;
    QWidget* TabSheetImport;

    QLineEdit* EditUnitName;
    QComboBox* ComboBoxInfType;
    QComboBox* ComboBoxDefType;
    QLabel* lbDefuzzType;
    QLabel* lbTypeOfUnit;
    QCheckBox* cbUseFTFilter;
    QPlainTextEdit* MemoDescription;

    QPushButton* ButtonTest;
    QPushButton* ButtonDone;
    QPushButton* ButtonSaveAs;
    QPushButton* ButtonClose;
    QProgressBar* pgProgress;
    QLabel* lbProgressSec;

    QMenu* Rulesinfo1;
    QAction* mnShowGroup;
    QAction* mnShowConsistency;
    QAction* mnShowRedundancy;
    QAction* mnShowRedundancyAnt;

    toolkit::TFileDialog SaveDialog;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    struct LoadedRuleBase {
        std::unique_ptr<CRuleBase> ruleBase;
        QStringList warnings;
    };
    static LoadedRuleBase ReadRuleBase(const QString& fileName);
    TFormInfUnit(EditorHost* owner, LoadedRuleBase loaded, const QString* fileName);
    void BuildControls();
    // The variable dialog has changed the rule base's variables.
    void VariablesEdited();
    // Checks and writes the rule base to fileName; says why when it does not.
    bool WriteRuleBaseFile(const QString& fileName);
    void FormCreate();
    // The close handler: false keeps the window open.
    bool FormClose();
    void onPageControlCurrentChanged(int index);

    EditorHost* owner_;
    std::unique_ptr<CRuleBase> ruleBase_;
    std::unique_ptr<TRulesPage> rulesPage_;
    // The "Input / Output" page, a child widget of the pages.
    TDataPage* dataPage_ = nullptr;
    bool hasFileName_ = false;
    bool modified_ = false;
    QString ruleBaseFileName_;
    QString dataFileName_;
    std::vector<FTDimensionSettings> fTransformSettings_;
    std::unique_ptr<TFTransform> fTransform_;
    bool variablesChanged_ = true;
    int shownPage_ = 0;
    QStringList readWarnings_;
};
