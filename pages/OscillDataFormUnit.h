// The torsional data page "Данные для расчёта крутильных колебаний": speed range, damping,
// the size of the mass chain, the damper, the moments of inertia and the stiffnesses of the
// chain, the motor-mass fill from the throw geometry, and the picture of the chain.
#pragma once

#include <cstdint>

#include "MyTypes.h"
#include "VexaBaseDlgUnit.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class TMassChainView;
class TPageGrid;

class TOscillDataForm : public TVexaBaseDlg {
  Q_OBJECT
 public:
  explicit TOscillDataForm(QWidget* parent = nullptr);

  // The largest chain the page edits.
  static constexpr int MaxMasses = 100;

  QLineEdit *nMin, *nMax, *ksi, *psi;
  QSpinBox *NMass, *NGarm, *NFirstMass, *NMassDamper;
  QCheckBox* Damper;
  QComboBox* DamperType;
  QLineEdit *JmDamper, *ksiDamper, *RefDamper, *fDamper, *PDamper, *zdDamper, *ksirzDamper;
  TPageGrid* I_StringGrid;
  TPageGrid* C_StringGrid;
  QPushButton* CalcCBut;
  TMassChainView* ChainView;

  void InitDialog() override;
  void DoDataExchange(bool FromControls) override;
  void ExchangeData(bool ToEngine) override;
  // Re-reads the controls, sizes the grids to NMass, applies the visibility rules and shows
  // the values again (a change of the chain's size or of the damper).
  void OnListRedraw();
  // "Рассчитать по заданным массам и геометрии": the motor masses and their sections.
  void CalcCButClick();

  // The working copies (MaxMasses and MaxMasses × MaxMasses).
  const TReal1DArray& WorkingJ() const { return I_; }
  const TReal2DArray& WorkingC() const { return C_; }

 private:
  void applyVisibility();
  void refreshPicture();
  void checkInputs();
  // Marks the grid cells whose values the torsional calculation will refuse.
  void checkCells();

  struct {
    double nMin = 0, nMax = 0, ksi = 0, psi = 0;
    std::int16_t NMass = 0, NGarm = 0, NFirstMass = 1, NMassDamper = 1;
    bool Damper = false;
    std::uint8_t DamperType = 0;
    double JmDamper = 0, ksiDamper = 0, RefDamper = 0, fDamper = 0, PDamper = 0, zdDamper = 0, ksirzDamper = 0;
  } copy_;
  TReal1DArray I_;
  TReal2DArray C_;
  std::vector<QWidget*> silicone_, friction_, rubber_;
  QLabel* NMassDamperLabel;
};
