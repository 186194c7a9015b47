#include "KomponovkaDlgUnit.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <numbers>

#include "AngleExchangeUnit.h"
#include "ControlExchangeUnit.h"
#include "FloatSpinEditUnit.h"
#include "InputChecksUnit.h"
#include "LayoutPictureUnit.h"
#include "PageGridUnit.h"
#include "SketchWidgetUnit.h"

namespace {

QSpinBox* countBox(const QString& name, const QString& hint, int max, QWidget* parent) {
  auto* box = new QSpinBox(parent);
  box->setRange(1, max);
  box->setAccessibleName(name);
  box->setToolTip(hint);
  // Counts change with the arrows only: a half-typed number would rebuild the tables.
  box->findChild<QLineEdit*>()->setReadOnly(true);
  return box;
}

}  // namespace

TKomponovkaDlg::TKomponovkaDlg(QWidget* parent) : TVexaBaseDlg("Компоновочная схема", parent) {
  HelpPage = "page-layout.html";
  auto* layout = new QGridLayout(Content());

  auto* counts = new QGridLayout;
  NSec = countBox("Число секций",
                  "Секция соответствует одному колену вала. В однорядном двигателе число секций равно числу цилиндров",
                  MaxSections, Content());
  NRad = countBox("Число рядов", "Для V-образного двигателя число рядов - 2, для W-образного - 3 и т.д.", MaxRows,
                  Content());
  a = new TFloatSpinEdit("Дезаксиал, м (a)", "Смещение оси цилиндра относительно оси вала", 0.001, 4, Content());
  aLabel = new QLabel("Дезаксиал, м (a):", Content());
  counts->addWidget(new QLabel("Число секций:", Content()), 0, 0);
  counts->addWidget(NSec, 0, 1);
  counts->addWidget(new QLabel("Число рядов:", Content()), 1, 0);
  counts->addWidget(NRad, 1, 1);
  counts->addWidget(aLabel, 2, 0);
  counts->addWidget(a, 2, 1);

  DispositionGroup = new QGroupBox("Сочленение шатунов с валом", Content());
  auto* dispositionLayout = new QVBoxLayout(DispositionGroup);
  Disposition = new QButtonGroup(this);
  for (const char* item : {"&1 - Рядом сидящие", "&2 - Прицепные"}) {
    auto* button = new QRadioButton(item, DispositionGroup);
    Disposition->addButton(button);
    dispositionLayout->addWidget(button);
  }
  auto* left = new QVBoxLayout;
  left->addLayout(counts);
  left->addWidget(DispositionGroup);
  left->addStretch(1);

  CrankStar = new TSketchWidget(Content());
  CrankStar->setToolTip("Колена вала, вид с переднего конца: положение каждого колена по углам вспышек "
                        "цилиндров первого ряда, оси цилиндров рядов");
  LayoutScheme = new TSketchWidget(Content());
  LayoutScheme->setToolTip("Секции и ряды с номерами цилиндров; отключённые цилиндры штриховые");
  LayoutScheme->setMinimumSize(260, 150);

  auto* fireGroup = new QGroupBox("Углы вспышек в цилиндрах", Content());
  InitValTable = new TPageGrid("Углы вспышек в цилиндрах", fireGroup);
  (new QVBoxLayout(fireGroup))->addWidget(InitValTable);
  auto* rodGroup = new QGroupBox("Геометрия сочленения шатунов", Content());
  ConRodTable = new TPageGrid("Геометрия сочленения шатунов", rodGroup);
  (new QVBoxLayout(rodGroup))->addWidget(ConRodTable);
  ConRodTable->Grid()->Resize(1, 4);
  ConRodTable->Grid()->SetTitles({"№ ряда", "l, м", "gamma1, град", "r1, м", "gamma, град"}, {});

  layout->addLayout(left, 0, 0);
  layout->addWidget(CrankStar, 0, 1);
  layout->addWidget(LayoutScheme, 0, 2);
  layout->addWidget(fireGroup, 1, 0, 1, 3);
  layout->addWidget(rodGroup, 2, 0, 1, 3);
  layout->setRowStretch(0, 3);
  layout->setRowStretch(1, 2);
  layout->setRowStretch(2, 2);
  layout->setColumnStretch(1, 1);
  layout->setColumnStretch(2, 1);
  setMinimumSize(760, 600);
  for (auto [control, name] : {std::pair<QWidget*, const char*>{NSec, "NSec"}, {NRad, "NRad"}, {a, "a"},
                               {InitValTable, "InitValTable"}, {ConRodTable, "ConRodTable"}})
    control->setObjectName(name);

  WatchChanges(a);
  // The counts change with the arrows, which give no text change signal.
  for (QSpinBox* count : {NSec, NRad}) connect(count, &QSpinBox::valueChanged, this, [this, count] { OnModify(count); });
  for (QAbstractButton* button : Disposition->buttons()) {
    connect(button, &QAbstractButton::clicked, this, [this, button] {
      OnModify(button);
      OnListRedraw();
    });
  }
  connect(NSec, &QSpinBox::valueChanged, this, [this] { OnListRedraw(); });
  connect(NRad, &QSpinBox::valueChanged, this, [this] { OnListRedraw(); });
  connect(a, &QLineEdit::textChanged, this, [this] { refreshPictures(); });
  for (TPageGrid* grid : {InitValTable, ConRodTable})
    connect(grid, &TPageGrid::Edited, this, [this, grid] {
      OnModify(grid);
      refreshPictures();
    });
}

