// The band Cholesky factorisation against Eigen's dense one, on band matrices of the shapes
// the support nodes' system takes, and its refusal of matrices that are not positive definite.
#include <gtest/gtest.h>

#include <Eigen/Dense>
#include <random>

#include "BandCholeskyUnit.h"

namespace {

// A random symmetric positive definite n×n matrix with `band` diagonals on each side, its
// diagonal spanning `decades` decades, as stiff journals beside soft supports do.
Eigen::MatrixXd randomBandMatrix(int n, int band, double decades, std::mt19937& random) {
  std::uniform_real_distribution<double> uniform(-1, 1);
  Eigen::MatrixXd B = Eigen::MatrixXd::Zero(n, n);
  for (int i = 0; i < n; ++i)
    for (int j = std::max(0, i - band / 2); j <= i; ++j) B(i, j) = uniform(random);
  Eigen::MatrixXd A = B * B.transpose() + 0.1 * Eigen::MatrixXd::Identity(n, n);
  Eigen::VectorXd scale(n);
  for (int i = 0; i < n; ++i) scale(i) = std::pow(10.0, decades * (uniform(random) + 1) / 2);
  return scale.asDiagonal() * A * scale.asDiagonal();
}

std::vector<double> lowerBand(const Eigen::MatrixXd& A, int band) {
  const auto n = static_cast<int>(A.rows());
  std::vector<double> values(static_cast<std::size_t>(n * (band + 1)), 0.0);
  for (int i = 0; i < n; ++i)
    for (int j = std::max(0, i - band); j <= i; ++j) values[static_cast<std::size_t>(TBandCholesky::Slot(i, j, band))] = A(i, j);
  return values;
}

}  // namespace

TEST(BandCholesky, SolvesAsTheDenseFactorisationDoes) {
  std::mt19937 random(7);
  // One support node (a single block), a chain of nine, and a band wider than the matrix.
  for (const auto& [n, band] : {std::pair{6, 5}, std::pair{54, 11}, std::pair{20, 30}, std::pair{1, 0}}) {
    const Eigen::MatrixXd A = randomBandMatrix(n, std::min(band, n - 1), 6, random);
    Eigen::VectorXd b = Eigen::VectorXd::Random(n);
    const Eigen::VectorXd expected = A.llt().solve(b);
    TBandCholesky factors;
    ASSERT_EQ(factors.Factor(n, band, lowerBand(A, band)), -1) << n;
    factors.SolveInPlace(b.data());
    EXPECT_LT((b - expected).norm(), 1e-9 * expected.norm()) << n << " rows, band " << band;
  }
}

TEST(BandCholesky, NamesTheRowWhereTheMatrixStopsBeingPositiveDefinite) {
  std::mt19937 random(11);
  Eigen::MatrixXd A = randomBandMatrix(12, 5, 2, random);
  TBandCholesky factors;
  // A zero pivot, and a row that makes the leading 8×8 block indefinite.
  Eigen::MatrixXd zero = A;
  zero.row(4).setZero();
  zero.col(4).setZero();
  EXPECT_EQ(factors.Factor(12, 5, lowerBand(zero, 5)), 4);
  Eigen::MatrixXd indefinite = A;
  indefinite(7, 7) = -1;
  EXPECT_EQ(factors.Factor(12, 5, lowerBand(indefinite, 5)), 7);
  EXPECT_EQ(factors.Factor(12, 5, lowerBand(A, 5)), -1);
}
