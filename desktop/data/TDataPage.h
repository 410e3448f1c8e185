#pragma once

#include <QString>

#include <memory>

#include "desktop/data/DataRows.h"
#include "desktop/data/TDataProgress.h"

class EditorPageHost;
class QAction;
class QCheckBox;
class QLabel;
class QMenu;
class QProgressBar;
class QPushButton;
class TStringGrid;
namespace toolkit {
class TFileDialog;
}

// The window's controls that the data page drives.
struct DataPageControls {
    TStringGrid* StringGridData = nullptr;
    QPushButton* btnImport = nullptr;
    QPushButton* btnCalculateValues = nullptr;
    QPushButton* btnSaveOutput = nullptr;
    QPushButton* btInverseFTransform = nullptr;
    QPushButton* btnAddInputRow = nullptr;
    QPushButton* btnDeleteInputRow = nullptr;
    QCheckBox* cbLinguisticApproximation = nullptr;
    QLabel* lbMaxErrorValue = nullptr;
    // The Learn drop-down, which the page fills.
    QMenu* pmLearning = nullptr;
    QProgressBar* pgProgress = nullptr;
    QLabel* lbProgressSec = nullptr;
    toolkit::TFileDialog* ImportDialog = nullptr;
    toolkit::TFileDialog* SaveOutputDialog = nullptr;
    toolkit::TFileDialog* SaveFVectorDialog = nullptr;
};

// The "Input / Output" page of an editor window and the tools on it: the data grid with its
// import, Compute, maximum error, saving and rows; the learning commands of the Learn drop-down
// and the main window's Merge rules; and the F-transform tools. The window owns one; the data
// logic lives in the plain units DataRows, DataFileFormat, DataCompute, DataLearning and
// DataTransforms.
//
// Long commands compute first and write the grid and the rule base only when they succeeded,
// so a failure part-way leaves both as they were.
class TDataPage {
  public:
    TDataPage(EditorPageHost& window, const DataPageControls& controls);
    ~TDataPage();
    TDataPage(const TDataPage&) = delete;
    TDataPage& operator=(const TDataPage&) = delete;

    // The grid's two header rows, for the rule base's variables as they are now.
    void UpdateHeaders();
    void TabSheetImportShow() { UpdateHeaders(); }
    DataCells& Cells() { return *cells_; }
    TDataProgress& Progress() { return progress_; }

    void btnImportClick();
    void btnCalculateValuesClick();
    void btnSaveOutputClick();
    void btnAddInputRowClick();
    void btnDeleteInputRowClick();
    void UpdateMaxError(const RowEstimates& estimates);

    // Learning.
    void mnLearn1Click();
    void ApproxLearningClick();
    void mnLearn2Click();
    void MergeRules();
    // Learns from the data rows; the number of rules added, or -1 when nothing changed.
    int LearnRulesFromData(bool describe);

    // F-transform tools.
    void mnFTransformClick();
    void btInverseFTransformClick();
    void mnFuzzyTrClick();
    void mnVTransformClick();
    // The F-transform settings follow the inputs: an added input gets a default record, a
    // deleted one's record goes. A transform made over the inputs as they were goes too.
    void InputAdded(int input);
    void InputDeleted(int input);

    QAction* mnLearn1;
    QAction* ApproxLearning;
    QAction* mnFTransform;
    QAction* mnLearn2;
    QAction* mnFuzzyTr;
    QAction* mnVTransform;

  private:
    // Widths for the headers, the row numbers and estimates.
    void FitColumns();
    // The node-count search; false when even the largest count misses the tolerance.
    bool FindFTransformNodeCount(double tolerance);
    void WriteInverse();
    void ShowError(const QString& text);
    // Beside the data file, or beside the rulebase file when there is none.
    QString LearnedRulesFileName();

    EditorPageHost& window_;
    DataPageControls controls_;
    std::unique_ptr<DataCells> cells_;
    TDataProgress progress_;
};