void TKomponovkaDlg::InitDialog() {
  TVexaBaseDlg::InitDialog();
  PlaceButtons(true);
  // Building the tables for the stored counts is part of showing the page, not a change:
  // OnListRedraw notifies nothing, the controls a user changes do.
  OnListRedraw();
}

void TKomponovkaDlg::DoDataExchange(bool FromControls) {
  TVexaBaseDlg::DoDataExchange(FromControls);
  Updating = true;
  InitValTable->FillEmptyWithZero();
  ConRodTable->FillEmptyWithZero();
  ExchangeEditFloat(a, Copy.Dezax, FromControls);
  // The tables are read over the sizes they have now, which the counts may already differ from.
  const int rows = ConRodTable->Grid()->rowCount();
  const int fireRows = InitValTable->Grid()->rowCount(), fireSections = InitValTable->Grid()->columnCount() - 1;
  if (FromControls) {
    Copy.NSec = static_cast<std::int16_t>(NSec->value());
    Copy.NRad = static_cast<std::int16_t>(NRad->value());
    Copy.Disposition = static_cast<std::int16_t>(Disposition->buttons().indexOf(Disposition->checkedButton()));
    if (Copy.Disposition < 0) Copy.Disposition = 0;
    for (int r = 1; r <= rows; ++r) {
      Copy.ConRodL[r] = ConRodTable->Number(r - 1, 1);
      Copy.ConRodGamma1[r] = ConRodTable->Number(r - 1, 2);
      Copy.ConRodR1[r] = ConRodTable->Number(r - 1, 3);
      Copy.ConRodGamma[r] = ConRodTable->Number(r - 1, 4);
    }
    Copy.ConRodGamma1[1] = 0;
    Copy.ConRodR1[1] = 0;
    for (int s = 1; s <= fireSections; ++s)
      for (int r = 1; r <= fireRows; ++r) Copy.FireAngle[s][r] = ToRadians(InitValTable->Number(r - 1, s));
  } else {
    NSec->setValue(Copy.NSec);
    NRad->setValue(Copy.NRad);
    Disposition->buttons().value(Copy.Disposition == 1 ? 1 : 0)->setChecked(true);
    for (int r = 1; r <= rows; ++r) {
      ConRodTable->SetNumber(r - 1, 1, Copy.ConRodL[r]);
      ConRodTable->SetNumber(r - 1, 2, Copy.ConRodGamma1[r]);
      ConRodTable->SetNumber(r - 1, 3, Copy.ConRodR1[r]);
      ConRodTable->SetNumber(r - 1, 4, Copy.ConRodGamma[r]);
    }
    for (int s = 1; s <= fireSections; ++s)
      for (int r = 1; r <= fireRows; ++r) InitValTable->SetNumber(r - 1, s, ToDegrees(Copy.FireAngle[s][r]));
  }
  Updating = false;
}

