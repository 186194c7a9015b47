#include "OmegaFormUnit.h"

#include <QPushButton>
#include <QGroupBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "OscillCalcUnit.h"
#include "TorsionTablesUnit.h"

bool TorsionResultsShown(const TOscillCalcStruct& model) { return model.Omega.size() > 1 && model.AkMax.size() > 1; }

TOmegaForm::TOmegaForm(QWidget* parent) : TVexaBaseDlg("Крутильные колебания", parent) {
  HelpPage = "view-frequencies.html";
  auto* layout = new QVBoxLayout(Content());
  Tabs = new QTabWidget(Content());
  Tabs->setObjectName("Tabs");
  layout->addWidget(Tabs);
  HarmonicTabs = new QTabWidget(Tabs);
  HarmonicTabs->setObjectName("HarmonicTabs");
  static const char* const names[] = {"OmegaRes_StringGrid", "a_StringGrid",      "Tau_StringGrid",
                                      "Ampl_StringGrid",     "Mk_StringGrid",     "Ak_StringGrid",
                                      "Bk_StringGrid",       "Alphak_StringGrid", "Summary_StringGrid"};
  for (const char* name : names) {
    auto* grid = new TResultTableView(Content());
    grid->setObjectName(name);
    Grids.push_back(grid);
    Models.push_back(new TResultTableModel(this));
  }
  auto* speeds = new QGroupBox("Таблица резонансных режимов (об/мин)", Tabs);
  (new QVBoxLayout(speeds))->addWidget(Grids[0]);
  Tabs->addTab(speeds, "Резонансные режимы");
  Tabs->addTab(Grids[1], "Формы");
  Tabs->addTab(Grids[2], "Напряжения Tau (МПа)");
  Tabs->addTab(Grids[3], "Амплитуда колебаний A (рад)");
  Tabs->addTab(HarmonicTabs, "Гармонический анализ");
  const char* const harmonicCaptions[] = {"Mk (Фурье)", "Ak (Фурье)", "Bk (Фурье)", "Alphak (Фурье), град", "Summary"};
  for (int t = 0; t < 5; ++t) HarmonicTabs->addTab(Grids[static_cast<std::size_t>(4 + t)], harmonicCaptions[t]);
  ApplyButton->hide();
  resize(1000, 560);
}

bool TOmegaForm::Prepare(TEngineDataStruct& engine, const TOscillCalcStruct& model) {
  if (!TorsionResultsShown(model)) return false;
  Data = &engine;
  const TResultTable tables[] = {ResonanceSpeedTable(model),
                                 ModeShapeTable(model),
                                 SectionStressTable(model),
                                 AmplitudeTable(model),
                                 HarmonicTable(model, THarmonicPart::Mk),
                                 HarmonicTable(model, THarmonicPart::Ak),
                                 HarmonicTable(model, THarmonicPart::Bk),
                                 HarmonicTable(model, THarmonicPart::Alphak),
                                 ResonanceSummaryTable(model)};
  for (std::size_t g = 0; g < Grids.size(); ++g) {
    Models[g]->SetTable(tables[g]);
    Grids[g]->ShowTable(Models[g]);
  }
  InitDialog();
  Tabs->setCurrentWidget(HarmonicTabs);
  HarmonicTabs->setCurrentIndex(HarmonicTabs->count() - 1);
  return true;
}

int TOmegaForm::ShowResults(TEngineDataStruct& engine, const TOscillCalcStruct& model) {
  return Prepare(engine, model) ? exec() : QDialog::Rejected;
}
