#include "CombTableFormUnit.h"

#include <QPushButton>
#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "NumberFormatUnit.h"
#include "ResultTablesUnit.h"
#include "ResultViewSupportUnit.h"
#include "StrengthSummaryUnit.h"

namespace {

constexpr double NoStressFactor = 1e30;

QString number(double value) { return QString::fromStdString(FormatSignificant(value, 4)); }

}  // namespace

QString SummaryFactorText(double factor, int section, double speedRpm) {
  QString text = factor >= NoStressFactor ? QString("—") : number(factor);
  text += QString(" в секции №%1").arg(section);
  if (speedRpm >= 0) text += " на частоте " + number(speedRpm) + " об/мин";
  return text;
}

TCombTableForm::TCombTableForm(QWidget* parent) : TVexaBaseDlg(StrengthSummaryCaption, parent) {
  HelpPage = "view-summary.html";
  auto* layout = new QVBoxLayout(Content());
  SafetyListView = new QTreeWidget(Content());
  SafetyListView->setObjectName("SafetyListView");
  SafetyListView->setRootIsDecorated(false);
  SafetyListView->setColumnCount(3);
  SafetyListView->setHeaderLabels({StrengthSummaryColumns[0], StrengthSummaryColumns[1], StrengthSummaryColumns[2]});
  SafetyListView->setColumnWidth(0, 430);
  SafetyListView->setColumnWidth(1, 160);
  SafetyListView->header()->setStretchLastSection(true);
  QPalette colours = SafetyListView->palette();
  colours.setColor(QPalette::Base, colours.color(QPalette::ToolTipBase));
  colours.setColor(QPalette::Text, colours.color(QPalette::ToolTipText));
  SafetyListView->setPalette(colours);
  Weakest = new QLabel(Content());
  Weakest->setObjectName("Weakest");
  layout->addWidget(SafetyListView, 1);
  layout->addWidget(Weakest);
  ApplyButton->hide();
  resize(1160, 360);
}

void TCombTableForm::Prepare(TEngineDataStruct& engine, const TDynamicCalcArray& runs) {
  const std::vector<TStrengthSummaryValue> values = StrengthSummaryValues(runs);
  const bool resonances = runs.size() > 1;
  Data = &engine;
  SafetyListView->clear();
  const TStrengthSummaryValue* weakest = nullptr;
  bool weakestAtResonance = false;
  for (const TStrengthSummaryValue& value : values) {
    auto* item = new QTreeWidgetItem(SafetyListView);
    item->setText(0, QString::fromStdString(value.Caption));
    item->setText(1, SummaryFactorText(value.Design, value.DesignSection));
    item->setText(2, resonances ? SummaryFactorText(value.Resonance, value.ResonanceSection, value.ResonanceSpeed)
                                : QString(NoResonanceRuns));
    // A factor below 1 means the part fails: it is shown in red.
    const auto mark = [&](int column, double factor) {
      if (factor >= NoStressFactor) item->setToolTip(column, AbsentStressHint);
      if (factor < 1) item->setForeground(column, QBrush(Qt::red));
    };
    mark(1, value.Design);
    if (resonances) mark(2, value.Resonance);
    if (!weakest || value.Design < (weakestAtResonance ? weakest->Resonance : weakest->Design)) {
      weakest = &value;
      weakestAtResonance = false;
    }
    if (resonances && value.Resonance < (weakestAtResonance ? weakest->Resonance : weakest->Design)) {
      weakest = &value;
      weakestAtResonance = true;
    }
  }
  for (int c = 0; c < 3; ++c) SafetyListView->resizeColumnToContents(c);
  if (weakest) {
    const QString where = weakestAtResonance
                              ? SummaryFactorText(weakest->Resonance, weakest->ResonanceSection, weakest->ResonanceSpeed)
                              : SummaryFactorText(weakest->Design, weakest->DesignSection) + " на расчётном режиме";
    QString caption = QString::fromStdString(weakest->Caption);
    if (caption.endsWith(", Сечение ")) caption.chop(QString(", Сечение ").size());
    Weakest->setText("Наименьший запас: " + caption + " — " + where);
  }
  InitDialog();
}

int TCombTableForm::ShowResults(TEngineDataStruct& engine, const TDynamicCalcArray& runs) {
  Prepare(engine, runs);
  return exec();
}
