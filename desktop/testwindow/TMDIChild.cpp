#include "desktop/testwindow/TMDIChild.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QVBoxLayout>

#include "core/inference/MethodTables.h"
#include "core/rulebase/CRuleBase.h"
#include "core/sets/SetOperand.h"
#include "desktop/WindowAttributes.h"
#include "desktop/testwindow/FiredRulesText.h"
#include "desktop/testwindow/FuzzySetInputBox.h"
#include "desktop/testwindow/FuzzySetInputPanel.h"
#include "desktop/testwindow/FuzzySetOutputBox.h"
#include "desktop/testwindow/FuzzySetOutputPanel.h"
#include "desktop/testwindow/ProjectionBox.h"
#include "desktop/testwindow/ProjectionGraph.h"
#include "desktop/testwindow/TFormSurface.h"
#include "desktop/testwindow/TemporaryRuleBaseFile.h"
#include "desktop/testwindow/TestSampling.h"
#include "desktop/testwindow/TestWindowOwner.h"
#include "desktop/toolkit/Conversions.h"
#include "desktop/toolkit/UserPrompts.h"

namespace {

// Panel geometry in the scroll boxes: a margin of 10 at the left, 20 at the top and right,
// and a fixed pitch.
constexpr int kInputPitch = 140;
constexpr int kInputHeight = 130;
constexpr int kOutputPitch = 138;
constexpr int kOutputHeight = 128;

const DefuzzificationRoutine kSmoothRoutine = DefuzzificationMethodTable[5].Routine;

QRect PanelRect(int index, int pitch, int height, int clientWidth) {
    return QRect(10, pitch * index + 20, clientWidth - 30, height);
}

}  // namespace

struct TMDIChild::Private {
    Private(CRuleBase& ruleBase, TestWindowOwner* owner) : ruleBase(ruleBase), owner(owner) {}

    CRuleBase& ruleBase;
    TestWindowOwner* owner;
    std::vector<FuzzySetInputPanel*> inputPanels;
    std::vector<FuzzySetOutputPanel*> outputPanels;
    QWidget* inputsHost = nullptr;
    QWidget* outputsHost = nullptr;
    std::unique_ptr<CFuzzyDiscreteSet> currentOutputSet;
    double crispOutput = 0.0;
    std::vector<double> inputs;
    FuzzySetInputBox* currentInputBox = nullptr;
    int steps = kInitialSteps;
    int projectionPoint = -1;
    std::vector<double> projectionOutputs;
    // The inputs that the projection was drawn at.
    std::vector<double> projectedInputs;
    TemporaryRuleBaseFile temporary;
    bool reportingSteps = false;
    bool ruleBaseGone = false;
};

