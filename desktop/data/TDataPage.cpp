#include "desktop/data/TDataPage.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>

#include <algorithm>
#include <cmath>
#include <exception>
#include <string>

#include "core/ftransform/TFTransform.h"
#include "core/io/FileReplace.h"
#include "core/math/matrix_error.h"
#include "core/rulebase/CRuleBase.h"
#include "core/rulebase/Rules.h"
#include "core/text/ESyntax.h"
#include "desktop/data/DataCompute.h"
#include "desktop/data/DataFileFormat.h"
#include "desktop/data/DataGridHeaders.h"
#include "desktop/data/DataLearning.h"
#include "desktop/data/DataRows.h"
#include "desktop/data/DataTransforms.h"
#include "desktop/data/TFTransformSettingsDialog.h"
#include "desktop/editor/EditorHost.h"
#include "desktop/editor/EditorPageHost.h"
#include "desktop/toolkit/TStringGrid.h"
#include "desktop/toolkit/UserPrompts.h"

using toolkit::MessageDlg;
using toolkit::MsgIcon;

namespace {

class StringGridCells final : public DataCells {
  public:
    explicit StringGridCells(TStringGrid& grid) : grid_(grid) {}
    int RowCount() const override { return grid_.RowCount(); }
    QString Cell(int col, int row) const override { return grid_.Cells(col, row); }
    void SetCell(int col, int row, const QString& text) override { grid_.SetCells(col, row, text); }

  private:
    TStringGrid& grid_;
};

constexpr int kRowsPerStep = 1024;

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// name with its extension replaced by extension (".out").
QString WithExtension(const QString& name, const QString& extension) {
    const QFileInfo info(name);
    const QString base = info.completeBaseName();
    return info.path() == "." && !name.startsWith("./") ? base + extension
                                                        : info.path() + "/" + base + extension;
}

// Reads the whole file; false when it cannot be read.
bool ReadWholeFile(const QString& name, QByteArray& contents) {
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    contents = file.readAll();
    return file.error() == QFileDevice::NoError;
}

}  // namespace

TDataPage::TDataPage(EditorPageHost& window, const DataPageControls& controls)
    : window_(window),
      controls_(controls),
      cells_(std::make_unique<StringGridCells>(*controls.StringGridData)),
      progress_(*controls.pgProgress, *controls.lbProgressSec) {
    QWidget& form = window.Window();
    QMenu& menu = *controls.pmLearning;
    mnLearn1 = menu.addAction("&Linguistic learning");
    ApproxLearning = menu.addAction("Approx learning");
    mnFTransform = menu.addAction("F-Transform");
    mnLearn2 = menu.addAction("Learning method 2");
    mnLearn2->setEnabled(false);
    mnLearn2->setVisible(false);
    mnFuzzyTr = menu.addAction("&Fuzzy transform");
    mnFuzzyTr->setVisible(false);
    mnVTransform = menu.addAction("Least-Square F-Transform");
    mnVTransform->setVisible(false);

    QObject::connect(mnLearn1, &QAction::triggered, &form, [this] { mnLearn1Click(); });
    QObject::connect(ApproxLearning, &QAction::triggered, &form, [this] { ApproxLearningClick(); });
    QObject::connect(mnFTransform, &QAction::triggered, &form, [this] { mnFTransformClick(); });
    QObject::connect(mnLearn2, &QAction::triggered, &form, [this] { mnLearn2Click(); });
    QObject::connect(mnFuzzyTr, &QAction::triggered, &form, [this] { mnFuzzyTrClick(); });
    QObject::connect(mnVTransform, &QAction::triggered, &form, [this] { mnVTransformClick(); });
    QObject::connect(controls.btnImport, &QPushButton::clicked, &form,
                     [this] { btnImportClick(); });
    QObject::connect(controls.btnCalculateValues, &QPushButton::clicked, &form,
                     [this] { btnCalculateValuesClick(); });
    QObject::connect(controls.btnSaveOutput, &QPushButton::clicked, &form,
                     [this] { btnSaveOutputClick(); });
    QObject::connect(controls.btnAddInputRow, &QPushButton::clicked, &form,
                     [this] { btnAddInputRowClick(); });
    QObject::connect(controls.btnDeleteInputRow, &QPushButton::clicked, &form,
                     [this] { btnDeleteInputRowClick(); });
    QObject::connect(controls.btInverseFTransform, &QPushButton::clicked, &form,
                     [this] { btInverseFTransformClick(); });
    QObject::connect(controls.cbLinguisticApproximation, &QCheckBox::toggled, &form,
                     [this] { UpdateHeaders(); });
}

