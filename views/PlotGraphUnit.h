// The graphs view "Мастер диаграмм" (`TPlotGraphForm`): up to five result quantities of a run
// against a common argument, all chosen from the result catalogue. The choices stay between
// openings.
#pragma once

#include <array>

#include "GraphSeriesUnit.h"
#include "ResultViewSupportUnit.h"
#include "VexaBaseDlgUnit.h"

class QCheckBox;
class QComboBox;
class QLineSeries;
class QSpinBox;
class QToolButton;
class QValueAxis;

class TPlotGraphForm : public TVexaBaseDlg {
  Q_OBJECT
 public:
  static constexpr int FunctionCount = 5;
  explicit TPlotGraphForm(QWidget* parent = nullptr);

  // Keeps the run (error 6 without results), brings the spin boxes into its range and draws.
  void Prepare(TEngineDataStruct& engine, const TDynamicCalcStruct& run);
  int ShowResults(TEngineDataStruct& engine, const TDynamicCalcStruct& run);

  QComboBox* Argument;
  std::array<QComboBox*, FunctionCount> Functions{};
  std::array<QSpinBox*, FunctionCount> NCyl{};
  std::array<QSpinBox*, FunctionCount> NSec{};
  std::array<QToolButton*, FunctionCount> ResetButtons{};
  QCheckBox* Degrees;
  QSpinBox* Thick;
  TChartView* Chart;
  std::array<QLineSeries*, FunctionCount> Series{};

  // The choices as they stand: the argument with the throw and cylinder of series 1.
  TGraphChoice ArgumentChoice() const;
  TGraphChoice FunctionChoice(int k) const;

  void InitDialog() override;
  // Towards the window: redraws the chart from the choices.
  void DoDataExchange(bool FromControls) override;

 private:
  void changed(QWidget* control);
  void showMarkers();

  const TDynamicCalcStruct* run_ = nullptr;
  QValueAxis* axisX_;
  QValueAxis* axisY_;
};
