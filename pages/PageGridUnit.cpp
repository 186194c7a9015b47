#include "PageGridUnit.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QPalette>
#include <QStyledItemDelegate>

#include "ControlExchangeUnit.h"
#include "NumberFormatUnit.h"

namespace {

// Paints a cell's warning as a red frame inside the cell.
class TWarningDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QStyledItemDelegate::paint(painter, option, index);
    if (index.data(Qt::UserRole).toString().isEmpty()) return;
    painter->save();
    painter->setPen(QPen(Qt::red, 2));
    painter->drawRect(option.rect.adjusted(1, 1, -2, -2));
    painter->restore();
  }
};

}  // namespace

void TPageGridModel::Resize(int rows, int columns) {
  beginResetModel();
  rows_ = rows;
  columns_ = columns;
  cells_.resize(static_cast<std::size_t>(rows));
  for (auto& row : cells_) row.resize(static_cast<std::size_t>(columns) + 1);
  endResetModel();
}

void TPageGridModel::SetTitles(const QStringList& columnTitles, const QStringList& rowTitles) {
  columnTitles_ = columnTitles;
  rowTitles_ = rowTitles;
  emit headerDataChanged(Qt::Horizontal, 0, columns_);
  if (rows_ > 0) emit dataChanged(index(0, 0), index(rows_ - 1, 0));
}

QString TPageGridModel::Cell(int row, int column) const {
  if (row < 0 || row >= rows_ || column < 1 || column > columns_) return {};
  return cells_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}

void TPageGridModel::SetCell(int row, int column, const QString& text) {
  if (row < 0 || row >= rows_ || column < 1 || column > columns_) return;
  cells_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] = text;
  emit dataChanged(index(row, column), index(row, column));
}

void TPageGridModel::SetShaded(int row, int column, bool shaded) {
  shaded_[{row, column}] = shaded;
  if (row < rows_ && column <= columns_) emit dataChanged(index(row, column), index(row, column));
}

void TPageGridModel::SetWarning(int row, int column, const QString& why) {
  auto& stored = warnings_[{row, column}];
  if (stored == why) return;
  stored = why;
  if (row < rows_ && column <= columns_) emit dataChanged(index(row, column), index(row, column));
}

void TPageGridModel::SetBlocked(std::function<bool(int, int)> blocked) {
  beginResetModel();
  blocked_ = std::move(blocked);
  endResetModel();
}

QString TPageGridModel::Warning(int row, int column) const {
  const auto found = warnings_.find({row, column});
  return found == warnings_.end() ? QString() : found->second;
}

int TPageGridModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int TPageGridModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : columns_ + 1; }

QVariant TPageGridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const int row = index.row(), column = index.column();
  const bool titles = column == 0;
  const bool blocked = !titles && Blocked(row, column);
  switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
      if (blocked) return {};
      return titles ? rowTitles_.value(row) : Cell(row, column);
    case Qt::BackgroundRole:
      if (titles || blocked) return QApplication::palette().button();
      if (const auto found = shaded_.find({row, column}); found != shaded_.end() && found->second)
        return QApplication::palette().button();
      return {};
    case Qt::ToolTipRole:
    case Qt::UserRole:
      return Warning(row, column);
    default:
      return {};
  }
}

bool TPageGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid() || index.column() == 0 || role != Qt::EditRole) return false;
  if (Blocked(index.row(), index.column())) return false;
  const QString text = value.toString().trimmed();
  if (text == Cell(index.row(), index.column())) return true;
  SetCell(index.row(), index.column(), text);
  emit Edited(index.row(), index.column());
  return true;
}

Qt::ItemFlags TPageGridModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  if (index.column() == 0 || Blocked(index.row(), index.column())) return Qt::ItemIsEnabled;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

QVariant TPageGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation == Qt::Horizontal && role == Qt::DisplayRole) return columnTitles_.value(section);
  return QAbstractTableModel::headerData(section, orientation, role);
}

TPageGrid::TPageGrid(const QString& name, QWidget* parent)
    : QTableView(parent), name_(name), model_(new TPageGridModel(this)) {
  setModel(model_);
  setAccessibleName(name);
  setItemDelegate(new TWarningDelegate(this));
  verticalHeader()->hide();
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
  horizontalHeader()->setHighlightSections(false);
  setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                  QAbstractItemView::EditKeyPressed);
  setSelectionMode(QAbstractItemView::ContiguousSelection);
  setTabKeyNavigation(true);
  connect(model_, &TPageGridModel::Edited, this, [this] { emit Edited(); });
}

void TPageGrid::SetColumnWidths(const std::vector<int>& widths) {
  // The given widths are the least; a longer title or number widens its column.
  resizeColumnsToContents();
  for (std::size_t c = 0; c < widths.size(); ++c) {
    const int column = static_cast<int>(c);
    setColumnWidth(column, std::max(widths[c], columnWidth(column) + 6));
  }
}

