// The sketch of the geometry page: one crank throw in side view to scale, the shaft axis
// horizontal (z to the right from the mid-plane of the left main journal), the crank plane
// in the picture (y up towards the crankpin), with the dimension lines named after the page's
// fields. Metres.
#pragma once

#include "SketchUnit.h"

struct TThrowDimensions {
  double D = 0, R = 0, L0 = 0, DkSh = 0, DkSb = 0, DsSh = 0, DsSb = 0, H = 0, B = 0;
  double L5 = 0, L6 = 0, RgalK = 0, RgalS = 0, RMaslK = 0, RMaslS = 0, E = 0;
};

// Main journals, webs, crankpin, bores (dashed), fillets, oil holes, the counterweight's
// axis and the cylinder bore above the crankpin. Negative values are drawn as zero so that a
// value being typed never breaks the picture.
TSketch ThrowSketch(const TThrowDimensions& d);
