#include "SteelElemFrameUnit.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>

#include "EVexaErrorUnit.h"
#include "NumberFormatUnit.h"

TSteelElemFrame::TSteelElemFrame(const QString& caption, QWidget* parent) : QGroupBox(caption, parent) {
  auto* form = new QFormLayout(this);
  auto field = [&](const QString& label, const char* name) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(name);
    edit->setAccessibleName(QString(label).remove(':'));
    form->addRow(label, edit);
    connect(edit, &QLineEdit::textEdited, this, &TSteelElemFrame::Edited);
    return edit;
  };
  SteelName = field("Материал:", "SteelName");
  SgmV = field("Предел прочности σв, МПа:", "SgmV");
  SgmT = field("Предел текучести σт, МПа:", "SgmT");
  Tau_1 = field("Предел выносливости τ-1, МПа:", "Tau_1");
  Sgm_1 = field("Предел выносливости σ-1, МПа:", "Sgm_1");
  Ro = field("Плотность, кг/м3:", "Ro");
  E = field("Модуль упругости E, МПа:", "E");
  Mu = field("Коэффициент Пуассона μ:", "Mu");
  Descriptor = new QComboBox(this);
  Descriptor->setObjectName("Descriptor");
  form->addRow("Класс материала:", Descriptor);
  connect(Descriptor, &QComboBox::activated, this, &TSteelElemFrame::Edited);
  FillClassCombo();
}

void TSteelElemFrame::FillClassCombo() {
  Descriptor->clear();
  for (const char* name : SteelClassNames) Descriptor->addItem(QString::fromUtf8(name));
}

void TSteelElemFrame::ExchangeFrame(TSteelElem& record, bool FromControls) {
  const std::pair<QLineEdit*, double*> values[] = {{SgmV, &record.SgmV}, {SgmT, &record.SgmT},
                                                   {Tau_1, &record.Tau_1}, {Sgm_1, &record.Sgm_1},
                                                   {Ro, &record.Ro},     {E, &record.E},
                                                   {Mu, &record.Mu}};
  if (!FromControls) {
    SteelName->setText(QString::fromStdString(record.SteelName));
    for (const auto& [edit, value] : values) edit->setText(QString::fromStdString(FormatGeneral(*value)));
    Descriptor->setCurrentIndex(record.Descriptor);
    return;
  }
  record.SteelName = SteelName->text().toStdString();
  for (const auto& [edit, value] : values) {
    try {
      *value = ParseDouble(edit->text().trimmed().toStdString());
    } catch (const EConvertError&) {
      edit->setFocus();
      edit->selectAll();
      throw TEVexaError(ErrNotANumber);
    }
  }
  if (Descriptor->currentIndex() >= 0) record.Descriptor = static_cast<std::uint8_t>(Descriptor->currentIndex());
}

void TSteelElemFrame::SetReadOnly(bool readOnly) {
  for (QLineEdit* edit : {SteelName, SgmV, SgmT, Tau_1, Sgm_1, Ro, E, Mu}) edit->setReadOnly(readOnly);
  Descriptor->setEnabled(!readOnly);
}

void FillMaterialCombo(QComboBox* combo, const TSteelData& data) {
  const int selected = combo->currentIndex();
  combo->clear();
  for (const TSteelElem& record : data.Items) combo->addItem(QString::fromStdString(record.SteelName));
  combo->setCurrentIndex(selected < combo->count() ? selected : -1);
}

bool SelectMaterialByName(QComboBox* combo, const QString& name) {
  const int index = combo->findText(name, Qt::MatchExactly);
  combo->setCurrentIndex(index);
  return index >= 0;
}
