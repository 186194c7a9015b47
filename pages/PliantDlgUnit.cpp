#include "PliantDlgUnit.h"

#include <QGroupBox>
#include <QVBoxLayout>

#include "InputChecksUnit.h"
#include "PageGridUnit.h"

namespace {

const QStringList RowTitles{"Py, м/Н", "Px, м/Н", "Pmy, рад/Нм", "Pmx, рад/Нм"};

}  // namespace

TPliantDlg::TPliantDlg(QWidget* parent) : TVexaBaseDlg("Податливость опор", parent) {
  HelpPage = "page-supports.html";
  auto* group = new QGroupBox("Податливость опор картера", Content());
  PliantStringGrid = new TPageGrid("Податливость опор картера", group);
  (new QVBoxLayout(group))->addWidget(PliantStringGrid);
  (new QVBoxLayout(Content()))->addWidget(group);
  setMinimumSize(1030, 260);
  setSizeGripEnabled(true);
  connect(PliantStringGrid, &TPageGrid::Edited, this, [this] {
    OnModify(PliantStringGrid);
    markCompliances();
  });
}

void TPliantDlg::InitDialog() {
  TVexaBaseDlg::InitDialog();
  PlaceButtons(true);
  OnListRedraw();
}

void TPliantDlg::DoDataExchange(bool FromControls) {
  TVexaBaseDlg::DoDataExchange(FromControls);
  Updating = true;
  PliantStringGrid->FillEmptyWithZero();
  TSupportArray* rows[] = {&Copy.Py, &Copy.Px, &Copy.Pmy, &Copy.Pmx};
  for (int j = 1; j < PliantStringGrid->Grid()->columnCount(); ++j)
    for (int i = 0; i < 4; ++i) ExchangeCell(PliantStringGrid, i, j, (*rows[i])[j], FromControls, true);
  Updating = false;
}

void TPliantDlg::ExchangeData(bool ToEngine) {
  ExchangeValue(Data->Py, Copy.Py, ToEngine);
  ExchangeValue(Data->Px, Copy.Px, ToEngine);
  ExchangeValue(Data->Pmy, Copy.Pmy, ToEngine);
  ExchangeValue(Data->Pmx, Copy.Pmx, ToEngine);
}

void TPliantDlg::OnListRedraw() {
  if (Updating || !Data || !ReadTypedControls()) return;
  const int supports = Data->NSec + 1;
  PliantStringGrid->Grid()->Resize(4, supports);
  QStringList columns{"№ опоры"};
  columns << NumberTitles(supports);
  PliantStringGrid->Grid()->SetTitles(columns, RowTitles);
  DoDataExchange(false);
  std::vector<int> widths{100};
  widths.resize(static_cast<std::size_t>(supports) + 1, 80);
  PliantStringGrid->SetColumnWidths(widths);
  markCompliances();
}

void TPliantDlg::markCompliances() {
  for (int i = 0; i < 4; ++i)
    for (int j = 1; j < PliantStringGrid->Grid()->columnCount(); ++j) {
      const double value = PliantStringGrid->NumberOr(i, j, 1);
      const std::string why = CheckCompliance(value);
      const QString title = RowTitles[i];
      PliantStringGrid->Grid()->SetWarning(
          i, j,
          why.empty() ? QString()
                      : QString::fromStdString(WarningText(title.section(',', 0, 0).toStdString() + " опоры " +
                                                               std::to_string(j),
                                                           value, title.section(", ", 1).toStdString(), why)));
    }
}
