#pragma once

#include "toolbars/TCustomImageList.h"
#include "toolbars/Tbkctls.h"

#include <QBitmap>
#include <QPixmap>
#include <QPointer>
#include <QSize>

#include <array>
#include <memory>

class QPalette;
class TGlyphList;

// The glyph of one button: a strip of up to five images (up, disabled, down, exclusive,
// mouse-in) or an image of an image list, and the images prepared from it per state, kept in the
// shared glyph list of their size.
class TButtonGlyph {
  public:
    TButtonGlyph();
    ~TButtonGlyph();
    TButtonGlyph(const TButtonGlyph&) = delete;
    TButtonGlyph& operator=(const TButtonGlyph&) = delete;

    QPixmap Glyph() const { return glyph_; }
    // A strip whose width is a whole multiple of its height sets NumGlyphs to the quotient
    // (1 when that exceeds five).
    void SetGlyph(const QPixmap& Glyph);
    QBitmap GlyphMask() const { return glyphMask_; }
    void SetGlyphMask(const QBitmap& Mask);
    TCustomImageList* Images() const { return images_; }
    int ImageIndex() const { return imageIndex_; }
    void SetImageList(TCustomImageList* Images, int ImageIndex);
    int NumGlyphs() const { return numGlyphs_; }
    // Clamped to 1..5; stays 1 while an image list is used.
    void SetNumGlyphs(int Value);
    bool OldDisabledStyle() const { return oldDisabledStyle_; }
    void SetOldDisabledStyle(bool Value);

    // Size of one image; empty when there is nothing to show.
    QSize GlyphSize() const;
    // The image for a state, transparent where the glyph's colour is that of its bottom-left
    // pixel (or where the mask says). Disabled images without their own are made from the up
    // image with the palette's highlight and shadow colours.
    QPixmap ImageFor(tbk::TButtonStateKit State, const QPalette& Palette);
    // Drops the prepared images (after a change of glyph or of system colours).
    void Invalidate();

  private:
    QPixmap SourceImage(int Piece) const;
    QPixmap MakeDisabled(const QPixmap& Up, const QPalette& Palette) const;

    QPixmap glyph_;
    QBitmap glyphMask_;
    QPointer<TCustomImageList> images_;
    int imageIndex_ = -1;
    int numGlyphs_ = 1;
    bool oldDisabledStyle_ = false;
    std::shared_ptr<TGlyphList> list_;
    std::array<int, kMaxNumGlyphs> prepared_;
};
