#include "TestSupport.h"

#include <stdlib.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <stdexcept>
#include <system_error>

#include "CrankUnit.h"
#include "DynamicCalcUnit.h"
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

std::unique_ptr<TDynamicCalcStruct> SyntheticLoadedRun(TEngineDataStruct& engine) {
  constexpr double deg = std::numbers::pi / 180;
  engine.ValSteel.Ro = 7850, engine.ValSteel.Sgm_1 = 540, engine.ValSteel.Tau_1 = 312;
  engine.KTau_M_K = 1.9, engine.KSgm_M_K = 2.1, engine.KTau_M_S = 1.8, engine.KSgm_M_S = 2.3;
  engine.KSgm_G_S = 2.6, engine.KTau_G_S = 1.7;
  engine.Etau_K = 0.66, engine.Esgm_K = 0.70, engine.Etau_S = 0.68, engine.Esgm_S = 0.72;
  engine.PsiSgm = 0.10, engine.PsiTau = 0.05, engine.LamD = 1.15, engine.Knu = 1.0;
  auto run = std::make_unique<TDynamicCalcStruct>(engine);
  for (int k = 0; k < 720; ++k) {
    run->AngleGrid.push_back(k * deg);
    run->Pressure.push_back(0.2 + 11.8 * std::exp(-std::pow((k <= 360 ? k : k - 720) - 10, 2) / 1250.0));
  }
  run->CreateCranks();
  run->N = engine.N;
  run->ComputeLoads();
  for (auto& c : run->Cranks) {
    c->Mkks2 = c->SplitMkks, c->Mkss = c->SplitMkss;
    c->MZgalss1 = c->SplitMZgal1, c->MZgalss2 = c->SplitMZgal2;
  }
  return run;
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