void TKomponovkaDlg::ExchangeData(bool ToEngine) {
  TEngineDataStruct& engine = *Data;
  std::uint8_t nSec = static_cast<std::uint8_t>(Copy.NSec), nRad = static_cast<std::uint8_t>(Copy.NRad),
               disposition = static_cast<std::uint8_t>(Copy.Disposition);
  ExchangeByte(engine.NSec, nSec, ToEngine);
  ExchangeByte(engine.NRad, nRad, ToEngine);
  ExchangeByte(engine.Disposition, disposition, ToEngine);
  Copy.NSec = nSec;
  Copy.NRad = nRad;
  Copy.Disposition = disposition;
  if (ToEngine && Copy.NRad > 1) Copy.Dezax = 0;
  ExchangeDouble(engine.Dezax, Copy.Dezax, ToEngine);
  ExchangeValue(engine.FireAngle, Copy.FireAngle, ToEngine);
  ExchangeValue(engine.ConRodL, Copy.ConRodL, ToEngine);
  ExchangeValue(engine.ConRodR1, Copy.ConRodR1, ToEngine);
  for (int r = 1; r <= MaxRows; ++r) {
    ExchangeDegrees(engine.ConRodGamma[r], Copy.ConRodGamma[r], ToEngine);
    ExchangeDegrees(engine.ConRodGamma1[r], Copy.ConRodGamma1[r], ToEngine);
  }
  if (ToEngine && engine.Disposition == 0)
    for (int r = 1; r <= engine.NRad; ++r) engine.ConRodGamma1[r] = engine.ConRodR1[r] = 0;
}

void TKomponovkaDlg::OnListRedraw() {
  // The tables keep their size until the cell holds a number.
  if (Updating || !ReadTypedControls()) return;
  const bool oneRow = Copy.NRad == 1;
  if (oneRow) Copy.Disposition = 0;
  aLabel->setVisible(oneRow);
  a->setVisible(oneRow);
  DispositionGroup->setEnabled(!oneRow);

  ConRodTable->Grid()->Resize(Copy.NRad, 4);
  ConRodTable->Grid()->SetTitles({"№ ряда", "l, м", "gamma1, град", "r1, м", "gamma, град"}, NumberTitles(Copy.NRad));
  const bool articulated = Copy.Disposition == 1;
  for (int c = 2; c <= 4; ++c) {
    ConRodTable->setColumnHidden(c, !articulated);
    ConRodTable->Grid()->SetShaded(0, c, articulated && Copy.NRad > 1);
  }

  InitValTable->Grid()->Resize(Copy.NRad, Copy.NSec);
  QStringList columns{"№ ряда\\№ секции"};
  columns << NumberTitles(Copy.NSec);
  InitValTable->Grid()->SetTitles(columns, NumberTitles(Copy.NRad));

  DoDataExchange(false);
  ConRodTable->SetColumnWidths({60, 70, 100, 70, 100});
  std::vector<int> widths{130};
  widths.resize(static_cast<std::size_t>(Copy.NSec) + 1, 52);
  InitValTable->SetColumnWidths(widths);
  refreshPictures();
}

void TKomponovkaDlg::refreshPictures() {
  if (!Data) return;
  auto cell = [](TPageGrid* grid, int row, int column) { return grid->NumberOr(row, column, 0); };
  const int nSec = InitValTable->Grid()->columnCount() - 1, nRad = InitValTable->Grid()->rowCount();
  TSectionRowArray<double> fire = Copy.FireAngle;
  for (int s = 1; s <= nSec; ++s)
    for (int r = 1; r <= nRad; ++r) fire[s][r] = ToRadians(cell(InitValTable, r - 1, s));
  CrankStar->SetSketch(CrankStarSketch(nSec, nRad, fire));
  LayoutScheme->SetSketch(LayoutSchemeSketch(nSec, nRad, Data->CylEnabled));

  const double dezax = a->isVisibleTo(this) ? a->ValueOr(0) : 0;
  for (int r = 1; r <= ConRodTable->Grid()->rowCount(); ++r) {
    const double l = cell(ConRodTable, r - 1, 1);
    const std::string why = CheckRodLength(l, Data->R, dezax);
    ConRodTable->Grid()->SetWarning(r - 1, 1,
                                    why.empty() ? QString() : QString::fromStdString(WarningText("l", l, "м", why)));
  }
}
