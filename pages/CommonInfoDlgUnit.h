// The general page "Общая информация о проекте": the project's name, the engine type and
// which calculations the calculate command makes.
#pragma once

#include <cstdint>
#include <string>

#include "VexaBaseDlgUnit.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;

class TCommonInfoDlg : public TVexaBaseDlg {
  Q_OBJECT
 public:
  explicit TCommonInfoDlg(QWidget* parent = nullptr);

  QLineEdit* ProjectName;
  QComboBox* EngineType;
  QCheckBox* CalcDynamicFlag;
  QCheckBox* CalcOscillFlag;
  QCheckBox* CalcCombFlag;
  QLabel* NRegsLabel;
  QSpinBox* NRegs;

  void InitDialog() override;
  void DoDataExchange(bool FromControls) override;
  void ExchangeData(bool ToEngine) override;
  // Visibility rule: the combined calculation only with both others, the number of
  // resonance regimes only with the combined calculation.
  void OnUpdate();

 private:
  struct {
    std::string ProjectName;
    std::uint8_t EngineType = 0;
    bool CalcDynamicFlag = false, CalcOscillFlag = false, CalcCombFlag = false;
    std::int16_t NRegs = 1;
  } copy_;
};
