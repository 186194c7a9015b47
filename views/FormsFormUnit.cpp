#include "FormsFormUnit.h"

#include <QPushButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineSeries>
#include <QRadioButton>
#include <QVBoxLayout>
#include <QValueAxis>

#include "ModeShapeUnit.h"
#include "OmegaFormUnit.h"
#include "OscillCalcUnit.h"

TFormsForm::TFormsForm(QWidget* parent) : TVexaBaseDlg("Формы колебаний", parent) {
  HelpPage = "view-frequencies.html";
  auto* layout = new QVBoxLayout(Content());
  auto* chart = new QChart;
  chart->setTitle("Формы колебаний");
  axisX_ = new QValueAxis(chart);
  axisX_->setTitleText("Приведенная длина, м");
  axisY_ = new QValueAxis(chart);
  axisX_->setLabelFormat("%g");
  axisY_->setLabelFormat("%g");
  chart->addAxis(axisX_, Qt::AlignBottom);
  chart->addAxis(axisY_, Qt::AlignLeft);
  FormChart = new TChartView(chart, Content());
  FormChart->setObjectName("FormChart");
  FormChart->setMinimumSize(640, 380);
  layout->addWidget(FormChart, 1);

  auto* panel = new QWidget(Content());
  auto* panelLayout = new QHBoxLayout(panel);
  auto* modes = new QGroupBox("Номер собственной частоты:", panel);
  boxesPanel_ = modes;
  new QHBoxLayout(modes);
  auto* massGroup = new QGroupBox(panel);
  auto* massLayout = new QVBoxLayout(massGroup);
  AllMasses = new QRadioButton("Все массы", massGroup);
  MotorMasses = new QRadioButton("Моторные массы", massGroup);
  AllMasses->setChecked(true);
  massLayout->addWidget(AllMasses);
  massLayout->addWidget(MotorMasses);
  panelLayout->addWidget(modes, 1);
  panelLayout->addWidget(massGroup);
  layout->addWidget(panel);
  connect(AllMasses, &QRadioButton::toggled, this, [this] { Plot(); });
  ApplyButton->hide();
  resize(1000, 600);
}

bool TFormsForm::Prepare(TEngineDataStruct& engine, const TOscillCalcStruct& model) {
  if (!TorsionResultsShown(model)) return false;
  Data = &engine;
  model_ = &model;
  for (QCheckBox* box : ModeBoxes) delete box;
  ModeBoxes.clear();
  for (int l = 1; l < model.NModes(); ++l) {
    auto* box = new QCheckBox(QString::number(l), boxesPanel_);
    box->setChecked(true);
    boxesPanel_->layout()->addWidget(box);
    connect(box, &QCheckBox::toggled, this, [this] { Plot(); });
    ModeBoxes.push_back(box);
  }
  qobject_cast<QHBoxLayout*>(boxesPanel_->layout())->addStretch(1);
  InitDialog();
  Plot();
  return true;
}

int TFormsForm::ShowResults(TEngineDataStruct& engine, const TOscillCalcStruct& model) {
  return Prepare(engine, model) ? exec() : QDialog::Rejected;
}

void TFormsForm::Plot() {
  if (!model_) return;
  QChart* chart = FormChart->chart();
  chart->removeAllSeries();
  Series.clear();
  double xMax = 0, yMin = -1, yMax = 1;
  for (std::size_t i = 0; i < ModeBoxes.size(); ++i) {
    auto* series = new QLineSeries(chart);
    series->setName(QString::number(i + 1));
    QPen pen(QColor::fromHsv(static_cast<int>(i * 67 % 360), 230, 200));
    pen.setWidth(2);
    series->setPen(pen);
    series->setPointsVisible(true);
    series->setMarkerSize(5);
    if (ModeBoxes[i]->isChecked())
      for (const auto& [x, a] : ModeShapePoints(*model_, static_cast<int>(i) + 1, MotorMasses->isChecked())) {
        series->append(x, a);
        xMax = std::max(xMax, x), yMin = std::min(yMin, a), yMax = std::max(yMax, a);
      }
    chart->addSeries(series);
    series->attachAxis(axisX_);
    series->attachAxis(axisY_);
    Series.push_back(series);
  }
  axisX_->setRange(0, xMax > 0 ? xMax : 1);
  axisX_->applyNiceNumbers();
  axisY_->setRange(yMin * 1.1, yMax * 1.1);
  axisY_->applyNiceNumbers();
}
