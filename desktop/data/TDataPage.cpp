#include "desktop/data/TDataPage.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

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
#include "desktop/data/DataLearning.h"
#include "desktop/data/DataRows.h"
#include "desktop/data/DataTableModel.h"
#include "desktop/data/DataTransforms.h"
#include "desktop/data/TFTransformSettingsDialog.h"
#include "desktop/editor/EditorHost.h"
#include "desktop/editor/EditorPageHost.h"
#include "toolbars/TToolbarButtonKit.h"

using toolkit::MessageDlg;
using toolkit::MsgIcon;

// Qt's table view with the one thing a command needs that Qt keeps protected: the open
// editor's text committed to the model before the command reads it.
class DataTableView final : public QTableView {
  public:
    using QTableView::QTableView;

    void CommitEditor() {
        if (state() != EditingState)
            return;
        if (QWidget* editor = indexWidget(currentIndex())) {
            commitData(editor);
            closeEditor(editor, QAbstractItemDelegate::NoHint);
        }
    }
};

namespace {

// The node-count search starts from the grid's row count, in which its two header rows count.
constexpr int kHeaderRows = 2;

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

TDataPage::TDataPage(EditorPageHost& window, QProgressBar& progress, QLabel& seconds)
    : window_(window), model_(new DataTableModel(this)), progress_(progress, seconds) {
    setObjectName("TabSheetImport");
    BuildControls();
    ImportDialog.Filter = "Input data file|*.txt|Output data file|*.out";
    ImportDialog.DefaultExt = "*.txt";
    if (window.HasFileName())
        ImportDialog.InitialDir = QFileInfo(window.FileName()).absolutePath();
    SaveOutputDialog.Kind = toolkit::FileDialogKind::Save;
    SaveOutputDialog.Filter = "Output file (*.out)|*.out";
    SaveOutputDialog.DefaultExt = "*.out";
    SaveOutputDialog.InitialDir = QCoreApplication::applicationDirPath();
    SaveFVectorDialog.Kind = toolkit::FileDialogKind::Save;
    SaveFVectorDialog.Filter = "FT-Vector file (*.ftv)|*.ftv";
    SaveFVectorDialog.DefaultExt = "*.ftv";
    // One empty row to type into.
    model_->insertRows(0, 1);
    TabSheetImportShow();
}

void TDataPage::BuildControls() {
    StringGridData = new DataTableView(this);
    StringGridData->setObjectName("StringGridData");
    StringGridData->setModel(model_);
    StringGridData->setSelectionMode(QAbstractItemView::SingleSelection);
    StringGridData->setEditTriggers(QAbstractItemView::DoubleClicked |
                                    QAbstractItemView::EditKeyPressed |
                                    QAbstractItemView::AnyKeyPressed);
    QHeaderView& rows = *StringGridData->verticalHeader();
    // One height for every row, so that a hundred thousand of them cost nothing to lay out.
    rows.setSectionResizeMode(QHeaderView::Fixed);
    rows.setDefaultSectionSize(22);

    const auto button = [this](const QString& caption, const char* name, auto handler) {
        auto* created = new QPushButton(caption, this);
        created->setObjectName(name);
        connect(created, &QPushButton::clicked, this, handler);
        return created;
    };
    QPushButton* btnImport = button("Import file...", "btnImport", &TDataPage::btnImportClick);
    QPushButton* btnCalculateValues =
        button("Compute", "btnCalculateValues", &TDataPage::btnCalculateValuesClick);
    QPushButton* btnSaveOutput =
        button("Save File...", "btnSaveOutput", &TDataPage::btnSaveOutputClick);
    QPushButton* btInverseFTransform =
        button("inv F-Transform", "btInverseFTransform", &TDataPage::btInverseFTransformClick);
    QPushButton* btnAddInputRow =
        button("Add R&ow", "btnAddInputRow", &TDataPage::btnAddInputRowClick);
    QPushButton* btnDeleteInputRow =
        button("&Delete Row", "btnDeleteInputRow", &TDataPage::btnDeleteInputRowClick);
    cbLinguisticApproximation = new QCheckBox("Linguistic Approximation", this);
    cbLinguisticApproximation->setObjectName("cbLinguisticApproximation");
    lbMaxErrorValue = new QLabel(this);
    lbMaxErrorValue->setObjectName("lbMaxErrorValue");
    auto* pmLearning = new QMenu(this);
    auto* btLearn = new TToolbarButtonKit(this);
    btLearn->SetCaption("Learn");
    btLearn->SetFlat(false);
    btLearn->SetDropdownMenu(pmLearning);
    btLearn->SetDropdownAlways(true);
    btLearn->setFixedSize(btnImport->sizeHint());

    auto* page = new QVBoxLayout(this);
    page->addWidget(StringGridData, 1);
    auto* rowsLine = new QHBoxLayout;
    rowsLine->addWidget(btnAddInputRow);
    rowsLine->addWidget(btnDeleteInputRow);
    rowsLine->addStretch(1);
    rowsLine->addWidget(cbLinguisticApproximation);
    rowsLine->addSpacing(12);
    rowsLine->addWidget(new QLabel("Max. Error:", this));
    rowsLine->addWidget(lbMaxErrorValue);
    page->addLayout(rowsLine);
    auto* buttons = new QHBoxLayout;
    for (QWidget* button : std::initializer_list<QWidget*>{
             btnImport, btnCalculateValues, btnSaveOutput, btInverseFTransform, btLearn})
        buttons->addWidget(button);
    buttons->addStretch(1);
    page->addLayout(buttons);

    // Learning method 2 and the user-term transforms are there, but not offered.
    const auto item = [pmLearning, this](const char* caption, const char* name, auto handler,
                                         bool offered = true) {
        QAction* action = pmLearning->addAction(caption);
        action->setObjectName(name);
        action->setVisible(offered);
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    item("&Linguistic learning", "mnLearn1", &TDataPage::mnLearn1Click);
    item("Approx learning", "ApproxLearning", &TDataPage::ApproxLearningClick);
    item("F-Transform", "mnFTransform", &TDataPage::mnFTransformClick);
    item("Learning method 2", "mnLearn2", &TDataPage::mnLearn2Click, false)->setEnabled(false);
    item("&Fuzzy transform", "mnFuzzyTr", &TDataPage::mnFuzzyTrClick, false);
    item("Least-Square F-Transform", "mnVTransform", &TDataPage::mnVTransformClick, false);
    connect(cbLinguisticApproximation, &QCheckBox::toggled, this, &TDataPage::TabSheetImportShow);
}

void TDataPage::SetLinguisticApproximation(bool on) {
    cbLinguisticApproximation->setChecked(on);
}

QString TDataPage::MaxError() const {
    return lbMaxErrorValue->text();
}

void TDataPage::ShowError(const QString& text) {
    MessageDlg(text, "Error", MsgIcon::Error, toolkit::mbOK);
}

void TDataPage::TabSheetImportShow() {
    model_->SetLayout(DataLayout::Of(window_.RuleBase()), cbLinguisticApproximation->isChecked());
    FitColumns();
}

void TDataPage::BeginCommand() {
    StringGridData->CommitEditor();
    // Widths the person set stay.
    model_->SetLayout(DataLayout::Of(window_.RuleBase()), cbLinguisticApproximation->isChecked());
}

void TDataPage::FitColumns() {
    constexpr int kPadding = 10;
    QHeaderView& header = *StringGridData->horizontalHeader();
    // Room for the header and for an estimate such as "-12.300000".
    const int number = StringGridData->fontMetrics().horizontalAdvance("-000.000000") + kPadding;
    for (int c = 0; c < model_->columnCount(); ++c)
        header.resizeSection(c, std::max(header.sectionSizeHint(c), number));
}

void TDataPage::btnImportClick() {
    BeginCommand();
    if (!ImportDialog.Execute())
        return;
    const QString fileName = ImportDialog.FileName;
    window_.DataFileName() = fileName;
    if (!QFileInfo::exists(fileName))
        return;
    QByteArray contents;
    if (!ReadWholeFile(fileName, contents)) {
        ShowError("Cannot read " + fileName);
        return;
    }
    const DataLayout& layout = model_->Layout();
    DataImport imported = ParseDataText(std::string_view(contents.constData(), contents.size()),
                                        layout.ImportedColumns());
    const int rows = static_cast<int>(imported.rows.size());
    if (rows == 0) {
        MessageDlg("No data rows were read from " + fileName + "; the table is left as it was.",
                   "Information", MsgIcon::Information, toolkit::mbOK);
        return;
    }
    {
        ProgressScope progress(progress_, rows);
        model_->ReplaceTable(ImportedTable(model_->Table(), layout, std::move(imported.rows),
                                           [this](int done) { progress_.StepProgress(done); }));
    }
    // The largest error was that of the rows that went.
    lbMaxErrorValue->clear();
    FitColumns();
    if (imported.complete)
        toolkit::ShowMessage(QString::number(rows) + " rows succesfully imported");
    else
        toolkit::ShowMessage(QString::number(rows) +
                             " rows succesfully imported, remaining skipped!");
}

void TDataPage::btnCalculateValuesClick() {
    BeginCommand();
    const DataLayout& layout = model_->Layout();
    RowEstimates estimates;
    try {
        ProgressScope progress(progress_, model_->rowCount());
        model_->ChangeColumns(
            layout.EstimateColumn(), layout.DescriptionColumn(), [&](DataTable& table) {
                estimates = ComputeEstimates(window_.RuleBase(), table,
                                             [this](int done) { progress_.StepProgress(done); });
            });
    } catch (const std::exception& error) {
        ShowError(QString::fromUtf8(error.what()));
        return;
    }
    UpdateMaxError(estimates);
}

void TDataPage::UpdateMaxError(const RowEstimates& estimates) {
    const double maximum = MaxErrorOfInference(model_->Table(), model_->Layout(), estimates);
    lbMaxErrorValue->setText(EstimateText(maximum));
}

void TDataPage::WriteEstimates(const RowEstimates& estimates) {
    const int column = model_->Layout().EstimateColumn();
    model_->ChangeColumns(column, column, [&](DataTable& table) {
        for (const auto& [row, value] : estimates)
            table.SetCell(column, row, EstimateText(value));
    });
}

void TDataPage::btnSaveOutputClick() {
    BeginCommand();
    const QString& dataFile = window_.DataFileName();
    if (!dataFile.isEmpty()) {
        SaveOutputDialog.InitialDir = QFileInfo(dataFile).absolutePath();
        SaveOutputDialog.FileName = WithExtension(dataFile, ".out");
    }
    if (!SaveOutputDialog.Execute())
        return;
    // The columns shown: the description only with the linguistic approximation.
    const std::string text =
        OutFileText(model_->Table(), model_->Layout(), model_->columnCount() + 1);
    try {
        ProgressScope progress(progress_, 1);
        ReplaceFileText(SaveOutputDialog.FileName.toStdString(), text);
    } catch (const ESyntax& error) {
        ShowError(Q(error.Message()) + "\n" + Q(error.Text()));
    }
}

void TDataPage::btnAddInputRowClick() {
    BeginCommand();
    model_->insertRows(model_->rowCount(), 1);
}

void TDataPage::btnDeleteInputRowClick() {
    BeginCommand();
    const QModelIndex current = StringGridData->currentIndex();
    if (current.isValid())
        model_->removeRows(current.row(), 1);
}

QString TDataPage::LearnedRulesFileName() {
    const QString& dataFile = window_.DataFileName();
    if (!dataFile.isEmpty() && QFileInfo::exists(dataFile))
        return WithExtension(dataFile, ".rules");
    return WithExtension(window_.FileName(), ".rules");
}

int TDataPage::LearnRulesFromData(bool describe) {
    BeginCommand();
    CRuleBase& ruleBase = window_.RuleBase();
    Rules rules(true);
    CollectRuleSet(ruleBase, rules);
    int added = 0;
    {
        ProgressScope progress(progress_, model_->rowCount());
        added = ::LearnRulesFromData(ruleBase, model_->Table(), describe, rules,
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
    BeginCommand();
    CRuleBase& ruleBase = window_.RuleBase();
    if (!HasCompleteDataRow(ruleBase, model_->Table())) {
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
    const std::optional<RewrittenRules> rewritten =
        AppendRuleLines(contents.toStdString(), DescribedRuleLines(ruleBase, model_->Table()),
                        ruleBase.GetNumRules());
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
    const RowEstimates estimates =
        InverseEstimates(*transform, window_.RuleBase(), model_->Table());
    WriteEstimates(estimates);
    UpdateMaxError(estimates);
}

bool TDataPage::FindFTransformNodeCount(double tolerance) {
    const CRuleBase& ruleBase = window_.RuleBase();
    const DataLayout& layout = model_->Layout();
    const DataSamples samples = ReadDataSamples(model_->Table(), layout, layout.VariableColumns());
    std::vector<FTDimensionSettings>& settings = window_.FTransformSettings();
    const int upper = std::min(model_->rowCount() + kHeaderRows, MaxNodesPerInput(layout.inputs));
    ProgressScope progress(progress_, static_cast<int>(std::log2(std::max(upper, 2))) + 2);
    int evaluations = 0;
    const auto err = [&](int nodes) {
        for (FTDimensionSettings& record : settings)
            record.nodes = nodes;
        window_.FTransform() = ComputeFTransform(ruleBase, settings, samples);
        progress_.StepProgress(++evaluations);
        return FTransformError(*window_.FTransform(), samples, model_->Table(),
                               layout.DesiredColumn());
    };
    return SearchNodeCount(upper, tolerance, err).has_value();
}

void TDataPage::mnFTransformClick() {
    BeginCommand();
    CRuleBase& ruleBase = window_.RuleBase();
    TFTransformSettingsDialog dialog(this);
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
            const DataLayout& layout = model_->Layout();
            ProgressScope progress(progress_, model_->rowCount());
            const DataSamples samples =
                ReadDataSamples(model_->Table(), layout, layout.VariableColumns());
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
    const QString& dataFile = window_.DataFileName();
    if (!dataFile.isEmpty()) {
        SaveFVectorDialog.InitialDir = QFileInfo(dataFile).absolutePath();
        SaveFVectorDialog.FileName = WithExtension(dataFile, ".ftv");
    }
    if (!SaveFVectorDialog.Execute())
        return;
    std::string reason;
    if (!window_.FTransform()->SaveToFile(SaveFVectorDialog.FileName.toStdString(), reason))
        ShowError("Cannot write " + SaveFVectorDialog.FileName + ": " +
                  QString::fromStdString(reason));
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
    BeginCommand();
    // None yet, or the one there was went with a changed input.
    if (!window_.FTransform()) {
        MessageDlg("There is no F-transform to invert: compute one with Learn, F-Transform.",
                   "Information", MsgIcon::Information, toolkit::mbOK);
        return;
    }
    WriteInverse();
}

void TDataPage::mnFuzzyTrClick() {
    BeginCommand();
    std::optional<RowEstimates> estimates;
    {
        ProgressScope progress(progress_, 1);
        estimates = UserTermTransformEstimates(window_.RuleBase(), model_->Table());
    }
    if (!estimates) {
        MessageDlg("UserTerms must exists for each variable", "Error", MsgIcon::Error,
                   toolkit::mbOK);
        return;
    }
    WriteEstimates(*estimates);
}

void TDataPage::mnVTransformClick() {
    BeginCommand();
    RowEstimates estimates;
    try {
        ProgressScope progress(progress_, 1);
        estimates = LeastSquaresEstimates(window_.RuleBase(), model_->Table());
    } catch (const math::matrix_error& error) {
        ShowError(QString::fromUtf8(error.what()));
        return;
    }
    WriteEstimates(estimates);
}
