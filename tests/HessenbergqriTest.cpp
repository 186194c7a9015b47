// Eigen solver checked by the eigen-equation itself (residual of every pair), by invariants
// (traces of powers equal power sums of the eigenvalues) and by closed-form spectra.
#include "Hessenbergqri.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>
#include <random>
#include <stdexcept>

#include "FloatCheckUnit.h"

namespace {

using Complex = std::complex<double>;
constexpr double Pi = std::numbers::pi;
constexpr double Sentinel = 777.0;

// 1-based (n+1) x (n+1) matrix with row and column 0 set to NaN, which the solver must not read.
TReal2DArray makeMatrix(int n) {
  TReal2DArray a(n + 1, TReal1DArray(n + 1, 0.0));
  for (int i = 0; i <= n; ++i) a[0][i] = a[i][0] = std::nan("");
  return a;
}

TReal2DArray randomMatrix(int n, unsigned seed) {
  std::mt19937 generator(seed);
  std::uniform_real_distribution<double> entry(-1.0, 1.0);
  TReal2DArray a = makeMatrix(n);
  for (int i = 1; i <= n; ++i)
    for (int j = 1; j <= n; ++j) a[i][j] = entry(generator);
  return a;
}

// Tridiagonal Toeplitz matrix: `diagonal` on the diagonal, `below` under it, `above` over it.
TReal2DArray tridiagonal(int n, double below, double diagonal, double above) {
  TReal2DArray a = makeMatrix(n);
  for (int i = 1; i <= n; ++i) {
    a[i][i] = diagonal;
    if (i > 1) a[i][i - 1] = below;
    if (i < n) a[i][i + 1] = above;
  }
  return a;
}

struct Solution {
  bool converged = false;
  TReal1DArray wr, wi;
  TReal2DArray z;
};

Solution solve(const TReal2DArray& a, int n) {
  Solution s;
  s.converged = HessenbergQRIEigen(a, n, s.wr, s.z, s.wi);
  return s;
}

// Eigenpair j as complex numbers, following the storage convention of complex pairs.
Complex eigenvalue(const Solution& s, int j) { return {s.wr[j], s.wi[j]}; }
std::vector<Complex> eigenvector(const Solution& s, int n, int j) {
  std::vector<Complex> v(n + 1);
  for (int i = 1; i <= n; ++i) {
    if (s.wi[j] == 0.0)
      v[i] = s.z[i][j];
    else if (s.wi[j] > 0.0)
      v[i] = {s.z[i][j], s.z[i][j + 1]};
    else
      v[i] = {s.z[i][j - 1], -s.z[i][j]};  // conjugate of the partner's vector
  }
  return v;
}

double frobenius(const TReal2DArray& a, int n) {
  double sum = 0.0;
  for (int i = 1; i <= n; ++i)
    for (int j = 1; j <= n; ++j) sum += a[i][j] * a[i][j];
  return std::sqrt(sum);
}

// Largest relative residual |A v - lambda v| / (|A| |v|) over all eigenpairs.
double worstResidual(const TReal2DArray& a, int n, const Solution& s) {
  const double normA = frobenius(a, n);
  double worst = 0.0;
  for (int j = 1; j <= n; ++j) {
    const std::vector<Complex> v = eigenvector(s, n, j);
    const Complex lambda = eigenvalue(s, j);
    double residual = 0.0, length = 0.0;
    for (int i = 1; i <= n; ++i) {
      Complex row = -lambda * v[i];
      for (int k = 1; k <= n; ++k) row += a[i][k] * v[k];
      residual += std::norm(row);
      length += std::norm(v[i]);
    }
    worst = std::max(worst, std::sqrt(residual) / (normA * std::sqrt(length)));
  }
  return worst;
}

// trace(A^power) by repeated multiplication.
double traceOfPower(const TReal2DArray& a, int n, int power) {
  TReal2DArray product = a;
  for (int p = 1; p < power; ++p) {
    TReal2DArray next = makeMatrix(n);
    for (int i = 1; i <= n; ++i)
      for (int j = 1; j <= n; ++j) {
        double sum = 0.0;
        for (int k = 1; k <= n; ++k) sum += product[i][k] * a[k][j];
        next[i][j] = sum;
      }
    product = next;
  }
  double trace = 0.0;
  for (int i = 1; i <= n; ++i) trace += product[i][i];
  return trace;
}

std::vector<double> sortedReal(const Solution& s, int n) {
  std::vector<double> values(s.wr.begin() + 1, s.wr.begin() + n + 1);
  std::sort(values.begin(), values.end());
  return values;
}

}  // namespace