void TPageGrid::FillEmptyWithZero() {
  if (accessibleName() != name_) setAccessibleName(name_);
  for (int r = 0; r < model_->rowCount(); ++r)
    for (int c = 1; c < model_->columnCount(); ++c)
      if (model_->Cell(r, c).isEmpty()) model_->SetCell(r, c, "0");
}

double TPageGrid::Number(int row, int column) {
  const QString text = model_->Cell(row, column);
  try {
    return ParseDouble(text.trimmed().toStdString());
  } catch (const EConvertError&) {
    SelectCell(row, column);
    // The message names the field as the page shows it: the grid, its row and its column.
    setAccessibleName(QString("%1, строка \"%2\", столбец \"%3\"")
                          .arg(name_, model_->data(model_->index(row, 0), Qt::DisplayRole).toString(),
                               model_->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString()));
    // It keeps that name until the page reads the grid again.
    throw EFieldConvertError(this, text);
  }
}

void TPageGrid::SelectCell(int row, int column) {
  const QModelIndex cell = model_->index(row, column);
  setCurrentIndex(cell);
  selectionModel()->select(cell, QItemSelectionModel::ClearAndSelect);
}

double TPageGrid::NumberOr(int row, int column, double fallback) const {
  try {
    return ParseDouble(model_->Cell(row, column).trimmed().toStdString());
  } catch (const EConvertError&) {
    return fallback;
  }
}

void TPageGrid::SetNumber(int row, int column, double value, bool general) {
  model_->SetCell(row, column,
                  QString::fromStdString(general ? FormatGeneral(value) : FormatSignificant(value, 5)));
}

QString TPageGrid::SelectedText() const {
  const QModelIndexList cells = selectionModel()->selectedIndexes();
  if (cells.isEmpty()) return {};
  int top = cells.front().row(), bottom = top, left = cells.front().column(), right = left;
  for (const QModelIndex& cell : cells) {
    top = std::min(top, cell.row());
    bottom = std::max(bottom, cell.row());
    left = std::min(left, cell.column());
    right = std::max(right, cell.column());
  }
  QStringList lines;
  for (int r = top; r <= bottom; ++r) {
    QStringList line;
    for (int c = left; c <= right; ++c) line << model_->data(model_->index(r, c), Qt::DisplayRole).toString();
    lines << line.join('\t');
  }
  return lines.join('\n');
}

void TPageGrid::Paste(const QString& text) {
  const QModelIndex start = currentIndex();
  if (!start.isValid()) return;
  QStringList lines = QString(text).remove('\r').split('\n');
  if (!lines.isEmpty() && lines.back().isEmpty()) lines.removeLast();  // a spreadsheet ends the block with a newline
  for (int i = 0; i < lines.size(); ++i) {
    const QStringList values = lines[i].split('\t');
    for (int j = 0; j < values.size(); ++j) {
      const QModelIndex cell = model_->index(start.row() + i, start.column() + j);
      if (cell.isValid() && cell.column() > 0) model_->setData(cell, values[j], Qt::EditRole);
    }
  }
}

void TPageGrid::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Copy)) {
    QApplication::clipboard()->setText(SelectedText());
    return;
  }
  if (event->matches(QKeySequence::Paste)) {
    Paste(QApplication::clipboard()->text());
    return;
  }
  if (state() != EditingState) {
    const QModelIndex current = currentIndex();
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && current.isValid()) {
      const QModelIndex below = model_->index(current.row() + 1, current.column());
      if (below.isValid()) setCurrentIndex(below);
      return;
    }
    if (event->key() == Qt::Key_Delete) {
      for (const QModelIndex& cell : selectionModel()->selectedIndexes()) model_->setData(cell, QString(), Qt::EditRole);
      return;
    }
  }
  QTableView::keyPressEvent(event);
}

void TPageGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
  QTableView::closeEditor(editor, hint == QAbstractItemDelegate::SubmitModelCache ? QAbstractItemDelegate::NoHint : hint);
  if (hint != QAbstractItemDelegate::SubmitModelCache) return;
  const QModelIndex below = model_->index(currentIndex().row() + 1, currentIndex().column());
  if (below.isValid()) setCurrentIndex(below);
}

void ExchangeCell(TPageGrid* grid, int row, int column, double& field, bool FromControl, bool general) {
  if (FromControl)
    field = grid->Number(row, column);
  else
    grid->SetNumber(row, column, field, general);
}

QStringList NumberTitles(int count) {
  QStringList list;
  for (int i = 1; i <= count; ++i) list << QString::number(i);
  return list;
}
