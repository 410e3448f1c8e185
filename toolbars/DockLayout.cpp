#include "toolbars/DockLayout.h"

#include <cstddef>

namespace {

// Indexes of the bars of each row, rows in order of appearance.
std::vector<std::vector<std::size_t>> RowsOf(std::span<const TDockLayoutBar> bars) {
    std::vector<std::vector<std::size_t>> rows;
    std::vector<int> rowNumbers;
    for (std::size_t i = 0; i < bars.size(); ++i) {
        std::size_t row = 0;
        while (row < rowNumbers.size() && rowNumbers[row] != bars[i].Row)
            ++row;
        if (row == rowNumbers.size()) {
            rowNumbers.push_back(bars[i].Row);
            rows.emplace_back();
        }
        rows[row].push_back(i);
    }
    return rows;
}

// Pushes every bar past the end of the bar before it; full-size bars start the row.
void PushForward(std::span<const TDockLayoutBar> bars, const std::vector<std::size_t>& row,
                 std::vector<int>& positions) {
    int end = 0;
    for (std::size_t i : row) {
        if (bars[i].FullSize)
            positions[i] = 0;
        else if (positions[i] <= end)
            positions[i] = end;
        end = positions[i] + bars[i].Length;
    }
}

}  // namespace

TDockPacking PackDockRows(std::span<const TDockLayoutBar> Bars, int RoomAlong) {
    TDockPacking packing;
    packing.DockPos.reserve(Bars.size());
    for (const TDockLayoutBar& bar : Bars)
        packing.DockPos.push_back(bar.Pos);
    const auto rows = RowsOf(Bars);
    for (const auto& row : rows)
        PushForward(Bars, row, packing.DockPos);
    packing.Placed = packing.DockPos;
    for (const auto& row : rows) {
        int limit = RoomAlong;
        for (auto it = row.rbegin(); it != row.rend(); ++it) {
            const TDockLayoutBar& bar = Bars[*it];
            if (bar.FullSize)
                continue;
            int& position = packing.Placed[*it];
            if (limit - bar.Length < position)
                position = limit - bar.Length;
            limit = position;
        }
        // The pull-back may have gone below 0 or into a neighbour.
        PushForward(Bars, row, packing.Placed);
    }
    return packing;
}
