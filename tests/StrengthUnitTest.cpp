// Statistics of a history, the fatigue safety factors and the strength of a throw on a
// synthetic four-stroke cycle: frames, nominal stresses against handbook formulas, the
// unlimited factor, the resonance stress, refused inputs and the minima over cylinders and throws.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>

#include "CrankUnit.h"
#include "DynamicCalcUnit.h"
#include "FloatCheckUnit.h"
#include "StatisticsUnit.h"
#include "StrengthUnit.h"

namespace {

constexpr double Pi = std::numbers::pi;
constexpr double Deg = Pi / 180;

// ---- Statistics of one history ----

TEST(HistoryStatisticsTest, TiesKeepTheFirstOccurrence) {
  TArrayStats st;
  GetStatistics({4, -2, 7, -2, 7, 1, -7}, st);
  EXPECT_EQ(st.MinValue, -7);
  EXPECT_EQ(st.MinIndex, 6);
  EXPECT_EQ(st.MaxValue, 7);
  EXPECT_EQ(st.MaxIndex, 2);  // 7 occurs at 2 and 4
  EXPECT_EQ(st.MaxAbs, 7);
  EXPECT_EQ(st.MaxAbsIndex, 2);  // |7| at 2, 4 and 6
  EXPECT_EQ(st.MinAbs, 1);
  EXPECT_EQ(st.MinAbsIndex, 5);

  GetStatistics({3, 1, 5, 1}, st);
  EXPECT_EQ(st.MinIndex, 1);
  EXPECT_EQ(st.MinAbsIndex, 1);
}

TEST(HistoryStatisticsTest, SymmetricHistoryIsPureAmplitude) {
  // One turn of M·sin over 360 one-degree steps reaches ±M exactly at 90° and 270°.
  const double M = 12345.6;
  TReal1DArray history(360);
  for (int k = 0; k < 360; ++k) history[static_cast<std::size_t>(k)] = M * std::sin(k * Deg);
  TArrayStats st;
  GetStatistics(history, st);
  EXPECT_NEAR(st.Amplitude, M, 1e-9);
  EXPECT_NEAR(st.Mean, 0, 1e-9);
  EXPECT_EQ(st.MaxIndex, 90);
  EXPECT_EQ(st.MinIndex, 270);
  EXPECT_EQ(st.MinAbsIndex, 0);
}

TEST(HistoryStatisticsTest, MeanIsTheMagnitudeOfTheMidValue) {
  // A torque that never changes sign: from −9 to −3 swings by 3 about −6.
  TArrayStats st;
  GetStatistics({-3, -9, -6}, st);
  EXPECT_EQ(st.Amplitude, 3);
  EXPECT_EQ(st.Mean, 6);
  EXPECT_EQ(st.MinAbs, 3);
  EXPECT_EQ(st.MaxAbs, 9);
  EXPECT_EQ(st.MaxAbsIndex, 1);
}

// ---- Safety factor formulas ----

TEST(SafetyFactorFormulaTest, SymmetricCycleDependsOnlyOnTheAmplitude) {
  // σ-1·ε/(Kσ·σa): a fully reversed stress, whatever the asymmetry sensitivity.
  const double limit = 540e6, sa = 90e6, K = 2.2, eps = 0.68;
  const double expected = 540.0 * 0.68 / (2.2 * 90.0);
  EXPECT_NEAR(FatigueSafetyFactor(limit, sa, 0, K, eps, 0.1, 1), expected, 1e-12);
  EXPECT_NEAR(FatigueSafetyFactor(limit, sa, 0, K, eps, 0.3, 1), expected, 1e-12);
  // The dynamic factor divides the whole stress.
  EXPECT_NEAR(FatigueSafetyFactor(limit, sa, 0, K, eps, 0.1, 1.25), expected / 1.25, 1e-12);
}

TEST(SafetyFactorFormulaTest, NoStressIsUnlimitedAndCombinesToItsRootTwoPart) {
  // Even with ε = 0 and λ = 0 no stress means no division.
  EXPECT_EQ(FatigueSafetyFactor(312e6, 0, 0, 1.8, 0, 0.05, 0), 1e30);
  EXPECT_NEAR(CombinedSafetyFactor(1e30, 1e30), 7.0710678118654752e29, 1e16);
  EXPECT_TRUE(std::isfinite(CombinedSafetyFactor(1e30, 1e30)));
}

TEST(SafetyFactorFormulaTest, CombinedFactorIsTheHypotenuseRule) {
  // 1/n² = 1/nσ² + 1/nτ²: 3 and 4 combine to 12/5.
  EXPECT_NEAR(CombinedSafetyFactor(3, 4), 2.4, 1e-15);
  EXPECT_NEAR(CombinedSafetyFactor(4, 3), 2.4, 1e-15);
  // An unlimited torsion factor leaves bending in charge.
  EXPECT_NEAR(CombinedSafetyFactor(2.5, 1e30), 2.5, 1e-12);
}

// ---- Strength of the throws of a run ----

// A smooth firing pressure (MPa) over 720 one-degree steps, peak 12 MPa just after firing.
double pressureAt(int step) {
  const double angle = step <= 360 ? step : step - 720;
  return 0.2 + 11.8 * std::exp(-(angle - 10) * (angle - 10) / (2 * 25.0 * 25.0));
}

class ThrowStrengthTest : public ::testing::Test {
 protected:
  TEngineDataStruct engine;
  std::unique_ptr<TDynamicCalcStruct> run;

