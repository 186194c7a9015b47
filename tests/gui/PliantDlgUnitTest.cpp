// The support compliance page: one column per support, the general number format, the mark
// of a zero compliance, and the columns following the sections applied on the layout page.
#include <QtTest>

#include "PageTestSupport.h"
#include "PliantDlgUnit.h"

class PliantDlgTest : public QObject {
  Q_OBJECT

 private slots:
  void eightSectionsGiveNineSupportsInGeneralFormat() {
    TPageData d;
    TPliantDlg page;
    OpenPage(page, d.data);
    QCOMPARE(page.PliantStringGrid->Grid()->columnCount(), 10);  // titles + 9 supports
    QCOMPARE(page.PliantStringGrid->Grid()->rowCount(), 4);
    QCOMPARE(page.PliantStringGrid->Grid()->Cell(0, 1), QString("1E-12"));
    QCOMPARE(page.PliantStringGrid->Grid()->Cell(3, 9), QString("0.001"));
    QCOMPARE(d.modified, 0);
  }

  void rowsBindPyPxPmyPmxAndZeroIsMarkedButStored() {
    TPageData d;
    TPliantDlg page;
    OpenPage(page, d.data);
    TypeIntoCell(page.PliantStringGrid, 0, 2, "2e-9");
    TypeIntoCell(page.PliantStringGrid, 1, 2, "3e-9");
    TypeIntoCell(page.PliantStringGrid, 2, 2, "4e-7");
    TypeIntoCell(page.PliantStringGrid, 3, 2, "0");
    QVERIFY(d.modified > 0);
    QVERIFY(page.PliantStringGrid->Grid()->Warning(3, 2).contains("Pmx опоры 2 = 0 рад/Нм"));
    QVERIFY(page.PliantStringGrid->Grid()->Warning(2, 2).isEmpty());
    page.OKButton->click();
    QCOMPARE(d.data.Py[2], 2e-9);
    QCOMPARE(d.data.Px[2], 3e-9);
    QCOMPARE(d.data.Pmy[2], 4e-7);
    QCOMPARE(d.data.Pmx[2], 0.0);
    QCOMPARE(d.data.Py[10], 1e-12);  // supports beyond the engine's keep their values
  }

  void fewerSectionsGiveFewerColumnsOnTheNextOpening() {
    TPageData d;
    TPliantDlg page;
    OpenPage(page, d.data);
    page.CancelButton->click();
    d.data.NSec = 3;
    OpenPage(page, d.data);
    QCOMPARE(page.PliantStringGrid->Grid()->columnCount(), 5);
  }
};

QTEST_MAIN(PliantDlgTest)
#include "PliantDlgUnitTest.moc"
