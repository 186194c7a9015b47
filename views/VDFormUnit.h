// The vector diagrams of the torsional excitation "Фазовые диаграммы" (`TVDForm`): for one natural
// frequency and one harmonic the throws' contributions head to tail with their resultant, or
// each from the origin; the axes have the same scale.
#pragma once

#include "ResultViewSupportUnit.h"
#include "VectorDiagramUnit.h"
#include "VexaBaseDlgUnit.h"

class QLineEdit;
class QRadioButton;
class QSpinBox;
class QValueAxis;

class TVDForm : public TVexaBaseDlg {
  Q_OBJECT
 public:
  explicit TVDForm(QWidget* parent = nullptr);

  bool Prepare(TEngineDataStruct& engine, const TOscillCalcStruct& model);
  int ShowResults(TEngineDataStruct& engine, const TOscillCalcStruct& model);

  QSpinBox* NGarm;
  QSpinBox* NOmega;
  QRadioButton* Vector;
  QRadioButton* Phase;
  QLineEdit* K;
  TChartView* VDChart;
  // The diagram on the chart, as drawn.
  TVectorDiagram Diagram;

  void Plot();

 private:
  const TOscillCalcStruct* model_ = nullptr;
  QValueAxis* axisX_;
  QValueAxis* axisY_;
};
