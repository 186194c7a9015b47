// The result tables window: refusal of a run without results, the shapes of its tables for the
// V16 example and a one-throw engine, split values in brackets, a factor without stress shown
// as "—", and Ctrl+C copying for a spreadsheet.
#include <QApplication>
#include <QClipboard>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>

#include "EVexaErrorUnit.h"
#include "ResultViewTestSupport.h"
#include "TableResultsFormUnit.h"

class TableResultsFormTest : public QObject {
  Q_OBJECT
  TTableResultsForm form;

  static int rowsCaptioned(const TResultTableModel& model, const QString& prefix) {
    int n = 0;
    for (int r = 0; r < model.rowCount(); ++r) n += model.index(r, 0).data().toString().startsWith(prefix);
    return n;
  }

 private slots:
  void runWithoutResultsIsRefusedWithErrorSix() {
    TEngineDataStruct engine;
    TDynamicCalcStruct empty(engine);
    try {
      form.Prepare(engine, empty);
      QFAIL("no error");
    } catch (const TEVexaError& error) {
      QCOMPARE(int(error.Code), 6);
      QCOMPARE(QString::fromStdString(error.Text), QString("Сначала необходимо выполнить расчёт (F3)"));
    }
  }

  void exampleHasAColumnPerThrowAndTwoSectionGroups() {
    TVexaProject& project = CalculatedExample();
    form.Prepare(project.EngineData, *project.Results.front());
    const int throws = project.EngineData.NSec;
    QCOMPARE(form.Tabs->count(), 5);
    QCOMPARE(form.Tabs->tabText(4), QString("&Запасы"));
    QCOMPARE(form.NCyl->maximum(), 2 * throws);
    QCOMPARE(form.Models[1]->columnCount(), throws + 1);
    QCOMPARE(form.Models[4]->columnCount(), throws + 2);
    QCOMPARE(form.Models[4]->headerData(throws + 1, Qt::Horizontal, Qt::DisplayRole).toString(), QString("Мин. значение"));
    QCOMPARE(form.Models[4]->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), QString("Секция 1"));
    QCOMPARE(rowsCaptioned(*form.Models[3], "Изгиб шатунной шейки (амплитуда), Сечение "), 2);
    QVERIFY(form.Views[1]->columnWidth(0) >= 300);
    QVERIFY(form.Views[1]->columnWidth(1) >= 70);
    QVERIFY(form.Views[3]->columnWidth(1) >= 100);
    // The per-cylinder table: one row per step but the last, eight columns.
    QCOMPARE(form.Models[0]->rowCount(), static_cast<int>(project.Results.front()->AngleGrid.size()) - 1);
    QCOMPARE(form.Models[0]->columnCount(), 8);
  }

  void changingTheCylinderRefillsTheFirstTabOnly() {
    TVexaProject& project = CalculatedExample();
    form.Prepare(project.EngineData, *project.Results.front());
    const QString forces = form.Models[0]->index(10, 1).data().toString();
    const QString safety = form.Models[4]->index(0, 1).data().toString();
    form.NCyl->setValue(form.NCyl->maximum());
    QVERIFY(form.Models[0]->index(10, 1).data().toString() != forces);
    QCOMPARE(form.Models[4]->index(0, 1).data().toString(), safety);
  }

  void oneThrowEngineHasOneColumnAndOneSectionGroup() {
    TOneThrowRun one;
    form.Prepare(one.engine, *one.run);
    QCOMPARE(form.NCyl->maximum(), 1);
    QCOMPARE(form.Models[1]->columnCount(), 2);
    QCOMPARE(form.Models[4]->columnCount(), 3);
    QCOMPARE(rowsCaptioned(*form.Models[3], "Изгиб шатунной шейки (амплитуда), Сечение 0"), 1);
    QCOMPARE(rowsCaptioned(*form.Models[3], "Изгиб шатунной шейки (амплитуда), Сечение 1"), 0);
  }

  void splitValuesStandInBracketsAndAFactorWithoutStressIsADash() {
    TOneThrowRun one;
    form.Prepare(one.engine, *one.run);
    const TResultTableModel& safety = *form.Models[4];
    QCOMPARE(safety.index(0, 0).data().toString(), QString("Кручение правой коренной шейки (масл. отв.)"));
    QVERIFY(safety.index(0, 1).data().toString().contains(QRegularExpression(R"(^\S+ \(\S+\)$)")));
    // The split scheme gives no bending of the main journal: its factor is unlimited.
    QCOMPARE(safety.index(1, 0).data().toString(), QString("Изгиб правой коренной шейки (масл. отв.)"));
    const QString cell = safety.index(1, 1).data().toString();
    QVERIFY2(cell.endsWith(" (—)"), qPrintable(cell));
    QCOMPARE(safety.index(1, 1).data(Qt::ToolTipRole).toString(), QString("напряжения отсутствуют"));
    QVERIFY(safety.index(0, 1).data(Qt::ToolTipRole).isNull());
    QCOMPARE(ShownResultCell("1e+30 (21e+30)"), QString("— (21e+30)"));
  }

  void ctrlCCopiesTheSelectionAsTabSeparatedLines() {
    TOneThrowRun one;
    form.Prepare(one.engine, *one.run);
    TResultTableView* view = form.Views[4];
    const auto* model = form.Models[4];
    view->selectionModel()->select(QItemSelection(model->index(0, 0), model->index(1, 1)), QItemSelectionModel::Select);
    QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
    const QStringList lines = QApplication::clipboard()->text().split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines[1], model->index(1, 0).data().toString() + "\t" + model->index(1, 1).data().toString());

    view->clearSelection();
    view->selectColumn(1);
    const QStringList column = SelectionAsText(*view).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(column.front(), QString("Секция 1"));
    QCOMPARE(column.size(), model->rowCount() + 1);
  }
};

QTEST_MAIN(TableResultsFormTest)
#include "TableResultsFormUnitTest.moc"
