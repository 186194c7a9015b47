// The layout page: the counts rebuild the tables, the one-row rules, the rod arrangement,
// firing angles in degrees, a cell that is not a number, and what marks the project modified.
#include <QAbstractButton>
#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QSpinBox>
#include <QtTest>
#include <numbers>

#include "FloatSpinEditUnit.h"
#include "KomponovkaDlgUnit.h"
#include "PageTestSupport.h"
#include "SketchWidgetUnit.h"

class KomponovkaDlgTest : public QObject {
  Q_OBJECT
  std::unique_ptr<TPageData> d;
  std::unique_ptr<TKomponovkaDlg> page;
  std::unique_ptr<TScriptedDialogs> dialogs;

 private slots:
  void init() {
    dialogs = std::make_unique<TScriptedDialogs>();
    d = std::make_unique<TPageData>();  // a new project: 8 sections, 2 articulated rows
    page = std::make_unique<TKomponovkaDlg>();
    OpenPage(*page, d->data);
  }
  void cleanup() {
    page.reset();
    dialogs.reset();
  }

  void showingThePageDoesNotMarkTheProjectModified() {
    QCOMPARE(page->InitValTable->Grid()->columnCount(), 9);
    QCOMPARE(page->InitValTable->Grid()->rowCount(), 2);
    QCOMPARE(page->ConRodTable->Grid()->rowCount(), 2);
    QCOMPARE(d->modified, 0);
    // Clicking into a grid changes nothing either.
    QTest::mouseClick(page->InitValTable->viewport(), Qt::LeftButton, {},
                      page->InitValTable->visualRect(page->InitValTable->Grid()->index(1, 3)).center());
    QCOMPARE(d->modified, 0);
    page->CancelButton->click();
    QCOMPARE(d->modified, 0);
  }

  void oneRowShowsTheOffsetAndForcesSideBySideRods() {
    QVERIFY(!page->a->isVisible());
    QVERIFY(page->DispositionGroup->isEnabled());
    page->NRad->stepDown();  // the arrow
    QVERIFY(page->a->isVisible());
    QVERIFY(page->aLabel->isVisible());
    QVERIFY(!page->DispositionGroup->isEnabled());
    QVERIFY(page->Disposition->buttons()[0]->isChecked());
    QCOMPARE(page->ConRodTable->Grid()->rowCount(), 1);
    QCOMPARE(page->InitValTable->Grid()->rowCount(), 1);
    QVERIFY(d->modified > 0);
    page->a->setText("0.01");
    page->ApplyButton->click();
    QCOMPARE(int(d->data.NRad), 1);
    QCOMPARE(int(d->data.Disposition), 0);
    QCOMPARE(d->data.Dezax, 0.01);
  }

  void twoRowsStoreNoOffset() {
    d->data.Dezax = 0.01;
    OpenPage(*page, d->data);
    page->ApplyButton->click();
    QCOMPARE(d->data.Dezax, 0.0);
  }

  void sideBySideRodsStoreNoPinOffsetWhateverTheHiddenCellsHeld() {
    QCOMPARE(page->ConRodTable->Grid()->Cell(1, 2), QString("65"));
    QVERIFY(!page->ConRodTable->isColumnHidden(2));
    page->Disposition->buttons()[0]->click();
    QVERIFY(page->ConRodTable->isColumnHidden(2));
    QVERIFY(page->ConRodTable->isColumnHidden(3));
    QCOMPARE(page->ConRodTable->Grid()->Cell(1, 2), QString("65"));  // kept, only hidden
    page->ApplyButton->click();
    QCOMPARE(int(d->data.Disposition), 0);
    QCOMPARE(d->data.ConRodGamma1[2], 0.0);
    QCOMPARE(d->data.ConRodR1[2], 0.0);
    QCOMPARE(d->data.ConRodL[2], 0.5);
  }

