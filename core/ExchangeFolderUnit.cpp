#include "ExchangeFolderUnit.h"

#include <cerrno>
#include <cstdlib>
#include <string>

#include <stdlib.h>

#include "MessageTextUnit.h"
#include "SafeFileUnit.h"

// The folder lies in $TMPDIR, or /tmp without it.
TExchangeFolder::TExchangeFolder() {
  const char* base = std::getenv("TMPDIR");
  const std::filesystem::path parent = base && *base ? base : "/tmp";
  std::string pattern = (parent / "vexa-XXXXXX").string();
  if (!mkdtemp(pattern.data())) {
    const std::string why = SystemErrorText(errno);
    throw EVexaFileError("Не удаётся создать папку для файлов программы рабочего процесса в \"" + parent.string() +
                             "\" (" + why + "); укажите другую папку в переменной TMPDIR",
                         why);
  }
  path_ = pattern;
}

TExchangeFolder::~TExchangeFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}
