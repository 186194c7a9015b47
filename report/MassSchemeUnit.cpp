#include "MassSchemeUnit.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

TPoint2 polar(double radius, double angle) { return {radius * std::sin(angle), radius * std::cos(angle)}; }

}  // namespace

double MassDiscRadius(double mass, double largestMass, double maxRadius) {
  if (mass <= 0 || largestMass <= 0) return 0;
  return maxRadius * std::sqrt(mass / largestMass);
}

TSketch MassSchemeSketch(double crankRadius, const std::vector<TMassSchemeRow>& rows,
                         const std::vector<TMassSchemeWeb>& webs) {
  TSketch s;
  const double r = std::max(crankRadius, 1e-3);
  double largest = 0;
  for (const auto& row : rows) largest = std::max({largest, row.Mpd, row.M2});
  for (const auto& web : webs) largest = std::max({largest, web.Msh, web.Mpr});
  const double disc = 0.22 * r;
  const TPoint2 pin{0, r};

  s.Circle({0, 0}, 0.1 * r, {}, true);
  s.Line({0, 0}, pin, "R");
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const auto& row = rows[i];
    const double along = std::max(row.RodLength, 1.2 * r);
    // The piston stands on the row's axis at top dead centre, one rod length above the pin.
    const TPoint2 piston = polar(r + along, row.AxisAngle);
    s.Line({0, 0}, polar(r + along + 0.3 * r, row.AxisAngle), {}, true);
    s.Line(pin, piston, "rod");
    const double side = std::max(MassDiscRadius(row.Mpd, largest, disc), 0.02 * r);
    s.Rect({piston.x - side, piston.y - side}, {piston.x + side, piston.y + side}, "Mpd", true);
    s.Label(polar(r + along + 2 * side + 0.25 * r, row.AxisAngle), "Mпд" + std::to_string(i + 1), "Mpd");
  }
  double m2 = 0;
  for (const auto& row : rows) m2 += row.M2;
  const double m2Radius = m2 > 0 ? MassDiscRadius(m2 / static_cast<double>(rows.size()), largest, disc) : 0;
  if (m2 > 0) s.Circle(pin, m2Radius, "M2", true);
  s.Label({pin.x - m2Radius - 0.1 * r, pin.y}, "M2", "M2", TLabelSide::Left);
  for (std::size_t w = 0; w < webs.size(); ++w) {
    const auto& web = webs[w];
    if (web.Msh > 0) {
      const double radius = MassDiscRadius(web.Msh, largest, disc);
      s.Circle({0, web.Rsh}, radius, "Msh");
      // One label names the web masses: the webs of equal throws draw over each other.
      if (w == 0) s.Label({-radius - 0.1 * r, web.Rsh}, "Mщ", "Msh", TLabelSide::Left);
    }
    if (web.Mpr > 0) {
      // Alphaпр counts from the side opposite the crankpin, where a balancing counterweight sits.
      const TPoint2 at = polar(web.Rpr, std::numbers::pi + web.AlphaPr);
      s.Line({0, 0}, at, "Rpr", true);
      s.Circle(at, MassDiscRadius(web.Mpr, largest, disc), "Mpr", w == 0);
      if (w == 0) s.Label(polar(web.Rpr + 0.45 * r, std::numbers::pi + web.AlphaPr), "Mпр", "Mpr");
    }
  }
  return s;
}
