// Cylinder forces and throw loads on a synthetic four-stroke cycle: power balance of the
// mechanism, the split scheme's statics, torque accumulation and the harmonic analysis.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "CrankUnit.h"
#include "DynamicCalcUnit.h"
#include "FloatCheckUnit.h"
#include "ForcesUnit.h"

namespace {

constexpr double Pi = std::numbers::pi;
constexpr double Deg = Pi / 180;

// A smooth firing pressure (MPa) over 720 one-degree steps, peak 12 MPa at the firing step 0.
double pressureAt(int step) {
  const double angle = step <= 360 ? step : step - 720;  // degrees from firing top dead centre
  return 0.2 + 11.8 * std::exp(-(angle - 10) * (angle - 10) / (2 * 25.0 * 25.0));
}

void setSyntheticCycle(TDynamicCalcStruct& run, int steps = 720) {
  run.AngleGrid.resize(static_cast<std::size_t>(steps));
  run.Pressure.resize(static_cast<std::size_t>(steps));
  for (int k = 0; k < steps; ++k) {
    run.AngleGrid[static_cast<std::size_t>(k)] = k * 720.0 / steps * Deg;
    run.Pressure[static_cast<std::size_t>(k)] = pressureAt(k * 720 / steps);
  }
}

class ThrowLoadsTest : public ::testing::Test {
 protected:
  TEngineDataStruct engine;
  void SetUp() override {
    engine.ValSteel = {"steel", 1000, 800, 300, 500, 7850, 210000, 0.3, 1};
    engine.WebTorsionCoef = 0.28;
  }
  // Prepares a run without diagram file: grid, throws, loads.
  std::unique_ptr<TDynamicCalcStruct> prepare() {
    auto run = std::make_unique<TDynamicCalcStruct>(engine);
    setSyntheticCycle(*run);
    run->Setup();
    run->ComputeLoads();
    return run;
  }
  void singleRow() {
    engine.NRad = 1;
    engine.Disposition = 0;
    engine.NSec = 4;
    for (int s = 1; s <= 4; ++s) engine.FireAngle[s][1] = (s - 1) * 180 * Deg;
  }
};

}  // namespace

TEST_F(ThrowLoadsTest, CentralRodTangentialForceDeliversThePistonPower) {
  singleRow();
  auto run = prepare();
  const double omega = engine.Omega();
  for (const auto& crank : run->Cranks) {
    const TCylinder& c = *crank->Cylinders[0];
    for (std::size_t i = 0; i < c.T.size(); ++i) {
      // Power of the piston force equals the power of the tangential force on the crank.
      const double piston = c.Ps[i] * c.Vp[i];
      const double crankPower = c.T[i] * engine.R * omega;
      ASSERT_NEAR(piston, crankPower, 1e-9 * (1 + std::fabs(piston))) << "step " << i;
    }
  }
}

TEST_F(ThrowLoadsTest, ArticulatedRodTangentialForceDeliversItsPistonPower) {
  for (int s = 1; s <= engine.NSec; ++s) {
    engine.FireAngle[s][1] = (s - 1) * 90 * Deg;
    engine.FireAngle[s][2] = (s - 1) * 90 * Deg + 65 * Deg;
  }
  engine.ConRodGamma1[2] = 65 * Deg;
  auto run = prepare();
  const double omega = engine.Omega();
  const TCylinder& art = *run->Cranks[2]->Cylinders[1];
  double worst = 0, scale = 0;
  for (std::size_t i = 0; i < art.T.size(); ++i) {
    worst = std::max(worst, std::fabs(art.Ps[i] * art.Vp[i] - art.T[i] * engine.R * omega));
    scale = std::max(scale, std::fabs(art.Ps[i] * art.Vp[i]));
  }
  EXPECT_LT(worst, 1e-6 * scale);
}

TEST_F(ThrowLoadsTest, ArticulatedRodsAtRestAreRefusedNamingTheSpeed) {
  // The default engine has trailing rods in row 2; side-by-side rods may stand still.
  engine.N = 0;
  try {
    prepare();
    FAIL() << "a trailing rod at 0 rpm was accepted";
  } catch (const EVexaFloatError& error) {
    const std::string text = error.what();
    EXPECT_NE(text.find("прицепного шатуна цилиндра 9"), std::string::npos) << text;
    EXPECT_NE(text.find("при частоте вращения вала 0 об/мин"), std::string::npos) << text;
  }
  engine.Disposition = 0;
  for (int r = 1; r <= engine.NRad; ++r) engine.ConRodGamma1[r] = engine.ConRodR1[r] = 0;
  EXPECT_NO_THROW(prepare());
}

