// Crank-mechanism kinematics checked against calculus (every rate is the time derivative of
// the quantity before it) and against plane geometry (the mechanism assembled point by point).
#include "KinematicsUnit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>

#include "FloatCheckUnit.h"

using namespace Kinematics;

namespace {

constexpr double Pi = std::numbers::pi;
constexpr double Deg = Pi / 180.0;
constexpr double Omega = 1500.0 * Pi / 30.0;  // rad/s at 1500 rpm
constexpr double R = 0.13;                     // crank radius of the default engine, m

// d/dt of a function of the crank angle at constant omega: five-point central difference.
double timeDerivative(const std::function<double(double)>& f, double alpha) {
  const double h = 1e-3;
  return Omega * (-f(alpha + 2 * h) + 8 * f(alpha + h) - 8 * f(alpha - h) + f(alpha - 2 * h)) /
         (12 * h);
}

// Extreme of a smooth periodic function over a full turn: sampling, then golden section.
double extremum(const std::function<double(double)>& f, bool largest) {
  auto g = [&](double x) { return largest ? f(x) : -f(x); };
  const int samples = 720;
  const double step = 2 * Pi / samples;
  int best = 0;
  for (int i = 1; i < samples; ++i)
    if (g(i * step) > g(best * step)) best = i;
  double lo = (best - 1) * step, hi = (best + 1) * step;
  const double golden = 0.5 * (std::sqrt(5.0) - 1.0);
  for (int i = 0; i < 100; ++i) {
    const double left = hi - golden * (hi - lo), right = lo + golden * (hi - lo);
    if (g(left) >= g(right)) hi = right; else lo = left;
  }
  return f(0.5 * (lo + hi));
}

// Piston pin distance from the crank axis by plane geometry: the pin lies on the cylinder axis
// (offset a sideways) at rod length l from the crank pin.
double centralPinByGeometry(double alpha, double a, double l) {
  const double side = R * std::sin(alpha) - a;
  return R * std::cos(alpha) + std::sqrt(l * l - side * side);
}

// Articulated mechanism assembled point by point. Master frame: x along the master cylinder
// axis, y towards the crank's direction of rotation; the articulated cylinder axis lies at
// delta in that frame and the trailing pin at gamma1 from the master rod, radius r1.
struct ArtGeometry {
  double delta, gamma1, r1, lM, l;

  // Trailing pin position in the articulated cylinder's own frame (x along its axis).
  void pin(double alphaM, double& x, double& y) const {
    const double cx = R * std::cos(alphaM), cy = R * std::sin(alphaM);
    const double masterPin = cx + std::sqrt(lM * lM - cy * cy);
    const double ux = (masterPin - cx) / lM, uy = -cy / lM;  // along the master rod
    const double px = cx + r1 * (ux * std::cos(gamma1) - uy * std::sin(gamma1));
    const double py = cy + r1 * (ux * std::sin(gamma1) + uy * std::cos(gamma1));
    x = px * std::cos(delta) + py * std::sin(delta);
    y = -px * std::sin(delta) + py * std::cos(delta);
  }
  double pistonPin(double alphaM) const {
    double x, y;
    pin(alphaM, x, y);
    return x + std::sqrt(l * l - y * y);
  }
  double sideways(double alphaM) const {
    double x, y;
    pin(alphaM, x, y);
    return y;
  }
};

// Default engine: master rod 0.58 m, trailing rod 0.5 m on a pin of 0.08 m at 65 degrees,
// the second row firing 65 degrees after the first.
constexpr ArtGeometry DefaultArt{65 * Deg, 65 * Deg, 0.08, 0.58, 0.5};

}  // namespace

// ---------------------------------------------------------------- central rod

class CentralRodCalculus : public ::testing::TestWithParam<double> {
 protected:
  const double l = 0.58;
  double a() const { return GetParam(); }
};

TEST_P(CentralRodCalculus, RatesAreTimeDerivativesOverAFullTurn) {
  const double offset = a();
  for (int i = 0; i <= 72; ++i) {
    const double alpha = i * 5 * Deg;
    SCOPED_TRACE(i * 5);
    const double beta = RodAngle(alpha, offset, R, l);
    const double omegaL = RodOmega(Omega, alpha, offset, R, l);
    EXPECT_NEAR(omegaL, timeDerivative([&](double x) { return RodAngle(x, offset, R, l); }, alpha),
                1e-8 * Omega);
    EXPECT_NEAR(RodEpsilon(Omega, alpha, offset, R, l),
                timeDerivative([&](double x) { return RodOmega(Omega, x, offset, R, l); }, alpha),
                1e-8 * Omega * Omega);
    EXPECT_NEAR(PistonVelocity(Omega, alpha, offset, R, l),
                timeDerivative([&](double x) { return PistonDistance(x, offset, R, l); }, alpha),
                1e-8 * R * Omega);
    EXPECT_NEAR(PistonAcceleration(Omega, alpha, offset, R, l),
                timeDerivative([&](double x) { return PistonVelocity(Omega, x, offset, R, l); },
                               alpha),
                1e-8 * R * Omega * Omega);
    EXPECT_NEAR(std::sin(beta), (R * std::sin(alpha) - offset) / l, 1e-15);
  }
}

