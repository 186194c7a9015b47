#include "LayoutPictureUnit.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

namespace {

constexpr double TwoPi = 2 * std::numbers::pi;

double wrap(double angle) {
  double a = std::fmod(angle, TwoPi);
  if (a < 0) a += TwoPi;
  // A whole turn that rounding left just below 2π is the same position as 0.
  if (TwoPi - a < 1e-9) a = 0;
  return a;
}

TPoint2 polar(double radius, double angle) { return {radius * std::sin(angle), radius * std::cos(angle)}; }

}  // namespace

double ThrowAngle(double fireAngleRow1) { return wrap(-fireAngleRow1); }

double RowAxisAngle(double fireAngleRow1, double fireAngleRowR) { return wrap(fireAngleRowR - fireAngleRow1); }

TSketch CrankStarSketch(int nSec, int nRad, const TSectionRowArray<double>& fireAngle) {
  TSketch sketch;
  for (int r = 1; r <= nRad; ++r) {
    const double axis = RowAxisAngle(fireAngle[1][1], fireAngle[1][r]);
    // The axis leaves a gap where the throws' labels stand.
    sketch.Line({0, 0}, polar(0.9, axis), "row", true);
    sketch.Line(polar(1.45, axis), polar(1.6, axis), "row", true);
    sketch.Label(polar(1.7, axis), "ряд " + std::to_string(r), "row");
  }
  sketch.Circle({0, 0}, 0.12, {}, true);
  // Throws that share a position get one label listing them all ("1, 8").
  std::vector<std::pair<double, std::string>> labels;
  for (int s = 1; s <= nSec; ++s) {
    const double angle = ThrowAngle(fireAngle[s][1]);
    sketch.Line({0, 0}, polar(1, angle), "throw");
    sketch.Circle(polar(1, angle), 0.07, "throw", true);
    auto same = std::find_if(labels.begin(), labels.end(),
                             [angle](const auto& label) {
                               const double d = wrap(label.first - angle);
                               return d < 1e-6 || TwoPi - d < 1e-6;
                             });
    if (same == labels.end())
      labels.emplace_back(angle, std::to_string(s));
    else
      same->second += ", " + std::to_string(s);
  }
  for (const auto& [angle, text] : labels) sketch.Label(polar(1.25, angle), text, "throw");
  return sketch;
}

TSketch LayoutSchemeSketch(int nSec, int nRad, const TSectionRowArray<bool>& enabled) {
  TSketch sketch;
  // The shaft axis below the rows, the sections' numbers under it.
  sketch.Line({0, -0.6}, {static_cast<double>(nSec), -0.6}, "section", true);
  for (int s = 1; s <= nSec; ++s) {
    sketch.Label({s - 0.5, -0.95}, std::to_string(s), "section");
    for (int r = 1; r <= nRad; ++r) {
      const double top = nRad - r + 1, bottom = top - 0.85;
      const TPoint2 a{s - 0.92, bottom}, b{s - 0.08, top};
      if (enabled[s][r]) {
        sketch.Rect(a, b, "cylinder");
      } else {
        sketch.Line(a, {b.x, a.y}, "cylinder", true);
        sketch.Line({b.x, a.y}, b, "cylinder", true);
        sketch.Line(b, {a.x, b.y}, "cylinder", true);
        sketch.Line({a.x, b.y}, a, "cylinder", true);
      }
      sketch.Label({s - 0.5, bottom + 0.42}, std::to_string(s + nSec * (r - 1)), "cylinder");
    }
  }
  for (int r = 1; r <= nRad; ++r) sketch.Label({-0.7, nRad - r + 1 - 0.42}, "ряд " + std::to_string(r), "row");
  return sketch;
}
