// Fuzz target: reading arbitrary text as an indicator diagram either gives a grid of rising
// angles with one pressure per step or raises error 7.
#include <cstddef>
#include <cstdint>
#include <string>

#include "EVexaErrorUnit.h"
#include "IndicatorDiagramUnit.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  for (double cycleDeg : {0.0, 360.0, 720.0}) {
    TReal1DArray angles, pressures;
    try {
      ParseIndicatorDiagram(text, "fuzz.dia", angles, pressures, cycleDeg);
    } catch (const TEVexaError&) {
      continue;
    }
    if (angles.size() != pressures.size() || angles.size() < 3) __builtin_trap();
    for (std::size_t i = 1; i < angles.size(); ++i)
      if (!(angles[i] > angles[i - 1])) __builtin_trap();
  }
  return 0;
}
