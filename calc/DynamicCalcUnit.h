// One dynamics-and-strength run of the crankshaft at one speed (`TDynamicCalcStruct`): the
// crank-angle grid from the indicator diagram, the throws and cylinders with their loads,
// the angle loop and the strengths.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "BeamElemUnit.h"
#include "CalcObserverUnit.h"
#include "BeamModelUnit.h"
#include "CrankUnit.h"
#include "EngineDataStructUnit.h"
#include "MyTypes.h"

class TShaftFrameCache;

// Where a run finds its indicator diagram and whom it tells of its progress.
struct TRunSettings {
  // Folder of the project file: a relative diagram file name of the project is taken from there.
  std::filesystem::path ProjectDir;
  // When set, this diagram file is read instead of the project's own source.
  std::filesystem::path DiagramFile;
  // Produces "Default.dia" in ExchangeDir from the project's working-process data; called by
  // Prepare when the project's diagram comes from the working-process program.
  std::function<void(TEngineDataStruct&)> WorkingProcess;
  std::filesystem::path ExchangeDir;
  TCalcObserver* Observer = nullptr;
  // Solver of the beam at every step, and the threads of the angle loop (0: one per core).
  TSolverKind Solver = TSolverKind::Shaft;
  int Threads = 0;
  // Reproduces the beam frame of earlier versions for comparison: the web and counterweight
  // sections take the two bending inertias exchanged, and the supports leave the journals
  // free to tilt whatever their tilt compliances Pmx, Pmy.
  bool BeamCompat = false;
  // When set, the runs sharing it share the condensation of their shaft frame where their
  // beam models are equal (the runs of one project at several speeds).
  std::shared_ptr<TShaftFrameCache> ShaftFrames;
};

class TDynamicCalcStruct {
 public:
  TDynamicCalcStruct(TEngineDataStruct& engine, TRunSettings settings = {});
  virtual ~TDynamicCalcStruct();

  TEngineDataStruct& Engine;  // project data of the run, not owned
  std::string Title;
  double N = 0;               // speed of the run, rpm
  TReal1DArray AngleGrid;     // grid angle of each step, rad
  TReal1DArray Pressure;      // gas pressure per step, firing top dead centre at step 0, MPa
  std::vector<TBeamElem> Elements;  // the beam model in creation order
  std::vector<TPoint3> NodeXYZ;
  std::vector<std::unique_ptr<TCrank>> Cranks;  // throw number = index + 1
  TFixArray DofFix;
  std::int16_t NNodes = 0;
  TReal1DArray ZeroCurve;     // NPts zeros
  TReal1DArray HarmOrders;    // order of harmonic i: 2(i + 1)/τ

  // Clear, working process, diagram, Setup, loads: everything but the angle loop.
  void Prepare();
  // The same at the engine's speed from a run of the same engine prepared before at another
  // speed, when the diagram does not depend on the speed (a diagram file): the diagram and
  // the speed-independent kinematics are taken from that run instead of being read and
  // computed again; the results are those of Prepare to the bit.
  void PrepareFrom(const TDynamicCalcStruct& earlier);
  // Angle loop and strengths.
  void Run();
  void Clear();
  void ReadIndicatorDiagram();
  void CreateCranks();
  void Setup();
  // With same, the cylinders take the speed-independent kinematics from that run's.
  void ComputeLoads(const TDynamicCalcStruct* same = nullptr);
  void RunAngleLoop();
  // Builds the beam model from the engine data and the throws' load arrays.
  void BuildBeamModel();
  // Appends an element to the model and returns it (valid until the next one is added).
  TBeamElem& NewElement();
  // Solves the beam at step k with the run's own elements.
  void SolveBeamAtStep(int k);
  void ComputeStrength();
  // Smallest value of a per-throw safety factor over the run's throws, or of a per-cylinder
  // factor taken through each throw's MinOverCylinders; index gets the 0-based throw (the
  // first of equal minima); 10³⁰ and index 0 without throws.
  double MinOverThrows(double TCrank::*factor, int& index) const;
  double MinOverThrows(double TCylinder::*factor, int& index) const;

  int NPts() const { return static_cast<int>(AngleGrid.size()); }
  // The diagram file the run reads: the override, the project's own file, or the
  // working-process program's "Default.dia".
  std::filesystem::path DiagramPath() const;
  // True when Prepare has the working-process program compute the diagram (at the project's
  // speed); false when it reads a diagram file, which is the same at every speed.
  bool DiagramDependsOnSpeed() const;
  const TRunSettings& Settings() const { return settings_; }
  const TBeamAssembly* Assembly() const { return assembly_.get(); }

 private:
  TRunSettings settings_;
  std::unique_ptr<TBeamAssembly> assembly_;
  std::unique_ptr<TBeamWorkspace> workspace_;  // of SolveBeamAtStep
  void parallelAngleLoop(int threads);
  // Builds what the chosen solver needs before the first step.
  void prepareSolver();
  void stage(const std::string& name) const;
};

using TDynamicCalcArray = std::vector<std::unique_ptr<TDynamicCalcStruct>>;
