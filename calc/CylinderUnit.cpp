#include "CylinderUnit.h"

#include <cmath>
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
  for (TReal1DArray* a : {&Alpha, &Beta, &OmegaL, &TetaL, &Sp, &Vp, &Jp, &Vol, &P, &Pj, &Ps, &N, &K, &T, &Z, &Fx,
                          &Fy, &MXss, &MYss, &MZss, &MTss, &M0ss, &SplitMZss, &SplitMTss, &SplitM0ss})
    a->assign(static_cast<std::size_t>(nPts), 0.0);
}

namespace {

// Fills values[i] = f(i) for every step and names the quantity if a floating-point event occurs.
template <typename F>
void fillSteps(TReal1DArray& values, const std::string& stage, const char* quantity, F f) {
  ClearFloatFlags();
  for (std::size_t i = 0; i < values.size(); ++i) values[i] = f(i);
  CheckFloatFlags(stage, quantity);
}

}  // namespace

void TCylinder::ComputeKinematics(int s, int r) {
  const TDynamicCalcStruct& run = Crank.Calc;
  const TEngineDataStruct& e = run.Engine;
  CylNo = static_cast<std::int16_t>(e.CylNumber(s, r));
  Alpha = run.AngleGrid;
  const int shift = FindAngleIndex(run.AngleGrid, e.FireAngle[s][r]);
  Shift = static_cast<std::int16_t>(shift < 0 ? 0 : shift);
  High = static_cast<std::int16_t>(run.NPts() - 1);
  Fp = e.PistonArea();
  const double omega = e.Omega();
  if (r == 1 || e.Disposition == 0) {
    centralKinematics(omega, e.Dezax, e.R, e.ConRodL[r]);
  } else {
    articulatedKinematics(omega, e.CylPhase(CylNo), e.ConRodGamma1[r], e.R, e.ConRodR1[r], e.ConRodL[1],
                          e.ConRodL[r]);
  }
}

void TCylinder::centralKinematics(double omega, double a, double R, double l) {
  const std::string stage = "кинематика цилиндра " + std::to_string(CylNo);
  RequireCentralGeometry(a, R, l, stage);
  ShiftArray(Alpha, Shift, TShiftDirection::Right);
  fillSteps(Beta, stage, "Beta", [&](std::size_t i) { return RodAngle(Alpha[i], a, R, l); });
  fillSteps(OmegaL, stage, "OmegaL", [&](std::size_t i) { return RodOmega(omega, Alpha[i], a, R, l); });
  fillSteps(TetaL, stage, "TetaL", [&](std::size_t i) { return RodEpsilon(omega, Alpha[i], a, R, l); });
  fillSteps(Sp, stage, "Sp", [&](std::size_t i) { return PistonDistance(Alpha[i], a, R, l); });
  fillSteps(Vp, stage, "vp", [&](std::size_t i) { return PistonVelocity(omega, Alpha[i], a, R, l); });
  fillSteps(Jp, stage, "jp", [&](std::size_t i) { return PistonAcceleration(omega, Alpha[i], a, R, l); });
  fillSteps(Vol, stage, "Vol", [&](std::size_t i) { return Fp * Sp[i]; });
}

