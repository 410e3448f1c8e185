#pragma once

#include <QRect>
#include <QSize>
#include <array>

// Places the six children of a fuzzy-set panel (name label, name edit, value label, value edit,
// typical-expression label, typical-expression edit) in a column at the left, spread evenly over
// the panel's height, and the box to their right.
struct FuzzySetPanelPlacement {
    static constexpr int kEditWidth = 80;
    std::array<QRect, 6> children;
    QRect box;
};

// childSizes: the natural sizes of the six children in order; edits are
// given the fixed edit width instead.
FuzzySetPanelPlacement PlaceFuzzySetPanel(QSize panel, const std::array<QSize, 6>& childSizes);
