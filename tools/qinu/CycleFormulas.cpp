#include "CycleFormulas.h"

#include <algorithm>
#include <cmath>

namespace qinu::formulas {

double TCylinderGeometry::PistonArea() const { return kPi / 4 * Bore * Bore; }
double TCylinderGeometry::SweptVolume() const { return PistonArea() * 2 * Crank; }
double TCylinderGeometry::ClearanceVolume() const { return SweptVolume() / (Ratio - 1); }

double PistonTravel(const TCylinderGeometry& g, double angleDeg) {
  const double a = angleDeg * kDegree;
  const double s = std::sin(a);
  double travel = g.Crank * (1 - std::cos(a));
  // An infinitely long rod (lambda = 0) leaves the harmonic motion alone.
  if (g.Lambda > 0)
    travel += g.Crank / g.Lambda * (1 - std::sqrt(1 - g.Lambda * g.Lambda * s * s));
  return travel;
}

double CylinderVolume(const TCylinderGeometry& g, double angleDeg) {
  return g.ClearanceVolume() + g.PistonArea() * PistonTravel(g, angleDeg);
}

double CylinderVolumeRate(const TCylinderGeometry& g, double angleDeg) {
  const double a = angleDeg * kDegree;
  const double s = std::sin(a), c = std::cos(a);
  const double root = std::sqrt(1 - g.Lambda * g.Lambda * s * s);
  // d(travel)/da = r (sin a + lambda sin a cos a / sqrt(1 - lambda^2 sin^2 a)).
  return g.PistonArea() * g.Crank * (s + g.Lambda * s * c / root) * kDegree;
}

double WiebeFraction(double y, double exponent) {
  if (y <= 0) return 0;
  return 1 - std::exp(-kWiebeCompleteness * std::pow(y, exponent + 1));
}

double WiebeRate(double y, double exponent) {
  if (y <= 0) return 0;
  const double power = std::pow(y, exponent);
  return kWiebeCompleteness * (exponent + 1) * power *
         std::exp(-kWiebeCompleteness * power * y);
}

double WiebePeak(double exponent) {
  if (exponent <= 0) return 0;
  return std::pow(exponent / (kWiebeCompleteness * (exponent + 1)), 1 / (exponent + 1));
}

TDoubleWiebe TDoubleWiebe::FromData(double start, double duration, double kinetic,
                                    double kineticPeakDeg, double kineticExponent,
                                    double diffusionExponent) {
  TDoubleWiebe law;
  law.Start = start;
  law.Duration = duration;
  law.DiffusionExponent = diffusionExponent;
  law.Kinetic = kinetic;
  law.KineticExponent = kineticExponent;
  law.KineticDuration = kinetic > 0 ? kineticPeakDeg / WiebePeak(kineticExponent) : 0;
  return law;
}

double TDoubleWiebe::End() const { return Start + std::max(Duration, KineticDuration); }

namespace {

// One Wiebe part scaled to reach exactly 1 at its end.
double PartFraction(double elapsed, double duration, double exponent) {
  if (elapsed <= 0) return 0;
  if (elapsed >= duration) return 1;
  return WiebeFraction(elapsed / duration, exponent) / WiebeFraction(1, exponent);
}

double PartRate(double elapsed, double duration, double exponent) {
  if (elapsed < 0 || elapsed >= duration) return 0;
  return WiebeRate(elapsed / duration, exponent) / WiebeFraction(1, exponent) / duration;
}

}  // namespace

double TDoubleWiebe::Fraction(double angle) const {
  const double elapsed = angle - Start;
  double x = (1 - Kinetic) * PartFraction(elapsed, Duration, DiffusionExponent);
  if (Kinetic > 0) x += Kinetic * PartFraction(elapsed, KineticDuration, KineticExponent);
  return x;
}

double TDoubleWiebe::Rate(double angle) const {
  const double elapsed = angle - Start;
  double rate = (1 - Kinetic) * PartRate(elapsed, Duration, DiffusionExponent);
  if (Kinetic > 0) rate += Kinetic * PartRate(elapsed, KineticDuration, KineticExponent);
  return rate;
}

double TrapezoidArea(double angle, double open, double fullOpen, double startClose,
                     double close, double maxArea) {
  if (angle <= open || angle >= close) return 0;
  if (angle < fullOpen) return maxArea * (angle - open) / (fullOpen - open);
  if (angle <= startClose) return maxArea;
  return maxArea * (close - angle) / (close - startClose);
}

double RestrictionMassFlux(double pUp, double TUp, double R, double gamma, double pDown) {
  if (pDown >= pUp) return 0;
  // Below this pressure difference (relative) the isentropic formula, whose slope is
  // infinite at zero difference, is replaced by the straight line through its value there.
  constexpr double kLinearBelow = 1e-3;
  const double scale = pUp / std::sqrt(R * TUp);
  const auto subsonic = [gamma](double ratio) {
    return std::sqrt(2 * gamma / (gamma - 1) *
                     (std::pow(ratio, 2 / gamma) - std::pow(ratio, (gamma + 1) / gamma)));
  };
  const double ratio = pDown / pUp;
  const double critical = std::pow(2 / (gamma + 1), gamma / (gamma - 1));
  if (ratio <= critical) {
    return scale * std::sqrt(gamma) * std::pow(2 / (gamma + 1), (gamma + 1) / (2 * (gamma - 1)));
  }
  if (1 - ratio < kLinearBelow) {
    return scale * subsonic(1 - kLinearBelow) * (1 - ratio) / kLinearBelow;
  }
  return scale * subsonic(ratio);
}

double WoschniCoefficient(double constant, double bore, double pressure, double temperature,
                          double velocity) {
  constexpr double kWattPerKcalPerHour = 1.163;
  constexpr double kPascalPerAt = 98066.5;
  return constant * kWattPerKcalPerHour * std::pow(bore, -0.2) *
         std::pow(pressure / kPascalPerAt, 0.8) * std::pow(temperature, -0.53) *
         std::pow(velocity, 0.8);
}

double WoschniVelocity(bool gasExchange, double meanPistonSpeed, double swirlVelocity,
                       double combustionTerm) {
  const double swirlRatio = swirlVelocity / meanPistonSpeed;
  const double c1 = gasExchange ? 6.18 + 0.417 * swirlRatio : 2.28 + 0.308 * swirlRatio;
  return c1 * meanPistonSpeed + std::max(combustionTerm, 0.0);
}

double HohenbergCoefficient(double volume, double pressure, double temperature,
                            double meanPistonSpeed) {
  return 130 * std::pow(volume, -0.06) * std::pow(pressure / 1e5, 0.8) *
         std::pow(temperature, -0.4) * std::pow(meanPistonSpeed + 1.4, 0.8);
}

}  // namespace qinu::formulas
