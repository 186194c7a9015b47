// Natural frequencies and modes of the torsional chain checked against closed-form spectra of
// uniform chains, the eigen-equation and the orthogonality of the modes, and the refusals of
// input the eigenproblem cannot use.
#include "OscillCalcUnit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

namespace {

constexpr double Pi = std::numbers::pi;

class ChainTest : public ::testing::Test {
 protected:
  TEngineDataStruct engine;
  std::unique_ptr<TOscillCalcStruct> oscill;

  void SetUp() override {
    engine.ValSteel.E = 2.1e5;  // steel, MPa
    engine.ValSteel.Mu = 0.3;
    oscill = std::make_unique<TOscillCalcStruct>(engine);
  }

  // Masses J (kg·m²) joined in a line by the section stiffnesses c (kN·m/rad), entered in the
  // lower triangle as the page does and mirrored.
  void chain(const std::vector<double>& J, const std::vector<double>& c) {
    engine.ResizeTorsionalModel(static_cast<int>(J.size()));
    for (std::size_t i = 0; i < J.size(); ++i) {
      engine.IMass[i] = J[i];
      std::fill(engine.CMatrix[i].begin(), engine.CMatrix[i].end(), 0.0);
    }
    for (std::size_t k = 0; k < c.size(); ++k) engine.CMatrix[k + 1][k] = engine.CMatrix[k][k + 1] = c[k];
  }

  // Residual of K·φ = λ·J·φ relative to the largest term for mode l: from the rounded
  // frequency and shape, or from the eigenvalue and eigenvector as solved.
  double eigenResidual(int l, bool rounded) const {
    const int n = engine.NMass;
    const double lambda = rounded ? oscill->Omega[l] * oscill->Omega[l] / 1000 : oscill->EigRe[l + 1];
    TReal1DArray phi = oscill->Modes[l];
    if (!rounded)
      for (int m = 0; m < n; ++m) phi[m] = oscill->EigVectors[m + 1][l + 1];
    double worst = 0, scale = 0;
    for (int i = 0; i < n; ++i) {
      double k = 0;
      for (int j = 0; j < n; ++j) k += engine.CMatrix[i][j] * (phi[i] - (i == j ? 0 : phi[j]));
      // Diagonal entries are springs to ground: they act on phi[i] alone.
      worst = std::max(worst, std::abs(k - lambda * engine.IMass[i] * phi[i]));
      scale = std::max(scale, std::abs(lambda * engine.IMass[i] * phi[i]));
    }
    return worst / scale;
  }
};

}  // namespace

TEST_F(ChainTest, FreeTwoMassChain) {
  chain({1, 1}, {1});
  ASSERT_EQ(oscill->CalcFrequencies(), 2);
  EXPECT_NEAR(oscill->EigRe[1], 0, 1e-12);
  EXPECT_NEAR(oscill->EigRe[2], 2, 1e-12);
  ASSERT_EQ(oscill->Omega.size(), 2u);
  EXPECT_EQ(oscill->Omega[0], 0);
  EXPECT_EQ(oscill->Omega[1], RoundToDecimals(std::sqrt(2000.0), 5));
  EXPECT_NEAR(oscill->Omega[1], 44.72136, 1e-12);
  EXPECT_EQ(oscill->Modes[0], (TReal1DArray{1, 1}));
  EXPECT_EQ(oscill->Modes[1], (TReal1DArray{1, -1}));
  EXPECT_TRUE(oscill->Notes.empty());
}

TEST_F(ChainTest, ModesAreNormalisedAtTheFirstMotorMass) {
  chain({1, 3}, {1});
  engine.NFirstMass = 2;
  oscill->CalcFrequencies();
  // Momentum is conserved: J1·φ1 + J2·φ2 = 0 in the elastic mode, so φ1 = −3 when φ2 = 1.
  EXPECT_EQ(oscill->Modes[1], (TReal1DArray{-3, 1}));
  EXPECT_NEAR(oscill->Omega[1], std::sqrt(1000.0 * (1 + 1.0 / 3)), 1e-5);
}

TEST_F(ChainTest, SpringToGroundLiftsTheLowestMode) {
  // Two unit masses, section c = 1 and a spring k0 = 0.5 from mass 1 to ground:
  // λ = (2c + k0 ∓ √(4c² + k0²))/2.
  chain({1, 1}, {1});
  engine.CMatrix[0][0] = 0.5;
  oscill->CalcFrequencies();
  const double root = std::sqrt(4 + 0.25);
  EXPECT_NEAR(oscill->Omega[0], std::sqrt(1000 * (2.5 - root) / 2), 1e-5);
  EXPECT_NEAR(oscill->Omega[1], std::sqrt(1000 * (2.5 + root) / 2), 1e-5);
  // The lowest mode is no rotation of the whole shaft any more, but both masses still swing
  // together, the grounded one less.
  EXPECT_GT(oscill->Modes[0][1], 1);
  EXPECT_LT(oscill->Modes[1][1], 0);
}

