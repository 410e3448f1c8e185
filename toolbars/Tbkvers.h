#pragma once

// What the Version property of every toolbar class reads; writes to it are ignored.
inline constexpr const char* TBKVersionText = "ToolbarKit version 1.0";
