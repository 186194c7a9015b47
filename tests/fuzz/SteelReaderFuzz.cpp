// Fuzz target: reading arbitrary bytes as a material database either succeeds or raises
// the bad-format error.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "EVexaErrorUnit.h"
#include "SteelDataBaseUnit.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TVexaStream stream(std::vector<std::uint8_t>(data, data + size));
  try {
    while (!stream.AtEnd()) {
      TSteelElem record;
      record.Serialize(stream, false);
    }
  } catch (const TEVexaError&) {
  }
  return 0;
}
