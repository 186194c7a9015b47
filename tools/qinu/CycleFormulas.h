// Textbook formulas of the engine cycle: cylinder volume of the crank mechanism, the
// Wiebe burning law, gas flow through a restriction, trapezoidal valve area, and the
// wall heat-transfer correlations of Woschni and Hohenberg. Plain doubles in SI units.
#pragma once

namespace qinu::formulas {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDegree = kPi / 180;  // rad per degree

// Cylinder of bore `bore`, crank radius `crank` (half the stroke), crank ratio
// `lambda` = crank radius / rod length and compression ratio `ratio`.
struct TCylinderGeometry {
  double Bore = 0;    // m
  double Crank = 0;   // m
  double Lambda = 0;  // -
  double Ratio = 0;   // -

  double PistonArea() const;        // m^2
  double SweptVolume() const;       // m^3
  double ClearanceVolume() const;   // m^3
};

// Piston travel from the top dead centre at crank angle `angleDeg` from a top dead
// centre (m): r (1 - cos a) + (1 - sqrt(1 - lambda^2 sin^2 a)) r / lambda.
double PistonTravel(const TCylinderGeometry& geometry, double angleDeg);
// Cylinder volume (m^3) and its derivative by the crank angle (m^3 per degree).
double CylinderVolume(const TCylinderGeometry& geometry, double angleDeg);
double CylinderVolumeRate(const TCylinderGeometry& geometry, double angleDeg);

// Wiebe law x = 1 - exp(-6.908 y^(m+1)) in the relative time y of one burning phase
// (6.908 = ln 1000: 99.9 % burned at y = 1, Vibe 1962), its derivative dx/dy and the
// y of the maximum rate, (m / (6.908 (m + 1)))^(1/(m + 1)).
constexpr double kWiebeCompleteness = 6.907755278982137;
double WiebeFraction(double y, double exponent);
double WiebeRate(double y, double exponent);
double WiebePeak(double exponent);

// The double Wiebe law of a diesel: a kinetic (premixed) part `kinetic` of the fuel burns
// over `kineticDuration` with exponent `kineticExponent`, the rest (diffusion) over
// `duration` with `diffusionExponent`, both from `start` (degrees). Each part is scaled
// so that it reaches exactly 1 at its end.
struct TDoubleWiebe {
  double Start = 0;              // deg
  double Duration = 0;           // deg, diffusion part
  double DiffusionExponent = 0;  // -
  double Kinetic = 0;            // fraction of the fuel, 0...1
  double KineticDuration = 0;    // deg
  double KineticExponent = 0;    // -

  // From the start, the whole duration, the kinetic fraction, the angle of its maximum
  // rate after the start and the two exponents.
  static TDoubleWiebe FromData(double start, double duration, double kinetic,
                               double kineticPeakDeg, double kineticExponent,
                               double diffusionExponent);
  double End() const;                  // deg, when all fuel has burned
  double Fraction(double angle) const; // burned fraction of the fuel, 0...1
  double Rate(double angle) const;     // its derivative, 1/deg
};

// Effective flow area of a valve or port (m^2): zero before `open`, rising linearly to
// `maxArea` at `fullOpen`, constant to `startClose`, falling linearly to zero at `close`.
double TrapezoidArea(double angle, double open, double fullOpen, double startClose,
                     double close, double maxArea);

// Mass flux (kg/(s m^2) of effective area) of a gas from a reservoir at `pUp` (Pa),
// `TUp` (K) with gas constant `R` and isentropic exponent `gamma` through a
// restriction into `pDown` (Pa): compressible isentropic flow, choked below the critical
// pressure ratio (Heywood, Internal Combustion Engine Fundamentals, App. C). Zero when
// pDown >= pUp. Close to equal pressures the flux turns linear in the pressure
// difference, which keeps the equalisation of cylinder and manifold smooth.
double RestrictionMassFlux(double pUp, double TUp, double R, double gamma, double pDown);

// Woschni's heat-transfer coefficient (W/(m^2 K)) in its original units:
// alpha = C 1.163 d^-0.2 (p/at)^0.8 T^-0.53 w^0.8 with C = 110 kcal/(m^2 h K) in the
// original (Woschni 1967, SAE 670931); 1.163 W per kcal/h. Bore in m, p in Pa, T in K,
// characteristic gas velocity w in m/s.
double WoschniCoefficient(double constant, double bore, double pressure, double temperature,
                          double velocity);
// Woschni's characteristic velocity (m/s): C1 cm + C2 Vs Tr / (pr Vr) (p - pmot) with
// C1 = 6.18 + 0.417 cu/cm in gas exchange, 2.28 + 0.308 cu/cm with the cylinder closed
// (Heywood, ch. 12, with the swirl correction). The combustion term is passed
// as `combustionTerm` = C2 Vs Tr/(pr Vr) (p - pmot), m/s.
double WoschniVelocity(bool gasExchange, double meanPistonSpeed, double swirlVelocity,
                       double combustionTerm);
// Hohenberg's coefficient (W/(m^2 K)): 130 V^-0.06 (p/bar)^0.8 T^-0.4 (cm + 1.4)^0.8
// (Hohenberg 1979, SAE 790825). Volume in m^3, p in Pa.
double HohenbergCoefficient(double volume, double pressure, double temperature,
                            double meanPistonSpeed);

}  // namespace qinu::formulas
