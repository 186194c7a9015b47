#include "CoeffConcDlgUnit.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ConcentrationCoeffsUnit.h"
#include "ControlExchangeUnit.h"
#include "DataExchangeUnit.h"
#include "EngineDataStructUnit.h"
#include "GraphFileUnit.h"
#include "ProgramPathUnit.h"
#include "UserDialogsUnit.h"

namespace {

// How the page shows an engine value: entered in both modes, entered by hand only, or computed.
enum class TKind { Input, HandOnly, Derived };

struct TFieldText {
  const char* Name;
  double TEngineDataStruct::*Value;
  const char* Label;
  TKind Kind;
};

using E = TEngineDataStruct;

// Inputs the graphs give in the computed mode; the user types them in the hand mode.
#define VEXA_FIELD(name, label, kind) {#name, &E::name, label, kind}

const TFieldText FieldTexts[] = {
    VEXA_FIELD(Nsh, "Число шеек:", TKind::Derived),
    VEXA_FIELD(LamD, "λд:", TKind::HandOnly),
    VEXA_FIELD(PsiSgm, "ψσ:", TKind::HandOnly),
    VEXA_FIELD(PsiTau, "ψτ:", TKind::HandOnly),
    VEXA_FIELD(Esgm_S, "εσ ШШ:", TKind::HandOnly),
    VEXA_FIELD(Etau_S, "ετ ШШ:", TKind::HandOnly),
    VEXA_FIELD(Etau_K, "ετ КШ:", TKind::HandOnly),
    VEXA_FIELD(Esgm_K, "εσ КШ:", TKind::HandOnly),
    VEXA_FIELD(qSigmV_S, "q(σв):", TKind::HandOnly),
    VEXA_FIELD(qSigmT_SigmV_S, "q(σт/σв):", TKind::HandOnly),
    VEXA_FIELD(qSigm_S, "qσ:", TKind::Derived),
    VEXA_FIELD(qTau_S, "qτ:", TKind::Derived),
    VEXA_FIELD(qSigmV_M_K, "q(σв):", TKind::HandOnly),
    VEXA_FIELD(qSigmT_SigmV_M_K, "q(σт/σв):", TKind::HandOnly),
    VEXA_FIELD(qSigm_M_K, "qσ:", TKind::Derived),
    VEXA_FIELD(qTau_M_K, "qτ:", TKind::Derived),
    VEXA_FIELD(qSigmV_M_S, "q(σв):", TKind::HandOnly),
    VEXA_FIELD(qSigmT_SigmV_M_S, "q(σт/σв):", TKind::HandOnly),
    VEXA_FIELD(qSigm_M_S, "qσ:", TKind::Derived),
    VEXA_FIELD(qTau_M_S, "qτ:", TKind::Derived),
    VEXA_FIELD(AlphaSgm_M_K, "Теоретический ασ:", TKind::HandOnly),
    VEXA_FIELD(AlphaTau_M_K, "Теоретический ατ:", TKind::HandOnly),
    VEXA_FIELD(KSgm_M_K, "Эффективный Kσ:", TKind::Derived),
    VEXA_FIELD(KTau_M_K, "Эффективный Kτ:", TKind::Derived),
    VEXA_FIELD(AlphaSgm_M_S, "Теоретический ασ:", TKind::HandOnly),
    VEXA_FIELD(AlphaTau_M_S, "Теоретический ατ:", TKind::HandOnly),
    VEXA_FIELD(KSgm_M_S, "Эффективный Kσ:", TKind::Derived),
    VEXA_FIELD(KTau_M_S, "Эффективный Kτ:", TKind::Derived),
    VEXA_FIELD(AlphaSgmD0, "ασ0:", TKind::HandOnly),
    VEXA_FIELD(BetSgmH, "βσh:", TKind::HandOnly),
    VEXA_FIELD(BetSgmDvn, "βσd вн:", TKind::HandOnly),
    VEXA_FIELD(AlphaSgmE, "ασe:", TKind::HandOnly),
    VEXA_FIELD(BetSgmE, "βσe:", TKind::HandOnly),
    VEXA_FIELD(BetSgmD1, "βσd1:", TKind::HandOnly),
    VEXA_FIELD(KsiSigmH, "ξσh:", TKind::HandOnly),
    VEXA_FIELD(BetSgmD, "βσd:", TKind::HandOnly),
    VEXA_FIELD(AlphaSgm_G_S, "ασ:", TKind::Input),
    VEXA_FIELD(KSgm_G_S, "Kσ:", TKind::Derived),
    VEXA_FIELD(BetTauD_S, "βτd:", TKind::HandOnly),
    VEXA_FIELD(AlphaTauE_S, "ατe:", TKind::HandOnly),
    VEXA_FIELD(BetTauB_S, "βτb:", TKind::HandOnly),
    VEXA_FIELD(BetTauH_S, "βτh:", TKind::HandOnly),
    VEXA_FIELD(AlphaTau0_S, "ατ0:", TKind::HandOnly),
    VEXA_FIELD(AlphaTau_G_S, "ατ:", TKind::Input),
    VEXA_FIELD(KTau_G_S, "Kτ:", TKind::Derived),
    VEXA_FIELD(Knu, "Kν:", TKind::Input),
};
#undef VEXA_FIELD

// The groups of the page: caption, hint and the fields in them.
struct TGroupText {
  const char* Caption;
  const char* Hint;
  std::vector<const char*> Fields;
};

// The fields shown only while the coefficients come from the graphs (the sub-factors of the fillet).
const char* const GraphOnlyFields[] = {"AlphaSgmD0", "BetSgmH", "BetSgmDvn", "AlphaSgmE", "BetSgmE",
                                       "AlphaTau0_S", "BetTauH_S", "BetTauB_S", "AlphaTauE_S", "BetTauD_S"};

}  // namespace

