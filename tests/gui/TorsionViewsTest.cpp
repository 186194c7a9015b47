// The torsional result windows on the calculated example: the vector diagram on square axes
// with its resultant, the mode-shape curves and their check boxes, and the grids of the
// frequencies window opening on the summary.
#include <QCheckBox>
#include <QLineEdit>
#include <QLineSeries>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QValueAxis>

#include "FormsFormUnit.h"
#include "ModeShapeUnit.h"
#include "NumberFormatUnit.h"
#include "OmegaFormUnit.h"
#include "ResultViewTestSupport.h"
#include "TorsionTablesUnit.h"
#include "VDFormUnit.h"

class TorsionViewsTest : public QObject {
  Q_OBJECT
  TVexaProject& project = CalculatedExample();
  const TOscillCalcStruct& model = *project.OscillCalc;

 private slots:
  void vectorDiagramDrawsEveryThrowAndTheResultantOnSquareAxes() {
    TVDForm form;
    QVERIFY(form.Prepare(project.EngineData, model));
    const auto [l, j] = ResonanceList(model).front();
    form.NOmega->setValue(l);
    form.NGarm->setValue(j + 1);
    QCOMPARE(form.K->text(), QString::fromStdString(FormatGeneral(model.Calc->HarmOrders[j])));
    QCOMPARE(form.Diagram.Arrows.size(), static_cast<std::size_t>(project.EngineData.NSec) + 1);
    // One line per arrow and the origin point.
    QCOMPARE(form.VDChart->chart()->series().size(), project.EngineData.NSec + 2);
    const auto axes = form.VDChart->chart()->axes();
    auto* x = qobject_cast<QValueAxis*>(axes[0]);
    auto* y = qobject_cast<QValueAxis*>(axes[1]);
    form.resize(1100, 760);
    form.show();
    QApplication::processEvents();
    // Same scale on both axes: pixels per N·m equal, the shorter axis spans ±1.1·extent.
    const QRectF area = form.VDChart->chart()->plotArea();
    QCOMPARE(x->min(), -x->max());
    QCOMPARE(y->min(), -y->max());
    QVERIFY(qAbs(area.width() / (x->max() - x->min()) - area.height() / (y->max() - y->min())) < 1e-6 * area.width());
    QVERIFY(qAbs(std::min(x->max(), y->max()) - 1.1 * form.Diagram.Extent) < 1e-9 * form.Diagram.Extent);
    form.Phase->setChecked(true);
    QCOMPARE(form.Diagram.Arrows.size(), static_cast<std::size_t>(project.EngineData.NSec));
    form.hide();
  }

  void modeShapesFollowTheCheckBoxesAndTheMassChoice() {
    TFormsForm form;
    QVERIFY(form.Prepare(project.EngineData, model));
    QCOMPARE(static_cast<int>(form.ModeBoxes.size()), model.NModes() - 1);
    QCOMPARE(form.Series.size(), form.ModeBoxes.size());
    const auto all = ModeShapePoints(model, 1, false);
    QCOMPARE(form.Series[0]->count(), static_cast<int>(all.size()));
    QCOMPARE(form.Series[0]->at(1), QPointF(all[1].first, all[1].second));
    form.ModeBoxes[0]->setChecked(false);
    QCOMPARE(form.Series.size(), form.ModeBoxes.size());
    QVERIFY(form.Series[0]->points().isEmpty());
    QVERIFY(!form.Series[1]->points().isEmpty());
    form.MotorMasses->setChecked(true);
    QCOMPARE(form.Series[1]->count(), static_cast<int>(ModeShapePoints(model, 2, true).size()));
    QCOMPARE(form.Series[1]->at(0).x(), 0.0);
  }

  void frequenciesWindowOpensOnTheSummaryWithSumOfSquaresFilled() {
    TOmegaForm form;
    QVERIFY(form.Prepare(project.EngineData, model));
    QCOMPARE(form.Tabs->count(), 5);
    QCOMPARE(form.Tabs->currentWidget(), form.HarmonicTabs);
    QCOMPARE(form.HarmonicTabs->tabText(form.HarmonicTabs->currentIndex()), QString("Summary"));
    const TResultTableModel& summary = *form.Models.back();
    QCOMPARE(summary.rowCount(), static_cast<int>(ResonanceList(model).size()));
    QCOMPARE(summary.headerData(3, Qt::Horizontal, Qt::DisplayRole).toString(), QString("Sum(ai)^2"));
    QVERIFY(!summary.index(0, 3).data().toString().isEmpty());
    QCOMPARE(form.Models[0]->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), QString("k \\ L"));
  }

  void modelWithoutResultsOpensNoWindow() {
    TEngineDataStruct engine;
    TOscillCalcStruct empty(engine);
    TVDForm vectors;
    TFormsForm modes;
    TOmegaForm frequencies;
    QVERIFY(!vectors.Prepare(engine, empty));
    QVERIFY(!modes.Prepare(engine, empty));
    QCOMPARE(frequencies.ShowResults(engine, empty), int(QDialog::Rejected));
  }
};

QTEST_MAIN(TorsionViewsTest)
#include "TorsionViewsTest.moc"
