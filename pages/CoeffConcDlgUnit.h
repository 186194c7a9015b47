// The concentration coefficients page "Коэффициенты концентрации": notch sensitivities,
// concentration coefficients of the oil holes and of the crankpin fillet, scale factors,
// asymmetry sensitivities, the dynamic factor and the hardening factor, computed from the
// design graphs or entered by hand, recomputed as the user edits.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "VexaBaseDlgUnit.h"

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class TEngineDataStruct;

class TCoeffConcDlg : public TVexaBaseDlg {
  Q_OBJECT
 public:
  explicit TCoeffConcDlg(QWidget* parent = nullptr);

  QButtonGroup* CoeffsCalcRadio;
  QComboBox* StrengthType;
  QGroupBox* BetSgmSS_Border;
  // Problems of the last recalculation (a graph file, an input the graphs cannot take).
  QLabel* CalcMessage;
  // The notes of the graphs read outside their range, shown beside the coefficients.
  QLabel* GraphRangeNotes;

  // Where the design graphs are read.
  std::filesystem::path GraphDir;

  // The field of an engine-data value ("qSigmV_S", "Knu", …).
  QLineEdit* Field(const QString& name) const;

  void InitDialog() override;
  void DoDataExchange(bool FromControls) override;
  void ExchangeData(bool ToEngine) override;
  void OKButtonClick() override;
  // Mode switch and live recalculation: enabling and visibility by the mode, then the
  // coefficients computed from the page's values (on a scratch copy of the project data, so
  // that Cancel leaves the project as it was).
  void CoeffsCalcRadioClick();
  void StrengthTypeChange();
  // Shows the graph notes of the last calculation (hidden when there are none).
  void ShowGraphRangeNotes(const std::vector<std::string>& notes);

 private:
  // Runs the calculation on a scratch copy of the project with the page's values and takes
  // its results back into the page with the notes of the graphs read outside their range
  // (none after a failure); returns the message of a failure (empty on success).
  QString recalculate(bool hardeningOnly);
  void applyMode();

  std::map<QString, QLineEdit*> fields_;
  std::map<QString, double> copy_;
  std::uint8_t mode_ = 0, strengthType_ = 0;
  std::vector<QWidget*> graphOnly_;
};
