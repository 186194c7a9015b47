#include "CrankUnit.h"

#include <cmath>
#include <initializer_list>
#include <stdexcept>
#include <numbers>
#include <string>

#include "CommonFuncs.h"
#include "DynamicCalcUnit.h"
#include "FloatCheckUnit.h"
#include "ForcesUnit.h"

namespace {

constexpr double Pi = std::numbers::pi;

// Empties the arrays and reserves n steps in each, for a loop that appends every step.
void startSteps(std::initializer_list<TReal1DArray*> arrays, std::size_t n) {
  for (TReal1DArray* a : arrays) {
    a->clear();
    a->reserve(n);
  }
}

}  // namespace

TCrank::TCrank(TDynamicCalcStruct& calc) : Calc(calc) {}

int TCrank::NPts() const { return Calc.NPts(); }

void TCrank::Allocate(int nPts) {
  for (TReal1DArray* a : {&X1, &Y1, &X2, &Y2, &MX1, &MY1, &MX2, &MY2, &T1, &Z1, &T2, &Z2, &MT1, &MZ1, &MT2, &MZ2,
                          &Mkks2, &Mkss, &MZgalss1, &MZgalss2})
    a->assign(static_cast<std::size_t>(nPts), 0.0);
  const auto harmonics = static_cast<std::size_t>(Calc.Engine.NGarm > 0 ? Calc.Engine.NGarm : 0);
  for (TReal1DArray* a : {&HarmA, &HarmB, &HarmPhase, &HarmAmp}) a->assign(harmonics, 0.0);
  HarmA0 = 0;
  TorsionalAmp = 0;
  Cylinders.clear();
  for (int r = 1; r <= Calc.Engine.NRad; ++r) {
    Cylinders.push_back(std::make_unique<TCylinder>(*this));
    Cylinders.back()->Allocate(nPts);
  }
}

void TCrank::ComputeLoads(int s, const TCrank* same) {
  // Every cylinder's kinematics first: an articulated rod reads its master's.
  for (std::size_t r = 0; r < Cylinders.size(); ++r) {
    if (same)
      Cylinders[r]->TakePositions(*same->Cylinders.at(r));
    else
      Cylinders[r]->ComputePositions(s, static_cast<int>(r) + 1);
    Cylinders[r]->ComputeRates();
  }
  for (std::size_t r = 0; r < Cylinders.size(); ++r) Cylinders[r]->ComputeForces(s, static_cast<int>(r) + 1);

  const std::size_t n = Calc.AngleGrid.size();
  TSum.assign(n, 0.0);
  ZSum.assign(n, 0.0);
  for (const auto& cylinder : Cylinders)
    for (std::size_t i = 0; i < n; ++i) {
      TSum[i] += cylinder->T[i];
      ZSum[i] += cylinder->Z[i];
    }
  Mk = torqueOfTangentialSum(TSum);

  const std::string stage = "нагрузки колена " + std::to_string(s);
  ClearFloatFlags();
  harmonicAnalysis();
  CheckFloatFlags(stage, "гармоники крутящего момента");
  shaftAxisLoads(s);
  CheckFloatFlags(stage, "нагрузки в осях вала");
  splitScheme(s);
  CheckFloatFlags(stage, "разрезная схема");
}

double HarmonicPhase(double A, double B) {
  if (B == 0) return A == 0 ? 0 : Pi / 2;
  if (B > 0) return std::atan(A / B);
  return std::atan(A / B) + Pi;
}

void HarmonicCoefficients(const TReal1DArray& values, double& a0, TReal1DArray& A, TReal1DArray& B) {
  // The n steps are one whole cycle (the closing point of the diagram is not among them), so
  // the cycle is 2π with the step 2π/n and the last trapezoid closes on the first value.
  const std::size_t n = values.size();
  B.resize(A.size());
  if (n < 3) return;
  const double h = 2 * Pi / static_cast<double>(n);
  auto at = [&](std::size_t i) { return values[i % n]; };
  double sum0 = 0;
  for (std::size_t i = 0; i < n; ++i) sum0 += h * (at(i) + at(i + 1)) / 2;
  a0 = sum0 / Pi;
  // cos and sin of j·h for every product j = x·i that occurs, shared by the throws of a run
  // (every thread keeps its own).
  thread_local std::size_t tableSteps = 0;
  thread_local TReal1DArray cosines, sines;
  const std::size_t products = A.size() * n + 1;
  if (tableSteps != n || cosines.size() < products) {
    tableSteps = n;
    cosines.resize(products);
    sines.resize(products);
    for (std::size_t j = 0; j < products; ++j) {
      cosines[j] = std::cos(static_cast<double>(j) * h);
      sines[j] = std::sin(static_cast<double>(j) * h);
    }
  }
  for (std::size_t x = 1; x <= A.size(); ++x) {
    double a = 0, b = 0;
    for (std::size_t i = 0; i < n; ++i) {
      const std::size_t j0 = x * i, j1 = x * (i + 1);
      a += h * (at(i) * cosines[j0] + at(i + 1) * cosines[j1]) / 2;
      b += h * (at(i) * sines[j0] + at(i + 1) * sines[j1]) / 2;
    }
    A[x - 1] = a / Pi;
    B[x - 1] = b / Pi;
  }
}

