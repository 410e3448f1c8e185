#pragma once

#include <QWidget>

#include <memory>

class TDockKit;

// A dock on each side around a central widget: the top and bottom docks span the whole width,
// the left and right docks the height between them. Every dock takes the thickness its rows
// need and the central widget gets the rest, also as the frame is resized. The docks are
// named "DockTop", "DockBottom", "DockLeft" and "DockRight", the names saved positions use.
class DockingFrame : public QWidget {
    Q_OBJECT

  public:
    explicit DockingFrame(QWidget* Parent = nullptr);
    ~DockingFrame() override;

    TDockKit* DockTop;
    TDockKit* DockBottom;
    TDockKit* DockLeft;
    TDockKit* DockRight;

    // The frame takes Widget over; a previous central widget is deleted once control returns to
    // the event loop. Null leaves the centre empty.
    void setCentralWidget(QWidget* Widget);
    QWidget* centralWidget() const;

  private:
    struct Private;
    std::unique_ptr<Private> d;
};
