// The curves of the graphs view: any result quantity of a run against any other, with the
// series title the view shows ("P[1], МПа(alpha[1], град)").
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "DynamicCalcUnit.h"

// A quantity chosen in the graphs view (`TGraphChoice`): its catalogue number (−1: none) and
// the cylinder (global number) and throw it is taken from.
struct TGraphChoice {
  int Quantity = -1;
  int Cylinder = 1;
  int Throw = 1;
};

struct TGraphSeries {
  std::string Title;
  std::vector<std::pair<double, double>> Points;  // (argument, value); angles in degrees
};

// The short name of the choice with its cylinder or throw number; "" for none. The crank angle
// as argument is always that of cylinder 1 (the run's grid).
std::string GraphQuantityName(const TGraphChoice& choice, bool argument = false);

// The values of a choice as plotted: angles (quantities 0 and 1) in degrees; empty for none.
// The argument's quantity 0 is the run's crank-angle grid.
std::vector<double> GraphValues(const TDynamicCalcStruct& run, const TGraphChoice& choice, bool argument = false);

// Series of `function` against `argument`: empty points when either has no values.
TGraphSeries GraphSeries(const TDynamicCalcStruct& run, const TGraphChoice& argument, const TGraphChoice& function);
