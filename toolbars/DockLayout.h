#pragma once

#include <span>
#include <vector>

// Packing of the bars of a dock's rows, as plain data.

struct TDockLayoutBar {
    int Row = 0;
    int Pos = 0;     // the bar's own position along the row (its DockPos)
    int Length = 0;  // along the row
    bool FullSize = false;
};

struct TDockPacking {
    // Positions after the bars that overlap an earlier bar of their row were pushed past it;
    // these become the bars' DockPos.
    std::vector<int> DockPos;
    // Where the bars go: also pulled back from the end of the room as far as the bars before
    // them allow. Written back into DockPos only when positions are committed.
    std::vector<int> Placed;
};

// Bars are given in row order, and by position within a row. Positions never go below 0 and
// bars never overlap; a row longer than RoomAlong keeps its first bars in order and overflows
// past the end.
TDockPacking PackDockRows(std::span<const TDockLayoutBar> Bars, int RoomAlong);
