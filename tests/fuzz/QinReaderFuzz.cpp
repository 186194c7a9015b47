// Fuzz target: the working-process program's reader and checks take arbitrary text as a
// ".qin" file: they accept it or raise the bad-input error, and what they accept describes
// an engine whose speed and flow areas lie in range.
#include <cstddef>
#include <cstdint>
#include <string>

#include "QinInputUnit.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  try {
    const qinu::TQinInput input = qinu::ParseQinText(text, "fuzz.qin");
    qinu::ValidateQinInput(input);
    if (!(input.N >= 10 && input.N <= 20000 && input.FB > 0 && input.FH > 0)) __builtin_trap();
  } catch (const qinu::EQinInputError&) {
  }
  return 0;
}
