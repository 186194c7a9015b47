// The torsional model of a project (`TOscillCalcStruct`): the shaft line as a chain of lumped
// rotating masses joined by elastic sections, its natural frequencies and mode shapes, and the
// resonances of its modes with the harmonics of the engine torque inside the speed range.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "DynamicCalcUnit.h"
#include "EngineDataStructUnit.h"
#include "MyTypes.h"

// Torsional input the calculation cannot use (a mass without inertia, motor masses outside the
// chain, a branched chain in the energy balance, a resonance without any damping, ...). The
// message names the mass, the field or the resonance; the calculation stops before it would
// divide by zero or hand on an unbounded amplitude.
class ETorsionalModelError : public std::invalid_argument {
 public:
  using std::invalid_argument::invalid_argument;
};

class TOscillCalcStruct {
 public:
  // The model reads everything from `data` (not owned). Its own run `Calc`, used only for the
  // loads at the resonance speeds, gets the same engine data and the caller's run settings (where
  // the indicator diagram comes from).
  explicit TOscillCalcStruct(TEngineDataStruct& data, TRunSettings settings = {});
  ~TOscillCalcStruct();
  TOscillCalcStruct(const TOscillCalcStruct&) = delete;
  TOscillCalcStruct& operator=(const TOscillCalcStruct&) = delete;

  std::unique_ptr<TDynamicCalcStruct> Calc;  // prepared at each resonance speed, never run
  TEngineDataStruct& Data;

  // Natural frequencies and modes, mode index 0 = smallest eigenvalue.
  TReal2DArray Modes;      // [mode][mass], 1 at the first motor mass, 5 decimals
  TReal1DArray Omega;      // [mode] natural circular frequency, rad/s, 5 decimals; 0 for none
  // Resonances, [harmonic][mode]; mode 0 is never filled.
  TReal2DArray AkMax;      // excitation work per cycle over the reference amplitude, N·m
  TReal2DArray Aksi;       // damping work per cycle over the square of the reference amplitude, N·m
  TReal2DArray ResAmpl;    // resonant amplitude of the reference mass, rad
  // Per mode (outer index), [harmonic][throw].
  std::vector<TReal2DArray> Mk, Ak, Bk;  // amplitude, cosine and sine coefficient of the throw torque, N·m
  std::vector<TReal2DArray> Alphak;      // phase angle of the throw, rad
  std::vector<TReal2DArray> SinPart, CosPart;  // components of the throw's excitation vector, N·m
  // Per mode, [harmonic][section]; section k joins masses k+1 and k+2 (1-based).
  std::vector<TReal2DArray> SectMoment;  // torque amplitude, N·m
  std::vector<TReal2DArray> SectTau;     // shear-stress amplitude in the main journal, Pa
  TReal1DArray RedLength;  // [k] reduced length of the section between masses k and k+1, m
  // Eigenproblem, 1-based storage (row and column 0 unused).
  TReal2DArray DynMatrix;   // J^-1·K, 1000 s^-2
  TReal2DArray MassMatrix;  // diag(J), kg·m²
  TReal2DArray EigVectors;  // column l = eigenvector l, normalised and sorted
  TReal1DArray EigRe, EigIm;  // eigenvalues, 1000 s^-2
  // What the user should know about results that are valid but unusual (a mode with a node at
  // the first motor mass, a friction damper that does not slip). Refreshed by every calculation.
  std::vector<std::string> Notes;

  // Back to the empty state: every result array of length 0.
  void ClearResults();

  // Natural frequencies, modes and reduced lengths of the current engine data; returns NMass.
  // Refuses (ETorsionalModelError) a chain without masses, a moment of inertia that is not
  // positive, tables smaller than NMass, a first motor mass outside the chain, and an eigenvalue
  // iteration that does not converge; after a refusal the model is empty.
  std::int16_t CalcFrequencies();

  // Resonances of modes 1..n-1 with the torque harmonics inside nMin..nMax (ends included):
  // the loads of the engine at each resonance speed, the resonant amplitude from the energy
  // balance of one cycle, and the torque and shear stress of every section. The pistons damp
  // once per cylinder (NRad per throw); a dry-friction damper takes the Coulomb work
  // 4·torque·|a_d|·A per cycle, so its amplitude follows from the balance directly. Needs
  // CalcFrequencies; the project speed N is the same afterwards, also when an error ends it.
  // Refuses (ETorsionalModelError) motor masses or the damper mass outside the chain, stiffness
  // between masses that are not neighbours, negative damping inputs, a journal without section
  // modulus and a resonance without any damping; after a refusal the resonance arrays are empty
  // and the frequencies stay.
  void CalcResonances();

  // Ascending bubble sort of the eigenvalues by real part over indices 1..n, carrying the
  // imaginary parts and the eigenvector columns; equal real parts keep their order.
  static void SortModes(TReal1DArray& EigRe, TReal1DArray& EigIm, TReal2DArray& EigVectors);

  int NModes() const { return static_cast<int>(Omega.size()); }
  // Shaft speed at which harmonic `harmonic` (0-based, order HarmOrders[harmonic] of the run
  // `Calc`) meets the natural frequency of `mode`, rpm.
  double ResonanceSpeed(int mode, int harmonic) const;
  // Whether the resonance of (mode, harmonic) lies in the speed range and was calculated.
  bool IsResonance(int mode, int harmonic) const;

 private:
  void clearResonances();
  void allocateResonances(int n, int harmonics, int throws);
  void checkResonanceInput() const;
  void balance(int mode, int harmonic, double dampingPerThrow);
  void sectionStresses(int mode, int harmonic);

  std::vector<std::vector<bool>> inRange_;  // [harmonic][mode]: resonance calculated
  std::size_t frequencyNotes_ = 0;          // Notes written by CalcFrequencies
};

// x rounded to `decimals` places (nearest, ties to even).
double RoundToDecimals(double x, int decimals);
