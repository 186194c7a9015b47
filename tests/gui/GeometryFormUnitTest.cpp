// The geometry page: the lowest counterweight offset, OK recomputing the concentration
// coefficients, the sketch's highlight of the field under the cursor and the red marks.
#include <QEvent>
#include <QSpinBox>
#include <QtTest>

#include "FloatSpinEditUnit.h"
#include "GeometryFormUnit.h"
#include "GraphFileUnit.h"
#include "PageTestSupport.h"
#include "ProjectFileUnit.h"
#include "SketchWidgetUnit.h"

class GeometryFormTest : public QObject {
  Q_OBJECT
  std::unique_ptr<TPageData> d;
  std::unique_ptr<TGeometryForm> page;
  std::unique_ptr<TScriptedDialogs> dialogs;

 private slots:
  void init() {
    dialogs = std::make_unique<TScriptedDialogs>();
    d = std::make_unique<TPageData>();
    LoadProjectFile(d->data, ExampleProject().toStdString());
    d->watch();
    page = std::make_unique<TGeometryForm>();
    page->GraphDir = GraphDirectory(std::filesystem::path(VEXA_SOURCE_DIR) / "data");
    OpenPage(*page, d->data);
  }
  void cleanup() {
    page.reset();
    dialogs.reset();
  }

  void showingAndCancelMarkNothing() {
    QCOMPARE(page->D->text(), QString("0.26"));
    QCOMPARE(page->FiMasl->value(), d->data.FiMasl);
    page->CancelButton->click();
    QCOMPARE(d->modified, 0);
  }

  void counterweightOffsetBelowTwoMillimetresBecomesTwo() {
    page->L6->setText("0.001");
    page->ApplyButton->click();
    QCOMPARE(d->data.L6, 0.002);
    QCOMPARE(page->L6->text(), QString("0.002"));
  }

  void okRecomputesTheConcentrationCoefficientsAndApplyDoesNot() {
    const double torsion = d->data.WebTorsionCoef, fillet = d->data.AlphaSgm_G_S;
    page->B->setText("0.09");
    page->RGalS->setText("0.01");
    page->ApplyButton->click();
    QCOMPARE(d->data.B, 0.09);
    QCOMPARE(d->data.WebTorsionCoef, torsion);
    QCOMPARE(d->data.AlphaSgm_G_S, fillet);
    page->OKButton->click();
    QVERIFY(dialogs->Errors.isEmpty());
    // Both are read from the design graphs at the new ratios.
    QVERIFY(d->data.WebTorsionCoef != torsion);
    QVERIFY(d->data.AlphaSgm_G_S != fillet);
  }

  void okWithCoefficientsThatCannotBeComputedStoresTheGeometryAndSaysWhy() {
    page->DsSh->setText("0");
    page->OKButton->click();
    QCOMPARE(d->data.DsSh, 0.0);
    QCOMPARE(dialogs->Errors.size(), 1);
    QVERIFY(dialogs->Errors[0].contains("коэффициенты концентрации не пересчитаны"));
  }

  void theSketchHighlightsTheFieldUnderTheCursor() {
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(page->DkSh, &enter);
    QCOMPARE(page->Sketch->Highlight(), std::string("DkSh"));
    QApplication::sendEvent(page->RGalS, &enter);
    QCOMPARE(page->Sketch->Highlight(), std::string("RgalS"));
  }

  void theSketchFollowsTheTyping() {
    auto pinLength = [this] {
      for (const TSketchItem& item : page->Sketch->Sketch().Items)
        if (item.Kind == TSketchKind::Rect && item.Field == "DsSh") return std::fabs(item.B.x - item.A.x);
      return 0.0;
    };
    const double before = pinLength();
    page->L0->setText("0.40");
    QVERIFY(std::fabs(pinLength() - before - 0.02) < 1e-12);
  }

  void impossibleValuesAreMarkedButStored() {
    page->RgalK->setText("0.2");  // larger than the journal's radius 0.11
    QVERIFY(!page->RgalK->Warning().isEmpty());
    QVERIFY(page->RgalK->toolTip().contains("Радиус галтели КШ, м (RgalK) = 0.2 м"));
    page->D->setText("0");
    QVERIFY(!page->D->Warning().isEmpty());
    page->D->setText("0.26");
    QVERIFY(page->D->Warning().isEmpty());
    QCOMPARE(page->D->toolTip(), QString("Значение диаметра цилиндра в метрах"));
    page->ApplyButton->click();
    QCOMPARE(d->data.RgalK, 0.2);
  }

  void arrowKeysStepTheValue() {
    QTest::keyClick(page->R, Qt::Key_Up);
    QCOMPARE(page->R->text(), QString("0.14"));
    QVERIFY(d->modified > 0);
    d->modified = 0;
    page->GammaMasl->stepUp();  // an arrow click on an integer field
    QVERIFY(d->modified > 0);
  }
};

QTEST_MAIN(GeometryFormTest)
#include "GeometryFormUnitTest.moc"
