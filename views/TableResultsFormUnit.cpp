#include "TableResultsFormUnit.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "DynamicCalcUnit.h"

TTableResultsForm::TTableResultsForm(QWidget* parent) : TVexaBaseDlg(ResultTablesCaption, parent) {
  HelpPage = "view-tables.html";
  auto* layout = new QVBoxLayout(Content());
  Tabs = new QTabWidget(Content());
  layout->addWidget(Tabs);
  for (std::size_t t = 0; t < Views.size(); ++t) {
    auto* page = new QWidget(Tabs);
    auto* pageLayout = new QVBoxLayout(page);
    auto* group = new QGroupBox(page);
    group->setObjectName(QString("Group%1").arg(t));
    auto* groupLayout = new QVBoxLayout(group);
    Models[t] = new TResultTableModel(this);
    Views[t] = new TResultTableView(group);
    groupLayout->addWidget(Views[t]);
    pageLayout->addWidget(group, 1);
    Tabs->addTab(page, QString());
  }
  static const char* const names[] = {"ForcesKSMListView", "ForcesListView", "MomentsListView", "StressListView",
                                      "SafetyListView"};
  for (std::size_t t = 0; t < Views.size(); ++t) Views[t]->setObjectName(names[t]);

  auto* panel = new QWidget(Tabs->widget(0));
  auto* panelLayout = new QHBoxLayout(panel);
  auto* label = new QLabel("№ цилиндра:", panel);
  NCyl = new QSpinBox(panel);
  NCyl->setObjectName("NCyl");
  NCyl->setMinimum(1);
  label->setBuddy(NCyl);
  panelLayout->addWidget(label);
  panelLayout->addWidget(NCyl);
  panelLayout->addStretch(1);
  Tabs->widget(0)->layout()->addWidget(panel);
  connect(NCyl, &QSpinBox::valueChanged, this, [this] {
    if (!Updating) DoDataExchange(false);
  });
  resize(1180, 680);
}

void TTableResultsForm::Prepare(TEngineDataStruct& engine, const TDynamicCalcStruct& run) {
  RequireRunResults(run);
  run_ = &run;
  Data = &engine;
  InitDialog();
}

int TTableResultsForm::ShowResults(TEngineDataStruct& engine, const TDynamicCalcStruct& run) {
  Prepare(engine, run);
  Tabs->setCurrentIndex(Tabs->count() - 1);
  return exec();
}

void TTableResultsForm::InitDialog() {
  Updating = true;
  NCyl->setMaximum(RunThrowCount(*run_) * RunRowCount(*run_));
  NCyl->setValue(1);
  Updating = false;
  const std::vector<TResultTable> tables = AllResultTables(*run_);
  for (std::size_t t = 1; t < Views.size(); ++t) {
    Tabs->setTabText(static_cast<int>(t), QString::fromStdString(tables[t].TabCaption));
    Tabs->widget(static_cast<int>(t))->findChild<QGroupBox*>()->setTitle(QString::fromStdString(tables[t].GroupCaption));
    Models[t]->SetTable(tables[t]);
    Views[t]->ShowTable(Models[t]);
  }
  TVexaBaseDlg::InitDialog();
}

void TTableResultsForm::DoDataExchange(bool FromControls) {
  TVexaBaseDlg::DoDataExchange(FromControls);
  if (FromControls || !run_) return;
  TResultTable table = CylinderForcesTable(*run_, NCyl->value());
  Tabs->setTabText(0, QString::fromStdString(table.TabCaption));
  Tabs->widget(0)->findChild<QGroupBox*>()->setTitle(QString::fromStdString(table.GroupCaption));
  Models[0]->SetTable(std::move(table));
  Views[0]->ShowTable(Models[0]);
}
