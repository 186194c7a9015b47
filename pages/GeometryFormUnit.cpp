#include "GeometryFormUnit.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

#include "ConcentrationCoeffsUnit.h"
#include "ControlExchangeUnit.h"
#include "EVexaErrorUnit.h"
#include "EngineDataStructUnit.h"
#include "FloatSpinEditUnit.h"
#include "GraphFileUnit.h"
#include "InputChecksUnit.h"
#include "ProgramPathUnit.h"
#include "SketchWidgetUnit.h"
#include "ThrowSketchUnit.h"
#include "UserDialogsUnit.h"

namespace {

// The lowest counterweight offset the loads accept, m.
constexpr double MinL6 = 0.002;

QString nameOf(const QString& label) {
  QString name = label;
  while (name.endsWith(':') || name.endsWith(' ')) name.chop(1);
  return name;
}

}  // namespace

TGeometryForm::TGeometryForm(QWidget* parent)
    : TVexaBaseDlg("Геометрия колена вала", parent), GraphDir(GraphDirectory(ProgramDirectory())) {
  HelpPage = "page-geometry.html";
  auto* layout = new QHBoxLayout(Content());
  auto* fields = new QGridLayout;
  int row = 0;
  auto number = [&](const QString& label, const QString& hint, double step, int decimals, const char* sketchField,
                    int column = 0) {
    auto* edit = new TFloatSpinEdit(nameOf(label), hint, step, decimals, Content());
    edit->setMinimumWidth(90);
    fields->addWidget(new QLabel(label, Content()), column == 0 ? row : row - 1, column);
    fields->addWidget(edit, column == 0 ? row : row - 1, column + 1);
    if (column == 0) ++row;
    WatchChanges(edit);
    connect(edit, &QLineEdit::textChanged, this, [this] { refreshSketch(); });
    edit->installEventFilter(this);
    if (*sketchField) sketchField_[edit] = sketchField;
    return edit;
  };
  auto integer = [&](const QString& label, const QString& hint, int step, int min, int max) {
    auto* box = new QSpinBox(Content());
    box->setRange(min, max);
    box->setSingleStep(step);
    box->setAccessibleName(nameOf(label));
    box->setToolTip(hint);
    fields->addWidget(new QLabel(label, Content()), row, 0);
    fields->addWidget(box, row++, 1);
    // Arrow clicks change the value without a text change signal.
    connect(box, &QSpinBox::valueChanged, this, [this, box] { OnModify(box); });
    return box;
  };
  D = number("Диаметр цилиндра, м (D):", "Значение диаметра цилиндра в метрах", 0.01, 4, "D");
  R = number("Радиус кривошипа, м (R) :", "Расстояние между осями коренных и шатунных шеек", 0.01, 4, "R");
  L0 = number("Длина колена, м (L0) :", "Расстояние между серединами коренных шеек", 0.01, 4, "L0");
  DkSh = number("DKнаруж, м (DkSh) :", "Наружный диаметр коренной шейки", 0.01, 4, "DkSh");
  DkSb = number("DKвнутр, м (DkSb) :", "Внутренний диаметр коренной шейки", 0.01, 4, "DkSb");
  DsSh = number("DШнаруж, м (DsSh) :", "Наружный диаметр шатунной шейки", 0.01, 4, "DsSh");
  DsSb = number("DШвнутр, м (DsSb) :", "Внутренний диаметр шатунной шейки", 0.01, 4, "DsSb");
  H = number("Ширина щеки, м (H) :", "Ширина щеки (H), см. эскиз", 0.01, 4, "H");
  CoeffH = number("cH:",
                  "Коэффициент для подбора колена эквивалентной жесткости, на него умножается ширина щеки H", 5, 4,
                  "H", 2);
  B = number("Толщина щеки, м (B) :", "Толщина щеки (B), см. эскиз", 0.01, 4, "B");
  CoeffB = number("cB:",
                  "Коэффициент для подбора колена эквивалентной жесткости, на него умножается толщина щеки B", 5, 4,
                  "B", 2);
  for (TFloatSpinEdit* coeff : {CoeffH, CoeffB}) {
    coeff->Min = 0;
    coeff->Max = 45;
    coeff->setMinimumWidth(60);
  }
  FiMasl = integer("Угол наклона масляной канавки, град:",
                   "Угол наклона масляной канавки в шатунной шейке по отношению к плоскости коленчатого вала", 1,
                   -32768, 32767);
  L5 = number("Расстояние до галтели щеки, м (L5) :",
              "Расстояние от левого конца колена до начала галтели сопряжения шейки и щеки", 0.01, 4, "L5");
  L6 = number("Смещение оси противовеса, м (L6) :",
              "Расстояние вправо от осевой линии щеки до осевой линии противовеса (т.е. его центра тяжести)", 0.01, 4,
              "L6");
  RgalK = number("Радиус галтели КШ, м (RgalK):", "Радиус галтели коренной шейки", 0.001, 5, "RgalK");
  RGalS = number("Радиус галтели ШШ, м (RgalS):", "Радиус галтели шатунной шейки", 0.001, 5, "RgalS");
  RMaslK = number("Радиус масл. отв. в КШ, м (RMaslK):", "Радиус маслоподводящего отверстия в коренной шейке", 0.001,
                  5, "RMaslK");
  RMaslS = number("Радиус масл. отв. в ШШ, м (RMaslS):", "Радиус маслоподводящего отверстия в шатунной шейке", 0.001,
                  5, "RMaslS");
  E = number("Эксцентриситет облегч. отв., м (E):", "Смещение оси облегчающего отверстия относительно оси КШ", 0.01, 4,
             "E");
  GammaMasl = integer("Угол наклона масл. отв., град (gamma):", QString(), 5, 0, 45);
  fields->setRowStretch(row, 1);
  const std::pair<QWidget*, const char*> names[] = {
      {D, "D"},         {R, "R"},         {L0, "L0"},       {DkSh, "DkSh"},     {DkSb, "DkSb"},
      {DsSh, "DsSh"},   {DsSb, "DsSb"},   {H, "H"},         {B, "B"},           {CoeffH, "CoeffH"},
      {CoeffB, "CoeffB"}, {FiMasl, "FiMasl"}, {L5, "L5"},   {L6, "L6"},         {RgalK, "RgalK"},
      {RGalS, "RGalS"}, {RMaslK, "RMaslK"}, {RMaslS, "RMaslS"}, {E, "E"},       {GammaMasl, "GammaMasl"}};
  for (auto [control, name] : names) control->setObjectName(name);

  auto* sketchGroup = new QGroupBox("Эскиз колена", Content());
  Sketch = new TSketchWidget(sketchGroup);
  Sketch->setMinimumSize(360, 380);
  (new QVBoxLayout(sketchGroup))->addWidget(Sketch);
  layout->addLayout(fields);
  layout->addWidget(sketchGroup, 1);
  setMinimumSize(980, 600);
  setSizeGripEnabled(true);
}

