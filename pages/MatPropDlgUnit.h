// The material page "Свойства материалов": the shaft and counterweight materials chosen from
// the material database, their properties shown read-only. A material the database no longer
// holds stays in the project with its stored values and is marked as missing.
#pragma once

#include "SteelDataBaseUnit.h"
#include "VexaBaseDlgUnit.h"

class QComboBox;
class QLabel;
class TSteelElemFrame;

class TMatPropDlg : public TVexaBaseDlg {
  Q_OBJECT
 public:
  // database: the program's material database (not owned).
  explicit TMatPropDlg(TSteelData& database, QWidget* parent = nullptr);

  QComboBox *ValSteel, *ProtSteel;
  TSteelElemFrame *ValSteelFrame, *ProtSteelFrame;
  // Red notes under the frames naming a material missing from the database.
  QLabel *ValSteelMissing, *ProtSteelMissing;

  void InitDialog() override;
  void DoDataExchange(bool FromControls) override;
  void ExchangeData(bool ToEngine) override;
  void ValSteelChange();

  // The text of the list entry of a material the database does not hold.
  static QString MissingEntry(const QString& name);

 private:
  struct TChoice {
    QComboBox* Combo;
    TSteelElemFrame* Frame;
    QLabel* Missing;
    TSteelElem* Record;
  };
  void recordsToControls(const TChoice& choice);
  void controlsToRecords(const TChoice& choice);

  TSteelData& database_;
  TSteelElem val_, prot_;
};
