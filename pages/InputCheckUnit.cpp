#include "InputCheckUnit.h"

#include <QVariant>
#include <QWidget>

#include "NumberFormatUnit.h"

namespace {
const char* const HintProperty = "vexaOwnHint";
const char* const ReasonProperty = "vexaInvalidReason";
}  // namespace

void MarkInvalid(QWidget* field, const QString& reason) {
  if (InvalidReason(field) == reason) return;
  if (!field->property(HintProperty).isValid()) field->setProperty(HintProperty, field->toolTip());
  field->setProperty(ReasonProperty, reason);
  const QString hint = field->property(HintProperty).toString();
  if (reason.isEmpty()) {
    field->setStyleSheet(QString());
    field->setToolTip(hint);
  } else {
    field->setStyleSheet(QString("%1 { border: 2px solid #d00000; }").arg(field->metaObject()->className()));
    field->setToolTip(hint.isEmpty() ? reason : reason + "\n" + hint);
  }
}

QString InvalidReason(const QWidget* field) { return field->property(ReasonProperty).toString(); }

std::optional<double> TypedNumber(const QString& text) {
  try {
    return ParseDouble(text.trimmed().toStdString());
  } catch (const EConvertError&) {
    return std::nullopt;
  }
}
