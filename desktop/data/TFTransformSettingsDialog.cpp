#include "desktop/data/TFTransformSettingsDialog.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <cmath>

#include "core/ftransform/TFuzzyCover.h"
#include "core/rulebase/CRuleBase.h"
#include "desktop/data/DataTransforms.h"
#include "desktop/toolkit/Conversions.h"
#include "desktop/toolkit/RefusedText.h"
#include "desktop/toolkit/UserPrompts.h"

namespace {

// The paint box of the preview: draws the line computed when the shape or the size changes.
class BasicFunctionBox : public QWidget {
  public:
    explicit BasicFunctionBox(QWidget* parent) : QWidget(parent) {
        setMinimumSize(160, 90);
        setAutoFillBackground(true);
        setBackgroundRole(QPalette::Base);
    }

    void SetShape(int shape) {
        shape_ = shape;
        Recompute();
        update();
    }

  protected:
    void resizeEvent(QResizeEvent*) override { Recompute(); }
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setPen(palette().text().color());
        if (!line_.empty())
            painter.drawPolyline(line_.data(), static_cast<int>(line_.size()));
    }

  private:
    void Recompute() { line_ = BasicFunctionPreview(shape_, width(), height()); }

    int shape_ = ftTriangular;
    std::vector<QPoint> line_;
};

}  // namespace

std::vector<QPoint> BasicFunctionPreview(int shape, int width, int height) {
    const std::unique_ptr<TFuzzyCover> cover = CreateFuzzyCover(shape, 0.0, 1.0);
    if (!cover)
        return {};
    const double h = height - 1;
    std::vector<QPoint> line{QPoint(0, static_cast<int>(h))};
    // t = k / 100 rather than a sum of 0.01 steps, which would pass 1 before its last step.
    for (int k = 0; k <= 100; ++k) {
        const double t = k / 100.0;
        line.emplace_back(static_cast<int>(std::lround(width * t)),
                          static_cast<int>(std::lround(h * (1.0 - cover->Value(t)))));
    }
    return line;
}

TFTransformSettingsDialog::TFTransformSettingsDialog(QWidget* parent) : QDialog(parent) {
    setObjectName("FTransformSettingsDialog");
    setWindowTitle("F-Transform Settings");
    cbVariable = new QComboBox(this);
    edNumOfPartitions = new QLineEdit("10", this);
    rgShapeOfBasicFunctions = new QGroupBox(" Shape of Basic Functions: ", this);
    shapeButtons = new QButtonGroup(this);
    auto* shapes = new QVBoxLayout(rgShapeOfBasicFunctions);
    int code = 0;
    for (const char* caption : {"Triangular", "Quadratic", "Sinusoidal", "FuzzyNumber"}) {
        auto* button = new QRadioButton(caption, rgShapeOfBasicFunctions);
        shapeButtons->addButton(button, code++);
        shapes->addWidget(button);
    }
    shapeButtons->button(0)->setChecked(true);
    pbBasicFunction = new BasicFunctionBox(this);
    cbOutputToFile = new QCheckBox("&Output to File", this);
    cbOptimize = new QCheckBox("O&ptimize to max error:", this);
    edMaxErrorValue = new QLineEdit("0.001", this);
    btOK = new QPushButton("OK", this);
    btOK->setDefault(true);
    btCancel = new QPushButton("Cancel", this);

    auto* fields = new QFormLayout;
    fields->addRow("Variable:", cbVariable);
    fields->addRow("Number of Nodes:", edNumOfPartitions);
    auto* shapeRow = new QHBoxLayout;
    shapeRow->addWidget(rgShapeOfBasicFunctions, 0, Qt::AlignTop);
    shapeRow->addWidget(pbBasicFunction, 1);
    auto* optimizeRow = new QHBoxLayout;
    optimizeRow->addWidget(cbOptimize);
    optimizeRow->addWidget(edMaxErrorValue);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btOK);
    buttons->addWidget(btCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    // Room the dialog gains goes to the preview, not between the rows.
    layout->addLayout(shapeRow, 1);
    layout->addWidget(cbOutputToFile);
    layout->addLayout(optimizeRow);
    layout->addLayout(buttons);

    connect(cbVariable, &QComboBox::currentIndexChanged, this, [this] { cbVariableChange(); });
    connect(edNumOfPartitions, &QLineEdit::editingFinished, this,
            [this] { edNumOfPartitionsExit(); });
    connect(shapeButtons, &QButtonGroup::idClicked, this,
            [this](int shape) { rgShapeOfBasicFunctionsClick(shape); });
    connect(btOK, &QPushButton::clicked, this, [this] { btOKClick(); });
    connect(btCancel, &QPushButton::clicked, this, &QDialog::reject);
    // A mark is about the text that was refused, which the person is now changing.
    for (QLineEdit* edit : {edNumOfPartitions, edMaxErrorValue})
        connect(edit, &QLineEdit::textChanged, this,
                [edit] { toolkit::MarkRefusedText(*edit, QString()); });
}

