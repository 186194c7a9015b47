// Fatigue strength of the crankshaft: nominal stresses at the main-journal and crankpin oil
// holes and the crankpin fillets, and their safety factors by the continuous and split schemes.
#pragma once

#include <stdexcept>
#include <string>

// The factor of a place without stress (zero amplitude and mean): "unlimited". It is also the
// start value of every minimum search, and is shown as this number, never as an infinity.
constexpr double UnlimitedSafetyFactor = 1e30;

// Fatigue safety factor limit / ((K·amplitude/ε + ψ·mean)·λ) of one kind of stress, with the
// fatigue limit, amplitude and mean in the same unit (Pa), K the effective concentration
// coefficient, ε the scale factor (already multiplied by the hardening factor), ψ the
// cycle-asymmetry sensitivity and λ the dynamic amplification. Amplitude and mean both
// exactly 0 give UnlimitedSafetyFactor. The formula checks nothing else: a zero denominator
// is the caller's to refuse (TCrank::ComputeStrength refuses it before any division).
double FatigueSafetyFactor(double limit, double amplitude, double mean, double K, double eps, double psi,
                           double lambda);

// Safety factor under combined bending (nSigma) and torsion (nTau): nσ·nτ/√(nσ² + nτ²).
// Two unlimited factors combine to 10³⁰/√2 ≈ 7.07·10²⁹.
double CombinedSafetyFactor(double nSigma, double nTau);

// An input that would divide the strength calculation by zero or give a meaningless factor
// (a diameter or web dimension, a section modulus, the piston area, a scale factor ε, the
// hardening factor Knu, the dynamic factor LamD, a fatigue limit, or a grid of fewer than two
// steps); every one must be positive. The calculation stops
// before any result of the throw is changed; the message names the input and its meaning.
class EStrengthInputError : public std::invalid_argument {
 public:
  EStrengthInputError(int throwNumber, const std::string& input, const std::string& meaning, double value);
  int ThrowNumber;
  std::string Input;
  double Value;
};
