#pragma once

#include <QWidget>
#include <memory>
#include <vector>

class CRuleBase;
class FuzzySetInputBox;
class FuzzySetInputPanel;
class FuzzySetOutputPanel;
class Net3D;
class ProjectionBox;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QScrollArea;
class QStatusBar;
class TestWindowOwner;

// The test window: one panel per input variable with a cursor the user drags or types, one
// panel per output variable with the inferred set and crisp value, the methods, the fired
// rules, and the projection of the first output over one input. Works on a rule base that it
// borrows from the editor window; opens the control-surface window.
class TMDIChild : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kInitialSteps = 25;

    // ruleBase and owner (which may be null) outlive the window. name: the rule base's name,
    // shown as "<name> - Test".
    TMDIChild(CRuleBase& ruleBase, const QString& name, TestWindowOwner* owner = nullptr,
              QWidget* parent = nullptr);
    ~TMDIChild() override;

    // Inference at the panels' cursors, the fired rules and the output panels; the projection
    // when forced or when an input other than the projection variable moved.
    void Evaluate(bool forced);
    // Fills an n by n net (n >= 2) of the first output over inputs i and j, the other inputs at
    // their cursors.
    void SampleSurface(Net3D& net, int i, int j, int n);

    CRuleBase& RuleBase() const;
    int Steps() const;
    // -1 before the projection is first drawn, -2 after; an index marks a point.
    int ProjectionPoint() const;
    // The projected outputs, steps + 1 of them; empty while the projection is off.
    const std::vector<double>& ProjectionOutputs() const;
    // Where "temp.rb" was written; empty when it could not be. Removed with the window.
    const std::string& TemporaryFilePath() const;
    const std::vector<FuzzySetInputPanel*>& InputPanels() const;
    const std::vector<FuzzySetOutputPanel*>& OutputPanels() const;
    FuzzySetInputBox* CurrentInputBox() const;

    // The window became the active one.
    void FormActivate();
    // The rule base and the owner are going (their editor is being destroyed): from now on the
    // window only shows what it shows, and goes with them.
    void ForgetRuleBase();

    QPlainTextEdit* MemoRuleBase = nullptr;
    QScrollArea* sbxInputs = nullptr;
    QScrollArea* sbxOutputs = nullptr;
    QComboBox* cbxInfMethod = nullptr;
    QLabel* lbDefMethod = nullptr;
    QComboBox* cbxDefMethod = nullptr;
    QCheckBox* cbUseFTFilter = nullptr;
    QPlainTextEdit* MemoFiredRules = nullptr;
    ProjectionBox* pbxProjection = nullptr;
    QComboBox* cbxProjectionVariable = nullptr;
    QCheckBox* chbxProjectionEnabled = nullptr;
    QLineEdit* edSteps = nullptr;
    QPushButton* btSurface = nullptr;
    QStatusBar* stbChild = nullptr;

  protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildControls();
    void FillMethodCombos();
    void Recompute(bool forced);
    // The inputs at the panels' cursors, on their variables' contexts as they are now.
    void ReadInputs();
    void UpdateProjection();
    bool OtherInputsMoved() const;
    void PlacePanels();
    // The rule base as the file would hold it, written again when it changed: methods and the
    // filter switch included, so that it is the one the window computes with.
    void ShowRuleBase();

    void cbxInfMethodChange(int index);
    void cbxDefMethodChange(int index);
    void cbUseFTFilterClick(bool checked);
    void sbxOutputsResize();
    void pbxProjectionMouseDown(int x);
    void pbxProjectionMouseMove(int x);
    void cbxProjectionVariableChange();
    void chbxProjectionEnabledClick(bool checked);
    void edStepsExit();
    void btSurfaceClick();
    void FormClose();

    struct Private;
    std::unique_ptr<Private> d_;
};
