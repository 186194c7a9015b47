#include "ResultViewSupportUnit.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QRegularExpression>
#include <QSvgGenerator>

#include "UserDialogsUnit.h"

QString ShownResultCell(const std::string& cell) {
  static const QRegularExpression absent(R"((?<![\d.])1e\+30\b)");
  return QString::fromStdString(cell).replace(absent, "—");
}

void TResultTableModel::SetTable(TResultTable table) {
  beginResetModel();
  table_ = std::move(table);
  endResetModel();
}

int TResultTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(table_.Rows.size());
}

int TResultTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(table_.Columns.size());
}

std::string TResultTableModel::cell(int row, int column) const {
  const TResultRow& r = table_.Rows[static_cast<std::size_t>(row)];
  if (column == 0) return r.Caption;
  const auto c = static_cast<std::size_t>(column - 1);
  return c < r.Cells.size() ? r.Cells[c] : std::string();
}

QVariant TResultTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  switch (role) {
    case Qt::DisplayRole: return ShownResultCell(cell(index.row(), index.column()));
    case Qt::ToolTipRole:
      return index.column() > 0 && ShownResultCell(cell(index.row(), index.column())).contains("—")
                 ? QVariant(QString(AbsentStressHint))
                 : QVariant();
    case Qt::TextAlignmentRole: return int(Qt::AlignCenter);
    default: return {};
  }
}

QVariant TResultTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return {};
  return QString::fromStdString(table_.Columns[static_cast<std::size_t>(section)].Caption);
}

QString SelectionAsText(const QTableView& view) {
  const QItemSelectionModel* selection = view.selectionModel();
  const QAbstractItemModel* model = view.model();
  if (!selection || !model || !selection->hasSelection()) return {};
  int top = model->rowCount(), bottom = -1, left = model->columnCount(), right = -1;
  for (const QModelIndex& index : selection->selectedIndexes()) {
    top = std::min(top, index.row());
    bottom = std::max(bottom, index.row());
    left = std::min(left, index.column());
    right = std::max(right, index.column());
  }
  QStringList lines;
  if (!selection->selectedColumns().isEmpty()) {
    QStringList headers;
    for (int c = left; c <= right; ++c)
      if (selection->isColumnSelected(c)) headers << model->headerData(c, Qt::Horizontal).toString();
    lines << headers.join('\t');
  }
  for (int r = top; r <= bottom; ++r) {
    QStringList cells;
    bool any = false;
    for (int c = left; c <= right; ++c) {
      if (!selection->isSelected(model->index(r, c))) {
        if (selection->selectedColumns().isEmpty()) cells << QString();
        continue;
      }
      any = true;
      cells << model->data(model->index(r, c)).toString();
    }
    if (any) lines << cells.join('\t');
  }
  return lines.join('\n') + '\n';
}

TResultTableView::TResultTableView(QWidget* parent) : QTableView(parent) {
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setShowGrid(true);
  setSelectionBehavior(QAbstractItemView::SelectItems);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  verticalHeader()->hide();
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
  QPalette colours = palette();
  colours.setColor(QPalette::Base, colours.color(QPalette::ToolTipBase));
  colours.setColor(QPalette::Text, colours.color(QPalette::ToolTipText));
  setPalette(colours);
}

void TResultTableView::ShowTable(TResultTableModel* model) {
  setModel(model);
  const auto& columns = model->Table().Columns;
  for (std::size_t c = 0; c < columns.size(); ++c) {
    // A column keeps its documented width but widens for a text that would be cut.
    resizeColumnToContents(static_cast<int>(c));
    if (columnWidth(static_cast<int>(c)) < columns[c].Width) setColumnWidth(static_cast<int>(c), columns[c].Width);
  }
}

void TResultTableView::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Copy)) {
    QApplication::clipboard()->setText(SelectionAsText(*this));
    return;
  }
  QTableView::keyPressEvent(event);
}

bool SaveChartPicture(QWidget& chart, const QString& file) {
  if (file.endsWith(".svg", Qt::CaseInsensitive)) {
    QSvgGenerator generator;
    generator.setFileName(file);
    generator.setSize(chart.size());
    generator.setViewBox(chart.rect());
    generator.setTitle(chart.windowTitle());
    QPainter painter;
    if (!painter.begin(&generator)) return false;
    chart.render(&painter);
    return painter.end();
  }
  return chart.grab().save(file, "PNG");
}

TChartView::TChartView(QChart* chart, QWidget* parent) : QChartView(chart, parent) {
  setRenderHint(QPainter::Antialiasing);
}

void TChartView::CopyPicture() { QApplication::clipboard()->setPixmap(grab()); }

void TChartView::SavePicture(bool svg) {
  QString file = UserDialogs().SaveFileName(this, svg ? "Рисунок SVG (*.svg)" : "Рисунок PNG (*.png)");
  if (file.isEmpty()) return;
  const QString extension = svg ? ".svg" : ".png";
  if (!file.endsWith(extension, Qt::CaseInsensitive)) file += extension;
  if (!SaveChartPicture(*this, file))
    UserDialogs().ShowError(this, "Ошибка!", QString("Не удалось записать рисунок в файл %1.").arg(file));
}

void TChartView::contextMenuEvent(QContextMenuEvent* event) {
  QMenu menu(this);
  menu.addAction("Сохранить как PNG…", this, [this] { SavePicture(false); });
  menu.addAction("Сохранить как SVG…", this, [this] { SavePicture(true); });
  menu.addAction("Копировать", this, [this] { CopyPicture(); });
  menu.exec(event->globalPos());
}

void TChartView::SetEqualScale(double extent) {
  extent_ = extent;
  applyEqualScale();
}

void TChartView::resizeEvent(QResizeEvent* event) {
  QChartView::resizeEvent(event);
  applyEqualScale();
}

void TChartView::applyEqualScale() {
  const QList<QAbstractAxis*> x = chart()->axes(Qt::Horizontal), y = chart()->axes(Qt::Vertical);
  const QRectF area = chart()->plotArea();
  if (extent_ <= 0 || x.isEmpty() || y.isEmpty() || area.width() <= 0 || area.height() <= 0) return;
  const double side = std::min(area.width(), area.height());
  x.front()->setRange(-extent_ * area.width() / side, extent_ * area.width() / side);
  y.front()->setRange(-extent_ * area.height() / side, extent_ * area.height() / side);
}
