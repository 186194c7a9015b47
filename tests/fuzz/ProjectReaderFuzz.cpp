// Fuzz target: reading arbitrary bytes as a project file either succeeds or raises the
// bad-format error; it never crashes, never reads outside the data and never allocates
// without bound.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "EVexaErrorUnit.h"
#include "ProjectFileUnit.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TEngineDataStruct project;
  try {
    LoadProjectBytes(project, std::vector<std::uint8_t>(data, data + size));
    // What was read must write back to the same bytes.
    const auto written = ProjectBytes(project);
    if (written.size() > size) __builtin_trap();
  } catch (const TEVexaError&) {
  }
  return 0;
}
