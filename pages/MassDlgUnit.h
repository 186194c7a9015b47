// The masses page "Массы элементов расчётной схемы": the specific masses of the reduced
// crank system per row and the mass data of every web and counterweight, with the picture
// of the reduced system of the throw whose web is selected.
#pragma once

#include "EngineDataStructUnit.h"
#include "VexaBaseDlgUnit.h"

class TPageGrid;
class TSketchWidget;

class TMassDlg : public TVexaBaseDlg {
  Q_OBJECT
 public:
  explicit TMassDlg(QWidget* parent = nullptr);

  TPageGrid* MpdStringGrid;
  TPageGrid* ProtStringGrid;
  TSketchWidget* MassScheme;

  void InitDialog() override;
  void DoDataExchange(bool FromControls) override;
  void ExchangeData(bool ToEngine) override;
  // Sizes both grids from the engine data's rows and sections; nothing while filling.
  void OnListRedraw();

  // The page's private copy; AlphaPr in degrees.
  struct TCopy {
    TRowArray Mpd, M2;
    TWebArray Msh, Rsh, Mpr, Rpr, AlphaPr, FiPr, RprIn, RprOut;
  } Copy;

 private:
  void refreshPicture();
};
