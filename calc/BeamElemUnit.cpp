#include "BeamElemUnit.h"

#include <cmath>
#include <numbers>

namespace {

constexpr double Pi = std::numbers::pi;
constexpr double SupportBending = 1e9;  // bending stiffness of a support spring, a rigid link
constexpr double ForceZero = 0.001;     // end forces below this magnitude are stored as 0

void mirrorLower(TMatrix12& k) {
  for (std::size_t r = 0; r < 12; ++r)
    for (std::size_t c = r + 1; c < 12; ++c) k[r][c] = k[c][r];
}

}  // namespace

void ZeroSmallForces(TVector12& forces) {
  for (double& x : forces)
    if (std::fabs(x) < ForceZero) x = 0;
}

TBeamElem::TBeamElem() {
  Fix.fill(TF_EMPTY);
  SetAxial();
}

void TBeamElem::SetCircular(double L, double d, double D) {
  Length = L;
  InnerDiameter = d;
  OuterDiameter = D;
  SectionShape = 0;
}

void TBeamElem::SetRectangle(double L, double thickness, double width, double alpha, double thicknessFactor,
                             double widthFactor) {
  Length = L;
  Thickness = thickness;
  Width = width;
  TorsionCoef = alpha;
  ScaleB = thicknessFactor;
  ScaleH = widthFactor;
  SectionShape = 1;
}

void TBeamElem::SetMaterial(double E, double G) {
  YoungModulus = E;
  ShearModulus = G;
}

void TBeamElem::SetLoads(const TReal1DArray& x1, const TReal1DArray& y1, const TReal1DArray& x2,
                         const TReal1DArray& y2) {
  LoadX1 = &x1;
  LoadY1 = &y1;
  LoadX2 = &x2;
  LoadY2 = &y2;
}

void TBeamElem::SetNodes(int first, int second) {
  Node1 = static_cast<std::int16_t>(first);
  Node2 = static_cast<std::int16_t>(second);
}

void TBeamElem::SetFix(const std::array<TFix, 12>& fix) { Fix = fix; }
namespace {
double directionCosine(double angle) {
  const double c = std::cos(angle);
  return std::fabs(c) < 1e-10 ? 0 : c;
}
}  // namespace

void TBeamElem::SetAngles(const TMatrix3& angles) {
  Angles = angles;
  for (std::size_t r = 0; r < 3; ++r)
    for (std::size_t j = 0; j < 3; ++j) Cosines[r][j] = directionCosine(Angles[r][j]);
}

void TBeamElem::SetAxial() { SetAngles({{{Pi, Pi / 2, Pi / 2}, {Pi / 2, Pi / 2, 0}, {Pi / 2, 0, Pi / 2}}}); }

void TBeamElem::SetReversedAxial() { SetAngles({{{0, Pi / 2, Pi / 2}, {Pi / 2, Pi / 2, Pi}, {Pi / 2, 0, Pi / 2}}}); }

void TBeamElem::SetPlaneAngle(double phi) {
  // Called for every turning element at every step: the cosines come from one sine and one
  // cosine of φ (cos(π/2 + φ) = −sin φ, cos(π/2 − φ) = sin φ).
  Angles = {{{Pi / 2, Pi / 2, Pi}, {Pi / 2 + phi, phi, Pi / 2}, {phi, Pi / 2 - phi, Pi / 2}}};
  const double s = std::sin(phi), c = std::cos(phi);
  auto clean = [](double v) { return std::fabs(v) < 1e-10 ? 0.0 : v; };
  Cosines = {{{0, 0, -1}, {clean(-s), clean(c), 0}, {clean(c), clean(s), 0}}};
}

double TBeamElem::Area() const {
  if (SectionShape == 0) return Pi * (OuterDiameter * OuterDiameter - InnerDiameter * InnerDiameter) / 4;
  return Width * ScaleH * Thickness * ScaleB;
}

double TBeamElem::TorsionModulus() const {
  if (SectionShape == 0)
    return Pi * (std::pow(OuterDiameter, 4) - std::pow(InnerDiameter, 4)) / (16 * OuterDiameter);
  const double b = Width * ScaleH, h = Thickness * ScaleB;
  // The longer side decides which side is squared (compared without the scale factors).
  return Width > Thickness ? TorsionCoef * h * h * b : TorsionCoef * b * b * h;
}

double TBeamElem::TorsionConstant() const {
  if (SectionShape == 0) return TorsionModulus() * OuterDiameter / 2;
  return TorsionModulus() * Width * ScaleH / 4;
}

// A web lies with its thickness h along local x (the shaft axis) and its width b along
// local z: bending across the web (local z) is resisted by h·b³/12, bending along the shaft
// axis, out of the web's plane, by the much smaller b·h³/12.
double TBeamElem::InertiaX() const {
  if (SectionShape == 0) return Pi * (std::pow(OuterDiameter, 4) - std::pow(InnerDiameter, 4)) / 64;
  const double b = Width * ScaleH, h = Thickness * ScaleB;
  return CompatInertias ? h * h * h * b / 12 : h * b * b * b / 12;
}

double TBeamElem::InertiaZ() const {
  if (SectionShape == 0) return InertiaX();
  const double b = Width * ScaleH, h = Thickness * ScaleB;
  return CompatInertias ? b * b * b * h / 12 : b * h * h * h / 12;
}

