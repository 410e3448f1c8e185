#pragma once

#include "toolbars/DockingFrame.h"
#include "toolbars/Tbk.h"

#include <QPoint>

class TCustomToolWindowKit;
class TDockKit;
class TToolbarButtonKit;
class TToolbarKit;

// A docking frame with a plain white centre, for the toolbar tests.
class ToolbarFixtureForm : public DockingFrame {
    Q_OBJECT

  public:
    ToolbarFixtureForm();

    QWidget* Center;

    // A toolbar named Name with Buttons flat buttons of 23 x 22 (captions "1", "2", ...),
    // docked at (Row, Pos), or floating on the form when Dock is null.
    TToolbarKit* AddToolbar(const QString& Name, TDockKit* Dock, int Buttons, int Row = 0,
                            int Pos = 0);
    TToolbarButtonKit* AddButton(TToolbarKit* Toolbar, const QString& Caption);
    // Shows the form, makes it the active window and lets pending layouts run.
    void ShowAndActivate();
};

// Drops the offscreen platform's notices about what it cannot do (grabs, raising windows);
// call from initTestCase, after the test framework has installed its own handler.
void SilenceOffscreenPlatformNotices();

// Lets deferred layouts of every widget run.
void ProcessLayouts();

// A drag of a tool window with the left button from Press (in the window) to the screen point
// Target, as the mouse would do it while the window has grabbed it.
void DragToolWindow(TCustomToolWindowKit* Window, QPoint Press, QPoint Target,
                    Qt::KeyboardModifiers Modifiers = Qt::NoModifier);
// The press of a drag, and one move of it.
void PressToolWindow(TCustomToolWindowKit* Window, QPoint Press,
                     Qt::KeyboardModifiers Modifiers = Qt::NoModifier);
void MoveMouse(QWidget* Receiver, QPoint Target, Qt::KeyboardModifiers Modifiers = Qt::NoModifier);
void ReleaseMouse(QWidget* Receiver, QPoint Target,
                  Qt::KeyboardModifiers Modifiers = Qt::NoModifier);

// The application loses and regains activation, as when the user switches programs.
void DeactivateApplication();
void ReactivateApplication(QWidget* Window);
