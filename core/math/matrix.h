#pragma once

#include "core/math/matrix_error.h"

#include <cstddef>
#include <memory>
#include <vector>

namespace math {

// Dense matrix with copy-on-write storage: copies share one block until a handle writes, or reads
// through the non-const element access, which gives the handle a block of its own. Instantiated
// for double. A block is used by one thread at a time.
template <class T>
class matrix {
  public:
    // Elements start at zero.
    matrix(std::size_t rows, std::size_t cols);

    std::size_t RowCount() const { return rep_->rows; }
    std::size_t ColCount() const { return rep_->cols; }

    // Throws matrix_error when i >= RowCount() or j >= ColCount(). Detaches a shared block first.
    T& operator()(std::size_t i, std::size_t j);
    // Range-tested like the writable access, but never detaches.
    const T& operator()(std::size_t i, std::size_t j) const;

    // X with a X = b, by Gaussian elimination with partial pivoting; a is n x n, b is n x m.
    // Throws matrix_error when the shapes do not fit or a is singular; a and b stay unchanged.
    static matrix Solve(const matrix& a, const matrix& b);

  private:
    struct base_mat {
        std::size_t rows;
        std::size_t cols;
        std::vector<T> elements;  // row-major
    };

    void CheckRange(std::size_t i, std::size_t j) const;
    void Detach();

    std::shared_ptr<base_mat> rep_;
};

extern template class matrix<double>;

}  // namespace math
