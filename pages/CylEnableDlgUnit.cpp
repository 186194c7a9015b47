#include "CylEnableDlgUnit.h"

#include <QApplication>
#include <QGroupBox>
#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>

TCylEnableDlg::TCylEnableDlg(QWidget* parent) : TVexaBaseDlg("Отключение цилиндров", parent) {
  HelpPage = "page-cutout.html";
  auto* group = new QGroupBox("Выберите отключённые цилиндры (снимите галочки)", Content());
  CylEnabledTable = new QTableWidget(group);
  CylEnabledTable->setAccessibleName("Отключение цилиндров");
  CylEnabledTable->horizontalHeader()->hide();
  CylEnabledTable->verticalHeader()->hide();
  CylEnabledTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
  CylEnabledTable->setSelectionMode(QAbstractItemView::NoSelection);
  (new QVBoxLayout(group))->addWidget(CylEnabledTable);
  (new QVBoxLayout(Content()))->addWidget(group);
  setMinimumSize(780, 240);
  connect(CylEnabledTable, &QTableWidget::itemChanged, this, [this] { OnModify(CylEnabledTable); });
}

void TCylEnableDlg::InitDialog() {
  // The table takes its size from the engine data before the base fills it.
  const int nSec = Data->NSec, nRad = Data->NRad;
  Updating = true;
  CylEnabledTable->clear();
  CylEnabledTable->setColumnCount(nSec + 1);
  CylEnabledTable->setRowCount(nRad + 1);
  auto title = [](const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled);
    item->setBackground(QApplication::palette().button());
    item->setTextAlignment(Qt::AlignCenter);
    return item;
  };
  CylEnabledTable->setItem(0, 0, title("№ ряда\\№ секции"));
  for (int s = 1; s <= nSec; ++s) CylEnabledTable->setItem(0, s, title(QString::number(s)));
  for (int r = 1; r <= nRad; ++r) {
    CylEnabledTable->setItem(r, 0, title(QString::number(r)));
    for (int s = 1; s <= nSec; ++s) {
      auto* box = new QTableWidgetItem(QString::number(s + nSec * (r - 1)));
      box->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
      box->setToolTip(QString("Цилиндр %1: секция %2, ряд %3").arg(s + nSec * (r - 1)).arg(s).arg(r));
      CylEnabledTable->setItem(r, s, box);
    }
  }
  CylEnabledTable->setColumnWidth(0, 130);
  for (int s = 1; s <= nSec; ++s) CylEnabledTable->setColumnWidth(s, 56);
  Updating = false;
  TVexaBaseDlg::InitDialog();
  PlaceButtons(true);
}

void TCylEnableDlg::DoDataExchange(bool FromControls) {
  TVexaBaseDlg::DoDataExchange(FromControls);
  Updating = true;
  for (int r = 1; r < CylEnabledTable->rowCount(); ++r)
    for (int s = 1; s < CylEnabledTable->columnCount(); ++s) {
      QTableWidgetItem* box = CylEnabledTable->item(r, s);
      if (FromControls)
        Copy[s][r] = box->checkState() == Qt::Checked;
      else
        box->setCheckState(Copy[s][r] ? Qt::Checked : Qt::Unchecked);
    }
  Updating = false;
}

void TCylEnableDlg::ExchangeData(bool ToEngine) { ExchangeValue(Data->CylEnabled, Copy, ToEngine); }
