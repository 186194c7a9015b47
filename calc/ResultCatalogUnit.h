// Addressing the per-step results of a run by their catalogue number 0 … 53.
#pragma once

#include "DynamicCalcUnit.h"
#include "VexaStringsTable.h"

enum class TQuantityHolder { Cylinder, Throw };

// Who holds quantity q (0 … 53); quantities outside the catalogue are reported as throw ones.
TQuantityHolder QuantityHolder(int q);

// For quantity 0 the caller says whether it wants the run's grid (the abscissa of a graph)
// or the cylinder's own crank angle.
enum class TAngleUse { OwnAngle, Abscissa };

// Points target at the array of quantity q of cylinder n (global number) or throw s
// (1-based); a cylinder quantity ignores s, a throw quantity ignores n. A run without
// throws leaves target unchanged; a number outside the catalogue empties it (nullptr).
void GetQuantityArray(const TDynamicCalcStruct& run, int q, int s, int n, const TReal1DArray*& target,
                      TAngleUse angleUse = TAngleUse::OwnAngle);