// ---------------------------------------------------------------- small cases of known result

TEST(EigenSmallCases, OrderOneIsItsOwnEigenvalue) {
  TReal2DArray a = makeMatrix(1);
  a[1][1] = -3.5;
  const Solution s = solve(a, 1);
  ASSERT_TRUE(s.converged);
  EXPECT_EQ(s.wr[1], -3.5);
  EXPECT_EQ(s.wi[1], 0.0);
  EXPECT_EQ(s.z[1][1], 1.0);
}

TEST(EigenSmallCases, ZeroMatrixGivesZerosAndTheIdentity) {
  const int n = 4;
  const Solution s = solve(makeMatrix(n), n);
  ASSERT_TRUE(s.converged);
  for (int i = 1; i <= n; ++i) {
    EXPECT_EQ(s.wr[i], 0.0);
    EXPECT_EQ(s.wi[i], 0.0);
    for (int j = 1; j <= n; ++j) EXPECT_EQ(s.z[i][j], i == j ? 1.0 : 0.0);
  }
}

TEST(EigenSmallCases, SymmetricTwoByTwoIsOneRealPair) {
  TReal2DArray a = makeMatrix(2);
  a[1][1] = 1;  a[1][2] = -1;
  a[2][1] = -1; a[2][2] = 1;
  const Solution s = solve(a, 2);
  ASSERT_TRUE(s.converged);
  EXPECT_EQ(s.wr[1], 2.0);
  EXPECT_EQ(s.wr[2], 0.0);
  EXPECT_EQ(s.wi[1], 0.0);
  EXPECT_EQ(s.wi[2], 0.0);
  // Vectors (1, -1) for 2 and (1, 1) for 0, up to scale.
  EXPECT_NEAR(s.z[1][1] + s.z[2][1], 0.0, 1e-15);
  EXPECT_NEAR(s.z[1][2] - s.z[2][2], 0.0, 1e-15);
  EXPECT_LT(worstResidual(a, 2, s), 1e-15);
}

TEST(EigenSmallCases, RotationHasAConjugatePair) {
  TReal2DArray a = makeMatrix(2);
  a[1][1] = 0; a[1][2] = -1;
  a[2][1] = 1; a[2][2] = 0;
  const Solution s = solve(a, 2);
  ASSERT_TRUE(s.converged);
  EXPECT_EQ(s.wr[1], 0.0);
  EXPECT_EQ(s.wr[2], 0.0);
  EXPECT_EQ(s.wi[1], 1.0);
  EXPECT_EQ(s.wi[2], -1.0);
  EXPECT_LT(worstResidual(a, 2, s), 1e-15);
}

TEST(EigenSmallCases, DefectiveMatrixStaysFinite) {
  // A Jordan block: one eigenvalue of multiplicity 3 with a single eigenvector. The zero
  // pivots of the back-substitution are replaced by a tiny one instead of dividing by zero.
  TReal2DArray a = makeMatrix(3);
  for (int i = 1; i <= 3; ++i) a[i][i] = 2.0;
  a[1][2] = a[2][3] = 1.0;
  const Solution s = solve(a, 3);
  ASSERT_TRUE(s.converged);
  for (int i = 1; i <= 3; ++i) {
    EXPECT_DOUBLE_EQ(s.wr[i], 2.0);
    EXPECT_EQ(s.wi[i], 0.0);
  }
  EXPECT_LT(worstResidual(a, 3, s), 1e-12);
}

