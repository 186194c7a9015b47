#include "SaveToFileDlgUnit.h"

#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "EVexaErrorUnit.h"
#include "EngineDataStructUnit.h"
#include "ResultTablesUnit.h"
#include "UserDialogsUnit.h"
#include "WorkbookExportUnit.h"

namespace {

const QString InformationCaption = "Информация";

std::filesystem::path toPath(const QString& file) { return std::filesystem::path(file.toStdU16String()); }
QString fromPath(const std::filesystem::path& file) { return QString::fromStdU16String(file.u16string()); }

}  // namespace

TSaveToFileDlg::TSaveToFileDlg(QWidget* parent) : TVexaBaseDlg("Вывод результатов в файлы и на печать", parent) {
  HelpPage = "view-export.html";
  auto* layout = new QVBoxLayout(Content());
  auto* group = new QGroupBox("Выберите элементы для сохранения в файл", Content());
  auto* groupLayout = new QVBoxLayout(group);
  ItemsToSave = new QListWidget(group);
  ItemsToSave->setObjectName("ItemsToSave");
  for (int position = 0; position < TextReportItemCount; ++position) {
    auto* item = new QListWidgetItem(QString::fromStdString(TextReportItemText(position)), ItemsToSave);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Unchecked);
  }
  groupLayout->addWidget(ItemsToSave);
  layout->addWidget(group);
  ApplyButton->setText("&Сохранить");
  ServButton1->setText("&Выделить всё");
  ServButton2->setText("&Инвертировать");
  ServButton3->setText("Сохранить &Excel");
  for (QPushButton* button : {ServButton1, ServButton2, ServButton3}) button->show();
  resize(760, 560);
}

void TSaveToFileDlg::Prepare(TEngineDataStruct& engine, const TDynamicCalcStruct& run, const TDynamicCalcArray& runs,
                             const QString& projectFile) {
  RequireRunResults(run);
  run_ = &run;
  runs_ = &runs;
  projectFile_ = projectFile;
  Data = &engine;
  InitDialog();
}

int TSaveToFileDlg::ShowResults(TEngineDataStruct& engine, const TDynamicCalcStruct& run,
                                const TDynamicCalcArray& runs, const QString& projectFile) {
  Prepare(engine, run, runs, projectFile);
  return exec();
}

TTextReportItems TSaveToFileDlg::TickedItems() const {
  TTextReportItems items = TTextReportItems::None();
  for (int position = 0; position < TextReportItemCount; ++position)
    items.SetTicked(position, ItemsToSave->item(position)->checkState() == Qt::Checked);
  return items;
}

QString TSaveToFileDlg::targetFile(const std::string& extension, const QString& filter) {
  if (projectFile_.isEmpty()) {
    QString file = UserDialogs().SaveFileName(this, filter);
    if (!file.isEmpty() && !file.endsWith(QString::fromStdString(extension), Qt::CaseInsensitive))
      file += QString::fromStdString(extension);
    return file;
  }
  return fromPath(ResultFileName(toPath(projectFile_), Data ? Data->ProjectName : std::string(), extension));
}

bool TSaveToFileDlg::WriteTextReport() {
  const QString file = targetFile(".VexaRes", "Отчёт VEXA (*.VexaRes)");
  if (file.isEmpty()) return false;
  const std::string text = ::WriteTextReport(*run_, TickedItems());
  try {
    // Written whole to a temporary file and renamed over the previous report.
    SaveTextReport(toPath(file), text);
  } catch (const std::exception& error) {
    UserDialogs().ShowError(this, "Ошибка!", QString::fromUtf8(error.what()));
    return false;
  }
  UserDialogs().Inform(this, InformationCaption, QString::fromStdString(TextReportSavedMessage(toPath(file))));
  return true;
}

bool TSaveToFileDlg::SaveSpreadsheet() {
  const QString file = targetFile(".xlsx", "Книга Excel (*.xlsx)");
  if (file.isEmpty()) return false;
  try {
    SaveWorkbook(toPath(file), *run_, *runs_, TickedItems(), Data ? Data->ProjectName : std::string());
  } catch (const TEVexaError& error) {
    ShowVexaError(this, error);
    return false;
  }
  UserDialogs().Inform(this, InformationCaption, QString::fromStdString(WorkbookSavedMessage(toPath(file))));
  return true;
}

void TSaveToFileDlg::OKButtonClick() {
  if (WriteTextReport()) accept();
}

void TSaveToFileDlg::ApplyButtonClick() { WriteTextReport(); }

void TSaveToFileDlg::ServButton1Click() {
  for (int i = 0; i < ItemsToSave->count(); ++i) ItemsToSave->item(i)->setCheckState(Qt::Checked);
}

void TSaveToFileDlg::ServButton2Click() {
  for (int i = 0; i < ItemsToSave->count(); ++i) {
    QListWidgetItem* item = ItemsToSave->item(i);
    item->setCheckState(item->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
  }
}

void TSaveToFileDlg::ServButton3Click() { SaveSpreadsheet(); }
