#pragma once

#include <QString>
#include <QWidget>
#include <optional>

#include "desktop/testwindow/FuzzySetBoxGeometry.h"

class CFuzzySet;

// A box that draws an inferred output set over the context [lo, hi] of an output variable and
// marks the crisp result on the axis.
class FuzzySetOutputBox : public QWidget {
    Q_OBJECT

  public:
    FuzzySetOutputBox(QWidget* owner, double lo, double hi, const QRect& rect);

    // For the next result, which is placed on the new context.
    void SetRange(double lo, double hi);
    // set: borrowed until the next call (the test window keeps its current output set that
    // long), or null; crisp: the result to mark, none for no result.
    void ShowResult(const CFuzzySet* set, std::optional<double> crisp);
    // The result's place on the axis, normalised (0.5 before any result).
    double Position() const { return position_; }
    bool HasResult() const { return hasResult_; }
    double Value() const { return lo_ + (hi_ - lo_) * position_; }
    const FuzzySetBoxScene& Scene() const { return scene_; }

  signals:
    void resultShown();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void UpdateScene();

    double lo_;
    double hi_;
    double position_ = 0.5;
    bool hasResult_ = false;
    const CFuzzySet* set_ = nullptr;
    FuzzySetBoxScene scene_;
    QString valueText_;
    std::array<QString, 3> boundTexts_;
};
