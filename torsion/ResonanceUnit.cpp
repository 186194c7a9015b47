#include "ResonanceUnit.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>
#include <stdexcept>

#include "DynamicCalcUnit.h"
#include "NumberFormatUnit.h"
#include "OscillCalcUnit.h"

namespace {
constexpr double Pi = std::numbers::pi;
std::size_t idx(int i) { return static_cast<std::size_t>(i); }
}  // namespace

namespace Resonance {

double ThrowDamping(double R, double D, double ksi, int NRad) {
  const double pistonArea = Pi * D * D / 4;  // m²
  return R * R * ksi * pistonArea * NRad * 1e6;  // MN → N
}

double ViscousDamperWork(double omega, double Jm, double ksiDamper, double ad) {
  // The flywheel lags the hub by arctan(x), x = Jm·ω/ksiDamper; the coupling dissipates
  // (π/2)·ω²·Jm·ad²·sin(2·arctan x) per cycle and unit amplitude, here with
  // sin(2·arctan x) = 2x/(1 + x²) written without the division by ksiDamper.
  const double inertiaTerm = Jm * omega;
  const double denominator = ksiDamper * ksiDamper + inertiaTerm * inertiaTerm;
  if (denominator == 0) return 0;
  return Pi * omega * omega * Jm * ad * ad * inertiaTerm * ksiDamper / denominator;
}

double FrictionDamperWork(double f, double P, double Ref, double zd, double ad) {
  return 4 * (f * P * Ref * zd) * std::abs(ad);
}

TBalance SolveBalance(double AkMax, double aksiLinear, double frictionWork) {
  TBalance result;
  result.Aksi = aksiLinear;
  if (AkMax == 0) return result;  // nothing excites the mode
  if (frictionWork > 0 && frictionWork >= AkMax) {
    // The harmonic cannot do the work the friction takes at any amplitude: the discs do not slip
    // and the mode does not build up against the damper.
    result.DamperSticks = true;
    return result;
  }
  if (!(aksiLinear > 0)) throw std::domain_error("Резонансная амплитуда не ограничена: в крутильной модели нет демпфирования");
  // AkMax·A = aksiLinear·A² + frictionWork·A is linear in A once divided by A.
  result.ResAmpl = (AkMax - frictionWork) / aksiLinear;
  result.Aksi = aksiLinear + frictionWork / result.ResAmpl;
  return result;
}

}  // namespace Resonance

namespace {

// Largest shear-stress amplitude over the sections that follow the motor masses, Pa.
double throwStress(const TOscillCalcStruct& oscill, int mode, int harmonic) {
  const TReal1DArray& tau = oscill.SectTau.at(idx(mode)).at(idx(harmonic));
  double largest = 0;
  for (int r = 0; r < oscill.Data.NSec; ++r) largest = std::max(largest, tau.at(idx(oscill.Data.NFirstMass + r - 1)));
  return largest;
}

}  // namespace

std::vector<TResonanceRegime> SelectResonanceRegimes(const TOscillCalcStruct& oscill) {
  std::vector<TResonanceRegime> regimes;
  const int n = static_cast<int>(oscill.SectTau.size());
  const int harmonics = static_cast<int>(oscill.AkMax.size());
  if (n < 2 || harmonics < 1) return regimes;

  std::vector<double> kept;
  for (int l = 1; l < n; ++l)
    for (int m = 0; m < harmonics; ++m) kept.push_back(throwStress(oscill, l, m));
  std::stable_sort(kept.begin(), kept.end(), std::greater<double>());
  kept.resize(std::min(kept.size(), idx(std::max(0, static_cast<int>(oscill.Data.NRegs)))));

  for (int l = 1; l < n; ++l)
    for (int m = 0; m < harmonics; ++m) {
      const double s = throwStress(oscill, l, m);
      // Exact comparison on purpose: a regime runs when its own stress is one of those kept, so
      // two regimes of equal stress run together.
      if (s > 0 && std::find(kept.begin(), kept.end(), s) != kept.end())
        regimes.push_back({l, m, oscill.ResonanceSpeed(l, m), s});
    }
  return regimes;
}

void ApplyTorsionalAmp(const TOscillCalcStruct& oscill, const TResonanceRegime& regime, TDynamicCalcStruct& run) {
  const TEngineDataStruct& d = oscill.Data;
  if (run.Cranks.size() < idx(d.NSec))
    throw std::invalid_argument("ApplyTorsionalAmp: the run has " + std::to_string(run.Cranks.size()) +
                                " throws, the engine " + std::to_string(d.NSec) + "; prepare the run first");
  const TReal1DArray& tau = oscill.SectTau.at(idx(regime.Mode)).at(idx(regime.Harmonic));
  for (int r = 0; r < d.NSec; ++r) run.Cranks[idx(r)]->TorsionalAmp = tau.at(idx(d.NFirstMass + r - 1));
}

std::string ResonanceRunTitle(double speedRpm) {
  return "Расчёт на частоте вращения " + FormatGeneral(speedRpm) + " об/мин";
}