  void masterRodNeverGetsAPinOffset() {
    TypeIntoCell(page->ConRodTable, 0, 2, "30");
    TypeIntoCell(page->ConRodTable, 0, 3, "0.1");
    page->ApplyButton->click();
    QCOMPARE(d->data.ConRodGamma1[1], 0.0);
    QCOMPARE(d->data.ConRodR1[1], 0.0);
    QCOMPARE(d->data.ConRodGamma1[2], 65 * std::numbers::pi / 180);
  }

  void firingAngleOf540IsStoredAs3PiAndShownAgainAs540() {
    TypeIntoCell(page->InitValTable, 1, 4, "540");
    QVERIFY(d->modified > 0);
    page->OKButton->click();
    QCOMPARE(page->result(), int(QDialog::Accepted));
    QVERIFY(std::fabs(d->data.FireAngle[4][2] - 3 * std::numbers::pi) < 1e-12);
    OpenPage(*page, d->data);
    QCOMPARE(page->InitValTable->Grid()->Cell(1, 4), QString("540"));
  }

  void aCellWithADecimalCommaStopsApplyAndNamesTheCell() {
    TypeIntoCell(page->InitValTable, 1, 4, "1,5");
    TypeIntoCell(page->InitValTable, 0, 2, "90");
    page->ApplyButton->click();
    QCOMPARE(d->data.FireAngle[2][1], 0.0);  // nothing stored
    QCOMPARE(dialogs->Errors.size(), 1);
    QVERIFY(dialogs->Errors[0].contains("строка \"2\", столбец \"4\""));
    QVERIFY(dialogs->Errors[0].contains("1,5"));
    QCOMPARE(page->InitValTable->currentIndex(), page->InitValTable->Grid()->index(1, 4));
  }

  void loweringTheSectionsKeepsTheHiddenAnglesAndRaisingShowsThemAgain() {
    TypeIntoCell(page->InitValTable, 0, 8, "270");
    page->NSec->setValue(4);
    QCOMPARE(page->InitValTable->Grid()->columnCount(), 5);
    page->NSec->setValue(8);
    QCOMPARE(page->InitValTable->Grid()->Cell(0, 8), QString("270"));
  }

  void aRodShorterThanTheCrankIsMarkedButStored() {
    TypeIntoCell(page->ConRodTable, 0, 1, "0.1");  // R = 0.13
    QVERIFY(!page->ConRodTable->Grid()->Warning(0, 1).isEmpty());
    QVERIFY(page->ConRodTable->Grid()->Warning(0, 1).contains("l = 0.1 м"));
    QVERIFY(page->ConRodTable->Grid()->Warning(1, 1).isEmpty());
    page->ApplyButton->click();
    QCOMPARE(d->data.ConRodL[1], 0.1);
  }

  void aOneRowEngineIsCheckedWithItsOffsetFromTheStart() {
    d->data.NRad = 1;
    d->data.Disposition = 0;
    d->data.Dezax = 0.5;  // rod 0.58 < R 0.13 + a 0.5
    page->hide();
    page->Data = &d->data;
    page->InitDialog();  // before the page is shown, as EditData does
    QVERIFY(!page->ConRodTable->Grid()->Warning(0, 1).isEmpty());
  }

  void theCrankStarFollowsTheTyping() {
    const auto throwEnd = [this](int nth) {
      for (const TSketchItem& item : page->CrankStar->Sketch().Items)
        if (item.Field == "throw" && item.Kind == TSketchKind::Line && nth-- == 0) return item.B;
      return TPoint2{};
    };
    QVERIFY(std::fabs(throwEnd(1).y - 1) < 1e-9);
    TypeIntoCell(page->InitValTable, 0, 2, "90");
    QVERIFY(std::fabs(throwEnd(1).x + 1) < 1e-9);
  }
};

QTEST_MAIN(KomponovkaDlgTest)
#include "KomponovkaDlgUnitTest.moc"
