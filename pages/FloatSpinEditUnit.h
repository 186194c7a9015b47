// The number field of the input pages: a line edit whose text is the value (read and
// written through ExchangeEditFloat, so a value typed beyond the limits is taken as typed),
// with the arrow keys and the wheel stepping it by Step within Min … Max, and a warning
// mark (red frame, the reason before the hint in the tool tip) for a value the calculation
// will refuse.
#pragma once

#include <QLineEdit>

class TFloatSpinEdit : public QLineEdit {
  Q_OBJECT
 public:
  TFloatSpinEdit(const QString& name, const QString& hint, double step, int decimals, QWidget* parent = nullptr);

  double Step;
  int Decimals;
  double Min = -1e300, Max = 1e300;

  // The value in the field, or fallback when its text is not a number.
  double ValueOr(double fallback) const;
  // An empty reason clears the mark.
  void SetWarning(const QString& why);
  QString Warning() const { return warning_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  void stepBy(int steps);
  QString hint_, warning_;
};

// Marks any control with a warning the same way.
void MarkWarning(QWidget* control, const QString& why, const QString& hint);
