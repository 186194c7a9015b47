#include "SplashUnit.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QTimer>

#include "ProgramPathUnit.h"

TSplashForm::TSplashForm(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowModality(Qt::ApplicationModal);
  picture_.load(QString::fromStdString((ProgramDirectory() / "Splash.bmp").string()));
  resize(picture_.isNull() ? QSize(480, 260) : picture_.size());
  if (QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->geometry().center() - rect().center());
  QTimer::singleShot(5000, this, &QWidget::close);
}

void TSplashForm::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (!picture_.isNull()) {
    painter.drawPixmap(0, 0, picture_);
    return;
  }
  painter.fillRect(rect(), QColor(0x20, 0x3a, 0x5c));
  painter.setPen(Qt::white);
  QFont font = painter.font();
  font.setPointSize(36);
  font.setBold(true);
  painter.setFont(font);
  painter.drawText(rect().adjusted(0, 0, 0, -70), Qt::AlignCenter, "VEXA");
  font.setPointSize(11);
  font.setBold(false);
  painter.setFont(font);
  painter.drawText(rect().adjusted(20, 110, -20, 0), Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap,
                   "Динамика и прочность коленчатых валов\nВерсия 4.2");
}

void TSplashForm::mousePressEvent(QMouseEvent*) { close(); }

void TSplashForm::keyPressEvent(QKeyEvent*) { close(); }
