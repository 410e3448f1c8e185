#include "desktop/graphics3d/Net3D.h"

#include <stdexcept>

void Net3D::Resize(int rows, int columns) {
    if (rows < 0 || columns < 0)
        throw std::invalid_argument("a net cannot have a negative size");
    rows_ = rows;
    columns_ = columns;
    const auto count = static_cast<std::size_t>(rows) * static_cast<std::size_t>(columns);
    if (count != points_.size())
        points_.assign(count, Vector3D{});
}
