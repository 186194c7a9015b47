// The progress window of the calculate command ("Ход выполнения расчёта..."): the gauge over
// the steps of the angle loop, the step comment, the shaft picture at the latest step and the
// button "Прервать". The calculation runs in another thread and reports through
// `TCalcProgress`, which hands copies of the picture to the window at most ~30 times a second.
#pragma once

#include <atomic>
#include <chrono>

#include <QDialog>
#include <QWidget>

#include "CalcObserverUnit.h"
#include "ModelViewUnit.h"

class QLabel;
class QProgressBar;
class QPushButton;

// What the scale of the picture needs from the run: crank radius and throw length (m), the
// throws, the largest vertical crankpin force of the first throw (N).
struct TModelViewFrame {
  double R = 0, L0 = 0;
  int NSec = 0;
  double MaxLoad = 0;
};

// The paint box of the shaft picture: black element lines two pixels wide, red load lines.
class TModelViewBox : public QWidget {
  Q_OBJECT
 public:
  explicit TModelViewBox(QWidget* parent = nullptr);
  void SetFrame(const TModelViewFrame& frame) { frame_ = frame; }
  void SetPicture(TModelViewPicture picture);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  TModelViewFrame frame_;
  TModelViewPicture picture_;
};

class TProgressDlg : public QDialog {
  Q_OBJECT
 public:
  explicit TProgressDlg(QWidget* parent = nullptr);

  QLabel* CommentLabel;
  QProgressBar* ProgressInd;
  TModelViewBox* PaintBox;
  QPushButton* StopButton;

  // A new angle loop of steps steps begins: gauge to 0, the picture's scale from the run.
  void LoopStarted(int steps, const TModelViewFrame& frame);
  // Step k is solved: comment, gauge and picture.
  void ShowStep(int k, TModelViewPicture picture);
  // Before a command: the button enabled again.
  void Reset();

 signals:
  void StopRequested();
  // A step was shown (the screenshots take the window from here).
  void StepShown(int k, int steps);

 protected:
  void reject() override;  // Escape and the close box do not hide the window during a command

 private:
  int steps_ = 0;
};

// The observer of a project window's calculations: runs in the calculating thread and hands
// the progress to a progress window in the interface thread without waiting for it.
class TCalcProgress : public TCalcObserver {
 public:
  // The window shown during the current command; nullptr between commands.
  void Attach(TProgressDlg* dialog);
  void RequestStop() { stop_ = true; }

  void AngleLoopStarted(const TDynamicCalcStruct& run, int steps) override;
  void StepDone(const TDynamicCalcStruct& run, int step, int steps) override;
  bool CancelRequested() const override { return stop_; }

 private:
  std::atomic<TProgressDlg*> dialog_{nullptr};
  std::atomic<bool> stop_{false};
  std::chrono::steady_clock::time_point lastShown_{};
};
