// The general conclusion on strength of a project: for each kind of safety factor the smallest
// value over the throws of the design-speed run and over all throws of the resonance runs.
#pragma once

#include <string>
#include <vector>

#include "DynamicCalcUnit.h"

// One line of the summary (`TStrengthSummaryLine`): the factor's caption, "<value> в секции №<t>"
// at the design speed and "<value> в секции №<t> на частоте <n> об/мин" over the resonances.
struct TStrengthSummaryLine {
  std::string Caption;
  std::string Design;
  std::string Resonance;
};

extern const char* const StrengthSummaryCaption;     // "Общее заключение по прочности"
extern const char* const StrengthSummaryColumns[3];  // headers of the caption and the two value columns

// One line of the summary as numbers (`TStrengthSummaryValue`); sections count from 1.
struct TStrengthSummaryValue {
  std::string Caption;
  double Design = 0;
  int DesignSection = 0;
  double Resonance = 0;       // 1e30 without resonance runs
  int ResonanceSection = 0;   // the design line's section without resonance runs
  double ResonanceSpeed = 0;  // rpm; 0 without resonance runs
};

// The ten lines over the runs of a calculation: runs[0] is the run at the design speed, the
// following ones the resonance runs (each at its own speed N). Without resonance runs the
// resonance column reads 1e+30 with the design line's section and the speed 0. Equal minima
// keep the lower section and the earlier run. A list without a calculated design run raises
// TEVexaError 6.
std::vector<TStrengthSummaryValue> StrengthSummaryValues(const TDynamicCalcArray& runs);
// The same lines as texts.
std::vector<TStrengthSummaryLine> StrengthSummary(const TDynamicCalcArray& runs);

// The same as text lines "caption | design | resonance", for printing.
std::vector<std::string> StrengthSummaryLines(const TDynamicCalcArray& runs);
