#include "desktop/testwindow/TFormSurface.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <optional>

#include "core/rulebase/CRuleBase.h"
#include "desktop/graphics3d/Graphics3D.h"
#include "desktop/graphics3d/Net3D.h"
#include "desktop/graphics3d/SurfaceRotation.h"
#include "desktop/testwindow/SurfaceBox.h"
#include "desktop/testwindow/SurfacePlacement.h"
#include "desktop/testwindow/TMDIChild.h"
#include "desktop/toolkit/ScreenPlacement.h"
#include "desktop/toolkit/UserPrompts.h"

namespace {

constexpr int kFewestSteps = 10;
constexpr int kMostSteps = 70;

// Moves other off index: to the next item when it shows the first one, else to the previous.
void KeepApart(QComboBox* changed, QComboBox* other) {
    if (changed->currentIndex() != other->currentIndex() || other->count() < 2)
        return;
    const QSignalBlocker blocker(other);
    other->setCurrentIndex(other->currentIndex() == 0 ? 1 : other->currentIndex() - 1);
}

QRect GlobalRect(const QWidget& widget) {
    return {widget.mapToGlobal(QPoint(0, 0)), widget.size()};
}

// The test window as the screen shows it: its MDI frame when it has one, as far as the MDI area
// does not cut it off.
QRect ScreenRect(const QWidget& testWindow) {
    if (testWindow.isWindow())
        return testWindow.frameGeometry();
    const QWidget& frame = *testWindow.parentWidget();
    if (frame.isWindow() || !frame.parentWidget())
        return GlobalRect(frame);
    return GlobalRect(frame) & GlobalRect(*frame.parentWidget());
}

}  // namespace

struct TFormSurface::Private {
    explicit Private(TMDIChild& testWindow) : testWindow(testWindow) {}

    TMDIChild& testWindow;
    Net3D net;
    Graphics3D renderer;
    int rotationAxis = 1;
    bool dragging = false;
    Vector3D mousePoint;
};

// A tool window of the program stays above its windows; a window kept above every other would
// hide the program's own message boxes too.
TFormSurface::TFormSurface(TMDIChild& testWindow)
    : QWidget(&testWindow, Qt::Tool), d_(std::make_unique<Private>(testWindow)) {
    setAttribute(Qt::WA_DeleteOnClose);
    FormCreate();
    PlaceBesideTestWindow();
    // The frame is known, and the placement final, once the window is shown.
    toolkit::OnceFramed(*this, [this] { PlaceBesideTestWindow(); });
    Recompute();
}

TFormSurface::~TFormSurface() = default;

void TFormSurface::FormCreate() {
    auto* root = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    root->addLayout(top);
    const auto colouredLabel = [this](const QString& text, const char* colour) {
        auto* label = new QLabel(text, this);
        label->setStyleSheet(QStringLiteral("color: %1;").arg(QLatin1String(colour)));
        return label;
    };
    cbxVar1 = new QComboBox(this);
    cbxVar2 = new QComboBox(this);
    cbxSteps = new QComboBox(this);
    btRecount = new QPushButton(QStringLiteral("&Recompute"), this);
    top->addWidget(colouredLabel(QStringLiteral("Variable 1:"), "blue"));
    top->addWidget(cbxVar1, 1);
    top->addWidget(colouredLabel(QStringLiteral("Variable 2:"), "green"));
    top->addWidget(cbxVar2, 1);
    top->addWidget(new QLabel(QStringLiteral("Steps:"), this));
    top->addWidget(cbxSteps);
    top->addWidget(btRecount);
    pbxSurface = new SurfaceBox(this, d_->renderer, d_->net);
    root->addWidget(pbxSurface, 1);

    for (int steps = kFewestSteps; steps <= kMostSteps; ++steps)
        cbxSteps->addItem(QString::number(steps));
    cbxSteps->setCurrentIndex(0);
    const CRuleBase& ruleBase = d_->testWindow.RuleBase();
    for (int i = 0; i < ruleBase.GetNumAntVariables(); ++i) {
        const QString name = QString::fromStdString(ruleBase.GetVariableName(i));
        cbxVar1->addItem(name);
        cbxVar2->addItem(name);
    }
    cbxVar1->setCurrentIndex(0);
    cbxVar2->setCurrentIndex(cbxVar2->count() > 1 ? 1 : 0);
    setWindowTitle(QStringLiteral("Surface of ") + d_->testWindow.windowTitle());
    // Long names of variables widen the row of combos: the window takes what its controls need
    // now, where it is placed, not when it is shown.
    resize(QSize(520, 560).expandedTo(minimumSizeHint()));

    connect(btRecount, &QPushButton::clicked, this, &TFormSurface::btRecountClick);
    connect(cbxSteps, &QComboBox::currentIndexChanged, this, &TFormSurface::cbxStepsChange);
    connect(cbxVar1, &QComboBox::currentIndexChanged, this, &TFormSurface::cbxVar1Change);
    connect(cbxVar2, &QComboBox::currentIndexChanged, this, &TFormSurface::cbxVar2Change);
    connect(pbxSurface, &SurfaceBox::mousePressed, this, &TFormSurface::pbxSurfaceMouseDown);
    connect(pbxSurface, &SurfaceBox::mouseMoved, this, &TFormSurface::pbxSurfaceMouseMove);
    connect(pbxSurface, &SurfaceBox::mouseReleased, this, &TFormSurface::pbxSurfaceMouseUp);
}

