#include "FloatCheckUnit.h"

#include <cfenv>
#include <cmath>

namespace {
constexpr int WatchedFlags = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW;

std::string where(const std::string& stage, const std::string& quantity) {
  return quantity.empty() ? stage : stage + ", " + quantity;
}

const char* const InvalidText = "Недопустимая операция с плавающей точкой";
const char* const OverflowText = "Переполнение при вычислениях с плавающей точкой";
}  // namespace

void ClearFloatFlags() { std::feclearexcept(WatchedFlags); }

bool FloatFlagsRaised() { return std::fetestexcept(WatchedFlags) != 0; }

void CheckFloatFlags(const std::string& stage, const std::string& quantity) {
  const int raised = std::fetestexcept(WatchedFlags);
  if (raised == 0) return;
  ClearFloatFlags();
  const char* what = (raised & FE_INVALID)    ? InvalidText
                     : (raised & FE_DIVBYZERO) ? "Деление на ноль при вычислениях с плавающей точкой"
                                               : OverflowText;
  throw EVexaFloatError(std::string(what) + ": " + where(stage, quantity));
}

void RequireFinite(double value, const std::string& stage, const std::string& quantity) {
  if (std::isfinite(value)) return;
  throw EVexaFloatError(std::string(std::isnan(value) ? InvalidText : OverflowText) + ": " + where(stage, quantity));
}
