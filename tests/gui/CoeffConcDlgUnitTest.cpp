// The concentration page: the two modes, the live recalculation (which must not reach the
// project before OK or Apply), the hardening factor, and OK storing recomputed coefficients.
#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "CoeffConcDlgUnit.h"
#include "ConcentrationCoeffsUnit.h"
#include "EngineDataStructUnit.h"
#include "GraphFileUnit.h"
#include "GuiTestSupport.h"

class CoeffConcDlgTest : public QObject {
  Q_OBJECT
  TEngineDataStruct data;
  int notifications = 0;
  TScriptedDialogs dialogs;
  const std::filesystem::path graphs = GraphDirectory(VEXA_BIN_DIR);

  void typeInto(QLineEdit* field, const QString& text) {
    field->setText(text);
    field->setModified(true);
    emit field->editingFinished();
  }

 private slots:
  void init() {
    data = TEngineDataStruct();
    LoadExample(data);
    data.CoeffsCalcRadio = 0;
    CalcConcentrationCoeffs(data, graphs);
    notifications = 0;
    data.OwnerNotify = [this](int n) {
      if (n == NotifyModified) ++notifications;
    };
  }

  void handModeMakesInputsEditableAndRecomputesTheEffectiveCoefficient() {
    TCoeffConcDlg page;
    page.GraphDir = graphs;
    const double before = data.KSgm_G_S;
    RunPageWith(page, data, [&] {
      QVERIFY(page.Field("qSigmV_S")->isReadOnly());
      QVERIFY(page.Field("AlphaSgmD0")->isVisible());
      page.CoeffsCalcRadio->button(1)->click();
      QVERIFY(!page.Field("qSigmV_S")->isReadOnly());
      QVERIFY(!page.Field("AlphaSgmD0")->isVisible());
      QVERIFY(page.Field("AlphaSgm_G_S")->isVisible());
      typeInto(page.Field("qSigmV_S"), "0.2");
      typeInto(page.Field("qSigmT_SigmV_S"), "0.2");
      QVERIFY(page.Field("KSgm_G_S")->text().toDouble() < before);
      // Effective coefficient K = 1 + q(α − 1) with the mean sensitivity shown on the page.
      const double q = page.Field("qSigm_S")->text().toDouble();
      const double alpha = page.Field("AlphaSgm_G_S")->text().toDouble();
      QVERIFY(std::abs(page.Field("KSgm_G_S")->text().toDouble() - (1 + q * (alpha - 1))) < 2e-3);
      page.CancelButton->click();
    });
    // The live recalculation worked on a scratch copy: Cancel leaves the project as it was.
    QCOMPARE(data.KSgm_G_S, before);
    QCOMPARE(int(data.CoeffsCalcRadio), 0);
  }
  void backToGraphsDiscardsTheEnteredValues() {
    TCoeffConcDlg page;
    page.GraphDir = graphs;
    const double fromGraphs = data.qSigmV_S;
    RunPageWith(page, data, [&] {
      page.CoeffsCalcRadio->button(1)->click();
      typeInto(page.Field("qSigmV_S"), "0.11");
      page.CoeffsCalcRadio->button(0)->click();
      QCOMPARE(page.Field("qSigmV_S")->text().toDouble(), fromGraphs);
    });
  }
  void shotPeeningTakesTheHardeningFactorOfItsGraph() {
    TCoeffConcDlg page;
    page.GraphDir = graphs;
    RunPageWith(page, data, [&] {
      page.StrengthType->setCurrentIndex(1);
      emit page.StrengthType->activated(1);
      QCOMPARE(page.Field("Knu")->text().toDouble(), HardeningFactor(graphs, 1));
      page.OKButton->click();
    });
    QCOMPARE(data.Knu, HardeningFactor(graphs, 1));
    QCOMPARE(int(data.StrengthType), 1);
  }
  void okStoresCoefficientsThatFollowTheStoredInputs() {
    TCoeffConcDlg page;
    page.GraphDir = graphs;
    RunPageWith(page, data, [&] {
      page.CoeffsCalcRadio->button(1)->click();
      typeInto(page.Field("AlphaSgm_G_S"), "3.5");
      page.OKButton->click();
    });
    TEngineDataStruct check = data;
    CalcConcentrationCoeffs(check, graphs);
    QCOMPARE(data.AlphaSgm_G_S, 3.5);
    QCOMPARE(data.KSgm_G_S, check.KSgm_G_S);
  }
  void aWebWiderThanTheGraphsIsNotedOnShowingAndTheExampleIsNot() {
    {
      TCoeffConcDlg page;
      page.GraphDir = graphs;
      RunPageWith(page, data, [&] { QVERIFY(!page.GraphRangeNotes->isVisible()); });
    }
    // H/DsSh = 3.16: the web-width graphs end at 2.6.
    data.H = 0.6;
    TCoeffConcDlg page;
    page.GraphDir = graphs;
    RunPageWith(page, data, [&] {
      QVERIFY(page.GraphRangeNotes->isVisible());
      const QString notes = page.GraphRangeNotes->text();
      QVERIFY2(notes.contains("\"BetsgmH.kft\"") && notes.contains("экстраполяция"), qPrintable(notes));
      // Switching the mode computes the notes again: entered by hand, only LamD and Mu are read.
      page.CoeffsCalcRadio->button(1)->click();
      QVERIFY(!page.GraphRangeNotes->text().contains("BetsgmH.kft"));
      page.CoeffsCalcRadio->button(0)->click();
      QVERIFY(page.GraphRangeNotes->text().contains("BetsgmH.kft"));
      page.CancelButton->click();
    });
  }
  void aMissingGraphFolderIsNamedWithoutStoppingThePage() {
    TCoeffConcDlg page;
    page.GraphDir = "/nonexistent/graphs";
    RunPageWith(page, data, [&] {
      QVERIFY(page.CalcMessage->isVisible());
      QVERIFY(!page.CalcMessage->text().isEmpty());
      QVERIFY(!page.GraphRangeNotes->isVisible());
    });
    QCOMPARE(notifications, 0);
  }
};

QTEST_MAIN(CoeffConcDlgTest)
#include "CoeffConcDlgUnitTest.moc"
