// The export page: the check list and its buttons, the text report for the edge cases of the
// check list, the workbook written by "Сохранить &Excel" and read back, a new project asking
// where to write, and a failed write leaving the previous file.
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "EVexaErrorUnit.h"
#include "GuiTestSupport.h"
#include "ResultViewTestSupport.h"
#include "SaveToFileDlgUnit.h"

namespace {

QString fileText(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(file.readAll());
}

// A member of a zip archive, through the unzip program.
QString zipMember(const QString& archive, const QString& member) {
  QProcess unzip;
  unzip.start("unzip", {"-p", archive, member});
  unzip.waitForFinished(30000);
  return QString::fromUtf8(unzip.readAllStandardOutput());
}

}  // namespace

class SaveToFileDlgTest : public QObject {
  Q_OBJECT
  TScriptedDialogs dialogs;
  TSaveToFileDlg page;
  QTemporaryDir folder;
  QString project;

  void prepare(const QString& projectFile) {
    TVexaProject& calculated = CalculatedExample();
    page.Prepare(calculated.EngineData, *calculated.Results.front(), calculated.Results, projectFile);
  }
  void tickOnly(std::initializer_list<int> positions) {
    for (int i = 0; i < page.ItemsToSave->count(); ++i) page.ItemsToSave->item(i)->setCheckState(Qt::Unchecked);
    for (int p : positions) page.ItemsToSave->item(p)->setCheckState(Qt::Checked);
  }

 private slots:
  void init() {
    project = folder.filePath("Проект.vxa");
    dialogs.Messages.clear();
    dialogs.Errors.clear();
    prepare(project);
  }

  void runWithoutResultsIsRefusedWithErrorSix() {
    TEngineDataStruct engine;
    TDynamicCalcStruct empty(engine);
    TDynamicCalcArray none;
    QVERIFY_THROWS_EXCEPTION(TEVexaError, page.Prepare(engine, empty, none, project));
  }

  void checkListButtonsTickAllAndInvert() {
    QCOMPARE(page.ItemsToSave->count(), 52);
    QCOMPARE(page.ItemsToSave->item(0)->text(), QString("=========== Результаты по цилиндрам ============"));
    QCOMPARE(page.ApplyButton->text(), QString("&Сохранить"));
    QCOMPARE(page.ServButton3->text(), QString("Сохранить &Excel"));
    tickOnly({3});
    page.ServButton2->click();
    QCOMPARE(page.ItemsToSave->item(3)->checkState(), Qt::Unchecked);
    QCOMPARE(page.ItemsToSave->item(4)->checkState(), Qt::Checked);
    page.ServButton1->click();
    for (int i = 0; i < 52; ++i) QVERIFY(page.TickedItems().IsTicked(i));
  }

  void nothingTickedWritesOnlyTheTwoSectionLines() {
    tickOnly({});
    page.ApplyButton->click();
    const QString report = folder.filePath("Проект.VexaRes");
    QCOMPARE(fileText(report), QString("=========== Результаты по цилиндрам ============\n\n\n\n"
                                       "============ Результаты по коленам =============\n"));
    QCOMPARE(dialogs.Messages.size(), 1);
    QVERIFY(dialogs.Messages.front().startsWith("Результаты сохранены в файле " + QDir::toNativeSeparators(report)) ||
            dialogs.Messages.front().startsWith("Результаты сохранены в файле " + report));
  }

  void lastThrowItemAloneGivesThrowBlocksOfOneColumn() {
    tickOnly({49});
    page.ApplyButton->click();
    const QString text = fileText(folder.filePath("Проект.VexaRes"));
    const int throws = CalculatedExample().EngineData.NSec;
    QCOMPARE(text.count("=========== Колено № "), throws);
    QCOMPARE(text.count("=========== Цилиндр № "), 0);
    QVERIFY(text.contains("alpha[1], град|[Разр.]MZ.gal2[1], Нм|\n"));
  }

  void throwHeaderAloneWritesNoThrowBlock() {
    tickOnly({17});
    page.ApplyButton->click();
    QVERIFY(!fileText(folder.filePath("Проект.VexaRes")).contains("Колено №"));
  }

  void excelButtonWritesAWorkbookWithTheTickedSheets() {
    tickOnly({7, 20, 50, 51});
    page.ServButton3->click();
    const QString book = folder.filePath("Проект.xlsx");
    QVERIFY(QFile::exists(book));
    QCOMPARE(dialogs.Messages.back(), "Результаты сохранены в файле " + book);
    const QString workbook = zipMember(book, "xl/workbook.xml");
    for (const QString sheet : {"Цилиндр 1", "Колено 1", "Напряжения", "Запасы прочности"})
      QVERIFY2(workbook.contains("name=\"" + sheet), qPrintable(sheet));
    QVERIFY(zipMember(book, "xl/sharedStrings.xml").contains("P[1], МПа"));
    // The first value row of "Цилиндр 1" holds numbers, not texts.
    const QString sheet = zipMember(book, "xl/worksheets/sheet1.xml");
    QVERIFY2(sheet.contains("<c r=\"B2\" s=\"") || sheet.contains("<c r=\"B2\"><v>"), qPrintable(sheet.left(600)));
    QVERIFY(!sheet.contains("<c r=\"B2\" t=\"s\""));
  }

  void failedWorkbookWriteIsErrorFiveWithTheReason() {
    QFile::remove(folder.filePath("Проект.xlsx"));
    QDir(folder.path()).mkdir("Проект.xlsx");  // a folder in the workbook's place cannot be replaced
    const QStringList before = QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    page.ServButton3->click();
    QCOMPARE(dialogs.Errors.size(), 1);
    QVERIFY2(dialogs.Errors.front().contains("Excel") || dialogs.Errors.front().contains("Ошибка"),
             qPrintable(dialogs.Errors.front()));
    QVERIFY(dialogs.Messages.isEmpty());
    QVERIFY(QFileInfo(folder.filePath("Проект.xlsx")).isDir());
    QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), before);
    QDir(folder.path()).rmdir("Проект.xlsx");
  }

  void textReportReplacesThePreviousOneOnlyWhenComplete() {
    const QString report = folder.filePath("Проект.VexaRes");
    QFile::remove(report);
    QDir(folder.path()).mkdir("Проект.VexaRes");  // a folder in the report's place cannot be replaced
    const QStringList before = QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    tickOnly({});
    page.ApplyButton->click();
    QCOMPARE(dialogs.Errors.size(), 1);
    QVERIFY(dialogs.Messages.isEmpty());
    QVERIFY(QFileInfo(report).isDir());
    QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), before);
    QDir(folder.path()).rmdir("Проект.VexaRes");
  }

  void newProjectAsksWhereToWrite() {
    prepare(QString());
    tickOnly({});
    dialogs.FileNames.push_back(folder.filePath("выбранный"));
    page.ApplyButton->click();
    QVERIFY(QFile::exists(folder.filePath("выбранный.VexaRes")));
    page.ApplyButton->click();  // the dialog cancelled: nothing written, nothing said
    QCOMPARE(dialogs.Messages.size(), 1);
  }
};

QTEST_MAIN(SaveToFileDlgTest)
#include "SaveToFileDlgUnitTest.moc"
