#include "OscillDataFormUnit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "ControlExchangeUnit.h"
#include "DataExchangeUnit.h"
#include "EngineDataStructUnit.h"
#include "InputCheckUnit.h"
#include "MassChainViewUnit.h"
#include "MotorMassUnit.h"
#include "NumberFormatUnit.h"
#include "PageGridUnit.h"
#include "UserDialogsUnit.h"

namespace {

QLineEdit* realField(QFormLayout* form, const QString& label, const char* name, const QString& hint = {}) {
  auto* edit = new QLineEdit;
  edit->setObjectName(name);
  edit->setAccessibleName(QString(label).remove(':').trimmed());
  edit->setMaximumWidth(110);
  if (!hint.isEmpty()) edit->setToolTip(hint);
  form->addRow(label, edit);
  return edit;
}

QSpinBox* countField(QFormLayout* form, const QString& label, const char* name) {
  auto* spin = new QSpinBox;
  spin->setObjectName(name);
  spin->setAccessibleName(QString(label).remove(':').trimmed());
  // Counts change by the arrows only, as typing half a number would rebuild the grids.
  spin->findChild<QLineEdit*>()->setReadOnly(true);
  form->addRow(label, spin);
  return spin;
}

}  // namespace

TOscillDataForm::TOscillDataForm(QWidget* parent) : TVexaBaseDlg("Данные для расчёта крутильных колебаний", parent) {
  HelpPage = "page-torsion.html";
  auto* layout = new QHBoxLayout(Content());
  auto* left = new QVBoxLayout;
  layout->addLayout(left);

  auto* speeds = new QGroupBox("Диапазон частот вращения");
  auto* speedForm = new QFormLayout(speeds);
  nMin = realField(speedForm, "Минимальная, об/мин (Nmin):", "nMin");
  nMax = realField(speedForm, "Максимальная, об/мин (Nmax):", "nMax");
  left->addWidget(speeds);

  auto* damping = new QGroupBox("Демпфирование");
  auto* dampingForm = new QFormLayout(damping);
  ksi = realField(dampingForm, "Коэффициент демпфирования, МН*с/м3, ξ:", "ksi");
  psi = realField(dampingForm, "Коэффициент поглощения, ψ:", "psi");
  left->addWidget(damping);

  auto* chain = new QGroupBox("Расчётная схема");
  auto* chainForm = new QFormLayout(chain);
  NMass = countField(chainForm, "Число масс системы:", "NMass");
  NGarm = countField(chainForm, "Число гармоник:", "NGarm");
  NFirstMass = countField(chainForm, "Номер первой моторной массы:", "NFirstMass");
  left->addWidget(chain);

  auto* damper = new QGroupBox("Демпфер");
  auto* damperForm = new QFormLayout(damper);
  Damper = new QCheckBox("Наличие демпфера");
  Damper->setObjectName("Damper");
  damperForm->addRow(Damper);
  DamperType = new QComboBox;
  DamperType->setObjectName("DamperType");
  DamperType->addItems({"Силиконовый", "Сухого трения", "С резиновым поглотителем"});
  damperForm->addRow(DamperType);
  NMassDamper = countField(damperForm, "Номер массы, несущей демпфер:", "NMassDamper");
  NMassDamperLabel = qobject_cast<QLabel*>(damperForm->labelForField(NMassDamper));
  JmDamper = realField(damperForm, "Момент инерции маховика демпфера, кг*м4, Jд:", "JmDamper");
  ksiDamper = realField(damperForm, "Коэффициент демпфирования, Н*м*с, ξд:", "ksiDamper");
  RefDamper = realField(damperForm, "Эффективный радиус демпфера, м, Rэф:", "RefDamper",
                        "Эффективный радиус Rэф = 2(R2 + Rr + r^2/3(R+r))");
  fDamper = realField(damperForm, "Коэффициент трения, f:", "fDamper");
  PDamper = realField(damperForm, "Сила сжатия дисков демпфера, Н, P", "PDamper");
  zdDamper = realField(damperForm, "Число поверхностей трения, zд:", "zdDamper");
  ksirzDamper = realField(damperForm, "Коэффициент демпфирования, Н*м*с, ξрэ:", "ksirzDamper",
                          "Коэффициент демпфирования в резиновом элементе");
  silicone_ = {JmDamper, ksiDamper};
  friction_ = {RefDamper, fDamper, PDamper, zdDamper};
  rubber_ = {ksirzDamper};
  // The labels follow their fields.
  for (auto* list : {&silicone_, &friction_, &rubber_})
    for (std::size_t i = 0, n = list->size(); i < n; ++i) list->push_back(damperForm->labelForField((*list)[i]));
  left->addWidget(damper);
  left->addStretch(1);

  auto* right = new QVBoxLayout;
  layout->addLayout(right, 1);
  right->addWidget(new QLabel("Моменты инерции приведённых масс, J, кг*м^2:"));
  I_StringGrid = new TPageGrid("Моменты инерции приведённых масс");
  I_StringGrid->setObjectName("I_StringGrid");
  I_StringGrid->setToolTip("Моменты инерции приведённых масс");
  I_StringGrid->setFixedHeight(62);
  right->addWidget(I_StringGrid);
  right->addWidget(new QLabel("Приведённые жёсткости участков, c, кН*м/рад (участок между массами k и k+1 — "
                              "в столбце k+1, строке k):"));
  C_StringGrid = new TPageGrid("Приведённые жёсткости участков");
  C_StringGrid->setObjectName("C_StringGrid");
  C_StringGrid->setToolTip("Приведённые жёсткости участков");
  // Only the cells above the diagonal hold sections (row k, column k+1 and on); the others are
  // painted out.
  C_StringGrid->Grid()->SetBlocked([](int row, int column) { return column <= row + 1; });
  right->addWidget(C_StringGrid, 1);
  CalcCBut = new QPushButton("Рассчитать по заданным массам и геометрии");
  CalcCBut->setObjectName("CalcCBut");
  right->addWidget(CalcCBut, 0, Qt::AlignLeft);
  ChainView = new TMassChainView;
  right->addWidget(ChainView);

  for (QWidget* control : std::initializer_list<QWidget*>{nMin, nMax, ksi, psi, JmDamper, ksiDamper, RefDamper,
                                                          fDamper, PDamper, zdDamper, ksirzDamper})
    WatchChanges(control);
  for (QLineEdit* edit : {nMin, nMax, ksi, psi, JmDamper, fDamper, zdDamper})
    connect(edit, &QLineEdit::textChanged, this, [this] { checkInputs(); });
  for (QSpinBox* spin : {NMass, NGarm, NFirstMass, NMassDamper})
    connect(spin, &QSpinBox::valueChanged, this, [this] { OnListRedraw(); });
  connect(DamperType, &QComboBox::currentIndexChanged, this, [this] { OnListRedraw(); });
  connect(Damper, &QCheckBox::clicked, this, [this] { OnListRedraw(); });
  for (TPageGrid* grid : {I_StringGrid, C_StringGrid})
    connect(grid, &TPageGrid::Edited, this, [this, grid] {
      OnModify(grid);
      refreshPicture();
      checkCells();
    });
  connect(CalcCBut, &QPushButton::clicked, this, [this] { CalcCButClick(); });
  resize(1120, 720);
}