TCoeffConcDlg::TCoeffConcDlg(QWidget* parent)
    : TVexaBaseDlg("Коэффициенты концентрации", parent), GraphDir(GraphDirectory(ProgramDirectory())) {
  HelpPage = "page-concentration.html";
  auto* layout = new QGridLayout(Content());
  std::map<QString, const TFieldText*> texts;
  for (const TFieldText& text : FieldTexts) texts[text.Name] = &text;

  auto group = [&](const QString& caption, const QString& hint, const std::vector<const char*>& names) {
    auto* box = new QGroupBox(caption);
    box->setToolTip(hint);
    auto* form = new QFormLayout(box);
    form->setLabelAlignment(Qt::AlignRight);
    for (const char* name : names) {
      const TFieldText& text = *texts.at(name);
      auto* edit = new QLineEdit;
      edit->setObjectName(name);
      edit->setAccessibleName(QString(text.Label).remove(':') + " (" + name + ")");
      edit->setMinimumWidth(84);
      edit->setMaximumWidth(96);
      if (text.Kind == TKind::Derived) {
        edit->setReadOnly(true);
        edit->setStyleSheet("QLineEdit { background: white; color: #404040; }");
      }
      form->addRow(text.Label, edit);
      fields_[name] = edit;
      WatchChanges(edit);
      if (text.Kind != TKind::Derived)
        connect(edit, &QLineEdit::editingFinished, this, [this, edit] {
          if (edit->isModified()) CoeffsCalcRadioClick();
          edit->setModified(false);
        });
    }
    return box;
  };

  layout->addWidget(group("Коэфф-т усиления", "Коэффициент динамического усиления", {"Nsh", "LamD"}), 0, 0);
  layout->addWidget(group("Асимметрия цикла", {}, {"PsiSgm", "PsiTau"}), 1, 0);
  layout->addWidget(group("Масштабные факторы", {}, {"Esgm_S", "Etau_S", "Etau_K", "Esgm_K"}), 2, 0);

  auto* sensitivity = new QGroupBox("Коэффициенты чувствительности материала");
  auto* sensitivityLayout = new QVBoxLayout(sensitivity);
  sensitivityLayout->addWidget(group("q в галтели ШШ", {}, {"qSigmV_S", "qSigmT_SigmV_S", "qSigm_S", "qTau_S"}));
  sensitivityLayout->addWidget(
      group("q на кромке масл. отв. КШ", {}, {"qSigmV_M_K", "qSigmT_SigmV_M_K", "qSigm_M_K", "qTau_M_K"}));
  sensitivityLayout->addWidget(
      group("q на кромке масл. отв. ШШ", {}, {"qSigmV_M_S", "qSigmT_SigmV_M_S", "qSigm_M_S", "qTau_M_S"}));
  layout->addWidget(sensitivity, 0, 1, 4, 1);
  fields_["qSigmV_S"]->setToolTip("Экспериментальный коэффициент q(SgmV)");
  fields_["qSigmT_SigmV_S"]->setToolTip("Экспериментальный коэффициент q(SgmT/SgmV)");

  auto* coefficients = new QGroupBox("Коэффициенты концентрации");
  auto* coefficientsLayout = new QGridLayout(coefficients);
  coefficientsLayout->addWidget(
      group("В масл. отверстии КШ", {}, {"AlphaSgm_M_K", "AlphaTau_M_K", "KSgm_M_K", "KTau_M_K"}), 0, 0);
  coefficientsLayout->addWidget(
      group("В масл. отверстии ШШ", {}, {"AlphaSgm_M_S", "AlphaTau_M_S", "KSgm_M_S", "KTau_M_S"}), 1, 0);
  auto* bending = group("В галтели ШШ при изгибе",
                        "Коэффициенты концентрации в галтели шатунной шейки при изгибе (относится к ЩЕКЕ!)",
                        {"AlphaSgmD0", "BetSgmH", "BetSgmDvn", "AlphaSgmE", "BetSgmE"});
  BetSgmSS_Border = group("Влияние перекрытия шеек", {}, {"BetSgmD1", "KsiSigmH", "BetSgmD"});
  auto* bendingForm = qobject_cast<QFormLayout*>(bending->layout());
  bendingForm->addRow(BetSgmSS_Border);
  for (const char* name : {"AlphaSgm_G_S", "KSgm_G_S"}) {
    auto* holder = group(QString(), {}, {name});
    auto* form = qobject_cast<QFormLayout*>(holder->layout());
    QWidget* label = form->labelForField(fields_[name]);
    bendingForm->addRow(qobject_cast<QLabel*>(label)->text(), fields_[name]);
    delete holder;
  }
  coefficientsLayout->addWidget(bending, 0, 1, 2, 1);
  auto* torsion = group("В галтели ШШ при кручении",
                        "Коэффициенты концентрации в галтели шатунной шейки при кручении (относится к ШЕЙКЕ!)",
                        {"BetTauD_S", "AlphaTauE_S", "BetTauB_S", "BetTauH_S", "AlphaTau0_S", "AlphaTau_G_S", "KTau_G_S"});
  coefficientsLayout->addWidget(torsion, 0, 2, 2, 1);
  layout->addWidget(coefficients, 0, 2, 3, 2);

  auto* hardening = new QGroupBox("Технология упрочнения");
  auto* hardeningForm = new QFormLayout(hardening);
  StrengthType = new QComboBox;
  StrengthType->setObjectName("StrengthType");
  StrengthType->addItems({"Без упрочнения", "Обдувка дробью", "Цементация, азотирование, цианирование",
                          "Специальная термическая обработка"});
  hardeningForm->addRow(StrengthType);
  auto* knu = group(QString(), {}, {"Knu"});
  hardeningForm->addRow("Kν:", fields_["Knu"]);
  delete knu;
  fields_["Knu"]->setToolTip("Отношением пределов выносливости деталей при упрочняющей технологии и деталей, "
                             "изготовленных без её применения, при наличии концентраторов напряжений");
  layout->addWidget(hardening, 3, 2);

  auto* modeBox = new QGroupBox("КК");
  auto* modeLayout = new QVBoxLayout(modeBox);
  CoeffsCalcRadio = new QButtonGroup(this);
  auto* byGraphs = new QRadioButton("По Лейкину");
  auto* byHand = new QRadioButton("Вручную");
  byGraphs->setObjectName("CoeffsByGraphs");
  byHand->setObjectName("CoeffsByHand");
  CoeffsCalcRadio->addButton(byGraphs, 0);
  CoeffsCalcRadio->addButton(byHand, 1);
  modeLayout->addWidget(byGraphs);
  modeLayout->addWidget(byHand);
  layout->addWidget(modeBox, 3, 3);

  CalcMessage = new QLabel;
  CalcMessage->setWordWrap(true);
  CalcMessage->setStyleSheet("color: #c00000;");
  CalcMessage->hide();
  layout->addWidget(CalcMessage, 4, 0, 1, 4);
  GraphRangeNotes = new QLabel;
  GraphRangeNotes->setObjectName("GraphRangeNotes");
  GraphRangeNotes->setWordWrap(true);
  GraphRangeNotes->setStyleSheet("color: #805000;");
  GraphRangeNotes->hide();
  layout->addWidget(GraphRangeNotes, 5, 0, 1, 4);

  for (const char* name : GraphOnlyFields) {
    graphOnly_.push_back(fields_[name]);
    for (QFormLayout* form : findChildren<QFormLayout*>())
      if (QWidget* label = form->labelForField(fields_[name])) graphOnly_.push_back(label);
  }
  graphOnly_.push_back(BetSgmSS_Border);

  WatchChanges(StrengthType);
  connect(CoeffsCalcRadio, &QButtonGroup::idClicked, this, [this] {
    OnModify(qobject_cast<QWidget*>(CoeffsCalcRadio->checkedButton()));
    CoeffsCalcRadioClick();
  });
  connect(StrengthType, &QComboBox::activated, this, [this] { StrengthTypeChange(); });
}

