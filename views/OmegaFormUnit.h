// The torsional results window "Крутильные колебания" (`TOmegaForm`): resonance speeds,
// natural frequencies and mode shapes, and per resonance the stresses, amplitudes and the
// harmonic analysis, in grids on tabs.
#pragma once

#include <vector>

#include "ResultViewSupportUnit.h"
#include "VexaBaseDlgUnit.h"

class QTabWidget;
class TOscillCalcStruct;

// Whether the torsional windows can show the model: more than one frequency and harmonic.
bool TorsionResultsShown(const TOscillCalcStruct& model);

class TOmegaForm : public TVexaBaseDlg {
  Q_OBJECT
 public:
  explicit TOmegaForm(QWidget* parent = nullptr);

  // Fills the grids; false (nothing filled) when the model has no results to show.
  bool Prepare(TEngineDataStruct& engine, const TOscillCalcStruct& model);
  // Prepare, then the window modally; QDialog::Rejected without results.
  int ShowResults(TEngineDataStruct& engine, const TOscillCalcStruct& model);

  QTabWidget* Tabs;
  QTabWidget* HarmonicTabs;
  // Resonance speeds, modes, Tau, amplitudes, Mk, Ak, Bk, Alphak, Summary.
  std::vector<TResultTableView*> Grids;
  std::vector<TResultTableModel*> Models;
};