TDataPage::~TDataPage() = default;

void TDataPage::ShowError(const QString& text) {
    MessageDlg(text, "Error", MsgIcon::Error, toolkit::mbOK);
}

void TDataPage::UpdateHeaders() {
    FillDataGridHeaders(*controls_.StringGridData, window_.RuleBase(),
                        controls_.cbLinguisticApproximation->isChecked());
    FitColumns();
}

void TDataPage::FitColumns() {
    TStringGrid& grid = *controls_.StringGridData;
    constexpr int kPadding = 10;
    const int rows = std::max(grid.RowCount() - kFirstDataRow, 99);
    grid.SetColWidths(0, grid.TextWidth(QString::number(rows) + ".") + kPadding);
    // Room for the widest header and for an estimate such as "-12.300000".
    const int number = grid.TextWidth("-000.000000");
    for (int c = 1; c < grid.ColCount(); ++c) {
        if (grid.ColWidths(c) > 0)  // a hidden column stays hidden
            grid.SetColWidths(c, std::max({grid.TextWidth(grid.Cells(c, 0)),
                                           grid.TextWidth(grid.Cells(c, 1)), number}) +
                                     kPadding);
    }
}

void TDataPage::btnImportClick() {
    toolkit::TFileDialog& dialog = *controls_.ImportDialog;
    if (!dialog.Execute())
        return;
    window_.DataFileName() = dialog.FileName;
    if (!QFileInfo::exists(dialog.FileName))
        return;
    QByteArray contents;
    if (!ReadWholeFile(dialog.FileName, contents)) {
        ShowError("Cannot read " + dialog.FileName);
        return;
    }
    const DataLayout layout = DataLayout::Of(window_.RuleBase());
    const DataImport imported =
        ParseDataText(std::string_view(contents.constData(), contents.size()), layout.inputs + 1);
    const int rows = static_cast<int>(imported.rows.size());
    if (rows == 0) {
        MessageDlg(
            "No data rows were read from " + dialog.FileName + "; the table is left as it was.",
            "Information", MsgIcon::Information, toolkit::mbOK);
        return;
    }
    UpdateHeaders();
    TStringGrid& grid = *controls_.StringGridData;
    {
        ProgressScope progress(progress_, rows);
        // Rows that stay keep the columns that the file does not hold: the further outputs.
        grid.SetRowCount(kFirstDataRow + rows);
        for (int i = 0; i < rows; ++i) {
            const int row = kFirstDataRow + i;
            grid.SetCells(0, row, QString::number(i + 1) + '.');
            const auto& words = imported.rows[i];
            for (int c = 0; c < static_cast<int>(words.size()); ++c)
                grid.SetCells(c + 1, row, words[c]);
            // The cell after the last word is emptied, unless it is a further output.
            const int next = static_cast<int>(words.size()) + 1;
            if (next <= layout.inputs + 1 || next > layout.DesiredColumn())
                grid.SetCells(next, row, QString());
            if (i % kRowsPerStep == kRowsPerStep - 1)
                progress_.StepProgress(i + 1);
        }
    }
    FitColumns();
    if (imported.complete)
        toolkit::ShowMessage(QString::number(rows) + " rows succesfully imported");
    else
        toolkit::ShowMessage(QString::number(rows) +
                             " rows succesfully imported, remaining skipped!");
}

