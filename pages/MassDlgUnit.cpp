#include "MassDlgUnit.h"

#include <QGroupBox>
#include <QGridLayout>
#include <QVBoxLayout>
#include <numbers>

#include "AngleExchangeUnit.h"
#include "InputChecksUnit.h"
#include "LayoutPictureUnit.h"
#include "MassSchemeUnit.h"
#include "PageGridUnit.h"
#include "SketchWidgetUnit.h"
#include "UserDialogsUnit.h"

namespace {

const QStringList MpdTitles{"№ ряда", "Mпд, кг/м2", "M2, кг/м2"};
const QStringList ProtTitles{"№ щеки", "Mщ, кг/м2", "Rщ, м",  "Mпр, кг/м2", "Rпр, м",
                             "Alphaпр, град", "Fiпр, град", "RпрIn, м", "RпрOut, м"};
const char* const ProtUnits[] = {"", "кг/м2", "м", "кг/м2", "м", "град", "град", "м", "м"};

}  // namespace

TMassDlg::TMassDlg(QWidget* parent) : TVexaBaseDlg("Массы элементов расчётной схемы", parent) {
  HelpPage = "page-masses.html";
  auto* layout = new QGridLayout(Content());
  auto* mpdGroup = new QGroupBox("Массы приведённой системы", Content());
  MpdStringGrid = new TPageGrid("Массы приведённой системы", mpdGroup);
  (new QVBoxLayout(mpdGroup))->addWidget(MpdStringGrid);
  auto* protGroup = new QGroupBox("Параметры щёк и противовесов", Content());
  ProtStringGrid = new TPageGrid("Параметры щёк и противовесов", protGroup);
  (new QVBoxLayout(protGroup))->addWidget(ProtStringGrid);
  MassScheme = new TSketchWidget(Content());
  MassScheme->setMinimumSize(300, 260);
  MassScheme->setToolTip("Приведённая система колена, вид вдоль вала: вращающаяся масса M2 на шатунной "
                         "шейке, поступательно движущиеся массы Mпд на осях цилиндров, массы щёк Mщ и "
                         "противовесы Mпр под углом Alphaпр (колено выбранной в таблице щеки)");
  layout->addWidget(mpdGroup, 0, 0);
  layout->addWidget(MassScheme, 0, 1);
  layout->addWidget(protGroup, 1, 0, 1, 2);
  layout->setRowStretch(1, 1);
  layout->setColumnStretch(1, 1);
  setMinimumSize(980, 640);
  setSizeGripEnabled(true);

  for (TPageGrid* grid : {MpdStringGrid, ProtStringGrid})
    connect(grid, &TPageGrid::Edited, this, [this, grid] {
      OnModify(grid);
      refreshPicture();
    });
  connect(ProtStringGrid->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] { refreshPicture(); });
}

void TMassDlg::InitDialog() {
  TVexaBaseDlg::InitDialog();
  PlaceButtons(true);
  OnListRedraw();
}

void TMassDlg::DoDataExchange(bool FromControls) {
  TVexaBaseDlg::DoDataExchange(FromControls);
  Updating = true;
  MpdStringGrid->FillEmptyWithZero();
  ProtStringGrid->FillEmptyWithZero();
  for (int r = 1; r <= MpdStringGrid->Grid()->rowCount(); ++r) {
    ExchangeCell(MpdStringGrid, r - 1, 1, Copy.Mpd[r], FromControls, true);
    ExchangeCell(MpdStringGrid, r - 1, 2, Copy.M2[r], FromControls, true);
  }
  TWebArray* fields[] = {&Copy.Msh, &Copy.Rsh, &Copy.Mpr, &Copy.Rpr, &Copy.AlphaPr, &Copy.FiPr, &Copy.RprIn, &Copy.RprOut};
  for (int w = 1; w <= ProtStringGrid->Grid()->rowCount(); ++w) {
    for (int c = 1; c <= 8; ++c) ExchangeCell(ProtStringGrid, w - 1, c, (*fields[c - 1])[w], FromControls, true);
    // A counterweight radius of exactly 0 would leave its force without a lever; it is
    // stored as 0.0001 and shown so at once.
    if (FromControls && Copy.Rpr[w] == 0) {
      Copy.Rpr[w] = 0.0001;
      ProtStringGrid->SetNumber(w - 1, 4, Copy.Rpr[w], true);
    }
  }
  Updating = false;
}

