#include "CalcSelectFormUnit.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TCalcSelectForm::TCalcSelectForm(QWidget* parent) : QDialog(parent), CalcComboBox(new QComboBox(this)) {
  setWindowTitle("Выберите расчёт");
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel("Выберите расчёт:", this));
  CalcComboBox->setEditable(false);
  CalcComboBox->setMinimumWidth(340);
  layout->addWidget(CalcComboBox);
  auto* buttons = new QDialogButtonBox(this);
  auto* ok = buttons->addButton("OK", QDialogButtonBox::AcceptRole);
  buttons->addButton("Отмена", QDialogButtonBox::RejectRole);
  ok->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
}

void TCalcSelectForm::SetTitles(const QStringList& titles, int current) {
  CalcComboBox->clear();
  CalcComboBox->addItems(titles);
  CalcComboBox->setCurrentIndex(titles.isEmpty() ? -1 : std::clamp(current, 0, int(titles.size()) - 1));
}
