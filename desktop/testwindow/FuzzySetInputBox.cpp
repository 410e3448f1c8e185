#include "desktop/testwindow/FuzzySetInputBox.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "desktop/testwindow/FuzzySetPainting.h"

FuzzySetInputBox::FuzzySetInputBox(QWidget* owner, double lo, double hi, const QRect& rect)
    : QWidget(owner), lo_(lo), hi_(hi) {
    boundTexts_ = BoundTexts(lo, hi);
    setGeometry(rect);
    UpdateScene();
    show();
}

void FuzzySetInputBox::SetRange(double lo, double hi) {
    lo_ = lo;
    hi_ = hi;
    boundTexts_ = BoundTexts(lo, hi);
    UpdateScene();
}

void FuzzySetInputBox::SetCursor(double cursor) {
    cursor = std::clamp(cursor, 0.0, 1.0);
    if (cursor == cursor_)
        return;
    cursor_ = cursor;
    UpdateScene();
    emit cursorChanged(cursor_);
}

void FuzzySetInputBox::UpdateScene() {
    scene_ = InputBoxScene(size(), cursor_);
    valueText_ = FixedTwoDecimals(Value());
    update();
}

void FuzzySetInputBox::resizeEvent(QResizeEvent*) {
    UpdateScene();
}

void FuzzySetInputBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    PaintBoxScene(painter, scene_, valueText_, boundTexts_, palette().color(QPalette::Highlight));
}

void FuzzySetInputBox::mousePressEvent(QMouseEvent* event) {
    skipNextMove_ = false;
    if (event->button() == Qt::LeftButton) {
        dragging_ = true;
        skipNextMove_ = true;
    }
    PositionFromMouse(event->position().toPoint().x());
}

void FuzzySetInputBox::mouseMoveEvent(QMouseEvent* event) {
    if (skipNextMove_) {
        skipNextMove_ = false;
        return;
    }
    PositionFromMouse(event->position().toPoint().x());
}

void FuzzySetInputBox::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        dragging_ = false;
}

void FuzzySetInputBox::PositionFromMouse(int x) {
    emit activated();
    if (dragging_)
        SetCursor(PositionAtPixel(x, width()));
}
