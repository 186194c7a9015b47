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
#include "NumberGridUnit.h"
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
  I_StringGrid = new TNumberGrid;
  I_StringGrid->setObjectName("I_StringGrid");
  I_StringGrid->setToolTip("Моменты инерции приведённых масс");
  I_StringGrid->setFixedHeight(62);
  right->addWidget(I_StringGrid);
  right->addWidget(new QLabel("Приведённые жёсткости участков, c, кН*м/рад (участок между массами k и k+1 — "
                              "в столбце k+1, строке k):"));
  C_StringGrid = new TNumberGrid;
  C_StringGrid->setObjectName("C_StringGrid");
  C_StringGrid->setToolTip("Приведённые жёсткости участков");
  // Only the cells above the diagonal hold sections; the others are painted out.
  C_StringGrid->Model()->SetBlocked([](int row, int column) { return row >= column; });
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
  for (TNumberGrid* grid : {I_StringGrid, C_StringGrid})
    connect(grid->Model(), &TNumberGridModel::CellEdited, this, [this, grid] {
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

  TNumberGridModel* jCells = I_StringGrid->Model();
  TNumberGridModel* cCells = C_StringGrid->Model();
  const int shown = std::min(jCells->columnCount(), MaxMasses);
  for (int i = 0; i < shown; ++i) {
    if (FromControls)
      I_[static_cast<std::size_t>(i)] = jCells->Number(0, i);
    else
      jCells->SetText(0, i, QString::fromStdString(FormatGeneral(I_[static_cast<std::size_t>(i)])));
  }
  // Cell (row j, column i) holds the stiffness between masses i and j: C_[i][j].
  for (int row = 0; row < std::min(cCells->rowCount(), MaxMasses); ++row)
    for (int column = 0; column < std::min(cCells->columnCount(), MaxMasses); ++column) {
      double& value = C_[static_cast<std::size_t>(column)][static_cast<std::size_t>(row)];
      if (FromControls)
        value = cCells->Number(row, column);
      else
        cCells->SetText(row, column, QString::fromStdString(FormatGeneral(value)));
    }
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

bool TOscillDataForm::gridsReadable() {
  for (TNumberGrid* grid : {I_StringGrid, C_StringGrid}) {
    TNumberGridModel* cells = grid->Model();
    for (int row = 0; row < cells->rowCount(); ++row)
      for (int column = 0; column < cells->columnCount(); ++column) {
        if (cells->Blocked(row, column)) continue;
        try {
          cells->Number(row, column);
        } catch (const EGridCellError& error) {
          grid->SelectCell(error.Row, error.Column);
          const QString table = grid == I_StringGrid ? "Моменты инерции" : "Жёсткости участков";
          UserDialogs().ShowError(this, "Ошибка!",
                                  QString("Таблица \"%1\", строка %2, столбец %3: \"%4\" не является числом. "
                                          "Введите числовое значение.")
                                      .arg(table)
                                      .arg(grid == I_StringGrid ? 1 : error.Row + 1)
                                      .arg(error.Column + 1)
                                      .arg(error.Text));
          return false;
        }
      }
  }
  return true;
}

void TOscillDataForm::OKButtonClick() {
  if (gridsReadable()) TVexaBaseDlg::OKButtonClick();
}

void TOscillDataForm::ApplyButtonClick() {
  if (gridsReadable()) TVexaBaseDlg::ApplyButtonClick();
}

void TOscillDataForm::OnListRedraw() {
  if (Updating) return;
  const bool userChange = isVisible();
  if (!gridsReadable()) return;
  DoDataExchange(true);
  Updating = true;
  NFirstMass->setMaximum(std::max(1, copy_.NMass - Data->NSec + 1));
  NMassDamper->setMaximum(copy_.NMass);
  copy_.NFirstMass = static_cast<std::int16_t>(NFirstMass->value());
  copy_.NMassDamper = static_cast<std::int16_t>(NMassDamper->value());
  const int n = copy_.NMass;
  I_StringGrid->Model()->Resize(1, n);
  I_StringGrid->Model()->SetHeaders({"J, кг*м^2"}, {});
  C_StringGrid->Model()->Resize(n, n);
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
  auto cellValue = [](TNumberGridModel* cells, int row, int column) {
    return TypedNumber(cells->Text(row, column)).value_or(0.0);
  };
  TNumberGridModel* jCells = I_StringGrid->Model();
  TNumberGridModel* cCells = C_StringGrid->Model();
  for (int i = 0; i < jCells->columnCount(); ++i) j[static_cast<std::size_t>(i)] = cellValue(jCells, 0, i);
  for (int column = 1; column < cCells->columnCount(); ++column)
    c[static_cast<std::size_t>(column)][static_cast<std::size_t>(column - 1)] = cellValue(cCells, column - 1, column);
  ChainView->SetPicture(MassChainPicture(j, c, jCells->columnCount(), Data ? Data->NSec : 1, NFirstMass->value(),
                                         Damper->isChecked() ? NMassDamper->value() : 0));
}

void TOscillDataForm::CalcCButClick() {
  if (!gridsReadable()) return;
  DoDataExchange(true);
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
  TNumberGridModel* jCells = I_StringGrid->Model();
  for (int i = 0; i < jCells->columnCount(); ++i) {
    const auto J = TypedNumber(jCells->Text(0, i));
    jCells->SetWarning(0, i, J && *J <= 0 ? "Момент инерции массы должен быть больше нуля" : QString());
  }
  // The resonance calculation takes a chain: each mass joined to the next one only.
  TNumberGridModel* cCells = C_StringGrid->Model();
  for (int row = 0; row < cCells->rowCount(); ++row)
    for (int column = row + 2; column < cCells->columnCount(); ++column) {
      const auto c = TypedNumber(cCells->Text(row, column));
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
