// Floating-point events are errors in every calculation: an invalid operation, a division
// by zero or an overflow ends the command with a message naming the stage and the quantity,
// so that no NaN or infinity ever reaches a result.
#pragma once

#include <stdexcept>
#include <string>

class EVexaFloatError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Clears the invalid, division-by-zero and overflow flags of the calling thread.
void ClearFloatFlags();

// True when one of those flags is set: lets a hot loop form its message only when needed.
bool FloatFlagsRaised();

// Raises EVexaFloatError when one of those flags is set since the last clearing
// ("Недопустимая операция с плавающей точкой: <stage>, <quantity>"), and clears them.
void CheckFloatFlags(const std::string& stage, const std::string& quantity);

// Raises EVexaFloatError when the value is NaN or infinite.
void RequireFinite(double value, const std::string& stage, const std::string& quantity);
