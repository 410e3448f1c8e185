#include "desktop/editor/TFormInfUnit.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>

#include <exception>

#include "core/ftransform/TFTransform.h"
#include "core/inference/MethodTables.h"
#include "core/io/RuleBaseReader.h"
#include "core/io/RuleBaseWriter.h"
#include "core/lang/CBasicSettings.h"
#include "core/lang/UserTermWords.h"
#include "core/rulebase/CFuzzyVariable.h"
#include "core/rulebase/CRuleBase.h"
#include "desktop/SpeedButtonGlyphs.h"
#include "desktop/WindowAttributes.h"
#include "desktop/data/TDataPage.h"
#include "desktop/editor/EditorHost.h"
#include "desktop/editor/EditorSeams.h"
#include "desktop/editor/TVariablePage.h"
#include "desktop/rules/TRulesPage.h"
#include "desktop/toolkit/MdiPlacement.h"

using toolkit::MessageDlg;
using toolkit::MsgIcon;

namespace {

constexpr const char* kRuleBaseFilter = "All files (*.*)|*.*|Rulebase (*.rb)|*.rb";
constexpr int kInferenceRowsLinguistic = 5;
constexpr int kSmoothDefuzzificationRow = 5;

QString BaseName(const QString& fileName) {
    return QFileInfo(fileName).completeBaseName();
}

QPushButton* Button(const QString& caption, QWidget* parent) {
    return new QPushButton(caption, parent);
}

}  // namespace

TFormInfUnit::LoadedRuleBase TFormInfUnit::ReadRuleBase(const QString& fileName) {
    LoadedRuleBase loaded;
    RuleBaseReaderOptions options;
    options.warn = [&loaded](const RuleBaseWarning& warning) {
        loaded.warnings << "warning: " + QString::fromStdString(warning.message);
    };
    loaded.ruleBase =
        std::make_unique<CRuleBase>(ReadRuleBaseFile(fileName.toStdString(), options));
    return loaded;
}

TFormInfUnit::TFormInfUnit(EditorHost* owner, const QString& fileName)
    : TFormInfUnit(owner, ReadRuleBase(fileName), &fileName) {}

TFormInfUnit::TFormInfUnit(EditorHost* owner, std::unique_ptr<CRuleBase> ruleBase)
    : TFormInfUnit(owner, LoadedRuleBase{std::move(ruleBase), {}}, nullptr) {}

TFormInfUnit::TFormInfUnit(EditorHost* owner, LoadedRuleBase loaded, const QString* fileName)
    : owner_(owner), readWarnings_(std::move(loaded.warnings)) {
    std::unique_ptr<CRuleBase> ruleBase = std::move(loaded.ruleBase);
    setObjectName("FormInfUnit");
    setWindowTitle("Inference unit");
    setWindowIcon(EditorGlyph());
    BuildControls();
    if (owner_ && owner_->MdiClient()) {
        QMdiSubWindow* frame = owner_->MdiClient()->addSubWindow(this);
        // The area chose the place for the child's default size, not for this one.
        frame->resize(760, 500);
        toolkit::KeepInsideArea(*frame);
    } else {
        resize(760, 500);
    }
    if (fileName) {
        // The name comes before the rule base, so that naming the window marks nothing.
        SetFileName(*fileName);
        hasFileName_ = true;
        ruleBase_ = std::move(ruleBase);
    } else {
        ruleBase_ = std::move(ruleBase);
        modified_ = true;
    }
    // The variable pages list the rule base's variables, so they come with it.
    TabSheetInputVar = new TVariablePage(*ruleBase_, false);
    TabSheetOutputVar = new TVariablePage(*ruleBase_, true);
    TabSheetInputVar->setObjectName("TabSheetInputVar");
    TabSheetOutputVar->setObjectName("TabSheetOutputVar");
    PageControl->insertTab(1, TabSheetInputVar, "&Input variables");
    PageControl->insertTab(2, TabSheetOutputVar, "O&utput variables");
    connect(TabSheetInputVar, &TVariablePage::addVariableRequested, this,
            &TFormInfUnit::ButtonAddVarClick);
    connect(TabSheetInputVar, &TVariablePage::deleteVariableRequested, this,
            &TFormInfUnit::ButtonDeleteVarClick);
    connect(TabSheetInputVar, &TVariablePage::editVariableRequested, this,
            &TFormInfUnit::ButtonEditInputVarClick);
    connect(TabSheetOutputVar, &TVariablePage::editVariableRequested, this,
            &TFormInfUnit::ButtonEditOutputVarClick);
    rulesPage_ =
        std::make_unique<TRulesPage>(*this,
                                     std::array<QAction*, 4>{mnShowGroup, mnShowConsistency,
                                                             mnShowRedundancy, mnShowRedundancyAnt},
                                     *pgProgress, *lbProgressSec);
    TabSheetRules = rulesPage_.get();
    PageControl->addTab(TabSheetRules, "&Rules");
    connect(rulesPage_.get(), &TRulesPage::userExpressionsChanged, this, [this] {
        if (owner_)
            owner_->UserExpressionsChanged(*this);
    });
    dataPage_ = new TDataPage(*this, *pgProgress, *lbProgressSec);
    TabSheetImport = dataPage_;
    PageControl->addTab(TabSheetImport, "Input / Output");
    FormCreate();
}

