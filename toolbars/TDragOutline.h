#pragma once

#include <QRect>
#include <QWidget>

// The rectangle that follows the mouse while a tool window is dragged or sized: a frame of
// checkered dots in a window above everything that takes no input and is shaped to the frame,
// so that what lies inside stays visible. It stands in for the outline the original inverted
// on the desktop.
class TDragOutline : public QWidget {
    Q_OBJECT

  public:
    TDragOutline();

    // ScreenRect empty: nothing is shown.
    void SetOutline(const QRect& ScreenRect, int FrameWidth);
    QRect Outline() const { return outline_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QRect outline_;
    int frameWidth_ = 1;
};
