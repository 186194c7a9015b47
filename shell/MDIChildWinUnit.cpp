#include "MDIChildWinUnit.h"

#include <algorithm>
#include <exception>
#include <thread>

#include <QCloseEvent>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "EVexaErrorUnit.h"
#include "FloatCheckUnit.h"
#include "ProjectFileUnit.h"
#include "RecentFilesUnit.h"
#include "TaskIconsUnit.h"
#include "UserDialogsUnit.h"
#include "VexaBaseDlgUnit.h"

namespace {

const QString InformationCaption = "Информация";

std::filesystem::path projectFolder(const TMDIChildWin& window) {
  if (window.IsNew) return {};
  return QFileInfo(window.FileName).absolutePath().toStdString();
}

}  // namespace

TMDIChildWin::TMDIChildWin(TShellShared& shared, const QString& fileName, QWidget* parent)
    : QWidget(parent), FileName(fileName), shared_(shared) {
  setAttribute(Qt::WA_DeleteOnClose, false);
  makeProject();

  TaskTreeView = new QTreeWidget(this);
  TaskTreeView->setHeaderHidden(true);
  TaskTreeView->setIndentation(19);
  TaskTreeView->setEditTriggers(QAbstractItemView::NoEditTriggers);
  TaskTreeView->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  TaskTreeView->header()->setStretchLastSection(false);
  TaskTreeView->setWhatsThis("Дерево задач проекта: щелчок по пункту открывает страницу исходных данных или "
                             "представление результатов. Серые пункты станут доступны после расчёта (F3) "
                             "или после выбора расчёта на странице \"Общая информация\".");
  QTreeWidgetItem* parents[3] = {nullptr, nullptr, nullptr};
  for (int i = 0; i < TaskItemCount(); ++i) {
    const TTaskItem& task = TaskItems()[i];
    auto* item = task.Level == 0 ? new QTreeWidgetItem(TaskTreeView) : new QTreeWidgetItem(parents[task.Level - 1]);
    item->setText(0, task.Caption);
    item->setIcon(0, TaskIcon(task.Icon));
    item->setData(0, Qt::UserRole, i);
    parents[task.Level] = item;
  }
  TaskTreeView->expandAll();
  connect(TaskTreeView, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) { TaskTreeViewClick(item); });

  auto* framesContainer = new QFrame(this);
  framesContainer->setFrameShape(QFrame::Panel);
  framesContainer->setFrameShadow(QFrame::Sunken);
  memo_ = new QPlainTextEdit(this);
  memo_->setReadOnly(true);
  memo_->setLineWrapMode(QPlainTextEdit::NoWrap);
  memo_->setMaximumHeight(80);

  auto* splitter = new QSplitter(Qt::Horizontal, this);
  splitter->addWidget(TaskTreeView);
  splitter->addWidget(framesContainer);
  splitter->setStretchFactor(1, 1);
  TaskTreeView->resizeColumnToContents(0);
  splitter->setSizes({TaskTreeView->columnWidth(0) + 2 * TaskTreeView->indentation(), 300});
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(splitter, 1);
  layout->addWidget(memo_);

  MarkNew();
  TaskTreeView->clearSelection();
  TaskTreeView->setCurrentItem(nullptr);
  RefreshTaskTree();
}

TMDIChildWin::~TMDIChildWin() = default;

void TMDIChildWin::makeProject() {
  TRunSettings settings;
  settings.Observer = &progress_;
  TWorkingProcessOptions workingProcess;
  workingProcess.ExchangeDirectory = exchange_.Path();
  project_ = std::make_unique<TVexaProject>(settings, workingProcess);
  project_->EngineData.OwnerNotify = [this](int notification) {
    if (notification == NotifyModified) OnModify();
  };
}

QString TMDIChildWin::Caption() const { return QFileInfo(FileName).completeBaseName(); }

void TMDIChildWin::refreshCaption() {
  setWindowTitle(Caption());
  if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget())) sub->setWindowTitle(Caption());
}

void TMDIChildWin::MarkNew() {
  IsNew = true;
  refreshCaption();
  Modified = false;
}

