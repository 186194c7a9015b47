// The splash window at start: "Splash.bmp" beside the program if present, else the program's
// name drawn; it closes on a click, a key or after five seconds.
#pragma once

#include <QPixmap>
#include <QWidget>

class TSplashForm : public QWidget {
  Q_OBJECT
 public:
  explicit TSplashForm(QWidget* parent = nullptr);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QPixmap picture_;
};
