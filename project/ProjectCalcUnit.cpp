#include "ProjectCalcUnit.h"

#include "CalcInputCheckUnit.h"
#include "ResonanceUnit.h"
#include "ShaftFrameUnit.h"

namespace {

// Puts back the project speed, LamD and the working-process speed when the command ends,
// also when a run fails in the middle, so that a calculation never leaves the project changed.
class TSpeedGuard {
 public:
  explicit TSpeedGuard(TEngineDataStruct& data) : data_(data), N_(data.N), LamD_(data.LamD) {}
  ~TSpeedGuard() {
    data_.N = N_;
    data_.LamD = LamD_;
    data_.Qin.N = N_;
  }
  TSpeedGuard(const TSpeedGuard&) = delete;
  TSpeedGuard& operator=(const TSpeedGuard&) = delete;

 private:
  TEngineDataStruct& data_;
  double N_, LamD_;
};

}  // namespace

namespace {

TRunSettings withWorkingProcess(TRunSettings settings, const TWorkingProcessOptions& options,
                                TWorkingProcessCache& cache) {
  if (!settings.WorkingProcess) {
    settings.ExchangeDir = options.ExchangeDirectory;
    settings.WorkingProcess = [options, &cache](TEngineDataStruct& engine) {
      TWorkingProcessOptions cached = options;
      cached.Cache = &cache;
      engine.Qin.RunWorkingProcess(engine, cached);
    };
  }
  return settings;
}

}  // namespace

TVexaProject::TVexaProject(TRunSettings settings, TWorkingProcessOptions workingProcess)
    : workingProcess_(std::move(workingProcess)),
      settings_(withWorkingProcess(std::move(settings), workingProcess_, cache_)),
      OscillCalc(std::make_unique<TOscillCalcStruct>(EngineData, settings_)) {
  // The runs at the resonance speeds take the design run's condensation of the shaft.
  settings_.ShaftFrames = std::make_shared<TShaftFrameCache>();
}

void TVexaProject::SetProjectDir(const std::filesystem::path& folder) {
  if (folder == settings_.ProjectDir) return;
  settings_.ProjectDir = folder;
  OscillCalc = std::make_unique<TOscillCalcStruct>(EngineData, settings_);
}

std::unique_ptr<TDynamicCalcStruct> TVexaProject::newRun(const std::string& title) {
  auto run = std::make_unique<TDynamicCalcStruct>(EngineData, settings_);
  run->Title = title;
  return run;
}

TCalcCommandResult TVexaProject::CalcDynamicExecute() {
  TCalcCommandResult result;
  if (!EngineData.CheckFireAngles()) {
    result.Message = FireAnglesMismatchMessage;
    return result;
  }
  CheckCalcInputs(EngineData);
  TSpeedGuard guard(EngineData);
  Results.clear();
  try {
    calculate(result);
  } catch (...) {
    // A failed or stopped command keeps no runs: a half-computed run would show garbage.
    Results.clear();
    throw;
  }
  result.Completed = true;
  result.Message = CalcCompletedMessage;
  return result;
}

void TVexaProject::calculate(TCalcCommandResult& result) {
  // The working-process program's report of the design speed is kept before the runs at the
  // resonance speeds replace it.
  bool reportKept = false;
  auto keepReport = [&] {
    if (!reportKept) keepWorkingProcessReport(result);
    reportKept = true;
  };
  // With a diagram file the runs differ only by their speed: every run after the first one
  // prepared takes the diagram and the speed-independent kinematics from it.
  const TDynamicCalcStruct* prepared = nullptr;
  auto prepare = [&prepared](TDynamicCalcStruct& run) {
    if (prepared) {
      run.PrepareFrom(*prepared);
      return;
    }
    run.Prepare();
    if (!run.DiagramDependsOnSpeed()) prepared = &run;
  };
  if (EngineData.CalcDynamicFlag) {
    Results.push_back(newRun(PlainRunTitle));
    prepare(*Results.back());
    Results.back()->Run();
  }
  if (EngineData.CalcOscillFlag) {
    EngineData.LamD = 1.0;
    OscillCalc->CalcFrequencies();
    OscillCalc->CalcResonances();
    result.Notes.insert(result.Notes.end(), OscillCalc->Notes.begin(), OscillCalc->Notes.end());
    keepReport();
    if (EngineData.CalcCombFlag) {
      for (const TResonanceRegime& regime : SelectResonanceRegimes(*OscillCalc)) {
        EngineData.N = regime.Speed;
        EngineData.Qin.N = regime.Speed;
        Results.push_back(newRun(ResonanceRunTitle(regime.Speed)));
        TDynamicCalcStruct& run = *Results.back();
        prepare(run);
        ApplyTorsionalAmp(*OscillCalc, regime, run);
        run.Run();
      }
    }
  }
  keepReport();
}

void TVexaProject::keepWorkingProcessReport(TCalcCommandResult& result) const {
  const bool programRan = EngineData.IDSource != 1 && settings_.DiagramFile.empty();
  if (workingProcess_.KeptReport.empty() || !programRan) return;
  const std::string note =
      KeepWorkingProcessReport(settings_.ExchangeDir / WorkingProcessReportName, workingProcess_.KeptReport);
  if (!note.empty()) result.Notes.push_back(note);
}

std::vector<std::string> TVexaProject::RunSelectorTitles() const {
  std::vector<std::string> titles;
  for (std::size_t i = 1; i < Results.size(); ++i) titles.push_back(Results[i]->Title);
  return titles;
}