TMDIChild::TMDIChild(CRuleBase& ruleBase, const QString& name, TestWindowOwner* owner,
                     QWidget* parent)
    : QWidget(parent), d_(std::make_unique<Private>(ruleBase, owner)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(name + QStringLiteral(" - Test"));
    BuildControls();
    LoadWindowAttributes(*this);

    const int inputCount = ruleBase.GetNumAntVariables();
    const int outputCount = ruleBase.GetNumSucVariables();
    d_->inputs.assign(static_cast<std::size_t>(inputCount), 0.0);
    btSurface->setEnabled(inputCount > 1 && outputCount > 0);

    const int inputsWidth = sbxInputs->viewport()->width();
    for (int i = 0; i < inputCount; ++i) {
        auto* panel = new FuzzySetInputPanel(d_->inputsHost, i, ruleBase,
                                             PanelRect(i, kInputPitch, kInputHeight, inputsWidth));
        d_->inputPanels.push_back(panel);
        cbxProjectionVariable->addItem(QString::fromStdString(ruleBase.GetVariableName(i)));
        FuzzySetInputBox* box = panel->Box();
        connect(box, &FuzzySetInputBox::activated, this,
                [this, box] { d_->currentInputBox = box; });
        connect(box, &FuzzySetInputBox::cursorChanged, this, [this] { Evaluate(false); });
    }
    if (!d_->inputPanels.empty())
        d_->currentInputBox = d_->inputPanels.front()->Box();
    cbxProjectionVariable->setCurrentIndex(inputCount > 0 ? 0 : -1);
    cbxProjectionVariable->setMinimumWidth(cbxProjectionVariable->sizeHint().width());

    const int outputsWidth = sbxOutputs->viewport()->width();
    for (int k = 0; k < outputCount; ++k)
        d_->outputPanels.push_back(
            new FuzzySetOutputPanel(d_->outputsHost, -1 - k, ruleBase,
                                    PanelRect(k, kOutputPitch, kOutputHeight, outputsWidth)));
    PlacePanels();

    FillMethodCombos();
    ruleBase.SetProjectionSteps(d_->steps);
    edSteps->setText(QString::number(d_->steps));
    edSteps->setModified(true);
    if (ruleBase.GetUseFuzzyFilter() && cbUseFTFilter->isEnabled()) {
        const QSignalBlocker blocker(cbUseFTFilter);
        cbUseFTFilter->setChecked(true);
    }
    // Written once the methods have had their say on the filter.
    d_->temporary = WriteTemporaryRuleBase(ruleBase);
    MemoRuleBase->setPlainText(QString::fromStdString(d_->temporary.text));

    connect(cbxInfMethod, &QComboBox::currentIndexChanged, this, &TMDIChild::cbxInfMethodChange);
    connect(cbxDefMethod, &QComboBox::currentIndexChanged, this, &TMDIChild::cbxDefMethodChange);
    connect(cbUseFTFilter, &QCheckBox::toggled, this, &TMDIChild::cbUseFTFilterClick);
    connect(pbxProjection, &ProjectionBox::leftButtonPressed, this,
            &TMDIChild::pbxProjectionMouseDown);
    connect(pbxProjection, &ProjectionBox::leftButtonDragged, this,
            &TMDIChild::pbxProjectionMouseMove);
    connect(pbxProjection, &ProjectionBox::resized, this, [this] { UpdateProjection(); });
    connect(cbxProjectionVariable, &QComboBox::currentIndexChanged, this,
            &TMDIChild::cbxProjectionVariableChange);
    connect(chbxProjectionEnabled, &QCheckBox::toggled, this,
            &TMDIChild::chbxProjectionEnabledClick);
    connect(edSteps, &QLineEdit::editingFinished, this, &TMDIChild::edStepsExit);
    connect(btSurface, &QPushButton::clicked, this, &TMDIChild::btSurfaceClick);

    Evaluate(false);
    if (d_->owner)
        d_->owner->SetEditingEnabled(false);
}

TMDIChild::~TMDIChild() = default;

