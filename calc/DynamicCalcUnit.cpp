#include "DynamicCalcUnit.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "IndicatorDiagramUnit.h"

TDynamicCalcStruct::TDynamicCalcStruct(TEngineDataStruct& engine, TRunSettings settings)
    : Engine(engine), settings_(std::move(settings)) {}

TDynamicCalcStruct::~TDynamicCalcStruct() = default;

void TDynamicCalcStruct::stage(const std::string& name) const {
  if (!settings_.Observer) return;
  if (settings_.Observer->CancelRequested()) throw ECalcCancelled();
  settings_.Observer->StageStarted(name);
}

void TDynamicCalcStruct::Clear() {
  Elements.clear();
  assembly_.reset();
  workspace_.reset();
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

bool TDynamicCalcStruct::DiagramDependsOnSpeed() const {
  return settings_.DiagramFile.empty() && Engine.IDSource != 1 && settings_.WorkingProcess;
}

void TDynamicCalcStruct::Prepare() {
  Clear();
  if (DiagramDependsOnSpeed()) {
    stage("Рабочий процесс");
    settings_.WorkingProcess(Engine);
  }
  stage("Индикаторная диаграмма");
  ReadIndicatorDiagram();
  Setup();
  stage("Нагрузки");
  ComputeLoads();
}

void TDynamicCalcStruct::PrepareFrom(const TDynamicCalcStruct& earlier) {
  if (&earlier == this || &earlier.Engine != &Engine || DiagramDependsOnSpeed() || earlier.DiagramDependsOnSpeed() ||
      earlier.DiagramPath() != DiagramPath() || earlier.Cranks.size() != static_cast<std::size_t>(Engine.NSec) ||
      earlier.AngleGrid.empty())
    throw std::logic_error("a run is prepared from a prepared run of the same engine and diagram file only");
  Clear();
  stage("Индикаторная диаграмма");
  AngleGrid = earlier.AngleGrid;
  Pressure = earlier.Pressure;
  Setup();
  stage("Нагрузки");
  ComputeLoads(&earlier);
}

void TDynamicCalcStruct::Run() {
  RunAngleLoop();
  stage("Прочность");
  ComputeStrength();
}

void TDynamicCalcStruct::ReadIndicatorDiagram() {
  ReadIndicatorDiagramFile(DiagramPath(), AngleGrid, Pressure, 180.0 * Engine.Qin.Strokes());
}

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
  BuildBeamModel();
  HarmOrders.clear();
  const double strokes = Engine.Qin.Strokes();
  for (int i = 0; i < Engine.NGarm; ++i) HarmOrders.push_back(2.0 * static_cast<double>(i + 1) / strokes);
  N = Engine.N;
}

void TDynamicCalcStruct::ComputeLoads(const TDynamicCalcStruct* same) {
  for (std::size_t v = 0; v < Cranks.size(); ++v)
    Cranks[v]->ComputeLoads(static_cast<int>(v) + 1, same ? same->Cranks.at(v).get() : nullptr);
}

void TDynamicCalcStruct::RunAngleLoop() {
  const int steps = NPts();
  TCalcObserver* observer = settings_.Observer;
  if (observer) observer->AngleLoopStarted(*this, steps);
  const int cores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  const int threads = std::min(settings_.Threads > 0 ? settings_.Threads : cores, std::max(steps, 1));
  if (steps > 0) prepareSolver();
  if (threads > 1) {
    parallelAngleLoop(threads);
  } else {
    for (int k = 0; k < steps; ++k) {
      SolveBeamAtStep(k);
      if (observer) observer->StepDone(*this, k, steps);
      if (observer && observer->CancelRequested()) throw ECalcCancelled();
    }
  }
  // The condensation serves the loop only: a calculate command keeps many runs.
  if (assembly_) assembly_->ShaftFrame.reset();
  workspace_.reset();
  if (observer) observer->AngleLoopFinished(*this);
}

// The steps are independent: every thread solves the steps it takes with its own copy of the
// elements and its own solver, and writes only that step's entries of the result arrays, so
// the results are those of the sequential loop. The calling thread works too and reports the
// progress, with the run's own elements placed at the latest finished step for the picture.
// A thread takes eight steps at a time: the entries it writes then share their cache lines
// with its own steps rather than with the other threads' (a double is 8 bytes, a line 64).
constexpr int StepsPerTake = 8;

void TDynamicCalcStruct::parallelAngleLoop(int threads) {
  const int steps = NPts();
  std::atomic<int> next{0}, done{0};
  std::atomic<bool> failed{false};
  std::exception_ptr failure;
  std::mutex failureLock;
  auto work = [&](bool reportProgress) {
    try {
      std::vector<TBeamElem> elements = Elements;
      std::vector<TPoint3> nodes = NodeXYZ;
      TBeamWorkspace workspace = MakeBeamWorkspace(*assembly_, settings_.Solver);
      for (int first = next.fetch_add(StepsPerTake); first < steps && !failed; first = next.fetch_add(StepsPerTake))
        for (int k = first; k < std::min(first + StepsPerTake, steps) && !failed; ++k) {
          SolveBeamStep(*this, k, elements, nodes, workspace);
          const int finished = ++done;
          if (reportProgress && settings_.Observer) {
            if (settings_.Observer->DrawsModel()) PlaceBeamElements(*this, k, Elements, NodeXYZ);
            settings_.Observer->StepDone(*this, finished - 1, steps);
            if (settings_.Observer->CancelRequested()) throw ECalcCancelled();
          }
        }
    } catch (...) {
      std::lock_guard<std::mutex> lock(failureLock);
      if (!failure) failure = std::current_exception();
      failed = true;
    }
  };
  std::vector<std::thread> helpers;
  for (int t = 1; t < threads; ++t) helpers.emplace_back(work, false);
  work(true);
  for (auto& helper : helpers) helper.join();
  if (failure) std::rethrow_exception(failure);
  if (settings_.Observer) settings_.Observer->StepDone(*this, steps - 1, steps);
}

void TDynamicCalcStruct::ComputeStrength() {
  for (std::size_t v = 0; v < Cranks.size(); ++v) Cranks[v]->ComputeStrength(static_cast<int>(v) + 1);
}
