#include "NumberGridUnit.h"

#include <QApplication>
#include <QBrush>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPalette>

#include "NumberFormatUnit.h"

EGridCellError::EGridCellError(int row, int column, const QString& text)
    : std::runtime_error("grid cell is not a number: " + text.toStdString()), Row(row), Column(column), Text(text) {}

TNumberGridModel::TNumberGridModel(QObject* parent) : QAbstractTableModel(parent) {}

void TNumberGridModel::Resize(int rows, int columns) {
  beginResetModel();
  cells_.resize(static_cast<std::size_t>(rows));
  for (QStringList& row : cells_) {
    while (row.size() < columns) row << QString();
    while (row.size() > columns) row.removeLast();
  }
  columns_ = columns;
  endResetModel();
}

void TNumberGridModel::SetHeaders(const QStringList& rowHeaders, const QStringList& columnHeaders) {
  rowHeaders_ = rowHeaders;
  columnHeaders_ = columnHeaders;
  emit headerDataChanged(Qt::Vertical, 0, std::max(0, rowCount() - 1));
  emit headerDataChanged(Qt::Horizontal, 0, std::max(0, columnCount() - 1));
}

void TNumberGridModel::SetBlocked(std::function<bool(int, int)> blocked) {
  beginResetModel();
  blocked_ = std::move(blocked);
  endResetModel();
}

void TNumberGridModel::SetWarning(int row, int column, const QString& why) {
  if (Warning(row, column) == why) return;
  if (why.isEmpty())
    warnings_.erase({row, column});
  else
    warnings_[{row, column}] = why;
  emit dataChanged(index(row, column), index(row, column), {Qt::BackgroundRole, Qt::ToolTipRole});
}

QString TNumberGridModel::Warning(int row, int column) const {
  const auto found = warnings_.find({row, column});
  return found == warnings_.end() ? QString() : found->second;
}

QString TNumberGridModel::Text(int row, int column) const {
  return cells_.at(static_cast<std::size_t>(row)).at(column);
}

void TNumberGridModel::SetText(int row, int column, const QString& text) {
  QString& cell = cells_.at(static_cast<std::size_t>(row))[column];
  if (cell == text) return;
  cell = text;
  emit dataChanged(index(row, column), index(row, column));
}

void TNumberGridModel::SetNumber(int row, int column, double value) {
  SetText(row, column, QString::fromStdString(FormatSignificant(value, 5)));
}

double TNumberGridModel::Number(int row, int column) {
  const QString text = Text(row, column).trimmed();
  if (text.isEmpty()) {
    SetText(row, column, "0");
    return 0;
  }
  try {
    return ParseDouble(text.toStdString());
  } catch (const EConvertError&) {
    throw EGridCellError(row, column, Text(row, column));
  }
}

int TNumberGridModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(cells_.size());
}

int TNumberGridModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : columns_; }

QVariant TNumberGridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const bool blocked = Blocked(index.row(), index.column());
  switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
      return blocked ? QVariant() : QVariant(Text(index.row(), index.column()));
    case Qt::BackgroundRole:
      if (blocked) return QApplication::palette().brush(QPalette::Button);
      return Warning(index.row(), index.column()).isEmpty() ? QVariant() : QVariant(QBrush(QColor(255, 200, 200)));
    case Qt::ToolTipRole:
      return Warning(index.row(), index.column()).isEmpty() ? QVariant() : QVariant(Warning(index.row(), index.column()));
    case Qt::TextAlignmentRole:
      return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    default:
      return {};
  }
}

bool TNumberGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid() || role != Qt::EditRole || Blocked(index.row(), index.column())) return false;
  const QString text = value.toString();
  if (Text(index.row(), index.column()) == text) return true;
  SetText(index.row(), index.column(), text);
  emit CellEdited(index.row(), index.column());
  return true;
}

Qt::ItemFlags TNumberGridModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  if (Blocked(index.row(), index.column())) return Qt::ItemIsEnabled;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

QVariant TNumberGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return QAbstractTableModel::headerData(section, orientation, role);
  const QStringList& headers = orientation == Qt::Horizontal ? columnHeaders_ : rowHeaders_;
  return section < headers.size() ? QVariant(headers[section]) : QVariant(QString::number(section + 1));
}

TNumberGrid::TNumberGrid(QWidget* parent) : QTableView(parent), model_(new TNumberGridModel(this)) {
  setModel(model_);
  setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                  QAbstractItemView::EditKeyPressed);
  setSelectionMode(QAbstractItemView::ContiguousSelection);
  setTabKeyNavigation(true);
  horizontalHeader()->setDefaultSectionSize(72);
  verticalHeader()->setDefaultSectionSize(22);
}

QString TNumberGrid::CopyText() const {
  const QModelIndexList selected = selectionModel()->selectedIndexes();
  if (selected.isEmpty()) return {};
  int top = selected[0].row(), bottom = top, left = selected[0].column(), right = left;
  for (const QModelIndex& index : selected) {
    top = std::min(top, index.row());
    bottom = std::max(bottom, index.row());
    left = std::min(left, index.column());
    right = std::max(right, index.column());
  }
  QStringList lines;
  for (int r = top; r <= bottom; ++r) {
    QStringList cells;
    for (int c = left; c <= right; ++c) cells << (model_->Blocked(r, c) ? QString() : model_->Text(r, c));
    lines << cells.join('\t');
  }
  return lines.join('\n');
}

void TNumberGrid::PasteText(const QString& text) {
  const QModelIndex start = currentIndex().isValid() ? currentIndex() : model_->index(0, 0);
  QStringList lines = QString(text).remove('\r').split('\n');
  // A spreadsheet ends the copied block with a line break.
  if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
  for (int i = 0; i < lines.size(); ++i) {
    const QStringList cells = lines[i].split('\t');
    for (int j = 0; j < cells.size(); ++j) {
      const int r = start.row() + i, c = start.column() + j;
      if (r < model_->rowCount() && c < model_->columnCount())
        model_->setData(model_->index(r, c), cells[j].trimmed(), Qt::EditRole);
    }
  }
}

void TNumberGrid::SelectCell(int row, int column) {
  setCurrentIndex(model_->index(row, column));
  selectionModel()->select(model_->index(row, column), QItemSelectionModel::ClearAndSelect);
  setFocus();
}

void TNumberGrid::moveDown() {
  const QModelIndex current = currentIndex();
  if (current.isValid() && current.row() + 1 < model_->rowCount())
    setCurrentIndex(model_->index(current.row() + 1, current.column()));
}

void TNumberGrid::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Copy)) {
    QApplication::clipboard()->setText(CopyText());
    return;
  }
  if (event->matches(QKeySequence::Paste)) {
    PasteText(QApplication::clipboard()->text());
    return;
  }
  if (state() != EditingState) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
      moveDown();
      return;
    }
    if (event->key() == Qt::Key_Delete) {
      for (const QModelIndex& index : selectionModel()->selectedIndexes())
        model_->setData(index, QString(), Qt::EditRole);
      return;
    }
  }
  QTableView::keyPressEvent(event);
}

void TNumberGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
  QTableView::closeEditor(editor, hint);
  // Enter in a cell confirms it and goes on to the cell below, as in a spreadsheet.
  if (hint == QAbstractItemDelegate::SubmitModelCache) moveDown();
}