TFormInfUnit::~TFormInfUnit() {
    // The pages go before the window: taking the rules page out of the tabs moves the current
    // tab, which must not reach pages that are gone.
    disconnect(PageControl, nullptr, this, nullptr);
    try {
        rulesPage_->StoreRulesFromGrid();
    } catch (const std::exception&) {
        // The rule base goes with the window; nothing is left to keep the rules in.
    }
}

void TFormInfUnit::BuildControls() {
    PageControl = new QTabWidget(this);
    PageControl->setObjectName("PageControl");

    TabSheetGeneral = new QWidget;
    EditUnitName = new QLineEdit(TabSheetGeneral);
    EditUnitName->setEnabled(false);
    ComboBoxInfType = new QComboBox(TabSheetGeneral);
    ComboBoxDefType = new QComboBox(TabSheetGeneral);
    // A method's name is the whole choice: the combos are never narrower than the longest.
    for (QComboBox* combo : {ComboBoxInfType, ComboBoxDefType})
        combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    lbDefuzzType = new QLabel("Type of defuzzification:", TabSheetGeneral);
    lbTypeOfUnit = new QLabel(TabSheetGeneral);
    cbUseFTFilter = new QCheckBox(TabSheetGeneral);
    MemoDescription = new QPlainTextEdit(TabSheetGeneral);
    auto* general = new QGridLayout(TabSheetGeneral);
    general->addWidget(new QLabel("Name of unit:"), 0, 0);
    general->addWidget(EditUnitName, 0, 1);
    general->addWidget(new QLabel("Type of unit:"), 1, 0);
    general->addWidget(lbTypeOfUnit, 1, 1);
    general->addWidget(new QLabel("Type of inference:"), 2, 0);
    general->addWidget(ComboBoxInfType, 2, 1);
    general->addWidget(lbDefuzzType, 3, 0);
    general->addWidget(ComboBoxDefType, 3, 1);
    general->addWidget(new QLabel("Fuzzy Transform Filter:"), 4, 0);
    general->addWidget(cbUseFTFilter, 4, 1);
    general->addWidget(new QLabel("Description:"), 5, 0, Qt::AlignTop);
    general->addWidget(MemoDescription, 5, 1);
    general->setColumnStretch(1, 1);
    general->setRowStretch(5, 1);
    PageControl->addTab(TabSheetGeneral, "&General");

    // The variable pages and the rules page come here once the rule base is there.

    ButtonTest = Button("&Test", this);
    ButtonDone = Button("&Save", this);
    ButtonSaveAs = Button("Save &As", this);
    ButtonClose = Button("&Close", this);
    pgProgress = new QProgressBar(this);
    pgProgress->setRange(0, 100);
    pgProgress->setValue(0);
    pgProgress->setTextVisible(false);
    pgProgress->setMaximumHeight(14);
    lbProgressSec = new QLabel(this);
    lbProgressSec->setAlignment(Qt::AlignHCenter);
    auto* side = new QVBoxLayout;
    side->setContentsMargins(0, PageControl->tabBar()->sizeHint().height(), 0, 0);
    for (QPushButton* button : {ButtonTest, ButtonDone, ButtonSaveAs, ButtonClose})
        side->addWidget(button);
    side->addStretch(1);
    side->addWidget(pgProgress);
    side->addWidget(lbProgressSec);
    auto* window = new QHBoxLayout(this);
    window->setContentsMargins(6, 6, 6, 6);
    window->addWidget(PageControl, 1);
    window->addLayout(side);

    Rulesinfo1 = new QMenu("Rules info", this);
    mnShowGroup = Rulesinfo1->addAction("Group");
    mnShowConsistency = Rulesinfo1->addAction("Consistency");
    mnShowRedundancy = Rulesinfo1->addAction("Redundancy Succ");
    mnShowRedundancyAnt = Rulesinfo1->addAction("Redundancy Ant");
    int tag = 0;
    for (QAction* item : {mnShowGroup, mnShowConsistency, mnShowRedundancy, mnShowRedundancyAnt}) {
        item->setCheckable(true);
        item->setChecked(true);
        item->setData(tag++);
    }

    SaveDialog.Kind = toolkit::FileDialogKind::Save;
    SaveDialog.Title = "Save rulebase as";
    SaveDialog.DefaultExt = "rb";
    SaveDialog.Filter = kRuleBaseFilter;
    SaveDialog.FilterIndex = 2;
    SaveDialog.OverwritePrompt = true;
    SaveDialog.PathMustExist = true;

    connect(EditUnitName, &QLineEdit::textChanged, this, [this] { MarkModified(); });
    connect(MemoDescription, &QPlainTextEdit::textChanged, this, [this] { MarkModified(); });
    connect(ComboBoxInfType, &QComboBox::activated, this, [this] { ComboBoxInfTypeChange(); });
    connect(ComboBoxDefType, &QComboBox::activated, this, [this] { ComboBoxDefTypeChange(); });
    connect(cbUseFTFilter, &QCheckBox::toggled, this, [this] { cbUseFTFilterClick(); });
    connect(ButtonTest, &QPushButton::clicked, this, [this] { ButtonTestClick(); });
    connect(ButtonDone, &QPushButton::clicked, this, [this] { Save(); });
    connect(ButtonSaveAs, &QPushButton::clicked, this, [this] { SaveRuleBaseAs(); });
    connect(ButtonClose, &QPushButton::clicked, this, [this] {
        if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget()))
            frame->close();
        else
            close();
    });
    connect(PageControl, &QTabWidget::currentChanged, this,
            &TFormInfUnit::onPageControlCurrentChanged);
}

