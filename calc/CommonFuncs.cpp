#include "CommonFuncs.h"

void ShiftArray(TReal1DArray& values, int s, TShiftDirection direction) {
  values = ShiftedArray(values, s, direction);
}

TReal1DArray ShiftedArray(const TReal1DArray& values, int s, TShiftDirection direction) {
  const auto n = static_cast<long>(values.size());
  TReal1DArray shifted;
  if (n == 0) return shifted;
  shifted.reserve(values.size());
  // Right by s is left by n − s.
  const long shift = ((s % n) + n) % n;
  const long start = direction == TShiftDirection::Left ? shift : (n - shift) % n;
  for (long j = 0; j < n; ++j) shifted.push_back(values[static_cast<std::size_t>((start + j) % n)]);
  return shifted;
}

int FindAngleIndex(const TReal1DArray& values, double x) {
  const int n = static_cast<int>(values.size());
  for (int i = 0; i < n; ++i)
    if (values[static_cast<std::size_t>(i)] == x) return i;
  for (int i = 1; i + 1 < n; ++i)
    if (values[static_cast<std::size_t>(i - 1)] <= x && x <= values[static_cast<std::size_t>(i + 1)]) return i;
  return -1;
}