TEST_F(ThrowLoadsTest, ForcesAtTopDeadCentreOfACentralRod) {
  singleRow();
  auto run = prepare();
  const TCylinder& c = *run->Cranks[0]->Cylinders[0];
  const double rotating = engine.RodRotForce(1) + engine.PinForce();  // one row carries the whole pin
  EXPECT_NEAR(c.Alpha[0], 0, 1e-15);
  EXPECT_NEAR(c.T[0], 0, 1e-12);
  EXPECT_NEAR(c.N[0], 0, 1e-12);
  EXPECT_NEAR(c.K[0], c.Ps[0], 1e-12);
  EXPECT_NEAR(c.Z[0], c.Ps[0] - rotating, 1e-12);
  // A radial force at the master's top dead centre points along −y.
  EXPECT_NEAR(c.Fx[0], 0, 1e-6);
  EXPECT_NEAR(c.Fy[0], -c.Z[0] * c.Fp * 1e6, 1e-6);
}

TEST_F(ThrowLoadsTest, CylinderFiresAtItsOwnStep) {
  singleRow();
  auto run = prepare();
  const TCylinder& third = *run->Cranks[2]->Cylinders[0];  // fires at 360°
  EXPECT_EQ(third.Shift, 360);
  EXPECT_NEAR(third.Alpha[360], 0, 1e-12);
  EXPECT_EQ(third.P[360], run->Pressure[0]);
}

TEST_F(ThrowLoadsTest, CutOutCylinderKeepsOnlyItsInertia) {
  singleRow();
  engine.CylEnabled[2][1] = false;
  auto run = prepare();
  const TCylinder& off = *run->Cranks[1]->Cylinders[0];
  for (std::size_t i = 0; i < off.P.size(); ++i) {
    ASSERT_EQ(off.P[i], 0);
    ASSERT_EQ(off.Ps[i], off.Pj[i]);
  }
}

TEST_F(ThrowLoadsTest, SingleRowWithoutWebsSplitsEvenly) {
  singleRow();
  auto run = prepare();
  const TCrank& crank = *run->Cranks[1];
  const TCylinder& c = *crank.Cylinders[0];
  for (std::size_t i = 0; i < c.Z.size(); i += 7) {
    ASSERT_NEAR(crank.SplitZ1[i], c.Z[i] / 2, 1e-12);
    ASSERT_NEAR(crank.SplitZ2[i], c.Z[i] / 2, 1e-12);
    ASSERT_NEAR(crank.SplitT1[i], c.T[i] / 2, 1e-12);
    ASSERT_NEAR(crank.SplitT2[i], c.T[i] / 2, 1e-12);
  }
}

TEST_F(ThrowLoadsTest, SplitReactionsBalanceEveryLoadOfTheThrow) {
  // Two side-by-side rows, webs and counterweights: the reactions carry the whole load and
  // the moment about the left support vanishes.
  engine.Disposition = 0;
  engine.ConRodGamma1[2] = 0;
  engine.ConRodR1[2] = 0;
  for (int w = 1; w <= engine.NWebs(); ++w) {
    engine.Msh[w] = 300 + w;
    engine.Rsh[w] = 0.05;
    engine.Mpr[w] = 500 + 3 * w;
    engine.Rpr[w] = 0.15;
    engine.AlphaPr[w] = (170 + w) * Deg;
  }
  auto run = prepare();
  const int s = 3;
  const TCrank& crank = *run->Cranks[s - 1];
  const double L0 = engine.L0, lj = engine.WebMidPos();
  for (std::size_t i = 0; i < crank.TSum.size(); i += 11) {
    // Radial direction (towards the crank axis positive): pins, webs (outwards), counterweights.
    const double wL = engine.WebForce(2 * s - 1), wR = engine.WebForce(2 * s);
    const double cL = engine.ProtForce(2 * s - 1), cR = engine.ProtForce(2 * s);
    const double gL = engine.AlphaPr[2 * s - 1], gR = engine.AlphaPr[2 * s];
    double loadZ = -wL - wR + std::cos(gL) * cL + std::cos(gR) * cR;
    double loadT = -std::sin(gL) * cL - std::sin(gR) * cR;
    // Each counterweight sits L6 inwards of its web's mid-plane.
    double momentZ = -wL * lj - wR * (L0 - lj) + std::cos(gL) * cL * (lj + engine.L6) +
                     std::cos(gR) * cR * (L0 - lj - engine.L6);
    for (std::size_t k = 0; k < crank.Cylinders.size(); ++k) {
      const double d = lj + engine.RodOffset() + static_cast<double>(k) * engine.RodSpacing();
      loadZ += crank.Cylinders[k]->Z[i];
      loadT += crank.Cylinders[k]->T[i];
      momentZ += crank.Cylinders[k]->Z[i] * d;
    }
    ASSERT_NEAR(crank.SplitZ1[i] + crank.SplitZ2[i], loadZ, 1e-9 * (1 + std::fabs(loadZ)));
    ASSERT_NEAR(crank.SplitT1[i] + crank.SplitT2[i], loadT, 1e-9 * (1 + std::fabs(loadT)));
    ASSERT_NEAR(crank.SplitZ2[i] * L0, momentZ, 1e-9 * (1 + std::fabs(momentZ)));
  }
}