QLineEdit* TCoeffConcDlg::Field(const QString& name) const {
  const auto found = fields_.find(name);
  return found == fields_.end() ? nullptr : found->second;
}

void TCoeffConcDlg::InitDialog() {
  TVexaBaseDlg::InitDialog();
  PlaceButtons(true);
  CalcMessage->hide();
  // Preparing the page recomputes what the mode derives; it is not a user's change.
  Updating = true;
  applyMode();
  Updating = false;
  const QString failure = recalculate(false);
  CalcMessage->setText(failure);
  CalcMessage->setVisible(!failure.isEmpty());
}

void TCoeffConcDlg::ExchangeData(bool ToEngine) {
  TEngineDataStruct& engine = *Data;
  for (const TFieldText& text : FieldTexts) ExchangeDouble(engine.*text.Value, copy_[text.Name], ToEngine);
  ExchangeByte(engine.CoeffsCalcRadio, mode_, ToEngine);
  ExchangeByte(engine.StrengthType, strengthType_, ToEngine);
}

void TCoeffConcDlg::DoDataExchange(bool FromControls) {
  TVexaBaseDlg::DoDataExchange(FromControls);
  Updating = true;
  for (const TFieldText& text : FieldTexts) {
    ExchangeEditFloat(fields_.at(text.Name), copy_[text.Name], FromControls);
    // Long numbers show their leading digits.
    if (!FromControls) fields_.at(text.Name)->setCursorPosition(0);
  }
  std::int16_t mode = mode_;
  ExchangeRadio(CoeffsCalcRadio, mode, FromControls);
  mode_ = static_cast<std::uint8_t>(mode);
  ExchangeCombo(StrengthType, strengthType_, FromControls);
  Updating = false;
}

