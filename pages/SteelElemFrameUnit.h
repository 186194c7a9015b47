// One material record on screen (`TSteelElemFrame`): editable in the material database editor,
// read-only on the material page; and the shared operations on lists of material names.
#pragma once

#include <QGroupBox>

#include "SteelDataBaseUnit.h"

class QComboBox;
class QLineEdit;

class TSteelElemFrame : public QGroupBox {
  Q_OBJECT
 public:
  explicit TSteelElemFrame(const QString& caption, QWidget* parent = nullptr);

  QLineEdit* SteelName;
  QLineEdit *SgmV, *SgmT, *Tau_1, *Sgm_1, *Ro, *E, *Mu;
  QComboBox* Descriptor;

  // Puts the three class names into the class list.
  void FillClassCombo();
  // Shows the record (FromControls = false) or reads the controls into it field by field;
  // a text that is not a number raises TEVexaError 2 ("Введите числовое значение") after
  // the fields before it were taken over.
  void ExchangeFrame(TSteelElem& record, bool FromControls);
  // Shows the values without letting them be edited, legible (not greyed out as disabled).
  void SetReadOnly(bool readOnly);

 signals:
  void Edited();
};

// Replaces the items of the list with the names of the database records, keeping the
// selected index where it still exists.
void FillMaterialCombo(QComboBox* combo, const TSteelData& data);
// Selects the first item with that name; returns false (nothing selected) without one.
bool SelectMaterialByName(QComboBox* combo, const QString& name);
