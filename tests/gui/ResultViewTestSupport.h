// What the tests of the result views share: the bundled example calculated once per test
// program, and a one-throw in-line engine with a run calculated on a synthetic cycle.
#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <cmath>
#include <memory>
#include <numbers>
#include <stdexcept>

#include "ProjectCalcUnit.h"
#include "ProjectFileUnit.h"
#include "TestSupport.h"

using testsupport::CalculatedExample;

// A one-throw, one-row engine whose run has loads, moments and strengths.
struct TOneThrowRun {
  TEngineDataStruct engine;
  std::unique_ptr<TDynamicCalcStruct> run;
  TOneThrowRun() {
    engine.NSec = 1;
    engine.NRad = 1;
    engine.Disposition = 0;
    run = testsupport::SyntheticLoadedRun(engine);
    run->ComputeStrength();
  }
};

// Closes the next modal window as soon as it shows, remembering its title.
inline void closeNextModal(QString* title = nullptr) {
  QTimer::singleShot(0, [title] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      if (title) *title = modal->windowTitle();
      modal->close();
    }
  });
}
