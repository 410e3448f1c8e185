#pragma once

// Types of the toolbar unit.

struct TToolbarParams {
    // The first layout orders the controls by their positions.
    bool InitializeOrderByPosition = true;
    // While designing, the order follows the controls' positions.
    bool DesignOrderByPosition = true;
};
