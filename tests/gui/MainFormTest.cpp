// The main window: the enabling rules with none, one and two project windows, "Закрыть все"
// and exit with a refusal, the recent-file entries, and the calculate command (F3) through
// the window: runs and run selector, the stop button, an error in the calculation.
#include <QAction>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBrowser>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

#include "GuiTestSupport.h"
#include "HelpWindowUnit.h"
#include "ProjectFileUnit.h"

class MainFormTest : public QObject {
  Q_OBJECT
  std::unique_ptr<TMainFixture> f;
  QTemporaryDir folder;

 private slots:
  void init() { f = std::make_unique<TMainFixture>(); }
  void cleanup() { f.reset(); }

  void enablingRules() {
    auto rules = [](int windows, bool active, bool any) {
      const TCommandState s = EnablingRules(windows, active, any);
      return QString("%1%2%3%4").arg(s.Save).arg(s.SaveAs).arg(s.SaveAll).arg(s.CloseAll);
    };
    QCOMPARE(rules(0, false, false), QString("0000"));
    QCOMPARE(rules(1, false, false), QString("0100"));
    QCOMPARE(rules(1, true, true), QString("1100"));
    QCOMPARE(rules(2, false, false), QString("0101"));
    QCOMPARE(rules(2, false, true), QString("0111"));
    QCOMPARE(rules(2, true, true), QString("1111"));
  }
  void commandsFollowTheOpenWindows() {
    TMainForm& m = *f->main;
    QVERIFY(!m.CalcDynamic->isEnabled() && !m.FileSaveAs->isEnabled() && !m.FileClose->isEnabled());
    TMDIChildWin* first = m.NewProject();
    QVERIFY(m.CalcDynamic->isEnabled() && m.Materials->isEnabled() && m.FileSaveAs->isEnabled());
    QVERIFY(!m.FileSave->isEnabled() && !m.FileCloseAll->isEnabled());
    m.NewProject();
    QVERIFY(m.FileCloseAll->isEnabled());
    QVERIFY2(!m.FileSaveAll->isEnabled(), "two windows without changes");
    first->OnModify();
    QVERIFY(m.FileSaveAll->isEnabled());
    m.CloseAll();
    QVERIFY(m.Children().size() >= 1);
  }
  void commandsCarryTheirCaptionsShortcutsAndHints() {
    TMainForm& m = *f->main;
    QCOMPARE(m.CalcDynamic->text(), QString("Расчёт динамики"));
    QCOMPARE(m.CalcDynamic->shortcut(), QKeySequence(Qt::Key_F3));
    QCOMPARE(m.FileNew->shortcut(), QKeySequence("Ctrl+N"));
    QCOMPARE(m.FileNew->toolTip(), QString("New"));
    QCOMPARE(m.FileNew->statusTip(), QString("Create a new file"));
    QCOMPARE(m.HelpContents->shortcut(), QKeySequence(Qt::Key_F1));
    QCOMPARE(m.HelpWhatsThis->shortcut(), QKeySequence("Shift+F1"));
    QCOMPARE(m.windowTitle(), QString("VEXA 4.2"));
  }
  void closeAllStopsAtTheFirstRefusal() {
    TMainForm& m = *f->main;
    m.NewProject();
    m.NewProject()->OnModify();
    f->dialogs.Answers = {TAnswer::Cancel};
    m.CloseOK = true;
    QVERIFY(!m.CloseAll());
    QVERIFY(!m.CloseOK);
    QCOMPARE(m.Children().size(), 2);
  }
  void exitWithARefusalKeepsTheProgramRunning() {
    TMainForm& m = *f->main;
    m.show();
    m.NewProject()->OnModify();
    f->dialogs.Answers = {TAnswer::Cancel};
    QVERIFY(!m.close());
    QCOMPARE(m.Children().size(), 1);
    f->dialogs.Answers = {TAnswer::No};
    QVERIFY(m.close());
  }
  void recentEntriesShowTheClosedFilesAndStayAfterExit() {
    TMainForm& m = *f->main;
    const QString project = CopyExample(folder);
    m.OpenProject(project)->TryClose();
    QVERIFY(m.RecentEntries[0]->isVisible());
    QCOMPARE(m.RecentEntries[0]->text(), QString("0 - V16-26-26"));
    QCOMPARE(m.RecentEntries[0]->statusTip(), QFileInfo(project).absoluteFilePath());
    QVERIFY(!m.RecentEntries[1]->isVisible());
    QVERIFY(m.close());
    TMainForm again(f->settings);
    again.LoadRecentFiles();
    QCOMPARE(again.RecentFiles.GetPath(0), QFileInfo(project).absoluteFilePath());
  }
  void helpWindowOpensTheGuideOrSaysItIsMissing() {
    // The tests run where no guide is installed.
    THelpWindow* help = f->main->ShowHelp();
    QVERIFY(help->isVisible());
    QVERIFY(help->Browser->toPlainText().startsWith("Руководство пользователя не найдено"));
    QVERIFY(help->Browser->toPlainText().contains("index.html"));
    help->hide();
  }

