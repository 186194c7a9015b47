// The cylinder cut-out page: a box per cylinder, sized from the engine data each time.
#include <QTableWidget>
#include <QtTest>

#include "CylEnableDlgUnit.h"
#include "PageTestSupport.h"

class CylEnableDlgTest : public QObject {
  Q_OBJECT

 private slots:
  void untickingACylinderStoresItCutOutAndMarksTheProject() {
    TPageData d;
    TCylEnableDlg page;
    OpenPage(page, d.data);
    QCOMPARE(d.modified, 0);
    QCOMPARE(page.CylEnabledTable->columnCount(), 9);
    QCOMPARE(page.CylEnabledTable->rowCount(), 3);
    QCOMPARE(page.CylEnabledTable->item(0, 0)->text(), QString("№ ряда\\№ секции"));
    QCOMPARE(page.CylEnabledTable->item(2, 3)->checkState(), Qt::Checked);
    page.CylEnabledTable->item(2, 3)->setCheckState(Qt::Unchecked);  // section 3, row 2
    QVERIFY(d.modified > 0);
    page.OKButton->click();
    QVERIFY(!d.data.CylEnabled[3][2]);
    QVERIFY(d.data.CylEnabled[3][1]);
    QVERIFY(d.data.CylEnabled[10][11]);
  }

  void cancelLeavesTheData() {
    TPageData d;
    TCylEnableDlg page;
    OpenPage(page, d.data);
    page.CylEnabledTable->item(1, 1)->setCheckState(Qt::Unchecked);
    page.CancelButton->click();
    QVERIFY(d.data.CylEnabled[1][1]);
  }

  void reopeningAfterTheSectionsChangedShowsTheNewColumns() {
    TPageData d;
    TCylEnableDlg page;
    OpenPage(page, d.data);
    page.CancelButton->click();
    d.data.NSec = 5;
    d.data.CylEnabled[5][2] = false;
    OpenPage(page, d.data);
    QCOMPARE(page.CylEnabledTable->columnCount(), 6);
    QCOMPARE(page.CylEnabledTable->item(2, 5)->checkState(), Qt::Unchecked);
    QCOMPARE(d.modified, 0);
  }
};

QTEST_MAIN(CylEnableDlgTest)
#include "CylEnableDlgUnitTest.moc"
