#include "TestSupport.h"

#include <stdlib.h>

#include <memory>
#include <stdexcept>
#include <system_error>

#include "ProjectCalcUnit.h"
#include "ProjectFileUnit.h"

namespace testsupport {

TVexaProject& CalculatedExample() {
  static std::unique_ptr<TVexaProject> project;
  if (!project) {
    TRunSettings settings;
    settings.ProjectDir = SourceDir() / "examples";
    project = std::make_unique<TVexaProject>(settings);
    LoadProjectFile(project->EngineData, settings.ProjectDir / "V16-26-26.vxa");
    if (!project->CalcDynamicExecute().Completed) throw std::runtime_error("the example does not calculate");
  }
  return *project;
}

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
