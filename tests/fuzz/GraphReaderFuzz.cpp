// Fuzz target: reading arbitrary text as a design graph (single curve and family) either
// gives a table whose abscissas and parameters rise strictly, with one ordinate per point,
// or raises the graph file error.
#include <cstddef>
#include <cstdint>
#include <string>

#include "GraphFileUnit.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  try {
    const TGraphCurve curve = ParseGraphCurve(text, "fuzz.kft");
    if (curve.X.size() < 2 || curve.Y.size() != curve.X.size()) __builtin_trap();
    for (std::size_t i = 1; i < curve.X.size(); ++i)
      if (!(curve.X[i] > curve.X[i - 1])) __builtin_trap();
  } catch (const EGraphFileError&) {
  }
  try {
    const TGraphFamily family = ParseGraphFamily(text, "fuzz.kft");
    if (family.P.size() < 2 || family.Y.size() != family.P.size()) __builtin_trap();
    for (const auto& row : family.Y)
      if (row.size() != family.X.size()) __builtin_trap();
  } catch (const EGraphFileError&) {
  }
  return 0;
}
