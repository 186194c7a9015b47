#include "SketchWidgetUnit.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

TSketchWidget::TSketchWidget(QWidget* parent) : QWidget(parent) {
  setMinimumSize(200, 180);
  setAutoFillBackground(true);
  QPalette p = palette();
  p.setColor(QPalette::Window, Qt::white);
  setPalette(p);
}

void TSketchWidget::SetSketch(TSketch sketch) {
  sketch_ = std::move(sketch);
  update();
}

void TSketchWidget::SetHighlight(const std::string& field) {
  if (field == highlight_) return;
  highlight_ = field;
  update();
}

void TSketchWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  if (sketch_.Items.empty()) return;
  const TSketchBounds b = SketchBounds(sketch_);
  // Room for the labels that stand beside their anchor points.
  const double margin = fontMetrics().height() * 1.6;
  const double w = std::max(b.Right - b.Left, 1e-9), h = std::max(b.Top - b.Bottom, 1e-9);
  const double scale = std::min((width() - 2 * margin) / w, (height() - 2 * margin) / h);
  const double x0 = (width() - scale * w) / 2 - scale * b.Left, y0 = (height() + scale * h) / 2 + scale * b.Bottom;
  auto at = [&](const TPoint2& p) { return QPointF(x0 + scale * p.x, y0 - scale * p.y); };

  const QColor ink(40, 40, 40), mark(200, 30, 30), fill(170, 185, 210);
  for (const TSketchItem& item : sketch_.Items) {
    const bool lit = !highlight_.empty() && item.Field == highlight_;
    QPen pen(lit ? mark : ink, lit ? 2.5 : 1.0);
    if (item.Dashed) pen.setStyle(Qt::DashLine);
    painter.setPen(pen);
    painter.setBrush(item.Filled ? QBrush(lit ? mark.lighter(150) : fill) : Qt::NoBrush);
    switch (item.Kind) {
      case TSketchKind::Line:
        painter.drawLine(at(item.A), at(item.B));
        break;
      case TSketchKind::Rect:
        painter.drawRect(QRectF(at(item.A), at(item.B)).normalized());
        break;
      case TSketchKind::Circle:
        painter.drawEllipse(at(item.A), scale * item.Radius, scale * item.Radius);
        break;
      case TSketchKind::Dimension: {
        const QPointF a = at(item.A), c = at(item.B);
        painter.drawLine(a, c);
        const QPointF d = c - a;
        const double len = std::hypot(d.x(), d.y());
        if (len > 0) {
          const QPointF u = d / len, n(-u.y(), u.x());
          for (const auto& [tip, dir] : {std::pair{a, u}, std::pair{c, -u}}) {
            QPainterPath arrow;
            arrow.moveTo(tip);
            arrow.lineTo(tip + 7 * dir + 3 * n);
            arrow.lineTo(tip + 7 * dir - 3 * n);
            arrow.closeSubpath();
            painter.fillPath(arrow, pen.color());
          }
        }
        // The name above a horizontal dimension; to the right of a vertical one, halfway between
        // its middle and its upper end, off the axis that a diameter's middle lies on.
        const QString text = QString::fromStdString(item.Text);
        const QPointF mid = (a + c) / 2;
        if (std::fabs(d.y()) > std::fabs(d.x()))
          painter.drawText(QPointF(mid.x() + 4, (mid.y() + std::min(a.y(), c.y())) / 2 + fontMetrics().ascent() / 2.0),
                           text);
        else
          painter.drawText(QRectF(mid.x() - 40, mid.y() - fontMetrics().height() - 1, 80, fontMetrics().height()),
                           Qt::AlignHCenter | Qt::AlignBottom, text);
        break;
      }
      case TSketchKind::Label: {
        const QPointF p = at(item.A);
        const QString text = QString::fromStdString(item.Text);
        const double tw = fontMetrics().horizontalAdvance(text);
        const double left = item.Side == TLabelSide::Left    ? p.x() - tw
                            : item.Side == TLabelSide::Right ? p.x()
                                                             : p.x() - tw / 2;
        painter.drawText(QPointF(left, p.y() + fontMetrics().ascent() / 2.0), text);
        break;
      }
    }
  }
}
