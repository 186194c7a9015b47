#include "SteelDataBaseFormUnit.h"

#include <QAction>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "EVexaErrorUnit.h"
#include "NumberFormatUnit.h"
#include "ProgramPathUnit.h"
#include "SteelElemFrameUnit.h"
#include "UserDialogsUnit.h"

QString SteelListCell(double value, bool modulus) {
  return QString::fromStdString(FormatSignificant(value, modulus ? 10 : 5));
}

TSteelDataBaseForm::TSteelDataBaseForm(QWidget* parent)
    : QDialog(parent), TablePath(ProgramDirectory() / SteelTableName) {
  setWindowTitle("База данных по материалам");
  setMinimumHeight(520);
  auto* layout = new QVBoxLayout(this);
  auto* body = new QHBoxLayout;
  layout->addLayout(body, 1);
  SteelElemFrame = new TSteelElemFrame("Свойства выбранного материала", this);
  body->addWidget(SteelElemFrame, 0, Qt::AlignTop);

  SteelListView = new QTreeWidget(this);
  SteelListView->setObjectName("SteelListView");
  SteelListView->setRootIsDecorated(false);
  SteelListView->setAllColumnsShowFocus(true);
  SteelListView->setSelectionBehavior(QAbstractItemView::SelectRows);
  SteelListView->setEditTriggers(QAbstractItemView::NoEditTriggers);
  const QStringList captions = {"Материал", "[б]в, МПа", "[б]т, МПа", "[t]-1, МПа", "[б]-1, МПа",
                                "Ro, кг/м3", "E, МПа",    "mu",        "Примечание"};
  SteelListView->setHeaderLabels(captions);
  for (int c = 0; c < captions.size(); ++c) {
    SteelListView->headerItem()->setTextAlignment(c, Qt::AlignCenter);
    SteelListView->setColumnWidth(c, std::max(70, 8 * int(captions[c].size())));
  }
  SteelListView->setColumnWidth(0, 120);
  SteelListView->setColumnWidth(8, 110);
  QPalette colours = SteelListView->palette();
  colours.setColor(QPalette::Base, colours.color(QPalette::ToolTipBase));
  SteelListView->setPalette(colours);
  SteelListView->setContextMenuPolicy(Qt::ActionsContextMenu);
  body->addWidget(SteelListView, 1);

  auto* buttons = new QHBoxLayout;
  layout->addLayout(buttons);
  InsertButton = new QPushButton("&Вставить строку", this);
  InsertButton->setToolTip("Вставка новой строки");
  DeleteButton = new QPushButton("&Удалить строку", this);
  DeleteButton->setToolTip("Удаление текущей строки");
  ApplyButton = new QPushButton("Применить", this);
  ApplyButton->setDefault(true);
  OKButton = new QPushButton("OK", this);
  CancelButton = new QPushButton("Отмена", this);
  for (QPushButton* b : {OKButton, CancelButton, InsertButton, DeleteButton}) b->setAutoDefault(false);
  buttons->addWidget(InsertButton);
  buttons->addWidget(DeleteButton);
  buttons->addStretch(1);
  buttons->addWidget(ApplyButton);
  buttons->addWidget(OKButton);
  buttons->addWidget(CancelButton);

  auto* insertAction = new QAction("&Вставить строку", this);
  insertAction->setShortcut(QKeySequence("Ctrl+Insert"));
  auto* deleteAction = new QAction("&Удалить строку", this);
  deleteAction->setShortcut(QKeySequence("Ctrl+Delete"));
  SteelListView->addAction(insertAction);
  SteelListView->addAction(deleteAction);
  addAction(insertAction);
  addAction(deleteAction);
  connect(insertAction, &QAction::triggered, this, [this] { InsertRow(); });
  connect(deleteAction, &QAction::triggered, this, [this] { DeleteRow(); });
  connect(InsertButton, &QPushButton::clicked, this, [this] { InsertRow(); });
  connect(DeleteButton, &QPushButton::clicked, this, [this] { DeleteRow(); });
  connect(ApplyButton, &QPushButton::clicked, this, [this] { ApplyClick(); });
  connect(OKButton, &QPushButton::clicked, this, [this] { OKClick(); });
  connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
  connect(SteelListView, &QTreeWidget::itemSelectionChanged, this, [this] { showSelected(); });
  resize(1240, 560);
}

int TSteelDataBaseForm::EditData(TSteelData& data) {
  InitDialog(data);
  return exec();
}

void TSteelDataBaseForm::InitDialog(TSteelData& data) {
  data_ = &data;
  rebuildList(0);
}

int TSteelDataBaseForm::SelectedRow() const {
  const QList<QTreeWidgetItem*> selected = SteelListView->selectedItems();
  return selected.isEmpty() ? -1 : SteelListView->indexOfTopLevelItem(selected.first());
}

void TSteelDataBaseForm::rebuildList(int select) {
  const QSignalBlocker block(SteelListView);
  SteelListView->clear();
  for (const TSteelElem& record : data_->Items) {
    auto* item = new QTreeWidgetItem(SteelListView);
    item->setText(0, QString::fromStdString(record.SteelName));
    const double values[] = {record.SgmV, record.SgmT, record.Tau_1, record.Sgm_1, record.Ro, record.E, record.Mu};
    for (int c = 0; c < 7; ++c) item->setText(c + 1, SteelListCell(values[c], c == 5));
    item->setText(8, record.Descriptor < 3 ? QString::fromUtf8(SteelClassNames[record.Descriptor]) : QString());
    for (int c = 0; c < 9; ++c) item->setTextAlignment(c, Qt::AlignCenter);
  }
  if (select >= 0 && select < SteelListView->topLevelItemCount()) {
    SteelListView->setCurrentItem(SteelListView->topLevelItem(select));
    SteelListView->topLevelItem(select)->setSelected(true);
  }
  showSelected();
}

void TSteelDataBaseForm::showSelected() {
  const int row = SelectedRow();
  if (row >= 0 && row <= data_->HighIndex()) SteelElemFrame->ExchangeFrame(data_->Item(row), false);
}

void TSteelDataBaseForm::InsertRow() {
  const int row = SelectedRow();
  if (row < 0) return;
  data_->Items.insert(data_->Items.begin() + row + 1, data_->Item(row));
  rebuildList(row);
}

void TSteelDataBaseForm::DeleteRow() {
  const int row = SelectedRow();
  if (row < 0 || data_->Items.size() < 2) return;
  data_->Items.erase(data_->Items.begin() + row);
  rebuildList(std::min(row, data_->HighIndex()));
}

bool TSteelDataBaseForm::ApplyClick() {
  const int row = SelectedRow();
  if (row < 0) return true;
  bool ok = true;
  try {
    SteelElemFrame->ExchangeFrame(data_->Item(row), true);
  } catch (const TEVexaError& error) {
    ShowVexaError(this, error);
    ok = false;
  }
  rebuildList(row);
  SteelListView->setFocus();
  return ok;
}

void TSteelDataBaseForm::OKClick() {
  try {
    data_->SaveToFile(TablePath);
  } catch (const std::exception& error) {
    // The old file stays as it was (the database is written beside it first); the edits stay
    // in memory, so the user can try again or cancel.
    UserDialogs().ShowError(this, "Ошибка!",
                            QString("Не удалось записать базу данных по материалам в файл \"%1\": %2")
                                .arg(QString::fromStdString(TablePath.string()), QString::fromLocal8Bit(error.what())));
    return;
  }
  accept();
}
