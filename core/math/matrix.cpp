#include "core/math/matrix.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <utility>

namespace math {

template <class T>
matrix<T>::matrix(std::size_t rows, std::size_t cols)
    : rep_(std::make_shared<base_mat>(base_mat{rows, cols, std::vector<T>(rows * cols)})) {}

template <class T>
void matrix<T>::CheckRange(std::size_t i, std::size_t j) const {
    if (!(i < rep_->rows && j < rep_->cols)) {
        throw matrix_error("matrixT::operator(): Index out of range!");
    }
}

template <class T>
void matrix<T>::Detach() {
    if (rep_.use_count() > 1)
        rep_ = std::make_shared<base_mat>(*rep_);
}

template <class T>
T& matrix<T>::operator()(std::size_t i, std::size_t j) {
    CheckRange(i, j);
    Detach();
    return rep_->elements[i * rep_->cols + j];
}

template <class T>
const T& matrix<T>::operator()(std::size_t i, std::size_t j) const {
    CheckRange(i, j);
    return rep_->elements[i * rep_->cols + j];
}

template <class T>
matrix<T> matrix<T>::Solve(const matrix& a, const matrix& b) {
    const std::size_t n = a.RowCount();
    const std::size_t m = b.ColCount();
    if (n != a.ColCount() || a.ColCount() != b.RowCount()) {
        throw matrix_error("matrixT::Solve():Inconsistent matrices!");
    }

    // Augmented matrix [a | b]; pivoting swaps entries of rowOrder, never the rows themselves.
    const std::size_t width = n + m;
    std::vector<T> augmented(n * width);
    for (std::size_t r = 0; r < n; ++r) {
        const T* aRow = &a.rep_->elements[r * n];
        const T* bRow = &b.rep_->elements[r * m];
        std::copy(aRow, aRow + n, &augmented[r * width]);
        std::copy(bRow, bRow + m, &augmented[r * width + n]);
    }
    std::vector<std::size_t> rowOrder(n);
    std::iota(rowOrder.begin(), rowOrder.end(), std::size_t{0});
    auto row = [&](std::size_t r) { return &augmented[rowOrder[r] * width]; };

    for (std::size_t c = 0; c < n; ++c) {
        // The first row with the largest non-zero magnitude wins; ties keep the upper row.
        T best = T(-1);
        std::size_t pivotRow = c;
        for (std::size_t r = c; r < n; ++r) {
            const T magnitude = std::abs(row(r)[c]);
            if (magnitude > best && magnitude != T(0)) {
                best = magnitude;
                pivotRow = r;
            }
        }
        if (row(pivotRow)[c] == T(0))
            throw matrix_error("matrixT::Solve(): Singular matrix!");
        std::swap(rowOrder[pivotRow], rowOrder[c]);

        T* pivot = row(c);
        const T pivotValue = pivot[c];
        for (std::size_t j = c; j < width; ++j)
            pivot[j] /= pivotValue;
        for (std::size_t r = c + 1; r < n; ++r) {
            T* target = row(r);
            const T factor = target[c];
            for (std::size_t j = c; j < width; ++j)
                target[j] -= factor * pivot[j];
        }
    }

    // The diagonal is 1 after elimination, so back substitution needs no division.
    matrix x(n, m);
    std::vector<T>& solution = x.rep_->elements;
    for (std::size_t k = 0; k < m; ++k) {
        for (std::size_t i = n; i-- > 0;) {
            const T* reduced = row(i);
            T sum = T(0);
            for (std::size_t j = i + 1; j < n; ++j)
                sum += reduced[j] * solution[j * m + k];
            solution[i * m + k] = reduced[n + k] - sum;
        }
    }
    return x;
}

template class matrix<double>;

}  // namespace math
