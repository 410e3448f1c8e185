#pragma once

#include <QString>
#include <QWidget>

#include "desktop/testwindow/FuzzySetBoxGeometry.h"

// A box with a cursor over the context [lo, hi] of an input variable, dragged with the left
// mouse button. The cursor is kept normalised, in [0, 1].
class FuzzySetInputBox : public QWidget {
    Q_OBJECT
    Q_PROPERTY(double cursor READ Cursor WRITE SetCursor NOTIFY cursorChanged)

  public:
    FuzzySetInputBox(QWidget* owner, double lo, double hi, const QRect& rect);

    // The cursor keeps its place on the axis; its value moves with the context.
    void SetRange(double lo, double hi);
    double Cursor() const { return cursor_; }
    // Clamped into [0, 1].
    void SetCursor(double cursor);
    double Value() const { return lo_ + (hi_ - lo_) * cursor_; }
    const FuzzySetBoxScene& Scene() const { return scene_; }

  signals:
    void cursorChanged(double cursor);
    // The user pressed or dragged the box; it is now the one the user works with.
    void activated();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    void PositionFromMouse(int x);
    void UpdateScene();

    double lo_;
    double hi_;
    double cursor_ = 0.5;
    bool dragging_ = false;
    // The move that Qt may deliver right after a press repeats the press; it is skipped.
    bool skipNextMove_ = false;
    FuzzySetBoxScene scene_;
    QString valueText_;
    std::array<QString, 3> boundTexts_;
};
