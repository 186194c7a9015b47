// The run selector "Выберите расчёт": which resonance run a result view of the third group of
// the task tree shows.
#pragma once

#include <QComboBox>
#include <QDialog>
#include <QStringList>

class TCalcSelectForm : public QDialog {
  Q_OBJECT
 public:
  explicit TCalcSelectForm(QWidget* parent = nullptr);
  void SetTitles(const QStringList& titles, int current);

  QComboBox* CalcComboBox;
};