TEST_F(ThrowLoadsTest, ArticulatedForcePointsSitOneMillimetreFromThePinMiddle) {
  const double middle = engine.WebMidPos() + engine.B / 2 + engine.PinLength() / 2;
  const double first = engine.WebMidPos() + engine.RodOffset();
  EXPECT_NEAR(first, middle - 0.001, 1e-15);
  EXPECT_NEAR(first + engine.RodSpacing(), middle + 0.001, 1e-15);
  EXPECT_NEAR(middle, engine.L0 / 2, 1e-15);
}

TEST_F(ThrowLoadsTest, SplitTorqueAccumulatesAlongTheShaft) {
  singleRow();
  auto run = prepare();
  const double F = run->Cranks[0]->Cylinders[0]->Fp * 1e6;
  for (std::size_t i = 0; i < 720; i += 13) {
    double sum = 0;
    for (const auto& crank : run->Cranks) {
      sum += crank->TSum[i] * F * engine.R;
      ASSERT_NEAR(crank->SplitMkks[i], sum, 1e-9 * (1 + std::fabs(sum)));
    }
  }
}

TEST_F(ThrowLoadsTest, TorqueStartsAtTheFiringStepOfRowOne) {
  singleRow();
  auto run = prepare();
  const TCrank& third = *run->Cranks[2];
  const double F = third.Cylinders[0]->Fp * 1e6;
  EXPECT_NEAR(third.Mk[0], third.TSum[360] * F * engine.R, 1e-9);
}

TEST_F(ThrowLoadsTest, HarmonicSeriesRebuildsTheTorque) {
  singleRow();
  engine.NGarm = 48;
  auto run = prepare();
  const TCrank& crank = *run->Cranks[0];
  const std::size_t n = crank.Mk.size();
  const double h = 2 * Pi / static_cast<double>(n);
  double worst = 0, peak = 0;
  for (std::size_t i = 0; i < n; ++i) {
    double sum = crank.HarmA0 / 2;
    for (std::size_t x = 1; x <= crank.HarmA.size(); ++x)
      sum += crank.HarmA[x - 1] * std::cos(static_cast<double>(x * i) * h) +
             crank.HarmB[x - 1] * std::sin(static_cast<double>(x * i) * h);
    worst = std::max(worst, std::fabs(sum - crank.Mk[i]));
    peak = std::max(peak, std::fabs(crank.Mk[i]));
  }
  // 48 harmonics of a smooth torque rebuild it to a small fraction of its peak.
  EXPECT_LT(worst, 0.01 * peak);
  for (std::size_t x = 0; x < crank.HarmA.size(); ++x)
    EXPECT_NEAR(crank.HarmAmp[x], std::hypot(crank.HarmA[x], crank.HarmB[x]), 1e-9);
}

