// The layout page "Компоновочная схема": sections and rows, the desaxial offset of a
// one-row engine, how the rods sit on the crankpin, the firing angles of every cylinder and
// the rod geometry of every row, with the crank star and the schematic of rows and sections.
#pragma once

#include <cstdint>

#include "EngineDataStructUnit.h"
#include "VexaBaseDlgUnit.h"

class QButtonGroup;
class QGroupBox;
class QLabel;
class QRadioButton;
class QSpinBox;
class TFloatSpinEdit;
class TPageGrid;
class TSketchWidget;

class TKomponovkaDlg : public TVexaBaseDlg {
  Q_OBJECT
 public:
  explicit TKomponovkaDlg(QWidget* parent = nullptr);

  QSpinBox* NSec;
  QSpinBox* NRad;
  QLabel* aLabel;
  TFloatSpinEdit* a;
  QGroupBox* DispositionGroup;
  QButtonGroup* Disposition;
  TPageGrid* InitValTable;
  TPageGrid* ConRodTable;
  TSketchWidget* CrankStar;
  TSketchWidget* LayoutScheme;

  void InitDialog() override;
  void DoDataExchange(bool FromControls) override;
  void ExchangeData(bool ToEngine) override;
  // Re-reads the controls and rebuilds both tables for the counts and the rod arrangement
  // shown; nothing while the page fills its controls.
  void OnListRedraw();

  // The page's private copy; the two rod angles in degrees, the firing angles in radians.
  struct TCopy {
    std::int16_t NSec = 1, NRad = 1, Disposition = 0;
    double Dezax = 0;
    TSectionRowArray<double> FireAngle;
    TRowArray ConRodL, ConRodGamma1, ConRodR1, ConRodGamma;
  } Copy;

 private:
  // Repaints the pictures and the field marks from what the controls hold now.
  void refreshPictures();
};
