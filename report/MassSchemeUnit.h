// The picture of the masses page: the reduced crank system of one throw seen along the
// shaft. The crank of radius R up from the main journal, the rotating con-rod mass M2 at the
// crankpin, each row's reciprocating mass Mпд on its cylinder axis one rod length away, the
// webs' masses Mщ at Rщ along the crank and the counterweights Mпр at Rпр, turned by Alphaпр from the side opposite the crankpin
// (as the loads and the beam model place them).
// Masses are discs whose area grows with the mass. Metres, y up.
#pragma once

#include <vector>

#include "SketchUnit.h"

struct TMassSchemeRow {
  double AxisAngle = 0;  // rad from row 1's axis in the direction of rotation (clockwise)
  double RodLength = 0;  // m
  double Mpd = 0, M2 = 0;  // kg/m²
};

struct TMassSchemeWeb {
  double Msh = 0, Rsh = 0, Mpr = 0, Rpr = 0;  // kg/m², m
  double AlphaPr = 0;  // rad, clockwise from the side opposite the crankpin (0: balancing the crank)
};

TSketch MassSchemeSketch(double crankRadius, const std::vector<TMassSchemeRow>& rows,
                         const std::vector<TMassSchemeWeb>& webs);

// Radius of the disc that stands for a mass: the largest mass of the picture gets maxRadius,
// the others an area in proportion; no mass, no disc.
double MassDiscRadius(double mass, double largestMass, double maxRadius);
