// The working-process page: the diagram-source rules, the ignition-advance field, the speed
// handed to the project, a quoted file name, ".qin" files and the chart of the diagram.
#include <QButtonGroup>
#include <QChartView>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include "EngineDataStructUnit.h"
#include "GuiTestSupport.h"
#include "QinDataDlgUnit.h"

class QinDataDlgTest : public QObject {
  Q_OBJECT
  TEngineDataStruct data;
  int notifications = 0;
  TScriptedDialogs dialogs;

 private slots:
  void init() {
    data = TEngineDataStruct();
    LoadExample(data);
    data.IDSource = 0;
    notifications = 0;
    data.OwnerNotify = [this](int n) {
      if (n == NotifyModified) ++notifications;
    };
    dialogs.Errors.clear();
    dialogs.Messages.clear();
  }

  void switchingTheSourceHidesAndRestoresTheParameters() {
    TQinDataForm page;
    RunPageWith(page, data, [&] {
      QVERIFY(page.ParamsGroup->isVisible());
      QVERIFY(!page.IDFilenameEdit->isVisible());
      page.Field("PK")->setText("0.31");
      page.IDRadioGroup->button(1)->click();
      QVERIFY(!page.ParamsGroup->isVisible());
      QVERIFY(!page.SchemeGroup->isVisible());
      QVERIFY(page.IDFilenameEdit->isVisible());
      page.IDRadioGroup->button(0)->click();
      QVERIFY(page.ParamsGroup->isVisible());
      QCOMPARE(page.Field("PK")->text(), QString("0.31"));
      page.OKButton->click();
    });
    QCOMPARE(data.Qin.PK, 0.31);
    QCOMPARE(int(data.IDSource), 0);
  }
  void aSparkIgnitionEngineShowsTheIgnitionAdvanceAndKeepsBoth() {
    data.Qin.FOPT = -12;
    data.Qin.FOPZ = -25;
    TQinDataForm page;
    RunPageWith(page, data, [&] {
      QVERIFY(page.Field("FOPT")->isVisible());
      QVERIFY(!page.Field("FOPZ")->isVisible());
      page.EngineType->setCurrentIndex(1);
      QVERIFY(!page.Field("FOPT")->isVisible());
      QVERIFY(page.Field("FOPZ")->isVisible());
      page.OKButton->click();
    });
    QCOMPARE(data.Qin.FOPT, -12.0);
    QCOMPARE(data.Qin.FOPZ, -25.0);
    QCOMPARE(int(data.Qin.EngineType), 1);
  }
  void applyHandsTheSpeedToTheProject() {
    TQinDataForm page;
    RunPageWith(page, data, [&] {
      page.Field("N")->setText("1234");
      page.ApplyButton->click();
    });
    QCOMPARE(data.N, 1234.0);
    QCOMPARE(data.Qin.N, 1234.0);
  }
  void aQuotedFileNameIsStoredWithoutQuotes() {
    TQinDataForm page;
    RunPageWith(page, data, [&] {
      page.IDRadioGroup->button(1)->click();
      page.IDFilenameEdit->setText("\"C:\\Диаграммы\\a.dia\"");
      page.OKButton->click();
    });
    QCOMPARE(data.IDFileName, std::string("C:\\Диаграммы\\a.dia"));
    QCOMPARE(int(data.IDSource), 1);
  }
  void aLoadedQinFileKeepsTheDescriptionStrokesAndProjectValues() {
    QTemporaryDir folder;
    const QString file = folder.filePath("test.qin");
    TQinDataStruct derived = data.Qin;
    derived.RefreshDerived(data);
    const double bore = derived.D;
    QVERIFY(bore > 0);
    TQinDataForm page;
    RunPageWith(page, data, [&] {
      page.Field("PK")->setText("0.35");
      dialogs.FileNames = {file, file};
      page.ServButton1->click();
      page.Field("PK")->setText("0.2");
      page.Tau->setCurrentIndex(1);
      page.ServButton2->click();
      QCOMPARE(page.Field("PK")->text(), QString("0.35"));
      QCOMPARE(page.Tau->currentIndex(), 1);
      QCOMPARE(page.Field("D")->text().toDouble(), bore);
      QCOMPARE(page.Descr->text(), QString::fromStdString(data.ProjectName));
    });
    QVERIFY(dialogs.Errors.isEmpty());
  }
  void theChartShowsTheDiagramFile() {
    data.IDSource = 1;
    data.IDFileName = "V16-26-26.dia";
    TQinDataForm page;
    page.setProperty("projectFolder", QString(VEXA_SOURCE_DIR) + "/examples");
    RunPageWith(page, data, [&] {
      const QList<QAbstractSeries*> series = page.DiagramChart->chart()->series();
      QCOMPARE(series.size(), 1);
      auto* line = qobject_cast<QLineSeries*>(series[0]);
      QVERIFY(line->count() >= 360);
      // The firing top dead centre is at 0°: the peak pressure lies just after it.
      double peakAngle = 0, peak = 0;
      for (const QPointF& point : line->points())
        if (point.y() > peak) peak = point.y(), peakAngle = point.x();
      QVERIFY2(peakAngle < 40 || peakAngle > 700, qPrintable(QString::number(peakAngle)));
    });
    QCOMPARE(notifications, 0);
  }
  void aMissingDiagramFileIsNamedBesideTheChart() {
    data.IDSource = 1;
    data.IDFileName = "no-such.dia";
    TQinDataForm page;
    RunPageWith(page, data, [&] {
      QVERIFY(page.DiagramChart->chart()->series().isEmpty());
      QVERIFY(page.DiagramNote->text().contains("no-such.dia"));
    });
  }
  void choosingADiagramFileWarnsAboutTheConsequences() {
    TQinDataForm page;
    RunPageWith(page, data, [&] {
      page.IDRadioGroup->button(1)->click();
      dialogs.FileNames = {QString(VEXA_SOURCE_DIR) + "/examples/V16-26-26.dia"};
      page.ChooseDiagramFile();
      QCOMPARE(dialogs.Messages.size(), 1);
      QVERIFY(dialogs.Messages[0].startsWith("Выбран ввод индикаторной диаграммы из файла"));
      QCOMPARE(page.DiagramChart->chart()->series().size(), 1);
    });
  }
};

QTEST_MAIN(QinDataDlgTest)
#include "QinDataDlgUnitTest.moc"
