// The mode shapes over the reduced length of the shaft: per mode the relative amplitudes of the
// masses at their position along the chain, m.
#pragma once

#include <utility>
#include <vector>

#include "OscillCalcUnit.h"

// Points (x, a) of mode `mode` (1 … n−1): x starts at 0 at the first mass of the range and grows
// by the reduced length of the section to the right of each mass; a mass whose section has no
// positive length is left out (the position still moves on), the last mass of the chain, which
// has no section to its right, is drawn at the position reached. motorMasses: only the motor
// masses and the mass after them.
std::vector<std::pair<double, double>> ModeShapePoints(const TOscillCalcStruct& model, int mode, bool motorMasses);

// The sum of the squared relative amplitudes of the motor masses in mode `mode` ("Sum(ai)^2"),
// the quantity the piston damping of a resonance grows with.
double SumSquaredAmplitudes(const TOscillCalcStruct& model, int mode);
