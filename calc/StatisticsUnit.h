// Extreme values, amplitude and mean of one history over the cycle.
#pragma once

#include <cstdint>

#include "MyTypes.h"

struct TArrayStats {
  double MinValue = 0;
  std::int16_t MinIndex = 0;
  double MaxValue = 0;
  std::int16_t MaxIndex = 0;
  double MinAbs = 0;  // smallest magnitude
  std::int16_t MinAbsIndex = 0;
  double MaxAbs = 0;  // largest magnitude
  std::int16_t MaxAbsIndex = 0;
  double Amplitude = 0;  // |max − min| / 2
  double Mean = 0;       // |max + min| / 2, never negative
};

// Scans the history from step 0 upwards; ties keep the first occurrence. An empty history
// gives a record of zeros.
void GetStatistics(const TReal1DArray& values, TArrayStats& stats);
