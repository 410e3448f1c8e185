#include "toolbars/TButtonGlyph.h"

#include "toolbars/TCustomImageList.h"
#include "toolbars/TGlyphList.h"

#include <QImage>
#include <QPainter>
#include <QPalette>

#include <algorithm>

namespace {

// Dark enough to count as ink in the embossed disabled look.
bool IsInk(QRgb pixel) {
    return qAlpha(pixel) != 0 && qGray(pixel) < 192;
}

}  // namespace

TButtonGlyph::TButtonGlyph() {
    prepared_.fill(-1);
}

TButtonGlyph::~TButtonGlyph() {
    Invalidate();
}

void TButtonGlyph::SetGlyph(const QPixmap& Glyph) {
    Invalidate();
    glyph_ = Glyph;
    if (!images_ && !Glyph.isNull() && Glyph.height() > 0 && Glyph.width() % Glyph.height() == 0) {
        const int count = Glyph.width() / Glyph.height();
        numGlyphs_ = count > kMaxNumGlyphs ? 1 : count;
    }
}

void TButtonGlyph::SetGlyphMask(const QBitmap& Mask) {
    Invalidate();
    glyphMask_ = Mask;
}

void TButtonGlyph::SetImageList(TCustomImageList* Images, int ImageIndex) {
    Invalidate();
    images_ = Images;
    imageIndex_ = ImageIndex;
    if (Images)
        numGlyphs_ = 1;
}

void TButtonGlyph::SetNumGlyphs(int Value) {
    Value = std::clamp(Value, 1, kMaxNumGlyphs);
    if (images_)
        Value = 1;
    if (Value == numGlyphs_)
        return;
    Invalidate();
    numGlyphs_ = Value;
}

void TButtonGlyph::SetOldDisabledStyle(bool Value) {
    if (oldDisabledStyle_ == Value)
        return;
    Invalidate();
    oldDisabledStyle_ = Value;
}

QSize TButtonGlyph::GlyphSize() const {
    if (images_) {
        if (imageIndex_ < 0 || imageIndex_ >= images_->Count())
            return {};
        return images_->ImageSize();
    }
    if (glyph_.isNull())
        return {};
    return QSize(glyph_.width() / numGlyphs_, glyph_.height());
}

void TButtonGlyph::Invalidate() {
    for (int& index : prepared_) {
        if (index >= 0 && list_)
            list_->Delete(index);
        index = -1;
    }
    list_.reset();
}

QPixmap TButtonGlyph::SourceImage(int Piece) const {
    if (images_)
        return images_->Image(imageIndex_);
    const QSize size = GlyphSize();
    QPixmap piece = glyph_.copy(Piece * size.width(), 0, size.width(), size.height());
    QBitmap mask;
    if (!glyphMask_.isNull()) {
        mask = QBitmap::fromPixmap(
            glyphMask_.copy(Piece * size.width(), 0, size.width(), size.height()));
    } else {
        // The strip's bottom-left pixel names the transparent colour.
        const QImage image = glyph_.toImage();
        const QColor transparent = image.pixelColor(0, image.height() - 1);
        mask = piece.createMaskFromColor(transparent, Qt::MaskInColor);
    }
    piece.setMask(mask);
    return piece;
}

QPixmap TButtonGlyph::MakeDisabled(const QPixmap& Up, const QPalette& Palette) const {
    const QImage source = Up.toImage().convertToFormat(QImage::Format_ARGB32);
    const QRgb highlight = Palette.color(QPalette::Light).rgba();
    const QRgb shadow = Palette.color(QPalette::Dark).rgba();
    QImage result(source.size(), QImage::Format_ARGB32);
    result.fill(Qt::transparent);
    if (oldDisabledStyle_) {
        // Recoloured: white turns highlight, mid grey turns shadow.
        for (int y = 0; y < source.height(); ++y)
            for (int x = 0; x < source.width(); ++x) {
                QRgb pixel = source.pixel(x, y);
                if (qAlpha(pixel) == 0)
                    continue;
                if ((pixel & 0xFFFFFF) == 0xFFFFFF)
                    pixel = highlight;
                else if ((pixel & 0xFFFFFF) == 0x808080)
                    pixel = shadow;
                result.setPixel(x, y, pixel);
            }
        return QPixmap::fromImage(result);
    }
    // Embossed: the ink in highlight one pixel down and right, then in shadow in its place.
    for (int y = 0; y < source.height(); ++y)
        for (int x = 0; x < source.width(); ++x)
            if (IsInk(source.pixel(x, y)) && x + 1 < source.width() && y + 1 < source.height())
                result.setPixel(x + 1, y + 1, highlight);
    for (int y = 0; y < source.height(); ++y)
        for (int x = 0; x < source.width(); ++x)
            if (IsInk(source.pixel(x, y)))
                result.setPixel(x, y, shadow);
    return QPixmap::fromImage(result);
}

QPixmap TButtonGlyph::ImageFor(tbk::TButtonStateKit State, const QPalette& Palette) {
    const QSize size = GlyphSize();
    if (size.isEmpty())
        return {};
    int index = static_cast<int>(State);
    // States without an image of their own borrow one.
    if (State == tbk::bsExclusive && numGlyphs_ < 4)
        index = tbk::bsDown;
    if (index == tbk::bsDown && numGlyphs_ < 3)
        index = tbk::bsUp;
    if (State == tbk::bsMouseIn && numGlyphs_ < 5)
        index = tbk::bsUp;
    int& slot = prepared_[static_cast<std::size_t>(index)];
    if (!list_)
        list_ = TGlyphList::ForSize(size);
    if (slot < 0) {
        QPixmap image;
        if (index == tbk::bsDisabled && numGlyphs_ < 2)
            image = MakeDisabled(SourceImage(tbk::bsUp), Palette);
        else
            image = SourceImage(index);
        slot = list_->Add(image);
    }
    return list_->At(slot);
}
