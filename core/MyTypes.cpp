#include "MyTypes.h"

#include <cmath>

double AbsDouble(double value) { return std::fabs(value); }

void CopyReal2DArray(const TReal2DArray& source, TReal2DArray& target) {
  target.resize(source.size());
  for (std::size_t i = 0; i < source.size(); ++i) target[i] = source[i];
}