// ---------------------------------------------------------------- calling contract

TEST(EigenContract, CallerMatrixAndIndexZeroAreUntouched) {
  const int n = 6;
  const TReal2DArray a = randomMatrix(n, 11);
  TReal2DArray copy = a;
  TReal1DArray wr(n + 1, Sentinel), wi(n + 1, Sentinel);
  TReal2DArray z(n + 1, TReal1DArray(n + 1, Sentinel));
  ASSERT_TRUE(HessenbergQRIEigen(a, n, wr, z, wi));
  for (int i = 0; i <= n; ++i)
    for (int j = 0; j <= n; ++j) {
      if (i == 0 || j == 0)
        EXPECT_TRUE(std::isnan(a[i][j]));
      else
        EXPECT_EQ(a[i][j], copy[i][j]);
    }
  EXPECT_EQ(wr[0], Sentinel);
  EXPECT_EQ(wi[0], Sentinel);
  for (int i = 0; i <= n; ++i) {
    EXPECT_EQ(z[0][i], Sentinel);
    EXPECT_EQ(z[i][0], Sentinel);
  }
}

TEST(EigenContract, BadArgumentsAreRefused) {
  TReal1DArray wr, wi;
  TReal2DArray z;
  EXPECT_THROW(HessenbergQRIEigen(makeMatrix(3), 4, wr, z, wi), std::invalid_argument);
  EXPECT_THROW(HessenbergQRIEigen(makeMatrix(3), -1, wr, z, wi), std::invalid_argument);
  TReal2DArray shortRow = makeMatrix(3);
  shortRow[2].resize(3);
  EXPECT_THROW(HessenbergQRIEigen(shortRow, 3, wr, z, wi), std::invalid_argument);
  EXPECT_TRUE(HessenbergQRIEigen(TReal2DArray(1), 0, wr, z, wi));
}

TEST(EigenContract, NonFiniteNumbersNeverLeaveTheSolver) {
  TReal1DArray wr, wi;
  TReal2DArray z;
  TReal2DArray a = randomMatrix(4, 5);
  a[3][2] = std::nan("");
  EXPECT_THROW(HessenbergQRIEigen(a, 4, wr, z, wi), EVexaFloatError);
  a[3][2] = INFINITY;
  EXPECT_THROW(HessenbergQRIEigen(a, 4, wr, z, wi), EVexaFloatError);
  // Finite entries whose sum overflows.
  TReal2DArray huge = randomMatrix(4, 5);
  for (int i = 1; i <= 4; ++i)
    for (int j = 1; j <= 4; ++j) huge[i][j] = 1.5e308;
  EXPECT_THROW(HessenbergQRIEigen(huge, 4, wr, z, wi), EVexaFloatError);
}

// ---------------------------------------------------------------- non-convergence

namespace {
// A matrix of the kind D. Day (Sandia, 1996) showed to defeat this shift strategy: two 2x2
// blocks with eigenvalues +1 and -1 coupled by a small h. The ordinary and the exceptional
// shifts cycle and the subdiagonal never becomes negligible. Placed in rows 1..4 of `a`.
void putCyclingBlock(TReal2DArray& a, double h) {
  const double block[4][4] = {{0, 1, 0, 0}, {1, 0, h, 0}, {0, -h, 0, 1}, {0, 0, 1, 0}};
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) a[i + 1][j + 1] = block[i][j];
}
}  // namespace

TEST(EigenNonConvergence, CyclingShiftsAreReportedAndLeaveUnreachedEntries) {
  const int n = 4;
  TReal2DArray a = makeMatrix(n);
  putCyclingBlock(a, 1e-6);
  TReal1DArray wr(n + 1, Sentinel), wi(n + 1, Sentinel);
  TReal2DArray z;
  EXPECT_FALSE(HessenbergQRIEigen(a, n, wr, z, wi));
  for (int i = 0; i <= n; ++i) {
    EXPECT_EQ(wr[i], Sentinel);
    EXPECT_EQ(wi[i], Sentinel);
  }
  // The same block decoupled (h = 0) converges.
  putCyclingBlock(a, 0.0);
  EXPECT_TRUE(HessenbergQRIEigen(a, n, wr, z, wi));
}