void TMDIChildWin::LoadFromFile() {
  IsNew = false;
  QFile file(FileName);
  if (!file.open(QIODevice::ReadOnly))
    throw std::runtime_error(QString("Не удаётся открыть файл \"%1\": %2").arg(FileName, file.errorString()).toStdString());
  file.close();
  try {
    LoadProjectFile(EngineData(), FileName.toStdString());
  } catch (const TEVexaError& error) {
    ShowVexaError(this, error);
  }
  refreshCaption();
  Modified = false;
  RefreshTaskTree();
}

bool TMDIChildWin::Save() {
  QString name = FileName;
  if (IsNew) {
    name = UserDialogs().SaveFileName(this, ProjectFileFilters);
    if (name.isEmpty()) return false;
    if (QFileInfo(name).suffix().isEmpty()) name += ProjectFileExtension;
    if (QFileInfo::exists(name) &&
        UserDialogs().Ask(this, "Подтверждение", "Файл с таким именем уже существует! Вы хотите заменить его?",
                          false, true) != TAnswer::Yes)
      return false;
  }
  try {
    // The engine writes a temporary file and replaces the old one only when it is complete.
    SaveProjectFile(EngineData(), name.toStdString());
  } catch (const TEVexaError& error) {
    ShowVexaError(this, error);
    return false;
  } catch (const std::exception& error) {
    UserDialogs().ShowError(this, "Ошибка!",
                            QString("Не удаётся сохранить файл \"%1\": %2").arg(name, QString::fromUtf8(error.what())));
    return false;
  }
  FileName = name;
  IsNew = false;
  refreshCaption();
  Modified = false;
  return true;
}

bool TMDIChildWin::SaveAs() {
  const bool wasNew = IsNew;
  IsNew = true;
  if (Save()) return true;
  IsNew = wasNew;
  return false;
}

void TMDIChildWin::OnModify() {
  Modified = true;
  RefreshTaskTree();
  emit ProjectModified();
  refreshCaption();
}

bool TMDIChildWin::TryClose() {
  if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget())) return sub->close();
  return close();
}

void TMDIChildWin::closeEvent(QCloseEvent* event) {
  if (closing_ || closeDecision())
    event->accept();
  else
    event->ignore();
}

bool TMDIChildWin::closeDecision() {
  if (Modified) {
    const TAnswer answer =
        UserDialogs().Ask(this, "Подтверждение",
                          QString("Файл %1 был изменён! Вы хотите сохранить изменения?").arg(FileName), true, false);
    if (answer == TAnswer::Cancel) return false;
    if (answer == TAnswer::Yes && !Save()) return false;
  }
  if (!IsNew && shared_.Recent) shared_.Recent->Add(FileName);
  closing_ = true;
  emit ProjectClosed();
  return true;
}

int TMDIChildWin::frequencyCount() const {
  const TReal1DArray& omega = project_->OscillCalc->Omega;
  return static_cast<int>(std::count_if(omega.begin(), omega.end(), [](double w) { return w > 0; }));
}

void TMDIChildWin::RefreshTaskTree() {
  const int runs = static_cast<int>(project_->Results.size()), frequencies = frequencyCount();
  for (QTreeWidgetItemIterator it(TaskTreeView); *it; ++it) {
    const TTaskItem& task = TaskItems()[(*it)->data(0, Qt::UserRole).toInt()];
    if (task.Kind == TTaskKind::Group || task.Kind == TTaskKind::InputPage) continue;
    const QString missing = MissingRequirement(task.Kind, EngineData(), runs, frequencies);
    (*it)->setDisabled(!missing.isEmpty());
    (*it)->setToolTip(0, missing);
  }
}

