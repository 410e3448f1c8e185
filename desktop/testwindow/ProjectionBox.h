#pragma once

#include <QWidget>

#include "desktop/testwindow/ProjectionGraph.h"

// The paint box of the projection graph: draws a computed scene and reports the left button's
// presses and drags.
class ProjectionBox : public QWidget {
    Q_OBJECT

  public:
    explicit ProjectionBox(QWidget* parent);

    void SetScene(ProjectionScene scene);
    const ProjectionScene& Scene() const { return scene_; }

  signals:
    void leftButtonPressed(int x);
    void leftButtonDragged(int x);
    void resized();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

  private:
    ProjectionScene scene_;
};
