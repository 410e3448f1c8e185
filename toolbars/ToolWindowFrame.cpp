#include "toolbars/ToolWindowFrame.h"

#include <QFontMetrics>

int DragHandleSize(tbk::TDragHandleStyle Style, bool CloseButtonWhenDocked) {
    if (CloseButtonWhenDocked)
        return 14;
    switch (Style) {
        case tbk::dhDouble:
            return 9;
        case tbk::dhSingle:
            return 6;
        case tbk::dhNone:
            return 0;
    }
    return 0;
}

QMargins NonClientSizes(const TFrameOptions& Options) {
    if (Options.DockType == tbk::dtNotDocked) {
        const int border = Options.Resizable ? kSizingFrameSize : kDialogFrameSize;
        return QMargins(border, border + (Options.ShowCaption ? kSmallCaptionHeight : 0), border,
                        border);
    }
    QMargins margins(kDockedBorderSize, kDockedBorderSize, kDockedBorderSize, kDockedBorderSize);
    if (Options.AllowDrag) {
        const int handle = DragHandleSize(Options.DragHandleStyle, Options.CloseButtonWhenDocked);
        if (Options.DockType == tbk::dtTopBottom)
            margins.setLeft(margins.left() + handle);
        else
            margins.setTop(margins.top() + handle);
    }
    return margins;
}

TToolWindowFrame ComputeToolWindowFrame(const TFrameOptions& Options, QSize OuterSize) {
    TToolWindowFrame frame;
    frame.Margins = NonClientSizes(Options);
    const int width = OuterSize.width();
    const int height = OuterSize.height();
    frame.ClientRect = QRect(frame.Margins.left(), frame.Margins.top(),
                             qMax(0, width - frame.Margins.left() - frame.Margins.right()),
                             qMax(0, height - frame.Margins.top() - frame.Margins.bottom()));
    if (Options.DockType == tbk::dtNotDocked) {
        const int border = Options.Resizable ? kSizingFrameSize : kDialogFrameSize;
        frame.BorderSize = border;
        if (Options.ShowCaption) {
            const int band = kSmallCaptionHeight - 1;
            const int inner = qMax(0, width - 2 * border);
            int captionWidth = inner;
            if (Options.CloseButton) {
                captionWidth = qMax(0, inner - band);
                frame.CloseButtonRect =
                    QRect(border + captionWidth, border, inner - captionWidth, band);
            }
            frame.CaptionRect = QRect(border, border, captionWidth, band);
            frame.CaptionLineRect = QRect(border, border + band, inner, 1);
        }
        return frame;
    }
    if (!Options.AllowDrag)
        return frame;
    const int handle = DragHandleSize(Options.DragHandleStyle, Options.CloseButtonWhenDocked);
    const bool horizontal = Options.DockType == tbk::dtTopBottom;
    const int b = kDockedBorderSize;
    frame.HandleRect = horizontal ? QRect(b, b, handle, qMax(0, height - 2 * b))
                                  : QRect(b, b, qMax(0, width - 2 * b), handle);
    // Bars start after the close glyph, which sits at the handle's start.
    int barsFrom = b;
    if (Options.CloseButtonWhenDocked) {
        const int glyph = handle - 3;
        frame.DockedCloseRect = QRect(b + 1, b + 1, glyph, glyph);
        barsFrom = b + 1 + glyph + 1;
    }
    int offset = 0;
    switch (Options.DragHandleStyle) {
        case tbk::dhDouble:
            frame.HandleBarCount = 2;
            offset = Options.CloseButtonWhenDocked ? 3 : 2;
            break;
        case tbk::dhSingle:
            frame.HandleBarCount = 1;
            offset = Options.CloseButtonWhenDocked ? 5 : 1;
            break;
        case tbk::dhNone:
            frame.HandleBarCount = 0;
            break;
    }
    for (int i = 0; i < frame.HandleBarCount; ++i) {
        const int at = b + offset + 3 * i;
        frame.HandleBars[static_cast<std::size_t>(i)] =
            horizontal ? QRect(at, barsFrom, 3, qMax(0, height - b - barsFrom))
                       : QRect(barsFrom, at, qMax(0, width - b - barsFrom), 3);
    }
    return frame;
}

TFrameHit HitTestToolWindowFrame(const TToolWindowFrame& Frame, const TFrameOptions& Options,
                                 bool ResizeEightCorner, QSize OuterSize, QPoint Point) {
    if (Options.DockType != tbk::dtNotDocked) {
        if (!Frame.DockedCloseRect.isEmpty() && Frame.DockedCloseRect.contains(Point))
            return {TFrameHitKind::CloseButton};
        return {};
    }
    if (!Frame.CloseButtonRect.isEmpty() && Frame.CloseButtonRect.contains(Point))
        return {TFrameHitKind::CloseButton};
    if (!Options.Resizable)
        return {};
    const int border = Frame.BorderSize;
    const int width = OuterSize.width();
    const int height = OuterSize.height();
    const bool left = Point.x() < border;
    const bool right = Point.x() >= width - border;
    const bool top = Point.y() < border;
    const bool bottom = Point.y() >= height - border;
    if (!(left || right || top || bottom))
        return {};
    auto sizing = [](tbk::TToolWindowSizeHandle handle) {
        return TFrameHit{TFrameHitKind::Sizing, handle};
    };
    if (!ResizeEightCorner) {
        if (top)
            return sizing(tbk::twshTop);
        if (bottom)
            return sizing(tbk::twshBottom);
        return sizing(left ? tbk::twshLeft : tbk::twshRight);
    }
    const int corner = kSmallCaptionHeight - 1 + border;
    const bool nearTop = Point.y() < corner;
    const bool nearBottom = Point.y() >= height - corner;
    const bool nearLeft = Point.x() < corner;
    const bool nearRight = Point.x() >= width - corner;
    if (left || right) {
        if (nearTop)
            return sizing(left ? tbk::twshTopLeft : tbk::twshTopRight);
        if (nearBottom)
            return sizing(left ? tbk::twshBottomLeft : tbk::twshBottomRight);
        return sizing(left ? tbk::twshLeft : tbk::twshRight);
    }
    if (nearLeft)
        return sizing(top ? tbk::twshTopLeft : tbk::twshBottomLeft);
    if (nearRight)
        return sizing(top ? tbk::twshTopRight : tbk::twshBottomRight);
    return sizing(top ? tbk::twshTop : tbk::twshBottom);
}

QString FitCaptionText(const QString& Text, int Width, const QFontMetrics& Metrics) {
    QString text = Text;
    if (Metrics.horizontalAdvance(text) <= Width)
        return text;
    text += QStringLiteral("...");
    while (Metrics.horizontalAdvance(text) > Width && text.size() > 4)
        text.remove(text.size() - 4, 1);
    return text;
}
