#include "desktop/variables/TDlgAddVar.h"

#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QVBoxLayout>

#include <memory>
#include <unordered_map>

#include "core/io/RuleBaseWriter.h"
#include "core/lang/CBasicSettings.h"
#include "core/lang/CLinguisticSettings.h"
#include "core/rulebase/CFuzzyVariable.h"
#include "core/rulebase/CRuleBase.h"
#include "desktop/toolkit/Conversions.h"
#include "desktop/toolkit/UserPrompts.h"
#include "desktop/variables/ExprOperator.h"
#include "desktop/variables/VariableNumbers.h"
#include "desktop/variables/VariableValidation.h"

namespace {

QString BoundText(double value) {
    return QString::fromStdString(BoundFieldText(value));
}

void PrepareKeepingCells(CRuleBase& ruleBase) {
    try {
        ruleBase.Prepare();
    } catch (const ESyntaxRB&) {
        // The rules grid shows such cells for correction.
    }
}

}  // namespace

TDlgAddVar::TDlgAddVar(QWidget* parent) : QDialog(parent) {
    setObjectName("DlgAddVar");
    lbCopyFromVar = new QLabel("Copy from variable:", this);
    cbxCopyVar = new QComboBox(this);
    auto* lbName = new QLabel("Name of variable:", this);
    edName = new QLineEdit(this);
    lbDiscretization = new QLabel("Discretization (20 - 1000):", this);
    edDiscret = new QLineEdit(this);
    auto* lbLow = new QLabel("Lower bound:", this);
    edLow = new QLineEdit(this);
    auto* lbHigh = new QLabel("Upper bound:", this);
    edHigh = new QLineEdit(this);
    lbEditExpressions = new QLabel("Expression:", this);
    btnEditTerms = new QPushButton("Edit expressions...", this);
    OKBtn = new QPushButton("OK", this);
    CancelBtn = new QPushButton("Cancel", this);
    OKBtn->setDefault(true);

    auto* fields = new QGridLayout;
    fields->addWidget(lbCopyFromVar, 0, 0);
    fields->addWidget(cbxCopyVar, 0, 1);
    fields->addWidget(lbName, 1, 0);
    fields->addWidget(edName, 1, 1);
    fields->addWidget(lbDiscretization, 2, 0);
    fields->addWidget(edDiscret, 2, 1);
    fields->addWidget(lbLow, 3, 0);
    fields->addWidget(edLow, 3, 1);
    fields->addWidget(lbHigh, 4, 0);
    fields->addWidget(edHigh, 4, 1);
    fields->addWidget(lbEditExpressions, 5, 0);
    fields->addWidget(btnEditTerms, 5, 1);
    fields->setColumnMinimumWidth(1, 180);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    // One dialog serves every mode and hides the rows a mode lacks: it fits what it shows.
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(OKBtn, &QPushButton::clicked, this, &TDlgAddVar::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(btnEditTerms, &QPushButton::clicked, this, &TDlgAddVar::btnEditTermsClick);
    connect(cbxCopyVar, &QComboBox::activated, this, &TDlgAddVar::cbxCopyVarChange);
    for (QLineEdit* edit : {edDiscret, edLow, edHigh})
        edit->installEventFilter(this);
}

TDlgAddVar::~TDlgAddVar() = default;

int TDlgAddVar::VariableIndex() const {
    return isOutput_ ? -1 - variableIndex_ : variableIndex_;
}

CFuzzyVariable& TDlgAddVar::Variable() const {
    return ruleBase_->GetVariable(VariableIndex());
}

bool TDlgAddVar::IsLinguistic() const {
    return !editMode_ || !ruleBase_->GetSettings(VariableIndex()).IsLinearCombination();
}

void TDlgAddVar::LoadForEdit(CRuleBase& ruleBase, int variable) {
    ruleBase_ = &ruleBase;
    editMode_ = true;
    isOutput_ = variable < 0;
    variableIndex_ = isOutput_ ? -1 - variable : variable;
    lbCopyFromVar->hide();
    cbxCopyVar->hide();
    setWindowTitle("Edit variable");
    edName->setFocus();
    edName->setText(QString::fromStdString(Variable().GetName()));
    appliedLow_ = openingLow_ = ruleBase.GetLowerBound(variable);
    appliedHigh_ = openingHigh_ = ruleBase.GetUpperBound(variable);
    const bool linguistic = IsLinguistic();
    for (QWidget* control :
         {static_cast<QWidget*>(btnEditTerms), static_cast<QWidget*>(lbEditExpressions),
          static_cast<QWidget*>(edDiscret), static_cast<QWidget*>(lbDiscretization)})
        control->setVisible(linguistic);
    if (linguistic)
        edDiscret->setText(QString::number(Variable().GetDiscretization()));
    edLow->setText(BoundText(openingLow_));
    edHigh->setText(BoundText(openingHigh_));
}

int TDlgAddVar::RunModal() {
    setResult(QDialog::Rejected);
    return ModalLoop ? ModalLoop() : toolkit::ShowModal(*this);
}

bool TDlgAddVar::RunEdit() {
    const int result = RunModal();
    if (result != QDialog::Accepted) {
        Restore();
        return false;
    }
    StoreIntoVariable();
    return true;
}

bool TDlgAddVar::EditInputVariable(CRuleBase& ruleBase, int index) {
    LoadForEdit(ruleBase, index);
    return RunEdit();
}

bool TDlgAddVar::EditOutputVariable(CRuleBase& ruleBase, int index) {
    LoadForEdit(ruleBase, -1 - index);
    return RunEdit();
}

bool TDlgAddVar::Passes(CRuleBase& ruleBase, int index, bool isInput) {
    LoadForEdit(ruleBase, isInput ? index : -1 - index);
    const VariableFields fields{edName->text().toStdString(), edLow->text().toStdString(),
                                edHigh->text().toStdString(), edDiscret->text().toStdString()};
    return !ValidateVariableFields(ruleBase, fields, {VariableIndex(), true, IsLinguistic()});
}

bool TDlgAddVar::CheckByIndex(CRuleBase& ruleBase, int index, bool isInput) {
    if (Passes(ruleBase, index, isInput))
        return true;
    return RunEdit();
}

bool TDlgAddVar::Add(CRuleBase& ruleBase, int copySource) {
    ruleBase_ = &ruleBase;
    editMode_ = false;
    isOutput_ = false;
    setWindowTitle("Add variable");
    lbCopyFromVar->show();
    cbxCopyVar->show();
    cbxCopyVar->clear();
    for (int a = 0; a < ruleBase.GetNumAntVariables(); ++a)
        cbxCopyVar->addItem(QString::fromStdString(ruleBase.GetVariableName(a)));
    variableIndex_ = std::clamp(copySource, 0, ruleBase.GetNumAntVariables() - 1);
    cbxCopyVar->setCurrentIndex(variableIndex_);
    cbxCopyVarChange();
    edDiscret->setText(QString::number(Variable().GetDiscretization()));
    lbDiscretization->show();
    edDiscret->show();
    // The new variable exists only after OK, so its expressions cannot be edited yet.
    btnEditTerms->hide();
    lbEditExpressions->hide();
    edName->setFocus();

    if (RunModal() != QDialog::Accepted)
        return false;
    const double low =
        FieldBound(toolkit::StrToFloat(edLow->text()), ruleBase.GetLowerBound(variableIndex_));
    const double high =
        FieldBound(toolkit::StrToFloat(edHigh->text()), ruleBase.GetUpperBound(variableIndex_));
    auto settings = std::make_shared<CLinguisticSettings>(low, high);
    if (const auto* source =
            dynamic_cast<const CBasicSettings*>(&ruleBase.GetSettings(variableIndex_)))
        settings->CopyTerms(*source);
    auto variable = std::make_unique<CFuzzyVariable>(edName->text().toStdString(), settings,
                                                     toolkit::StrToInt(edDiscret->text()));
    try {
        ruleBase.AddAntVariable(std::move(variable), variableIndex_);
    } catch (const ESyntaxRB&) {
        // Copied cells that do not fit the new bounds are shown in the rules grid.
    }
    return true;
}

void TDlgAddVar::cbxCopyVarChange() {
    if (!ruleBase_ || editMode_ || cbxCopyVar->currentIndex() < 0)
        return;
    variableIndex_ = cbxCopyVar->currentIndex();
    edName->setText("Copy_" + QString::fromStdString(Variable().GetName()));
    edLow->setText(BoundText(ruleBase_->GetLowerBound(variableIndex_)));
    edHigh->setText(BoundText(ruleBase_->GetUpperBound(variableIndex_)));
}

bool TDlgAddVar::Validate() {
    const VariableFields fields{edName->text().toStdString(), edLow->text().toStdString(),
                                edHigh->text().toStdString(), edDiscret->text().toStdString()};
    // A new name the file cannot hold would make every later Save fail; a name read from a file
    // is left as it came.
    if ((!editMode_ || fields.name != Variable().GetName()) && !FileHoldsName(fields.name)) {
        Refuse(edName, [this] {
            toolkit::ShowMessage(
                "Variable name \"" + edName->text() +
                "\" cannot be kept in a rulebase file: use letters, digits and signs without a "
                "comma, and no blank at its start or end.");
        });
        return false;
    }
    const auto error =
        ValidateVariableFields(*ruleBase_, fields, {VariableIndex(), editMode_, IsLinguistic()});
    if (!error)
        return true;
    ShowFieldError(*error);
    return false;
}

void TDlgAddVar::Refuse(QWidget* field, const std::function<void()>& tell) {
    // The field taking the focus back is no field left by the person: checking the one it
    // takes the focus from would refuse that one too, and each would take it back in turn.
    const QScopedValueRollback<bool> refusing(refusing_, true);
    tell();
    // The correction belongs in the field the message is about, not where the focus went next.
    if (field)
        field->setFocus();
}

void TDlgAddVar::ShowFieldError(const VariableFieldError& error) {
    QWidget* field = nullptr;
    if (error.field == BoundField::kLow)
        field = edLow;
    else if (error.field == BoundField::kHigh)
        field = edHigh;
    Refuse(field, [&error] {
        if (error.notANumber) {
            toolkit::MessageDlg(QString::fromStdString(error.message), "Warning",
                                toolkit::MsgIcon::Warning, toolkit::mbOK);
        } else {
            toolkit::ShowMessage(QString::fromStdString(error.message));
        }
    });
}

std::optional<double> TDlgAddVar::FieldValue(QLineEdit& field, double current) {
    double number = 0.0;
    try {
        number = toolkit::StrToFloat(field.text());
    } catch (const toolkit::EConvertError& error) {
        Refuse(&field, [&error] {
            toolkit::MessageDlg(error.what(), "Error", toolkit::MsgIcon::Error, toolkit::mbOK);
        });
        return std::nullopt;
    }
    const BoundField which = &field == edLow ? BoundField::kLow : BoundField::kHigh;
    if (const auto error = CheckBound(which, field.text().toStdString())) {
        ShowFieldError(*error);
        return std::nullopt;
    }
    return FieldBound(number, current);
}

void TDlgAddVar::OKBtnClick() {
    if (!ruleBase_ || !Validate())
        return;
    if (editMode_) {
        // Fields left as they were shown stand for the bounds as they are.
        const double low = FieldBound(toolkit::StrToFloat(edLow->text()), appliedLow_);
        const double high = FieldBound(toolkit::StrToFloat(edHigh->text()), appliedHigh_);
        const int variable = VariableIndex();
        if ((low != appliedLow_ || high != appliedHigh_) && RulesUseNumbers(*ruleBase_, variable)) {
            const bool outside = SomeNumberOutside(*ruleBase_, variable, low, high);
            QString question = "Do you want to recompute values?";
            if (outside)
                question += "Otherwise they will be cut";
            const auto answer = toolkit::MessageDlg(
                question, "Warning", toolkit::MsgIcon::Confirmation, toolkit::mbYesNoCancel);
            if (answer == toolkit::ModalResult::Cancel)
                return;
            if (answer == toolkit::ModalResult::Yes)
                ApplyToNumbers(*ruleBase_, variable,
                               Recomputer(low, high, openingLow_, openingHigh_));
            else if (outside)
                ApplyToNumbers(*ruleBase_, variable, Bounder(low, high));
        }
        ApplyBounds(low, high);
        if (IsLinguistic())
            Variable().SetDiscretization(toolkit::StrToInt(edDiscret->text()));
    }
    accept();
}

void TDlgAddVar::ApplyBounds(double low, double high) {
    if (low == appliedLow_ && high == appliedHigh_)
        return;
    CSettings& settings = ruleBase_->GetSettings(VariableIndex());
    if (auto* basic = dynamic_cast<CBasicSettings*>(&settings))
        basic->MoveContext(low, high);
    else
        settings.SetContext(low, high);
    appliedLow_ = low;
    appliedHigh_ = high;
}

void TDlgAddVar::Restore() {
    if (!editMode_)
        return;
    ApplyBounds(openingLow_, openingHigh_);
    // Expressions confirmed in their editor stay, and so do the cells it renamed them in.
    PrepareKeepingCells(*ruleBase_);
}

void TDlgAddVar::StoreIntoVariable() {
    Variable().SetName(edName->text().toStdString());
    PrepareKeepingCells(*ruleBase_);
}

void TDlgAddVar::RenameInRules(const std::map<std::string, std::string>& renames) {
    if (!ruleBase_ || renames.empty())
        return;
    RenameTermsInCells(*ruleBase_, VariableIndex(), renames);
    if (OnRenamedInRules)
        OnRenamedInRules(renames);
}

void TDlgAddVar::edDiscretExit() {
    if (!IsLinguistic())
        return;
    int discretization = 0;
    try {
        discretization = toolkit::StrToInt(edDiscret->text());
    } catch (const toolkit::EConvertError& error) {
        Refuse(edDiscret, [&error] {
            toolkit::MessageDlg(error.what(), "Error", toolkit::MsgIcon::Error, toolkit::mbOK);
        });
        return;
    }
    if (discretization < kDialogMinDiscretization || discretization > kDialogMaxDiscretization)
        Refuse(edDiscret, [] { toolkit::ShowMessage("Discretization is out of range"); });
    if (OnModified)
        OnModified();
}

void TDlgAddVar::edLowExit() {
    FieldValue(*edLow, appliedLow_);
}

void TDlgAddVar::edHighExit() {
    FieldValue(*edHigh, appliedHigh_);
}

void TDlgAddVar::btnEditTermsClick() {
    if (!ruleBase_ || !editMode_)
        return;
    const auto low = FieldValue(*edLow, appliedLow_);
    const auto high = low ? FieldValue(*edHigh, appliedHigh_) : std::nullopt;
    if (!low || !high)
        return;
    if (static_cast<float>(*high) <= static_cast<float>(*low)) {
        toolkit::ShowMessage("Low bound is greater or equal to high bound!");
        return;
    }
    ApplyBounds(*low, *high);
    if (OnEditExpressions)
        OnEditExpressions(*this);
}

bool TDlgAddVar::eventFilter(QObject* watched, QEvent* event) {
    // Leaving a field for Cancel checks nothing: the dialog is being abandoned; nor for OK,
    // which checks every field in order and stops at the first it refuses. Nor does a box or
    // another window taking the focus: the person has not left the field.
    const auto leftField = [this, event] {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
               !refusing_ && !CancelBtn->hasFocus() && !OKBtn->hasFocus() && isVisible();
    };
    if (event->type() == QEvent::FocusOut && leftField()) {
        if (watched == edDiscret)
            edDiscretExit();
        else if (watched == edLow)
            edLowExit();
        else if (watched == edHigh)
            edHighExit();
    }
    return QDialog::eventFilter(watched, event);
}
