#pragma once

#include <QRect>

class QColor;
class QPainter;
class QPalette;

// The 3-D edges, glyphs and patterns of the classic desktop, drawn with a widget's palette:
// highlight = Light, 3-D light = Midlight, shadow = Dark, dark shadow = Shadow, face = Button.

namespace tbk {

enum TEdgeKind : unsigned {
    BDR_RAISEDOUTER = 0x1,
    BDR_SUNKENOUTER = 0x2,
    BDR_RAISEDINNER = 0x4,
    BDR_SUNKENINNER = 0x8,
    EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER,
    EDGE_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER,
};

enum TEdgeFlags : unsigned {
    BF_LEFT = 0x1,
    BF_TOP = 0x2,
    BF_RIGHT = 0x4,
    BF_BOTTOM = 0x8,
    BF_RECT = BF_LEFT | BF_TOP | BF_RIGHT | BF_BOTTOM,
    BF_MIDDLE = 0x800,  // fill the inside with the face colour
    BF_SOFT = 0x1000,   // the softer push-button colours
};

}  // namespace tbk

// Draws one or two 1-pixel rings (outer, then inner) on the chosen sides of R.
void DrawEdge(QPainter& painter, const QRect& R, unsigned edge, unsigned flags,
              const QPalette& palette);

// The caption close button: a raised (or pushed) face with a cross.
void DrawCaptionCloseButton(QPainter& painter, const QRect& R, bool pushed,
                            const QPalette& palette);

// A small down-pointing triangle centred in R; disabled: embossed in highlight and shadow.
void DrawDropdownArrow(QPainter& painter, const QRect& R, bool enabled, const QColor& color,
                       const QPalette& palette);

// The checkerboard of face and highlight that marks a button held down.
void FillDithered(QPainter& painter, const QRect& R, const QPalette& palette);

// A 1-pixel rectangle of alternate dots.
void DrawDottedRect(QPainter& painter, const QRect& R, const QColor& color);
