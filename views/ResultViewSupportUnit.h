// What the result views share: a read-only table over a report table whose selection Ctrl+C
// copies for a spreadsheet, and a chart whose context menu saves it as PNG or SVG or copies it.
#pragma once

#include <QAbstractTableModel>
#include <QChartView>
#include <QString>
#include <QTableView>

#include "ResultTablesUnit.h"

// A factor of 1e30 marks a place without stress; the views show it as "—" with this hint.
inline const char* const AbsentStressHint = "напряжения отсутствуют";
// The cell text as shown: every "1e+30" becomes "—".
QString ShownResultCell(const std::string& cell);

// A report table (`TResultTable`) as a Qt model: row captions in column 0, then the cells.
class TResultTableModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  using QAbstractTableModel::QAbstractTableModel;
  void SetTable(TResultTable table);
  const TResultTable& Table() const { return table_; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  std::string cell(int row, int column) const;
  TResultTable table_;
};

// The selected cells as tab-separated lines; the column headers come first when whole columns
// are selected.
QString SelectionAsText(const QTableView& view);

// A read-only table with grid lines on the info colour; Ctrl+C copies the selection.
class TResultTableView : public QTableView {
  Q_OBJECT
 public:
  explicit TResultTableView(QWidget* parent = nullptr);
  // Shows the table with its column widths (0: fitted to the contents).
  void ShowTable(TResultTableModel* model);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
};

// Writes the chart as a picture: ".svg" as vector graphics, anything else as PNG. Returns false
// when the file cannot be written.
bool SaveChartPicture(QWidget& chart, const QString& file);

// A chart view with the context menu "Сохранить как PNG…", "Сохранить как SVG…", "Копировать".
class TChartView : public QChartView {
  Q_OBJECT
 public:
  explicit TChartView(QChart* chart, QWidget* parent = nullptr);
  // Puts the chart on the clipboard as a picture.
  void CopyPicture();
  // Asks for a file name and saves; an error is told to the user.
  void SavePicture(bool svg);
  // Both axes centred on the origin with the same scale: the shorter side of the plot area
  // spans ±extent, the longer one proportionally more. 0: the axes are left alone.
  void SetEqualScale(double extent);

 protected:
  void contextMenuEvent(QContextMenuEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void applyEqualScale();
  double extent_ = 0;
};
