// The support compliance page "Податливость опор": the linear and angular compliances of
// every main support.
#pragma once

#include "EngineDataStructUnit.h"
#include "VexaBaseDlgUnit.h"

class TPageGrid;

class TPliantDlg : public TVexaBaseDlg {
  Q_OBJECT
 public:
  explicit TPliantDlg(QWidget* parent = nullptr);

  TPageGrid* PliantStringGrid;

  void InitDialog() override;
  void DoDataExchange(bool FromControls) override;
  void ExchangeData(bool ToEngine) override;
  // One column per main support of the engine data; nothing while filling.
  void OnListRedraw();

  struct TCopy {
    TSupportArray Py, Px, Pmy, Pmx;
  } Copy;

 private:
  void markCompliances();
};
