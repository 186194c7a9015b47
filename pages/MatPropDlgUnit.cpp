#include "MatPropDlgUnit.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>

#include "EngineDataStructUnit.h"
#include "SteelElemFrameUnit.h"

TMatPropDlg::TMatPropDlg(TSteelData& database, QWidget* parent)
    : TVexaBaseDlg("Свойства материалов", parent), database_(database) {
  HelpPage = "page-material.html";
  auto* layout = new QGridLayout(Content());
  auto column = [&](int c, const QString& label, const QString& hint, const char* name, QComboBox*& combo,
                    TSteelElemFrame*& frame, QLabel*& missing) {
    auto* caption = new QLabel(label, Content());
    caption->setToolTip(hint);
    combo = new QComboBox(Content());
    combo->setObjectName(name);
    combo->setAccessibleName(QString(label).remove(':'));
    combo->setToolTip("Свойства материала редактируются через базу данных по материалам");
    combo->setMinimumWidth(220);
    frame = new TSteelElemFrame(QString(), Content());
    frame->SetReadOnly(true);
    missing = new QLabel(Content());
    missing->setWordWrap(true);
    missing->setStyleSheet("color: #c00000;");
    missing->hide();
    layout->addWidget(caption, 0, c);
    layout->addWidget(combo, 1, c);
    layout->addWidget(frame, 2, c);
    layout->addWidget(missing, 3, c);
    connect(combo, &QComboBox::activated, this, [this] { ValSteelChange(); });
  };
  column(0, "Материал вала:", "Выберите из списка материал коленвала", "ValSteel", ValSteel, ValSteelFrame,
         ValSteelMissing);
  column(1, "Материал противовеса:", "Выберите из списка материал противовеса", "ProtSteel", ProtSteel,
         ProtSteelFrame, ProtSteelMissing);
  layout->setRowStretch(4, 1);
}

QString TMatPropDlg::MissingEntry(const QString& name) { return name + " (нет в базе данных)"; }

void TMatPropDlg::InitDialog() {
  TVexaBaseDlg::InitDialog();
  PlaceButtons(false);
}

void TMatPropDlg::ExchangeData(bool ToEngine) {
  if (ToEngine) {
    Data->ValSteel = val_;
    Data->ProtSteel = prot_;
  } else {
    val_ = Data->ValSteel;
    prot_ = Data->ProtSteel;
  }
}

void TMatPropDlg::DoDataExchange(bool FromControls) {
  TVexaBaseDlg::DoDataExchange(FromControls);
  Updating = true;
  for (const TChoice& choice : {TChoice{ValSteel, ValSteelFrame, ValSteelMissing, &val_},
                                TChoice{ProtSteel, ProtSteelFrame, ProtSteelMissing, &prot_}}) {
    if (FromControls)
      controlsToRecords(choice);
    else
      recordsToControls(choice);
  }
  Updating = false;
}

void TMatPropDlg::recordsToControls(const TChoice& choice) {
  choice.Combo->clear();
  FillMaterialCombo(choice.Combo, database_);
  const QString name = QString::fromStdString(choice.Record->SteelName);
  if (SelectMaterialByName(choice.Combo, name)) {
    // A material of the database always carries the database's current values.
    *choice.Record = database_.Item(choice.Combo->currentIndex());
    choice.Missing->hide();
  } else {
    // Rather than silently putting another material in its place, the project's own record
    // stays chosen, at the end of the list, until the user picks one of the database.
    choice.Combo->addItem(MissingEntry(name));
    choice.Combo->setCurrentIndex(choice.Combo->count() - 1);
    choice.Missing->setText(QString("Материал %1 не найден в базе данных! Показаны свойства, сохранённые в "
                                    "проекте.")
                                .arg(name));
    choice.Missing->show();
  }
  choice.Frame->ExchangeFrame(*choice.Record, false);
}

void TMatPropDlg::controlsToRecords(const TChoice& choice) {
  const int index = choice.Combo->currentIndex();
  if (index >= 0 && index <= database_.HighIndex()) *choice.Record = database_.Item(index);
}

void TMatPropDlg::ValSteelChange() {
  DoDataExchange(true);
  DoDataExchange(false);
  OnModify(qobject_cast<QWidget*>(sender()));
}
