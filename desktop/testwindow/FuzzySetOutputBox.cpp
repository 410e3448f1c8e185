#include "desktop/testwindow/FuzzySetOutputBox.h"

#include <QPainter>
#include <cmath>

#include "desktop/testwindow/FuzzySetPainting.h"

FuzzySetOutputBox::FuzzySetOutputBox(QWidget* owner, double lo, double hi, const QRect& rect)
    : QWidget(owner), lo_(lo), hi_(hi) {
    boundTexts_ = BoundTexts(lo, hi);
    setGeometry(rect);
    UpdateScene();
    show();
}

void FuzzySetOutputBox::SetRange(double lo, double hi) {
    lo_ = lo;
    hi_ = hi;
    boundTexts_ = BoundTexts(lo, hi);
}

void FuzzySetOutputBox::ShowResult(const CFuzzySet* set, std::optional<double> crisp) {
    hasResult_ = crisp && std::isfinite(*crisp);
    if (hasResult_)
        position_ = (*crisp - lo_) / (hi_ - lo_);
    set_ = set;
    UpdateScene();
    emit resultShown();
}

void FuzzySetOutputBox::UpdateScene() {
    // A marker stays on the axis even for a result beyond the context; the value text tells.
    const double shown = hasResult_ ? std::clamp(position_, 0.0, 1.0) : -1.0;
    scene_ = OutputBoxScene(size(), set_, lo_, hi_, shown);
    valueText_ = hasResult_ ? FixedTwoDecimals(Value()) : QString();
    update();
}

void FuzzySetOutputBox::resizeEvent(QResizeEvent*) {
    UpdateScene();
}

void FuzzySetOutputBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    PaintBoxScene(painter, scene_, valueText_, boundTexts_, QColor(200, 0, 0));
}
