// The material database editor "База данных по материалам": the records of the program's
// database in a list, the selected one in an editable frame, rows inserted and deleted,
// Apply into memory, OK writes "Steel.table".
#pragma once

#include <filesystem>

#include <QDialog>

class QPushButton;
class QTreeWidget;
class TSteelData;
class TSteelElemFrame;

class TSteelDataBaseForm : public QDialog {
  Q_OBJECT
 public:
  explicit TSteelDataBaseForm(QWidget* parent = nullptr);

  TSteelElemFrame* SteelElemFrame;
  QTreeWidget* SteelListView;
  QPushButton *InsertButton, *DeleteButton, *ApplyButton, *OKButton, *CancelButton;
  // Where OK writes the database.
  std::filesystem::path TablePath;

  // Shows the database and lets the user edit it; returns how the window was closed.
  int EditData(TSteelData& data);
  // Fills the list and selects the first row (part of EditData, separate for the pictures).
  void InitDialog(TSteelData& data);

  void InsertRow();
  void DeleteRow();
  // Writes the frame into the selected record; false when a value is not a number.
  bool ApplyClick();
  // Writes the database; a failed write leaves the old file, says why and keeps the window open.
  void OKClick();
  int SelectedRow() const;

 private:
  void rebuildList(int select);
  void showSelected();
  TSteelData* data_ = nullptr;
};

// The list's caption of a record's value: E with up to ten significant digits, the others five.
QString SteelListCell(double value, bool modulus);