void TMDIChild::BuildControls() {
    resize(960, 680);
    auto* root = new QVBoxLayout(this);
    auto* columns = new QHBoxLayout;
    root->addLayout(columns, 1);

    auto* left = new QVBoxLayout;
    columns->addLayout(left, 3);
    auto* panel2 = new QWidget(this);
    auto* methods = new QGridLayout(panel2);
    methods->setContentsMargins(0, 0, 0, 0);
    cbxInfMethod = new QComboBox(panel2);
    lbDefMethod = new QLabel(QStringLiteral("Defuzzification method:"), panel2);
    cbxDefMethod = new QComboBox(panel2);
    // A method's name is the whole choice: the combos are never narrower than the longest, and
    // likewise the projection variable's.
    for (QComboBox* combo : {cbxInfMethod, cbxDefMethod})
        combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    cbUseFTFilter = new QCheckBox(QStringLiteral("Fuzzy Transform Filter"), panel2);
    methods->addWidget(new QLabel(QStringLiteral("Inference method:"), panel2), 0, 0);
    methods->addWidget(cbxInfMethod, 0, 1);
    methods->addWidget(lbDefMethod, 1, 0);
    methods->addWidget(cbxDefMethod, 1, 1);
    methods->addWidget(cbUseFTFilter, 2, 1);
    methods->setColumnStretch(1, 1);
    left->addWidget(panel2);

    const auto makeScrollBox = [this](QWidget*& host) {
        auto* box = new QScrollArea(this);
        box->setWidgetResizable(false);
        box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        host = new QWidget;
        box->setWidget(host);
        box->viewport()->installEventFilter(this);
        return box;
    };
    left->addWidget(new QLabel(QStringLiteral("Input variables:"), this));
    sbxInputs = makeScrollBox(d_->inputsHost);
    left->addWidget(sbxInputs, 3);
    left->addWidget(new QLabel(QStringLiteral("Output variables:"), this));
    sbxOutputs = makeScrollBox(d_->outputsHost);
    left->addWidget(sbxOutputs, 2);

    auto* right = new QVBoxLayout;
    columns->addLayout(right, 2);
    MemoRuleBase = new QPlainTextEdit(this);
    MemoRuleBase->setReadOnly(true);
    MemoRuleBase->setLineWrapMode(QPlainTextEdit::NoWrap);
    right->addWidget(MemoRuleBase, 2);
    MemoFiredRules = new QPlainTextEdit(this);
    MemoFiredRules->setReadOnly(true);
    MemoFiredRules->setLineWrapMode(QPlainTextEdit::NoWrap);
    right->addWidget(MemoFiredRules, 1);

    // Two short rows, so that the method combos on the left keep the room for their names.
    auto* projectionRow = new QHBoxLayout;
    cbxProjectionVariable = new QComboBox(this);
    cbxProjectionVariable->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    chbxProjectionEnabled = new QCheckBox(QStringLiteral("Enabled"), this);
    chbxProjectionEnabled->setChecked(true);
    edSteps = new QLineEdit(this);
    edSteps->setFixedWidth(edSteps->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 12);
    btSurface = new QPushButton(QStringLiteral("&Surface"), this);
    projectionRow->addWidget(new QLabel(QStringLiteral("Projection variable:"), this));
    projectionRow->addWidget(cbxProjectionVariable, 1);
    projectionRow->addWidget(chbxProjectionEnabled);
    right->addLayout(projectionRow);
    auto* stepsRow = new QHBoxLayout;
    stepsRow->addWidget(new QLabel(QStringLiteral("Steps:"), this));
    stepsRow->addWidget(edSteps);
    stepsRow->addStretch(1);
    stepsRow->addWidget(btSurface);
    right->addLayout(stepsRow);
    pbxProjection = new ProjectionBox(this);
    right->addWidget(pbxProjection, 2);

    stbChild = new QStatusBar(this);
    root->addWidget(stbChild);
    // Lays the scroll boxes out now, so that the panels are made to their client widths.
    root->activate();
}

void TMDIChild::FillMethodCombos() {
    const QSignalBlocker inferenceBlocker(cbxInfMethod);
    const QSignalBlocker defuzzificationBlocker(cbxDefMethod);
    const QSignalBlocker filterBlocker(cbUseFTFilter);
    CRuleBase& ruleBase = d_->ruleBase;
    const auto addInference = [&](std::size_t row) {
        const InferenceMethodRecord& record = CrispInferenceMethodTable[row];
        cbxInfMethod->addItem(QString::fromUtf8(record.DisplayName.data(),
                                                static_cast<qsizetype>(record.DisplayName.size())),
                              static_cast<int>(row));
        if (record.Routine == ruleBase.GetInferenceMethod())
            cbxInfMethod->setCurrentIndex(cbxInfMethod->count() - 1);
    };
    switch (ruleBase.GetTypeOfDescription()) {
        case CRuleBase::kLinguistic:
            for (std::size_t row = 0; row < 5; ++row)
                addInference(row);
            for (std::size_t row = 0; row < DefuzzificationMethodTable.size(); ++row) {
                const DefuzzificationMethodRecord& record = DefuzzificationMethodTable[row];
                cbxDefMethod->addItem(
                    QString::fromUtf8(record.DisplayName.data(),
                                      static_cast<qsizetype>(record.DisplayName.size())),
                    static_cast<int>(row));
                if (record.Routine == ruleBase.GetDefuzzificationMethod())
                    cbxDefMethod->setCurrentIndex(static_cast<int>(row));
            }
            if (ruleBase.GetDefuzzificationMethod() == kSmoothRoutine) {
                cbUseFTFilter->setChecked(false);
                cbUseFTFilter->setEnabled(false);
                ruleBase.RecordUseFuzzyFilter(false);
            }
            break;
        case CRuleBase::kSingleton:
            addInference(5);
            cbxDefMethod->hide();
            lbDefMethod->hide();
            break;
        default:
            break;
    }
    for (QComboBox* combo : {cbxInfMethod, cbxDefMethod})
        combo->setMinimumWidth(combo->sizeHint().width());
}

