// The strength summary of a project (`TCombTableForm`): for each kind of safety factor the
// smallest value at the design speed and over the resonance runs, and the weakest place.
#pragma once

#include "DynamicCalcUnit.h"
#include "VexaBaseDlgUnit.h"

class QLabel;
class QTreeWidget;

// The texts of one summary value: a factor of 1e30 (no stress there) reads "—".
QString SummaryFactorText(double factor, int section, double speedRpm = -1);

class TCombTableForm : public TVexaBaseDlg {
  Q_OBJECT
 public:
  explicit TCombTableForm(QWidget* parent = nullptr);

  // Fills the list from the runs (runs[0] at the design speed; error 6 without results).
  void Prepare(TEngineDataStruct& engine, const TDynamicCalcArray& runs);
  int ShowResults(TEngineDataStruct& engine, const TDynamicCalcArray& runs);

  QTreeWidget* SafetyListView;
  // "Наименьший запас: …", the weakest place over all lines and runs.
  QLabel* Weakest;
};

// Text shown in the third column when the project has no resonance runs.
inline const char* const NoResonanceRuns = "нет резонансных режимов";
