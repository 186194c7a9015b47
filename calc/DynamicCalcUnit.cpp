#include "DynamicCalcUnit.h"

#include "IndicatorDiagramUnit.h"

TDynamicCalcStruct::TDynamicCalcStruct(TEngineDataStruct& engine, TRunSettings settings)
    : Engine(engine), settings_(std::move(settings)) {}

TDynamicCalcStruct::~TDynamicCalcStruct() = default;

void TDynamicCalcStruct::stage(const std::string& name) const {
  if (settings_.Observer) settings_.Observer->StageStarted(name);
}

void TDynamicCalcStruct::Clear() {
  NodeXYZ.clear();
  DofFix.clear();
  NNodes = 0;
  Cranks.clear();
  Pressure.clear();
  AngleGrid.clear();
  ZeroCurve.clear();
  HarmOrders.clear();
}

std::filesystem::path TDynamicCalcStruct::DiagramPath() const {
  if (!settings_.DiagramFile.empty()) return settings_.DiagramFile;
  if (Engine.IDSource == 1) {
    // A relative name travels with the project: it is taken from the project's folder.
    const std::filesystem::path own = Engine.IDFileName;
    return own.is_absolute() || settings_.ProjectDir.empty() ? own : settings_.ProjectDir / own;
  }
  return settings_.ExchangeDir / "Default.dia";
}

void TDynamicCalcStruct::Prepare() {
  Clear();
  if (settings_.DiagramFile.empty() && Engine.IDSource != 1 && settings_.WorkingProcess) {
    stage("Working process");
    settings_.WorkingProcess(Engine);
  }
  stage("Indicator diagram");
  ReadIndicatorDiagram();
  Setup();
  stage("Loads");
  ComputeLoads();
}

void TDynamicCalcStruct::Run() {
  RunAngleLoop();
  stage("Strength");
  ComputeStrength();
}

void TDynamicCalcStruct::ReadIndicatorDiagram() { ReadIndicatorDiagramFile(DiagramPath(), AngleGrid, Pressure); }

void TDynamicCalcStruct::CreateCranks() {
  Cranks.clear();
  for (int s = 1; s <= Engine.NSec; ++s) {
    Cranks.push_back(std::make_unique<TCrank>(*this));
    Cranks.back()->Allocate(NPts());
  }
  ZeroCurve.assign(static_cast<std::size_t>(NPts()), 0.0);
}

void TDynamicCalcStruct::Setup() {
  CreateCranks();
  HarmOrders.assign(static_cast<std::size_t>(Engine.NGarm > 0 ? Engine.NGarm : 0), 0.0);
  const double strokes = Engine.Qin.Strokes();
  for (std::size_t i = 0; i < HarmOrders.size(); ++i) HarmOrders[i] = 2.0 * static_cast<double>(i + 1) / strokes;
  N = Engine.N;
}

void TDynamicCalcStruct::ComputeLoads() {
  for (std::size_t v = 0; v < Cranks.size(); ++v) Cranks[v]->ComputeLoads(static_cast<int>(v) + 1);
}

void TDynamicCalcStruct::RunAngleLoop() {
  const int steps = NPts();
  if (settings_.Observer) settings_.Observer->AngleLoopStarted(*this, steps);
  for (int k = 0; k < steps; ++k) {
    if (SolveBeamAtStep) SolveBeamAtStep(k);
    if (settings_.Observer) settings_.Observer->StepDone(*this, k, steps);
  }
  if (settings_.Observer) settings_.Observer->AngleLoopFinished(*this);
}

void TDynamicCalcStruct::ComputeStrength() {
  for (std::size_t v = 0; v < Cranks.size(); ++v) Cranks[v]->ComputeStrength(static_cast<int>(v) + 1);
}
