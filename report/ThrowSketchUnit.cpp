#include "ThrowSketchUnit.h"

#include <algorithm>

TSketch ThrowSketch(const TThrowDimensions& in) {
  TThrowDimensions d = in;
  for (double* v : {&d.D, &d.R, &d.L0, &d.DkSh, &d.DkSb, &d.DsSh, &d.DsSb, &d.H, &d.B, &d.L5, &d.L6, &d.RgalK,
                    &d.RgalS, &d.RMaslK, &d.RMaslS, &d.E})
    *v = std::max(*v, 0.0);
  TSketch s;
  const double webLeft = d.L5 + d.RgalK, webRight = d.L0 - webLeft;  // outer faces of the webs
  const double pinLeft = webLeft + d.B, pinRight = webRight - d.B;
  const double rk = d.DkSh / 2, rs = d.DsSh / 2;
  const double webBottom = -d.H / 2, webTop = d.R + d.H / 2;

  // Shaft and crankpin axes.
  s.Line({-0.1 * d.L0, 0}, {1.1 * d.L0, 0}, {}, true);
  s.Line({pinLeft - 0.05 * d.L0, d.R}, {pinRight + 0.05 * d.L0, d.R}, {}, true);
  // Main journals (half of each belongs to this throw), their bores and oil holes.
  s.Rect({0, -rk}, {webLeft, rk}, "DkSh");
  s.Rect({webRight, -rk}, {d.L0, rk}, "DkSh");
  if (d.DkSb > 0) {
    s.Line({0, d.DkSb / 2}, {webLeft, d.DkSb / 2}, "DkSb", true);
    s.Line({0, -d.DkSb / 2}, {webLeft, -d.DkSb / 2}, "DkSb", true);
  }
  if (d.RMaslK > 0) s.Circle({webLeft / 2, 0}, d.RMaslK, "RMaslK");
  // Webs with the fillets of the journal (RgalK) and the crankpin (RgalS).
  s.Rect({webLeft, webBottom}, {pinLeft, webTop}, "B");
  s.Rect({pinRight, webBottom}, {webRight, webTop}, "B");
  if (d.RgalK > 0) {
    for (double y : {rk, -rk}) {
      s.Circle({webLeft - d.RgalK, y + (y > 0 ? d.RgalK : -d.RgalK)}, d.RgalK, "RgalK");
      s.Circle({webRight + d.RgalK, y + (y > 0 ? d.RgalK : -d.RgalK)}, d.RgalK, "RgalK");
    }
  }
  // Crankpin, its bore, fillets and oil hole.
  if (pinRight > pinLeft) s.Rect({pinLeft, d.R - rs}, {pinRight, d.R + rs}, "DsSh");
  if (d.DsSb > 0 && pinRight > pinLeft) {
    s.Line({pinLeft, d.R + d.DsSb / 2}, {pinRight, d.R + d.DsSb / 2}, "DsSb", true);
    s.Line({pinLeft, d.R - d.DsSb / 2}, {pinRight, d.R - d.DsSb / 2}, "DsSb", true);
  }
  if (d.RgalS > 0)
    for (double y : {d.R + rs + d.RgalS, d.R - rs - d.RgalS}) {
      s.Circle({pinLeft + d.RgalS, y}, d.RgalS, "RgalS");
      s.Circle({pinRight - d.RgalS, y}, d.RgalS, "RgalS");
    }
  if (d.RMaslS > 0) s.Circle({d.L0 / 2, d.R}, d.RMaslS, "RMaslS");
  // Lightening hole axis at E from the journal axis.
  if (d.E > 0) s.Line({pinLeft, d.E}, {pinRight, d.E}, "E", true);
  // Counterweight axis of the left web, L6 to the right of the web's mid-line.
  const double webMid = webLeft + d.B / 2;
  s.Line({webMid + d.L6, webBottom - 0.02 * d.L0}, {webMid + d.L6, webBottom - 0.25 * d.H}, "L6", true);

  // Dimension lines.
  const double below = webBottom - 0.35 * d.H, above = webTop + 0.1 * d.H;
  s.Dimension({0, below - 0.12 * d.H}, {d.L0, below - 0.12 * d.H}, "L0");
  s.Dimension({0, below}, {d.L5, below}, "L5");
  s.Dimension({webMid, webBottom - 0.2 * d.H}, {webMid + d.L6, webBottom - 0.2 * d.H}, "L6");
  s.Dimension({webRight, below}, {webRight - d.B, below}, "B");
  s.Dimension({-0.06 * d.L0, -rk}, {-0.06 * d.L0, rk}, "DkSh");
  if (d.DkSb > 0) s.Dimension({0.5 * webLeft, -d.DkSb / 2}, {0.5 * webLeft, d.DkSb / 2}, "DkSb");
  s.Dimension({d.L0 * 0.42, d.R - rs}, {d.L0 * 0.42, d.R + rs}, "DsSh");
  if (d.DsSb > 0) s.Dimension({d.L0 * 0.58, d.R - d.DsSb / 2}, {d.L0 * 0.58, d.R + d.DsSb / 2}, "DsSb");
  s.Dimension({d.L0 + 0.06 * d.L0, 0}, {d.L0 + 0.06 * d.L0, d.R}, "R");
  s.Dimension({d.L0 + 0.14 * d.L0, webBottom}, {d.L0 + 0.14 * d.L0, webTop}, "H");
  s.Dimension({d.L0 / 2 - d.D / 2, above + 0.1 * d.H}, {d.L0 / 2 + d.D / 2, above + 0.1 * d.H}, "D");
  s.Line({d.L0 / 2 - d.D / 2, above}, {d.L0 / 2 - d.D / 2, above + 0.2 * d.H}, "D", true);
  s.Line({d.L0 / 2 + d.D / 2, above}, {d.L0 / 2 + d.D / 2, above + 0.2 * d.H}, "D", true);
  if (d.RgalK > 0) s.Label({webLeft - 2.5 * d.RgalK, rk + 2.5 * d.RgalK}, "RgalK", "RgalK", TLabelSide::Left);
  if (d.RgalS > 0) s.Label({pinLeft + 2.5 * d.RgalS, d.R + rs + 3 * d.RgalS}, "RgalS", "RgalS");
  if (d.RMaslK > 0) s.Label({webLeft / 2, -rk * 0.5}, "RMaslK", "RMaslK");
  if (d.RMaslS > 0) s.Label({d.L0 / 2, d.R - rs * 0.5}, "RMaslS", "RMaslS");
  if (d.E > 0) s.Label({pinRight, d.E}, "E", "E");
  return s;
}
