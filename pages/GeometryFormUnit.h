// The throw geometry page "Геометрия колена вала": the dimensions of one crank throw, with
// the throw's side view in the group "Эскиз колена", drawn to scale as the user types and
// with the dimension of the field under the cursor highlighted. OK also recomputes the
// stress concentration coefficients for the new geometry.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>

#include "VexaBaseDlgUnit.h"

class QSpinBox;
class TFloatSpinEdit;
class TSketchWidget;

class TGeometryForm : public TVexaBaseDlg {
  Q_OBJECT
 public:
  explicit TGeometryForm(QWidget* parent = nullptr);

  TFloatSpinEdit *D, *R, *L0, *DkSh, *DkSb, *DsSh, *DsSb, *H, *B, *L5, *L6, *RgalK, *RGalS, *RMaslK, *RMaslS, *E;
  TFloatSpinEdit *CoeffH, *CoeffB;
  QSpinBox *FiMasl, *GammaMasl;
  TSketchWidget* Sketch;
  // Where OK reads the design graphs of the concentration coefficients.
  std::filesystem::path GraphDir;

  void InitDialog() override;
  void DoDataExchange(bool FromControls) override;
  void ExchangeData(bool ToEngine) override;
  void OKButtonClick() override;

  struct TCopy {
    double D = 0, R = 0, L0 = 0, DkSh = 0, DkSb = 0, DsSh = 0, DsSb = 0, H = 0, B = 0, CoeffH = 0, CoeffB = 0;
    std::int16_t FiMasl = 0;
    double GammaMasl = 0, L5 = 0, L6 = 0, RgalK = 0, RgalS = 0, RMaslK = 0, RMaslS = 0, E = 0;
  } Copy;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Redraws the sketch and the field marks from the texts of the fields.
  void refreshSketch();
  std::map<QObject*, std::string> sketchField_;  // field control → the name its sketch items carry
  QObject* hovered_ = nullptr;
};
