// Progress of a calculation on a terminal: a bar on stderr that redraws itself, shown only
// when stderr is a terminal.
#pragma once

#include <string>

#include "CalcObserverUnit.h"

class TTerminalProgress : public TCalcObserver {
 public:
  TTerminalProgress();
  void StageStarted(const std::string& stage) override;
  void AngleLoopStarted(const TDynamicCalcStruct& run, int steps) override;
  void StepDone(const TDynamicCalcStruct& run, int step, int steps) override;
  void AngleLoopFinished(const TDynamicCalcStruct& run) override;
  bool DrawsModel() const override { return false; }

 private:
  bool enabled_;
  int lastPercent_ = -1;
};
