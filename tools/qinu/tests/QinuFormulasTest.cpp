// Formulas of the cycle against geometry, calculus and gas dynamics.
#include <gtest/gtest.h>

#include <cmath>

#include "CycleFormulas.h"

namespace {

using namespace qinu::formulas;

class QinuCrankVolumeTest : public ::testing::Test {
 protected:
  // The example engine: bore 0.26 m, crank radius 0.13 m, rod 0.58 m, compression 15.
  TCylinderGeometry g_{0.26, 0.13, 0.13 / 0.58, 15};
};

TEST_F(QinuCrankVolumeTest, DeadCentresGiveTheCompressionRatio) {
  EXPECT_NEAR(g_.SweptVolume(), kPi / 4 * 0.26 * 0.26 * 0.26, 1e-12);
  EXPECT_NEAR(CylinderVolume(g_, 0), g_.ClearanceVolume(), 1e-12);
  EXPECT_NEAR(CylinderVolume(g_, 180), g_.ClearanceVolume() + g_.SweptVolume(), 1e-12);
  EXPECT_NEAR(CylinderVolume(g_, 180) / CylinderVolume(g_, 360), 15, 1e-9);
  EXPECT_NEAR(CylinderVolume(g_, -90), CylinderVolume(g_, 90), 1e-15);
}

TEST_F(QinuCrankVolumeTest, PistonTravelAtRightAngleFollowsFromTheTriangle) {
  // At 90 deg the pin is sqrt(L^2 - r^2) above the crank axis instead of L + r.
  const double rod = 0.58, crank = 0.13;
  EXPECT_NEAR(PistonTravel(g_, 90), rod + crank - std::sqrt(rod * rod - crank * crank), 1e-12);
  TCylinderGeometry harmonic = g_;
  harmonic.Lambda = 0;
  EXPECT_NEAR(PistonTravel(harmonic, 90), crank, 1e-12);
}

TEST_F(QinuCrankVolumeTest, VolumeRateIsTheDerivativeOfTheVolume) {
  for (double angle = -170; angle < 540; angle += 37) {
    const double h = 1e-4;
    const double numeric = (CylinderVolume(g_, angle + h) - CylinderVolume(g_, angle - h)) / (2 * h);
    EXPECT_NEAR(CylinderVolumeRate(g_, angle), numeric, 1e-9 * g_.SweptVolume()) << angle;
  }
}

TEST(QinuWiebeLawTest, SingleLawPeaksWhereItsDerivativeVanishes) {
  for (double m : {0.5, 1.0, 2.0}) {
    const double peak = WiebePeak(m);
    const double h = 1e-5;
    EXPECT_GT(WiebeRate(peak, m), WiebeRate(peak - 100 * h, m));
    EXPECT_GT(WiebeRate(peak, m), WiebeRate(peak + 100 * h, m));
    EXPECT_NEAR((WiebeRate(peak + h, m) - WiebeRate(peak - h, m)) / (2 * h), 0, 1e-4);
    EXPECT_NEAR(WiebeFraction(1, m), 0.999, 1e-12);  // 6.908 = ln 1000
  }
}

TEST(QinuWiebeLawTest, DoubleLawBurnsAllFuelWithTheRateAsDerivative) {
  // Defaults of the working-process data: start -15 deg, 70 deg, 5 % kinetic with its
  // maximum 3 deg after the start, exponents 1 and 0.5.
  const TDoubleWiebe law = TDoubleWiebe::FromData(-15, 70, 0.05, 3, 1, 0.5);
  EXPECT_DOUBLE_EQ(law.Fraction(-15), 0);
  EXPECT_DOUBLE_EQ(law.Fraction(law.End()), 1);
  EXPECT_DOUBLE_EQ(law.End(), 55);
  // Simpson integral of the rate over the combustion.
  const int n = 7000;
  const double h = (law.End() - law.Start) / n;
  double integral = 0;
  for (int i = 0; i <= n; ++i) {
    const double weight = i == 0 || i == n ? 1 : (i % 2 ? 4 : 2);
    integral += weight * law.Rate(law.Start + i * h);
  }
  EXPECT_NEAR(integral * h / 3, 1, 2e-4);
  for (double a : {-14.0, -12.0, 0.0, 20.0, 50.0}) {
    const double d = 1e-4;
    EXPECT_NEAR(law.Rate(a), (law.Fraction(a + d) - law.Fraction(a - d)) / (2 * d), 1e-6) << a;
  }
  // The kinetic part alone peaks 3 deg after the start.
  const TDoubleWiebe kinetic = TDoubleWiebe::FromData(-15, 70, 1.0, 3, 1, 0.5);
  EXPECT_GT(kinetic.Rate(-12), kinetic.Rate(-12.2));
  EXPECT_GT(kinetic.Rate(-12), kinetic.Rate(-11.8));
}

TEST(QinuRestrictionFlowTest, ChokedFluxIsTheCriticalFlowFunction) {
  // Air, gamma = 1.4: m'/A = 0.6847 p0 / sqrt(R T0) (Heywood, App. C).
  const double R = 287.0, T0 = 300, p0 = 2e5;
  EXPECT_NEAR(RestrictionMassFlux(p0, T0, R, 1.4, 0.3 * p0), 0.6847 * p0 / std::sqrt(R * T0),
              1e-4 * p0 / std::sqrt(R * T0));
  // Continuous at the critical pressure ratio 0.5283.
  const double critical = std::pow(2 / 2.4, 1.4 / 0.4);
  EXPECT_NEAR(RestrictionMassFlux(p0, T0, R, 1.4, critical * p0 * (1 + 1e-9)),
              RestrictionMassFlux(p0, T0, R, 1.4, critical * p0 * (1 - 1e-9)), 1e-3);
  EXPECT_EQ(RestrictionMassFlux(p0, T0, R, 1.4, p0), 0);
  EXPECT_EQ(RestrictionMassFlux(p0, T0, R, 1.4, 1.1 * p0), 0);
}

TEST(QinuRestrictionFlowTest, SmallPressureDropFollowsBernoulli) {
  // Incompressible limit: m'/A = sqrt(2 rho dp).
  const double R = 287.0, T0 = 300, p0 = 1e5, drop = 0.005 * p0;
  const double rho = p0 / (R * T0);
  EXPECT_NEAR(RestrictionMassFlux(p0, T0, R, 1.4, p0 - drop), std::sqrt(2 * rho * drop),
              0.01 * std::sqrt(2 * rho * drop));
}

TEST(QinuWallHeatTransferTest, WoschniOriginalUnitsAgreeWithTheSiForm) {
  // Heywood, ch. 12: h = 3.26 B^-0.2 p^0.8 T^-0.55 w^0.8 with p in kPa. The two
  // fits differ in the temperature exponent only, a few per cent over the cycle.
  const double bore = 0.26;
  for (double T : {500.0, 1000.0, 1800.0}) {
    const double p = 5e6, w = 20;
    const double si = 3.26 * std::pow(bore, -0.2) * std::pow(p / 1e3, 0.8) * std::pow(T, -0.55) *
                      std::pow(w, 0.8);
    const double original = WoschniCoefficient(110, bore, p, T, w);
    EXPECT_NEAR(original / si, 1.0, 0.25) << T;
  }
  // Swirl and the gas-exchange constant raise the velocity (6.18 against 2.28).
  EXPECT_NEAR(WoschniVelocity(false, 8.0, 0, 0), 2.28 * 8, 1e-12);
  EXPECT_NEAR(WoschniVelocity(true, 8.0, 0, 0), 6.18 * 8, 1e-12);
  EXPECT_NEAR(WoschniVelocity(false, 8.0, 10, 0), 2.28 * 8 + 0.308 * 10, 1e-12);
}

}  // namespace
