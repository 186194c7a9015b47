// One crank throw of a run (`TCrank`): its cylinders, summed loads, torque and its harmonics,
// loads in shaft axes for the beam model, and the reactions of the split scheme.
#pragma once

#include <memory>
#include <vector>

#include "CylinderUnit.h"
#include "MyTypes.h"

class TDynamicCalcStruct;

// Harmonics of a throw's torque split by origin: at the crank speed ω (rad/s) the torque is
// the gas part plus ω² times the inertia part, since the inertia forces of the reciprocating
// masses grow with the square of the speed while the angles and a given diagram stay.
struct TTorqueHarmonicParts {
  double GasA0 = 0, InertiaA0 = 0;        // N·m and N·m·s²
  TReal1DArray GasA, GasB;                // N·m
  TReal1DArray InertiaA, InertiaB;        // N·m·s²
};

class TCrank {
 public:
  explicit TCrank(TDynamicCalcStruct& calc);

  TDynamicCalcStruct& Calc;  // owning run
  std::vector<std::unique_ptr<TCylinder>> Cylinders;  // one per row, index = row − 1

  TReal1DArray TSum, ZSum;  // sums over the rows of T and Z, MPa
  TReal1DArray XSum, YSum;  // total crankpin force in shaft axes, N
  TReal1DArray CwLeftX, CwLeftY, CwRightX, CwRightY;      // counterweight forces, N
  TReal1DArray WebLeftX, WebLeftY, WebRightX, WebRightY;  // web forces, N
  // Continuous beam: support reactions and moments, N and N·m.
  TReal1DArray X1, Y1, X2, Y2, MX1, MY1, MX2, MY2;
  // The same in the throw's frame: reactions per piston area (MPa) and moments (N·m).
  TReal1DArray T1, Z1, T2, Z2, MT1, MZ1, MT2, MZ2;
  // Continuous beam: torque in the right main journal and the crankpin, fillet moments, N·m.
  TReal1DArray Mkks2, Mkss, MZgalss1, MZgalss2;
  TReal1DArray Mk;  // torque of the throw from the firing step of the row-1 cylinder, N·m
  TReal1DArray HarmA, HarmB, HarmPhase, HarmAmp;  // harmonics 1 … NGarm of Mk (N·m, rad)
  double HarmA0 = 0;                              // zero-order coefficient of Mk, N·m
  // Split scheme.
  TReal1DArray SplitT1, SplitZ1, SplitT2, SplitZ2;  // MPa
  TReal1DArray SplitMkks, SplitMkss, SplitMZgal1, SplitMZgal2;  // N·m
  double TorsionalAmp = 0;  // torsional shear-stress amplitude of a resonance run, Pa

  // Strength of the throw.
  double MkksMean = 0;  // mean torque of the right main journal, N·m
  double Power = 0;     // power through the right main journal, W
  TArrayStats Mkks2Stat, MkssStat, MZgalss1Stat, MZgalss2Stat, TSumStat, ZSumStat, T1Stat, Z1Stat, T2Stat,
      Z2Stat, XSumStat, YSumStat, X1Stat, Y1Stat, X2Stat, Y2Stat, MX1Stat, MY1Stat, MX2Stat, MY2Stat, MT1Stat,
      MZ1Stat, MT2Stat, MZ2Stat, SplitT1Stat, SplitZ1Stat, SplitT2Stat, SplitZ2Stat, SplitMkksStat,
      SplitMkssStat, SplitMZgal1Stat, SplitMZgal2Stat;
  // Nominal stresses, Pa: amplitudes (A) and means (M).
  double TauAKs = 0, TauMKs = 0, SgmAKs = 0, SgmMKs = 0, TauASs = 0, TauMSs = 0;
  double SgmAGal1 = 0, SgmMGal1 = 0, SgmAGal2 = 0, SgmMGal2 = 0;
  // Fatigue safety factors.
  double NTauKs = 0, NSgmKs = 0, NKs = 0, NTauSs = 0;
  double NSgmGal1 = 0, NTauGal1 = 0, NGal1 = 0, NSgmGal2 = 0, NTauGal2 = 0, NGal2 = 0;
  // The same by the split scheme (which has no main-journal bending).
  double SplitTauAKs = 0, SplitTauMKs = 0, SplitTauASs = 0, SplitTauMSs = 0;
  double SplitSgmAGal1 = 0, SplitSgmMGal1 = 0, SplitSgmAGal2 = 0, SplitSgmMGal2 = 0;
  double SplitNTauKs = 0, SplitNTauSs = 0, SplitNSgmGal1 = 0, SplitNTauGal1 = 0, SplitNGal1 = 0;
  double SplitNSgmGal2 = 0, SplitNTauGal2 = 0, SplitNGal2 = 0;

  // The step arrays of the angle loop and the strengths to nPts zeros, harmonics to NGarm
  // zeros, one cylinder per row; the loads get their arrays when computed.
  void Allocate(int nPts);
  // Kinematics, forces, sums, torque and harmonics, shaft-axis loads and the split scheme
  // of throw s (1-based); throws are computed in order, the split torque reads throw s − 1.
  // With same, the throw of a run of the same engine and diagram at another speed, the
  // cylinders take the speed-independent part of their kinematics from it.
  void ComputeLoads(int s, const TCrank* same = nullptr);
  // Stresses and safety factors of throw s after the angle loop.
  void ComputeStrength(int s);
  // Smallest value of a per-cylinder safety factor over the throw's cylinders (10³⁰ without
  // cylinders); index gets the 0-based cylinder, the first of equal minima.
  double MinOverCylinders(double TCylinder::*factor, int& index) const;
  // The two parts of the torque harmonics, after ComputeLoads at a positive speed.
  TTorqueHarmonicParts TorqueHarmonicParts() const;
  // Sets HarmA0, HarmA, HarmB, HarmAmp and HarmPhase to those of the torque at ω (rad/s);
  // the per-step arrays keep the speed they were computed at.
  void SetTorqueHarmonics(const TTorqueHarmonicParts& parts, double omega);

  int NPts() const;

 private:
  void harmonicAnalysis();
  // HarmAmp and HarmPhase from HarmA and HarmB.
  void harmonicPolar();
  // Torque of the throw (N·m, from the firing step of its row-1 cylinder) of a sum of the
  // cylinders' tangential forces (MPa per step).
  TReal1DArray torqueOfTangentialSum(const TReal1DArray& tSum) const;
  void shaftAxisLoads(int s);
  void splitScheme(int s);
};

// Trapezoidal Fourier coefficients of one cycle of n values mapped onto 2π (step 2π/n,
// the cycle closing on its first value): a0 and the cosine and sine coefficients of
// harmonics 1 … A.size().
void HarmonicCoefficients(const TReal1DArray& values, double& a0, TReal1DArray& A, TReal1DArray& B);

// Phase of a harmonic with cosine coefficient A and sine coefficient B, in (−π/2, 3π/2);
// B = 0 takes the limit of the formula: π/2, or 0 when A is 0 too.
double HarmonicPhase(double A, double B);
