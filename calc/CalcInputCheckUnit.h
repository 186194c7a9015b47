// Checks of the project data before a calculation: values that would stop the calculation
// deep inside (a division by zero, the root of a negative number, a singular frame) are
// refused first, with a message that names the field as its input page does, its value and
// its unit.
#pragma once

#include <stdexcept>
#include <string>

#include "EngineDataStructUnit.h"

// A project value the calculation cannot work with. The message is for the user.
class EVexaInputError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A value as a message shows it: the number and its unit, or "не число" / "бесконечность"
// for values that are not finite.
std::string ShownValue(double value, const std::string& unit);

// The throw geometry, the speed, the rod lengths and the desaxial offset: what the
// kinematics and the concentration coefficients need.
void CheckGeometryInputs(const TEngineDataStruct& data);

// Everything the strength and torsional calculations need: the geometry above, the support
// compliances of the active supports and the shaft material's properties. Raises
// EVexaInputError for the first value that is out of range.
void CheckCalcInputs(const TEngineDataStruct& data);
