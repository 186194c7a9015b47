#include "ModeShapeUnit.h"

#include <algorithm>

std::vector<std::pair<double, double>> ModeShapePoints(const TOscillCalcStruct& model, int mode, bool motorMasses) {
  const TReal1DArray& shape = model.Modes.at(static_cast<std::size_t>(mode));
  const int masses = static_cast<int>(shape.size());
  int first = 0, last = masses - 1;
  if (motorMasses) {
    first = model.Data.NFirstMass - 1;
    last = std::min(masses - 1, first + model.Data.NSec);
  }
  std::vector<std::pair<double, double>> points;
  double x = 0;
  for (int m = std::max(first, 0); m <= last; ++m) {
    const auto section = static_cast<std::size_t>(m + 1);
    if (section >= model.RedLength.size() || m == masses - 1) {
      points.emplace_back(x, shape[static_cast<std::size_t>(m)]);
      break;
    }
    if (model.RedLength[section] > 0) points.emplace_back(x, shape[static_cast<std::size_t>(m)]);
    x += model.RedLength[section];
  }
  return points;
}

double SumSquaredAmplitudes(const TOscillCalcStruct& model, int mode) {
  const TReal1DArray& shape = model.Modes.at(static_cast<std::size_t>(mode));
  double sum = 0;
  for (int v = 0; v < model.Data.NSec; ++v) {
    const auto m = static_cast<std::size_t>(model.Data.NFirstMass - 1 + v);
    if (m < shape.size()) sum += shape[m] * shape[m];
  }
  return sum;
}