void TFormInfUnit::FormCreate() {
    variablesChanged_ = true;
    fTransformSettings_.clear();
    LoadWindowAttributes(*this);
    MemoDescription->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    // Showing what the rule base holds is no edit of it.
    {
        const QSignalBlocker showing(MemoDescription);
        MemoDescription->setPlainText(QString::fromStdString(ruleBase_->GetDescription()));
    }
    FillInferenceCombo();
    FillDefuzzCombo();
    {
        const QSignalBlocker showing(cbUseFTFilter);
        cbUseFTFilter->setChecked(ruleBase_->GetUseFuzzyFilter());
    }
    PageControl->setCurrentWidget(TabSheetGeneral);
    // A variable corrected in the dialog while the file opens is a change the file lacks.
    bool corrected = false;
    if (const auto& check = InstalledEditorSeams().CheckVariable) {
        for (int v = 0; v < ruleBase_->GetNumAntVariables(); ++v)
            corrected = check(*this, v) || corrected;
        for (int v = 0; v < ruleBase_->GetNumSucVariables(); ++v)
            corrected = check(*this, -1 - v) || corrected;
    }
    TabSheetInputVar->Fill();
    TabSheetOutputVar->Fill();
    rulesPage_->TabSheetRulesEnter();
    ShowTypeOfUnit();
    rulesPage_->PushUndoSnapshot();
    SetEditingEnabled(true);
    if (corrected)
        MarkModified();
}

void TFormInfUnit::SetFileName(const QString& name) {
    ruleBaseFileName_ = name;
    setWindowTitle(name);
    EditUnitName->setText(BaseName(name));
}

void TFormInfUnit::MarkModified() {
    if (!ruleBase_)
        return;
    rulesPage_->PushUndoSnapshot();
    modified_ = true;
    if (owner_)
        owner_->UpdateSaveState();
}