void TCrank::harmonicAnalysis() {
  HarmonicCoefficients(Mk, HarmA0, HarmA, HarmB);
  harmonicPolar();
}

void TCrank::harmonicPolar() {
  for (std::size_t x = 0; x < HarmA.size(); ++x) {
    HarmAmp[x] = std::sqrt(HarmA[x] * HarmA[x] + HarmB[x] * HarmB[x]);
    HarmPhase[x] = HarmonicPhase(HarmA[x], HarmB[x]);
  }
}

TReal1DArray TCrank::torqueOfTangentialSum(const TReal1DArray& tSum) const {
  const TCylinder& master = *Cylinders.front();
  const double torquePerMPa = master.Fp * 1e6 * Calc.Engine.R;
  TReal1DArray torque;
  torque.reserve(tSum.size());
  for (double t : tSum) torque.push_back(t * torquePerMPa);
  return ShiftedArray(torque, master.Shift, TShiftDirection::Left);
}

TTorqueHarmonicParts TCrank::TorqueHarmonicParts() const {
  const double omega = Calc.Engine.Omega();
  if (!(omega > 0)) throw std::logic_error("the inertia part of the torque needs a positive speed");
  TTorqueHarmonicParts parts;
  TReal1DArray gas(TSum.size(), 0.0), inertia(TSum.size(), 0.0);
  for (const auto& cylinder : Cylinders) {
    const TReal1DArray gasT = cylinder->TangentialForces(cylinder->P);
    for (std::size_t i = 0; i < gasT.size(); ++i) gas[i] += gasT[i];
    const TReal1DArray inertiaT = cylinder->TangentialForces(cylinder->Pj);
    for (std::size_t i = 0; i < inertiaT.size(); ++i) inertia[i] += inertiaT[i];
  }
  for (double& value : inertia) value /= omega * omega;
  parts.GasA.resize(HarmA.size());
  parts.InertiaA.resize(HarmA.size());
  HarmonicCoefficients(torqueOfTangentialSum(gas), parts.GasA0, parts.GasA, parts.GasB);
  HarmonicCoefficients(torqueOfTangentialSum(inertia), parts.InertiaA0, parts.InertiaA, parts.InertiaB);
  return parts;
}

void TCrank::SetTorqueHarmonics(const TTorqueHarmonicParts& parts, double omega) {
  const double omega2 = omega * omega;
  HarmA0 = parts.GasA0 + omega2 * parts.InertiaA0;
  for (std::size_t x = 0; x < HarmA.size(); ++x) {
    HarmA[x] = parts.GasA[x] + omega2 * parts.InertiaA[x];
    HarmB[x] = parts.GasB[x] + omega2 * parts.InertiaB[x];
  }
  harmonicPolar();
}

void TCrank::shaftAxisLoads(int s) {
  const TEngineDataStruct& e = Calc.Engine;
  const TCylinder& master = *Cylinders.front();
  const double F = master.Fp * 1e6;
  const int left = 2 * s - 1, right = 2 * s;
  const double webLeft = -e.WebForce(left) * F, webRight = -e.WebForce(right) * F;
  const double cwLeft = e.ProtForce(left) * F, cwRight = e.ProtForce(right) * F;
  startSteps({&XSum, &YSum, &WebLeftX, &WebLeftY, &WebRightX, &WebRightY, &CwLeftX, &CwLeftY, &CwRightX, &CwRightY},
             TSum.size());
  for (std::size_t i = 0; i < TSum.size(); ++i) {
    const double a = master.Alpha[i];
    const auto sum = Forces::ToShaftAxes(a, TSum[i] * F, ZSum[i] * F);
    XSum.push_back(sum.x);
    YSum.push_back(sum.y);
    const auto wl = Forces::ToShaftAxes(a, 0, webLeft);
    const auto wr = Forces::ToShaftAxes(a, 0, webRight);
    WebLeftX.push_back(wl.x);
    WebLeftY.push_back(wl.y);
    WebRightX.push_back(wr.x);
    WebRightY.push_back(wr.y);
    const auto cl = Forces::ToShaftAxes(a + e.AlphaPr[left], 0, cwLeft);
    const auto cr = Forces::ToShaftAxes(a + e.AlphaPr[right], 0, cwRight);
    CwLeftX.push_back(cl.x);
    CwLeftY.push_back(cl.y);
    CwRightX.push_back(cr.x);
    CwRightY.push_back(cr.y);
  }
}

