// Energy balance of one torsional resonance (work of the exciting throw torques against the work
// of damping in the cylinders, in the shaft material and in a damper) and the choice of the
// resonance regimes at which the strength is recalculated with the torsional stress.
#pragma once

#include <string>
#include <vector>

class TOscillCalcStruct;
class TDynamicCalcStruct;

namespace Resonance {

// Damping constant of the cylinders of one throw, N·m·s/rad: NRad pistons of bore D (m) on a
// crank of radius R (m), each resisted by ksi (MN·s/m³) times its piston area and its speed
// R·dθ/dt, which gives the torque ksi·Fp·R²·dθ/dt on the shaft.
double ThrowDamping(double R, double D, double ksi, int NRad);

// Work per cycle of a viscous (silicone) damper carrying a free flywheel Jm (kg·m²) through a
// coupling ksiDamper (N·m·s/rad), mounted on a mass of relative amplitude ad, divided by the
// square of the reference amplitude, N·m, at the circular frequency omega (rad/s). Without
// coupling (ksiDamper = 0) nothing is dissipated.
double ViscousDamperWork(double omega, double Jm, double ksiDamper, double ad);

// Work per cycle of a dry-friction damper whose discs slip under the friction torque
// f·P·Ref·zd (N·m) against a flywheel at rest, divided by the reference amplitude, N·m/rad:
// 4·torque·|ad| (Coulomb friction does the same work in each of the four quarters of a cycle,
// whatever the sign of the relative amplitude ad).
double FrictionDamperWork(double f, double P, double Ref, double zd, double ad);

// Amplitude where the excitation work AkMax·A equals the damping work
// aksiLinear·A² + frictionWork·A of one cycle (A the reference amplitude, rad).
struct TBalance {
  double Aksi = 0;     // all damping work over A², N·m
  double ResAmpl = 0;  // A, rad
  bool DamperSticks = false;  // the friction work exceeds the excitation work: A = 0
};
// AkMax = 0 gives A = 0. Throws std::domain_error when A would be unbounded (AkMax above the
// friction work with aksiLinear <= 0).
TBalance SolveBalance(double AkMax, double aksiLinear, double frictionWork);

}  // namespace Resonance

// One resonance regime of the strength calculation with torsional oscillations.
struct TResonanceRegime {
  int Mode = 0;      // index into Omega
  int Harmonic = 0;  // index into HarmOrders
  double Speed = 0;  // shaft speed, rpm
  double Tau = 0;    // largest shear-stress amplitude over the sections of the throws, Pa
};

// The regimes to recalculate after CalcResonances, in the order of mode and harmonic: every
// resonance whose largest throw-section stress is positive and among the NRegs largest. Equal
// stresses are all kept, so ties may give more than NRegs regimes; NRegs <= 0 gives none.
std::vector<TResonanceRegime> SelectResonanceRegimes(const TOscillCalcStruct& oscill);

// Gives every throw of a prepared run the shear-stress amplitude of its section in the regime
// (`TorsionalAmp`, Pa). Throws std::invalid_argument when the run has fewer throws than NSec.
void ApplyTorsionalAmp(const TOscillCalcStruct& oscill, const TResonanceRegime& regime, TDynamicCalcStruct& run);

// Title of the run of a resonance regime: "Расчёт на частоте вращения <speed> об/мин".
std::string ResonanceRunTitle(double speedRpm);
