#include "ForcesUnit.h"

#include <cmath>

namespace Forces {

double InertiaForce(double Mpd, double jp) { return -Mpd * jp / 1e6; }
double SideForce(double Ps, double beta) { return Ps * std::tan(beta); }
double RodForce(double Ps, double beta) { return Ps / std::cos(beta); }
double TangentialForce(double Ps, double alpha, double beta) { return Ps * std::sin(alpha + beta) / std::cos(beta); }
double RadialForce(double Ps, double alpha, double beta) { return Ps * std::cos(alpha + beta) / std::cos(beta); }

double ArtReaction(double Ps, double delta, double gamma1, double betaM, double beta, double r1, double lM) {
  return Ps * (r1 / lM) * std::sin(betaM - beta - (gamma1 - delta)) / (std::cos(beta) * std::cos(betaM));
}

double ArtTangential(double K, double dN, double alphaM, double alpha, double beta) {
  return K * std::sin(alpha + beta) + dN * std::cos(alphaM);
}

double ArtRadial(double K, double dN, double alphaM, double alpha, double beta) {
  return K * std::cos(alpha + beta) - dN * std::sin(alphaM);
}

TShaftForce ToShaftAxes(double a, double t, double z) {
  return {z * std::sin(a) - t * std::cos(a), -t * std::sin(a) - z * std::cos(a)};
}

}  // namespace Forces
