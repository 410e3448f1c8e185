#pragma once

#include <QPixmap>
#include <QSize>

#include <memory>
#include <optional>
#include <vector>

// Prepared button images of one size, shared by every button whose glyphs have that size. A
// list lives as long as one button holds it.
class TGlyphList {
  public:
    explicit TGlyphList(QSize Size);

    static std::shared_ptr<TGlyphList> ForSize(QSize Size);

    QSize Size() const { return size_; }
    // Answers the index of the stored image; freed slots are reused.
    int Add(const QPixmap& Image);
    void Delete(int Index);
    // Index must name a stored image.
    const QPixmap& At(int Index) const;
    int Count() const;

  private:
    QSize size_;
    std::vector<std::optional<QPixmap>> images_;
};