CRuleBase& TMDIChild::RuleBase() const {
    return d_->ruleBase;
}
int TMDIChild::Steps() const {
    return d_->steps;
}
int TMDIChild::ProjectionPoint() const {
    return d_->projectionPoint;
}
const std::vector<double>& TMDIChild::ProjectionOutputs() const {
    return d_->projectionOutputs;
}
const std::string& TMDIChild::TemporaryFilePath() const {
    return d_->temporary.path;
}
const std::vector<FuzzySetInputPanel*>& TMDIChild::InputPanels() const {
    return d_->inputPanels;
}
const std::vector<FuzzySetOutputPanel*>& TMDIChild::OutputPanels() const {
    return d_->outputPanels;
}
FuzzySetInputBox* TMDIChild::CurrentInputBox() const {
    return d_->currentInputBox;
}

void TMDIChild::ReadInputs() {
    for (std::size_t i = 0; i < d_->inputPanels.size(); ++i) {
        d_->inputPanels[i]->FollowRange();
        d_->inputs[i] = d_->inputPanels[i]->Value();
    }
}

void TMDIChild::Evaluate(bool forced) {
    if (d_->ruleBaseGone)
        return;
    Private& d = *d_;
    CRuleBase& ruleBase = d.ruleBase;
    ReadInputs();

    d.currentOutputSet.reset();
    std::optional<double> crisp;
    try {
        switch (ruleBase.GetTypeOfDescription()) {
            case CRuleBase::kLinguistic: {
                InferenceResult result = ruleBase.Infer(d.inputs);
                d.currentOutputSet = std::move(result.set);
                // Defuzzified right after its inference, while the rule base still holds the
                // user's inputs (the smooth method reads them).
                d.crispOutput =
                    d.currentOutputSet
                        ? ruleBase.Defuzzify(SetOperand(std::as_const(*d.currentOutputSet)))
                        : result.value;
                crisp = d.crispOutput;
                break;
            }
            case CRuleBase::kSingleton:
                d.crispOutput = ruleBase.Infer(d.inputs).value;
                crisp = d.crispOutput;
                break;
            default:
                break;
        }
        // The filter answers instead of the rule base, here as in the projection.
        if (crisp && cbUseFTFilter->isChecked()) {
            d.crispOutput = ruleBase.FilteredInference(d.inputs);
            crisp = d.crispOutput;
        }
    } catch (const std::exception& error) {
        stbChild->showMessage(QString::fromUtf8(error.what()));
    }

    MemoFiredRules->setPlainText(QString::fromStdString(FiredRulesText(ruleBase)));

    // Inference gives the first output only; further outputs have no result to show.
    for (std::size_t k = 0; k < d.outputPanels.size(); ++k) {
        if (k == 0)
            d.outputPanels[k]->ShowResult(d.currentOutputSet.get(), crisp);
        else
            d.outputPanels[k]->ShowResult(nullptr, std::nullopt);
    }

    if (forced || OtherInputsMoved()) {
        UpdateProjection();
    } else if (d.projectionPoint == -1) {
        UpdateProjection();
        d.projectionPoint = -2;
    }
}

// The projection runs its own input over the whole context, so only the others change it: they
// may be moved by a drag, by typing or from the program.
bool TMDIChild::OtherInputsMoved() const {
    const Private& d = *d_;
    if (d.projectedInputs.size() != d.inputs.size())
        return true;
    const auto projected = static_cast<std::size_t>(cbxProjectionVariable->currentIndex());
    for (std::size_t i = 0; i < d.inputs.size(); ++i) {
        if (i != projected && d.inputs[i] != d.projectedInputs[i])
            return true;
    }
    return false;
}

