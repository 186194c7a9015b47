// Content of the result tables of one run, ready to be shown: the forces of one cylinder over
// the cycle, and per throw the extremes of forces and moments, the stresses and the safety
// factors (split-scheme values in brackets), as captions and cell texts.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "DynamicCalcUnit.h"

struct TResultColumn {
  std::string Caption;
  int Width = 0;  // pixels; 0: fitted to the contents
};

struct TResultRow {
  std::string Caption;             // first column
  std::vector<std::string> Cells;  // the other columns, left to right
};

// One table (`TResultTable`): its tab, its group caption, its column headers (the first one
// heads the row captions) and its rows.
struct TResultTable {
  std::string TabCaption;  // with the "&" of its keyboard shortcut
  std::string GroupCaption;
  std::vector<TResultColumn> Columns;
  std::vector<TResultRow> Rows;
};

extern const char* const ResultTablesCaption;  // "Результаты расчёта - табличное представление"

// Raises TEVexaError 6 ("Сначала необходимо выполнить расчёт (F3)") for a run without throws
// or whose first throw has no cylinders.
void RequireRunResults(const TDynamicCalcStruct& run);

// Number of throws and of rows of the run as it was calculated (not as the project may have
// been edited since).
int RunThrowCount(const TDynamicCalcStruct& run);
int RunRowCount(const TDynamicCalcStruct& run);

// Forces in the crank mechanism of cylinder n (global number 1 … NSec·NRad): one row per step
// but the last, caption = own crank angle in degrees; P, Pj, Ps, K, N, T, Z in MPa.
// A cylinder number outside the run raises std::out_of_range.
TResultTable CylinderForcesTable(const TDynamicCalcStruct& run, int cylinder);
// Extremes, mean and amplitude of every force of every throw (N, MPa per piston area).
TResultTable ForcesTable(const TDynamicCalcStruct& run);
// The same for the moments, then the mean torque and the power of every throw.
TResultTable MomentsTable(const TDynamicCalcStruct& run);
// Stress amplitudes and means, MPa.
TResultTable StressTable(const TDynamicCalcStruct& run);
// Safety factors; the last column holds the smallest value of each row over the throws.
TResultTable SafetyTable(const TDynamicCalcStruct& run);

// A row of the stress or safety-factor table as numbers (`TResultValueRow`): per throw the
// continuous-scheme and the split-scheme value. The tables above are these rows formatted.
struct TResultValueRow {
  std::string Caption;
  std::vector<std::pair<double, double>> Values;
};
std::vector<TResultValueRow> StressValues(const TDynamicCalcStruct& run);  // MPa
std::vector<TResultValueRow> SafetyValues(const TDynamicCalcStruct& run);
// The smallest continuous and split value of a row over the throws ("Мин. значение").
std::pair<double, double> SmallestOverThrows(const TResultValueRow& row);

// The five tables in the order of their tabs (per-cylinder forces of cylinder 1 first).
std::vector<TResultTable> AllResultTables(const TDynamicCalcStruct& run);