void TGeometryForm::InitDialog() {
  TVexaBaseDlg::InitDialog();
  PlaceButtons(false);
  refreshSketch();
}

void TGeometryForm::DoDataExchange(bool FromControls) {
  TVexaBaseDlg::DoDataExchange(FromControls);
  Updating = true;
  const std::pair<TFloatSpinEdit*, double*> numbers[] = {
      {D, &Copy.D},         {R, &Copy.R},         {L0, &Copy.L0},         {DkSh, &Copy.DkSh},   {DkSb, &Copy.DkSb},
      {DsSh, &Copy.DsSh},   {DsSb, &Copy.DsSb},   {H, &Copy.H},           {B, &Copy.B},         {CoeffH, &Copy.CoeffH},
      {CoeffB, &Copy.CoeffB}, {L5, &Copy.L5},     {L6, &Copy.L6},         {RgalK, &Copy.RgalK}, {RGalS, &Copy.RgalS},
      {RMaslK, &Copy.RMaslK}, {RMaslS, &Copy.RMaslS}, {E, &Copy.E}};
  for (auto [control, field] : numbers) ExchangeEditFloat(control, *field, FromControls);
  ExchangeSpinInt(FiMasl, Copy.FiMasl, FromControls);
  std::int16_t gamma = static_cast<std::int16_t>(Copy.GammaMasl);
  ExchangeSpinInt(GammaMasl, gamma, FromControls);
  if (FromControls) Copy.GammaMasl = gamma;
  // The counterweight's centre of mass stays at least 2 mm off the web's mid-line; the
  // field shows the value that is stored.
  if (FromControls && Copy.L6 < MinL6) {
    Copy.L6 = MinL6;
    ExchangeEditFloat(L6, Copy.L6, false);
  }
  Updating = false;
}