void TMDIChild::UpdateProjection() {
    if (d_->ruleBaseGone)
        return;
    Private& d = *d_;
    const int variable = cbxProjectionVariable->currentIndex();
    d.projectionOutputs.clear();
    if (d.outputPanels.empty() || !chbxProjectionEnabled->isChecked() || variable < 0) {
        pbxProjection->SetScene({});
        return;
    }
    CRuleBase& ruleBase = d.ruleBase;
    ReadInputs();
    d.projectedInputs = d.inputs;
    try {
        SampleProjection(ruleBase, d.inputs, variable, d.steps, cbUseFTFilter->isChecked(),
                         d.projectionOutputs);
    } catch (const std::exception& error) {
        d.projectionOutputs.clear();
        stbChild->showMessage(QString::fromUtf8(error.what()));
    }
    pbxProjection->SetScene(ComputeProjectionScene(
        pbxProjection->size(), d.projectionOutputs, ruleBase.GetLowerBound(variable),
        ruleBase.GetUpperBound(variable), ruleBase.GetLowerBound(-1), ruleBase.GetUpperBound(-1),
        d.projectionPoint));
}

void TMDIChild::Recompute(bool forced) {
    if (d_->ruleBaseGone)
        return;
    if (cbUseFTFilter->isChecked()) {
        try {
            d_->ruleBase.UpdateFuzzyFilter();
        } catch (const std::exception& error) {
            stbChild->showMessage(QString::fromUtf8(error.what()));
        }
    }
    Evaluate(forced);
}

void TMDIChild::cbxInfMethodChange(int index) {
    if (d_->ruleBaseGone)
        return;
    if (index < 0)
        return;
    const int row = cbxInfMethod->itemData(index).toInt();
    d_->ruleBase.SetInferenceMethod(
        CrispInferenceMethodTable[static_cast<std::size_t>(row)].Routine);
    if (d_->owner)
        d_->owner->SetInferenceMethodIndex(index);
    ShowRuleBase();
    Recompute(true);
}

void TMDIChild::cbxDefMethodChange(int index) {
    if (d_->ruleBaseGone)
        return;
    if (index < 0)
        return;
    const int row = cbxDefMethod->itemData(index).toInt();
    const DefuzzificationRoutine routine =
        DefuzzificationMethodTable[static_cast<std::size_t>(row)].Routine;
    d_->ruleBase.SetDefuzzificationMethod(routine);
    if (d_->owner)
        d_->owner->SetDefuzzificationMethodIndex(index);
    if (routine != kSmoothRoutine) {
        cbUseFTFilter->setEnabled(true);
    } else {
        cbUseFTFilter->setChecked(false);
        cbUseFTFilter->setEnabled(false);
        d_->ruleBase.RecordUseFuzzyFilter(false);
    }
    ShowRuleBase();
    // The output panel shows the new method's value even when the box was unchecked above.
    Recompute(true);
}

void TMDIChild::cbUseFTFilterClick(bool checked) {
    if (d_->ruleBaseGone)
        return;
    try {
        d_->ruleBase.SetUseFuzzyFilter(checked);
    } catch (const std::exception& error) {
        stbChild->showMessage(QString::fromUtf8(error.what()));
    }
    if (d_->owner)
        d_->owner->SetFuzzyFilterChecked(checked);
    ShowRuleBase();
    // The crisp output follows the filter as the projection does.
    Evaluate(true);
}

void TMDIChild::ShowRuleBase() {
    if (UpdateTemporaryRuleBase(d_->temporary, d_->ruleBase))
        MemoRuleBase->setPlainText(QString::fromStdString(d_->temporary.text));
}

void TMDIChild::PlacePanels() {
    const auto place = [](QScrollArea* box, QWidget* host, const auto& panels, int pitch,
                          int height) {
        const int count = static_cast<int>(panels.size());
        const int width = box->viewport()->width();
        host->resize(width, count > 0 ? pitch * (count - 1) + height + 30 : 0);
        for (int k = 0; k < count; ++k)
            panels[static_cast<std::size_t>(k)]->setGeometry(PanelRect(k, pitch, height, width));
    };
    place(sbxInputs, d_->inputsHost, d_->inputPanels, kInputPitch, kInputHeight);
    place(sbxOutputs, d_->outputsHost, d_->outputPanels, kOutputPitch, kOutputHeight);
}