void TDataPage::btnCalculateValuesClick() {
    RowEstimates estimates;
    try {
        ProgressScope progress(progress_, controls_.StringGridData->RowCount() - kFirstDataRow);
        estimates = ComputeEstimates(window_.RuleBase(), *cells_,
                                     [this](int done) { progress_.StepProgress(done); });
    } catch (const std::exception& error) {
        ShowError(QString::fromUtf8(error.what()));
        return;
    }
    UpdateMaxError(estimates);
}

void TDataPage::UpdateMaxError(const RowEstimates& estimates) {
    const double maximum =
        MaxErrorOfInference(*cells_, DataLayout::Of(window_.RuleBase()), estimates);
    controls_.lbMaxErrorValue->setText(EstimateText(maximum));
}

void TDataPage::btnSaveOutputClick() {
    toolkit::TFileDialog& dialog = *controls_.SaveOutputDialog;
    const QString& dataFile = window_.DataFileName();
    if (!dataFile.isEmpty()) {
        dialog.InitialDir = QFileInfo(dataFile).absolutePath();
        dialog.FileName = WithExtension(dataFile, ".out");
    }
    if (!dialog.Execute())
        return;
    // The hidden description column is not written.
    const int shownColumns = DataLayout::Of(window_.RuleBase()).DescriptionColumn() +
                             (controls_.cbLinguisticApproximation->isChecked() ? 1 : 0);
    const std::string text = OutFileText(*cells_, shownColumns);
    try {
        ProgressScope progress(progress_, 1);
        ReplaceFileText(dialog.FileName.toStdString(), text);
    } catch (const ESyntax& error) {
        ShowError(Q(error.Message()) + "\n" + Q(error.Text()));
    }
}

void TDataPage::btnAddInputRowClick() {
    TStringGrid& grid = *controls_.StringGridData;
    grid.SetRowCount(grid.RowCount() + 1);
    for (int c = 1; c < grid.ColCount(); ++c)
        grid.SetCells(c, grid.RowCount() - 1, QString());
}

void TDataPage::btnDeleteInputRowClick() {
    TStringGrid& grid = *controls_.StringGridData;
    const int current = grid.Row();
    if (current < kFirstDataRow || current >= grid.RowCount())
        return;
    for (int r = current; r + 1 < grid.RowCount(); ++r)
        for (int c = 1; c < grid.ColCount(); ++c)
            grid.SetCells(c, r, grid.Cells(c, r + 1));
    grid.SetRowCount(grid.RowCount() - 1);
}

QString TDataPage::LearnedRulesFileName() {
    const QString& dataFile = window_.DataFileName();
    if (!dataFile.isEmpty() && QFileInfo::exists(dataFile))
        return WithExtension(dataFile, ".rules");
    return WithExtension(window_.FileName(), ".rules");
}

int TDataPage::LearnRulesFromData(bool describe) {
    CRuleBase& ruleBase = window_.RuleBase();
    Rules rules(true);
    CollectRuleSet(ruleBase, rules);
    int added = 0;
    {
        ProgressScope progress(progress_, controls_.StringGridData->RowCount() - kFirstDataRow);
        added = ::LearnRulesFromData(ruleBase, *cells_, describe, rules,
                                     [this](int done) { progress_.StepProgress(done); });
    }
    const QString fileName = LearnedRulesFileName();
    try {
        WriteRuleSetFile(rules, fileName.toStdString());
    } catch (const ESyntax& error) {
        ShowError(Q(error.Message()) + "\n" + Q(error.Text()));
        return -1;
    }
    try {
        ruleBase.SetRulesFromSet(rules);
    } catch (const ESyntaxRB&) {
        // Rules that were already there and do not build stay for the rules page to show.
    }
    window_.RefillRulesGrid();
    window_.MarkModified();
    toolkit::ShowMessage(QString::number(added) + " rules were added.");
    return added;
}

void TDataPage::mnLearn1Click() {
    LearnRulesFromData(true);
}

