#include "ExchangeFolderUnit.h"

#include <stdexcept>
#include <string>

#include <stdlib.h>

TExchangeFolder::TExchangeFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "vexa-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("Cannot create a folder for the working-process files");
  path_ = pattern;
}

TExchangeFolder::~TExchangeFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}
