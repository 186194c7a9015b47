#include "FloatSpinEditUnit.h"

#include <QKeyEvent>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "NumberFormatUnit.h"

TFloatSpinEdit::TFloatSpinEdit(const QString& name, const QString& hint, double step, int decimals, QWidget* parent)
    : QLineEdit(parent), Step(step), Decimals(decimals), hint_(hint) {
  setAccessibleName(name);
  setToolTip(hint);
}

double TFloatSpinEdit::ValueOr(double fallback) const {
  try {
    return ParseDouble(text().trimmed().toStdString());
  } catch (const EConvertError&) {
    return fallback;
  }
}

void TFloatSpinEdit::SetWarning(const QString& why) {
  warning_ = why;
  MarkWarning(this, why, hint_);
}

void MarkWarning(QWidget* control, const QString& why, const QString& hint) {
  control->setStyleSheet(why.isEmpty() ? QString() : QString("border: 2px solid red;"));
  control->setToolTip(why.isEmpty() ? hint : hint.isEmpty() ? why : why + "\n\n" + hint);
}

void TFloatSpinEdit::stepBy(int steps) {
  const double value = std::clamp(ValueOr(0) + steps * Step, Min, Max);
  const double scale = std::pow(10.0, Decimals);
  setText(QString::fromStdString(FormatGeneral(std::round(value * scale) / scale)));
}

void TFloatSpinEdit::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) {
    stepBy(event->key() == Qt::Key_Up ? 1 : -1);
    return;
  }
  QLineEdit::keyPressEvent(event);
}

void TFloatSpinEdit::wheelEvent(QWheelEvent* event) {
  if (!hasFocus()) return QLineEdit::wheelEvent(event);
  stepBy(event->angleDelta().y() > 0 ? 1 : -1);
}
