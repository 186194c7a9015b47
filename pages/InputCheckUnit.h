// Input checks that do not block: a value the calculation would refuse is marked in its field
// with a red frame and a tooltip saying why; OK and Apply still store it.
#pragma once

#include <optional>

#include <QString>

class QWidget;

// Marks the field with the reason, or clears the mark when the reason is empty (the field's
// own hint comes back).
void MarkInvalid(QWidget* field, const QString& reason);
// Whether the field carries a mark, and its reason.
QString InvalidReason(const QWidget* field);

// The number a field or cell holds as typed, or nothing while its text is not a number (the
// checks and the pictures follow the typing without stopping at a half-typed value).
std::optional<double> TypedNumber(const QString& text);