// The gas and inertia parts of the torque harmonics, taken at one speed and combined at
// another, against a run prepared at that other speed.
TEST_F(ThrowLoadsTest, TorqueHarmonicPartsGiveTheHarmonicsAtAnotherSpeed) {
  for (int s = 1; s <= engine.NSec; ++s) {
    engine.FireAngle[s][1] = (s - 1) * 90 * Deg;
    engine.FireAngle[s][2] = (s - 1) * 90 * Deg + 65 * Deg;
  }
  engine.ConRodGamma1[2] = 65 * Deg;
  engine.NGarm = 24;
  for (int disposition : {0, 1}) {
    engine.Disposition = static_cast<std::uint8_t>(disposition);
    engine.CylEnabled[2][1] = false;  // a cut-out cylinder keeps only its inertia
    engine.N = 1500;
    auto first = prepare();
    std::vector<TTorqueHarmonicParts> parts;
    for (const auto& crank : first->Cranks) parts.push_back(crank->TorqueHarmonicParts());
    for (double speed : {430.0, 1500.0, 2380.0}) {
      engine.N = speed;
      auto other = prepare();
      for (std::size_t v = 0; v < parts.size(); ++v) {
        TCrank& combined = *first->Cranks[v];
        const TCrank& expected = *other->Cranks[v];
        combined.SetTorqueHarmonics(parts[v], engine.Omega());
        double scale = std::fabs(expected.HarmA0);
        for (double a : expected.HarmAmp) scale = std::max(scale, a);
        EXPECT_NEAR(combined.HarmA0, expected.HarmA0, 1e-12 * scale);
        for (std::size_t x = 0; x < expected.HarmA.size(); ++x) {
          EXPECT_NEAR(combined.HarmA[x], expected.HarmA[x], 1e-12 * scale) << disposition << " " << speed;
          EXPECT_NEAR(combined.HarmB[x], expected.HarmB[x], 1e-12 * scale);
          EXPECT_NEAR(combined.HarmAmp[x], expected.HarmAmp[x], 1e-12 * scale);
          if (expected.HarmAmp[x] > 1e-4 * scale) {
            EXPECT_NEAR(combined.HarmPhase[x], expected.HarmPhase[x], 1e-10);
          }
        }
      }
    }
  }
}

TEST(HarmonicAnalysis, PureCosineGivesItsOwnHarmonic) {
  const std::size_t n = 720;
  const double h = 2 * Pi / static_cast<double>(n);
  TReal1DArray values(n);
  for (std::size_t i = 0; i < n; ++i) values[i] = 1000 * std::cos(static_cast<double>(i) * h);
  double a0 = 0;
  TReal1DArray A(3), B(3);
  HarmonicCoefficients(values, a0, A, B);
  EXPECT_NEAR(A[0], 1000, 1e-9);
  EXPECT_NEAR(B[0], 0, 1e-9);
  EXPECT_NEAR(A[1], 0, 1e-9);
  EXPECT_NEAR(a0, 0, 1e-9);
  EXPECT_NEAR(HarmonicPhase(A[0], B[0]), Pi / 2, 0.01);
}

TEST(HarmonicAnalysis, PhaseQuadrantsAndTheZeroSineLimit) {
  EXPECT_EQ(HarmonicPhase(0, 1), 0);
  const double phase = HarmonicPhase(1, -1);
  EXPECT_GT(phase, Pi / 2);
  EXPECT_LT(phase, Pi);
  EXPECT_NEAR(HarmonicPhase(-1, 1), -Pi / 4, 1e-15);
  EXPECT_NEAR(HarmonicPhase(-1, -1), Pi / 4 + Pi, 1e-15);
  EXPECT_EQ(HarmonicPhase(5, 0), Pi / 2);
  EXPECT_EQ(HarmonicPhase(-5, 0), Pi / 2);
  EXPECT_EQ(HarmonicPhase(0, 0), 0);
}

TEST(ShaftAxes, ForcesTurnWithTheCrank) {
  const auto radial = Forces::ToShaftAxes(0, 0, 100);
  EXPECT_NEAR(radial.x, 0, 1e-12);
  EXPECT_NEAR(radial.y, -100, 1e-12);
  // A quarter turn later the radial force points along +x... the crankpin is at (−R, 0).
  const auto turned = Forces::ToShaftAxes(Pi / 2, 0, 100);
  EXPECT_NEAR(turned.x, 100, 1e-12);
  EXPECT_NEAR(turned.y, 0, 1e-12);
  const auto tangential = Forces::ToShaftAxes(0, 50, 0);
  EXPECT_NEAR(tangential.x, -50, 1e-12);
}