void TDataPage::ApproxLearningClick() {
    const std::string refusal = ApproxLearningRefusal(window_.RuleBase());
    if (!refusal.empty()) {
        ShowError(Q(refusal));
        return;
    }
    LearnRulesFromData(false);
}

void TDataPage::mnLearn2Click() {
    CRuleBase& ruleBase = window_.RuleBase();
    if (!HasCompleteDataRow(ruleBase, *cells_)) {
        MessageDlg("There is not any row with correct input data.", "Information",
                   MsgIcon::Information, toolkit::mbOK);
        return;
    }
    if (!window_.Save() || !window_.HasFileName())
        return;
    const QString fileName = window_.FileName();
    QByteArray contents;
    if (!ReadWholeFile(fileName, contents)) {
        ShowError("Cannot read " + fileName);
        return;
    }
    const std::optional<RewrittenRules> rewritten = AppendRuleLines(
        contents.toStdString(), DescribedRuleLines(ruleBase, *cells_), ruleBase.GetNumRules());
    if (!rewritten) {
        ShowError("The rules section of " + fileName + " was not found.");
        return;
    }
    try {
        ReplaceFileText(fileName.toStdString(), rewritten->text);
    } catch (const ESyntax& error) {
        ShowError(Q(error.Message()) + "\n" + Q(error.Text()));
        return;
    }
    // The window stays when the file does not open again, so that nothing vanishes unseen.
    EditorHost* host = window_.Host();
    if (!host || !host->OpenFileByName(fileName))
        return;
    QWidget& form = window_.Window();
    if (auto* frame = qobject_cast<QMdiSubWindow*>(form.parentWidget()))
        frame->close();
    else
        form.close();
}

void TDataPage::MergeRules() {
    Rules rules(true);
    CollectRuleSet(window_.RuleBase(), rules);
    const QString fileName = WithExtension(window_.FileName(), ".txt");
    try {
        ReplaceFileText(fileName.toStdString(), MergedRulesReport(rules));
    } catch (const ESyntax& error) {
        ShowError(Q(error.Message()) + "\n" + Q(error.Text()));
    } catch (const std::exception& error) {
        ShowError(QString::fromUtf8(error.what()));
    }
}

void TDataPage::WriteInverse() {
    const TFTransform* transform = window_.FTransform().get();
    if (!transform)
        return;
    const CRuleBase& ruleBase = window_.RuleBase();
    const int column = DataLayout::Of(ruleBase).EstimateColumn();
    const RowEstimates estimates = InverseEstimates(*transform, ruleBase, *cells_);
    for (const auto& [row, value] : estimates)
        cells_->SetCell(column, row, EstimateText(value));
    UpdateMaxError(estimates);
}

bool TDataPage::FindFTransformNodeCount(double tolerance) {
    const CRuleBase& ruleBase = window_.RuleBase();
    const DataLayout layout = DataLayout::Of(ruleBase);
    const DataSamples samples = ReadDataSamples(*cells_, layout, layout.VariableColumns());
    std::vector<FTDimensionSettings>& settings = window_.FTransformSettings();
    const int upper =
        std::min(controls_.StringGridData->RowCount(), MaxNodesPerInput(layout.inputs));
    ProgressScope progress(progress_, static_cast<int>(std::log2(std::max(upper, 2))) + 2);
    int evaluations = 0;
    const auto err = [&](int nodes) {
        for (FTDimensionSettings& record : settings)
            record.nodes = nodes;
        window_.FTransform() = ComputeFTransform(ruleBase, settings, samples);
        progress_.StepProgress(++evaluations);
        return FTransformError(*window_.FTransform(), samples, *cells_, layout.DesiredColumn());
    };
    return SearchNodeCount(upper, tolerance, err).has_value();
}

