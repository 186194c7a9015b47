#include "FloatCheckUnit.h"

#include <cfenv>
#include <cmath>

namespace {
constexpr int WatchedFlags = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW;

std::string where(const std::string& stage, const std::string& quantity) {
  return quantity.empty() ? stage : stage + ": " + quantity;
}
}  // namespace

void ClearFloatFlags() { std::feclearexcept(WatchedFlags); }

void CheckFloatFlags(const std::string& stage, const std::string& quantity) {
  const int raised = std::fetestexcept(WatchedFlags);
  if (raised == 0) return;
  ClearFloatFlags();
  const char* what = (raised & FE_INVALID)    ? "Invalid floating point operation"
                     : (raised & FE_DIVBYZERO) ? "Floating point division by zero"
                                               : "Floating point overflow";
  throw EVexaFloatError(std::string(what) + " in " + where(stage, quantity));
}

void RequireFinite(double value, const std::string& stage, const std::string& quantity) {
  if (std::isfinite(value)) return;
  throw EVexaFloatError(std::string(std::isnan(value) ? "Invalid floating point operation"
                                                      : "Floating point overflow") +
                        " in " + where(stage, quantity));
}