TEST_P(CentralRodCalculus, DistanceMatchesGeometryAndStrokeMatchesDeadCentres) {
  const double offset = a();
  auto pin = [&](double x) { return centralPinByGeometry(x, offset, l); };
  const double top = extremum(pin, true);
  const double bottom = extremum(pin, false);
  for (int i = 0; i < 36; ++i) {
    const double alpha = i * 10 * Deg;
    EXPECT_NEAR(PistonDistance(alpha, offset, R, l), top - pin(alpha), 1e-12) << i * 10;
  }
  EXPECT_NEAR(Stroke(offset, R, l), top - bottom, 1e-12);
  // The distance stays within [0, stroke] over the turn.
  auto distance = [&](double x) { return PistonDistance(x, offset, R, l); };
  EXPECT_NEAR(extremum(distance, false), 0.0, 1e-12);
  EXPECT_NEAR(extremum(distance, true), Stroke(offset, R, l), 1e-12);
}

INSTANTIATE_TEST_SUITE_P(Offsets, CentralRodCalculus, ::testing::Values(0.0, 0.02, -0.035));

TEST(CentralRodValues, DeadCentresWithoutOffset) {
  const double l = 0.58, lambda = R / l;
  EXPECT_EQ(RodAngle(0.0, 0.0, R, l), 0.0);
  EXPECT_NEAR(PistonDistance(0.0, 0.0, R, l), 0.0, 1e-15);
  EXPECT_NEAR(PistonVelocity(Omega, 0.0, 0.0, R, l), 0.0, 1e-12);
  EXPECT_NEAR(PistonAcceleration(Omega, 0.0, 0.0, R, l), R * Omega * Omega * (1 + lambda), 1e-9);
  EXPECT_NEAR(PistonDistance(Pi, 0.0, R, l), 2 * R, 1e-15);
  EXPECT_NEAR(PistonAcceleration(Omega, Pi, 0.0, R, l), -R * Omega * Omega * (1 - lambda), 1e-9);
  EXPECT_NEAR(Stroke(0.0, R, l), 2 * R, 1e-15);
}

TEST(CentralRodValues, RodAccelerationAtTopDeadCentreIsFinite) {
  const double l = 0.58;
  // Without offset the exact value is zero; the guarded angle leaves a trace of order 1e-30.
  const double epsilon = RodEpsilon(Omega, 0.0, 0.0, R, l);
  EXPECT_TRUE(std::isfinite(epsilon));
  EXPECT_LT(std::fabs(epsilon), 1e-20);
  // With an offset the sin(alpha) * (1/sin(alpha)) term keeps its limit value:
  // at alpha = 0, sin(beta) = -a/l and eps = -lambda^3 * k * omega^2 / cos^3(beta), k = a/R.
  const double a = 0.02, lambda = R / l, cosBeta = std::sqrt(1 - (a / l) * (a / l));
  EXPECT_NEAR(RodEpsilon(Omega, 0.0, a, R, l),
              -std::pow(lambda, 3) * (a / R) * Omega * Omega / std::pow(cosBeta, 3), 1e-9);
}

TEST(CentralRodValues, OffsetMovesTheDeadCentreToCrankAndRodInLine) {
  const double l = 0.58, a = 0.02;
  EXPECT_GT(PistonDistance(0.0, a, R, l), 1e-5);
  // Crank and rod in line: the crank pin lies on the line from the crank axis to the piston
  // pin at (a, sqrt((l + R)^2 - a^2)), at angle asin(a / (l + R)) from the cylinder axis.
  const double alphaTdc = std::asin(a / (l + R));
  EXPECT_NEAR(alphaTdc + RodAngle(alphaTdc, a, R, l), 0.0, 1e-15);
  EXPECT_NEAR(PistonDistance(alphaTdc, a, R, l), 0.0, 1e-15);
  EXPECT_NEAR(PistonVelocity(Omega, alphaTdc, a, R, l), 0.0, 1e-12);
  // The offset lengthens the stroke beyond 2R.
  EXPECT_GT(Stroke(a, R, l), 2 * R);
}

// ---------------------------------------------------------------- articulated rod

class ArticulatedRodCalculus : public ::testing::TestWithParam<ArtGeometry> {};

