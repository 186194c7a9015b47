// Forces of the crank mechanism per unit piston area (MPa): inertia, side, rod, tangential
// and radial forces of central and articulated rods, and the crankpin force in shaft axes.
#pragma once

namespace Forces {

// Inertia force of the reciprocating masses: −Mpd·jp/10⁶ (Mpd in kg/m², jp in m/s²).
double InertiaForce(double Mpd, double jp);
// Side force on the cylinder wall: Ps·tan β.
double SideForce(double Ps, double beta);
// Force along the rod axis: Ps / cos β.
double RodForce(double Ps, double beta);
// Tangential force on the crankpin: Ps·sin(α + β) / cos β.
double TangentialForce(double Ps, double alpha, double beta);
// Radial force on the crankpin, positive towards the crank axis: Ps·cos(α + β) / cos β.
double RadialForce(double Ps, double alpha, double beta);
// Reaction ΔN that an articulated rod hands to its master rod's side force.
double ArtReaction(double Ps, double delta, double gamma1, double betaM, double beta, double r1, double lM);
// Tangential and radial force of an articulated rod on the common crankpin.
double ArtTangential(double K, double dN, double alphaM, double alpha, double beta);
double ArtRadial(double K, double dN, double alphaM, double alpha, double beta);

// A force in the shaft's x, y axes.
struct TShaftForce {
  double x;
  double y;
};
// Tangential t and radial z force at crank angle a into shaft axes: the crankpin lies at
// R·(−sin a, cos a) and the tangential direction is (−cos a, −sin a).
TShaftForce ToShaftAxes(double a, double t, double z);

}  // namespace Forces