  void calculateCommandMakesTheRunsAndFillsTheSelector() {
    TMainForm& m = *f->main;
    m.show();
    TMDIChildWin* child = m.OpenProject(CopyExample(folder));
    const double speed = child->EngineData().N;
    bool disabledDuringCalculation = false;
    connect(m.Shared.Progress, &TProgressDlg::StepShown, this, [&] {
      disabledDuringCalculation = !m.isEnabled() && m.Shared.Progress->isVisible();
    });
    m.CalcDynamic->trigger();
    QCOMPARE(f->dialogs.Errors, QStringList());
    QCOMPARE(f->dialogs.Messages.last(), QString("Расчёт завершён"));
    QVERIFY(disabledDuringCalculation);
    QVERIFY(m.isEnabled());
    QVERIFY(!m.Shared.Progress->isVisible());
    const auto& runs = child->Project().Results;
    QCOMPARE(int(runs.size()), 1 + child->EngineData().NRegs);
    QCOMPARE(QString::fromStdString(runs[0]->Title), QString("Расчёт без учёта крутильных колебаний"));
    QCOMPARE(m.Shared.RunTitles.size(), int(runs.size()) - 1);
    QCOMPARE(m.Shared.RunTitles[0], QString::fromStdString(runs[1]->Title));
    QVERIFY(m.Shared.RunTitles[0].startsWith("Расчёт на частоте вращения "));
    QCOMPARE(child->EngineData().N, speed);
    QVERIFY2(!child->Modified, "a calculation does not change the project");
    // The result items are open now, and the resonance items ask for a run.
    QVERIFY(!itemOf(*child, "Табличное представление")->isDisabled());
    QVERIFY(!itemOf(*child, "Формы колебаний")->isDisabled());
    f->dialogs.RunChoices = {2};
    // The chosen run's tables open modally: close them as soon as they show.
    QTimer::singleShot(0, [] {
      if (QWidget* view = QApplication::activeModalWidget()) view->close();
    });
    child->TaskTreeViewClick(itemOf(*child, "Табличное представление "));
    QCOMPARE(f->dialogs.RunLists, QStringList{m.Shared.RunTitles.join('|')});
    QCOMPARE(m.Shared.RunIndex, 2);
  }
  // The switch of the earlier shaft frame changes the next calculations of every window until
  // it is switched off again; the project window says which frame its results come from.
  void earlierShaftFrameIsUsedWhileItsSwitchIsOn() {
    TMainForm& m = *f->main;
    m.show();
    TMDIChildWin* child = m.OpenProject(CopyExample(folder));
    child->EngineData().CalcOscillFlag = false;
    auto filletFactor = [&] {
      m.CalcDynamic->trigger();
      return child->Project().Results.at(0)->Cranks.at(0)->NGal1;
    };
    const double current = filletFactor();
    QVERIFY(!child->Project().Settings().BeamCompat);
    m.CalcBeamCompat->setChecked(true);
    const double earlier = filletFactor();
    QVERIFY(child->Project().Settings().BeamCompat);
    QVERIFY2(std::fabs(earlier - current) > 1e-3 * current, "the earlier frame gives other fillet factors");
    const auto memo = child->findChildren<QPlainTextEdit*>();
    QVERIFY(std::any_of(memo.begin(), memo.end(),
                        [](QPlainTextEdit* e) { return e->toPlainText().contains(BeamCompatNote); }));
    m.CalcBeamCompat->setChecked(false);
    QCOMPARE(filletFactor(), current);
    QCOMPARE(f->dialogs.Errors, QStringList());
  }
  void stopButtonEndsTheCommandAndRestoresTheProject() {
    TMainForm& m = *f->main;
    m.show();
    TMDIChildWin* child = m.OpenProject(CopyExample(folder));
    const TEngineDataStruct& data = child->EngineData();
    const double speed = data.N, lamD = data.LamD, qinSpeed = data.Qin.N;
    connect(m.Shared.Progress, &TProgressDlg::StepShown, this,
            [&] { m.Shared.Progress->StopButton->click(); });
    m.CalcDynamic->trigger();
    QCOMPARE(f->dialogs.Messages, QStringList{"Расчёт прерван"});
    QVERIFY(child->Project().Results.empty());
    QCOMPARE(data.N, speed);
    QCOMPARE(data.LamD, lamD);
    QCOMPARE(data.Qin.N, qinSpeed);
    QVERIFY(m.isEnabled());
    QVERIFY(itemOf(*child, "Табличное представление")->isDisabled());
  }
  void errorInTheCalculationIsShownAndTheWindowEnabledAgain() {
    TMainForm& m = *f->main;
    // The project's diagram file is missing beside it.
    const QString project = CopyExample(folder, "nodiagram.vxa");
    QFile::remove(folder.filePath("V16-26-26.dia"));
    TMDIChildWin* child = m.OpenProject(project);
    m.CalcDynamic->trigger();
    QCOMPARE(f->dialogs.Errors.size(), 1);
    QVERIFY(f->dialogs.Errors[0].startsWith("Ошибка! Не могу прочитать индикаторную диаграмму: "));
    QVERIFY(f->dialogs.Messages.isEmpty());
    QVERIFY(m.isEnabled());
    QVERIFY(child->Project().Results.empty());
  }
  void mismatchedFiringAnglesCalculateNothing() {
    TMainForm& m = *f->main;
    TMDIChildWin* child = m.OpenProject(CopyExample(folder));
    TEngineDataStruct& data = child->EngineData();
    data.FireAngle[2][2] += 0.123;
    if (data.CheckFireAngles()) QSKIP("the example's layout accepts this change");
    m.CalcDynamic->trigger();
    QCOMPARE(f->dialogs.Messages, QStringList{"Углы чередования вспышек не согласуются с углом развала"});
    QVERIFY(child->Project().Results.empty());
  }
};

QTEST_MAIN(MainFormTest)
#include "MainFormTest.moc"
