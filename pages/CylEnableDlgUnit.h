// The cylinder cut-out page "Отключение цилиндров": a check box per cylinder, ticked when
// the cylinder works.
#pragma once

#include "EngineDataStructUnit.h"
#include "VexaBaseDlgUnit.h"

class QTableWidget;

class TCylEnableDlg : public TVexaBaseDlg {
  Q_OBJECT
 public:
  explicit TCylEnableDlg(QWidget* parent = nullptr);

  // Column s is section s, row r is row r; row and column 0 hold the numbers.
  QTableWidget* CylEnabledTable;

  void InitDialog() override;
  void DoDataExchange(bool FromControls) override;
  void ExchangeData(bool ToEngine) override;

  TSectionRowArray<bool> Copy;
};
