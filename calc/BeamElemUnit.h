// One two-node beam element of the crankshaft frame (`TBeamElem`): section properties,
// local stiffness, orientation and the forces at its ends after a solve.
#pragma once

#include <array>
#include <cstdint>

#include "MyTypes.h"

// Roles of the elements; the solver turns and reads an element by its role.
enum TBeamElemKind : std::uint8_t {
  ekMainJournal = 0,
  ekCrankpin = 1,
  ekWeb1 = 2,
  ekWeb2 = 3,
  ekCwLink = 4,
  ekCounterweight1 = 5,
  ekCounterweight2 = 6,
  ekSupport = 7,
};

using TMatrix12 = std::array<std::array<double, 12>, 12>;
using TVector12 = std::array<double, 12>;
using TMatrix3 = std::array<std::array<double, 3>, 3>;

struct TPoint3 {
  double x = 0, y = 0, z = 0;
};

class TBeamElem {
 public:
  TBeamElem();

  std::uint8_t Kind = ekMainJournal;
  // Force histories along global X and Y at node 1 and node 2, N; not owned (the throws' and
  // cylinders' arrays, or the run's all-zero curve).
  const TReal1DArray* LoadX1 = nullptr;
  const TReal1DArray* LoadY1 = nullptr;
  const TReal1DArray* LoadX2 = nullptr;
  const TReal1DArray* LoadY2 = nullptr;
  std::int16_t Node1 = -1, Node2 = -1;
  TPoint3 StartPoint, EndPoint;  // node positions at the current step, m
  std::array<TFix, 12> Fix;      // boundary kinds of the 12 degrees of freedom
  TVector12 Displacements{};     // global displacements of both nodes after the last solve
  double SpringStiffness = 0;        // axial stiffness of a support spring, N/m
  double SpringTorsionStiffness = 0; // stiffness about the spring axis, N·m/rad
  double ScaleB = 1, ScaleH = 1;     // factors on Thickness and Width
  std::uint8_t SectionShape = 0;     // 0 circular (hollow), 1 rectangle
  double Length = 0;                 // m
  double InnerDiameter = 0, OuterDiameter = 0;  // m
  double Thickness = 0, Width = 0;   // web rectangle, m
  double TorsionCoef = 0;            // coefficient α of the rectangle's torsion modulus
  // The rectangle's bending inertias of earlier versions, exchanged against the physical ones
  // (kept to reproduce old results).
  bool CompatInertias = false;
  double YoungModulus = 0, ShearModulus = 0;  // Pa
  TMatrix3 Angles;                   // angles between local axes (rows) and global axes, rad
  TMatrix3 Cosines;                  // their direction cosines, kept by the Set… operations

  TMatrix12 LocalStiffness() const;
  TMatrix12 GlobalStiffness() const;  // Tᵀ·K·T
  TVector12 LoadVector(int step) const;
  TMatrix12 Transformation() const;
  // Direction cosines of the local axes (rows) in global axes; cosines below 1e-10 are 0.
  const TMatrix3& DirectionCosines() const { return Cosines; }

  void SetCircular(double L, double d, double D);
  void SetRectangle(double L, double thickness, double width, double alpha, double thicknessFactor,
                    double widthFactor);
  void SetMaterial(double E, double G);
  void SetLoads(const TReal1DArray& x1, const TReal1DArray& y1, const TReal1DArray& x2, const TReal1DArray& y2);
  void SetNodes(int first, int second);
  void SetFix(const std::array<TFix, 12>& fix);
  void SetAngles(const TMatrix3& angles);
  void SetAxial();          // local x = −X, local y = +Z, local z = +Y
  void SetReversedAxial();  // local x = +X, local y = −Z, local z = +Y
  void SetPlaneAngle(double phi);  // local x = −Z, local y = (−sin φ, cos φ, 0)

  // Section properties.
  double Area() const;
  double TorsionModulus() const;
  double TorsionConstant() const;
  double InertiaX() const;  // bending in the local y–z plane: ∫z²dA, m⁴
  double InertiaZ() const;  // bending in the local x–y plane: ∫x²dA, m⁴
  double GetLength() const { return Length; }
  double GetAngle(int row, int column) const { return Angles[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)]; }

  // End forces after a solve; magnitudes below 0.001 become exactly 0.
  TVector12 GlobalForces() const;  // (Tᵀ·K·T)·Displacements
  TVector12 LocalForces() const;   // K·(T·Displacements)
};

// Global stiffness from a local stiffness and direction cosines: Tᵀ·K·T with T the
// block diagonal of four Λ.
TMatrix12 RotateStiffness(const TMatrix12& local, const TMatrix3& cosines);

// End forces of an element from its displacements: with the global stiffness (global
// forces), or with the local stiffness and the direction cosines (local forces). Magnitudes
// below 0.001 become exactly 0.
TVector12 GlobalEndForces(const TMatrix12& global, const TVector12& displacements);
TVector12 LocalEndForces(const TMatrix12& local, const TMatrix3& cosines, const TVector12& displacements);
// Sets the end forces whose magnitude is below 0.001 to exactly 0.
void ZeroSmallForces(TVector12& forces);
