#pragma once

#include <QObject>
#include <QPixmap>
#include <QSize>

#include <vector>

// A list of images of one size, from which buttons take their glyphs by index.
class TCustomImageList : public QObject {
    Q_OBJECT

  public:
    explicit TCustomImageList(QSize ImageSize, QObject* Parent = nullptr);

    QSize ImageSize() const { return imageSize_; }
    int Count() const { return static_cast<int>(images_.size()); }
    // The image is scaled to the list's size; answers its index.
    int Add(const QPixmap& Image);
    // Index must lie in [0, Count()).
    const QPixmap& Image(int Index) const;

  signals:
    void changed();

  private:
    QSize imageSize_;
    std::vector<QPixmap> images_;
};