TEST_P(ArticulatedRodCalculus, RatesAreTimeDerivativesOverAFullTurn) {
  const ArtGeometry g = GetParam();
  auto angle = [&](double x) { return ArtRodAngle(x, g.delta, g.gamma1, R, g.r1, g.lM, g.l); };
  auto omegaL = [&](double x) {
    return ArtRodOmega(Omega, x, g.delta, g.gamma1, R, g.r1, g.lM, g.l);
  };
  auto distance = [&](double x) {
    return ArtPistonDistance(x, g.delta, g.gamma1, R, g.r1, g.lM, g.l);
  };
  auto velocity = [&](double x) {
    return ArtPistonVelocity(Omega, x, g.delta, g.gamma1, R, g.r1, g.lM, g.l);
  };
  for (int i = 0; i <= 72; ++i) {
    const double alphaM = i * 5 * Deg;
    SCOPED_TRACE(i * 5);
    EXPECT_NEAR(omegaL(alphaM), timeDerivative(angle, alphaM), 1e-8 * Omega);
    EXPECT_NEAR(ArtRodEpsilon(Omega, alphaM, g.delta, g.gamma1, R, g.r1, g.lM, g.l),
                timeDerivative(omegaL, alphaM), 1e-8 * Omega * Omega);
    EXPECT_NEAR(velocity(alphaM), timeDerivative(distance, alphaM), 1e-8 * R * Omega);
    EXPECT_NEAR(ArtPistonAcceleration(Omega, alphaM, g.delta, g.gamma1, R, g.r1, g.lM, g.l),
                timeDerivative(velocity, alphaM), 1e-8 * R * Omega * Omega);
  }
}

TEST_P(ArticulatedRodCalculus, PinDistanceAndRodAngleMatchGeometry) {
  const ArtGeometry g = GetParam();
  for (int i = 0; i < 72; ++i) {
    const double alphaM = i * 5 * Deg;
    EXPECT_NEAR(ArtPinDistance(alphaM, g.delta, g.gamma1, R, g.r1, g.lM, g.l),
                g.pistonPin(alphaM), 1e-12) << i * 5;
    EXPECT_NEAR(g.l * std::sin(ArtRodAngle(alphaM, g.delta, g.gamma1, R, g.r1, g.lM, g.l)),
                g.sideways(alphaM), 1e-12) << i * 5;
  }
}

TEST_P(ArticulatedRodCalculus, TopDeadCentreEstimateIsTheLargestDistance) {
  const ArtGeometry g = GetParam();
  const double largest = extremum([&](double x) { return g.pistonPin(x); }, true);
  EXPECT_NEAR(ArtTdcDistance(g.delta, g.gamma1, R, g.r1, g.lM, g.l), largest, 5e-7);
  // Never beyond the true top dead centre (the piston distance is not negative there).
  EXPECT_LE(ArtTdcDistance(g.delta, g.gamma1, R, g.r1, g.lM, g.l), largest + 1e-15);
}

INSTANTIATE_TEST_SUITE_P(
    Geometries, ArticulatedRodCalculus,
    ::testing::Values(DefaultArt, ArtGeometry{45 * Deg, 60 * Deg, 0.07, 0.55, 0.45},
                      ArtGeometry{90 * Deg, 50 * Deg, 0.09, 0.6, 0.48},
                      ArtGeometry{30 * Deg, 40 * Deg, 0.06, 0.5, 0.42}));

TEST(ArticulatedRodValues, DefaultGeometryTopDeadCentre) {
  const ArtGeometry& g = DefaultArt;
  EXPECT_NEAR(ArtTdcAngle(g.delta, g.gamma1, R, g.r1, g.lM, g.l) / Deg, 0.89, 0.005);
  EXPECT_NEAR(ArtTdcDistance(g.delta, g.gamma1, R, g.r1, g.lM, g.l), 0.708086, 5e-7);
}

TEST(ArticulatedRodValues, ReducesToCentralRodWithoutPinOffsetAndAngle) {
  const double l = 0.5, lM = 0.58;
  for (int i = 0; i < 72; ++i) {
    const double alpha = i * 5 * Deg;
    SCOPED_TRACE(i * 5);
    EXPECT_NEAR(ArtRodAngle(alpha, 0, 0, R, 0, lM, l), RodAngle(alpha, 0, R, l), 1e-15);
    EXPECT_NEAR(ArtRodOmega(Omega, alpha, 0, 0, R, 0, lM, l), RodOmega(Omega, alpha, 0, R, l),
                1e-12);
    EXPECT_NEAR(ArtRodEpsilon(Omega, alpha, 0, 0, R, 0, lM, l),
                RodEpsilon(Omega, alpha, 0, R, l), 1e-9);
    EXPECT_NEAR(ArtPistonDistance(alpha, 0, 0, R, 0, lM, l), PistonDistance(alpha, 0, R, l),
                1e-15);
    EXPECT_NEAR(ArtPistonVelocity(Omega, alpha, 0, 0, R, 0, lM, l),
                PistonVelocity(Omega, alpha, 0, R, l), 1e-12);
    EXPECT_NEAR(ArtPistonAcceleration(Omega, alpha, 0, 0, R, 0, lM, l),
                PistonAcceleration(Omega, alpha, 0, R, l), 1e-9);
  }
}