void TFormInfUnit::FillInferenceCombo() {
    ComboBoxInfType->clear();
    const TypeOfDescription kind = ruleBase_->GetTypeOfDescription();
    int first = 0;
    int last = -1;
    if (kind == CRuleBase::kLinguistic) {
        last = kInferenceRowsLinguistic - 1;
    } else if (kind == CRuleBase::kSingleton) {
        first = kInferenceRowsLinguistic;
        last = kInferenceRowsLinguistic;
    }
    for (int row = first; row <= last; ++row) {
        const auto& method = CrispInferenceMethodTable[row];
        ComboBoxInfType->addItem(
            QString::fromUtf8(method.DisplayName.data(), qsizetype(method.DisplayName.size())),
            row);
        if (ComboBoxInfType->currentIndex() < 1 &&
            method.Routine == ruleBase_->GetInferenceMethod())
            ComboBoxInfType->setCurrentIndex(ComboBoxInfType->count() - 1);
    }
    const int selected = ComboBoxInfType->currentIndex();
    if (selected >= 0 &&
        CrispInferenceMethodTable[ComboBoxInfType->itemData(selected).toInt()].Routine !=
            ruleBase_->GetInferenceMethod())
        ComboBoxInfType->setCurrentIndex(-1);
    ComboBoxInfType->setMinimumWidth(ComboBoxInfType->sizeHint().width());
}

void TFormInfUnit::FillDefuzzCombo() {
    ComboBoxDefType->clear();
    const TypeOfDescription kind = ruleBase_->GetTypeOfDescription();
    if (kind == CRuleBase::kSingleton) {
        ComboBoxDefType->hide();
        lbDefuzzType->hide();
        return;
    }
    if (kind != CRuleBase::kLinguistic)
        return;
    int match = -1;
    for (int row = 0; row < int(DefuzzificationMethodTable.size()); ++row) {
        const auto& method = DefuzzificationMethodTable[row];
        ComboBoxDefType->addItem(
            QString::fromUtf8(method.DisplayName.data(), qsizetype(method.DisplayName.size())),
            row);
        if (match < 0 && method.Routine == ruleBase_->GetDefuzzificationMethod())
            match = row;
    }
    ComboBoxDefType->setCurrentIndex(match);
    ComboBoxDefType->setMinimumWidth(ComboBoxDefType->sizeHint().width());
}

void TFormInfUnit::ComboBoxInfTypeChange() {
    if (!ruleBase_ || ComboBoxInfType->currentIndex() < 0)
        return;
    ruleBase_->SetInferenceMethod(
        CrispInferenceMethodTable[ComboBoxInfType->currentData().toInt()].Routine);
    MarkModified();
}

void TFormInfUnit::ComboBoxDefTypeChange() {
    if (!ruleBase_ || ComboBoxDefType->currentIndex() < 0)
        return;
    const int row = ComboBoxDefType->currentData().toInt();
    ruleBase_->SetDefuzzificationMethod(DefuzzificationMethodTable[row].Routine);
    if (row == kSmoothDefuzzificationRow) {
        cbUseFTFilter->setChecked(false);
        cbUseFTFilter->setEnabled(false);
        ruleBase_->RecordUseFuzzyFilter(false);
    } else {
        cbUseFTFilter->setEnabled(true);
    }
    MarkModified();
}

void TFormInfUnit::cbUseFTFilterClick() {
    if (!ruleBase_)
        return;
    // The filter itself is computed when an inference first needs it.
    ruleBase_->RecordUseFuzzyFilter(cbUseFTFilter->isChecked());
    MarkModified();
}

void TFormInfUnit::ShowTypeOfUnit() {
    switch (ruleBase_->GetTypeOfDescription()) {
        case CRuleBase::kLinguistic:
            lbTypeOfUnit->setText("Linguistic");
            break;
        case CRuleBase::kSingleton:
            lbTypeOfUnit->setText("TS-Singleton");
            mnShowRedundancy->trigger();
            mnShowRedundancyAnt->trigger();
            mnShowRedundancy->setVisible(false);
            mnShowRedundancyAnt->setVisible(false);
            break;
        case CRuleBase::kTakagiSugeno:
            lbTypeOfUnit->setText("Unknown");
            break;
    }
}

void TFormInfUnit::SetEditingEnabled(bool enabled) {
    for (QWidget* control : std::initializer_list<QWidget*>{ButtonTest, ComboBoxInfType,
                                                            ComboBoxDefType, cbUseFTFilter})
        control->setEnabled(enabled);
    TabSheetInputVar->SetEditingEnabled(enabled);
    TabSheetOutputVar->SetEditingEnabled(enabled);
    rulesPage_->SetEditingEnabled(enabled);
    if (ruleBase_->GetDefuzzificationMethod() ==
        DefuzzificationMethodTable[kSmoothDefuzzificationRow].Routine)
        cbUseFTFilter->setEnabled(false);
}

