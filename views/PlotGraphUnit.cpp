#include "PlotGraphUnit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPainter>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>
#include <QValueAxis>

#include "ResultCatalogUnit.h"
#include "ResultTablesUnit.h"
#include "VexaStringsTable.h"

namespace {

const QColor SeriesColours[TPlotGraphForm::FunctionCount] = {Qt::red, Qt::green, Qt::yellow, Qt::blue, Qt::white};
// The point marker of series k: a circle for series 1, then a rectangle, a triangle, a cross and
// a diamond, in the series' colour.
QImage markerImage(int k, const QColor& colour) {
  const int size = k == 0 ? 7 : 6;
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(colour, 1));
  painter.setBrush(colour);
  const double e = size - 1, h = e / 2;
  switch (k) {
    case 0: painter.drawEllipse(QRectF(0, 0, e, e)); break;
    case 1: painter.drawRect(QRectF(0, 0, e, e)); break;
    case 2: painter.drawPolygon(QPolygonF({QPointF(h, 0), QPointF(e, e), QPointF(0, e)})); break;
    case 3:
      painter.drawLine(QPointF(0, 0), QPointF(e, e));
      painter.drawLine(QPointF(0, e), QPointF(e, 0));
      break;
    default: painter.drawPolygon(QPolygonF({QPointF(h, 0), QPointF(e, h), QPointF(h, e), QPointF(0, h)})); break;
  }
  return image;
}

QComboBox* quantityList(QWidget* parent) {
  auto* list = new QComboBox(parent);
  for (const char* name : QuantityLongNames) list->addItem(name);
  list->setMaxVisibleItems(20);
  list->setMinimumContentsLength(48);
  list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  return list;
}

QSpinBox* numberBox(QWidget* parent, const QString& name) {
  auto* box = new QSpinBox(parent);
  box->setObjectName(name);
  box->setMinimum(1);
  return box;
}

}  // namespace

TPlotGraphForm::TPlotGraphForm(QWidget* parent) : TVexaBaseDlg("Мастер диаграмм", parent) {
  HelpPage = "view-graphs.html";
  auto* layout = new QVBoxLayout(Content());

  auto* chart = new QChart;
  chart->setTitle("Анализ полученных результатов");
  chart->setTheme(QChart::ChartThemeDark);
  axisX_ = new QValueAxis(chart);
  axisY_ = new QValueAxis(chart);
  axisX_->setLabelFormat("%g");
  axisY_->setLabelFormat("%g");
  chart->addAxis(axisX_, Qt::AlignBottom);
  chart->addAxis(axisY_, Qt::AlignLeft);
  for (int k = 0; k < FunctionCount; ++k) {
    Series[k] = new QLineSeries(chart);
    Series[k]->setColor(SeriesColours[k]);
    chart->addSeries(Series[k]);
    Series[k]->attachAxis(axisX_);
    Series[k]->attachAxis(axisY_);
  }
  Chart = new TChartView(chart, Content());
  Chart->setObjectName("Chart");
  Chart->setRubberBand(QChartView::RectangleRubberBand);
  Chart->setMinimumSize(640, 360);
  layout->addWidget(Chart, 1);

  auto* panel = new QWidget(Content());
  auto* grid = new QGridLayout(panel);
  grid->setContentsMargins(0, 0, 0, 0);
  auto* argumentLabel = new QLabel("Аргумент:", panel);
  Argument = quantityList(panel);
  Argument->setObjectName("Argument");
  Argument->setToolTip("Массив значений аргумента (единый для всех функций, но с учетом номера цилиндра)");
  argumentLabel->setBuddy(Argument);
  grid->addWidget(argumentLabel, 0, 0);
  grid->addWidget(Argument, 0, 1);
  grid->addWidget(new QLabel("Функция", panel), 1, 1);
  grid->addWidget(new QLabel("№ цилиндра", panel), 1, 2);
  grid->addWidget(new QLabel("№ колена", panel), 1, 3);
  for (int k = 0; k < FunctionCount; ++k) {
    Functions[k] = quantityList(panel);
    Functions[k]->setObjectName(QString("Function%1").arg(k + 1));
    NCyl[k] = numberBox(panel, QString("NCyl%1").arg(k + 1));
    NSec[k] = numberBox(panel, QString("NSec%1").arg(k + 1));
    ResetButtons[k] = new QToolButton(panel);
    ResetButtons[k]->setText("X");
    ResetButtons[k]->setObjectName(QString("ResetButton%1").arg(k + 1));
    grid->addWidget(new QLabel(QString("%1.").arg(k + 1), panel), k + 2, 0, Qt::AlignRight);
    grid->addWidget(Functions[k], k + 2, 1);
    grid->addWidget(NCyl[k], k + 2, 2);
    grid->addWidget(NSec[k], k + 2, 3);
    grid->addWidget(ResetButtons[k], k + 2, 4);
    Functions[k]->setCurrentIndex(k == 0 ? 7 : -1);
    for (QWidget* control : {static_cast<QWidget*>(Functions[k]), static_cast<QWidget*>(NCyl[k]),
                             static_cast<QWidget*>(NSec[k])})
      WatchChanges(control);
    connect(Functions[k], &QComboBox::currentIndexChanged, this, [this, k] { changed(Functions[k]); });
    connect(NCyl[k], &QSpinBox::valueChanged, this, [this, k] { changed(NCyl[k]); });
    connect(NSec[k], &QSpinBox::valueChanged, this, [this, k] { changed(NSec[k]); });
    connect(ResetButtons[k], &QToolButton::clicked, this, [this, k] { Functions[k]->setCurrentIndex(-1); });
  }
  WatchChanges(Argument);
  connect(Argument, &QComboBox::currentIndexChanged, this, [this] { changed(Argument); });

  auto* look = new QGroupBox("Оформление", panel);
  auto* lookLayout = new QVBoxLayout(look);
  Degrees = new QCheckBox("Градусы", look);
  Degrees->setObjectName("Degrees");
  auto* thickRow = new QHBoxLayout;
  auto* thickLabel = new QLabel("Толщина:", look);
  Thick = new QSpinBox(look);
  Thick->setObjectName("Thick");
  Thick->setRange(1, 3);
  thickLabel->setBuddy(Thick);
  thickRow->addWidget(thickLabel);
  thickRow->addWidget(Thick);
  lookLayout->addWidget(Degrees);
  lookLayout->addLayout(thickRow);
  lookLayout->addStretch(1);
  grid->addWidget(look, 0, 5, 7, 1);
  grid->setColumnStretch(6, 1);
  layout->addWidget(panel);
  connect(Degrees, &QCheckBox::toggled, this, [this] { showMarkers(); });
  connect(Thick, &QSpinBox::valueChanged, this, [this](int width) {
    for (QLineSeries* series : Series) {
      QPen pen = series->pen();
      pen.setWidth(width);
      series->setPen(pen);
    }
  });
  showMarkers();
  resize(1100, 760);
}

