#pragma once

#include "toolbars/TCustomToolbarKit.h"

// The toolbar as forms use it.
class TToolbarKit : public TCustomToolbarKit {
    Q_OBJECT

  public:
    using TCustomToolbarKit::TCustomToolbarKit;
};