void TMassDlg::ExchangeData(bool ToEngine) {
  TEngineDataStruct& engine = *Data;
  for (auto [e, p] : {std::pair{&engine.Mpd, &Copy.Mpd}, std::pair{&engine.M2, &Copy.M2}}) ExchangeValue(*e, *p, ToEngine);
  for (auto [e, p] : {std::pair{&engine.Msh, &Copy.Msh}, std::pair{&engine.Rsh, &Copy.Rsh},
                      std::pair{&engine.Mpr, &Copy.Mpr}, std::pair{&engine.Rpr, &Copy.Rpr},
                      std::pair{&engine.FiPr, &Copy.FiPr}, std::pair{&engine.RprIn, &Copy.RprIn},
                      std::pair{&engine.RprOut, &Copy.RprOut}})
    ExchangeValue(*e, *p, ToEngine);
  for (int w = 1; w <= MaxWebs; ++w) ExchangeDegrees(engine.AlphaPr[w], Copy.AlphaPr[w], ToEngine);
}

void TMassDlg::OnListRedraw() {
  // The grids keep their size until the cell holds a number.
  if (Updating || !Data || !ReadTypedControls()) return;
  MpdStringGrid->Grid()->Resize(Data->NRad, 2);
  MpdStringGrid->Grid()->SetTitles(MpdTitles, NumberTitles(Data->NRad));
  ProtStringGrid->Grid()->Resize(2 * Data->NSec, 8);
  ProtStringGrid->Grid()->SetTitles(ProtTitles, NumberTitles(2 * Data->NSec));
  DoDataExchange(false);
  MpdStringGrid->SetColumnWidths({55, 85, 85});
  ProtStringGrid->SetColumnWidths({55, 75, 55, 80, 55, 90, 75, 70, 80});
  refreshPicture();
}

void TMassDlg::refreshPicture() {
  if (!Data) return;
  const int current = std::max(ProtStringGrid->currentIndex().row(), 0);
  const int section = current / 2 + 1;
  std::vector<TMassSchemeRow> rows;
  for (int r = 1; r <= MpdStringGrid->Grid()->rowCount(); ++r)
    rows.push_back({RowAxisAngle(Data->FireAngle[1][1], Data->FireAngle[1][r]), Data->ConRodL[r],
                    MpdStringGrid->NumberOr(r - 1, 1, 0), MpdStringGrid->NumberOr(r - 1, 2, 0)});
  std::vector<TMassSchemeWeb> webs;
  for (int w = 2 * section - 1; w <= 2 * section && w <= ProtStringGrid->Grid()->rowCount(); ++w) {
    auto v = [&](int c) { return ProtStringGrid->NumberOr(w - 1, c, 0); };
    webs.push_back({v(1), v(2), v(3), v(4), ToRadians(v(5))});
  }
  MassScheme->SetSketch(MassSchemeSketch(Data->R, rows, webs));

  // Negative masses and radii are marked.
  auto mark = [](TPageGrid* grid, const QStringList& titles, const char* const* units) {
    for (int r = 0; r < grid->Grid()->rowCount(); ++r)
      for (int c = 1; c < grid->Grid()->columnCount(); ++c) {
        if (titles[c].contains("град")) continue;
        const double value = grid->NumberOr(r, c, 0);
        const std::string why = CheckNonNegative(value);
        grid->Grid()->SetWarning(
            r, c, why.empty() ? QString()
                              : QString::fromStdString(WarningText(titles[c].section(',', 0, 0).toStdString(), value,
                                                                   units[c], why)));
      }
  };
  const char* const mpdUnits[] = {"", "кг/м2", "кг/м2"};
  mark(MpdStringGrid, MpdTitles, mpdUnits);
  mark(ProtStringGrid, ProtTitles, ProtUnits);
}