void TPlotGraphForm::Prepare(TEngineDataStruct& engine, const TDynamicCalcStruct& run) {
  RequireRunResults(run);
  run_ = &run;
  Data = &engine;
  InitDialog();
}

int TPlotGraphForm::ShowResults(TEngineDataStruct& engine, const TDynamicCalcStruct& run) {
  Prepare(engine, run);
  return exec();
}

TGraphChoice TPlotGraphForm::ArgumentChoice() const {
  return {Argument->currentIndex(), NCyl[0]->value(), NSec[0]->value()};
}

TGraphChoice TPlotGraphForm::FunctionChoice(int k) const {
  return {Functions[k]->currentIndex(), NCyl[k]->value(), NSec[k]->value()};
}

void TPlotGraphForm::InitDialog() {
  Updating = true;
  const int throws = RunThrowCount(*run_), cylinders = throws * RunRowCount(*run_);
  for (int k = 0; k < FunctionCount; ++k) {
    NCyl[k]->setMaximum(cylinders);  // QSpinBox brings its value into the new range
    NSec[k]->setMaximum(throws);
  }
  Updating = false;
  TVexaBaseDlg::InitDialog();
}

void TPlotGraphForm::changed(QWidget* control) {
  if (Updating || !run_) return;
  OnModify(control);
  DoDataExchange(false);
}

void TPlotGraphForm::DoDataExchange(bool FromControls) {
  TVexaBaseDlg::DoDataExchange(FromControls);
  if (FromControls || !run_) return;
  const TGraphChoice argument = ArgumentChoice();
  if (GraphValues(*run_, argument, true).empty()) return;  // the chart keeps what it showed
  double xMin = 0, xMax = 0, yMin = 0, yMax = 0;
  bool any = false;
  for (int k = 0; k < FunctionCount; ++k) {
    const TGraphChoice function = FunctionChoice(k);
    const bool cylinder = function.Quantity >= 0 && QuantityHolder(function.Quantity) == TQuantityHolder::Cylinder;
    NCyl[k]->setVisible(cylinder);
    NSec[k]->setVisible(function.Quantity >= 0 && !cylinder);
    const TGraphSeries series = GraphSeries(*run_, argument, function);
    QList<QPointF> points;
    points.reserve(static_cast<qsizetype>(series.Points.size()));
    for (const auto& [x, y] : series.Points) {
      if (!any) xMin = xMax = x, yMin = yMax = y, any = true;
      xMin = std::min(xMin, x), xMax = std::max(xMax, x), yMin = std::min(yMin, y), yMax = std::max(yMax, y);
      points << QPointF(x, y);
    }
    Series[k]->setName(QString::fromStdString(series.Title));
    Series[k]->replace(points);
  }
  for (int k = 0; k < FunctionCount; ++k)
    if (auto* marker = Chart->chart()->legend()->markers(Series[k]).value(0)) marker->setVisible(!Series[k]->name().isEmpty());
  if (!any) return;
  const double xPad = xMax > xMin ? 0 : 1, yPad = (yMax - yMin) * 0.05 + (yMax > yMin ? 0 : 1);
  axisX_->setRange(xMin - xPad, xMax + xPad);
  axisY_->setRange(yMin - yPad, yMax + yPad);
  axisX_->applyNiceNumbers();
  axisY_->applyNiceNumbers();
}

void TPlotGraphForm::showMarkers() {
  const bool shown = Degrees->isChecked();
  for (int k = 0; k < FunctionCount; ++k) {
    Series[k]->setPointLabelsVisible(shown);
    Series[k]->setPointLabelsFormat("@xPoint");
    Series[k]->setLightMarker(shown ? markerImage(k, SeriesColours[k]) : QImage());
  }
}
