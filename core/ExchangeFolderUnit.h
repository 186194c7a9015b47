// A private folder for the working-process program's exchange files, removed at the end, so
// that calculations running at the same time never read each other's files.
#pragma once

#include <filesystem>

class TExchangeFolder {
 public:
  TExchangeFolder();
  ~TExchangeFolder();
  TExchangeFolder(const TExchangeFolder&) = delete;
  TExchangeFolder& operator=(const TExchangeFolder&) = delete;
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};
