#include "ControlExchangeUnit.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>

#include "NumberFormatUnit.h"

EFieldConvertError::EFieldConvertError(QWidget* control, const QString& text)
    : std::runtime_error("not a number: " + text.toStdString()), Control(control), Text(text) {}

QString FieldName(const QWidget* control) {
  if (!control) return QString();
  QString name = control->accessibleName();
  if (name.isEmpty()) name = control->objectName();
  while (name.endsWith(':') || name.endsWith(' ')) name.chop(1);
  return name;
}

namespace {

template <typename Parse>
auto parseField(QWidget* control, const QString& text, Parse parse) {
  try {
    return parse(text.trimmed().toStdString());
  } catch (const EConvertError&) {
    throw EFieldConvertError(control, text);
  }
}

}  // namespace

void ExchangeText(QWidget* control, std::string& field, bool FromControl) {
  if (auto* edit = qobject_cast<QLineEdit*>(control)) return ExchangeEditText(edit, field, FromControl);
  if (auto* label = qobject_cast<QLabel*>(control)) {
    if (FromControl)
      field = label->text().toStdString();
    else
      label->setText(QString::fromStdString(field));
  }
}

void ExchangeEditText(QLineEdit* control, std::string& field, bool FromControl) {
  if (FromControl)
    field = control->text().toStdString();
  else
    control->setText(QString::fromStdString(field));
}

void ExchangeEditFloat(QLineEdit* control, double& field, bool FromControl) {
  if (FromControl)
    field = parseField(control, control->text(), ParseDouble);
  else
    control->setText(QString::fromStdString(FormatGeneral(field)));
}

void ExchangeSpinInt(QSpinBox* control, std::int16_t& field, bool FromControl) {
  if (FromControl) {
    const std::int32_t value = parseField(control, control->cleanText(), ParseInteger);
    if (value < INT16_MIN || value > INT16_MAX) throw EFieldConvertError(control, control->cleanText());
    field = static_cast<std::int16_t>(value);
  } else {
    control->setValue(field);
  }
}

void ExchangeCombo(QComboBox* control, std::int16_t& field, bool FromControl) {
  if (FromControl)
    field = static_cast<std::int16_t>(control->currentIndex());
  else
    control->setCurrentIndex(field);
}

void ExchangeCombo(QComboBox* control, std::uint8_t& field, bool FromControl) {
  std::int16_t index = field;
  ExchangeCombo(control, index, FromControl);
  // A list with nothing selected keeps the stored choice rather than wrapping to 255.
  if (FromControl && index >= 0) field = static_cast<std::uint8_t>(index);
}

void ExchangeCheck(QAbstractButton* control, bool& field, bool FromControl) {
  if (FromControl)
    field = control->isChecked();
  else
    control->setChecked(field);
}

void ExchangeRadio(QButtonGroup* control, std::int16_t& field, bool FromControl) {
  const auto buttons = control->buttons();
  if (FromControl) {
    field = static_cast<std::int16_t>(buttons.indexOf(control->checkedButton()));
  } else if (field >= 0 && field < buttons.size()) {
    buttons[field]->setChecked(true);
  }
}
