#include "KinematicsUnit.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "FloatCheckUnit.h"
#include "NumberFormatUnit.h"

namespace Kinematics {

namespace {

// The rod acceleration formulas divide by sin(alpha) and cos(beta) in a way that cancels
// analytically; shifting an exact zero by this amount keeps them finite with the right limit.
constexpr double AngleGuard = 1e-30;

double guardedSinAngle(double alpha) { return std::sin(alpha) == 0.0 ? alpha + AngleGuard : alpha; }
double guardedCosAngle(double beta) { return std::cos(beta) == 0.0 ? beta + AngleGuard : beta; }

// Master rod of an articulated throw: a central rod without offset.
double masterAngle(double alphaM, double R, double lM) { return std::asin(R / lM * std::sin(alphaM)); }

double masterOmega(double omega, const TArticulatedPosition& p, double R, double lM) {
  const double lambda = R / lM;
  return lambda * omega * p.CosAlphaM / p.CosBetaM;
}

double masterEpsilon(double omega, const TArticulatedPosition& p, double R, double lM) {
  const double lambda = R / lM;
  return -lambda * omega * omega * p.SinAlphaMGuarded * (1.0 - lambda * lambda) / p.CosBetaMCubed;
}

// Angle psi of the trailing-rod pin radius against the articulated cylinder axis.
double pinAngle(double betaM, double delta, double gamma1) { return betaM - (gamma1 - delta); }

// Sideways distance of the trailing rod's lower pin from its cylinder axis, m: l*sin(beta),
// from the sines of the own crank angle and of psi.
double pinOffset(double sinOwn, double sinPsi, double R, double r1) { return R * sinOwn - r1 * sinPsi; }

double pinOffset(double alphaM, double delta, double gamma1, double R, double r1, double lM) {
  return pinOffset(std::sin(alphaM - delta), std::sin(pinAngle(masterAngle(alphaM, R, lM), delta, gamma1)), R, r1);
}

[[noreturn]] void reject(const std::string& stage, const std::string& what) {
  throw EVexaFloatError("Расчёт невозможен (" + stage + "): " + what);
}

std::string metres(double value) { return FormatSignificant(value, 6) + " м"; }

void requireFiniteInput(double value, const std::string& stage, const char* name) {
  if (!std::isfinite(value)) reject(stage, std::string(name) + " не является конечным числом");
}

}  // namespace

// ---- Central rod ----

double RodAngle(double alpha, double a, double R, double l) {
  const double lambda = R / l;
  const double k = a / R;
  return std::asin(lambda * (std::sin(alpha) - k));
}

TCentralPosition CentralPosition(double alpha, double a, double R, double l) {
  const double lambda = R / l;
  const double k = a / R;
  TCentralPosition p;
  p.Beta = RodAngle(alpha, a, R, l);
  p.CosAlpha = std::cos(alpha);
  p.CosBeta = std::cos(p.Beta);
  p.SinAlphaBeta = std::sin(alpha + p.Beta);
  p.CosAlphaBeta = std::cos(alpha + p.Beta);
  // Top dead centre: crank and rod in line, sqrt((l + R)^2 - a^2) from the crank axis.
  p.Distance = std::sqrt((l + R) * (l + R) - a * a) - (R * p.CosAlpha + l * p.CosBeta);
  const double s = std::sin(guardedSinAngle(alpha));
  p.SinAlphaGuarded = s;
  p.EpsilonBracket = 1.0 - lambda * lambda - lambda * lambda * k * (k - s - 1.0 / s);
  p.CosBetaCubed = std::pow(std::cos(guardedCosAngle(p.Beta)), 3);
  return p;
}

double RodOmega(double omega, const TCentralPosition& p, double R, double l) {
  const double lambda = R / l;
  return lambda * omega * p.CosAlpha / p.CosBeta;
}

double RodEpsilon(double omega, const TCentralPosition& p, double R, double l) {
  const double lambda = R / l;
  return -lambda * omega * omega * p.SinAlphaGuarded * p.EpsilonBracket / p.CosBetaCubed;
}

double PistonVelocity(double omega, const TCentralPosition& p, double R) {
  return R * omega * p.SinAlphaBeta / p.CosBeta;
}

double PistonAcceleration(double omega, const TCentralPosition& p, double R, double l) {
  const double lambda = R / l;
  return R * omega * omega * (p.CosAlphaBeta / p.CosBeta + lambda * p.CosAlpha * p.CosAlpha / p.CosBetaCubed);
}

double RodOmega(double omega, double alpha, double a, double R, double l) {
  return RodOmega(omega, CentralPosition(alpha, a, R, l), R, l);
}

double RodEpsilon(double omega, double alpha, double a, double R, double l) {
  return RodEpsilon(omega, CentralPosition(alpha, a, R, l), R, l);
}

double Stroke(double a, double R, double l) {
  const double inverseLambda = l / R;
  const double k = a / R;
  return R * (std::sqrt((inverseLambda + 1.0) * (inverseLambda + 1.0) - k * k) -
              std::sqrt((inverseLambda - 1.0) * (inverseLambda - 1.0) - k * k));
}

double PistonDistance(double alpha, double a, double R, double l) { return CentralPosition(alpha, a, R, l).Distance; }

double PistonVelocity(double omega, double alpha, double a, double R, double l) {
  return PistonVelocity(omega, CentralPosition(alpha, a, R, l), R);
}

double PistonAcceleration(double omega, double alpha, double a, double R, double l) {
  return PistonAcceleration(omega, CentralPosition(alpha, a, R, l), R, l);
}

// ---- Articulated rod ----

TArticulatedPosition ArticulatedPosition(double alphaM, double delta, double gamma1, double R, double r1,
                                         double lM, double l) {
  TArticulatedPosition p;
  const double betaM = masterAngle(alphaM, R, lM);
  p.CosAlphaM = std::cos(alphaM);
  p.CosBetaM = std::cos(betaM);
  p.SinAlphaMGuarded = std::sin(guardedSinAngle(alphaM));
  p.CosBetaMCubed = std::pow(std::cos(guardedCosAngle(betaM)), 3);
  const double psi = pinAngle(betaM, delta, gamma1);
  p.SinOwn = std::sin(alphaM - delta);
  p.CosOwn = std::cos(alphaM - delta);
  p.SinPsi = std::sin(psi);
  p.CosPsi = std::cos(psi);
  p.Beta = std::asin(pinOffset(p.SinOwn, p.SinPsi, R, r1) / l);
  p.SinBeta = std::sin(p.Beta);
  p.CosBeta = std::cos(p.Beta);
  p.PinDistance = R * p.CosOwn + r1 * p.CosPsi + l * p.CosBeta;
  return p;
}

double ArtRodOmega(double omega, const TArticulatedPosition& p, double R, double r1, double lM, double l) {
  const double omegaM = masterOmega(omega, p, R, lM);
  return omega / p.CosBeta * (R / l * p.CosOwn - r1 / l * (omegaM / omega) * p.CosPsi);
}

double ArtRodEpsilon(double omega, const TArticulatedPosition& p, double R, double r1, double lM, double l) {
  const double omegaM = masterOmega(omega, p, R, lM);
  const double epsilonM = masterEpsilon(omega, p, R, lM);
  const double omegaL = ArtRodOmega(omega, p, R, r1, lM, l);
  const double omega2 = omega * omega;
  return -(omega2 / p.CosBeta) *
         (r1 / l * (epsilonM / omega2) * p.CosPsi + R / l * p.SinOwn -
          r1 / l * (omegaM / omega) * (omegaM / omega) * p.SinPsi - (omegaL / omega) * (omegaL / omega) * p.SinBeta);
}

double ArtPistonVelocity(double omega, const TArticulatedPosition& p, double R, double r1, double lM, double l) {
  const double omegaM = masterOmega(omega, p, R, lM);
  const double omegaL = ArtRodOmega(omega, p, R, r1, lM, l);
  return R * omega * (p.SinOwn + r1 / R * (omegaM / omega) * p.SinPsi + l / R * (omegaL / omega) * p.SinBeta);
}

double ArtPistonAcceleration(double omega, const TArticulatedPosition& p, double R, double r1, double lM,
                             double l) {
  const double omegaM = masterOmega(omega, p, R, lM);
  const double epsilonM = masterEpsilon(omega, p, R, lM);
  const double omegaL = ArtRodOmega(omega, p, R, r1, lM, l);
  const double epsilonL = ArtRodEpsilon(omega, p, R, r1, lM, l);
  const double omega2 = omega * omega;
  return R * omega2 *
         (l / R * (epsilonL / omega2) * p.SinBeta + r1 / R * (epsilonM / omega2) * p.SinPsi +
          l / R * (omegaL / omega) * (omegaL / omega) * p.CosBeta +
          r1 / R * (omegaM / omega) * (omegaM / omega) * p.CosPsi + p.CosOwn);
}

double ArtRodAngle(double alphaM, double delta, double gamma1, double R, double r1, double lM,
                   double l) {
  return std::asin(pinOffset(alphaM, delta, gamma1, R, r1, lM) / l);
}

double ArtRodOmega(double omega, double alphaM, double delta, double gamma1, double R, double r1,
                   double lM, double l) {
  return ArtRodOmega(omega, ArticulatedPosition(alphaM, delta, gamma1, R, r1, lM, l), R, r1, lM, l);
}

double ArtRodEpsilon(double omega, double alphaM, double delta, double gamma1, double R, double r1,
                     double lM, double l) {
  return ArtRodEpsilon(omega, ArticulatedPosition(alphaM, delta, gamma1, R, r1, lM, l), R, r1, lM, l);
}

double ArtPinDistance(double alphaM, double delta, double gamma1, double R, double r1, double lM,
                      double l) {
  return ArticulatedPosition(alphaM, delta, gamma1, R, r1, lM, l).PinDistance;
}

double ArtTdcAngle(double delta, double gamma1, double R, double r1, double lM, double l) {
  // Closed-form estimate of the own crank angle where X is largest: X is expanded in the
  // first and second harmonics of the own crank angle (amplitudes M1, M2, phases A1, A2, with
  // the rod-ratio series cut after lambda^2), and phi* is the stationary point of that sum.
  const double chi = gamma1 - delta;
  const double lambda = R / lM;
  const double q = 1.0 - lambda * (lambda / 4.0) - (lambda / 2.0) * (lambda / 4.0);
  const double u = (std::cos(chi) * (q * r1 / l) + 1.0) * r1 / lM;
  const double c1 = std::sin(delta) * std::sin(chi) * u + 1.0;
  const double s1 = std::sin(chi) * (q * r1 / l) - std::cos(delta) * std::sin(chi) * u;
  const double v = std::cos(chi) * ((lambda / 2.0) * r1 / l);
  const double w =
      (std::cos(2.0 * chi) * ((lambda / 4.0) * r1 / l) + std::cos(chi) * (lambda / 4.0)) * r1 / lM;
  const double c2 = std::cos(2.0 * delta) * w + R / (4.0 * l) - std::cos(delta) * v;
  const double s2 = std::sin(delta) * v - std::sin(2.0 * delta) * w;
  const double a1 = std::atan(s1 / c1);
  const double a2 = std::atan(s2 / c2);
  const double m1 = c1 / std::cos(a1);
  const double m2 = 4.0 * c2 / std::cos(a2);
  return 0.5 * std::atan((m2 * std::sin(a2) - m1 * std::sin(2.0 * a1)) /
                         (m1 * std::cos(2.0 * a1) + m2 * std::cos(a2)));
}

double ArtTdcDistance(double delta, double gamma1, double R, double r1, double lM, double l) {
  const double phi = ArtTdcAngle(delta, gamma1, R, r1, lM, l);
  const double chi = gamma1 - delta;
  const double betaM = std::asin(R / lM * std::sin(phi + delta));
  const double psi = betaM - chi;
  const double beta = std::asin(R / l * std::sin(phi) - r1 / l * std::sin(psi));
  return R * std::cos(phi) + r1 * std::cos(psi) + l * std::cos(beta);
}

double ArtPistonDistance(double alphaM, double delta, double gamma1, double R, double r1,
                         double lM, double l) {
  return ArtTdcDistance(delta, gamma1, R, r1, lM, l) -
         ArtPinDistance(alphaM, delta, gamma1, R, r1, lM, l);
}

double ArtPistonVelocity(double omega, double alphaM, double delta, double gamma1, double R,
                         double r1, double lM, double l) {
  return ArtPistonVelocity(omega, ArticulatedPosition(alphaM, delta, gamma1, R, r1, lM, l), R, r1, lM, l);
}

double ArtPistonAcceleration(double omega, double alphaM, double delta, double gamma1, double R,
                             double r1, double lM, double l) {
  return ArtPistonAcceleration(omega, ArticulatedPosition(alphaM, delta, gamma1, R, r1, lM, l), R, r1, lM, l);
}

// ---- Geometry checks ----

void RequireCentralGeometry(double a, double R, double l, const std::string& stage) {
  requireFiniteInput(a, stage, "дезаксиал (a)");
  requireFiniteInput(R, stage, "радиус кривошипа (R)");
  requireFiniteInput(l, stage, "длина шатуна (l)");
  if (!(R > 0.0)) reject(stage, "радиус кривошипа (R) должен быть положительным (задано " + metres(R) + ")");
  if (!(l > R + std::fabs(a)))
    reject(stage, "угол шатуна не определён: длина шатуна l = " + metres(l) +
                      " мала для радиуса кривошипа R = " + metres(R) +
                      " и дезаксиала a = " + metres(a) + " (нужно l > R + |a|)");
}

void RequireArticulatedGeometry(double delta, double gamma1, double R, double r1, double lM,
                                double l, const std::string& stage) {
  requireFiniteInput(delta, stage, "угол между осями цилиндров");
  requireFiniteInput(gamma1, stage, "угол пальца прицепного шатуна (gamma1)");
  requireFiniteInput(r1, stage, "радиус пальца прицепного шатуна (r1)");
  requireFiniteInput(l, stage, "длина прицепного шатуна (l)");
  RequireCentralGeometry(0.0, R, lM, stage + ", главный шатун");

  // Largest |l*sin(beta)| over a full turn: dense sampling, then a golden-section refinement
  // around every sampled local maximum of the smooth periodic offset.
  auto offset = [&](double alphaM) {
    return std::fabs(pinOffset(alphaM, delta, gamma1, R, r1, lM));
  };
  constexpr int samples = 3600;
  const double step = 2.0 * std::numbers::pi / samples;
  double largest = 0.0;
  // Each sample is computed once, in a window of the samples before, at and after i.
  double before = offset(-1 * step), here = offset(0 * step);
  for (int i = 0; i < samples; ++i) {
    const double after = offset((i + 1) * step);
    if (!(here < before || here < after)) {
      double lo = (i - 1) * step;
      double hi = (i + 1) * step;
      const double golden = 0.5 * (std::sqrt(5.0) - 1.0);
      for (int iteration = 0; iteration < 60; ++iteration) {
        const double left = hi - golden * (hi - lo);
        const double right = lo + golden * (hi - lo);
        if (offset(left) >= offset(right))
          hi = right;
        else
          lo = left;
      }
      largest = std::max({largest, here, offset(0.5 * (lo + hi))});
    }
    before = here;
    here = after;
  }
  if (!(l > largest))
    reject(stage, "угол шатуна не определён: длина прицепного шатуна l = " + metres(l) +
                      " меньше бокового хода " + metres(largest) +
                      " его пальца на главном шатуне (радиус кривошипа R = " + metres(R) +
                      ", радиус пальца r1 = " + metres(r1) + ")");
}

}  // namespace Kinematics