QString TCoeffConcDlg::recalculate(bool hardeningOnly) {
  TEngineDataStruct scratch = *Data;
  scratch.OwnerNotify = nullptr;
  TEngineDataStruct* own = Data;
  QString failure;
  std::vector<std::string> notes;
  Data = &scratch;
  try {
    ExchangeData(true);
    if (hardeningOnly)
      scratch.Knu = HardeningFactor(GraphDir, scratch.StrengthType);
    else
      for (const TConcentrationNote& note : CalcConcentrationCoeffs(scratch, GraphDir))
        notes.push_back(ConcentrationNoteText(note));
  } catch (const std::exception& error) {
    // The values computed before the failure stay, as the calculation stores them one by one.
    failure = QString::fromLocal8Bit(error.what());
  }
  ExchangeData(false);
  Data = own;
  DoDataExchange(false);
  // The hardening factor reads no graph at the project's ratios: the notes stay as they were.
  if (!hardeningOnly) ShowGraphRangeNotes(notes);
  return failure;
}

void TCoeffConcDlg::applyMode() {
  const bool byHand = CoeffsCalcRadio->checkedId() == 1;
  for (const TFieldText& text : FieldTexts)
    if (text.Kind == TKind::HandOnly) fields_.at(text.Name)->setReadOnly(!byHand);
  for (QWidget* w : graphOnly_) w->setVisible(!byHand);
}

void TCoeffConcDlg::CoeffsCalcRadioClick() {
  // Half-typed text: the values are computed again once the field holds a number.
  if (Updating || !ReadTypedControls()) return;
  applyMode();
  const QString failure = recalculate(false);
  CalcMessage->setText(failure);
  CalcMessage->setVisible(!failure.isEmpty());
}

void TCoeffConcDlg::StrengthTypeChange() {
  if (!ReadTypedControls()) return;
  const QString failure = recalculate(true);
  CalcMessage->setText(failure);
  CalcMessage->setVisible(!failure.isEmpty());
}

void TCoeffConcDlg::OKButtonClick() {
  setResult(QDialog::Rejected);
  TVexaBaseDlg::OKButtonClick();
  if (result() != QDialog::Accepted) return;
  // The stored coefficients always follow the stored inputs.
  try {
    CalcConcentrationCoeffs(*Data, GraphDir);
  } catch (const std::exception& error) {
    UserDialogs().ShowError(parentWidget(), "Ошибка!", QString::fromLocal8Bit(error.what()));
  }
}

void TCoeffConcDlg::ShowGraphRangeNotes(const std::vector<std::string>& notes) {
  QStringList lines;
  for (const std::string& note : notes) lines << QString::fromStdString(note);
  GraphRangeNotes->setText(lines.join('\n'));
  GraphRangeNotes->setVisible(!lines.isEmpty());
}
