#include "TerminalProgress.h"

#include <unistd.h>

#include <cstdio>

#include "DynamicCalcUnit.h"
#include "StopRequestUnit.h"

TTerminalProgress::TTerminalProgress() : enabled_(::isatty(STDERR_FILENO) != 0) {}

// The progress hooks are where a long calculation looks for Ctrl+C: the exception ends the
// run, and the command line cleans up on its way out.
void TTerminalProgress::StageStarted(const std::string& stage) {
  ThrowIfStopRequested();
  if (enabled_) std::fprintf(stderr, "\r\033[K%s...", stage.c_str());
}

void TTerminalProgress::AngleLoopStarted(const TDynamicCalcStruct& run, int /*steps*/) {
  lastPercent_ = -1;
  if (enabled_) std::fprintf(stderr, "\r\033[K%s\n", run.Title.c_str());
}

void TTerminalProgress::StepDone(const TDynamicCalcStruct& /*run*/, int step, int steps) {
  ThrowIfStopRequested();
  if (!enabled_ || steps <= 0) return;
  const int percent = (step + 1) * 100 / steps;
  if (percent == lastPercent_) return;
  lastPercent_ = percent;
  const int width = 40, filled = percent * width / 100;
  std::fprintf(stderr, "\r[%.*s%*s] %3d%%  шаг %d из %d", filled, "########################################",
               width - filled, "", percent, step + 1, steps);
}

void TTerminalProgress::AngleLoopFinished(const TDynamicCalcStruct& /*run*/) {
  if (enabled_) std::fprintf(stderr, "\r\033[K");
}
