// Motor masses of the torsional model from the throw geometry and the masses of the project: the
// moment of inertia of one throw with its pistons and rods, and the torsional stiffness of one
// throw from its reduced length.
#pragma once

#include <stdexcept>
#include <string>

#include "EngineDataStructUnit.h"
#include "MyTypes.h"

// A geometry or material input that leaves the throw without a positive length, section, inertia
// or stiffness; the message names the input and nothing is filled.
class EMotorMassInputError : public std::invalid_argument {
 public:
  // requirement completes "… а эта величина должна быть …" ("больше нуля" when empty).
  EMotorMassInputError(const std::string& input, double value, const std::string& requirement = "");
  std::string Input;
  double Value;
};

namespace MotorMass {

struct TThrow {
  double J = 0;              // moment of inertia of one motor mass, kg·m², 3 significant digits
  double Cs = 0;             // stiffness of one throw, kN·m/rad, 3 significant digits
  double ReducedLength = 0;  // length of main journal as stiff as one throw, m (not rounded)
};

// One throw of the project's engine data: the crankpin about its own axis and about the shaft
// axis, the main-journal length of the throw, and per row half the reciprocating and all the
// rotating rod mass at the crank radius; the stiffness is G·Jp of the main journal over the
// reduced length of the throw.
TThrow Compute(const TEngineDataStruct& data);

// x > 0 rounded (nearest, ties to even) to a multiple of 10^(t − 2), t = log10(x) truncated
// toward zero: three significant digits from 1 up, two below 1.
double RoundThreeDigits(double x);

// Gives the motor masses NFirstMass .. NFirstMass + NSec − 1 (1-based) the moment of inertia of
// one throw and the sections between them the stiffness of one throw, in both triangles of the
// stiffness table; everything else keeps its value. The tables may be larger than NMass (the
// page's working copies). Raises EMotorMassInputError before changing anything when the
// geometry does not allow the calculation, std::invalid_argument when the motor masses do not
// fit in the tables.
void Fill(const TEngineDataStruct& data, TReal1DArray& IMass, TReal2DArray& CMatrix);
// The same on the project's own tables.
void Fill(TEngineDataStruct& data);

}  // namespace MotorMass
