#include "toolbars/ToolbarLayout.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace {

// Snap tolerance before it is lowered for close neighbours.
constexpr int kSnapTolerance = 12;

}  // namespace

int ToolbarBarSize(std::span<const TToolbarLayoutItem> Items) {
    int size = kMinimumBarSize;
    for (const TToolbarLayoutItem& item : Items)
        if (!item.Separator)
            size = std::max(size, item.Thickness);
    return size;
}

int EffectiveWrapLimit(int FloatingWidth, std::span<const TToolbarLayoutItem> Items) {
    if (FloatingWidth == 0)
        return 0;
    int widest = 0;
    for (const TToolbarLayoutItem& item : Items)
        if (!item.Separator)
            widest = std::max(widest, item.Length);
    return std::max(FloatingWidth, widest + 8);
}

TToolbarLayout LayoutToolbar(const TToolbarLayoutInput& Input) {
    const TToolbarMargins margins =
        Input.Floating ? kFloatingToolbarMargins : kDockedToolbarMargins;
    const bool canWrap = Input.Floating && Input.WrapLimit > 0;
    const int B = Input.BarSize;
    const int L = Input.LineThickness;
    const auto items = Input.Items;

    TToolbarLayout layout;
    layout.ItemRects.resize(items.size());
    std::vector<bool> wrappedAway(items.size(), false);

    // Groups end after each separator.
    std::vector<std::pair<std::size_t, std::size_t>> groups;
    for (std::size_t begin = 0, i = 0; i < items.size(); ++i)
        if (items[i].Separator || i + 1 == items.size()) {
            groups.emplace_back(begin, i + 1);
            begin = i + 1;
        }

    int x = margins.Left;
    int y = margins.Top;
    bool forceNewLine = false;
    for (std::size_t g = 0; g < groups.size(); ++g) {
        const auto [begin, end] = groups[g];
        int groupLength = 0;
        for (std::size_t i = begin; i < end; ++i)
            groupLength += items[i].Length;
        if (canWrap && (forceNewLine || x + groupLength + margins.Right > Input.WrapLimit)) {
            x = margins.Left;
            if (g > 0) {
                y += B + kLineSeparatorSpacing;
                const std::size_t last = groups[g - 1].second - 1;
                if (items[last].Separator) {
                    wrappedAway[last] = true;
                    layout.LineSeparators.push_back({y, items[last].Blank});
                }
            }
        }
        forceNewLine = false;
        for (std::size_t i = begin; i < end; ++i) {
            const TToolbarLayoutItem& item = items[i];
            if (!item.Separator && canWrap && x + item.Length + margins.Right > Input.WrapLimit) {
                x = margins.Left;
                y += B;
                forceNewLine = true;
            }
            const int across = item.Separator ? L : item.Thickness;
            const int offset = item.Separator ? 0 : (L - across) / 2;
            layout.ItemRects[i] = Input.Vertical ? QRect(y + offset, x, across, item.Length)
                                                 : QRect(x, y + offset, item.Length, across);
            x += item.Length;
        }
    }

    int highestX = margins.Left;
    for (std::size_t i = 0; i < items.size(); ++i) {
        QRect& rect = layout.ItemRects[i];
        if (wrappedAway[i]) {
            if (Input.Vertical)
                rect.setHeight(0);
            else
                rect.setWidth(0);
            continue;
        }
        highestX =
            std::max(highestX, Input.Vertical ? rect.y() + rect.height() : rect.x() + rect.width());
    }
    if (items.empty())
        highestX += kMinimumBarSize;
    const int along = highestX + margins.Right;
    const int across = y + B + margins.Bottom;
    layout.ClientSize = Input.Vertical ? QSize(across, along) : QSize(along, across);
    return layout;
}

std::vector<TPotentialSize> BuildPotentialSizes(const std::function<QSize(int)>& Layout) {
    std::vector<TPotentialSize> sizes;
    const QSize unwrapped = Layout(0);
    sizes.push_back({unwrapped, 0});
    // A limit below 8 cannot hold any control.
    int x = unwrapped.width() - 1;
    while (x > 7) {
        const QSize result = Layout(x);
        if (result.width() > x)
            break;
        if (result.width() < x) {
            x = result.width();
            continue;
        }
        const bool duplicate =
            std::any_of(sizes.begin(), sizes.end(),
                        [&](const TPotentialSize& s) { return s.ClientSize == result; });
        if (!duplicate) {
            if (sizes.size() > 1 && sizes.back().ClientSize.height() == result.height())
                sizes.back() = {result, x};
            else
                sizes.push_back({result, x});
        }
        --x;
    }
    return sizes;
}

TSnapTracker::TSnapTracker(std::vector<int> LengthsLongestFirst, int CurrentIndex)
    : lengths_(std::move(LengthsLongestFirst)),
      current_(CurrentIndex),
      lastProposed_(lengths_.empty() ? 0 : lengths_[static_cast<std::size_t>(CurrentIndex)]) {
    UpdateTolerance();
}

void TSnapTracker::UpdateTolerance() {
    tolerance_ = kSnapTolerance;
    if (lengths_.empty())
        return;
    const int here = lengths_[static_cast<std::size_t>(current_)];
    for (int neighbour : {current_ - 1, current_ + 1}) {
        if (neighbour < 0 || neighbour >= static_cast<int>(lengths_.size()))
            continue;
        const int distance = std::abs(lengths_[static_cast<std::size_t>(neighbour)] - here);
        tolerance_ = std::min(tolerance_, distance - 1);
    }
    tolerance_ = std::max(0, tolerance_);
}

int TSnapTracker::Track(int Proposed) {
    if (lengths_.empty())
        return current_;
    const int direction = Proposed > lastProposed_ ? 1 : (Proposed < lastProposed_ ? -1 : 0);
    if (direction == 0)
        return current_;
    const bool turned = direction_ != 0 && direction != direction_;
    direction_ = direction;
    lastProposed_ = Proposed;
    const int here = lengths_[static_cast<std::size_t>(current_)];
    if (!turned && std::abs(Proposed - here) <= tolerance_)
        return current_;
    const int count = static_cast<int>(lengths_.size());
    int chosen;
    if (direction > 0) {
        chosen = 0;  // the longest when none lies beyond the cursor
        for (int i = count - 1; i >= 0; --i)
            if (lengths_[static_cast<std::size_t>(i)] > Proposed) {
                chosen = i;
                break;
            }
    } else {
        chosen = count - 1;  // the shortest when none fits within the cursor
        for (int i = 0; i < count; ++i)
            if (lengths_[static_cast<std::size_t>(i)] <= Proposed) {
                chosen = i;
                break;
            }
    }
    if (chosen != current_) {
        current_ = chosen;
        UpdateTolerance();
    }
    return current_;
}