void TCrank::splitScheme(int s) {
  const TEngineDataStruct& e = Calc.Engine;
  const double F = Cylinders.front()->Fp * 1e6;
  const double L0 = e.L0, lj = e.WebMidPos(), li = e.RodSpacing(), le = e.RodOffset(), L6 = e.L6;
  const int left = 2 * s - 1, right = 2 * s;
  const double wL = e.WebForce(left), wR = e.WebForce(right);
  const double cL = e.ProtForce(left), cR = e.ProtForce(right);
  const double cosL = std::cos(e.AlphaPr[left]), sinL = std::sin(e.AlphaPr[left]);
  const double cosR = std::cos(e.AlphaPr[right]), sinR = std::sin(e.AlphaPr[right]);
  const TCrank* previous = s > 1 ? Calc.Cranks[static_cast<std::size_t>(s - 2)].get() : nullptr;

  std::vector<double> d(Cylinders.size());  // force point of each row from the left support
  for (std::size_t k = 0; k < d.size(); ++k) d[k] = lj + le + static_cast<double>(k) * li;

  startSteps({&SplitZ1, &SplitZ2, &SplitT1, &SplitT2, &SplitMkks, &SplitMkss, &SplitMZgal1, &SplitMZgal2},
             TSum.size());
  for (const auto& cylinder : Cylinders) startSteps({&cylinder->SplitMZss, &cylinder->SplitMTss}, TSum.size());
  for (std::size_t i = 0; i < TSum.size(); ++i) {
    double SZ1 = 0, ST1 = 0, SZ2 = 0, ST2 = 0;
    for (std::size_t k = 0; k < d.size(); ++k) {
      const double Zk = Cylinders[k]->Z[i], Tk = Cylinders[k]->T[i];
      SZ1 += Zk * d[k];
      ST1 += Tk * d[k];
      SZ2 += Zk * (L0 - d[k]);
      ST2 += Tk * (L0 - d[k]);
    }
    const double z1 = (cosR * cR * (lj + L6) + SZ2 - wR * lj - wL * (L0 - lj) + cosL * cL * (L0 - lj - L6)) / L0;
    const double z2 = (cosL * cL * (lj + L6) + SZ1 - wL * lj - wR * (L0 - lj) + cosR * cR * (L0 - lj - L6)) / L0;
    const double t1 = (ST2 - sinR * cR * (lj + L6) - sinL * cL * (L0 - lj - L6)) / L0;
    const double t2 = (ST1 - sinL * cL * (lj + L6) - sinR * cR * (L0 - lj - L6)) / L0;
    // The torque accumulates along the shaft from throw 1.
    const double mkks = (previous ? previous->SplitMkks[i] : 0.0) + TSum[i] * F * e.R;
    SplitZ1.push_back(z1);
    SplitZ2.push_back(z2);
    SplitT1.push_back(t1);
    SplitT2.push_back(t2);
    SplitMkks.push_back(mkks);
    SplitMkss.push_back(mkks - t2 * F * e.R);
    SplitMZgal1.push_back(-(cosL * cL * L6 + z1 * lj) * F);
    SplitMZgal2.push_back((cosR * cR * L6 + z2 * lj) * F);
    for (std::size_t k = 0; k < d.size(); ++k) {
      double zBefore = 0, tBefore = 0;
      for (std::size_t r = 0; r < k; ++r) {
        zBefore += Cylinders[r]->Z[i] * (d[k] - d[r]);
        tBefore += Cylinders[r]->T[i] * (d[k] - d[r]);
      }
      Cylinders[k]->SplitMZss.push_back((d[k] * z1 + (d[k] - lj) * wL - cosL * cL * (d[k] - lj - L6) - zBefore) * F);
      Cylinders[k]->SplitMTss.push_back((d[k] * t1 + sinL * cL * (d[k] - lj - L6) - tBefore) * F);
    }
  }
}
