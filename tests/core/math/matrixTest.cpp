#include "core/math/matrix.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

using Matrix = math::matrix<double>;

Matrix FromRows(const std::vector<std::vector<double>>& rows) {
    Matrix m(rows.size(), rows[0].size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        for (std::size_t j = 0; j < rows[i].size(); ++j)
            m(i, j) = rows[i][j];
    }
    return m;
}

template <class Operation>
std::string ErrorOf(Operation operation) {
    try {
        operation();
    } catch (const math::matrix_error& error) {
        return error.what();
    }
    return "no error";
}

TEST(Matrix, AccessOutsideTheShapeIsRefused) {
    Matrix m(2, 3);
    const std::string outOfRange = "matrixT::operator(): Index out of range!";
    EXPECT_EQ(ErrorOf([&] { m(2, 0) = 1.0; }), outOfRange);
    EXPECT_EQ(ErrorOf([&] { m(0, 3) = 1.0; }), outOfRange);
    EXPECT_EQ(ErrorOf([&] { return std::as_const(m)(static_cast<std::size_t>(-1), 0); }),
              outOfRange);
}

TEST(Matrix, CopiesShareUntilWritableAccessEvenForReading) {
    Matrix original = FromRows({{1, 2}});
    const Matrix copy = original;
    EXPECT_EQ(&copy(0, 0), &std::as_const(original)(0, 0));
    const double* own = &original(0, 0);  // a read through the writable access detaches
    EXPECT_NE(own, &copy(0, 0));
    original(0, 1) = 20.0;
    EXPECT_EQ(copy(0, 1), 2.0);
}

TEST(MatrixSolve, BadShapesAndSingularSystemsAreRefused) {
    const std::string inconsistent = "matrixT::Solve():Inconsistent matrices!";
    const std::string singular = "matrixT::Solve(): Singular matrix!";
    EXPECT_EQ(ErrorOf([] { Matrix::Solve(Matrix(2, 3), Matrix(2, 1)); }), inconsistent);
    EXPECT_EQ(ErrorOf([] { Matrix::Solve(Matrix(3, 3), Matrix(2, 1)); }), inconsistent);
    // The first column pivots and eliminates fine; the third has nothing left.
    const Matrix a = FromRows({{1, 2, 3}, {2, 4, 6}, {1, 0, 1}});
    EXPECT_EQ(ErrorOf([&] { Matrix::Solve(a, Matrix(3, 1)); }), singular);
    // Equal pivot magnitudes take the upper row, which cancels the second column to exactly 0;
    // the lower row would leave a residue of -8.9e-16 and "solve" the system.
    const Matrix tie = FromRows({{3.0, 7.661368727868479}, {-3.0, -7.66136872786848}});
    EXPECT_EQ(ErrorOf([&] { Matrix::Solve(tie, Matrix(2, 1)); }), singular);
}

TEST(MatrixSolve, SolutionReproducesTheRightHandSideOfEveryColumn) {
    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> element(-10.0, 10.0);
    for (std::size_t n = 1; n <= 8; ++n) {
        Matrix a(n, n), b(n, 2), firstColumn(n, 1);
        for (std::size_t i = 0; i < n; ++i) {
            for (std::size_t j = 0; j < n; ++j)
                a(i, j) = element(random);
            a(i, (i + 1) % n) += 60.0;  // well conditioned, but only after row swaps
            b(i, 0) = firstColumn(i, 0) = element(random);
            b(i, 1) = element(random);
        }
        const Matrix aBefore = a, bBefore = b;
        const Matrix x = Matrix::Solve(a, b);
        const Matrix single = Matrix::Solve(a, firstColumn);
        for (std::size_t i = 0; i < n; ++i) {
            EXPECT_EQ(x(i, 0), single(i, 0));
            for (std::size_t k = 0; k < 2; ++k) {
                double product = 0.0;
                for (std::size_t j = 0; j < n; ++j)
                    product += a(i, j) * x(j, k);
                EXPECT_NEAR(product, b(i, k), 1e-9) << "n " << n;
                EXPECT_EQ(b(i, k), bBefore(i, k));
            }
            for (std::size_t j = 0; j < n; ++j)
                EXPECT_EQ(a(i, j), aBefore(i, j));
        }
    }
}

}  // namespace
