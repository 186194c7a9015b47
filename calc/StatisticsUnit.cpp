#include "StatisticsUnit.h"

#include <cmath>

void GetStatistics(const TReal1DArray& values, TArrayStats& stats) {
  stats = TArrayStats{};
  if (values.empty()) return;
  stats.MinValue = stats.MaxValue = values[0];
  stats.MinAbs = stats.MaxAbs = std::fabs(values[0]);
  for (std::size_t i = 1; i < values.size(); ++i) {
    const double v = values[i], m = std::fabs(v);
    const auto index = static_cast<std::int16_t>(i);
    if (v < stats.MinValue) stats.MinValue = v, stats.MinIndex = index;
    if (v > stats.MaxValue) stats.MaxValue = v, stats.MaxIndex = index;
    if (m < stats.MinAbs) stats.MinAbs = m, stats.MinAbsIndex = index;
    if (m > stats.MaxAbs) stats.MaxAbs = m, stats.MaxAbsIndex = index;
  }
  stats.Amplitude = std::fabs(stats.MaxValue - stats.MinValue) / 2;
  stats.Mean = std::fabs(stats.MaxValue + stats.MinValue) / 2;
}
