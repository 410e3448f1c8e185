#pragma once

#include <vector>

#include "desktop/graphics3d/Vector3D.h"

// A rectangular net of points: point (i, j) is row i, column j.
class Net3D {
  public:
    Net3D() = default;

    int Rows() const { return rows_; }
    int Columns() const { return columns_; }
    // Sets both dimensions; the points are zeroed only when their number changes, so that a
    // net resized to the same count is refilled in place.
    void Resize(int rows, int columns);
    // Unchecked: 0 <= i < Rows(), 0 <= j < Columns().
    Vector3D& Point(int i, int j) { return points_[static_cast<std::size_t>(i * columns_ + j)]; }
    const Vector3D& Point(int i, int j) const {
        return points_[static_cast<std::size_t>(i * columns_ + j)];
    }
    int PointCount() const { return static_cast<int>(points_.size()); }

  private:
    int rows_ = 0;
    int columns_ = 0;
    std::vector<Vector3D> points_;
};
