#pragma once

#include <QWidget>

#include "desktop/userterms/UserTermPlot.h"

// A paint box of the user-expressions editor: draws the scene it was given and reports the
// mouse and its own resizing to the editor, which builds the scenes.
class UserTermPaintBox : public QWidget {
    Q_OBJECT

  public:
    explicit UserTermPaintBox(QWidget* parent = nullptr);

    const userterm::PlotScene& Scene() const { return scene_; }
    void SetScene(userterm::PlotScene scene);

  signals:
    void mouseMoved(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, int x, int y);
    void mouseReleased(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);
    void resized();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    userterm::PlotScene scene_;
};
