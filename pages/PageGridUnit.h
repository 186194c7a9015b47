// The grids of the input pages: a small table model of cell texts over a page's private copy
// and a table view that edits it like a spreadsheet (typing replaces the cell, Enter moves
// down, Tab moves right, Delete clears, Ctrl+C / Ctrl+V copy and paste tab-separated blocks).
// Column 0 holds the row titles and is not editable; the header row holds the column titles.
// A cell may carry a warning: a red frame and a tool tip saying why the calculation will
// refuse its value.
#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <QTableView>
#include <functional>
#include <map>
#include <utility>
#include <vector>

#include "ControlExchangeUnit.h"

class TPageGridModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  using QAbstractTableModel::QAbstractTableModel;

  // Data rows and columns besides the title column; texts of the kept cells stay.
  void Resize(int rows, int columns);
  void SetTitles(const QStringList& columnTitles, const QStringList& rowTitles);
  QString Cell(int row, int column) const;
  void SetCell(int row, int column, const QString& text);
  // Cells painted in the button-face colour (not used by the calculation in this layout).
  void SetShaded(int row, int column, bool shaded);
  // Cells the page does not use: painted out, shown empty, not editable, skipped by paste.
  void SetBlocked(std::function<bool(int row, int column)> blocked);
  bool Blocked(int row, int column) const { return blocked_ && blocked_(row, column); }
  void SetWarning(int row, int column, const QString& why);
  QString Warning(int row, int column) const;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 signals:
  // A user changed a cell (typing, paste, delete); filling by the page does not emit it.
  void Edited(int row, int column);

 private:
  int rows_ = 0, columns_ = 0;
  std::vector<std::vector<QString>> cells_;  // [row][column], column 0 unused (titles)
  QStringList columnTitles_, rowTitles_;
  std::map<std::pair<int, int>, QString> warnings_;
  std::map<std::pair<int, int>, bool> shaded_;
  std::function<bool(int, int)> blocked_;
};

class TPageGrid : public QTableView {
  Q_OBJECT
 public:
  // name: the grid's name as the page shows it (its group caption), used in messages.
  TPageGrid(const QString& name, QWidget* parent = nullptr);

  TPageGridModel* Grid() const { return model_; }
  // Least widths of the title column and the data columns, pixels; wider contents widen them.
  void SetColumnWidths(const std::vector<int>& widths);

  // Every empty data cell becomes "0"; the grid takes back its own name after a cell error.
  void FillEmptyWithZero();
  // The number in a data cell; a text that is not a number selects the cell and raises
  // EFieldConvertError naming the grid, the row and the column.
  double Number(int row, int column);
  // The number in a data cell, or fallback while its text is not a number (the pictures
  // follow the typing without stopping at a half-typed value).
  double NumberOr(int row, int column, double fallback) const;
  // Writes a number in the grids' format "%.5g" or in the general format.
  void SetNumber(int row, int column, double value, bool general = false);

  // Selects a cell, so the user sees where a value is.
  void SelectCell(int row, int column);

  // Tab-separated text of the selected block, rows on lines.
  QString SelectedText() const;
  // Pastes a tab-separated block with its top left corner at the current cell; what falls
  // outside the grid or into the title column is dropped.
  void Paste(const QString& text);

 signals:
  void Edited();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  // Enter that ends the typing in a cell moves down, as in a spreadsheet.
  void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

 private:
  QString name_;
  TPageGridModel* model_;
};

// One cell ↔ one field of the page's copy (FromControl = true reads the cell), in the grids'
// format "%.5g" or, with general, in the general number format.
void ExchangeCell(TPageGrid* grid, int row, int column, double& field, bool FromControl, bool general = false);

// Row or column titles 1 … count.
QStringList NumberTitles(int count);
