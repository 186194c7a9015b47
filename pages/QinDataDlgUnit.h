// The working-process page "Данные Qin": where the indicator diagram comes from (the
// working-process program or a diagram file), the parameters handed to that program, their
// ".qin" files, and the chart of the diagram p(φ) the calculation will use.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "QinDataStructUnit.h"
#include "VexaBaseDlgUnit.h"

class QButtonGroup;
class QChart;
class QChartView;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QLineSeries;
class QPushButton;
class QToolButton;

class TQinDataForm : public TVexaBaseDlg {
  Q_OBJECT
 public:
  explicit TQinDataForm(QWidget* parent = nullptr);

  QLineEdit* Descr;
  QButtonGroup* IDRadioGroup;
  QLineEdit* IDFilenameEdit;
  QToolButton* IDFilenameBrowse;
  QComboBox *EngineType, *Vp, *V, *TOFormula, *Vyp, *Tau;
  QGroupBox *SchemeGroup, *ParamsGroup;
  QPushButton* DiagramButton;
  QChartView* DiagramChart;
  QLabel* DiagramNote;
  // The folder a relative diagram file name is taken from (the project's folder); the project
  // window sets it as the property "projectFolder" before opening the page.
  QString ProjectFolder() const;

  // The parameter field of a working-process value ("N", "PK", …), or nullptr.
  QLineEdit* Field(const QString& name) const;

  void InitDialog() override;
  void DoDataExchange(bool FromControls) override;
  void ExchangeData(bool ToEngine) override;
  // "&Сохранить как" and "&Загрузить": the parameters to and from a ".qin" file.
  void ServButton1Click() override;
  void ServButton2Click() override;
  // The engine type or the diagram source changed: visibility rules, page modified.
  void EngineTypeChange();
  // The browse button of the diagram file.
  void ChooseDiagramFile();
  // Shows the diagram the calculation will use: read from the diagram file, or, with the
  // working-process program as source, computed by that program from the page's values.
  void ShowDiagram();

  const TQinDataStruct& PageQin() const { return qin_; }

 private:
  void applyVisibility();
  void plot(const std::vector<double>& anglesDeg, const std::vector<double>& pressures, const QString& title);
  void checkInputs();
  void clearChart();
  // Asks for a ".qin" file and writes the page's values to it or reads them from it; false
  // when cancelled or failed (the user is told why).
  bool transferQin(bool Writing);

  struct TParam {
    QLineEdit* Edit;
    double TQinDataStruct::*Value;
  };
  std::vector<TParam> params_;
  std::vector<QWidget*> fopt_, fopz_;
  TQinDataStruct qin_;
  std::uint8_t source_ = 0;
  std::string fileName_;
};
