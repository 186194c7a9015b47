// The strength summary window: the ten lines of the example with and without resonance runs,
// the weakest place in one line, and red for a factor below 1.
#include <QLabel>
#include <QTest>
#include <QTreeWidget>

#include "CombTableFormUnit.h"
#include "NumberFormatUnit.h"
#include "ResultViewTestSupport.h"
#include "StrengthSummaryUnit.h"

class CombTableFormTest : public QObject {
  Q_OBJECT
  TCombTableForm form;

 private slots:
  void withResonanceRunsTheThirdColumnNamesSectionAndSpeed() {
    TVexaProject& project = CalculatedExample();
    QVERIFY(project.Results.size() > 1);
    form.Prepare(project.EngineData, project.Results);
    QCOMPARE(form.SafetyListView->topLevelItemCount(), 10);
    const auto values = StrengthSummaryValues(project.Results);
    for (int i = 0; i < 10; ++i) {
      const QTreeWidgetItem* item = form.SafetyListView->topLevelItem(i);
      const auto& v = values[static_cast<std::size_t>(i)];
      QCOMPARE(item->text(0), QString::fromStdString(v.Caption));
      QCOMPARE(item->text(1), QString::fromStdString(FormatSignificant(v.Design, 4)) +
                                  QString(" в секции №%1").arg(v.DesignSection));
      QVERIFY2(item->text(2).endsWith(" об/мин") && item->text(2) != NoResonanceRuns, qPrintable(item->text(2)));
      QCOMPARE(item->foreground(1).color() == Qt::red, v.Design < 1);
    }
    QVERIFY(form.Weakest->text().startsWith("Наименьший запас: "));
  }

  void withoutResonanceRunsTheThirdColumnSaysSoInsteadOfAnUnlimitedFactor() {
    TVexaProject& project = CalculatedExample();
    TDynamicCalcArray designOnly;
    designOnly.push_back(std::move(project.Results.front()));
    form.Prepare(project.EngineData, designOnly);
    project.Results.front() = std::move(designOnly.front());
    for (int i = 0; i < 10; ++i) {
      const QString text = form.SafetyListView->topLevelItem(i)->text(2);
      QCOMPARE(text, QString("нет резонансных режимов"));
    }
    QVERIFY2(form.Weakest->text().endsWith("на расчётном режиме"), qPrintable(form.Weakest->text()));
    QVERIFY(!form.Weakest->text().contains("1e+30"));
  }

  void unlimitedFactorReadsAsADashWithItsSection() {
    QCOMPARE(SummaryFactorText(1e30, 3), QString("— в секции №3"));
    QCOMPARE(SummaryFactorText(1.875, 2, 1234.5), QString("1.875 в секции №2 на частоте 1234 об/мин"));
  }
};

QTEST_MAIN(CombTableFormTest)
#include "CombTableFormUnitTest.moc"
