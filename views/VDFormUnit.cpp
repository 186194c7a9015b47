#include "VDFormUnit.h"

#include <QPushButton>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QRadioButton>
#include <QScatterSeries>
#include <QSpinBox>
#include <QVBoxLayout>
#include <QValueAxis>
#include <cmath>

#include "NumberFormatUnit.h"
#include "OmegaFormUnit.h"
#include "OscillCalcUnit.h"

namespace {

// Distinct colours for the arrows, so that each throw can be told apart.
QColor arrowColour(std::size_t index) { return QColor::fromHsv(static_cast<int>(index * 47 % 360), 220, 200); }

// An arrow as a line with a head of two short strokes.
QLineSeries* arrowSeries(const TVectorArrow& arrow, double headLength, QChart* chart) {
  auto* series = new QLineSeries(chart);
  const double dx = arrow.X1 - arrow.X0, dy = arrow.Y1 - arrow.Y0, length = std::hypot(dx, dy);
  series->append(arrow.X0, arrow.Y0);
  series->append(arrow.X1, arrow.Y1);
  if (length > 0) {
    const double ux = dx / length, uy = dy / length, h = std::min(headLength, length / 2);
    const double c = std::cos(0.4), s = std::sin(0.4);
    series->append(arrow.X1 - h * (ux * c - uy * s), arrow.Y1 - h * (uy * c + ux * s));
    series->append(arrow.X1, arrow.Y1);
    series->append(arrow.X1 - h * (ux * c + uy * s), arrow.Y1 - h * (uy * c - ux * s));
  }
  return series;
}

}  // namespace

TVDForm::TVDForm(QWidget* parent) : TVexaBaseDlg("Фазовые диаграммы", parent) {
  HelpPage = "view-vectors.html";
  auto* layout = new QVBoxLayout(Content());
  auto* chart = new QChart;
  chart->legend()->hide();
  axisX_ = new QValueAxis(chart);
  axisY_ = new QValueAxis(chart);
  axisX_->setLabelFormat("%g");
  axisY_->setLabelFormat("%g");
  chart->addAxis(axisX_, Qt::AlignBottom);
  chart->addAxis(axisY_, Qt::AlignLeft);
  VDChart = new TChartView(chart, Content());
  VDChart->setObjectName("VDChart");
  VDChart->setMinimumSize(560, 560);
  layout->addWidget(VDChart, 1);

  auto* panel = new QWidget(Content());
  auto* row = new QHBoxLayout(panel);
  NGarm = new QSpinBox(panel);
  NGarm->setObjectName("NGarm");
  NGarm->setMinimum(1);
  NOmega = new QSpinBox(panel);
  NOmega->setObjectName("NOmega");
  NOmega->setMinimum(1);
  auto* kind = new QGroupBox("Диаграмма", panel);
  auto* kindLayout = new QHBoxLayout(kind);
  Vector = new QRadioButton("Векторная", kind);
  Phase = new QRadioButton("Фазовая", kind);
  Vector->setChecked(true);
  kindLayout->addWidget(Vector);
  kindLayout->addWidget(Phase);
  K = new QLineEdit(panel);
  K->setObjectName("k");
  K->setReadOnly(true);
  K->setMaximumWidth(80);
  row->addWidget(new QLabel("№ гармоники", panel));
  row->addWidget(NGarm);
  row->addWidget(new QLabel("№ собственной частоты", panel));
  row->addWidget(NOmega);
  row->addWidget(kind);
  row->addWidget(new QLabel("Порядок гармоники: k=", panel));
  row->addWidget(K);
  row->addStretch(1);
  layout->addWidget(panel);
  connect(NGarm, &QSpinBox::valueChanged, this, [this] { Plot(); });
  connect(NOmega, &QSpinBox::valueChanged, this, [this] { Plot(); });
  connect(Vector, &QRadioButton::toggled, this, [this] { Plot(); });
  ApplyButton->hide();
  resize(820, 720);
}

bool TVDForm::Prepare(TEngineDataStruct& engine, const TOscillCalcStruct& model) {
  if (!TorsionResultsShown(model)) return false;
  Data = &engine;
  model_ = nullptr;  // no drawing while the limits change
  NGarm->setMaximum(static_cast<int>(model.Calc->HarmOrders.size()));
  NOmega->setMaximum(model.NModes() - 1);
  model_ = &model;
  InitDialog();
  Plot();
  return true;
}

int TVDForm::ShowResults(TEngineDataStruct& engine, const TOscillCalcStruct& model) {
  return Prepare(engine, model) ? exec() : QDialog::Rejected;
}

void TVDForm::Plot() {
  if (!model_) return;
  Diagram = VectorDiagram(*model_, NOmega->value(), NGarm->value() - 1, Phase->isChecked());
  K->setText(QString::fromStdString(FormatGeneral(Diagram.Order)));
  QChart* chart = VDChart->chart();
  chart->removeAllSeries();
  const double e = Diagram.Extent > 0 ? Diagram.Extent * 1.1 : 1;
  for (std::size_t i = 0; i < Diagram.Arrows.size(); ++i) {
    QLineSeries* series = arrowSeries(Diagram.Arrows[i], e * 0.06, chart);
    QPen pen(arrowColour(i));
    pen.setWidth(Diagram.Arrows[i].Label == "Sum" ? 3 : 2);
    series->setPen(pen);
    series->setName(QString::fromStdString(Diagram.Arrows[i].Label));
    chart->addSeries(series);
    series->attachAxis(axisX_);
    series->attachAxis(axisY_);
  }
  auto* origin = new QScatterSeries(chart);
  origin->append(0, 0);
  origin->setColor(Qt::green);
  origin->setMarkerSize(8);
  chart->addSeries(origin);
  origin->attachAxis(axisX_);
  origin->attachAxis(axisY_);
  axisX_->setRange(-e, e);
  axisY_->setRange(-e, e);
  VDChart->SetEqualScale(e);
}
