#include "MassChainViewUnit.h"

#include <algorithm>

#include <QPainter>
#include <QPainterPath>

TMassChainView::TMassChainView(QWidget* parent) : QWidget(parent) {
  setMinimumSize(420, 170);
  setAutoFillBackground(true);
  QPalette colours = palette();
  colours.setColor(QPalette::Window, Qt::white);
  setPalette(colours);
  setToolTip("Расчётная схема крутильной системы: диски масс (размер по моменту инерции), "
             "участки (толщина по жёсткости), демпфер и приводимый агрегат");
}

void TMassChainView::SetPicture(TMassChainPicture picture) {
  picture_ = std::move(picture);
  update();
}

void TMassChainView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  if (picture_.Discs.empty()) return;
  // One unit between disc centres; the largest disc (radius 0.5) fills the middle band.
  const double margin = 24, legend = 22, labels = 18;
  const double band = height() - legend - 2 * labels;
  const double scale = std::min((width() - 2 * margin) / std::max(1.0, picture_.Width + 0.6), band);
  const double x0 = (width() - scale * (picture_.Discs.size() - 1)) / 2, y0 = labels + band / 2;
  auto X = [&](double x) { return x0 + scale * x; };

  painter.setPen(QPen(Qt::gray, 1, Qt::DashDotLine));
  painter.drawLine(QPointF(X(-0.3), y0), QPointF(X(picture_.Discs.size() - 0.7), y0));
  for (const TChainSpring& spring : picture_.Springs) {
    const double w = spring.HalfWidth * scale;
    if (w <= 0) {
      painter.setPen(QPen(Qt::red, 1, Qt::DashLine));
      painter.drawLine(QPointF(X(spring.X0), y0), QPointF(X(spring.X1), y0));
      continue;
    }
    // A zigzag spring between the discs: its height shows the stiffness.
    QPainterPath zigzag(QPointF(X(spring.X0), y0));
    const int teeth = 6;
    const double step = (X(spring.X1) - X(spring.X0)) / (teeth + 1);
    for (int t = 1; t <= teeth; ++t) zigzag.lineTo(X(spring.X0) + t * step, y0 + (t % 2 ? -w : w));
    zigzag.lineTo(X(spring.X1), y0);
    painter.setPen(QPen(QColor(40, 90, 160), std::max(1.0, w / 6)));
    painter.drawPath(zigzag);
  }
  for (const TChainDisc& disc : picture_.Discs) {
    const QColor fill = disc.Kind == TChainMassKind::Motor    ? QColor(200, 200, 200)
                        : disc.Kind == TChainMassKind::Driven ? QColor(170, 210, 150)
                                                              : QColor(230, 230, 230);
    const double r = disc.Radius * scale, t = std::max(4.0, 0.12 * scale);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(fill);
    painter.drawRect(QRectF(X(disc.X) - t / 2, y0 - r, t, 2 * r));
    if (disc.Damper) {
      painter.setBrush(QColor(240, 170, 60));
      painter.drawEllipse(QPointF(X(disc.X), y0 - r - 6), 5, 5);
      painter.drawText(QRectF(X(disc.X) - 40, y0 - r - 28, 80, 14), Qt::AlignCenter, "демпфер");
    }
    painter.drawText(QRectF(X(disc.X) - 20, y0 + band / 2, 40, labels), Qt::AlignCenter, QString::number(disc.Number));
  }
  // Legend along the bottom edge.
  const double y = height() - legend + 4;
  double x = margin;
  auto legendEntry = [&](const QColor& colour, const QString& text) {
    painter.setBrush(colour);
    painter.drawRect(QRectF(x, y + 2, 10, 10));
    painter.drawText(QPointF(x + 14, y + 11), text);
    x += 24 + painter.fontMetrics().horizontalAdvance(text);
  };
  legendEntry(QColor(200, 200, 200), "моторные массы");
  legendEntry(QColor(170, 210, 150), "приводимый агрегат");
  legendEntry(QColor(230, 230, 230), "прочие массы");
  legendEntry(QColor(240, 170, 60), "демпфер");
}
