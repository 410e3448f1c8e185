#pragma once

#include <QIcon>

// The pictures of the main window's speed buttons, drawn once in code.
QIcon FileNewGlyph();
QIcon FileOpenGlyph();
QIcon FileSaveGlyph();
QIcon CascadeGlyph();
QIcon TileHorizontallyGlyph();
QIcon TileVerticallyGlyph();
// The program's own icon and that of its editor windows.
QIcon ApplicationGlyph();
QIcon EditorGlyph();
