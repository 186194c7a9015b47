#include "CylinderUnit.h"

#include <cmath>
#include <stdexcept>
#include <string>

#include "CommonFuncs.h"
#include "CrankUnit.h"
#include "DynamicCalcUnit.h"
#include "FloatCheckUnit.h"
#include "ForcesUnit.h"
#include "KinematicsUnit.h"

using namespace Kinematics;

TCylinder::TCylinder(TCrank& crank) : Crank(crank) {}

void TCylinder::Allocate(int nPts) {
  for (TReal1DArray* a : {&MXss, &MYss, &MZss, &MTss, &M0ss, &SplitM0ss})
    a->assign(static_cast<std::size_t>(nPts), 0.0);
}

namespace {

// The values f(0) … f(n − 1) of the steps; a floating-point event names the quantity.
template <typename F>
auto stepValues(std::size_t n, const std::string& stage, const char* quantity, F f) {
  std::vector<decltype(f(std::size_t{0}))> values;
  values.reserve(n);
  ClearFloatFlags();
  for (std::size_t i = 0; i < n; ++i) values.push_back(f(i));
  CheckFloatFlags(stage, quantity);
  return values;
}

}  // namespace

std::string TCylinder::kinematicsStage() const { return "кинематика цилиндра " + std::to_string(CylNo); }

void TCylinder::ComputePositions(int s, int r) {
  const TDynamicCalcStruct& run = Crank.Calc;
  const TEngineDataStruct& e = run.Engine;
  CylNo = static_cast<std::int16_t>(e.CylNumber(s, r));
  const int shift = FindAngleIndex(run.AngleGrid, e.FireAngle[s][r]);
  Shift = static_cast<std::int16_t>(shift < 0 ? 0 : shift);
  High = static_cast<std::int16_t>(run.NPts() - 1);
  Fp = e.PistonArea();
  const std::string stage = kinematicsStage();
  const std::size_t n = run.AngleGrid.size();
  auto positions = std::make_shared<TCylinderPositions>();
  if (!articulated()) {
    const double a = e.Dezax, R = e.R, l = e.ConRodL[r];
    RequireCentralGeometry(a, R, l, stage);
    Alpha = ShiftedArray(run.AngleGrid, Shift, TShiftDirection::Right);
    const auto& p = positions->Central =
        stepValues(n, stage, "Beta, Sp", [&](std::size_t i) { return CentralPosition(Alpha[i], a, R, l); });
    Beta = stepValues(n, stage, "Beta", [&](std::size_t i) { return p[i].Beta; });
    Sp = stepValues(n, stage, "Sp", [&](std::size_t i) { return p[i].Distance; });
  } else {
    const double delta = e.CylPhase(CylNo), gamma1 = e.ConRodGamma1[r], R = e.R, r1 = e.ConRodR1[r];
    const double lM = e.ConRodL[1], l = e.ConRodL[r];
    RequireArticulatedGeometry(delta, gamma1, R, r1, lM, l, stage);
    const TReal1DArray& master = Crank.Cylinders.front()->Alpha;
    Alpha = stepValues(n, stage, "alpha", [&](std::size_t i) { return master[i] - delta; });
    const auto& p = positions->Articulated = stepValues(n, stage, "Beta, Sp", [&](std::size_t i) {
      return ArticulatedPosition(master[i], delta, gamma1, R, r1, lM, l);
    });
    const double top = ArtTdcDistance(delta, gamma1, R, r1, lM, l);
    Beta = stepValues(n, stage, "Beta", [&](std::size_t i) { return p[i].Beta; });
    Sp = stepValues(n, stage, "Sp", [&](std::size_t i) { return top - p[i].PinDistance; });
  }
  Vol = stepValues(n, stage, "Vol", [&](std::size_t i) { return Fp * Sp[i]; });
  positions_ = std::move(positions);
}

void TCylinder::TakePositions(const TCylinder& same) {
  CylNo = same.CylNo;
  Shift = same.Shift;
  High = same.High;
  Fp = same.Fp;
  Alpha = same.Alpha;
  Beta = same.Beta;
  Sp = same.Sp;
  Vol = same.Vol;
  positions_ = same.positions_;
}