TEST(EigenNonConvergence, EigenvaluesFoundBeforeTheFailureAreValid) {
  // The cycling block above an isolated eigenvalue 3: 3 deflates first and stays valid.
  const int n = 5;
  TReal2DArray a = makeMatrix(n);
  putCyclingBlock(a, 1e-6);
  a[5][5] = 3.0;
  TReal1DArray wr(n + 1, Sentinel), wi(n + 1, Sentinel);
  TReal2DArray z;
  EXPECT_FALSE(HessenbergQRIEigen(a, n, wr, z, wi));
  EXPECT_EQ(wr[5], 3.0);
  EXPECT_EQ(wi[5], 0.0);
  for (int i = 1; i <= 4; ++i) {
    EXPECT_EQ(wr[i], Sentinel);
    EXPECT_EQ(wi[i], Sentinel);
  }
}

// ---------------------------------------------------------------- general matrices

class EigenRandomMatrix : public ::testing::TestWithParam<int> {};

TEST_P(EigenRandomMatrix, EveryPairSatisfiesTheEigenEquation) {
  const int n = GetParam();
  int complexPairs = 0;
  for (unsigned seed = 1; seed <= 3; ++seed) {
    const TReal2DArray a = randomMatrix(n, seed * 1000 + n);
    const Solution s = solve(a, n);
    ASSERT_TRUE(s.converged) << "seed " << seed;
    EXPECT_LT(worstResidual(a, n, s), 1e-13 * n) << "seed " << seed;
    for (int j = 1; j <= n; ++j) {
      if (s.wi[j] > 0.0) {
        ++complexPairs;
        // A pair: the partner follows with the conjugate value.
        ASSERT_LT(j, n);
        EXPECT_EQ(s.wr[j + 1], s.wr[j]);
        EXPECT_EQ(s.wi[j + 1], -s.wi[j]);
      }
    }
    // The spectrum is complete: power sums of the eigenvalues equal traces of the powers.
    for (int power = 1; power <= 3; ++power) {
      Complex sum = 0.0;
      for (int j = 1; j <= n; ++j) sum += std::pow(eigenvalue(s, j), power);
      const double trace = traceOfPower(a, n, power);
      const double scale = std::pow(frobenius(a, n), power);
      EXPECT_NEAR(sum.real(), trace, 1e-12 * scale) << "power " << power;
      EXPECT_NEAR(sum.imag(), 0.0, 1e-12 * scale) << "power " << power;
    }
  }
  if (n >= 5) {
    EXPECT_GT(complexPairs, 0);
  }
}

INSTANTIATE_TEST_SUITE_P(Orders, EigenRandomMatrix, ::testing::Values(2, 3, 5, 8, 20, 50, 100));

TEST(EigenGeneralMatrix, DynamicMatrixOfAMassChainHasRealFrequencies) {
  // J^-1 K of a free torsional chain: not symmetric, but its eigenvalues (squared circular
  // frequencies) are real and non-negative, with one zero for the rigid-body rotation.
  const int n = 10;
  TReal2DArray a = makeMatrix(n);
  std::mt19937 generator(7);
  std::uniform_real_distribution<double> inertia(0.5, 20.0), stiffness(100.0, 5000.0);
  std::vector<double> j(n + 1), c(n + 1, 0.0);
  for (int i = 1; i <= n; ++i) j[i] = inertia(generator);
  for (int i = 1; i < n; ++i) c[i] = stiffness(generator);
  for (int i = 1; i <= n; ++i) {
    const double left = i > 1 ? c[i - 1] : 0.0, right = i < n ? c[i] : 0.0;
    a[i][i] = (left + right) / j[i];
    if (i > 1) a[i][i - 1] = -left / j[i];
    if (i < n) a[i][i + 1] = -right / j[i];
  }
  const Solution s = solve(a, n);
  ASSERT_TRUE(s.converged);
  EXPECT_LT(worstResidual(a, n, s), 1e-13);
  const std::vector<double> values = sortedReal(s, n);
  EXPECT_NEAR(values[0], 0.0, 1e-10 * values[n - 1]);
  for (int i = 1; i <= n; ++i) EXPECT_EQ(s.wi[i], 0.0);
  for (int i = 1; i < n; ++i) EXPECT_GT(values[i], 0.0);
}

