// Paths the tests need: the source tree (examples, data) and the folder of the built programs.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

class TVexaProject;
class TDynamicCalcStruct;
struct TEngineDataStruct;

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

// A run of the engine over a 720-step grid with a smooth cylinder pressure: the engine gets the
// material and concentration data every throw needs, the run its loads, and the split scheme's
// moments stand for the beam's. The caller may adjust results before ComputeStrength.
std::unique_ptr<TDynamicCalcStruct> SyntheticLoadedRun(TEngineDataStruct& engine);

}  // namespace testsupport
