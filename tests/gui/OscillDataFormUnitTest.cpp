// The torsional data page: the working copies behind the grids when the chain shrinks and
// grows, what storing keeps, the mirror of the stiffness table, the motor-mass fill, a cell
// that is not a number, and that showing the page does not mark the project.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

#include "EngineDataStructUnit.h"
#include "GuiTestSupport.h"
#include "MassChainViewUnit.h"
#include "MotorMassUnit.h"
#include "PageGridUnit.h"
#include "OscillDataFormUnit.h"

class OscillDataFormTest : public QObject {
  Q_OBJECT
  TEngineDataStruct data;
  int notifications = 0;
  TScriptedDialogs dialogs;

  void watch() {
    notifications = 0;
    data.OwnerNotify = [this](int n) {
      if (n == NotifyModified) ++notifications;
    };
  }

 private slots:
  void init() {
    data = TEngineDataStruct();
    LoadExample(data);
    watch();
    dialogs.Errors.clear();
  }

  void showingAndCancelLeaveTheProjectUntouched() {
    const TReal2DArray stiffness = data.CMatrix;
    TOscillDataForm page;
    RunPageWith(page, data, [&] {
      QCOMPARE(page.I_StringGrid->Grid()->columnCount() - 1, int(data.NMass));
      // A click into a grid is no change.
      page.C_StringGrid->setCurrentIndex(page.C_StringGrid->Grid()->index(0, 2));
      page.CancelButton->click();
    });
    QCOMPARE(notifications, 0);
    QVERIFY(data.CMatrix == stiffness);
  }
  void loweringNMassKeepsTheOtherValuesUntilStored() {
    const int n = data.NMass;
    QVERIFY(n >= data.NSec + 3);
    const double lastJ = data.IMass[n - 1];
    const double lastC = data.CMatrix[n - 1][n - 2];
    QVERIFY(lastJ != 0);
    TOscillDataForm page;
    RunPageWith(page, data, [&] {
      page.NMass->setValue(n - 2);
      QCOMPARE(page.I_StringGrid->Grid()->columnCount() - 1, n - 2);
      QCOMPARE(page.WorkingJ()[n - 1], lastJ);
      page.NMass->setValue(n);
      QCOMPARE(page.I_StringGrid->Number(0, n), lastJ);
      QCOMPARE(page.C_StringGrid->Number(n - 2, n), lastC);
      // Stored with the shorter chain, the rest is dropped from the working copies as well.
      page.NMass->setValue(n - 2);
      page.ApplyButton->click();
      QCOMPARE(page.WorkingJ()[n - 1], 0.0);
      page.NMass->setValue(n);
      QCOMPARE(page.I_StringGrid->Number(0, n), 0.0);
      page.CancelButton->click();
    });
    QCOMPARE(int(data.NMass), n - 2);
    QCOMPARE(data.IMass.size(), std::size_t(n - 2));
    QCOMPARE(data.CMatrix.size(), std::size_t(n - 2));
    QVERIFY(notifications > 0);
  }
  void theEditedCellWinsOverItsPaintedOutMirror() {
    TOscillDataForm page;
    RunPageWith(page, data, [&] {
      // Section between masses 2 and 3: column 3, row 2.
      page.C_StringGrid->Grid()->setData(page.C_StringGrid->Grid()->index(1, 3), "1234", Qt::EditRole);
      // The painted-out mirror cannot be typed into.
      QVERIFY(!page.C_StringGrid->Grid()->setData(page.C_StringGrid->Grid()->index(2, 2), "1", Qt::EditRole));
      page.OKButton->click();
    });
    QCOMPARE(data.CMatrix[2][1], 1234.0);
    QCOMPARE(data.CMatrix[1][2], 1234.0);
  }
  void aCellThatIsNotANumberStopsOkAndIsSelected() {
    const TReal1DArray inertia = data.IMass;
    TOscillDataForm page;
    const int result = RunPageWith(page, data, [&] {
      page.nMin->setText("50");
      page.I_StringGrid->Grid()->setData(page.I_StringGrid->Grid()->index(0, 4), "1.2.3", Qt::EditRole);
      page.OKButton->click();
      QVERIFY(page.isVisible());
      QCOMPARE(page.I_StringGrid->currentIndex().column(), 4);
    });
    QCOMPARE(result, int(QDialog::Rejected));
    QVERIFY(data.IMass == inertia);
    QVERIFY(data.nMin != 50);
    QCOMPARE(dialogs.Errors.size(), 1);
    QVERIFY(dialogs.Errors[0].contains("столбец \"4\""));
    QVERIFY(dialogs.Errors[0].contains("1.2.3"));
  }
  void motorMassFillGivesTheEngineValuesToTheMotorRangeOnly() {
    const MotorMass::TThrow expected = MotorMass::Compute(data);
    const int first = data.NFirstMass, n = data.NMass;
    TOscillDataForm page;
    RunPageWith(page, data, [&] {
      page.I_StringGrid->Grid()->setData(page.I_StringGrid->Grid()->index(0, n), "77", Qt::EditRole);
      page.CalcCBut->click();
      for (int i = first; i < first + data.NSec; ++i) QCOMPARE(page.WorkingJ()[i - 1], expected.J);
      for (int i = first; i < first + data.NSec - 1; ++i) QCOMPARE(page.WorkingC()[i][i - 1], expected.Cs);
      QCOMPARE(page.WorkingJ()[n - 1], 77.0);
      page.OKButton->click();
    });
    QCOMPARE(data.IMass[first - 1], expected.J);
    QCOMPARE(data.CMatrix[first - 1][first], expected.Cs);
  }
  void motorMassFillWithOneThrowSetsNoStiffness() {
    TEngineDataStruct small = data;
    small.NSec = 1;
    small.ResizeTorsionalModel(3);
    small.NFirstMass = 2;
    small.CMatrix.assign(3, TReal1DArray(3, 0.0));
    small.IMass.assign(3, 0.0);
    TOscillDataForm page;
    RunPageWith(page, small, [&] {
      page.CalcCBut->click();
      QVERIFY(page.WorkingJ()[1] > 0);
      QCOMPARE(page.WorkingJ()[0], 0.0);
      for (const TReal1DArray& row : page.WorkingC())
        for (double c : row) QCOMPARE(c, 0.0);
    });
  }
  void dampingFieldsFollowTheDamperType() {
    TOscillDataForm page;
    data.Damper = true;
    data.DamperType = 1;
    RunPageWith(page, data, [&] {
      QVERIFY(page.RefDamper->isVisible());
      QVERIFY(!page.JmDamper->isVisible());
      page.Damper->click();
      QVERIFY(!page.RefDamper->isVisible());
      QVERIFY(!page.DamperType->isVisible());
    });
  }
  void aRefusedSpeedRangeIsMarkedButStored() {
    TOscillDataForm page;
    RunPageWith(page, data, [&] {
      page.nMax->setText("10");
      page.nMin->setText("100");
      QVERIFY(page.nMax->toolTip().contains("больше минимальной"));
      page.OKButton->click();
    });
    QCOMPARE(data.nMax, 10.0);
  }
  void refusedCellsAreMarkedButStored() {
    TOscillDataForm page;
    RunPageWith(page, data, [&] {
      TPageGridModel* j = page.I_StringGrid->Grid();
      TPageGridModel* c = page.C_StringGrid->Grid();
      j->setData(j->index(0, 3), "0", Qt::EditRole);
      QVERIFY(j->Warning(0, 3).contains("больше нуля"));
      QVERIFY(j->data(j->index(0, 3), Qt::ToolTipRole).toString().contains("больше нуля"));
      // A section between masses 1 and 3 skips mass 2; neighbouring sections are fine.
      c->setData(c->index(0, 3), "500", Qt::EditRole);
      QVERIFY(c->Warning(0, 3).contains("несоседними"));
      QVERIFY(c->Warning(0, 2).isEmpty());
      c->setData(c->index(0, 3), "0", Qt::EditRole);
      QVERIFY(c->Warning(0, 3).isEmpty());
      page.OKButton->click();
    });
    QCOMPARE(data.IMass[2], 0.0);
  }
  void thePictureFollowsTheGrid() {
    TOscillDataForm page;
    RunPageWith(page, data, [&] {
      QCOMPARE(int(page.ChainView->Picture().Discs.size()), int(data.NMass));
      page.I_StringGrid->Grid()->setData(page.I_StringGrid->Grid()->index(0, 1), "1e6", Qt::EditRole);
      QCOMPARE(page.ChainView->Picture().Discs[0].Radius, 0.5);
    });
  }
};

QTEST_MAIN(OscillDataFormTest)
#include "OscillDataFormUnitTest.moc"
