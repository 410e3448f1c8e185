#pragma once

#include <QRect>
#include <QSize>

#include <functional>
#include <span>
#include <vector>

// Placement of a toolbar's controls in lines, and the sizes a floating toolbar snaps to, as
// plain data.

struct TToolbarLayoutItem {
    int Length = 0;     // along the line; for a separator its SizeHorz or SizeVert
    int Thickness = 0;  // across the line; ignored for separators
    bool Separator = false;
    bool Blank = false;
};

struct TToolbarMargins {
    int Top, Bottom, Left, Right;
};
inline constexpr TToolbarMargins kFloatingToolbarMargins{2, 1, 4, 4};
inline constexpr TToolbarMargins kDockedToolbarMargins{0, 0, 0, 0};

// Space between the two lines of a wrap that happened at a separator.
inline constexpr int kLineSeparatorSpacing = 6;
// The least bar size, and the length of an empty toolbar.
inline constexpr int kMinimumBarSize = 8;

struct TToolbarLayoutInput {
    std::span<const TToolbarLayoutItem> Items;  // the visible controls in layout order
    bool Floating = false;
    bool Vertical = false;  // on a left or right dock: lines run top to bottom
    int WrapLimit = 0;      // client width at which lines wrap (floating only); 0 = never
    int BarSize = kMinimumBarSize;
    int LineThickness = kMinimumBarSize;  // across a line, for centring controls
};

struct TLineSeparatorInfo {
    int Y = 0;  // top of the line that began after the separator
    bool Blank = false;
};

struct TToolbarLayout {
    // Client rectangles in the toolbar's own orientation. A separator at which a line wrapped
    // has zero length there.
    std::vector<QRect> ItemRects;
    std::vector<TLineSeparatorInfo> LineSeparators;
    QSize ClientSize;
};

// The largest thickness of the non-separator items, at least kMinimumBarSize.
int ToolbarBarSize(std::span<const TToolbarLayoutItem> Items);
// FloatingWidth 0 never wraps; any other value is raised to 8 more than the longest
// non-separator item.
int EffectiveWrapLimit(int FloatingWidth, std::span<const TToolbarLayoutItem> Items);

TToolbarLayout LayoutToolbar(const TToolbarLayoutInput& Input);

struct TPotentialSize {
    QSize ClientSize;
    int WrapLimit = 0;  // the limit that gives this size; 0 for the unwrapped size
};

// Every client size at which a floating toolbar's wrapping changes, the unwrapped one first.
// Layout answers the client size for a wrap limit (0 = none).
std::vector<TPotentialSize> BuildPotentialSizes(const std::function<QSize(int)>& Layout);

// Chooses among lengths (longest first) while the user drags a floating toolbar's edge: the size
// stays while the cursor is within a tolerance of the current length and keeps its direction;
// growing takes the shortest length beyond the cursor, shrinking the longest one within it.
class TSnapTracker {
  public:
    TSnapTracker(std::vector<int> LengthsLongestFirst, int CurrentIndex);

    // Proposed: the length the cursor asks for, measured from the fixed edge.
    int Track(int Proposed);
    int Current() const { return current_; }
    int Tolerance() const { return tolerance_; }

  private:
    void UpdateTolerance();

    std::vector<int> lengths_;
    int current_;
    int tolerance_ = 0;
    int lastProposed_;
    int direction_ = 0;
};
