#include "ToolbarFixtureForm.h"

#include "toolbars/TCustomToolWindowKit.h"
#include "toolbars/TDockKit.h"
#include "toolbars/TToolbarButtonKit.h"
#include "toolbars/TToolbarKit.h"

#include <QApplication>
#include <QTest>

namespace {

QtMessageHandler previousHandler = nullptr;

void QuietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtWarningMsg && message.startsWith(QStringLiteral("This plugin does not support")))
        return;
    if (previousHandler)
        previousHandler(type, context, message);
}

}  // namespace

void SilenceOffscreenPlatformNotices() {
    if (!previousHandler)
        previousHandler = qInstallMessageHandler(QuietHandler);
}

ToolbarFixtureForm::ToolbarFixtureForm() : Center(new QWidget(this)) {
    setObjectName(QStringLiteral("FixtureForm"));
    setWindowTitle(QStringLiteral("Toolbar fixture"));
    Center->setAutoFillBackground(true);
    QPalette pal = Center->palette();
    pal.setColor(QPalette::Window, Qt::white);
    Center->setPalette(pal);
    setCentralWidget(Center);
    setGeometry(100, 100, 600, 400);
}

TToolbarKit* ToolbarFixtureForm::AddToolbar(const QString& Name, TDockKit* Dock, int Buttons,
                                            int Row, int Pos) {
    auto* toolbar = new TToolbarKit(this);
    toolbar->setObjectName(Name);
    toolbar->SetCaption(Name);
    for (int i = 1; i <= Buttons; ++i)
        AddButton(toolbar, QString::number(i));
    toolbar->SetDockRow(Row);
    toolbar->SetDockPos(Pos);
    if (Dock)
        toolbar->SetParent(Dock);
    toolbar->ArrangeControls();
    return toolbar;
}

TToolbarButtonKit* ToolbarFixtureForm::AddButton(TToolbarKit* Toolbar, const QString& Caption) {
    auto* button = new TToolbarButtonKit(Toolbar);
    button->setObjectName(Toolbar->objectName() + QStringLiteral("Button") + Caption);
    button->SetCaption(Caption);
    return button;
}

void ToolbarFixtureForm::ShowAndActivate() {
    show();
    activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(this));
    ProcessLayouts();
}

void ProcessLayouts() {
    // Two rounds: a layout may ask for another one (a toolbar resizing its dock).
    for (int round = 0; round < 2; ++round) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        QCoreApplication::processEvents();
    }
}

void PressToolWindow(TCustomToolWindowKit* Window, QPoint Press, Qt::KeyboardModifiers Modifiers) {
    QTest::mousePress(Window, Qt::LeftButton, Modifiers, Press);
}

void MoveMouse(QWidget* Receiver, QPoint Target, Qt::KeyboardModifiers Modifiers) {
    QTest::mouseEvent(QTest::MouseMove, Receiver, Qt::NoButton, Modifiers,
                      Receiver->mapFromGlobal(Target));
}

void ReleaseMouse(QWidget* Receiver, QPoint Target, Qt::KeyboardModifiers Modifiers) {
    QTest::mouseRelease(Receiver, Qt::LeftButton, Modifiers, Receiver->mapFromGlobal(Target));
}

void DragToolWindow(TCustomToolWindowKit* Window, QPoint Press, QPoint Target,
                    Qt::KeyboardModifiers Modifiers) {
    PressToolWindow(Window, Press, Modifiers);
    MoveMouse(Window, Target, Modifiers);
    ReleaseMouse(Window, Target, Modifiers);
    ProcessLayouts();
}

void DeactivateApplication() {
    QApplicationStateChangeEvent event(Qt::ApplicationInactive);
    QCoreApplication::sendEvent(qApp, &event);
}

void ReactivateApplication(QWidget* Window) {
    Window->activateWindow();
    QApplicationStateChangeEvent event(Qt::ApplicationActive);
    QCoreApplication::sendEvent(qApp, &event);
}