TFTransformSettingsDialog::~TFTransformSettingsDialog() = default;

FTDimensionSettings* TFTransformSettingsDialog::ShownRecord() {
    const int index = cbVariable->currentIndex();
    if (!settings_ || index < 0 || index >= static_cast<int>(settings_->size()))
        return nullptr;
    return &(*settings_)[index];
}

bool TFTransformSettingsDialog::Execute(const CRuleBase& ruleBase,
                                        std::vector<FTDimensionSettings>& settings) {
    if (settings.empty())
        settings = DefaultFTransformSettings(ruleBase);
    settings_ = nullptr;
    cbVariable->clear();
    for (int i = 0; i < ruleBase.GetNumAntVariables(); ++i)
        cbVariable->addItem(QString::fromStdString(ruleBase.GetVariableName(i)));
    settings_ = &settings;
    cbVariable->setCurrentIndex(0);
    cbVariableChange();
    return toolkit::ShowModal(*this) == QDialog::Accepted;
}

void TFTransformSettingsDialog::cbVariableChange() {
    const FTDimensionSettings* record = ShownRecord();
    if (!record)
        return;
    edNumOfPartitions->setText(QString::number(record->nodes));
    if (QAbstractButton* button = shapeButtons->button(record->shape))
        button->setChecked(true);
    static_cast<BasicFunctionBox*>(pbBasicFunction)->SetShape(record->shape);
}

bool TFTransformSettingsDialog::edNumOfPartitionsExit() {
    try {
        const int nodes = toolkit::StrToInt(edNumOfPartitions->text());
        if (FTDimensionSettings* record = ShownRecord())
            record->nodes = nodes;
        return true;
    } catch (const toolkit::EConvertError& error) {
        Refuse(*edNumOfPartitions, QString::fromUtf8(error.what()));
        return false;
    }
}

// Most machines make no sound for a beep: the mark says it, and why.
void TFTransformSettingsDialog::Refuse(QLineEdit& edit, const QString& reason) {
    QApplication::beep();
    toolkit::MarkRefusedText(edit, reason);
    edit.setFocus();
}

void TFTransformSettingsDialog::rgShapeOfBasicFunctionsClick(int shape) {
    if (FTDimensionSettings* record = ShownRecord())
        record->shape = static_cast<std::uint8_t>(shape);
    static_cast<BasicFunctionBox*>(pbBasicFunction)->SetShape(shape);
}

void TFTransformSettingsDialog::btOKClick() {
    if (!edNumOfPartitionsExit())
        return;
    if (cbOptimize->isChecked()) {
        double tolerance = 0.0;
        try {
            tolerance = toolkit::StrToFloat(edMaxErrorValue->text());
        } catch (const toolkit::EConvertError& error) {
            Refuse(*edMaxErrorValue, QString::fromUtf8(error.what()));
            return;
        }
        maxError_ = tolerance;
    }
    accept();
}
