// Angles shown in degrees on a page and kept in radians in the engine data.
#pragma once

#include <numbers>

inline constexpr double RadPerDeg = std::numbers::pi / 180;

inline double ToRadians(double degrees) { return degrees * RadPerDeg; }
inline double ToDegrees(double radians) { return radians / RadPerDeg; }

// Moves one angle between the engine data (radians) and a page's copy (degrees). An angle
// the user left as shown is not written back, so that applying a page does not move stored
// angles by the rounding of the two conversions.
inline void ExchangeDegrees(double& engineRadians, double& pageDegrees, bool ToEngine) {
  if (!ToEngine)
    pageDegrees = ToDegrees(engineRadians);
  else if (pageDegrees != ToDegrees(engineRadians))
    engineRadians = ToRadians(pageDegrees);
}