void TMDIChild::sbxOutputsResize() {
    PlacePanels();
}

void TMDIChild::pbxProjectionMouseDown(int x) {
    pbxProjectionMouseMove(x);
}

void TMDIChild::pbxProjectionMouseMove(int x) {
    if (d_->ruleBaseGone)
        return;
    const int variable = cbxProjectionVariable->currentIndex();
    if (variable < 0 || d_->outputPanels.empty() || !chbxProjectionEnabled->isChecked())
        return;
    const ProjectionPick pick = PickProjectionPoint(x, pbxProjection->width(), d_->steps);
    d_->inputPanels[static_cast<std::size_t>(variable)]->SetCursor(pick.cursor);
    d_->projectionPoint = -1;
    pbxProjection->update();
}

void TMDIChild::cbxProjectionVariableChange() {
    UpdateProjection();
}

void TMDIChild::chbxProjectionEnabledClick(bool checked) {
    cbxProjectionVariable->setEnabled(checked);
    UpdateProjection();
}

void TMDIChild::edStepsExit() {
    if (d_->ruleBaseGone)
        return;
    if (!edSteps->isModified())
        return;
    // The box reporting a bad number takes the focus, which would finish the edit again.
    if (d_->reportingSteps)
        return;
    int steps = 0;
    try {
        steps = toolkit::StrToInt(edSteps->text());
    } catch (const toolkit::EConvertError& error) {
        d_->reportingSteps = true;
        toolkit::MessageDlg(QString::fromUtf8(error.what()),
                            QGuiApplication::applicationDisplayName(), toolkit::MsgIcon::Error,
                            toolkit::mbOK);
        d_->reportingSteps = false;
        return;
    }
    d_->steps = std::max(1, steps);
    d_->ruleBase.SetProjectionSteps(d_->steps);
    edSteps->setText(QString::number(d_->steps));
    Recompute(true);
    edSteps->setModified(false);
}

void TMDIChild::btSurfaceClick() {
    if (d_->ruleBaseGone)
        return;
    auto* surface = new TFormSurface(*this);
    surface->show();
}

void TMDIChild::SampleSurface(Net3D& net, int i, int j, int n) {
    if (d_->ruleBaseGone)
        return;
    ReadInputs();
    ::SampleSurface(d_->ruleBase, d_->inputs, i, j, n, net);
}

void TMDIChild::FormActivate() {
    if (d_->ruleBaseGone)
        return;
    if (d_->owner)
        d_->owner->UpdateSaveState();
    // Rules, methods, contexts and names may have been edited meanwhile: the projection is
    // computed again with the rest, and the rule base and names are shown as they are now.
    ShowRuleBase();
    for (int i = 0; i < cbxProjectionVariable->count(); ++i)
        cbxProjectionVariable->setItemText(i,
                                           QString::fromStdString(d_->ruleBase.GetVariableName(i)));
    Evaluate(true);
    for (FuzzySetInputPanel* panel : d_->inputPanels)
        panel->update();
    for (FuzzySetOutputPanel* panel : d_->outputPanels)
        panel->update();
}

void TMDIChild::ForgetRuleBase() {
    d_->ruleBaseGone = true;
    d_->owner = nullptr;
    // The output set may share its universe with the rule base's variables.
    for (FuzzySetOutputPanel* panel : d_->outputPanels)
        panel->ClearResult();
    d_->currentOutputSet.reset();
}

void TMDIChild::FormClose() {
    if (d_->owner)
        d_->owner->SetEditingEnabled(true);
    try {
        SaveWindowAttributes(*this);
    } catch (const std::exception&) {
        // A placement that cannot be stored is not worth keeping the window open for.
    }
}

bool TMDIChild::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate)
        FormActivate();
    return QWidget::event(event);
}

void TMDIChild::closeEvent(QCloseEvent* event) {
    FormClose();
    event->accept();
}

bool TMDIChild::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize && sbxInputs && sbxOutputs &&
        (watched == sbxOutputs->viewport() || watched == sbxInputs->viewport()))
        sbxOutputsResize();
    return QWidget::eventFilter(watched, event);
}
