// The result items of the task tree: after F3 on the example each opens its own view, the
// resonance group through the run selector, and a view of a run without results is refused.
#include <QTest>

#include "GuiTestSupport.h"
#include "ResultViewTestSupport.h"

class ResultViewsTest : public QObject {
  Q_OBJECT
  std::unique_ptr<TMainFixture> f;
  QTemporaryDir folder;

 private slots:
  void initTestCase() { f = std::make_unique<TMainFixture>(); }
  void cleanupTestCase() { f.reset(); }

  void everyResultItemOpensItsViewAfterTheCalculation() {
    TMDIChildWin* child = f->main->OpenProject(CopyExample(folder));
    QVERIFY(child);
    f->main->CalcDynamicExecute();
    QVERIFY(child->Project().Results.size() > 1);
    const std::pair<QString, QString> items[] = {
        {"Графическое представление", "Мастер диаграмм"},
        {"Табличное представление", "Результаты расчёта - табличное представление"},
        {"Вывод в файлы и на печать", "Вывод результатов в файлы и на печать"},
        {"Режимы, напряжения", "Крутильные колебания"},
        {"Фазовые диаграммы", "Фазовые диаграммы"},
        {"Формы колебаний", "Формы колебаний"},
        {"Общее заключение по прочности", "Общее заключение по прочности"}};
    for (const auto& [item, title] : items) {
      QString shown;
      closeNextModal(&shown);
      child->TaskTreeViewClick(itemOf(*child, item));
      QVERIFY2(shown.startsWith(title), qPrintable(item + " → " + shown));
    }
    QVERIFY(f->dialogs.Errors.isEmpty());
  }

  void resonanceGroupOpensTheChosenRun() {
    TMDIChildWin* child = f->main->ActiveChild();
    QVERIFY(child);
    f->dialogs.RunChoices.push_back(0);
    QString shown;
    closeNextModal(&shown);
    child->TaskTreeViewClick(itemOf(*child, "Табличное представление "));
    QVERIFY(shown.startsWith("Результаты расчёта - табличное представление"));
    QVERIFY(f->dialogs.RunLists.back().contains("об/мин"));
    // Cancel in the run selector opens nothing.
    shown.clear();
    closeNextModal(&shown);
    child->TaskTreeViewClick(itemOf(*child, "Графическое представление "));
    QVERIFY(shown.isEmpty());
  }
};

QTEST_MAIN(ResultViewsTest)
#include "ResultViewsUnitTest.moc"
