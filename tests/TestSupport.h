// Paths the tests need: the source tree (examples, data) and the folder of the built programs.
#pragma once

#include <filesystem>
#include <string>

class TVexaProject;

namespace testsupport {

std::filesystem::path SourceDir();
std::filesystem::path BinDir();

// A fresh empty folder below the system temporary folder, removed when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& Path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

// The bundled example V16-26-26.vxa calculated once per test program (design run, torsional
// model, resonance runs); a failing calculation throws.
TVexaProject& CalculatedExample();

}  // namespace testsupport
