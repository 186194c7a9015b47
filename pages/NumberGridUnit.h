// The number grids of the input pages: a small table model of texts over a page's private
// copy and a table view edited like a spreadsheet (typing replaces the cell, Enter moves down,
// Tab moves right, Delete clears, Ctrl+C / Ctrl+V copy and paste tab-separated blocks).
#pragma once

#include <functional>
#include <map>
#include <utility>
#include <stdexcept>
#include <vector>

#include <QAbstractTableModel>
#include <QStringList>
#include <QTableView>

// A grid cell whose text is not a number: names the cell (0-based) and the text.
class EGridCellError : public std::runtime_error {
 public:
  EGridCellError(int row, int column, const QString& text);
  int Row, Column;
  QString Text;
};

class TNumberGridModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit TNumberGridModel(QObject* parent = nullptr);

  // Sizes the grid; cells inside the old size keep their texts, new cells are empty.
  void Resize(int rows, int columns);
  void SetHeaders(const QStringList& rowHeaders, const QStringList& columnHeaders);
  // Cells the page does not use (painted out, not editable, skipped by paste).
  void SetBlocked(std::function<bool(int row, int column)> blocked);
  bool Blocked(int row, int column) const { return blocked_ && blocked_(row, column); }

  // A value the calculation will refuse: the cell is framed in red and its tool tip says why;
  // an empty reason clears the mark.
  void SetWarning(int row, int column, const QString& why);
  QString Warning(int row, int column) const;

  QString Text(int row, int column) const;
  // Sets a cell's text without telling the page (filling the grid).
  void SetText(int row, int column, const QString& text);
  // A cell shown with at most five significant digits ("%.5g").
  void SetNumber(int row, int column, double value);
  // The number in a cell; an empty cell is set to "0" and read as 0. A text that is not a
  // number raises EGridCellError.
  double Number(int row, int column);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 signals:
  // A user changed a cell's text (typing, paste, clearing).
  void CellEdited(int row, int column);

 private:
  std::vector<QStringList> cells_;
  int columns_ = 0;
  QStringList rowHeaders_, columnHeaders_;
  std::function<bool(int, int)> blocked_;
  std::map<std::pair<int, int>, QString> warnings_;
};

class TNumberGrid : public QTableView {
  Q_OBJECT
 public:
  explicit TNumberGrid(QWidget* parent = nullptr);
  TNumberGridModel* Model() const { return model_; }

  // The selected block as tab-separated lines (rows by line breaks).
  QString CopyText() const;
  // Pastes a tab-separated block with its top-left corner at the current cell; what falls
  // outside the grid or on a blocked cell is dropped.
  void PasteText(const QString& text);
  // Selects the cell of a failed read, so the user sees where it is.
  void SelectCell(int row, int column);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

 private:
  void moveDown();
  TNumberGridModel* model_;
};
