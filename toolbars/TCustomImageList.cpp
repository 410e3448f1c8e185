#include "toolbars/TCustomImageList.h"

TCustomImageList::TCustomImageList(QSize ImageSize, QObject* Parent)
    : QObject(Parent), imageSize_(ImageSize) {}

int TCustomImageList::Add(const QPixmap& Image) {
    images_.push_back(Image.size() == imageSize_ ? Image : Image.scaled(imageSize_));
    emit changed();
    return Count() - 1;
}

const QPixmap& TCustomImageList::Image(int Index) const {
    return images_.at(static_cast<std::size_t>(Index));
}