  void SetUp() override {
    engine.NSec = 3;
    engine.NRad = 2;
    for (int s = 1; s <= 3; ++s) {
      engine.FireAngle[s][1] = (s - 1) * 240 * Deg;
      engine.FireAngle[s][2] = (s - 1) * 240 * Deg + 60 * Deg;
    }
    engine.ConRodGamma1[2] = 60 * Deg;
    engine.ValSteel.Ro = 7850;
    engine.ValSteel.Sgm_1 = 540;
    engine.ValSteel.Tau_1 = 312;
    // Concentration data of the order of a medium-speed diesel shaft.
    engine.KTau_M_K = 1.9, engine.KSgm_M_K = 2.1, engine.KTau_M_S = 1.8, engine.KSgm_M_S = 2.3;
    engine.KSgm_G_S = 2.6, engine.KTau_G_S = 1.7;
    engine.Etau_K = 0.66, engine.Esgm_K = 0.70, engine.Etau_S = 0.68, engine.Esgm_S = 0.72;
    engine.PsiSgm = 0.10, engine.PsiTau = 0.05, engine.LamD = 1.15, engine.Knu = 1.2;
    run = std::make_unique<TDynamicCalcStruct>(engine);
    run->AngleGrid.resize(720);
    run->Pressure.resize(720);
    for (int k = 0; k < 720; ++k) {
      run->AngleGrid[static_cast<std::size_t>(k)] = k * Deg;
      run->Pressure[static_cast<std::size_t>(k)] = pressureAt(k);
    }
    // Throws and loads without the beam model: the tests write the beam's histories themselves.
    run->CreateCranks();
    run->N = engine.N;
    run->ComputeLoads();
  }
  TCrank& throwOf(int s) { return *run->Cranks[static_cast<std::size_t>(s - 1)]; }
  static void fill(TReal1DArray& history, double value) { std::fill(history.begin(), history.end(), value); }
  // Torsional section modulus of a solid round shaft, πd³/16 (m³).
  static double solidWp(double d) { return Pi * d * d * d / 16; }
};

TEST_F(ThrowStrengthTest, ReactionsInTheThrowFrameGiveBackTheCrankpinForces) {
  // The crankpin force in shaft axes, taken as a support reaction and turned back into the
  // throw's frame, must be the summed tangential and radial forces of the throw.
  for (int s = 1; s <= 3; ++s) {
    throwOf(s).X1 = throwOf(s).XSum;
    throwOf(s).Y1 = throwOf(s).YSum;
  }
  run->ComputeStrength();
  for (int s = 1; s <= 3; ++s) {
    const TCrank& c = throwOf(s);
    for (std::size_t i = 0; i < c.T1.size(); ++i) {
      ASSERT_NEAR(c.T1[i], c.TSum[i], 1e-9 * (1 + std::fabs(c.TSum[i]))) << "throw " << s << " step " << i;
      ASSERT_NEAR(c.Z1[i], c.ZSum[i], 1e-9 * (1 + std::fabs(c.ZSum[i]))) << "throw " << s << " step " << i;
      ASSERT_EQ(c.T2[i], 0);
    }
  }
}

TEST_F(ThrowStrengthTest, MomentOfAReactionHasTheReactionsThrowComponents) {
  // A reaction (X, Y) at lever d bends the section by MX = d·Y, MY = −d·X; in the throw's
  // frame that moment must be d times the reaction's tangential and radial components.
  const double d = 0.21;
  TCrank& c = throwOf(2);
  c.X1 = c.XSum;
  c.Y1 = c.YSum;
  for (std::size_t i = 0; i < c.X1.size(); ++i) {
    c.MX1[i] = d * c.Y1[i];
    c.MY1[i] = -d * c.X1[i];
    c.Cylinders[1]->MXss[i] = d * c.Y1[i];
    c.Cylinders[1]->MYss[i] = -d * c.X1[i];
  }
  run->ComputeStrength();
  const double F = engine.PistonArea() * 1e6;
  for (std::size_t i = 0; i < c.T1.size(); ++i) {
    const double scale = 1e-9 * (1 + d * F * std::hypot(c.T1[i], c.Z1[i]));
    ASSERT_NEAR(c.MT1[i], d * c.T1[i] * F, scale) << i;
    ASSERT_NEAR(c.MZ1[i], d * c.Z1[i] * F, scale) << i;
    ASSERT_NEAR(c.Cylinders[1]->MTss[i], c.MT1[i], scale) << i;
    ASSERT_NEAR(c.Cylinders[1]->MZss[i], c.MZ1[i], scale) << i;
  }
}

TEST_F(ThrowStrengthTest, SteadyJournalTorqueHasOnlyAMeanStress) {
  // τm = 16·T/(π·d³) for a solid journal, no amplitude in an ordinary run.
  const double torque = -42000;  // N·m
  fill(throwOf(2).Mkks2, torque);
  run->ComputeStrength();
  const TCrank& c = throwOf(2);
  EXPECT_EQ(c.TauAKs, 0);
  EXPECT_NEAR(c.TauMKs, 16 * 42000 / (Pi * std::pow(engine.DkSh, 3)), 1e-6);
  // Steady torque only: τ-1/(ψτ·τm·λ).
  EXPECT_NEAR(c.NTauKs, 312e6 / (engine.PsiTau * c.TauMKs * engine.LamD), 1e-9);
  EXPECT_EQ(c.NSgmKs, 1e30);
  EXPECT_NEAR(c.NKs, c.NTauKs, 1e-9 * c.NTauKs);
}

TEST_F(ThrowStrengthTest, ReversedJournalBendingUsesTheHalfPolarModulus) {
  // σa = 32·M/(π·d³) for a fully reversed moment about X at the right support.
  const double M = 25000;
  TCrank& c = throwOf(1);
  for (std::size_t i = 0; i < c.MX2.size(); ++i) c.MX2[i] = M * std::sin(static_cast<double>(i) * Deg);
  fill(c.MY2, 90000);  // the moment about Y does not bend the oil hole
  run->ComputeStrength();
  const double sa = 32 * M / (Pi * std::pow(engine.DkSh, 3));
  EXPECT_NEAR(c.SgmAKs, sa, 1e-6 * sa);
  EXPECT_NEAR(c.SgmMKs, 0, 1e-6);
  // Fully reversed: σ-1·ε·Knu/(Kσ·σa), no dynamic factor in bending.
  const double expected = 540e6 * engine.Esgm_K * engine.Knu / (engine.KSgm_M_K * sa);
  EXPECT_NEAR(c.NSgmKs, expected, 1e-9 * expected);
  EXPECT_EQ(c.NTauKs, 1e30);
}

TEST_F(ThrowStrengthTest, NoLoadGivesUnlimitedFactorsEverywhere) {
  // The beam's histories are zero; take the split scheme's loads away too.
  for (auto& c : run->Cranks) {
    for (TReal1DArray* h : {&c->SplitMkks, &c->SplitMkss, &c->SplitMZgal1, &c->SplitMZgal2}) fill(*h, 0);
    for (auto& cyl : c->Cylinders) fill(cyl->SplitMZss, 0), fill(cyl->SplitMTss, 0);
  }
  run->ComputeStrength();
  for (const auto& c : run->Cranks) {
    for (double n : {c->NTauKs, c->NSgmKs, c->NTauSs, c->NSgmGal1, c->NTauGal1, c->NSgmGal2, c->NTauGal2,
                     c->SplitNTauKs, c->SplitNTauSs, c->SplitNSgmGal1, c->SplitNSgmGal2})
      EXPECT_EQ(n, 1e30);
    for (double n : {c->NKs, c->NGal1, c->NGal2, c->SplitNGal1, c->SplitNGal2})
      EXPECT_NEAR(n, 7.0710678118654752e29, 1e16);
    for (const auto& cyl : c->Cylinders) {
      EXPECT_EQ(cyl->NSgmSs, 1e30);
      EXPECT_NEAR(cyl->NSs, 7.0710678118654752e29, 1e16);
    }
  }
}

TEST_F(ThrowStrengthTest, MeanTorqueDividesByTheLastStepIndex) {
  fill(throwOf(3).Mkks2, 3000);
  run->ComputeStrength();
  const TCrank& c = throwOf(3);
  EXPECT_NEAR(c.MkksMean, 3000.0 * 720 / 719, 1e-9);
  // P = T·ω with ω = π·n/30; 1000 rpm.
  EXPECT_NEAR(c.Power, c.MkksMean * 1000 * 2 * Pi / 60, 1e-6);
}

TEST_F(ThrowStrengthTest, ResonanceStressReachesTheCrankpinScaledAndNotTheSplitScheme) {
  engine.DsSh = 0.18;  // crankpin thinner than the journal
  const double tau = 20e6;
  TCrank& c = throwOf(2);
  c.TorsionalAmp = tau;
  fill(c.SplitMkks, 5000);
  fill(c.SplitMkss, 4000);
  run->ComputeStrength();
  EXPECT_EQ(c.TauAKs, tau);
  EXPECT_EQ(c.TauMKs, 0);
  // The same torque through both journals: stresses in the ratio of the section moduli.
  EXPECT_NEAR(c.TauASs, tau * std::pow(engine.DkSh / engine.DsSh, 3), 1e-6 * tau);
  EXPECT_EQ(c.SplitTauAKs, 0);
  EXPECT_EQ(c.SplitTauASs, 0);
  EXPECT_NEAR(c.SplitTauMKs, 5000 / solidWp(engine.DkSh), 1e-6);
  EXPECT_NEAR(c.SplitTauMSs, 4000 / solidWp(engine.DsSh), 1e-6);
  // Other throws keep no resonance stress.
  EXPECT_EQ(throwOf(1).TauAKs, 0);
  // The fillet sees the crankpin torsion, and both fillets the same.
  EXPECT_EQ(c.NTauGal2, c.NTauGal1);
  EXPECT_LT(c.NTauGal1, 1e30);
}

TEST_F(ThrowStrengthTest, SplitSchemeFollowsTheContinuousPathWithTheSameMoments) {
  // Feeding the continuous histories with the split scheme's moments must give the split
  // factors: both schemes use the same places, coefficients and limits.
  for (auto& crank : run->Cranks) {
    TCrank& c = *crank;
    c.Mkks2 = c.SplitMkks;
    c.Mkss = c.SplitMkss;
    c.MZgalss1 = c.SplitMZgal1;
    c.MZgalss2 = c.SplitMZgal2;
  }
  // Crankpin moments of the split scheme turned back into shaft axes.
  for (int s = 1; s <= 3; ++s) {
    TCrank& c = throwOf(s);
    for (auto& cyl : c.Cylinders)
      for (std::size_t i = 0; i < c.X1.size(); ++i) {
        const double a = run->AngleGrid[i] - engine.FireAngle[s][1];
        cyl->MXss[i] = -std::cos(a) * cyl->SplitMZss[i] - std::sin(a) * cyl->SplitMTss[i];
        cyl->MYss[i] = std::cos(a) * cyl->SplitMTss[i] - std::sin(a) * cyl->SplitMZss[i];
      }
  }
  run->ComputeStrength();
  for (const auto& crank : run->Cranks) {
    const TCrank& c = *crank;
    EXPECT_LT(c.SplitNTauKs, 1e30);
    EXPECT_NEAR(c.NTauKs, c.SplitNTauKs, 1e-9 * c.NTauKs);
    EXPECT_NEAR(c.NTauSs, c.SplitNTauSs, 1e-9 * c.NTauSs);
    EXPECT_NEAR(c.NGal1, c.SplitNGal1, 1e-9 * c.NGal1);
    EXPECT_NEAR(c.NGal2, c.SplitNGal2, 1e-9 * c.NGal2);
    EXPECT_NEAR(c.SgmAGal1, c.SplitSgmAGal1, 1e-6);
    for (const auto& cyl : c.Cylinders) {
      EXPECT_GT(cyl->SplitSgmASs, 0);
      EXPECT_NEAR(cyl->SgmASs, cyl->SplitSgmASs, 1e-9 * cyl->SplitSgmASs);
      EXPECT_NEAR(cyl->NSs, cyl->SplitNSs, 1e-9 * cyl->NSs);
    }
  }
}

// ---- Refused inputs ----

TEST_F(ThrowStrengthTest, ZeroDenominatorsStopTheThrowAndNameTheInput) {
  struct Case {
    const char* input;
    std::function<void(TEngineDataStruct&)> spoil;
  };
  const Case cases[] = {
      {"DsSh", [](TEngineDataStruct& e) { e.DsSh = 0; }},
      {"PinWp", [](TEngineDataStruct& e) { e.DsSb = e.DsSh; }},  // bore as wide as the pin
      {"JournalWp", [](TEngineDataStruct& e) { e.DkSb = 1.2 * e.DkSh; }},
      {"B", [](TEngineDataStruct& e) { e.B = 0; }},
      {"Esgm_S", [](TEngineDataStruct& e) { e.Esgm_S = 0; }},
      {"Etau_K", [](TEngineDataStruct& e) { e.Etau_K = 0; }},
      {"Knu", [](TEngineDataStruct& e) { e.Knu = 0; }},
      {"LamD", [](TEngineDataStruct& e) { e.LamD = 0; }},
      {"Tau_1", [](TEngineDataStruct& e) { e.ValSteel.Tau_1 = 0; }},
  };
  fill(throwOf(1).Mkks2, 1000);
  fill(throwOf(1).X1, 1e5);
  for (const Case& c : cases) {
    TEngineDataStruct saved = engine;
    c.spoil(engine);
    try {
      run->ComputeStrength();
      ADD_FAILURE() << c.input << " was not refused";
    } catch (const EStrengthInputError& error) {
      EXPECT_EQ(error.Input, c.input);
      EXPECT_EQ(error.ThrowNumber, 1);
      EXPECT_NE(std::string(error.what()).find(c.input), std::string::npos) << error.what();
    }
    // Nothing of the refused throw was computed.
    EXPECT_EQ(throwOf(1).T1[0], 0) << c.input;
    EXPECT_EQ(throwOf(1).NTauKs, 0) << c.input;
    engine = saved;
  }
}

TEST_F(ThrowStrengthTest, ZeroConcentrationCoefficientUnderPureAmplitudeIsNamed) {
  // Kσ = 0 with a fully reversed fillet moment would divide by zero: stopped, not infinite.
  engine.KSgm_G_S = 0;
  TCrank& c = throwOf(1);
  for (std::size_t i = 0; i < c.MZgalss1.size(); ++i) c.MZgalss1[i] = i % 2 ? 800 : -800;
  EXPECT_THROW(run->ComputeStrength(), EVexaFloatError);
}

TEST_F(ThrowStrengthTest, GridOfOneStepIsRefused) {
  run->AngleGrid.assign(1, 0.0);
  run->CreateCranks();
  EXPECT_THROW(run->ComputeStrength(), EStrengthInputError);
}

TEST_F(ThrowStrengthTest, ThrowsWithoutTheirLoadsAreNotCalculated) {
  // New throws have the arrays of the angle loop but none of the loads yet.
  run->CreateCranks();
  EXPECT_THROW(run->ComputeStrength(), std::logic_error);
}

// ---- Minima over cylinders and throws ----

TEST_F(ThrowStrengthTest, MinimaKeepTheFirstOfEqualValues) {
  const double factors[3][2] = {{4.0, 2.5}, {2.5, 3.0}, {2.5, 2.5}};
  for (std::size_t v = 0; v < 3; ++v)
    for (std::size_t r = 0; r < 2; ++r) run->Cranks[v]->Cylinders[r]->NSgmSs = factors[v][r];
  int index = -1;
  EXPECT_EQ(run->Cranks[0]->MinOverCylinders(&TCylinder::NSgmSs, index), 2.5);
  EXPECT_EQ(index, 1);
  EXPECT_EQ(run->Cranks[2]->MinOverCylinders(&TCylinder::NSgmSs, index), 2.5);
  EXPECT_EQ(index, 0);
  EXPECT_EQ(run->MinOverThrows(&TCylinder::NSgmSs, index), 2.5);
  EXPECT_EQ(index, 0);

  run->Cranks[0]->NGal2 = 7, run->Cranks[1]->NGal2 = 1.5, run->Cranks[2]->NGal2 = 1.5;
  EXPECT_EQ(run->MinOverThrows(&TCrank::NGal2, index), 1.5);
  EXPECT_EQ(index, 1);
}

TEST_F(ThrowStrengthTest, MinimaOfNothingAreUnlimited) {
  int index = -1;
  run->Cranks[1]->Cylinders.clear();
  EXPECT_EQ(run->Cranks[1]->MinOverCylinders(&TCylinder::NSs, index), 1e30);
  EXPECT_EQ(index, 0);
  run->Cranks.clear();
  index = -1;
  EXPECT_EQ(run->MinOverThrows(&TCrank::NKs, index), 1e30);
  EXPECT_EQ(index, 0);
  index = -1;
  EXPECT_EQ(run->MinOverThrows(&TCylinder::NSs, index), 1e30);
  EXPECT_EQ(index, 0);
}

}  // namespace