void TOscillDataForm::InitDialog() {
  if (Data->NMass < Data->NSec) Data->ResizeTorsionalModel(Data->NSec);
  I_.assign(MaxMasses, 0.0);
  C_.assign(MaxMasses, TReal1DArray(MaxMasses, 0.0));
  // The limits come first, so that the stored values are shown as they are.
  Updating = true;
  NMass->setRange(Data->NSec + 1, MaxMasses);
  NGarm->setRange(1, 20);
  NFirstMass->setRange(1, MaxMasses);
  NMassDamper->setRange(1, MaxMasses);
  Updating = false;
  TVexaBaseDlg::InitDialog();
  PlaceButtons(true);
  // The page is not shown yet: sizing the grids does not mark the project modified.
  OnListRedraw();
}

void TOscillDataForm::DoDataExchange(bool FromControls) {
  TVexaBaseDlg::DoDataExchange(FromControls);
  Updating = true;
  ExchangeEditFloat(nMin, copy_.nMin, FromControls);
  ExchangeEditFloat(nMax, copy_.nMax, FromControls);
  ExchangeEditFloat(ksi, copy_.ksi, FromControls);
  ExchangeEditFloat(psi, copy_.psi, FromControls);
  ExchangeSpinInt(NMass, copy_.NMass, FromControls);
  ExchangeSpinInt(NGarm, copy_.NGarm, FromControls);
  ExchangeSpinInt(NFirstMass, copy_.NFirstMass, FromControls);
  ExchangeSpinInt(NMassDamper, copy_.NMassDamper, FromControls);
  ExchangeCheck(Damper, copy_.Damper, FromControls);
  ExchangeCombo(DamperType, copy_.DamperType, FromControls);
  ExchangeEditFloat(JmDamper, copy_.JmDamper, FromControls);
  ExchangeEditFloat(ksiDamper, copy_.ksiDamper, FromControls);
  ExchangeEditFloat(RefDamper, copy_.RefDamper, FromControls);
  ExchangeEditFloat(fDamper, copy_.fDamper, FromControls);
  ExchangeEditFloat(PDamper, copy_.PDamper, FromControls);
  ExchangeEditFloat(zdDamper, copy_.zdDamper, FromControls);
  ExchangeEditFloat(ksirzDamper, copy_.ksirzDamper, FromControls);

  I_StringGrid->FillEmptyWithZero();
  C_StringGrid->FillEmptyWithZero();
  // Grid column m holds mass m (column 0 holds the titles).
  const int shown = std::min(I_StringGrid->Grid()->columnCount() - 1, MaxMasses);
  for (int i = 0; i < shown; ++i) ExchangeCell(I_StringGrid, 0, i + 1, I_[static_cast<std::size_t>(i)], FromControls, true);
  // Cell (row j, column i + 1) holds the stiffness between masses i and j: C_[i][j].
  const int chain = std::min(C_StringGrid->Grid()->rowCount(), MaxMasses);
  for (int row = 0; row < chain; ++row)
    for (int i = 0; i < chain; ++i)
      ExchangeCell(C_StringGrid, row, i + 1, C_[static_cast<std::size_t>(i)][static_cast<std::size_t>(row)],
                   FromControls, true);
  Updating = false;
  refreshPicture();
  checkInputs();
  checkCells();
}

