// The graphs view: series titles, points equal to the catalogue arrays they plot, the number
// boxes that belong to each quantity, the reset buttons and the view state between openings.
#include <QCheckBox>
#include <QComboBox>
#include <QLineSeries>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>
#include <numbers>

#include "EVexaErrorUnit.h"
#include "GuiTestSupport.h"
#include "PlotGraphUnit.h"
#include "ResultCatalogUnit.h"
#include "ResultViewTestSupport.h"

class PlotGraphFormTest : public QObject {
  Q_OBJECT
  TPlotGraphForm form;

  const TDynamicCalcStruct& run() { return *CalculatedExample().Results.front(); }
  static const TReal1DArray& array(const TDynamicCalcStruct& run, int q, int throwNumber, int cylinder) {
    const TReal1DArray* values = nullptr;
    GetQuantityArray(run, q, throwNumber, cylinder, values);
    return *values;
  }

 private slots:
  void initTestCase() { form.Prepare(CalculatedExample().EngineData, run()); }

  void opensWithTheGasForceOfCylinderOneAgainstTheCrankAngle() {
    QCOMPARE(form.Argument->currentIndex(), 0);
    QCOMPARE(form.Functions[0]->currentIndex(), 7);
    QCOMPARE(form.Series[0]->name(), QString("P[1], МПа(alpha[1], град)"));
    const TReal1DArray& p = array(run(), 7, 1, 1);
    QCOMPARE(form.Series[0]->count(), static_cast<int>(p.size()));
    for (int j = 0; j < form.Series[0]->count(); j += 37) {
      QCOMPARE(form.Series[0]->at(j).y(), p[j]);
      QCOMPARE(form.Series[0]->at(j).x(), run().AngleGrid[j] * 180 / std::numbers::pi);
    }
    QVERIFY(form.Series[1]->points().isEmpty());
  }

  void throwQuantityShowsTheThrowNumberAndHidesTheCylinderNumber() {
    form.show();
    form.NSec[1]->setValue(3);
    form.Functions[1]->setCurrentIndex(14);  // TSum
    QVERIFY(form.NSec[1]->isVisible());
    QVERIFY(!form.NCyl[1]->isVisible());
    QVERIFY(form.Series[1]->name().startsWith(QString::fromStdString(QuantityShortName(14, 3))));
    const TReal1DArray& torque = array(run(), 14, 3, 1);
    QCOMPARE(form.Series[1]->at(100).y(), torque[100]);
    form.hide();
  }

  void polarCrankpinLoadIsXSumAgainstYSum() {
    form.Argument->setCurrentIndex(20);
    form.Functions[0]->setCurrentIndex(21);
    const TReal1DArray &x = array(run(), 20, 1, 1), &y = array(run(), 21, 1, 1);
    QCOMPARE(form.Series[0]->count(), static_cast<int>(x.size()));
    QCOMPARE(form.Series[0]->at(50), QPointF(x[50], y[50]));
    form.Argument->setCurrentIndex(0);
    form.Functions[0]->setCurrentIndex(7);
  }

  void resetButtonClearsItsSeriesOnly() {
    form.Functions[2]->setCurrentIndex(15);
    QVERIFY(!form.Series[2]->points().isEmpty());
    form.ResetButtons[2]->click();
    QCOMPARE(form.Functions[2]->currentIndex(), -1);
    QVERIFY(form.Series[2]->points().isEmpty());
    QVERIFY(form.Series[2]->name().isEmpty());
    QVERIFY(!form.Series[0]->points().isEmpty());
  }

  void choicesStayAndNumbersComeIntoTheRangeOfTheNextRun() {
    form.NCyl[0]->setValue(form.NCyl[0]->maximum());
    TOneThrowRun one;
    form.Prepare(one.engine, *one.run);
    QCOMPARE(form.NCyl[0]->value(), 1);
    QCOMPARE(form.Functions[0]->currentIndex(), 7);
    QCOMPARE(form.Series[0]->count(), static_cast<int>(one.run->AngleGrid.size()));
    form.Prepare(CalculatedExample().EngineData, run());
  }

  void degreesShowsEverySeriesMarkersAndLabels() {
    form.Degrees->setChecked(true);
    for (QLineSeries* series : form.Series) {
      QVERIFY(!series->lightMarker().isNull());
      QVERIFY(series->pointLabelsVisible());
    }
    QVERIFY(form.Series[0]->lightMarker() != form.Series[1]->lightMarker());
    form.Degrees->setChecked(false);
    for (QLineSeries* series : form.Series) QVERIFY(series->lightMarker().isNull() && !series->pointLabelsVisible());
  }

  void lineWidthAppliesToEverySeries() {
    form.Thick->setValue(3);
    for (QLineSeries* series : form.Series) QCOMPARE(series->pen().width(), 3);
  }

  void runWithoutThrowsIsRefusedWithErrorSix() {
    TEngineDataStruct engine;
    TDynamicCalcStruct empty(engine);
    QVERIFY_THROWS_EXCEPTION(TEVexaError, form.Prepare(engine, empty));
  }
};

QTEST_MAIN(PlotGraphFormTest)
#include "PlotGraphUnitTest.moc"