const Net3D& TFormSurface::Net() const {
    return d_->net;
}
Graphics3D& TFormSurface::Renderer() const {
    return d_->renderer;
}
int TFormSurface::RotationAxis() const {
    return d_->rotationAxis;
}
bool TFormSurface::IsDragging() const {
    return d_->dragging;
}

// A window of its own would open wherever the window manager puts it, which may be over the
// main window's menu; beside the test window it hides neither.
void TFormSurface::PlaceBesideTestWindow() {
    const QWidget& testWindow = d_->testWindow;
    const QScreen* screen = testWindow.screen();
    if (!screen)
        return;
    const QMargins frame = toolkit::FrameMargins(*this);
    const QPoint at =
        PlaceBeside(ScreenRect(testWindow), size().grownBy(frame), screen->availableGeometry());
    setGeometry(QRect(at + QPoint(frame.left(), frame.top()), size()));
}

void TFormSurface::Recompute() {
    const int i = cbxVar1->currentIndex();
    const int j = cbxVar2->currentIndex();
    if (i < 0 || j < 0 || i == j || d_->testWindow.RuleBase().GetNumSucVariables() == 0)
        return;
    // Sampled aside, so that a failure leaves the surface as it was drawn.
    Net3D sampled;
    std::optional<QString> failure;
    {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        const auto restoreCursor = qScopeGuard([] { QGuiApplication::restoreOverrideCursor(); });
        try {
            d_->testWindow.SampleSurface(sampled, i, j, cbxSteps->currentText().toInt());
        } catch (const std::exception& error) {
            failure = QString::fromUtf8(error.what());
        }
    }
    if (failure) {
        toolkit::MessageDlg(*failure, QStringLiteral("Error"), toolkit::MsgIcon::Error,
                            toolkit::mbOK);
        return;
    }
    // Nothing is sampled once the rule base has gone with its editor.
    if (sampled.PointCount() > 0)
        d_->net = std::move(sampled);
    pbxSurface->update();
}

void TFormSurface::btRecountClick() {
    Recompute();
}

void TFormSurface::cbxStepsChange() {
    Recompute();
}

void TFormSurface::cbxVar1Change(int) {
    KeepApart(cbxVar1, cbxVar2);
    Recompute();
}

void TFormSurface::cbxVar2Change(int) {
    KeepApart(cbxVar2, cbxVar1);
    Recompute();
}

void TFormSurface::pbxSurfaceMouseDown(QPoint point) {
    d_->mousePoint = d_->renderer.Unproject(point.x(), point.y());
    d_->rotationAxis = PickRotationAxis(d_->renderer.ViewMatrix(), d_->mousePoint);
    Rotate();
    d_->dragging = true;
}

void TFormSurface::pbxSurfaceMouseMove(QPoint point) {
    if (!d_->dragging)
        return;
    d_->mousePoint = d_->renderer.Unproject(point.x(), point.y());
    Rotate();
}

void TFormSurface::pbxSurfaceMouseUp() {
    d_->dragging = false;
}

void TFormSurface::Rotate() {
    Transform3D view = d_->renderer.ViewMatrix();
    if (RotateView(view, d_->rotationAxis, d_->mousePoint))
        d_->renderer.SetViewMatrix(view);
    pbxSurface->update();
}
