// Control primitives: one value moves between a page's private copy and an input control,
// in either direction (FromControl = true reads the control). Numbers are shown and read
// with "." as the decimal separator whatever the user's locale.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

#include <QString>

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QSpinBox;
class QWidget;

// A control whose text is not a number: names the control and the text, so that the page
// can select the field and tell the user.
class EFieldConvertError : public std::runtime_error {
 public:
  EFieldConvertError(QWidget* control, const QString& text);
  QWidget* Control;
  QString Text;
};

// The name of a field as the page shows it: the control's accessible name (its label
// without the colon), else its object name.
QString FieldName(const QWidget* control);

void ExchangeText(QWidget* control, std::string& field, bool FromControl);  // QLineEdit or QLabel
void ExchangeEditText(QLineEdit* control, std::string& field, bool FromControl);
void ExchangeEditFloat(QLineEdit* control, double& field, bool FromControl);
void ExchangeSpinInt(QSpinBox* control, std::int16_t& field, bool FromControl);
void ExchangeCombo(QComboBox* control, std::int16_t& field, bool FromControl);
void ExchangeCombo(QComboBox* control, std::uint8_t& field, bool FromControl);
void ExchangeCheck(QAbstractButton* control, bool& field, bool FromControl);
void ExchangeRadio(QButtonGroup* control, std::int16_t& field, bool FromControl);
