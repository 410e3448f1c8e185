#pragma once

#include <QDialog>
#include <QPoint>

#include <vector>

#include "core/ftransform/FTDimensionSettings.h"

class CRuleBase;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QString;
class QWidget;

// The preview line of a basic function of the shape in a box of width x height pixels: from the
// bottom-left corner, then the value at t = 0, 0.01, ... <= 1 at x = width * t, y = (height - 1)
// * (1 - value), rounded. Empty for an unknown shape.
std::vector<QPoint> BasicFunctionPreview(int shape, int width, int height);

// The F-transform settings of an editor: per input the node count and the shape of the basic
// functions, whether to save the transform and whether to search the node count.
class TFTransformSettingsDialog : public QDialog {
    Q_OBJECT

  public:
    explicit TFTransformSettingsDialog(QWidget* parent = nullptr);
    ~TFTransformSettingsDialog() override;

    // Makes the records when settings is empty (one per input: its universe, 10 nodes,
    // triangular), shows the first input's record and runs the dialog modally. The records are
    // edited in place, also when the dialog is cancelled. True when closed with OK.
    bool Execute(const CRuleBase& ruleBase, std::vector<FTDimensionSettings>& settings);

    // The tolerance of the node-count search (valid after OK with cbOptimize checked).
    double MaxError() const { return maxError_; }

    void cbVariableChange();
    // False, with a beep, the edit marked with the reason and the focus back on it, when its
    // text is no integer.
    bool edNumOfPartitionsExit();
    void rgShapeOfBasicFunctionsClick(int shape);
    void btOKClick();

    QComboBox* cbVariable;
    QLineEdit* edNumOfPartitions;
    QGroupBox* rgShapeOfBasicFunctions;
    QButtonGroup* shapeButtons;
    QWidget* pbBasicFunction;
    QCheckBox* cbOutputToFile;
    QCheckBox* cbOptimize;
    QLineEdit* edMaxErrorValue;
    QPushButton* btOK;
    QPushButton* btCancel;

  private:
    FTDimensionSettings* ShownRecord();
    void Refuse(QLineEdit& edit, const QString& reason);

    std::vector<FTDimensionSettings>* settings_ = nullptr;
    double maxError_ = 0.001;
};
