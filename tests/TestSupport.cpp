#include "TestSupport.h"

#include <stdlib.h>

#include <stdexcept>
#include <system_error>

namespace testsupport {

std::filesystem::path SourceDir() { return VEXA_SOURCE_DIR; }
std::filesystem::path BinDir() { return VEXA_BIN_DIR; }

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "vexa-test-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary folder");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

}  // namespace testsupport