void TOscillDataForm::ExchangeData(bool ToEngine) {
  TEngineDataStruct& engine = *Data;
  ExchangeDouble(engine.nMin, copy_.nMin, ToEngine);
  ExchangeDouble(engine.nMax, copy_.nMax, ToEngine);
  ExchangeDouble(engine.ksi, copy_.ksi, ToEngine);
  ExchangeDouble(engine.psi, copy_.psi, ToEngine);
  ExchangeSmallInt(engine.NGarm, copy_.NGarm, ToEngine);
  ExchangeSmallInt(engine.NFirstMass, copy_.NFirstMass, ToEngine);
  ExchangeSmallInt(engine.NMassDamper, copy_.NMassDamper, ToEngine);
  ExchangeValue(engine.Damper, copy_.Damper, ToEngine);
  ExchangeByte(engine.DamperType, copy_.DamperType, ToEngine);
  ExchangeDouble(engine.JmDamper, copy_.JmDamper, ToEngine);
  ExchangeDouble(engine.ksiDamper, copy_.ksiDamper, ToEngine);
  ExchangeDouble(engine.RefDamper, copy_.RefDamper, ToEngine);
  ExchangeDouble(engine.fDamper, copy_.fDamper, ToEngine);
  ExchangeDouble(engine.PDamper, copy_.PDamper, ToEngine);
  ExchangeDouble(engine.zdDamper, copy_.zdDamper, ToEngine);
  ExchangeDouble(engine.ksirzDamper, copy_.ksirzDamper, ToEngine);
  const auto n = static_cast<std::size_t>(copy_.NMass);
  if (!ToEngine) {
    copy_.NMass = engine.NMass;
    I_.assign(MaxMasses, 0.0);
    C_.assign(MaxMasses, TReal1DArray(MaxMasses, 0.0));
    for (std::size_t i = 0; i < std::min<std::size_t>(engine.IMass.size(), MaxMasses); ++i) I_[i] = engine.IMass[i];
    for (std::size_t i = 0; i < std::min<std::size_t>(engine.CMatrix.size(), MaxMasses); ++i)
      for (std::size_t j = 0; j < std::min<std::size_t>(engine.CMatrix[i].size(), MaxMasses); ++j)
        C_[i][j] = engine.CMatrix[i][j];
    return;
  }
  // Only the shown chain is stored; the hidden rest is dropped from the working copies too.
  for (std::size_t i = n; i < MaxMasses; ++i) I_[i] = 0;
  for (std::size_t i = 0; i < MaxMasses; ++i)
    for (std::size_t j = 0; j < MaxMasses; ++j)
      if (i >= n || j >= n) C_[i][j] = 0;
  // The cells above the diagonal (C_[i][j], j < i) are the ones the user edits: they win.
  for (std::size_t i = 0; i < n; ++i)
    for (std::size_t j = 0; j < i; ++j) C_[j][i] = C_[i][j];
  engine.ResizeTorsionalModel(copy_.NMass);
  for (std::size_t i = 0; i < n; ++i) {
    engine.IMass[i] = I_[i];
    for (std::size_t j = 0; j < n; ++j) engine.CMatrix[i][j] = C_[i][j];
  }
}

void TOscillDataForm::OnListRedraw() {
  if (Updating) return;
  const bool userChange = isVisible();
  // The grids keep their size until the cell holds a number.
  if (!ReadTypedControls()) return;
  Updating = true;
  NFirstMass->setMaximum(std::max(1, copy_.NMass - Data->NSec + 1));
  NMassDamper->setMaximum(copy_.NMass);
  copy_.NFirstMass = static_cast<std::int16_t>(NFirstMass->value());
  copy_.NMassDamper = static_cast<std::int16_t>(NMassDamper->value());
  const int n = copy_.NMass;
  const QStringList masses = QStringList{"№"} + NumberTitles(n);
  I_StringGrid->Grid()->Resize(1, n);
  I_StringGrid->Grid()->SetTitles(masses, {"J, кг*м^2"});
  C_StringGrid->Grid()->Resize(n, n);
  C_StringGrid->Grid()->SetTitles(masses, NumberTitles(n));
  Updating = false;
  applyVisibility();
  DoDataExchange(false);
  if (userChange) OnModify(NMass);
}