void TGeometryForm::ExchangeData(bool ToEngine) {
  TEngineDataStruct& e = *Data;
  for (auto [engine, page] : {std::pair{&e.D, &Copy.D}, {&e.R, &Copy.R}, {&e.L0, &Copy.L0}, {&e.DkSh, &Copy.DkSh},
                              {&e.DkSb, &Copy.DkSb}, {&e.DsSh, &Copy.DsSh}, {&e.DsSb, &Copy.DsSb}, {&e.H, &Copy.H},
                              {&e.B, &Copy.B}, {&e.CoeffH, &Copy.CoeffH}, {&e.CoeffB, &Copy.CoeffB},
                              {&e.GammaMasl, &Copy.GammaMasl}, {&e.L5, &Copy.L5}, {&e.L6, &Copy.L6},
                              {&e.RgalK, &Copy.RgalK}, {&e.RgalS, &Copy.RgalS}, {&e.RMaslK, &Copy.RMaslK},
                              {&e.RMaslS, &Copy.RMaslS}, {&e.E, &Copy.E}})
    ExchangeDouble(*engine, *page, ToEngine);
  ExchangeSmallInt(e.FiMasl, Copy.FiMasl, ToEngine);
}

void TGeometryForm::OKButtonClick() {
  setResult(QDialog::Rejected);
  TVexaBaseDlg::OKButtonClick();
  if (result() != QDialog::Accepted) return;
  // The concentration coefficients follow the geometry they were read for. The geometry is
  // stored either way; a coefficient that cannot be computed is reported, not fatal.
  try {
    CalcConcentrationCoeffs(*Data, GraphDir);
  } catch (const TEVexaError& error) {
    ShowVexaError(parentWidget(), error);
  } catch (const std::exception& error) {
    UserDialogs().ShowError(parentWidget(), "Ошибка!",
                            QString("Геометрия сохранена, но коэффициенты концентрации не пересчитаны.\n%1")
                                .arg(QString::fromStdString(error.what())));
  }
}

bool TGeometryForm::eventFilter(QObject* watched, QEvent* event) {
  const auto type = event->type();
  if (type == QEvent::Enter || type == QEvent::FocusIn) {
    hovered_ = watched;
    const auto found = sketchField_.find(watched);
    Sketch->SetHighlight(found == sketchField_.end() ? std::string() : found->second);
  } else if (type == QEvent::Leave && hovered_ == watched) {
    // Back to the field that has the focus, if any.
    const auto found = sketchField_.find(focusWidget());
    Sketch->SetHighlight(found == sketchField_.end() ? std::string() : found->second);
  }
  return TVexaBaseDlg::eventFilter(watched, event);
}

void TGeometryForm::refreshSketch() {
  TThrowDimensions d;
  const std::pair<TFloatSpinEdit*, double*> fields[] = {
      {D, &d.D},       {R, &d.R},       {L0, &d.L0},         {DkSh, &d.DkSh},     {DkSb, &d.DkSb},     {DsSh, &d.DsSh},
      {DsSb, &d.DsSb}, {H, &d.H},       {B, &d.B},           {L5, &d.L5},         {L6, &d.L6},         {RgalK, &d.RgalK},
      {RGalS, &d.RgalS}, {RMaslK, &d.RMaslK}, {RMaslS, &d.RMaslS}, {E, &d.E}};
  for (auto [control, field] : fields) *field = control->ValueOr(0);
  Sketch->SetSketch(ThrowSketch(d));

  auto mark = [](TFloatSpinEdit* field, double value, const std::string& unit, const std::string& why) {
    field->SetWarning(why.empty() ? QString()
                                  : QString::fromStdString(WarningText(FieldName(field).toStdString(), value, unit, why)));
  };
  for (TFloatSpinEdit* field : {D, R, L0, DkSh, DsSh, H, B}) mark(field, field->ValueOr(0), "м", CheckDimension(field->ValueOr(0)));
  mark(DkSb, d.DkSb, "м", CheckBore(d.DkSb, d.DkSh));
  mark(DsSb, d.DsSb, "м", CheckBore(d.DsSb, d.DsSh));
  mark(RgalK, d.RgalK, "м", CheckJournalRadius(d.RgalK, d.DkSh));
  mark(RGalS, d.RgalS, "м", CheckJournalRadius(d.RgalS, d.DsSh));
  mark(RMaslK, d.RMaslK, "м", CheckJournalRadius(d.RMaslK, d.DkSh));
  mark(RMaslS, d.RMaslS, "м", CheckJournalRadius(d.RMaslS, d.DsSh));
  if (L0->Warning().isEmpty()) mark(L0, d.L0, "м", CheckPinLength(d.L0, d.L5, d.RgalK, d.B));
}
