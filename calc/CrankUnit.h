// One crank throw of a run (`TCrank`): its cylinders, summed loads, torque and its harmonics,
// loads in shaft axes for the beam model, and the reactions of the split scheme.
#pragma once

#include <memory>
#include <vector>

#include "CylinderUnit.h"
#include "MyTypes.h"

class TDynamicCalcStruct;

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

  // Step arrays to nPts zeros, harmonics to NGarm zeros, one cylinder per row.
  void Allocate(int nPts);
  // Kinematics, forces, sums, torque and harmonics, shaft-axis loads and the split scheme
  // of throw s (1-based); throws are computed in order, the split torque reads throw s − 1.
  void ComputeLoads(int s);

  int NPts() const { return static_cast<int>(TSum.size()); }

 private:
  void harmonicAnalysis();
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
