#pragma once

#include <QString>
#include <QWidget>

#include "desktop/data/DataRows.h"
#include "desktop/data/TDataProgress.h"
#include "desktop/toolkit/UserPrompts.h"

class DataTableModel;
class DataTableView;
class EditorPageHost;
class QCheckBox;
class QLabel;
class QProgressBar;

// The "Input / Output" page of an editor window and the tools on it: the data rows with their
// import, Compute, maximum error, saving and rows; the learning commands of the Learn drop-down
// and the main window's Merge rules; and the F-transform tools. The page's model is the only
// store of its rows: every command first commits an open cell editor, then reads and writes
// the model. The data logic lives in the plain units DataRows, DataFileFormat, DataCompute,
// DataLearning and DataTransforms.
//
// Long commands compute first and write the rows and the rule base only when they succeeded,
// so a failure part-way leaves both as they were.
class TDataPage : public QWidget {
    Q_OBJECT

  public:
    // The window's progress bar and its label show the long commands.
    TDataPage(EditorPageHost& window, QProgressBar& progress, QLabel& seconds);

    DataTableModel& Model() { return *model_; }
    void SetLinguisticApproximation(bool on);
    // The largest error as shown: empty until Compute or a transform gave one.
    QString MaxError() const;
    // The F-transform settings follow the inputs: an added input gets a default record, a
    // deleted one's record goes. A transform made over the inputs as they were goes too.
    void InputAdded(int input);
    void InputDeleted(int input);
    // Learns from the data rows; the number of rules added, or -1 when nothing changed.
    int LearnRulesFromData(bool describe);

  public slots:
    // The headers, for the rule base's variables as they are now.
    void TabSheetImportShow();

    void btnImportClick();
    void btnCalculateValuesClick();
    void btnSaveOutputClick();
    void btnAddInputRowClick();
    void btnDeleteInputRowClick();

    void mnLearn1Click();
    void ApproxLearningClick();
    void mnLearn2Click();
    void MergeRules();

    void mnFTransformClick();
    void btInverseFTransformClick();
    void mnFuzzyTrClick();
    void mnVTransformClick();

  private:
    void BuildControls();
    // What every command does first: the open editor's text goes into the model, and the
    // columns follow the variables.
    void BeginCommand();
    // Widths for the headers and for estimates.
    void FitColumns();
    void UpdateMaxError(const RowEstimates& estimates);
    void WriteEstimates(const RowEstimates& estimates);
    // The node-count search; false when even the largest count misses the tolerance.
    bool FindFTransformNodeCount(double tolerance);
    void WriteInverse();
    void ShowError(const QString& text);
    // Beside the data file, or beside the rulebase file when there is none.
    QString LearnedRulesFileName();

    EditorPageHost& window_;
    DataTableModel* model_;
    DataTableView* StringGridData;
    QCheckBox* cbLinguisticApproximation;
    QLabel* lbMaxErrorValue;
    toolkit::TFileDialog ImportDialog;
    toolkit::TFileDialog SaveOutputDialog;
    toolkit::TFileDialog SaveFVectorDialog;
    TDataProgress progress_;
};
