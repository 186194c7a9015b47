// Input checks that do not block: a value the calculation would refuse is marked in its field
// with a red frame and a tooltip saying why; OK and Apply still store it.
#pragma once

#include <QString>

class QWidget;

// Marks the field with the reason, or clears the mark when the reason is empty (the field's
// own hint comes back).
void MarkInvalid(QWidget* field, const QString& reason);
// Whether the field carries a mark, and its reason.
QString InvalidReason(const QWidget* field);
