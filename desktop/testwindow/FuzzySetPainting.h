#pragma once

#include <QColor>
#include <QString>
#include <array>

class QPainter;
struct FuzzySetBoxScene;

// Texts and drawing shared by the fuzzy-set boxes.
QString FixedTwoDecimals(double value);
// lo, (lo + hi) / 2 and hi, as the axis shows them.
std::array<QString, 3> BoundTexts(double lo, double hi);
void PaintBoxScene(QPainter& painter, const FuzzySetBoxScene& scene, const QString& valueText,
                   const std::array<QString, 3>& boundTexts, const QColor& markerColor);
