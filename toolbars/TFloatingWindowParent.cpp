#include "toolbars/TFloatingWindowParent.h"

#include "toolbars/TCustomToolWindowKit.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>

namespace {

constexpr Qt::WindowFlags kHostFlags =
    Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus;

}  // namespace

TFloatingWindowParent::TFloatingWindowParent(QWidget* ParentForm)
    : QWidget(ParentForm, kHostFlags), parentForm_(ParentForm) {
    setObjectName(
        QStringLiteral("TBKFloatingWindowParent_%1")
            .arg(static_cast<quint32>(reinterpret_cast<quintptr>(this)), 8, 16, QLatin1Char('0')));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setGeometry(0, 0, 0, 0);
}

TFloatingWindowParent::~TFloatingWindowParent() {
    // The hosted tool window goes with the host; tell it first, while it can still ask.
    for (auto* toolWindow : findChildren<TCustomToolWindowKit*>(Qt::FindDirectChildrenOnly))
        toolWindow->HostDestroyed(this);
}

void TFloatingWindowParent::SetShouldBeVisible(bool ShouldBeVisible) {
    shouldBeVisible_ = ShouldBeVisible;
    if (isVisible() == ShouldBeVisible)
        return;
    // A window manager minimises the host together with its form, and a host shown again in
    // that state maps iconic, which minimises the whole group, the form with it. The host
    // follows its form's state, never keeps one of its own.
    if (ShouldBeVisible && isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    QWidget::setVisible(ShouldBeVisible);
}

void TFloatingWindowParent::SetOnTopOfAllForms(bool OnTop) {
    const Qt::WindowFlags wanted = OnTop ? kHostFlags | Qt::WindowStaysOnTopHint : kHostFlags;
    if (windowFlags() == wanted)
        return;
    const bool shown = isVisible();
    setWindowFlags(wanted);  // hides the window
    if (shown)
        QWidget::setVisible(true);
}

void TFloatingWindowParent::keyPressEvent(QKeyEvent* event) {
    // Escape belongs to the form (it may close a dialog).
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier && parentForm_) {
        QKeyEvent copy(event->type(), event->key(), event->modifiers(), event->text());
        QApplication::sendEvent(parentForm_, &copy);
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TFloatingWindowParent::closeEvent(QCloseEvent* event) {
    // A close request to the floating window is meant for its form.
    event->ignore();
    if (parentForm_)
        parentForm_->close();
}

void TFloatingWindowParent::changeEvent(QEvent* event) {
    // The form keeps the activation; a floating toolbar only borrows the mouse.
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && parentForm_ &&
        parentForm_->isVisible())
        parentForm_->activateWindow();
    QWidget::changeEvent(event);
}