void TCylinder::articulatedKinematics(double omega, double delta, double gamma1, double R, double r1, double lM,
                                      double l) {
  const std::string stage = "кинематика цилиндра " + std::to_string(CylNo);
  RequireArticulatedGeometry(delta, gamma1, R, r1, lM, l, stage);
  // The trailing rod's motion is formed from ratios to the crank's angular speed: at rest it
  // has none, and the cause is the speed, not the geometry.
  if (omega == 0)
    throw EVexaFloatError("Расчёт кинематики прицепного шатуна цилиндра " + std::to_string(CylNo) +
                          " невозможен при частоте вращения вала 0 об/мин: задайте частоту вращения больше нуля");
  const TReal1DArray& master = Crank.Cylinders.front()->Alpha;
  fillSteps(Alpha, stage, "alpha", [&](std::size_t i) { return master[i] - delta; });
  fillSteps(Beta, stage, "Beta",
            [&](std::size_t i) { return ArtRodAngle(master[i], delta, gamma1, R, r1, lM, l); });
  fillSteps(OmegaL, stage, "OmegaL",
            [&](std::size_t i) { return ArtRodOmega(omega, master[i], delta, gamma1, R, r1, lM, l); });
  fillSteps(TetaL, stage, "TetaL",
            [&](std::size_t i) { return ArtRodEpsilon(omega, master[i], delta, gamma1, R, r1, lM, l); });
  fillSteps(Sp, stage, "Sp",
            [&](std::size_t i) { return ArtPistonDistance(master[i], delta, gamma1, R, r1, lM, l); });
  fillSteps(Vp, stage, "vp",
            [&](std::size_t i) { return ArtPistonVelocity(omega, master[i], delta, gamma1, R, r1, lM, l); });
  fillSteps(Jp, stage, "jp",
            [&](std::size_t i) { return ArtPistonAcceleration(omega, master[i], delta, gamma1, R, r1, lM, l); });
  fillSteps(Vol, stage, "Vol", [&](std::size_t i) { return Fp * Sp[i]; });
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

void TCylinder::TangentialForces(const TReal1DArray& ps, TReal1DArray& t) const {
  t.resize(ps.size());
  if (!articulated()) {
    for (std::size_t i = 0; i < t.size(); ++i) t[i] = Forces::TangentialForce(ps[i], Alpha[i], Beta[i]);
    return;
  }
  const TCylinder& master = *Crank.Cylinders.front();
  for (std::size_t i = 0; i < t.size(); ++i)
    t[i] = Forces::ArtTangential(Forces::RodForce(ps[i], Beta[i]), articulatedReaction(ps[i], i), master.Alpha[i],
                                 Alpha[i], Beta[i]);
}

void TCylinder::ComputeForces(int s, int r) {
  const TDynamicCalcStruct& run = Crank.Calc;
  const TEngineDataStruct& e = run.Engine;
  TCylinder& master = *Crank.Cylinders.front();
  const std::string stage = "силы цилиндра " + std::to_string(CylNo);
  const std::size_t n = Alpha.size();

  if (e.CylEnabled[s][r]) {
    P = run.Pressure;
    ShiftArray(P, Shift, TShiftDirection::Right);
  } else {
    P.assign(n, 0.0);
  }
  fillSteps(Pj, stage, "Pj", [&](std::size_t i) { return Forces::InertiaForce(e.Mpd[r], Jp[i]); });
  fillSteps(Ps, stage, "Ps", [&](std::size_t i) { return P[i] + Pj[i]; });

  ClearFloatFlags();
  if (!articulated()) {
    for (std::size_t i = 0; i < n; ++i) {
      N[i] = Forces::SideForce(Ps[i], Beta[i]);
      K[i] = Forces::RodForce(Ps[i], Beta[i]);
      Z[i] = Forces::RadialForce(Ps[i], Alpha[i], Beta[i]);
    }
  } else {
    for (std::size_t i = 0; i < n; ++i) {
      K[i] = Forces::RodForce(Ps[i], Beta[i]);
      N[i] = Forces::SideForce(Ps[i], Beta[i]);
      const double dN = articulatedReaction(Ps[i], i);
      Z[i] = Forces::ArtRadial(K[i], dN, master.Alpha[i], Alpha[i], Beta[i]);
      master.N[i] += dN;  // the articulated rod's reaction acts on the master rod
    }
  }
  TangentialForces(Ps, T);
  CheckFloatFlags(stage, "N, K, T, Z");

  // Every row carries its own rotating con-rod part and an equal share of the crankpin.
  const double rotating = e.RodRotForce(r) + e.PinForce() / e.NRad;
  const double newtonsPerMPa = Fp * 1e6;
  for (std::size_t i = 0; i < n; ++i) {
    Z[i] -= rotating;
    const auto f = Forces::ToShaftAxes(master.Alpha[i], T[i] * newtonsPerMPa, Z[i] * newtonsPerMPa);
    Fx[i] = f.x;
    Fy[i] = f.y;
  }
  CheckFloatFlags(stage, "Fx, Fy");
}