void TDataPage::mnFTransformClick() {
    CRuleBase& ruleBase = window_.RuleBase();
    TFTransformSettingsDialog dialog(&window_.Window());
    if (!dialog.Execute(ruleBase, window_.FTransformSettings()))
        return;
    try {
        if (dialog.cbOptimize->isChecked()) {
            if (!FindFTransformNodeCount(dialog.MaxError())) {
                MessageDlg("Maximum number of nodes was exceeded.", "Information", MsgIcon::None,
                           toolkit::mbOK);
                return;
            }
        } else {
            const DataLayout layout = DataLayout::Of(ruleBase);
            ProgressScope progress(progress_, controls_.StringGridData->RowCount() - kFirstDataRow);
            const DataSamples samples = ReadDataSamples(*cells_, layout, layout.VariableColumns());
            window_.FTransform() =
                ComputeFTransform(ruleBase, window_.FTransformSettings(), samples,
                                  [this](int done) { progress_.StepProgress(done); });
        }
    } catch (const std::exception& error) {
        ShowError(QString::fromUtf8(error.what()));
        return;
    }
    WriteInverse();
    if (!dialog.cbOutputToFile->isChecked())
        return;
    toolkit::TFileDialog& save = *controls_.SaveFVectorDialog;
    save.Filter = "FT-Vector file (*.ftv)|*.ftv";
    save.DefaultExt = "*.ftv";
    const QString& dataFile = window_.DataFileName();
    if (!dataFile.isEmpty()) {
        save.InitialDir = QFileInfo(dataFile).absolutePath();
        save.FileName = WithExtension(dataFile, ".ftv");
    }
    if (!save.Execute())
        return;
    std::string reason;
    if (!window_.FTransform()->SaveToFile(save.FileName.toStdString(), reason))
        ShowError("Cannot write " + save.FileName + ": " + QString::fromStdString(reason));
}

void TDataPage::InputAdded(int input) {
    std::vector<FTDimensionSettings>& settings = window_.FTransformSettings();
    // Without records the dialog makes them for all inputs when it first runs.
    if (!settings.empty() && input >= 0 && input <= static_cast<int>(settings.size()))
        settings.insert(settings.begin() + input,
                        DefaultFTransformSettings(window_.RuleBase())[input]);
    window_.FTransform().reset();
}

void TDataPage::InputDeleted(int input) {
    std::vector<FTDimensionSettings>& settings = window_.FTransformSettings();
    if (input >= 0 && input < static_cast<int>(settings.size()))
        settings.erase(settings.begin() + input);
    window_.FTransform().reset();
}

void TDataPage::btInverseFTransformClick() {
    // None yet, or the one there was went with a changed input.
    if (!window_.FTransform()) {
        MessageDlg("There is no F-transform to invert: compute one with Learn, F-Transform.",
                   "Information", MsgIcon::Information, toolkit::mbOK);
        return;
    }
    WriteInverse();
}

void TDataPage::mnFuzzyTrClick() {
    const CRuleBase& ruleBase = window_.RuleBase();
    std::optional<RowEstimates> estimates;
    {
        ProgressScope progress(progress_, 1);
        estimates = UserTermTransformEstimates(ruleBase, *cells_);
    }
    if (!estimates) {
        MessageDlg("UserTerms must exists for each variable", "Error", MsgIcon::Error,
                   toolkit::mbOK);
        return;
    }
    const int column = DataLayout::Of(ruleBase).EstimateColumn();
    for (const auto& [row, value] : *estimates)
        cells_->SetCell(column, row, EstimateText(value));
}

void TDataPage::mnVTransformClick() {
    const CRuleBase& ruleBase = window_.RuleBase();
    RowEstimates estimates;
    try {
        ProgressScope progress(progress_, 1);
        estimates = LeastSquaresEstimates(ruleBase, *cells_);
    } catch (const math::matrix_error& error) {
        ShowError(QString::fromUtf8(error.what()));
        return;
    }
    const int column = DataLayout::Of(ruleBase).EstimateColumn();
    for (const auto& [row, value] : estimates)
        cells_->SetCell(column, row, EstimateText(value));
}
