#include "toolbars/TGlyphList.h"

#include <map>
#include <stdexcept>
#include <utility>

TGlyphList::TGlyphList(QSize Size) : size_(Size) {}

std::shared_ptr<TGlyphList> TGlyphList::ForSize(QSize Size) {
    // The cache only remembers lists; the buttons own them.
    static std::map<std::pair<int, int>, std::weak_ptr<TGlyphList>> cache;
    std::weak_ptr<TGlyphList>& slot = cache[{Size.width(), Size.height()}];
    if (auto list = slot.lock())
        return list;
    auto list = std::make_shared<TGlyphList>(Size);
    slot = list;
    return list;
}

int TGlyphList::Add(const QPixmap& Image) {
    for (std::size_t i = 0; i < images_.size(); ++i)
        if (!images_[i]) {
            images_[i] = Image;
            return static_cast<int>(i);
        }
    images_.emplace_back(Image);
    return static_cast<int>(images_.size()) - 1;
}

void TGlyphList::Delete(int Index) {
    if (Index >= 0 && Index < static_cast<int>(images_.size()))
        images_[static_cast<std::size_t>(Index)].reset();
}

const QPixmap& TGlyphList::At(int Index) const {
    const auto& slot = images_.at(static_cast<std::size_t>(Index));
    if (!slot)
        throw std::out_of_range("glyph list slot is empty");
    return *slot;
}

int TGlyphList::Count() const {
    int count = 0;
    for (const auto& slot : images_)
        count += slot ? 1 : 0;
    return count;
}