void TMDIChildWin::TaskTreeViewClick(QTreeWidgetItem* item) {
  if (!item) return;
  const TTaskItem& task = TaskItems()[item->data(0, Qt::UserRole).toInt()];
  TaskTreeView->clearSelection();
  TaskTreeView->setCurrentItem(nullptr);
  const QString caption = task.Caption;
  if (!MissingRequirement(task.Kind, EngineData(), static_cast<int>(project_->Results.size()), frequencyCount())
           .isEmpty())
    return;
  try {
    switch (task.Kind) {
      case TTaskKind::Group:
        break;
      case TTaskKind::InputPage:
      case TTaskKind::TorsionPage:
        if (auto page = shared_.Pages.find(caption); page != shared_.Pages.end()) {
          // A page that reads files named relative to the project (the diagram file) finds them here.
          page->second->setProperty("projectFolder", QString::fromStdString(projectFolder(*this).string()));
          page->second->EditData(EngineData());
        }
        break;
      case TTaskKind::DesignRunView:
        if (auto view = shared_.RunViews.find(caption); view != shared_.RunViews.end())
          view->second(*this, *project_->Results.front());
        break;
      case TTaskKind::ResonanceView: {
        const int chosen = UserDialogs().SelectRun(this, shared_.RunTitles, shared_.RunIndex);
        if (chosen < 0) break;
        shared_.RunIndex = chosen;
        const auto view = shared_.RunViews.find(caption.trimmed());
        if (view != shared_.RunViews.end() && chosen + 1 < static_cast<int>(project_->Results.size()))
          view->second(*this, *project_->Results[chosen + 1]);
        break;
      }
      case TTaskKind::TorsionView:
      case TTaskKind::Summary:
        if (auto view = shared_.ProjectViews.find(caption); view != shared_.ProjectViews.end()) view->second(*this);
        break;
    }
  } catch (const TEVexaError& error) {
    ShowVexaError(this, error);
  }
  RefreshTaskTree();
}

void TMDIChildWin::CalcDynamicExecute() {
  project_->SetProjectDir(projectFolder(*this));
  project_->SetBeamCompat(shared_.BeamCompat);
  // The working-process program's report stays beside a saved project, as "<project>.rez".
  project_->SetWorkingProcessReport(IsNew ? std::filesystem::path()
                                          : std::filesystem::path(FileName.toStdString()).replace_extension(".rez"));
  TProgressDlg* dialog = shared_.Progress;
  progress_.Attach(dialog);
  QMetaObject::Connection stop;
  if (dialog) {
    dialog->Reset();
    stop = connect(dialog, &TProgressDlg::StopRequested, this, [this] { progress_.RequestStop(); });
    if (QWidget* owner = window()) dialog->move(owner->geometry().center() - dialog->rect().center());
    dialog->show();
  }
  // The calculation runs in its own thread so that the windows repaint; the main window is
  // disabled meanwhile, so nothing else touches the project.
  TCalcCommandResult result;
  std::exception_ptr failure;
  QEventLoop loop;
  std::thread worker([&] {
    try {
      ClearFloatFlags();
      result = project_->CalcDynamicExecute();
    } catch (...) {
      failure = std::current_exception();
    }
    QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
  });
  loop.exec();
  worker.join();
  progress_.Attach(nullptr);
  if (dialog) {
    disconnect(stop);
    dialog->hide();
  }
  RefreshTaskTree();
  if (failure) {
    try {
      std::rethrow_exception(failure);
    } catch (const ECalcCancelled& cancelled) {
      UserDialogs().Inform(this, InformationCaption, QString::fromUtf8(cancelled.what()));
    } catch (const TEVexaError&) {
      throw;
    } catch (const std::exception& error) {
      UserDialogs().ShowError(this, "Ошибка!", QString::fromUtf8(error.what()));
    }
    return;
  }
  if (!result.Completed) {
    UserDialogs().Inform(this, InformationCaption, QString::fromStdString(result.Message));
    return;
  }
  shared_.RunTitles.clear();
  for (const std::string& title : project_->RunSelectorTitles()) shared_.RunTitles << QString::fromStdString(title);
  shared_.RunIndex = 0;
  if (shared_.BeamCompat) memo_->appendPlainText(BeamCompatNote);
  for (const std::string& note : result.Notes) memo_->appendPlainText(QString::fromStdString(note));
  UserDialogs().Inform(this, InformationCaption, QString::fromStdString(result.Message));
}
