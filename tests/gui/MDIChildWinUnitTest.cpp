// The project window: saving (name asked for a new project, ".vxa" appended, the overwrite
// question, a failing save), loading a damaged file, the close decision and the recent files,
// the task tree's requirements and dispatch.
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

#include "CommonInfoDlgUnit.h"
#include "GuiTestSupport.h"
#include "ProjectFileUnit.h"

namespace {

QByteArray contents(const QString& file) {
  QFile f(file);
  f.open(QIODevice::ReadOnly);
  return f.readAll();
}

}  // namespace

class ProjectWindowTest : public QObject {
  Q_OBJECT
  std::unique_ptr<TMainFixture> f;
  QTemporaryDir folder;

 private slots:
  void init() { f = std::make_unique<TMainFixture>(); }
  void cleanup() { f.reset(); }

  void newProjectsAreNumberedByTheWindowsOpenBeforeThem() {
    QCOMPARE(f->main->NewProject()->Caption(), QString("Безымянный 0"));
    QCOMPARE(f->main->NewProject()->Caption(), QString("Безымянный 1"));
    TMDIChildWin* first = f->main->Children().first();
    QVERIFY(first->TryClose());
    QCOMPARE(f->main->NewProject()->Caption(), QString("Безымянный 1"));
  }

  void savingANewProjectAppendsTheExtension() {
    TMDIChildWin* child = f->main->NewProject();
    f->dialogs.FileNames = {folder.filePath("engine")};
    QVERIFY(child->Save());
    QVERIFY(QFileInfo::exists(folder.filePath("engine.vxa")));
    QCOMPARE(child->Caption(), QString("engine"));
    QVERIFY(!child->IsNew);
    QVERIFY(f->dialogs.Questions.isEmpty());
  }
  void aNameWithItsOwnExtensionKeepsIt() {
    TMDIChildWin* child = f->main->NewProject();
    f->dialogs.FileNames = {folder.filePath("engine.bak")};
    QVERIFY(child->Save());
    QVERIFY(QFileInfo::exists(folder.filePath("engine.bak")));
    QCOMPARE(child->Caption(), QString("engine"));
  }
  void overwriteQuestionAnsweredNoWritesNothing() {
    const QString existing = folder.filePath("old.vxa");
    QFile(existing).open(QIODevice::WriteOnly);
    TMDIChildWin* child = f->main->NewProject();
    child->OnModify();
    f->dialogs.FileNames = {folder.filePath("old")};
    f->dialogs.Answers = {TAnswer::No};
    QVERIFY(!child->Save());
    QCOMPARE(f->dialogs.Questions, QStringList{"Файл с таким именем уже существует! Вы хотите заменить его?"});
    QCOMPARE(QFileInfo(existing).size(), 0);
    QVERIFY(child->IsNew);
    QVERIFY(child->Modified);
    QCOMPARE(child->Caption(), QString("Безымянный 0"));
  }
  void overwriteQuestionAnsweredYesReplacesTheFile() {
    const QString existing = folder.filePath("old.vxa");
    QFile(existing).open(QIODevice::WriteOnly);
    TMDIChildWin* child = f->main->NewProject();
    f->dialogs.FileNames = {existing};
    f->dialogs.Answers = {TAnswer::Yes};
    QVERIFY(child->Save());
    QVERIFY(QFileInfo(existing).size() > 0);
  }
  void saveAsCancelledLeavesALoadedProjectSavingToItsFile() {
    const QString project = CopyExample(folder);
    TMDIChildWin* child = f->main->OpenProject(project);
    QVERIFY(!child->SaveAs());
    QVERIFY(!child->IsNew);
    child->OnModify();
    QVERIFY(child->Save());
    QCOMPARE(f->dialogs.FileNames.size(), size_t(0));
    QCOMPARE(child->FileName, QFileInfo(project).absoluteFilePath());
  }
  void cancelInTheSaveDialogSavesNothing() {
    TMDIChildWin* child = f->main->NewProject();
    QVERIFY(!child->Save());
    QVERIFY(child->IsNew);
  }
  void failingSaveKeepsTheOldFileAndTheWindowModified() {
    const QString project = CopyExample(folder, "kept.vxa");
    const QByteArray before = contents(project);
    TMDIChildWin* child = f->main->OpenProject(project);
    child->EngineData().R = 0.5;
    child->OnModify();
    // The folder refuses new files: the temporary file of the save cannot be created.
    QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::ExeOwner);
    QFile probe(folder.filePath("probe"));
    const bool refused = !probe.open(QIODevice::WriteOnly);
    if (refused) {
      QVERIFY(!child->Save());
      QCOMPARE(f->dialogs.Errors.size(), 1);
      QVERIFY(f->dialogs.Errors[0].contains("kept.vxa"));
      QVERIFY(child->Modified);
      QCOMPARE(contents(project), before);
    }
    QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (!refused) QSKIP("running with rights that ignore folder permissions");
  }

  void saveOverAFolderFailsAndTellsWhy() {
    // Whatever the user's rights, a folder of the project's name cannot be replaced.
    const QString project = CopyExample(folder, "busy.vxa");
    TMDIChildWin* child = f->main->OpenProject(project);
    child->OnModify();
    QFile::remove(project);
    QDir(folder.path()).mkdir("busy.vxa");
    QFile(folder.filePath("busy.vxa/keep")).open(QIODevice::WriteOnly);
    QVERIFY(!child->Save());
    QCOMPARE(f->dialogs.Errors.size(), 1);
    QVERIFY(f->dialogs.Errors[0].startsWith("Ошибка! Не удаётся сохранить файл \"" + project + "\""));
    QVERIFY(child->Modified);
    QVERIFY(QFileInfo::exists(folder.filePath("busy.vxa/keep")));
    QVERIFY(!child->IsNew);
  }

  void damagedFileIsReportedAndTheWindowKeepsWhatWasRead() {
    const QString project = CopyExample(folder, "short.vxa");
    QFile file(project);
    file.resize(300);
    TMDIChildWin* child = f->main->OpenProject(project);
    QCOMPARE(f->dialogs.Errors, QStringList{"Ошибка! Неверный формат файла данных!"});
    QCOMPARE(f->main->Children().size(), 1);
    QCOMPARE(child->Caption(), QString("short"));
    TEngineDataStruct example;
    LoadProjectFile(example, ExampleProject().toStdString());
    QCOMPARE(child->EngineData().NSec, example.NSec);  // read before the damage
  }
  void fileThatCannotBeOpenedNamesItsPath() {
    const QString missing = folder.filePath("missing.vxa");
    f->main->OpenProject(missing);
    QCOMPARE(f->dialogs.Errors.size(), 1);
    QVERIFY(f->dialogs.Errors[0].contains(missing));
    QCOMPARE(f->main->Children().size(), 1);
    QCOMPARE(f->main->Children().first()->Caption(), QString("missing"));
  }

  void closingModifiedAndCancelKeepsTheWindow() {
    TMDIChildWin* child = f->main->OpenProject(CopyExample(folder));
    child->OnModify();
    f->dialogs.Answers = {TAnswer::Cancel};
    QVERIFY(!child->TryClose());
    QCOMPARE(f->dialogs.Questions.size(), 1);
    QVERIFY(f->dialogs.Questions[0].startsWith("Файл " + child->FileName + " был изменён!"));
    QCOMPARE(f->main->Children().size(), 1);
    QVERIFY(f->main->RecentFiles.GetPath(0).isEmpty());
  }
  void closingModifiedAndNoWritesNothingButRemembersTheFile() {
    const QString project = CopyExample(folder);
    const QByteArray before = contents(project);
    TMDIChildWin* child = f->main->OpenProject(project);
    child->EngineData().R = 0.5;
    child->OnModify();
    f->dialogs.Answers = {TAnswer::No};
    QVERIFY(child->TryClose());
    QCOMPARE(contents(project), before);
    QCOMPARE(f->main->Children().size(), 0);
    QCOMPARE(f->main->RecentFiles.GetPath(0), QFileInfo(project).absoluteFilePath());
  }
  void closingModifiedAndYesSaves() {
    const QString project = CopyExample(folder);
    TMDIChildWin* child = f->main->OpenProject(project);
    child->EngineData().R = 0.5;
    child->OnModify();
    f->dialogs.Answers = {TAnswer::Yes};
    QVERIFY(child->TryClose());
    TEngineDataStruct saved;
    LoadProjectFile(saved, project.toStdString());
    QCOMPARE(saved.R, 0.5);
  }
  void closingNewProjectWhoseSaveIsCancelledKeepsTheWindow() {
    TMDIChildWin* child = f->main->NewProject();
    child->OnModify();
    f->dialogs.Answers = {TAnswer::Yes};  // save, then Cancel in the save dialog
    QVERIFY(!child->TryClose());
    QCOMPARE(f->main->Children().size(), 1);
  }
  void newProjectIsNotRemembered() {
    TMDIChildWin* child = f->main->NewProject();
    QVERIFY(child->TryClose());
    QVERIFY(f->main->RecentFiles.GetPath(0).isEmpty());
  }

  void taskTreeHasTheExactCaptionsAndSharedIcons() {
    TMDIChildWin* child = f->main->NewProject();
    QTreeWidgetItem* resonance = itemOf(*child, "Графическое представление ");
    QTreeWidgetItem* design = itemOf(*child, "Графическое представление");
    QVERIFY(resonance && design && resonance != design);
    QCOMPARE(resonance->parent()->text(0),
             QString("Результаты расчёта коленчатого вала на прочность на резонансных режимах"));
    QCOMPARE(resonance->icon(0).cacheKey(), design->icon(0).cacheKey());
    QVERIFY(itemOf(*child, "Отключение цилиндров")->parent() == itemOf(*child, "Компоновочная схема"));
    QVERIFY(child->TaskTreeView->isExpanded(child->TaskTreeView->model()->index(0, 0)));
  }
  void resultItemsWaitForACalculation() {
    TMDIChildWin* child = f->main->OpenProject(CopyExample(folder));
    QTreeWidgetItem* tables = itemOf(*child, "Табличное представление");
    QVERIFY(tables->isDisabled());
    QCOMPARE(tables->toolTip(0), QString("Сначала необходимо выполнить расчёт (F3)"));
    child->TaskTreeViewClick(itemOf(*child, "Табличное представление "));
    QVERIFY2(f->dialogs.RunLists.isEmpty(), "no run selector before a calculation");
    QVERIFY(!itemOf(*child, "Общая информация")->isDisabled());
  }
  void torsionalItemsNeedTheTorsionalCalculation() {
    TMDIChildWin* child = f->main->NewProject();
    child->EngineData().CalcOscillFlag = false;
    child->RefreshTaskTree();
    QTreeWidgetItem* modes = itemOf(*child, "Формы колебаний");
    QVERIFY(modes->toolTip(0).contains("Общая информация"));
    QVERIFY(itemOf(*child, "Данные для расчёта крутильных колебаний")->isDisabled());
    child->EngineData().CalcOscillFlag = true;
    child->RefreshTaskTree();
    QVERIFY(!itemOf(*child, "Данные для расчёта крутильных колебаний")->isDisabled());
    QVERIFY2(modes->isDisabled(), "still no frequencies");
    QVERIFY(!modes->toolTip(0).contains("Общая информация"));
  }
  void clickOnTheGeneralItemOpensTheGeneralPageForThisProject() {
    TMDIChildWin* child = f->main->OpenProject(CopyExample(folder));
    QString title;
    QTimer::singleShot(0, [&] {
      QWidget* page = QApplication::activeModalWidget();
      if (!page) return;
      title = page->windowTitle();
      static_cast<TCommonInfoDlg*>(page)->CancelButton->click();
    });
    child->TaskTreeViewClick(itemOf(*child, "Общая информация"));
    QCOMPARE(title, "Общая информация о проекте: " + QString::fromStdString(child->EngineData().ProjectName));
    QVERIFY2(!child->Modified, "opening and cancelling a page changes nothing");
    QVERIFY(child->TaskTreeView->selectedItems().isEmpty());
  }
  void changeOnAPageMarksTheProjectAndRefreshesTheCommands() {
    TMDIChildWin* child = f->main->OpenProject(CopyExample(folder));
    QVERIFY(!f->main->FileSave->isEnabled());
    QSignalSpy modified(child, &TMDIChildWin::ProjectModified);
    child->EngineData().NotifyOwner(NotifyModified);
    QCOMPARE(modified.count(), 1);
    QVERIFY(child->Modified);
    QVERIFY(f->main->FileSave->isEnabled());
  }
};

QTEST_MAIN(ProjectWindowTest)
#include "MDIChildWinUnitTest.moc"