TEST_F(ChainTest, UniformFreeChainHasTheCosineSpectrum) {
  // n equal masses J and springs c, free at both ends: λ_k = 2c/J·(1 − cos(kπ/n)) with mode
  // shapes cos((m − ½)kπ/n), m = 1..n.
  const int n = 6;
  const double J = 2.5, c = 800;
  chain(std::vector<double>(n, J), std::vector<double>(n - 1, c));
  oscill->CalcFrequencies();
  for (int k = 0; k < n; ++k) {
    const double lambda = 2 * c / J * (1 - std::cos(k * Pi / n));
    EXPECT_NEAR(oscill->Omega[k], std::sqrt(1000 * lambda), 2e-5) << "mode " << k;
    for (int m = 1; m <= n; ++m) {
      const double shape = std::cos((m - 0.5) * k * Pi / n) / std::cos(0.5 * k * Pi / n);
      EXPECT_NEAR(oscill->Modes[k][m - 1], shape, 1e-5) << "mode " << k << " mass " << m;
    }
  }
}

TEST_F(ChainTest, UniformChainGroundedAtOneEndHasTheOddSpectrum) {
  // The first mass tied to ground by a spring c as well: λ_k = 2c/J·(1 − cos((2k − 1)π/(2n + 1))),
  // k = 1..n, and no rigid-body mode.
  const int n = 5;
  const double J = 1.2, c = 450;
  chain(std::vector<double>(n, J), std::vector<double>(n - 1, c));
  engine.CMatrix[0][0] = c;
  oscill->CalcFrequencies();
  for (int k = 1; k <= n; ++k) {
    const double lambda = 2 * c / J * (1 - std::cos((2 * k - 1) * Pi / (2 * n + 1)));
    EXPECT_NEAR(oscill->Omega[k - 1], std::sqrt(1000 * lambda), 2e-5) << "mode " << k - 1;
  }
}

TEST_F(ChainTest, IrregularChainModesSolveTheEigenEquationAndAreOrthogonal) {
  // An engine-like line: damper hub, six throws, flywheel, generator, spring-to-ground free.
  chain({1.8, 3.1, 3.1, 3.1, 3.1, 3.1, 3.1, 42, 95}, {2100, 9800, 9800, 9800, 9800, 9800, 14000, 5200});
  engine.NFirstMass = 2;
  ASSERT_EQ(oscill->CalcFrequencies(), 9);
  for (int l = 1; l < 9; ++l) {
    EXPECT_LT(eigenResidual(l, false), 1e-10) << "mode " << l;
    EXPECT_LT(eigenResidual(l, true), 1e-3) << "mode " << l;
    EXPECT_EQ(oscill->Modes[l][1], 1) << "mode " << l;
    EXPECT_GT(oscill->Omega[l], oscill->Omega[l - 1]);
  }
  // φ_kᵀ·J·φ_l = 0 for k ≠ l, up to the 5-decimal rounding of the shapes.
  for (int k = 0; k < 9; ++k)
    for (int l = k + 1; l < 9; ++l) {
      double product = 0, normK = 0, normL = 0;
      for (int m = 0; m < 9; ++m) {
        product += engine.IMass[m] * oscill->Modes[k][m] * oscill->Modes[l][m];
        normK += engine.IMass[m] * oscill->Modes[k][m] * oscill->Modes[k][m];
        normL += engine.IMass[m] * oscill->Modes[l][m] * oscill->Modes[l][m];
      }
      EXPECT_LT(std::abs(product) / std::sqrt(normK * normL), 1e-4) << k << ", " << l;
    }
}

TEST_F(ChainTest, ReducedLengthIsTheJournalLengthOfEqualStiffness) {
  // A solid journal of 0.22 m and 0.5 m length: c = G·Jp/L. A zero section gives length 0.
  engine.DkSh = 0.22;
  engine.DkSb = 0;
  const double G = 2.1e11 / 2.6;  // Pa
  const double Jp = Pi * std::pow(0.22, 4) / 32;
  chain({1, 1, 1}, {G * Jp / 0.5 / 1000, 0});
  oscill->CalcFrequencies();
  EXPECT_EQ(oscill->RedLength[0], 0);
  EXPECT_NEAR(oscill->RedLength[1], 0.5, 1e-12);
  EXPECT_EQ(oscill->RedLength[2], 0);
}

