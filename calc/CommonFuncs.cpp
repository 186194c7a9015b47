#include "CommonFuncs.h"

void ShiftArray(TReal1DArray& values, int s, TShiftDirection direction) {
  const auto n = static_cast<long>(values.size());
  if (n == 0) return;
  const TReal1DArray old = values;
  const long shift = ((s % n) + n) % n;
  for (long j = 0; j < n; ++j) {
    if (direction == TShiftDirection::Left)
      values[static_cast<std::size_t>(j)] = old[static_cast<std::size_t>((shift + j) % n)];
    else
      values[static_cast<std::size_t>((shift + j) % n)] = old[static_cast<std::size_t>(j)];
  }
}

int FindAngleIndex(const TReal1DArray& values, double x) {
  const int n = static_cast<int>(values.size());
  for (int i = 0; i < n; ++i)
    if (values[static_cast<std::size_t>(i)] == x) return i;
  for (int i = 1; i + 1 < n; ++i)
    if (values[static_cast<std::size_t>(i - 1)] <= x && x <= values[static_cast<std::size_t>(i + 1)]) return i;
  return -1;
}