bool TFormInfUnit::IsExpressionUsed(const QString& text, int variableIndex) const {
    const int inputs = ruleBase_->GetNumAntVariables();
    const auto signedIndex = [inputs](int index) {
        return index < inputs ? index : inputs - 1 - index;
    };
    const auto& settings = ruleBase_->GetVariable(signedIndex(variableIndex)).GetSettings();
    const std::string wanted = text.toStdString();
    // Variables that share the language definition use its terms too.
    const int variables = inputs + ruleBase_->GetNumSucVariables();
    for (int index = 0; index < variables; ++index) {
        const int v = signedIndex(index);
        if (ruleBase_->GetVariable(v).GetSettings() != settings)
            continue;
        for (int r = 0; r < ruleBase_->GetNumRules(); ++r) {
            const std::string& cell =
                v < 0 ? ruleBase_->GetSucExpression(-1 - v, r) : ruleBase_->GetAntExpression(v, r);
            if (cell == wanted || UsesUserTermName(*settings, cell, wanted))
                return true;
        }
    }
    return false;
}

QWidget* TFormInfUnit::ActiveControl() const {
    return focusWidget();
}

bool TFormInfUnit::ShowsRulesPage() const {
    return PageControl->currentWidget() == TabSheetRules;
}

void TFormInfUnit::ShowRulesPage() {
    PageControl->setCurrentWidget(TabSheetRules);
}

void TFormInfUnit::RefillRulesGrid() {
    rulesPage_->FillRulesGrid();
}

QStringList TFormInfUnit::UserExpressionNames() const {
    // Asked while the window is still being built, too.
    return rulesPage_ ? rulesPage_->UserExpressionNames() : QStringList();
}

void TFormInfUnit::onPageControlCurrentChanged(int index) {
    const int left = shownPage_;
    if (left == index)
        return;
    if (PageControl->widget(left) == TabSheetRules && !rulesPage_->PageControlChanging()) {
        PageControl->setCurrentIndex(left);
        return;
    }
    shownPage_ = index;
    if (PageControl->widget(index) == TabSheetRules)
        rulesPage_->TabSheetRulesEnter();
    else if (PageControl->widget(index) == TabSheetImport)
        dataPage_->TabSheetImportShow();
    // The words of the rules grid's current column stand on the main window's toolbar only
    // while the rules page is shown.
    if (owner_ && PageControl->widget(left) == TabSheetRules)
        owner_->UserExpressionsChanged(*this);
}

void TFormInfUnit::FormActivate() {
    if (owner_)
        owner_->UpdateSaveState();
}

void TFormInfUnit::ButtonAddVarClick() {
    const auto& add = InstalledEditorSeams().AddVariable;
    if (!add || !add(*this))
        return;
    // The dialog appends the new input.
    dataPage_->InputAdded(ruleBase_->GetNumAntVariables() - 1);
    TabSheetInputVar->Fill();
    variablesChanged_ = true;
    MarkModified();
}

void TFormInfUnit::ButtonEditInputVarClick() {
    const auto& edit = InstalledEditorSeams().EditVariable;
    const int row = TabSheetInputVar->SelectedRow();
    if (edit && row >= 0 && edit(*this, row))
        VariablesEdited();
}

void TFormInfUnit::ButtonEditOutputVarClick() {
    const auto& edit = InstalledEditorSeams().EditVariable;
    const int row = TabSheetOutputVar->SelectedRow();
    if (edit && row >= 0 && edit(*this, -1 - row))
        VariablesEdited();
}

void TFormInfUnit::VariablesEdited() {
    TabSheetInputVar->Fill();
    TabSheetOutputVar->Fill();
    try {
        ruleBase_->Prepare();
    } catch (const ESyntaxRB&) {
        // The rules page shows the cells that no longer build.
    }
    MarkModified();
    variablesChanged_ = true;
}

void TFormInfUnit::ButtonDeleteVarClick() {
    if (ruleBase_->GetNumAntVariables() < 2) {
        MessageDlg("At least one variable is required", "Warning", MsgIcon::Warning, toolkit::mbOK);
        return;
    }
    const int variable = TabSheetInputVar->SelectedRow();
    if (variable < 0)
        return;
    const QString name = QString::fromStdString(ruleBase_->GetVariableName(variable));
    if (MessageDlg("Are you sure to delete the variable " + name + "?", "Confirmation",
                   MsgIcon::Confirmation, toolkit::mbYesNo) != toolkit::ModalResult::Yes)
        return;
    ruleBase_->DeleteVariable(variable);
    dataPage_->InputDeleted(variable);
    TabSheetInputVar->Fill();
    MarkModified();
    variablesChanged_ = true;
}