void TCylinder::ComputeRates() {
  if (!positions_) throw std::logic_error("the rates of a cylinder need its positions");
  const TEngineDataStruct& e = Crank.Calc.Engine;
  const double omega = e.Omega();
  const int r = e.CylRow(CylNo);
  const double R = e.R, l = e.ConRodL[r];
  const std::string stage = kinematicsStage();
  const std::size_t n = Alpha.size();
  if (!articulated()) {
    const auto& p = positions_->Central;
    OmegaL = stepValues(n, stage, "OmegaL", [&](std::size_t i) { return RodOmega(omega, p[i], R, l); });
    TetaL = stepValues(n, stage, "TetaL", [&](std::size_t i) { return RodEpsilon(omega, p[i], R, l); });
    Vp = stepValues(n, stage, "vp", [&](std::size_t i) { return PistonVelocity(omega, p[i], R); });
    Jp = stepValues(n, stage, "jp", [&](std::size_t i) { return PistonAcceleration(omega, p[i], R, l); });
    return;
  }
  // The trailing rod's motion is formed from ratios to the crank's angular speed: at rest it
  // has none, and the cause is the speed, not the geometry.
  if (omega == 0)
    throw EVexaFloatError("Расчёт кинематики прицепного шатуна цилиндра " + std::to_string(CylNo) +
                          " невозможен при частоте вращения вала 0 об/мин: задайте частоту вращения больше нуля");
  const auto& p = positions_->Articulated;
  const double r1 = e.ConRodR1[r], lM = e.ConRodL[1];
  OmegaL = stepValues(n, stage, "OmegaL", [&](std::size_t i) { return ArtRodOmega(omega, p[i], R, r1, lM, l); });
  TetaL = stepValues(n, stage, "TetaL", [&](std::size_t i) { return ArtRodEpsilon(omega, p[i], R, r1, lM, l); });
  Vp = stepValues(n, stage, "vp", [&](std::size_t i) { return ArtPistonVelocity(omega, p[i], R, r1, lM, l); });
  Jp = stepValues(n, stage, "jp", [&](std::size_t i) { return ArtPistonAcceleration(omega, p[i], R, r1, lM, l); });
}

bool TCylinder::articulated() const {
  const TEngineDataStruct& e = Crank.Calc.Engine;
  return e.Disposition != 0 && e.CylRow(CylNo) > 1;
}

double TCylinder::articulatedReaction(double ps, std::size_t i) const {
  const TEngineDataStruct& e = Crank.Calc.Engine;
  const int r = e.CylRow(CylNo);
  return Forces::ArtReaction(ps, e.CylPhase(CylNo), e.ConRodGamma1[r], Crank.Cylinders.front()->Beta[i], Beta[i],
                             e.ConRodR1[r], e.ConRodL[1]);
}

TReal1DArray TCylinder::TangentialForces(const TReal1DArray& ps) const {
  TReal1DArray t;
  t.reserve(ps.size());
  if (!articulated()) {
    for (std::size_t i = 0; i < ps.size(); ++i) t.push_back(Forces::TangentialForce(ps[i], Alpha[i], Beta[i]));
    return t;
  }
  const TCylinder& master = *Crank.Cylinders.front();
  for (std::size_t i = 0; i < ps.size(); ++i)
    t.push_back(Forces::ArtTangential(Forces::RodForce(ps[i], Beta[i]), articulatedReaction(ps[i], i),
                                      master.Alpha[i], Alpha[i], Beta[i]));
  return t;
}

void TCylinder::ComputeForces(int s, int r) {
  const TDynamicCalcStruct& run = Crank.Calc;
  const TEngineDataStruct& e = run.Engine;
  TCylinder& master = *Crank.Cylinders.front();
  const std::string stage = "силы цилиндра " + std::to_string(CylNo);
  const std::size_t n = Alpha.size();

  P = e.CylEnabled[s][r] ? ShiftedArray(run.Pressure, Shift, TShiftDirection::Right) : TReal1DArray(n, 0.0);
  Pj = stepValues(n, stage, "Pj", [&](std::size_t i) { return Forces::InertiaForce(e.Mpd[r], Jp[i]); });
  Ps = stepValues(n, stage, "Ps", [&](std::size_t i) { return P[i] + Pj[i]; });
  K = stepValues(n, stage, "K", [&](std::size_t i) { return Forces::RodForce(Ps[i], Beta[i]); });
  N = stepValues(n, stage, "N", [&](std::size_t i) { return Forces::SideForce(Ps[i], Beta[i]); });
  if (!articulated()) {
    Z = stepValues(n, stage, "Z", [&](std::size_t i) { return Forces::RadialForce(Ps[i], Alpha[i], Beta[i]); });
  } else {
    const auto reaction = stepValues(n, stage, "N", [&](std::size_t i) { return articulatedReaction(Ps[i], i); });
    Z = stepValues(n, stage, "Z", [&](std::size_t i) {
      return Forces::ArtRadial(K[i], reaction[i], master.Alpha[i], Alpha[i], Beta[i]);
    });
    // The articulated rod's reaction acts on the master rod.
    for (std::size_t i = 0; i < n; ++i) master.N[i] += reaction[i];
  }
  ClearFloatFlags();
  T = TangentialForces(Ps);
  CheckFloatFlags(stage, "T");

  // Every row carries its own rotating con-rod part and an equal share of the crankpin.
  const double rotating = e.RodRotForce(r) + e.PinForce() / e.NRad;
  const double newtonsPerMPa = Fp * 1e6;
  Fx.clear();
  Fy.clear();
  Fx.reserve(n);
  Fy.reserve(n);
  for (std::size_t i = 0; i < n; ++i) {
    Z[i] -= rotating;
    const auto f = Forces::ToShaftAxes(master.Alpha[i], T[i] * newtonsPerMPa, Z[i] * newtonsPerMPa);
    Fx.push_back(f.x);
    Fy.push_back(f.y);
  }
  CheckFloatFlags(stage, "Fx, Fy");
}