TEST_F(ChainTest, ModeWithANodeAtTheFirstMotorMassIsNormalisedAtItsLargestComponent) {
  // Three equal masses: the first elastic mode has its node at the middle mass.
  chain({1, 1, 1}, {1, 1});
  engine.NFirstMass = 2;
  oscill->CalcFrequencies();
  EXPECT_NEAR(oscill->Omega[1], std::sqrt(1000.0), 1e-5);
  EXPECT_EQ(oscill->Modes[1][1], 0);
  EXPECT_EQ(std::abs(oscill->Modes[1][0]), 1);
  EXPECT_EQ(oscill->Modes[1][2], -oscill->Modes[1][0]);
  EXPECT_EQ(std::max(oscill->Modes[1][0], oscill->Modes[1][2]), 1);
  ASSERT_EQ(oscill->Notes.size(), 1u);
  EXPECT_NE(oscill->Notes[0].find("Форма колебаний 1"), std::string::npos) << oscill->Notes[0];
  // The other modes keep the first motor mass as their reference.
  EXPECT_EQ(oscill->Modes[2], (TReal1DArray{-0.5, 1, -0.5}));
}

TEST_F(ChainTest, TwoEqualBranchesGiveDoubleFrequencies) {
  // Two separate two-mass pairs: each frequency twice, none lost to a near-complex pair.
  chain({1, 1, 1, 1}, {1, 0, 1});
  oscill->CalcFrequencies();
  EXPECT_EQ(oscill->Omega[0], 0);
  EXPECT_EQ(oscill->Omega[1], 0);
  EXPECT_NEAR(oscill->Omega[2], std::sqrt(2000.0), 1e-5);
  EXPECT_NEAR(oscill->Omega[3], std::sqrt(2000.0), 1e-5);
  for (int l = 0; l < 4; ++l)
    for (double a : oscill->Modes[l]) EXPECT_TRUE(std::isfinite(a) && std::abs(a) <= 1 + 1e-9);
}

TEST(SortModes, SortsByRealPartCarryingImaginaryPartsAndColumns) {
  TReal1DArray re{-7, 3, 1, 1, -2}, im{-7, 0, 0.5, -0.5, 0};
  TReal2DArray vectors{{9, 9, 9, 9, 9}, {0, 30, 10, 11, -20}, {0, 31, 12, 13, -21}};
  TOscillCalcStruct::SortModes(re, im, vectors);
  EXPECT_EQ(re, (TReal1DArray{-7, -2, 1, 1, 3}));
  // The complex pair keeps its order (equal real parts are not exchanged).
  EXPECT_EQ(im, (TReal1DArray{-7, 0, 0.5, -0.5, 0}));
  EXPECT_EQ(vectors[1], (TReal1DArray{0, -20, 10, 11, 30}));
  EXPECT_EQ(vectors[2], (TReal1DArray{0, -21, 12, 13, 31}));
  EXPECT_EQ(vectors[0], (TReal1DArray{9, 9, 9, 9, 9}));
}

class ChainRefusalTest : public ChainTest {};

TEST_F(ChainRefusalTest, MassWithoutInertiaIsNamed) {
  chain({1, 0, 1}, {1, 1});
  try {
    oscill->CalcFrequencies();
    FAIL() << "a zero moment of inertia was accepted";
  } catch (const ETorsionalModelError& error) {
    EXPECT_NE(std::string(error.what()).find("массы 2"), std::string::npos) << error.what();
  }
  EXPECT_TRUE(oscill->Omega.empty());
  EXPECT_TRUE(oscill->Modes.empty());
}

TEST_F(ChainRefusalTest, UnusableInputIsRefused) {
  chain({1, -1}, {1});
  EXPECT_THROW(oscill->CalcFrequencies(), ETorsionalModelError);
  chain({1, std::nan("")}, {1});
  EXPECT_THROW(oscill->CalcFrequencies(), ETorsionalModelError);
  chain({1, 1}, {std::numeric_limits<double>::infinity()});
  EXPECT_THROW(oscill->CalcFrequencies(), ETorsionalModelError);
  chain({1, 1}, {1});
  engine.NFirstMass = 3;  // beyond the chain
  EXPECT_THROW(oscill->CalcFrequencies(), ETorsionalModelError);
  engine.NFirstMass = 1;
  engine.NMass = 3;  // tables of two masses
  EXPECT_THROW(oscill->CalcFrequencies(), ETorsionalModelError);
}

TEST_F(ChainRefusalTest, RefusalEmptiesAnEarlierResult) {
  chain({1, 1}, {1});
  oscill->CalcFrequencies();
  ASSERT_EQ(oscill->NModes(), 2);
  engine.IMass[0] = 0;
  EXPECT_THROW(oscill->CalcFrequencies(), ETorsionalModelError);
  EXPECT_EQ(oscill->NModes(), 0);
  EXPECT_TRUE(oscill->EigVectors.empty());
}

