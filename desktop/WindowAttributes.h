#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>

class QWidget;

// Where a form stood when it was last closed, in the per-user registry under its caption: one
// 20-byte little-endian record {Left, Top, Width, Height as int32; maximised byte; 3 zero
// bytes}. The bounds are the window's normal (not maximised) ones, without its frame; an MDI
// child is placed in its MDI area's coordinates.

inline constexpr const char* kWindowAttributesKey = "SOFTWARE\\TAVOWin\\WindowAtributes";

struct WindowPlacement {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    bool Maximized = false;
    bool operator==(const WindowPlacement&) const = default;
};

std::array<std::uint8_t, 20> EncodeWindowPlacement(const WindowPlacement& placement);
// Empty for a record of any other size.
std::optional<WindowPlacement> DecodeWindowPlacement(std::span<const std::uint8_t> record);

// Stores the normal bounds: a maximised or minimised form is restored first, as on screen.
// Throws platform::registry::RegistryError when the store cannot be written.
void SaveWindowAttributes(QWidget& form);
// Keeps the form's own placement when there is no record, the record is damaged, or its
// bounds lie off every screen (off the MDI area for a child). A window is moved wholly onto its
// screen's available area, frame included, and an MDI child into its area, when it fits there.
// Never throws.
void LoadWindowAttributes(QWidget& form);
