// The export page "Вывод результатов в файлы и на печать" (`TSaveToFileDlg`): the user ticks
// the quantities and tables, and the page writes the text report or the spreadsheet workbook
// of one run beside the project file.
#pragma once

#include <QString>

#include "DynamicCalcUnit.h"
#include "TextReportUnit.h"
#include "VexaBaseDlgUnit.h"

class QListWidget;

class TSaveToFileDlg : public TVexaBaseDlg {
  Q_OBJECT
 public:
  explicit TSaveToFileDlg(QWidget* parent = nullptr);

  // Keeps the run (error 6 without results), the project's runs for the workbook's strength
  // summary, and the project file ("" for a project not saved yet: the page asks where to write).
  void Prepare(TEngineDataStruct& engine, const TDynamicCalcStruct& run, const TDynamicCalcArray& runs,
               const QString& projectFile);
  int ShowResults(TEngineDataStruct& engine, const TDynamicCalcStruct& run, const TDynamicCalcArray& runs,
                  const QString& projectFile);

  QListWidget* ItemsToSave;

  TTextReportItems TickedItems() const;
  // Writes the text report and tells where; returns false when nothing was written.
  bool WriteTextReport();
  // Writes the workbook and tells where; a failure is error 5 with the reason.
  bool SaveSpreadsheet();

  void OKButtonClick() override;
  void ApplyButtonClick() override;
  void ServButton1Click() override;
  void ServButton2Click() override;
  void ServButton3Click() override;

 private:
  // The file to write: the project file with the extension, or the user's choice for a new
  // project ("" when the user cancels).
  QString targetFile(const std::string& extension, const QString& filter);

  const TDynamicCalcStruct* run_ = nullptr;
  const TDynamicCalcArray* runs_ = nullptr;
  QString projectFile_;
};