TMatrix12 TBeamElem::LocalStiffness() const {
  TMatrix12 k{};
  double bz12, bz6, bz4, bz2, bx12, bx6, bx4, bx2, axial, torsion;
  if (Kind == ekSupport) {
    // A support spring: rigid in bending, its own stiffness along and about its axis.
    bz12 = bz6 = bz4 = bz2 = bx12 = bx6 = bx4 = bx2 = SupportBending;
    axial = SpringStiffness;
    torsion = SpringTorsionStiffness;
    k[11][5] = SupportBending;
    k[9][3] = SupportBending;
  } else {
    const double L = Length, E = YoungModulus;
    const double Ix = InertiaX(), Iz = InertiaZ();
    bz12 = 12 * E * Iz / (L * L * L);
    bz6 = 6 * E * Iz / (L * L);
    bz4 = 4 * E * Iz / L;
    bz2 = 2 * E * Iz / L;
    bx12 = 12 * E * Ix / (L * L * L);
    bx6 = 6 * E * Ix / (L * L);
    bx4 = 4 * E * Ix / L;
    bx2 = 2 * E * Ix / L;
    axial = E * Area() / L;
    torsion = ShearModulus * TorsionConstant() / L;
    k[11][5] = bz2;
    k[9][3] = bx2;
  }
  k[0][0] = k[6][6] = bz12;
  k[1][1] = k[7][7] = axial;
  k[2][2] = k[8][8] = bx12;
  k[3][3] = k[9][9] = bx4;
  k[4][4] = k[10][10] = torsion;
  k[5][5] = k[11][11] = bz4;
  k[5][0] = k[11][0] = -bz6;
  k[6][0] = -bz12;
  k[7][1] = -axial;
  k[3][2] = k[9][2] = bx6;
  k[8][2] = -bx12;
  k[8][3] = k[9][8] = -bx6;
  k[10][4] = -torsion;
  k[6][5] = k[11][6] = bz6;
  mirrorLower(k);
  return k;
}

TMatrix12 TBeamElem::Transformation() const {
  const TMatrix3 c = DirectionCosines();
  TMatrix12 t{};
  for (std::size_t b = 0; b < 4; ++b)
    for (std::size_t r = 0; r < 3; ++r)
      for (std::size_t j = 0; j < 3; ++j) t[3 * b + r][3 * b + j] = c[r][j];
  return t;
}

TMatrix12 RotateStiffness(const TMatrix12& local, const TMatrix3& c) {
  // Block by block: G_ab = Λᵀ·K_ab·Λ for the 3×3 blocks a, b of the block-diagonal T. The
  // blocks below the diagonal are the transposes of those above, so that the result is
  // exactly symmetric (the solvers rely on it).
  TMatrix12 g{};
  for (std::size_t a = 0; a < 4; ++a)
    for (std::size_t b = a; b < 4; ++b) {
      double kl[3][3];  // K_ab·Λ
      for (std::size_t r = 0; r < 3; ++r)
        for (std::size_t j = 0; j < 3; ++j) {
          double s = 0;
          for (std::size_t m = 0; m < 3; ++m) s += local[3 * a + r][3 * b + m] * c[m][j];
          kl[r][j] = s;
        }
      for (std::size_t i = 0; i < 3; ++i)
        for (std::size_t j = 0; j < 3; ++j) {
          double s = 0;
          for (std::size_t m = 0; m < 3; ++m) s += c[m][i] * kl[m][j];
          g[3 * a + i][3 * b + j] = s;
          g[3 * b + j][3 * a + i] = s;
        }
    }
  for (std::size_t b = 0; b < 4; ++b)  // the diagonal blocks: mirror their upper triangle
    for (std::size_t i = 0; i < 3; ++i)
      for (std::size_t j = i + 1; j < 3; ++j) g[3 * b + j][3 * b + i] = g[3 * b + i][3 * b + j];
  return g;
}

TMatrix12 TBeamElem::GlobalStiffness() const { return RotateStiffness(LocalStiffness(), DirectionCosines()); }

TVector12 TBeamElem::LoadVector(int step) const {
  TVector12 f{};
  const auto k = static_cast<std::size_t>(step);
  if (LoadX1) f[0] = (*LoadX1)[k];
  if (LoadY1) f[1] = (*LoadY1)[k];
  if (LoadX2) f[6] = (*LoadX2)[k];
  if (LoadY2) f[7] = (*LoadY2)[k];
  return f;
}

TVector12 GlobalEndForces(const TMatrix12& global, const TVector12& displacements) {
  TVector12 f{};
  for (std::size_t r = 0; r < 12; ++r)
    for (std::size_t c = 0; c < 12; ++c) f[r] += global[r][c] * displacements[c];
  ZeroSmallForces(f);
  return f;
}

TVector12 LocalEndForces(const TMatrix12& local, const TMatrix3& c, const TVector12& displacements) {
  TVector12 turned{};
  for (std::size_t b = 0; b < 4; ++b)
    for (std::size_t r = 0; r < 3; ++r)
      for (std::size_t j = 0; j < 3; ++j) turned[3 * b + r] += c[r][j] * displacements[3 * b + j];
  TVector12 f{};
  for (std::size_t r = 0; r < 12; ++r)
    for (std::size_t j = 0; j < 12; ++j) f[r] += local[r][j] * turned[j];
  ZeroSmallForces(f);
  return f;
}

TVector12 TBeamElem::GlobalForces() const { return GlobalEndForces(GlobalStiffness(), Displacements); }

TVector12 TBeamElem::LocalForces() const { return LocalEndForces(LocalStiffness(), Cosines, Displacements); }
