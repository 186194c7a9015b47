// The progress window and its observer: the calculating thread hands over at most about 30
// pictures a second and never waits for them, the last step is always shown, a stop request
// reaches the calculation, and the window shows the step and the gauge.
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>
#include <chrono>
#include <thread>

#include "DynamicCalcUnit.h"
#include "EngineDataStructUnit.h"
#include "ProgressDlgUnit.h"

class ProgressWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void picturesAreThinnedToAboutThirtyASecondAndTheLastStepIsShown() {
    TEngineDataStruct engine;
    TDynamicCalcStruct run(engine);
    TProgressDlg dialog;
    TCalcProgress progress;
    progress.Attach(&dialog);
    QSignalSpy shown(&dialog, &TProgressDlg::StepShown);
    const int steps = 720;
    const auto start = std::chrono::steady_clock::now();
    std::thread loop([&] {
      progress.AngleLoopStarted(run, steps);
      for (int k = 0; k < steps; ++k) {
        progress.StepDone(run, k, steps);
        std::this_thread::sleep_for(std::chrono::microseconds(500));
      }
    });
    loop.join();  // the loop ran to its end without the interface thread handling anything
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    QCoreApplication::processEvents();
    QVERIFY(shown.count() >= 2);
    QVERIFY2(shown.count() <= 30 * seconds + 3, qPrintable(QString("%1 pictures in %2 s").arg(shown.count()).arg(seconds)));
    QCOMPARE(shown.last().at(0).toInt(), steps - 1);
    QCOMPARE(dialog.CommentLabel->text(), QString("Расчёт при УКВ Alpha = 719 град."));
    QCOMPARE(dialog.ProgressInd->maximum(), steps - 1);
    QCOMPARE(dialog.ProgressInd->value(), steps - 1);
  }
  void stopButtonAsksTheCalculationToStop() {
    TProgressDlg dialog;
    TCalcProgress progress;
    progress.Attach(&dialog);
    QObject::connect(&dialog, &TProgressDlg::StopRequested, [&] { progress.RequestStop(); });
    QVERIFY(!progress.CancelRequested());
    dialog.StopButton->click();
    QVERIFY(progress.CancelRequested());
    QVERIFY(!dialog.StopButton->isEnabled());
    progress.Attach(&dialog);  // the next command starts afresh
    dialog.Reset();
    QVERIFY(!progress.CancelRequested());
    QVERIFY(dialog.StopButton->isEnabled());
  }
  void withoutAWindowNothingIsHandedOver() {
    TEngineDataStruct engine;
    TDynamicCalcStruct run(engine);
    TCalcProgress progress;
    progress.AngleLoopStarted(run, 10);
    progress.StepDone(run, 9, 10);
    QVERIFY(!progress.CancelRequested());
  }
};

QTEST_MAIN(ProgressWindowTest)
#include "ProgressDlgUnitTest.moc"
