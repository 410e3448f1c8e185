#pragma once

#include "toolbars/Tbk.h"

#include <QMargins>
#include <QRect>
#include <QSize>
#include <QString>

#include <array>

class QFontMetrics;

// Geometry of a tool window's frame (drag handle, caption, close buttons, sizing zones) as plain
// data: computed when the state or size changes, read by painting and hit testing.

// The classic desktop's metrics that the frame is built from.
inline constexpr int kDialogFrameSize = 3;      // border of a floating frame that cannot be sized
inline constexpr int kSizingFrameSize = 4;      // border of a floating frame that can be sized
inline constexpr int kSmallCaptionHeight = 16;  // caption band plus the line below it
inline constexpr int kCaptionFontPixelSize = 11;
inline constexpr int kDockedBorderSize = 2;

struct TFrameOptions {
    tbk::TDockType DockType = tbk::dtNotDocked;  // not docked: floating
    bool AllowDrag = true;                       // of the dock, when docked
    bool Resizable = true;
    bool ShowCaption = true;
    bool CloseButton = true;
    bool CloseButtonWhenDocked = false;
    tbk::TDragHandleStyle DragHandleStyle = tbk::dhDouble;
};

int DragHandleSize(tbk::TDragHandleStyle Style, bool CloseButtonWhenDocked);

// The frame's thickness on each side.
QMargins NonClientSizes(const TFrameOptions& Options);

struct TToolWindowFrame {
    QMargins Margins;
    QRect ClientRect;
    // Floating.
    int BorderSize = 0;
    QRect CaptionRect;      // the caption band less the close button
    QRect CloseButtonRect;  // empty without a close button
    QRect CaptionLineRect;  // face-coloured line between caption and client
    // Docked.
    QRect HandleRect;
    std::array<QRect, 2> HandleBars{};
    int HandleBarCount = 0;
    QRect DockedCloseRect;  // empty without a docked close button
};

TToolWindowFrame ComputeToolWindowFrame(const TFrameOptions& Options, QSize OuterSize);

enum class TFrameHitKind { Client, CloseButton, Sizing };

struct TFrameHit {
    TFrameHitKind Kind = TFrameHitKind::Client;
    tbk::TToolWindowSizeHandle Handle = tbk::twshLeft;  // for Sizing
};

TFrameHit HitTestToolWindowFrame(const TToolWindowFrame& Frame, const TFrameOptions& Options,
                                 bool ResizeEightCorner, QSize OuterSize, QPoint Point);

// A caption too wide for Width gets "..." and loses the character before it until it fits or is
// shorter than five characters.
QString FitCaptionText(const QString& Text, int Width, const QFontMetrics& Metrics);
