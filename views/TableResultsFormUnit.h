// The result tables of one run (`TTableResultsForm`): the forces of one cylinder over the cycle
// and, per throw, forces, moments, stresses and safety factors, on five tabs.
#pragma once

#include <array>

#include "ResultViewSupportUnit.h"
#include "VexaBaseDlgUnit.h"

class QSpinBox;
class QTabWidget;
struct TDynamicCalcStruct;

class TTableResultsForm : public TVexaBaseDlg {
  Q_OBJECT
 public:
  explicit TTableResultsForm(QWidget* parent = nullptr);

  // Fills the tables for the run (error 6 for a run without results) without showing them.
  void Prepare(TEngineDataStruct& engine, const TDynamicCalcStruct& run);
  // Prepare, then the window modally with the tab "&Запасы" active.
  int ShowResults(TEngineDataStruct& engine, const TDynamicCalcStruct& run);

  QTabWidget* Tabs;
  QSpinBox* NCyl;
  // The per-cylinder forces, then forces, moments, stresses and safety factors.
  std::array<TResultTableView*, 5> Views{};
  std::array<TResultTableModel*, 5> Models{};

  void InitDialog() override;
  void DoDataExchange(bool FromControls) override;

 private:
  const TDynamicCalcStruct* run_ = nullptr;
};
