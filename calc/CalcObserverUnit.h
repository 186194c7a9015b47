// Progress of a calculation, reported by the engine and shown by whoever attached the
// observer (a progress bar on the terminal, the progress window with the shaft picture).
#pragma once

#include <stdexcept>
#include <string>

class TDynamicCalcStruct;

// Raised inside a calculation when its observer asks it to stop; the calculate command ends
// as if the calculation had failed.
class ECalcCancelled : public std::runtime_error {
 public:
  ECalcCancelled() : std::runtime_error("Расчёт прерван") {}
};

class TCalcObserver {
 public:
  virtual ~TCalcObserver() = default;
  // A stage of the calculation begins ("Working process", "Loads", ...).
  virtual void StageStarted(const std::string& /*stage*/) {}
  // The angle loop of a run begins; the run holds the model to draw.
  virtual void AngleLoopStarted(const TDynamicCalcStruct& /*run*/, int /*steps*/) {}
  // Step `step` of the angle loop is solved; its results are in the run.
  virtual void StepDone(const TDynamicCalcStruct& /*run*/, int /*step*/, int /*steps*/) {}
  virtual void AngleLoopFinished(const TDynamicCalcStruct& /*run*/) {}
  // Whether StepDone draws the run's model: only then are its elements placed at every step
  // (a cost of the picture, not of the solution).
  virtual bool DrawsModel() const { return true; }
  // Read after every reported step and at every stage; true stops the calculation with
  // ECalcCancelled. May be called from the calculating thread, so it must be cheap and safe.
  virtual bool CancelRequested() const { return false; }
};
