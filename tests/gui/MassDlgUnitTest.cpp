// The masses page: grid sizes from the engine data, the counterweight radius that may not be
// zero, degrees and radians, empty cells, and what marks the project modified.
#include <QtTest>
#include <numbers>

#include "MassDlgUnit.h"
#include "PageTestSupport.h"
#include "SketchWidgetUnit.h"

class MassDlgTest : public QObject {
  Q_OBJECT
  std::unique_ptr<TPageData> d;
  std::unique_ptr<TMassDlg> page;
  std::unique_ptr<TScriptedDialogs> dialogs;

 private slots:
  void init() {
    dialogs = std::make_unique<TScriptedDialogs>();
    d = std::make_unique<TPageData>();
    for (int w = 1; w <= MaxWebs; ++w) d->data.Rpr[w] = 0.2 + w;  // no zero radius to start with
    page = std::make_unique<TMassDlg>();
    OpenPage(*page, d->data);
  }
  void cleanup() {
    page.reset();
    dialogs.reset();
  }

  void gridsFollowTheEngineCountsAndKeepTheWebsBeyond() {
    QCOMPARE(page->MpdStringGrid->Grid()->rowCount(), 2);
    QCOMPARE(page->ProtStringGrid->Grid()->rowCount(), 16);
    QCOMPARE(page->MpdStringGrid->Grid()->Cell(0, 1), QString("1012.7"));
    QCOMPARE(d->modified, 0);  // showing the page changes nothing
    TypeIntoCell(page->ProtStringGrid, 15, 1, "40");
    QVERIFY(d->modified > 0);
    page->OKButton->click();
    QCOMPARE(d->data.Msh[16], 40.0);
    for (int w = 17; w <= 20; ++w) QCOMPARE(d->data.Rpr[w], 0.2 + w);
  }

  void zeroCounterweightRadiusBecomesOneTenthOfAMillimetre() {
    TypeIntoCell(page->ProtStringGrid, 2, 4, "0");
    page->ApplyButton->click();
    QCOMPARE(d->data.Rpr[3], 0.0001);
    QCOMPARE(page->ProtStringGrid->Grid()->Cell(2, 4), QString("0.0001"));
  }

  void counterweightAngleIsStoredInRadiansItsSectorInDegrees() {
    TypeIntoCell(page->ProtStringGrid, 0, 5, "180");
    TypeIntoCell(page->ProtStringGrid, 0, 6, "180");
    page->ApplyButton->click();
    QCOMPARE(d->data.AlphaPr[1], std::numbers::pi);
    QCOMPARE(d->data.FiPr[1], 180.0);
    OpenPage(*page, d->data);
    QCOMPARE(page->ProtStringGrid->Grid()->Cell(0, 5), QString("180"));
  }

  void aClearedCellIsStoredAsZero() {
    d->data.M2[2] = 55;
    OpenPage(*page, d->data);
    TypeIntoCell(page->MpdStringGrid, 1, 2, "");
    page->OKButton->click();
    QCOMPARE(d->data.M2[2], 0.0);
  }

  void aTextThatIsNotANumberStoresNothing() {
    TypeIntoCell(page->MpdStringGrid, 0, 1, "500");
    TypeIntoCell(page->ProtStringGrid, 3, 2, "abc");
    page->OKButton->click();
    QVERIFY(page->isVisible());
    QCOMPARE(d->data.Mpd[1], 1012.7);
    QCOMPARE(dialogs->Errors.size(), 1);
    QVERIFY(dialogs->Errors[0].contains("Параметры щёк и противовесов, строка \"4\", столбец \"Rщ, м\""));
  }

  void thePictureShowsTheSelectedWebsThrowAndMarksANegativeMass() {
    TypeIntoCell(page->ProtStringGrid, 4, 3, "50");  // web 5: section 3
    bool found = false;
    for (const TSketchItem& item : page->MassScheme->Sketch().Items)
      found = found || (item.Field == "Mpr" && item.Kind == TSketchKind::Circle);
    QVERIFY(found);
    TypeIntoCell(page->ProtStringGrid, 4, 1, "-5");
    QVERIFY(page->ProtStringGrid->Grid()->Warning(4, 1).contains("Mщ = -5 кг/м2"));
  }
};

QTEST_MAIN(MassDlgTest)
#include "MassDlgUnitTest.moc"
