#include "CommonInfoDlgUnit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

#include "ControlExchangeUnit.h"
#include "DataExchangeUnit.h"
#include "EngineDataStructUnit.h"

namespace {

const char* const EngineTypes[] = {
    "Тронковый малооборотный дизель",        "Среднеоборотный дизель",
    "Среднеоборотный форсированный дизель",  "Высокооборотный дизель",
    "Авто. дизель с чугунными поршнями",     "Авто. дизель с алюмин. поршнями",
    "Авто. двигатель с ВЭИ с чугунными поршнями", "Авто. двигатель с ВЭИ с алюмин. поршнями"};

void describe(QWidget* control, const QString& name, const QString& whatsThis, const QString& hint = QString()) {
  control->setAccessibleName(name);
  control->setWhatsThis(whatsThis);
  if (!hint.isEmpty()) control->setToolTip(hint);
}

}  // namespace

TCommonInfoDlg::TCommonInfoDlg(QWidget* parent) : TVexaBaseDlg("Общая информация о проекте", parent) {
  HelpPage = "page-general.html";
  auto* layout = new QVBoxLayout(Content());

  auto* projectGroup = new QGroupBox("Проект", Content());
  auto* projectLayout = new QHBoxLayout(projectGroup);
  auto* nameLabel = new QLabel("Название проекта:", projectGroup);
  ProjectName = new QLineEdit(projectGroup);
  ProjectName->setObjectName("ProjectName");
  ProjectName->setMinimumWidth(320);
  nameLabel->setBuddy(ProjectName);
  describe(ProjectName, "Название проекта",
           "Название проекта: печатается в заголовке отчётов и в заголовках страниц проекта.",
           "Информация для формирования отчётов");
  projectLayout->addWidget(nameLabel);
  projectLayout->addWidget(ProjectName, 1);
  layout->addWidget(projectGroup);

  auto* typeGroup = new QGroupBox("Тип двигателя", Content());
  auto* typeLayout = new QVBoxLayout(typeGroup);
  EngineType = new QComboBox(typeGroup);
  EngineType->setObjectName("EngineType");
  for (const char* type : EngineTypes) EngineType->addItem(type);
  describe(EngineType, "Тип двигателя",
           "Тип двигателя: определяет коэффициенты запаса, принятые для двигателей этого класса.",
           "Здесь нужно выбрать один из предложенных типов двигателей");
  typeLayout->addWidget(EngineType);
  layout->addWidget(typeGroup);

  CalcDynamicFlag = new QCheckBox("Расчёт коленчатого вала на прочность", Content());
  CalcDynamicFlag->setObjectName("CalcDynamicFlag");
  describe(CalcDynamicFlag, "Расчёт коленчатого вала на прочность",
           "Расчёт на прочность на расчётном режиме: нагрузки, реакции опор, напряжения и запасы "
           "прочности при номинальной частоте вращения (первая группа результатов).");
  CalcOscillFlag = new QCheckBox("Расчёт коленчатого вала на крутильные колебания", Content());
  CalcOscillFlag->setObjectName("CalcOscillFlag");
  describe(CalcOscillFlag, "Расчёт коленчатого вала на крутильные колебания",
           "Расчёт крутильных колебаний: собственные частоты и формы, резонансные режимы и "
           "напряжения в диапазоне частот вращения. Открывает страницу \"Данные для расчёта "
           "крутильных колебаний\".");
  CalcCombFlag = new QCheckBox(
      "Расчёт коленчатого вала на прочность с учётом крутильных колебаний на резонансных режимах", Content());
  CalcCombFlag->setObjectName("CalcCombFlag");
  describe(CalcCombFlag, "Расчёт с учётом крутильных колебаний на резонансных режимах",
           "Повторный расчёт на прочность на наиболее напряжённых резонансных режимах с учётом "
           "крутильных напряжений. Доступен, когда выбраны оба расчёта выше.");
  layout->addWidget(CalcDynamicFlag);
  layout->addWidget(CalcOscillFlag);
  layout->addWidget(CalcCombFlag);

  auto* regsLayout = new QHBoxLayout;
  NRegsLabel = new QLabel("Максимальное количество резонансных режимов:", Content());
  NRegs = new QSpinBox(Content());
  NRegs->setObjectName("NRegs");
  NRegs->setRange(1, 100);
  NRegsLabel->setBuddy(NRegs);
  describe(NRegs, "Максимальное количество резонансных режимов",
           "Сколько наиболее напряжённых резонансных режимов (от 1 до 100) пересчитывается на "
           "прочность с учётом крутильных колебаний.");
  regsLayout->addWidget(NRegsLabel);
  regsLayout->addWidget(NRegs);
  regsLayout->addStretch(1);
  layout->addLayout(regsLayout);
  layout->addStretch(1);

  for (QWidget* control : std::initializer_list<QWidget*>{ProjectName, EngineType, CalcDynamicFlag, CalcOscillFlag,
                                                          CalcCombFlag})
    WatchChanges(control);
  // An arrow step redraws the spin box's text with its signals blocked: the value tells.
  connect(NRegs, &QSpinBox::valueChanged, this, [this] { OnModify(NRegs); });
  for (QCheckBox* box : {CalcDynamicFlag, CalcOscillFlag, CalcCombFlag})
    connect(box, &QCheckBox::clicked, this, [this] { OnUpdate(); });
}

void TCommonInfoDlg::InitDialog() {
  TVexaBaseDlg::InitDialog();
  PlaceButtons(true);
  // Applying the rule to the stored flags is part of filling the page, not a user's change.
  Updating = true;
  OnUpdate();
  Updating = false;
}

void TCommonInfoDlg::DoDataExchange(bool FromControls) {
  TVexaBaseDlg::DoDataExchange(FromControls);
  Updating = true;
  ExchangeEditText(ProjectName, copy_.ProjectName, FromControls);
  ExchangeCombo(EngineType, copy_.EngineType, FromControls);
  ExchangeCheck(CalcDynamicFlag, copy_.CalcDynamicFlag, FromControls);
  ExchangeCheck(CalcOscillFlag, copy_.CalcOscillFlag, FromControls);
  ExchangeCheck(CalcCombFlag, copy_.CalcCombFlag, FromControls);
  ExchangeSpinInt(NRegs, copy_.NRegs, FromControls);
  Updating = false;
}

void TCommonInfoDlg::ExchangeData(bool ToEngine) {
  TEngineDataStruct& engine = *Data;
  ExchangeString(engine.ProjectName, copy_.ProjectName, ToEngine);
  ExchangeByte(engine.EngineType, copy_.EngineType, ToEngine);
  ExchangeValue(engine.CalcDynamicFlag, copy_.CalcDynamicFlag, ToEngine);
  ExchangeValue(engine.CalcOscillFlag, copy_.CalcOscillFlag, ToEngine);
  ExchangeValue(engine.CalcCombFlag, copy_.CalcCombFlag, ToEngine);
  ExchangeSmallInt(engine.NRegs, copy_.NRegs, ToEngine);
}

void TCommonInfoDlg::OnUpdate() {
  const bool both = CalcDynamicFlag->isChecked() && CalcOscillFlag->isChecked();
  CalcCombFlag->setVisible(both);
  if (!both) CalcCombFlag->setChecked(false);
  const bool regs = CalcCombFlag->isChecked();
  NRegsLabel->setVisible(regs);
  NRegs->setVisible(regs);
}
