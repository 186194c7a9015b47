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

inline TVexaProject& CalculatedExample() {
  static std::unique_ptr<TVexaProject> project;
  if (!project) {
    TRunSettings settings;
    settings.ProjectDir = std::filesystem::path(VEXA_SOURCE_DIR) / "examples";
    project = std::make_unique<TVexaProject>(settings);
    LoadProjectFile(project->EngineData, settings.ProjectDir / "V16-26-26.vxa");
    if (!project->CalcDynamicExecute().Completed) throw std::runtime_error("the example does not calculate");
  }
  return *project;
}

// A one-throw, one-row engine whose run has loads, moments and strengths.
struct TOneThrowRun {
  TEngineDataStruct engine;
  std::unique_ptr<TDynamicCalcStruct> run;
  TOneThrowRun() {
    constexpr double deg = std::numbers::pi / 180;
    engine.NSec = 1;
    engine.NRad = 1;
    engine.Disposition = 0;
    engine.ValSteel.Ro = 7850, engine.ValSteel.Sgm_1 = 540, engine.ValSteel.Tau_1 = 312;
    engine.KTau_M_K = 1.9, engine.KSgm_M_K = 2.1, engine.KTau_M_S = 1.8, engine.KSgm_M_S = 2.3;
    engine.KSgm_G_S = 2.6, engine.KTau_G_S = 1.7;
    engine.Etau_K = 0.66, engine.Esgm_K = 0.70, engine.Etau_S = 0.68, engine.Esgm_S = 0.72;
    engine.PsiSgm = 0.10, engine.PsiTau = 0.05, engine.LamD = 1.15, engine.Knu = 1.0;
    run = std::make_unique<TDynamicCalcStruct>(engine);
    for (int k = 0; k < 720; ++k) {
      run->AngleGrid.push_back(k * deg);
      run->Pressure.push_back(0.2 + 11.8 * std::exp(-std::pow((k <= 360 ? k : k - 720) - 10, 2) / 1250.0));
    }
    run->CreateCranks();
    run->N = engine.N;
    run->ComputeLoads();
    for (auto& c : run->Cranks) {
      c->Mkks2 = c->SplitMkks, c->Mkss = c->SplitMkss;
      c->MZgalss1 = c->SplitMZgal1, c->MZgalss2 = c->SplitMZgal2;
    }
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
