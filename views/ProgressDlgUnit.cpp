#include "ProgressDlgUnit.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "DynamicCalcUnit.h"

namespace {
// At most about 30 pictures a second; the angle loop never waits for them.
constexpr std::chrono::milliseconds PictureInterval{33};

QPointF toPixel(const TModelViewScale& scale, const TPoint2& p) {
  const TPoint2 s = scale.ToScreen(p);
  return QPointF(std::round(s.x), std::round(s.y));
}
QPointF loadPixel(const TModelViewScale& scale, const TPoint2& p, const TPoint2& load) {
  const TPoint2 s = scale.LoadEnd(p, load);
  return QPointF(std::round(s.x), std::round(s.y));
}
}  // namespace

TModelViewBox::TModelViewBox(QWidget* parent) : QWidget(parent) {
  setMinimumSize(520, 300);
  setAutoFillBackground(false);
}

void TModelViewBox::SetPicture(TModelViewPicture picture) {
  picture_ = std::move(picture);
  update();
}

void TModelViewBox::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect().adjusted(-1, -1, 1, 1), palette().window());
  const TModelViewScale scale =
      ModelViewScale(width(), height(), frame_.R, frame_.L0, frame_.NSec, frame_.MaxLoad);
  const QPen element(Qt::black, 2), load(Qt::red, 1);
  for (const TModelViewLine& line : picture_.Lines) {
    painter.setPen(element);
    painter.drawLine(toPixel(scale, line.Start), toPixel(scale, line.End));
    painter.setPen(load);
    painter.drawLine(toPixel(scale, line.Start), loadPixel(scale, line.Start, line.Load1));
    painter.drawLine(toPixel(scale, line.End), loadPixel(scale, line.End, line.Load2));
  }
}

TProgressDlg::TProgressDlg(QWidget* parent) : QDialog(parent) {
  setWindowTitle("Ход выполнения расчёта...");
  setWindowFlag(Qt::WindowStaysOnTopHint, true);
  setWindowFlag(Qt::WindowCloseButtonHint, false);
  auto* layout = new QVBoxLayout(this);
  CommentLabel = new QLabel(this);
  ProgressInd = new QProgressBar(this);
  ProgressInd->setTextVisible(false);
  PaintBox = new TModelViewBox(this);
  StopButton = new QPushButton("Прервать", this);
  StopButton->setAutoDefault(false);
  StopButton->setToolTip("Остановить расчёт; результаты этого расчёта не сохраняются");
  layout->addWidget(CommentLabel);
  layout->addWidget(ProgressInd);
  layout->addWidget(PaintBox, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(StopButton);
  layout->addLayout(buttons);
  connect(StopButton, &QPushButton::clicked, this, [this] {
    StopButton->setEnabled(false);
    emit StopRequested();
  });
  resize(620, 440);
}

void TProgressDlg::Reset() {
  StopButton->setEnabled(true);
  CommentLabel->clear();
  ProgressInd->setRange(0, 1);
  ProgressInd->setValue(0);
  PaintBox->SetPicture({});
}

void TProgressDlg::LoopStarted(int steps, const TModelViewFrame& frame) {
  steps_ = steps;
  ProgressInd->setRange(0, std::max(steps - 1, 1));
  ProgressInd->setValue(0);
  PaintBox->SetFrame(frame);
}

void TProgressDlg::ShowStep(int k, TModelViewPicture picture) {
  CommentLabel->setText(QString::asprintf("Расчёт при УКВ Alpha = %d град.", k));
  ProgressInd->setValue(k);
  PaintBox->SetPicture(std::move(picture));
  emit StepShown(k, steps_);
}

void TProgressDlg::reject() {}

void TCalcProgress::Attach(TProgressDlg* dialog) {
  stop_ = false;
  dialog_ = dialog;
  lastShown_ = {};
}

void TCalcProgress::AngleLoopStarted(const TDynamicCalcStruct& run, int steps) {
  TProgressDlg* dialog = dialog_;
  if (!dialog) return;
  const TModelViewFrame frame{run.Engine.R, run.Engine.L0, run.Engine.NSec, ModelViewMaxLoad(run)};
  QMetaObject::invokeMethod(dialog, [dialog, steps, frame] { dialog->LoopStarted(steps, frame); },
                            Qt::QueuedConnection);
  lastShown_ = {};
}

void TCalcProgress::StepDone(const TDynamicCalcStruct& run, int step, int steps) {
  TProgressDlg* dialog = dialog_;
  if (!dialog) return;
  const auto now = std::chrono::steady_clock::now();
  if (now - lastShown_ < PictureInterval && step != steps - 1) return;
  lastShown_ = now;
  // The picture is copied here, in the calculating thread, where the elements were just placed.
  QMetaObject::invokeMethod(dialog, [dialog, step, picture = ModelViewPicture(run.Elements, step)]() mutable {
    dialog->ShowStep(step, std::move(picture));
  }, Qt::QueuedConnection);
}
