#include "desktop/testwindow/ProjectionGraph.h"

#include <algorithm>
#include <cmath>

namespace {

QString AxisNumber(double value) {
    return QString::number(value, 'g', 15);
}

int Round(double value) {
    // Keeps absurd values (far outside the context) within what a QPoint holds.
    return static_cast<int>(std::lround(std::clamp(value, -1e6, 1e6)));
}

}  // namespace

ProjectionScene ComputeProjectionScene(QSize size, std::span<const double> outputs, double inputLo,
                                       double inputHi, double outputLo, double outputHi,
                                       int highlighted) {
    using S = ProjectionScene;
    ProjectionScene scene;
    scene.plot = QRect(QPoint(S::kLeft, S::kTop),
                       QPoint(size.width() - S::kRight, size.height() - S::kBottom));
    const int left = S::kLeft, right = size.width() - S::kRight;
    const int top = S::kTop, bottom = size.height() - S::kBottom;
    const auto yOf = [&](double value) {
        return bottom - Round((value - outputLo) / (outputHi - outputLo) * (bottom - top));
    };
    if (outputLo < 0 && 0 < outputHi) {
        scene.hasZeroLine = true;
        scene.zeroLine = QLine(left, yOf(0.0), right, yOf(0.0));
    }

    const double inputMid = (inputLo + inputHi) / 2;
    scene.inputTexts = {AxisNumber(inputLo), AxisNumber(inputMid), AxisNumber(inputHi)};
    scene.inputAnchors = {QPoint(left, bottom + 6), QPoint((left + right) / 2, bottom + 6),
                          QPoint(right, bottom + 6)};
    const double outputMid = (outputLo + outputHi) / 2;
    scene.outputTexts = {AxisNumber(outputLo), AxisNumber(outputMid), AxisNumber(outputHi)};
    scene.outputAnchors = {QPoint(left - 4, bottom), QPoint(left - 4, (top + bottom) / 2),
                           QPoint(left - 4, top)};

    const int steps = static_cast<int>(outputs.size()) - 1;
    if (steps < 1)
        return scene;
    scene.line.reserve(steps + 1);
    scene.marks.reserve(outputs.size());
    for (int k = 0; k <= steps; ++k) {
        const double value = outputs[static_cast<std::size_t>(k)];
        if (!std::isfinite(value))
            continue;
        const QPoint point(left + Round(static_cast<double>(k) * (right - left) / steps),
                           yOf(value));
        scene.line.append(point);
        scene.marks.emplace_back(point.x() - S::kMark, point.y() - S::kMark, 2 * S::kMark + 1,
                                 2 * S::kMark + 1);
        if (k == highlighted) {
            scene.hasHighlight = true;
            scene.highlight = QRect(point.x() - S::kHighlightMark, point.y() - S::kHighlightMark,
                                    2 * S::kHighlightMark + 1, 2 * S::kHighlightMark + 1);
        }
    }
    return scene;
}

ProjectionPick PickProjectionPoint(int x, int width, int steps) {
    const int span = width - ProjectionScene::kLeft - ProjectionScene::kRight;
    const double position =
        span > 0 ? std::clamp(static_cast<double>(x - ProjectionScene::kLeft) / span, 0.0, 1.0)
                 : 0.0;
    const float step = 1.0f / static_cast<float>(std::max(1, steps));
    ProjectionPick pick;
    pick.index = static_cast<int>(position / step + 0.5);
    pick.cursor = pick.index * step;
    return pick;
}
