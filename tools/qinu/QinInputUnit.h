// The working-process data of one engine as the ".qin" exchange file carries them:
// reading the file, checking that the values describe an engine that can run.
#pragma once

#include <stdexcept>
#include <string>

namespace qinu {

// Bad input: a file that does not parse or values no engine can have. The message
// names the file line or the field so that the user can mend the data.
class EQinInputError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// One ".qin" record. Angles count in crank degrees from the firing top dead centre,
// pressures are MPa, gas temperatures K, wall temperatures degrees Celsius, `Hu` kJ/kg,
// `QC` kg per cycle and cylinder. Members start at the program's documented defaults;
// the geometry and the speed (derived from the project) start at zero.
struct TQinInput {
  // Line 4.
  double D = 0;      // bore, m
  double S = 0;      // stroke, m
  double E = 15;     // compression ratio
  double Lam = 0.268;  // crank radius / connecting-rod length
  double N = 0;      // speed, rpm
  double PDP = 0;    // phase angle of the shafts of an opposed-piston engine, deg (not modelled)
  // Line 5.
  double Q = 0;      // number of cylinders
  double EM = 0.89;  // mechanical efficiency assumed for the effective power
  double KK = 0.78;  // compressor efficiency (not modelled)
  double KT = 0.8;   // turbine efficiency (not modelled)
  double PK = 0.2;   // boost pressure, MPa
  // Line 6.
  double DP = 0.007;  // pressure loss of the air path, MPa (not modelled)
  double TK = 360;    // boost-air temperature, K
  double P0 = 0.1013;  // ambient pressure, MPa
  double T0 = 293.15;  // ambient temperature, K
  double PT = 0.15;    // turbine-inlet pressure, MPa
  // Line 7.
  double PZT = 0.106;  // pressure after the turbine (exhaust back pressure), MPa
  double B1 = 114;     // exhaust: opening starts, deg
  double B12 = 178;    // exhaust: fully open, deg
  double B13 = 306;    // exhaust: closing starts, deg
  double B2 = 370;     // exhaust: closed, deg
  // Line 8.
  double FB = 0.002;   // maximum effective flow area of the exhaust, m^2
  double H1 = 347;     // intake: opening starts, deg
  double H12 = 408;    // intake: fully open, deg
  double H13 = 528;    // intake: closing starts, deg
  double H2 = 589;     // intake: closed, deg
  // Line 9.
  double FH = 0.0022;  // maximum effective flow area of the intake, m^2
  double BPer = 0.99;  // scavenging mixing parameter (not modelled)
  double Hu = 42500;   // lower heating value of the fuel, kJ/kg
  double QC = 0.000061;  // fuel per cycle and cylinder, kg
  double ALFF = 1.8;   // excess-air ratio of the design (compared with the computed one)
  // Line 10.
  double FOPT = -15;   // start of injection (diesel), deg
  double FOPZ = -15;   // ignition advance (spark ignition), deg
  double Fz = 70;      // combustion duration, deg
  double XT = 0.05;    // fraction of the fuel burning by the kinetic (premixed) law
  double FCT = 3;      // angle of the maximum kinetic burning rate after the start, deg
  // Line 11.
  double MT = 1;       // shape exponent of the kinetic Wiebe law
  double MW = 0.5;     // shape exponent of the diffusion Wiebe law
  double TPOR = 240;   // piston temperature, degrees C
  double Tkr = 220;    // cylinder-head temperature, degrees C
  double TWT = 180;    // liner temperature, degrees C
  // Line 12.
  double OFPK = 0.8;   // piston area / head area
  double ALFE = 2.5;   // peak / mean heat-transfer coefficient over the piston (not modelled)
  double ALFR = 0.5;   // relative radius of the peak coefficient (not modelled)
  double CG = 110;     // Woschni constant, kcal/(m^2 h K) with the pressure in at
  double Cu = 10;      // swirl (circumferential) velocity, m/s
  // Line 13 (two constants between C2 and Vkam are read and dropped).
  double C2 = 0.00324;  // Woschni C2 of the combustion term, m/(s K)
  double Vkam = 0;     // volume of a divided chamber, cm^3 (not modelled)
  double MFk = 0;      // effective area of its throat, cm^2 (not modelled)
  // Line 14: choices, stored 0-based (the file holds them plus 1).
  int TOFormula = 0;   // heat transfer: 0 Woschni, 1 Hohenberg, 2 alpha = f(Twall)
  int Vp = 0;          // intake by 0 valves, 1 ports
  int Vyp = 0;         // exhaust by 0 valves, 1 ports
  int V = 0;           // air supply: 0 naturally aspirated, 1 free turbocharger, 2 power turbine
  int EngineType = 0;  // 0 diesel, 1 spark ignition

  // Ports for both intake and exhaust make the engine a two-stroke one; the file
  // carries no stroke count.
  bool TwoStroke() const { return Vp == 1 && Vyp == 1; }
  // Crank degrees of one working cycle: 720 or 360.
  double PeriodDeg() const { return TwoStroke() ? 360.0 : 720.0; }
  // The last closing of intake or exhaust before the firing top dead centre, as a
  // (non-positive) angle from it: the charge is trapped from here on.
  double TrapAngleDeg() const;
  // The first opening after the firing top dead centre: the closed part ends here.
  double FirstOpeningDeg() const;
  // Start of combustion: injection (diesel) or ignition advance, placed in the cycle
  // that begins at the trapping angle.
  double CombustionStartDeg() const;
};

// Parses the text of a ".qin" file: three lines skipped, then the numbers of lines 4 to
// 14 line by line (extra numbers on a line are ignored, missing ones are an error).
// `source` names the file in messages.
TQinInput ParseQinText(const std::string& text, const std::string& source);

// Reads and parses a ".qin" file (a regular file of at most 64 MB).
TQinInput ReadQinFile(const std::string& path);

// Checks that the values describe a runnable engine: positive bore, stroke, speed,
// a compression ratio above 1, a crank ratio below 1, valve events in order within one
// cycle, positive pressures, temperatures and flow areas, a usable combustion law.
// Zero fuel is valid (the motored cycle). Last, every value must lie in a range that an
// engine can have (speed 10 to 20000 rpm, flow areas up to the liner wall swept by the
// piston, ...). Throws EQinInputError naming the field.
void ValidateQinInput(const TQinInput& input);

}  // namespace qinu
