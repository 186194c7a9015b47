// Array routines shared by the stages of a calculation run.
#pragma once

#include "MyTypes.h"

enum class TShiftDirection { Left, Right };

// Cyclic shift of n values. Left: new[j] = old[(s + j) mod n], element s becomes the first.
// Right: new[(s + j) mod n] = old[j], the first element moves to position s.
void ShiftArray(TReal1DArray& values, int s, TShiftDirection direction);
// The same shift into a new array.
TReal1DArray ShiftedArray(const TReal1DArray& values, int s, TShiftDirection direction);

// The first index i with values[i] == x exactly; failing that, the first i in 1 … n−2 with
// values[i−1] ≤ x ≤ values[i+1]; failing that, −1.
int FindAngleIndex(const TReal1DArray& values, double x);
