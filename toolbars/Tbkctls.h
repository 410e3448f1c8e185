#pragma once

class QMetaObject;
class QObject;

// Types of the toolbar-button unit, and its register of "Kit" control classes.

namespace tbk {

enum TButtonDisplayMode { dmBoth, dmGlyphOnly, dmTextOnly };

enum TButtonStateKit { bsUp, bsDisabled, bsDown, bsExclusive, bsMouseIn };

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

enum TAlignment { taLeftJustify, taRightJustify, taCenter };

}  // namespace tbk

// Number of images in a glyph strip: up, disabled, down, exclusive, mouse-in.
using TNumGlyphsKit = int;
inline constexpr TNumGlyphsKit kMaxNumGlyphs = 5;

// Classes registered here count as "Kit" controls (an instance of a subclass counts too).
void RegisterKitControlClass(const QMetaObject* Class);
void UnregisterKitControlClass(const QMetaObject* Class);
// Null answers false.
bool ControlIsKitControl(const QObject* Control);