void TOscillDataForm::applyVisibility() {
  const bool damper = Damper->isChecked();
  NMassDamper->setVisible(damper);
  if (NMassDamperLabel) NMassDamperLabel->setVisible(damper);
  DamperType->setVisible(damper);
  const int type = DamperType->currentIndex();
  for (QWidget* w : silicone_) w->setVisible(damper && type == 0);
  for (QWidget* w : friction_) w->setVisible(damper && type == 1);
  for (QWidget* w : rubber_) w->setVisible(damper && type == 2);
}

void TOscillDataForm::refreshPicture() {
  // The picture follows the cells as typed; a cell that is not a number counts as 0 there.
  TReal1DArray j = I_;
  TReal2DArray c = C_;
  const int n = I_StringGrid->Grid()->columnCount() - 1;
  for (int i = 0; i < n; ++i) j[static_cast<std::size_t>(i)] = I_StringGrid->NumberOr(0, i + 1, 0);
  // The section between masses m and m + 1 is in row m, column m + 1 (1-based).
  for (int m = 1; m < std::min(n, C_StringGrid->Grid()->rowCount()); ++m)
    c[static_cast<std::size_t>(m)][static_cast<std::size_t>(m - 1)] = C_StringGrid->NumberOr(m - 1, m + 1, 0);
  ChainView->SetPicture(MassChainPicture(j, c, n, Data ? Data->NSec : 1, NFirstMass->value(),
                                         Damper->isChecked() ? NMassDamper->value() : 0));
}

void TOscillDataForm::CalcCButClick() {
  if (!ReadControls()) return;
  // The geometry and masses are the project's stored ones; the chain is the page's.
  TEngineDataStruct engine = *Data;
  engine.OwnerNotify = nullptr;
  engine.NMass = copy_.NMass;
  engine.NFirstMass = copy_.NFirstMass;
  try {
    MotorMass::Fill(engine, I_, C_);
  } catch (const std::invalid_argument& error) {
    UserDialogs().ShowError(this, "Ошибка!", QString::fromStdString(error.what()));
    return;
  }
  DoDataExchange(false);
  OnModify(CalcCBut);
}

void TOscillDataForm::checkCells() {
  TPageGridModel* jCells = I_StringGrid->Grid();
  for (int column = 1; column < jCells->columnCount(); ++column) {
    const auto J = TypedNumber(jCells->Cell(0, column));
    jCells->SetWarning(0, column, J && *J <= 0 ? "Момент инерции массы должен быть больше нуля" : QString());
  }
  // The resonance calculation takes a chain: each mass joined to the next one only. Row k
  // holds mass k + 1's sections; column k + 2 is its neighbour, the columns beyond are not.
  TPageGridModel* cCells = C_StringGrid->Grid();
  for (int row = 0; row < cCells->rowCount(); ++row)
    for (int column = row + 3; column < cCells->columnCount(); ++column) {
      const auto c = TypedNumber(cCells->Cell(row, column));
      cCells->SetWarning(row, column, c && *c != 0
                                          ? "Жёсткость между несоседними массами: расчёт резонансов ведётся только "
                                            "для цепочки, в которой каждая масса соединена со следующей"
                                          : QString());
    }
}

void TOscillDataForm::checkInputs() {
  auto number = [](QLineEdit* edit) { return TypedNumber(edit->text()); };
  const auto low = number(nMin), high = number(nMax);
  MarkInvalid(nMin, low && *low <= 0 ? "Частота вращения должна быть больше нуля" : QString());
  MarkInvalid(nMax, low && high && *high <= *low ? "Максимальная частота должна быть больше минимальной" : QString());
  for (QLineEdit* edit : {ksi, psi}) {
    const auto k = number(edit);
    MarkInvalid(edit, k && *k < 0 ? "Коэффициент не может быть отрицательным" : QString());
  }
  const auto jm = number(JmDamper), zd = number(zdDamper), f = number(fDamper);
  MarkInvalid(JmDamper, Damper->isChecked() && jm && *jm <= 0
                            ? "Момент инерции маховика демпфера должен быть больше нуля"
                            : QString());
  MarkInvalid(zdDamper, Damper->isChecked() && zd && *zd <= 0 ? "Число поверхностей трения должно быть больше нуля"
                                                               : QString());
  MarkInvalid(fDamper, f && *f < 0 ? "Коэффициент трения не может быть отрицательным" : QString());
}