// ---------------------------------------------------------------- closed-form spectra

class EigenClosedForm : public ::testing::TestWithParam<int> {};

TEST_P(EigenClosedForm, SecondDifferenceMatrix) {
  // tridiag(-1, 2, -1): eigenvalues 2 - 2 cos(k pi / (n + 1)), k = 1..n.
  const int n = GetParam();
  const TReal2DArray a = tridiagonal(n, -1.0, 2.0, -1.0);
  const Solution s = solve(a, n);
  ASSERT_TRUE(s.converged);
  const std::vector<double> values = sortedReal(s, n);
  for (int k = 1; k <= n; ++k) {
    EXPECT_NEAR(values[k - 1], 2.0 - 2.0 * std::cos(k * Pi / (n + 1)), 1e-12) << k;
    EXPECT_EQ(s.wi[k], 0.0);
  }
  EXPECT_LT(worstResidual(a, n, s), 1e-13);
}

TEST_P(EigenClosedForm, NonSymmetricTridiagonalWithComplexSpectrum) {
  // tridiag(b, a, c) with b*c < 0: eigenvalues a + 2i sqrt(|b c|) cos(k pi / (n + 1)).
  const int n = GetParam();
  const double below = 0.8, diagonal = 1.5, above = -1.25;
  const TReal2DArray a = tridiagonal(n, below, diagonal, above);
  const Solution s = solve(a, n);
  ASSERT_TRUE(s.converged);
  std::vector<double> imaginary, expected;
  for (int k = 1; k <= n; ++k) {
    EXPECT_NEAR(s.wr[k], diagonal, 1e-11) << k;
    imaginary.push_back(s.wi[k]);
    expected.push_back(2.0 * std::sqrt(std::fabs(below * above)) * std::cos(k * Pi / (n + 1)));
  }
  std::sort(imaginary.begin(), imaginary.end());
  std::sort(expected.begin(), expected.end());
  for (int k = 0; k < n; ++k) EXPECT_NEAR(imaginary[k], expected[k], 1e-11) << k;
  EXPECT_LT(worstResidual(a, n, s), 1e-13);
}

INSTANTIATE_TEST_SUITE_P(Orders, EigenClosedForm, ::testing::Values(3, 8, 21, 60));

// ---------------------------------------------------------------- complex division

TEST(ComplexDivision, AgreesWithComplexArithmetic) {
  const double parts[] = {3.0, -2.5, 0.0, 1e-3, 7.25};
  for (double ar : parts)
    for (double ai : parts)
      for (double br : parts)
        for (double bi : parts) {
          if (br == 0.0 && bi == 0.0) continue;
          double cr = 0.0, ci = 0.0;
          ComplexDivide(ar, ai, br, bi, cr, ci);
          const Complex expected = Complex(ar, ai) / Complex(br, bi);
          EXPECT_NEAR(cr, expected.real(), 1e-14 * (1 + std::abs(expected)));
          EXPECT_NEAR(ci, expected.imag(), 1e-14 * (1 + std::abs(expected)));
        }
}

TEST(ComplexDivision, HugeDivisorDoesNotOverflow) {
  // |b|^2 overflows here; the scaled division does not.
  double cr = 0.0, ci = 0.0;
  ComplexDivide(1e300, 1e300, 1e300, 1e300, cr, ci);
  EXPECT_DOUBLE_EQ(cr, 1.0);
  EXPECT_DOUBLE_EQ(ci, 0.0);
}