TEST(ArticulatedRodValues, WithoutPinOffsetFollowsItsOwnCrankAngle) {
  // r1 = 0: a central rod of length l on the crank, seen from a cylinder delta behind.
  const double l = 0.5, lM = 0.58, delta = 40 * Deg, gamma1 = 55 * Deg;
  EXPECT_DOUBLE_EQ(ArtTdcDistance(delta, gamma1, R, 0, lM, l), R + l);
  for (int i = 0; i < 72; ++i) {
    const double alphaM = i * 5 * Deg;
    EXPECT_NEAR(ArtPistonDistance(alphaM, delta, gamma1, R, 0, lM, l),
                PistonDistance(alphaM - delta, 0, R, l), 1e-15);
    EXPECT_NEAR(ArtPistonAcceleration(Omega, alphaM, delta, gamma1, R, 0, lM, l),
                PistonAcceleration(Omega, alphaM - delta, 0, R, l), 1e-9);
  }
}

// ---------------------------------------------------------------- impossible geometry

TEST(KinematicsGeometryCheck, CentralRodTooShortIsNamed) {
  EXPECT_NO_THROW(RequireCentralGeometry(0.0, R, 0.58));
  EXPECT_NO_THROW(RequireCentralGeometry(-0.02, R, 0.58));
  try {
    RequireCentralGeometry(0.03, R, 0.15, "kinematics of cylinder 2");
    FAIL() << "a rod of 0.15 m cannot follow a crank of 0.13 m offset by 0.03 m";
  } catch (const EVexaFloatError& error) {
    const std::string text = error.what();
    EXPECT_NE(text.find("kinematics of cylinder 2"), std::string::npos) << text;
    EXPECT_NE(text.find("угол шатуна не определён: длина шатуна l = 0.15 м"), std::string::npos) << text;
  }
  EXPECT_THROW(RequireCentralGeometry(0.0, 0.0, 0.58), EVexaFloatError);
  EXPECT_THROW(RequireCentralGeometry(0.0, R, std::nan("")), EVexaFloatError);
}

TEST(KinematicsGeometryCheck, UncheckedTooShortRodRaisesTheInvalidFlag) {
  // A caller that skips the check still cannot miss the fault: NaN plus the invalid flag.
  ClearFloatFlags();
  const double beta = RodAngle(Pi / 2, 0.0, R, 0.1);
  EXPECT_TRUE(std::isnan(beta));
  EXPECT_THROW(CheckFloatFlags("kinematics", "rod angle"), EVexaFloatError);
  EXPECT_THROW(RequireFinite(PistonDistance(Pi / 2, 0.0, R, 0.1), "kinematics", "Sp"),
               EVexaFloatError);
  ClearFloatFlags();
}

TEST(KinematicsGeometryCheck, ArticulatedLimitIsTheLargestSidewaysTravel) {
  const ArtGeometry g = DefaultArt;
  EXPECT_NO_THROW(RequireArticulatedGeometry(g.delta, g.gamma1, R, g.r1, g.lM, g.l));
  const double travel =
      std::fabs(extremum([&](double x) { return std::fabs(g.sideways(x)); }, true));
  // Just long enough: every step of a fine grid is finite.
  const double enough = travel * (1 + 1e-9);
  EXPECT_NO_THROW(RequireArticulatedGeometry(g.delta, g.gamma1, R, g.r1, g.lM, enough));
  ClearFloatFlags();
  double sum = 0.0;
  for (int i = 0; i < 3600; ++i)
    sum += ArtPistonAcceleration(Omega, i * 0.1 * Deg, g.delta, g.gamma1, R, g.r1, g.lM, enough);
  EXPECT_TRUE(std::isfinite(sum));
  EXPECT_NO_THROW(CheckFloatFlags("kinematics", "articulated rod"));
  // Just too short: refused, naming the trailing rod.
  try {
    RequireArticulatedGeometry(g.delta, g.gamma1, R, g.r1, g.lM, travel * (1 - 1e-9), "row 2");
    FAIL() << "the trailing rod cannot reach";
  } catch (const EVexaFloatError& error) {
    EXPECT_NE(std::string(error.what()).find("длина прицепного шатуна"), std::string::npos) << error.what();
  }
  // A master rod too short is refused as such.
  EXPECT_THROW(RequireArticulatedGeometry(g.delta, g.gamma1, R, g.r1, 0.12, g.l), EVexaFloatError);
}
