// Pictures of the result views on a calculated project: every tab of the tables, the graphs
// (a polar crankpin load, three throw torques), both vector-diagram forms, every tab of the
// frequencies window, the mode shapes, the strength summary and the export page.
#include <QApplication>
#include <QComboBox>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <iostream>

#include "CombTableFormUnit.h"
#include "FormsFormUnit.h"
#include "MDIChildWinUnit.h"
#include "OmegaFormUnit.h"
#include "PlotGraphUnit.h"
#include "ProjectCalcUnit.h"
#include "SaveToFileDlgUnit.h"
#include "TableResultsFormUnit.h"
#include "TorsionTablesUnit.h"
#include "VDFormUnit.h"

namespace {

void shoot(QWidget& widget, const QString& folder, const QString& name) {
  widget.show();
  QApplication::processEvents();
  const QString file = folder + "/" + name;
  if (!widget.grab().save(file)) std::cerr << "cannot write " << file.toStdString() << "\n";
  else std::cout << file.toStdString() << "\n";
}

}  // namespace

void SaveResultViewShots(TMDIChildWin& window, const QString& folder) {
  TVexaProject& project = window.Project();
  TEngineDataStruct& engine = window.EngineData();
  const TDynamicCalcStruct& run = *project.Results.front();

  TTableResultsForm tables;
  tables.Prepare(engine, run);
  const char* const tableNames[] = {"cylinder", "forces", "moments", "stresses", "safety"};
  for (int t = 0; t < tables.Tabs->count(); ++t) {
    tables.Tabs->setCurrentIndex(t);
    shoot(tables, folder, QString("view-tables-%1.png").arg(tableNames[t]));
  }
  tables.hide();

  TPlotGraphForm graphs;
  graphs.Prepare(engine, run);
  shoot(graphs, folder, "view-graphs-gas-force.png");
  graphs.Argument->setCurrentIndex(20);  // XSum
  graphs.Functions[0]->setCurrentIndex(21);  // YSum
  graphs.NSec[0]->setValue(1);
  shoot(graphs, folder, "view-graphs-crankpin-polar.png");
  graphs.Argument->setCurrentIndex(0);
  const int throws[] = {1, engine.NSec / 2, engine.NSec};
  for (int k = 0; k < 3; ++k) {
    graphs.Functions[k]->setCurrentIndex(34);  // the torque of the throw (Mk.ks2)
    graphs.NSec[k]->setValue(throws[k]);
  }
  shoot(graphs, folder, "view-graphs-throw-torques.png");
  graphs.hide();

  const TOscillCalcStruct& model = *project.OscillCalc;
  if (!TorsionResultsShown(model)) return;
  TVDForm vectors;
  vectors.Prepare(engine, model);
  const auto resonances = ResonanceList(model);
  if (!resonances.empty()) {
    vectors.NOmega->setValue(resonances.front().first);
    vectors.NGarm->setValue(resonances.front().second + 1);
  }
  shoot(vectors, folder, "view-vectors.png");
  vectors.Phase->setChecked(true);
  shoot(vectors, folder, "view-vectors-phase.png");
  vectors.hide();

  TOmegaForm frequencies;
  frequencies.Prepare(engine, model);
  const char* const tabNames[] = {"speeds", "modes", "tau", "amplitudes"};
  for (int t = 0; t < 4; ++t) {
    frequencies.Tabs->setCurrentIndex(t);
    shoot(frequencies, folder, QString("view-torsion-%1.png").arg(tabNames[t]));
  }
  frequencies.Tabs->setCurrentWidget(frequencies.HarmonicTabs);
  const char* const harmonicNames[] = {"mk", "ak", "bk", "alphak", "summary"};
  for (int t = 0; t < frequencies.HarmonicTabs->count(); ++t) {
    frequencies.HarmonicTabs->setCurrentIndex(t);
    shoot(frequencies, folder, QString("view-torsion-harmonics-%1.png").arg(harmonicNames[t]));
  }
  frequencies.hide();

  TFormsForm modes;
  modes.Prepare(engine, model);
  shoot(modes, folder, "view-mode-shapes.png");
  modes.MotorMasses->setChecked(true);
  shoot(modes, folder, "view-mode-shapes-motor-masses.png");
  modes.hide();

  TCombTableForm summary;
  summary.Prepare(engine, project.Results);
  shoot(summary, folder, "view-summary.png");
  summary.hide();

  TSaveToFileDlg exporter;
  exporter.Prepare(engine, run, project.Results, window.FileName);
  exporter.ServButton1Click();
  shoot(exporter, folder, "view-export.png");
  exporter.hide();
}
