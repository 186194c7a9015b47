// The mode shapes window "Формы колебаний" (`TFormsForm`): the relative amplitudes of every
// mode over the reduced length of the shaft, a check box per mode, all masses or the motor ones.
#pragma once

#include <vector>

#include "ResultViewSupportUnit.h"
#include "VexaBaseDlgUnit.h"

class QCheckBox;
class QLineSeries;
class QRadioButton;
class QValueAxis;
class TOscillCalcStruct;

class TFormsForm : public TVexaBaseDlg {
  Q_OBJECT
 public:
  explicit TFormsForm(QWidget* parent = nullptr);

  bool Prepare(TEngineDataStruct& engine, const TOscillCalcStruct& model);
  int ShowResults(TEngineDataStruct& engine, const TOscillCalcStruct& model);

  TChartView* FormChart;
  QRadioButton* AllMasses;
  QRadioButton* MotorMasses;
  std::vector<QCheckBox*> ModeBoxes;  // modes 1 … n−1
  std::vector<QLineSeries*> Series;   // one per mode, empty when its box is clear

  void Plot();

 private:
  const TOscillCalcStruct* model_ = nullptr;
  QWidget* boxesPanel_;
  QValueAxis* axisX_;
  QValueAxis* axisY_;
};
