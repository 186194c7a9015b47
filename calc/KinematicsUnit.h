// Closed-form kinematics of the crank mechanism: the central connecting rod (master or
// side-by-side, with an optional desaxial offset) and the articulated (trailing) rod.
#pragma once

#include <string>

// Conventions shared by every function:
// - lengths in m, angles in rad, the crank's angular speed omega in rad/s (constant);
// - alpha is the crank angle of the cylinder measured from its own top dead centre in the
//   direction of rotation; the rod swing angle beta is positive when the rod's big end is on
//   the side to which the crank turns after top dead centre;
// - a is the desaxial offset of the cylinder axis from the crank axis, measured on the same side;
// - the piston distance is measured from top dead centre, its velocity and acceleration are
//   positive away from top dead centre.
// Articulated rod: alphaM is the master crank angle (from the master cylinder's top dead
// centre), delta the angle of the articulated cylinder axis behind the master's (its own crank
// angle is alphaM - delta), gamma1 the angle and r1 the radius of the trailing-rod pin on the
// master rod's big end, lM the master rod length and l the trailing rod length.
//
// The functions are plain arithmetic and check nothing. For a geometry that cannot be assembled
// (a rod too short for the crank, R <= 0) an arcsine or square root leaves its domain and the
// result is NaN (or a division by zero gives an infinity); the platform's invalid-operation or
// division-by-zero flag is raised at the same time. A caller detects this in one of three ways:
// - before the loop: RequireCentralGeometry / RequireArticulatedGeometry, which throw
//   EVexaFloatError naming the quantity and the dimensions at fault (preferred);
// - around the loop: ClearFloatFlags() before, CheckFloatFlags(stage, quantity) after;
// - per value: RequireFinite(value, stage, quantity).
// All three live in or come from core/FloatCheckUnit.h.
namespace Kinematics {

// ---- Central rod, desaxial offset a (a = 0 for several rows or side-by-side rods) ----

// Rod swing angle beta, rad: sin(beta) = (R*sin(alpha) - a) / l.
double RodAngle(double alpha, double a, double R, double l);
// Rod angular velocity d(beta)/dt, rad/s.
double RodOmega(double omega, double alpha, double a, double R, double l);
// Rod angular acceleration d2(beta)/dt2, rad/s2. Finite at sin(alpha) = 0 (guarded angle).
double RodEpsilon(double omega, double alpha, double a, double R, double l);
// Piston stroke, m: distance between the two dead centres, where crank and rod are in line:
// sqrt((l + R)^2 - a^2) - sqrt((l - R)^2 - a^2). Needs R > 0.
double Stroke(double a, double R, double l);
// Piston distance from top dead centre, m.
double PistonDistance(double alpha, double a, double R, double l);
// Piston velocity, m/s, positive away from top dead centre.
double PistonVelocity(double omega, double alpha, double a, double R, double l);
// Piston acceleration, m/s2, positive away from top dead centre.
double PistonAcceleration(double omega, double alpha, double a, double R, double l);

// ---- Articulated (trailing) rod of a row >= 2, master rod without offset ----

// Trailing rod swing angle beta, rad, against its own cylinder axis.
double ArtRodAngle(double alphaM, double delta, double gamma1, double R, double r1, double lM,
                   double l);
// Trailing rod angular velocity, rad/s.
double ArtRodOmega(double omega, double alphaM, double delta, double gamma1, double R, double r1,
                   double lM, double l);
// Trailing rod angular acceleration, rad/s2.
double ArtRodEpsilon(double omega, double alphaM, double delta, double gamma1, double R, double r1,
                     double lM, double l);
// Distance X of the trailing piston pin from the crank axis along its cylinder axis, m.
double ArtPinDistance(double alphaM, double delta, double gamma1, double R, double r1, double lM,
                      double l);
// X at top dead centre, m: X at the own crank angle phi* where X is largest, phi* taken from a
// closed-form estimate with the first two harmonics of X (exact to about 1e-6 m for usual rods).
double ArtTdcDistance(double delta, double gamma1, double R, double r1, double lM, double l);
// Own crank angle phi* of the top-dead-centre estimate, rad (the angle ArtTdcDistance uses).
double ArtTdcAngle(double delta, double gamma1, double R, double r1, double lM, double l);
// Trailing piston distance from top dead centre, m: ArtTdcDistance - ArtPinDistance.
double ArtPistonDistance(double alphaM, double delta, double gamma1, double R, double r1,
                         double lM, double l);
// Trailing piston velocity, m/s, positive away from top dead centre.
double ArtPistonVelocity(double omega, double alphaM, double delta, double gamma1, double R,
                         double r1, double lM, double l);
// Trailing piston acceleration, m/s2, positive away from top dead centre.
double ArtPistonAcceleration(double omega, double alphaM, double delta, double gamma1, double R,
                             double r1, double lM, double l);

// ---- Positions: the part of a step that does not depend on the speed ----
//
// At a given crank angle the mechanism's angles and their sines and cosines are the same at
// every speed; the rates are ω or ω² times functions of them. A position holds those values
// of one step, so that runs at several speeds compute the trigonometry once and the rates
// from it. The functions above are these same formulas; the arithmetic is the same, so the
// values agree to the last bit however they are computed.

// Central rod at crank angle alpha.
struct TCentralPosition {
  double Beta = 0;                           // rod swing angle, rad
  double Distance = 0;                       // piston distance from top dead centre, m
  double CosAlpha = 0, CosBeta = 0;
  double SinAlphaBeta = 0, CosAlphaBeta = 0;  // of alpha + beta
  // Of the rod's angular acceleration: sin of the guarded crank angle, the bracket of the
  // offset and cos³ of the rod angle (the guard leaves a rod angle whose cosine is not 0 as it is).
  double SinAlphaGuarded = 0, EpsilonBracket = 0, CosBetaCubed = 0;
};
TCentralPosition CentralPosition(double alpha, double a, double R, double l);
double RodOmega(double omega, const TCentralPosition& p, double R, double l);
double RodEpsilon(double omega, const TCentralPosition& p, double R, double l);
double PistonVelocity(double omega, const TCentralPosition& p, double R);
double PistonAcceleration(double omega, const TCentralPosition& p, double R, double l);

// Articulated rod at master crank angle alphaM.
struct TArticulatedPosition {
  double Beta = 0;         // trailing rod swing angle, rad
  double PinDistance = 0;  // X of ArtPinDistance, m
  // Master rod: cos of alphaM and of its swing angle, sin of the guarded alphaM, cos³ of the
  // swing angle.
  double CosAlphaM = 0, CosBetaM = 0, SinAlphaMGuarded = 0, CosBetaMCubed = 0;
  double SinOwn = 0, CosOwn = 0;    // of the own crank angle alphaM − delta
  double SinPsi = 0, CosPsi = 0;    // of the trailing-rod pin's angle psi
  double SinBeta = 0, CosBeta = 0;
};
TArticulatedPosition ArticulatedPosition(double alphaM, double delta, double gamma1, double R, double r1,
                                         double lM, double l);
double ArtRodOmega(double omega, const TArticulatedPosition& p, double R, double r1, double lM, double l);
double ArtRodEpsilon(double omega, const TArticulatedPosition& p, double R, double r1, double lM, double l);
double ArtPistonVelocity(double omega, const TArticulatedPosition& p, double R, double r1, double lM, double l);
double ArtPistonAcceleration(double omega, const TArticulatedPosition& p, double R, double r1, double lM,
                             double l);

// ---- Geometry checks, to be called once per cylinder before the step loop ----

// Throws EVexaFloatError ("Расчёт невозможен (<stage>): <quantity> ...") unless
// every input is finite, R > 0, l > 0 and l > R + |a| (the rod reaches the piston pin at every
// crank angle without standing across the cylinder axis), which keeps every central function finite.
void RequireCentralGeometry(double a, double R, double l,
                            const std::string& stage = "кинематика");
// Same for an articulated cylinder: the master rod must satisfy the central check with a = 0,
// and the trailing rod must be longer than the largest sideways distance of its lower pin from
// the cylinder axis over a full turn (found by search, so no sufficient-only bound is imposed).
void RequireArticulatedGeometry(double delta, double gamma1, double R, double r1, double lM,
                                double l, const std::string& stage = "кинематика");

}  // namespace Kinematics
