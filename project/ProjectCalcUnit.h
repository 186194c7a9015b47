// A project with its calculation (`TVexaProject`): the engine data, the torsional model and
// the runs of the last calculate command, and the command itself, which chains the strength
// run at the design speed, the torsional calculation and the strength runs at the resonance
// speeds. The desktop project window and the command line both call it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "DynamicCalcUnit.h"
#include "EngineDataStructUnit.h"
#include "OscillCalcUnit.h"

// How a calculate command ended: completed, or stopped before anything changed with a
// message for the user (information, not an error).
struct TCalcCommandResult {
  bool Completed = false;
  std::string Message;             // "Расчёт завершён" or why nothing was calculated
  std::vector<std::string> Notes;  // unusual but valid results worth showing
};

inline const char* const CalcCompletedMessage = "Расчёт завершён";
inline const char* const FireAnglesMismatchMessage = "Углы чередования вспышек не согласуются с углом развала";
inline const char* const PlainRunTitle = "Расчёт без учёта крутильных колебаний";

class TVexaProject {
  // Declared first: the torsional model is built with them.
  TWorkingProcessOptions workingProcess_;
  TWorkingProcessCache cache_;
  TRunSettings settings_;

 public:
  // The runs get these settings; unless they bring their own working-process step, the
  // working-process program runs with these options in their exchange folder, and an
  // identical ".qin" reuses the diagram of the previous preparation.
  explicit TVexaProject(TRunSettings settings = {}, TWorkingProcessOptions workingProcess = {});
  TVexaProject(const TVexaProject&) = delete;
  TVexaProject& operator=(const TVexaProject&) = delete;

  TEngineDataStruct EngineData;
  std::unique_ptr<TOscillCalcStruct> OscillCalc;
  TDynamicCalcArray Results;  // the runs of the last calculate command

  // The calculate command. Project values it cannot work with raise EVexaInputError before
  // anything is calculated (CheckCalcInputs). The project speed, LamD and the working-process
  // speed are put back however it ends; a failing or stopped command (ECalcCancelled) keeps no
  // runs and leaves its error to the caller after that.
  TCalcCommandResult CalcDynamicExecute();

  // Titles offered by the run selector: the runs after the first.
  std::vector<std::string> RunSelectorTitles() const;
  const TRunSettings& Settings() const { return settings_; }
  // The folder a relative diagram file name is taken from: the project file's folder, which
  // changes when a project is loaded or saved elsewhere. A new folder drops the torsional
  // results, whose model was prepared from the old one.
  void SetProjectDir(const std::filesystem::path& folder);
  // Where the working-process program's report of the design speed is kept after a
  // calculate command ("<project>.rez" beside the project file; empty: not kept).
  // The shaft frame of earlier versions for the next calculate commands (`TRunSettings::BeamCompat`).
  void SetBeamCompat(bool on) { settings_.BeamCompat = on; }
  void SetWorkingProcessReport(const std::filesystem::path& file) { workingProcess_.KeptReport = file; }

 private:
  std::unique_ptr<TDynamicCalcStruct> newRun(const std::string& title);
  void calculate(TCalcCommandResult& result);
  // Copies the working-process program's report to the options' KeptReport, when both are
  // there, and notes the outcome.
  void keepWorkingProcessReport(TCalcCommandResult& result) const;
};
