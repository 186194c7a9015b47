// The shaft picture of the progress window: the beam elements at one step of the angle loop
// in an oblique projection (the shaft axis z drawn up and to the right at 30°), with the
// loads at the element ends, and the scale that fits the whole shaft into a drawing area.
// Pure geometry in model units; the window only scales and draws.
#pragma once

#include <vector>

#include "BeamElemUnit.h"

class TDynamicCalcStruct;

// A point of the projected picture in the shaft's x and y axes, m (see ProjectPoint).
struct TPoint2 {
  double x = 0, y = 0;
};

// One element: its projected ends, m, and the loads at both ends in the drawing plane, N.
struct TModelViewLine {
  TPoint2 Start, End;
  TPoint2 Load1, Load2;
};

struct TModelViewPicture {
  std::vector<TModelViewLine> Lines;
};

// Oblique projection of a point of the shaft: (x − z·cos 30°, y + z·sin 30°), m.
TPoint2 ProjectPoint(const TPoint3& point);

// The elements as placed for step k (their StartPoint and EndPoint) with their loads at step k.
TModelViewPicture ModelViewPicture(const std::vector<TBeamElem>& elements, int k);

// How a picture lands in a drawing area of width × height pixels: a model point p goes to
// (X0 − Scale·p.x, Y0 − Scale·p.y); a load F at that point ends LoadScale·F (N) further on.
struct TModelViewScale {
  double Scale = 1;      // pixels per metre
  double X0 = 0, Y0 = 0; // pixels
  double LoadScale = 0;  // metres per newton

  TPoint2 ToScreen(const TPoint2& model) const { return {X0 - Scale * model.x, Y0 - Scale * model.y}; }
  TPoint2 LoadEnd(const TPoint2& model, const TPoint2& load) const {
    return ToScreen({model.x + LoadScale * load.x, model.y + LoadScale * load.y});
  }
};

// The scale for a shaft of nSec throws of length l0 (m) and crank radius r (m): the whole
// picture of 2r + nSec·l0·sin 30° by 2r + nSec·l0·cos 30° fits into the area with a margin
// of 10 pixels on each side, centred horizontally, its axis r·Scale + 20 pixels above the
// bottom; a load of maxLoad (N) is drawn half the area's height long.
TModelViewScale ModelViewScale(double width, double height, double r, double l0, int nSec, double maxLoad);

// The load that sets the length of the load lines: the largest vertical crankpin force of the
// run's first throw, N (0 without throws).
double ModelViewMaxLoad(const TDynamicCalcStruct& run);