void TFormInfUnit::ButtonTestClick() {
    // The test window computes with what the grid shows.
    if (!rulesPage_->CommitRules())
        return;
    try {
        ruleBase_->Prepare();
    } catch (const ESyntaxRB&) {
        // The test window reports the cells that do not build.
    }
    if (const auto& open = InstalledEditorSeams().OpenTestWindow)
        open(*this);
}

bool TFormInfUnit::Save() {
    if (!hasFileName_)
        return SaveRuleBaseAs();
    return SaveRuleBaseFile();
}

bool TFormInfUnit::SaveRuleBaseFile() {
    return WriteRuleBaseFile(ruleBaseFileName_);
}

namespace {

// The writer's refusal in full: its message and, where that does not say it, the first line of
// the text it refused ("context=<0,inf>").
QString WriteFailure(const ESyntax& error, const std::string& fileName) {
    std::string reason = error.Message();
    const std::string line = error.Text().substr(0, error.Text().find('\n'));
    if (!line.empty() && line != fileName && reason.find(line) == std::string::npos)
        reason += " (" + line + ")";
    return QString::fromStdString(reason);
}

}  // namespace

bool TFormInfUnit::WriteRuleBaseFile(const QString& fileName) {
    const auto refuse = [&](const QString& reason) {
        MessageDlg("Cannot write to rulebase file " + fileName + ": " + reason, "Write Error",
                   MsgIcon::Warning, toolkit::mbOK);
        return false;
    };
    const std::string name = fileName.toStdString();
    try {
        // What is typed in the rules grid belongs to the file too, but only what the reader
        // takes back: a cell it refuses would make the whole file unreadable.
        if (const auto fault = rulesPage_->GoToCellKeepingTheRulesFromAFile())
            return refuse(QString::fromStdString(*fault));
        ruleBase_->SetDescription(MemoDescription->toPlainText().toStdString());
        ::SaveRuleBaseFile(*ruleBase_, name);
    } catch (const ESyntax& error) {
        return refuse(WriteFailure(error, name));
    } catch (const std::exception& error) {
        return refuse(QString::fromUtf8(error.what()));
    }
    modified_ = false;
    if (owner_) {
        owner_->UpdateSaveState();
        owner_->AddRecentFile(fileName);
    }
    return true;
}

bool TFormInfUnit::SaveRuleBaseAs() {
    if (!hasFileName_)
        SaveDialog.InitialDir = QCoreApplication::applicationDirPath();
    SaveDialog.FileName = ruleBaseFileName_;
    if (!SaveDialog.Execute())
        return false;
    // The window takes the name only once the file is there: a failed write leaves the name,
    // and every later Save, where they were.
    const QString chosen = SaveDialog.FileName;
    if (!WriteRuleBaseFile(chosen))
        return false;
    SetFileName(chosen);
    hasFileName_ = true;
    // Naming the window marks it modified, as any change of the unit's name does.
    modified_ = false;
    if (owner_)
        owner_->UpdateSaveState();
    return true;
}

bool TFormInfUnit::FormClose() {
    if (const auto fault = rulesPage_->GoToCellHoldingTheWindow()) {
        MessageDlg("Cannot close " + QFileInfo(ruleBaseFileName_).fileName() + ": " +
                       QString::fromStdString(*fault),
                   "Warning", MsgIcon::Warning, toolkit::mbOK);
        return false;
    }
    if (modified_) {
        const toolkit::ModalResult answer = MessageDlg(
            "Do you want to save changes in " + QFileInfo(ruleBaseFileName_).fileName() + "?",
            "Confirmation", MsgIcon::Confirmation, toolkit::mbYesNoCancel);
        if (answer == toolkit::ModalResult::Cancel)
            return false;
        // A save that was cancelled or failed keeps the window, and with it the changes.
        if (answer == toolkit::ModalResult::Yes && !Save())
            return false;
    }
    try {
        SaveWindowAttributes(*this);
    } catch (const std::exception& error) {
        MessageDlg(QString::fromUtf8(error.what()), "Error", MsgIcon::Error, toolkit::mbOK);
    }
    if (owner_)
        owner_->EditorClosing(*this);
    return true;
}

void TFormInfUnit::closeEvent(QCloseEvent* event) {
    if (FormClose())
        event->accept();
    else
        event->ignore();
}
