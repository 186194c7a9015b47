#include "MAIN.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFileInfo>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QSettings>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QWhatsThis>

#include "AboutUnit.h"
#include "CoeffConcDlgUnit.h"
#include "CommonInfoDlgUnit.h"
#include "CylEnableDlgUnit.h"
#include "GeometryFormUnit.h"
#include "KomponovkaDlgUnit.h"
#include "MassDlgUnit.h"
#include "MatPropDlgUnit.h"
#include "OscillDataFormUnit.h"
#include "PliantDlgUnit.h"
#include "QinDataDlgUnit.h"
#include "SteelDataBaseFormUnit.h"
#include "SteelDataBaseUnit.h"
#include "EVexaErrorUnit.h"
#include "HelpWindowUnit.h"
#include "ResultViewsUnit.h"
#include "UserDialogsUnit.h"

TCommandState EnablingRules(int windows, bool activeModified, bool anyModified) {
  TCommandState state;
  state.Save = windows > 0 && activeModified;
  state.SaveAs = windows > 0;
  state.SaveAll = windows > 1 && anyModified;
  state.CloseAll = windows > 1;
  return state;
}

namespace {

// A command with its caption, shortcut and hint "short|long": the short part is the tool
// tip, the long part goes to the status bar.
QAction* command(QObject* owner, const QString& caption, const QString& hint, const QKeySequence& keys = {},
                 const QIcon& icon = {}) {
  auto* action = new QAction(icon, caption, owner);
  const QStringList parts = hint.split('|');
  action->setToolTip(parts.value(0));
  action->setStatusTip(parts.size() > 1 ? parts.value(1) : parts.value(0));
  if (!keys.isEmpty()) action->setShortcut(keys);
  return action;
}

QIcon themed(const char* name, QStyle::StandardPixmap fallback) {
  return QIcon::fromTheme(name, QApplication::style()->standardIcon(fallback));
}

}  // namespace

TMainForm::TMainForm(QSettings& settings, QWidget* parent) : QMainWindow(parent), settings_(settings) {
  setWindowTitle(MainWindowTitle);
  MdiArea = new QMdiArea(this);
  MdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  MdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setCentralWidget(MdiArea);
  connect(MdiArea, &QMdiArea::subWindowActivated, this, [this] { RefreshCommands(); });

  Shared.Recent = &RecentFiles;
  Shared.Progress = new TProgressDlg(nullptr);
  Shared.Pages["Общая информация"] = new TCommonInfoDlg(this);
  Shared.Pages["Рабочий процесс"] = new TQinDataForm(this);
  Shared.Pages["Коэффициенты концентрации"] = new TCoeffConcDlg(this);
  Shared.Pages["Данные для расчёта крутильных колебаний"] = new TOscillDataForm(this);
  Shared.Pages["Свойства материалов"] = new TMatPropDlg(SteelData(), this);
  Shared.Pages["Компоновочная схема"] = new TKomponovkaDlg(this);
  Shared.Pages["Отключение цилиндров"] = new TCylEnableDlg(this);
  Shared.Pages["Массы и противовесы"] = new TMassDlg(this);
  Shared.Pages["Податливость опор"] = new TPliantDlg(this);
  Shared.Pages["Геометрия колена"] = new TGeometryForm(this);
  SteelDataBaseForm = new TSteelDataBaseForm(this);
  RegisterResultViews(Shared, this);

  createActions();
  createMenus();
  statusBar()->showMessage(QString());
  RefreshRecentEntries();
  RefreshCommands();
}

TMainForm::~TMainForm() { delete Shared.Progress; }

void TMainForm::LoadRecentFiles() {
  try {
    RecentFiles.Load(settings_);
  } catch (const TEVexaError& error) {
    ShowVexaError(this, error);
  }
  RefreshRecentEntries();
}

void TMainForm::createActions() {
  FileNew = command(this, "&Создать", "New|Create a new file", QKeySequence("Ctrl+N"),
                    themed("document-new", QStyle::SP_FileIcon));
  FileOpen = command(this, "&Открыть", "Open|Open a file", QKeySequence("Ctrl+O"),
                     themed("document-open", QStyle::SP_DialogOpenButton));
  FileClose = command(this, "&Закрыть", "Закрыть|Закрыть текущий файл");
  FileSave = command(this, "&Сохранить", "Save|Save current file", QKeySequence("Ctrl+S"),
                     themed("document-save", QStyle::SP_DialogSaveButton));
  FileSaveAs = command(this, "Сохранить &Как...", "Save As|Save current file with different name");
  FileSaveAll = command(this, "Сохранить все", "Сохранить все файлы|Сохранить все открытые файлы");
  FileCloseAll = command(this, "Закрыть все", "Закрыть все|Закрыть все документы приложения");
  FileExit = command(this, "&Выход", "Exit|Exit application");
  for (int i = 0; i <= TRecentFiles::MaxIndex; ++i) {
    RecentEntries[i] = new QAction(this);
    connect(RecentEntries[i], &QAction::triggered, this, [this, i] { OpenProject(RecentFiles.GetPath(i)); });
  }
  EditCut = command(this, "&Вырезать", "Cut|Cuts the selection and puts it on the Clipboard", QKeySequence::Cut,
                    themed("edit-cut", QStyle::SP_TrashIcon));
  EditCopy = command(this, "&Копировать", "Copy|Copies the selection and puts it on the Clipboard",
                     QKeySequence::Copy, themed("edit-copy", QStyle::SP_FileLinkIcon));
  EditPaste = command(this, "Вст&авить", "Paste|Inserts Clipboard contents", QKeySequence::Paste,
                      themed("edit-paste", QStyle::SP_ArrowDown));
  ViewStatusBar = command(this, "Строка состояния", "Показывает/скрывает строку состояния");
  ViewToolBar1 = command(this, "Главная панель инструментов", "Показывает/скрывает главную панель инструментов");
  ViewToolBar2 = command(this, "Панель инструментов \"Настройки и расчёты\"",
                         "Показывает/скрывает панель инструментов \"Настройки и расчёты\"");
  for (QAction* a : {ViewStatusBar, ViewToolBar1, ViewToolBar2}) a->setCheckable(true);
  CalcDynamic = command(this, "Расчёт динамики", "Расчёт динамики вала", QKeySequence(Qt::Key_F3),
                        themed("system-run", QStyle::SP_MediaPlay));
  CalcBeamCompat = command(this, "Схема вала прежних версий",
                           "Расчёт по балочной схеме вала прежних версий, для сравнения результатов");
  CalcBeamCompat->setCheckable(true);
  Materials = command(this, "Материалы", "База данных по материалам", {},
                      themed("x-office-address-book", QStyle::SP_DriveHDIcon));
  WindowCascade = command(this, "&Каскадом", "Cascade", {}, themed("window-new", QStyle::SP_TitleBarNormalButton));
  WindowTileHorizontal = command(this, "&Горизонтально", "Tile Horizontally", {},
                                 themed("view-split-top-bottom", QStyle::SP_ToolBarVerticalExtensionButton));
  WindowTileVertical = command(this, "&Вертикально", "Tile Vertically", {},
                               themed("view-split-left-right", QStyle::SP_ToolBarHorizontalExtensionButton));
  WindowMinimizeAll = command(this, "&Свернуть все", "Minimize All");
  WindowArrangeAll = command(this, "&Разместить все", "Arrange All");
  HelpContents = command(this, "Содержание справки", "Вызов справочной системы", QKeySequence(Qt::Key_F1),
                         themed("help-contents", QStyle::SP_DialogHelpButton));
  HelpWhatsThis = QWhatsThis::createAction(this);
  HelpWhatsThis->setText("Что это такое?");
  HelpWhatsThis->setToolTip("Что это такое?");
  HelpWhatsThis->setStatusTip("Контекстная справка");
  HelpWhatsThis->setShortcut(QKeySequence("Shift+F1"));
  HelpAbout = command(this, "&О программе...", QString());

  connect(FileNew, &QAction::triggered, this, [this] { NewProject(); });
  connect(FileOpen, &QAction::triggered, this, [this] {
    const QString path = UserDialogs().OpenFileName(this, ProjectFileFilters);
    if (!path.isEmpty()) OpenProject(path);
  });
  connect(FileClose, &QAction::triggered, this, [this] {
    if (auto* child = ActiveChild(); child && !child->TryClose()) CloseOK = false;
    RefreshCommands();
  });
  connect(FileSave, &QAction::triggered, this, [this] {
    if (auto* child = ActiveChild()) child->Save();
    RefreshCommands();
  });
  connect(FileSaveAs, &QAction::triggered, this, [this] {
    if (auto* child = ActiveChild()) child->SaveAs();
    RefreshCommands();
  });
  connect(FileSaveAll, &QAction::triggered, this, [this] { SaveAll(); });
  connect(FileCloseAll, &QAction::triggered, this, [this] { CloseAll(); });
  connect(FileExit, &QAction::triggered, this, &QWidget::close);
  auto onTextControl = [](auto operation) {
    if (auto* edit = qobject_cast<QLineEdit*>(QApplication::focusWidget())) operation(edit);
  };
  connect(EditCut, &QAction::triggered, this, [onTextControl] { onTextControl([](QLineEdit* e) { e->cut(); }); });
  connect(EditCopy, &QAction::triggered, this, [onTextControl] { onTextControl([](QLineEdit* e) { e->copy(); }); });
  connect(EditPaste, &QAction::triggered, this, [onTextControl] { onTextControl([](QLineEdit* e) { e->paste(); }); });
  connect(ViewStatusBar, &QAction::triggered, this, [this](bool on) { statusBar()->setVisible(on); });
  connect(CalcDynamic, &QAction::triggered, this, [this] { CalcDynamicExecute(); });
  connect(CalcBeamCompat, &QAction::toggled, this, [this](bool on) { Shared.BeamCompat = on; });
  connect(Materials, &QAction::triggered, this, [this] {
    SteelDataBaseForm->EditData(SteelData());
    for (TMDIChildWin* child : Children()) child->setWindowTitle(child->Caption());
  });
  connect(WindowCascade, &QAction::triggered, MdiArea, &QMdiArea::cascadeSubWindows);
  connect(WindowTileHorizontal, &QAction::triggered, this, [this] {
    // One window above the other, each the full width.
    const auto windows = MdiArea->subWindowList();
    if (windows.isEmpty()) return;
    const int height = MdiArea->viewport()->height() / int(windows.size());
    for (int i = 0; i < windows.size(); ++i) {
      windows[i]->showNormal();
      windows[i]->setGeometry(0, i * height, MdiArea->viewport()->width(), height);
    }
  });
  connect(WindowTileVertical, &QAction::triggered, MdiArea, &QMdiArea::tileSubWindows);
  connect(WindowMinimizeAll, &QAction::triggered, this, [this] {
    for (QMdiSubWindow* window : MdiArea->subWindowList()) window->showMinimized();
  });
  connect(WindowArrangeAll, &QAction::triggered, this, [this] {
    for (QMdiSubWindow* window : MdiArea->subWindowList())
      if (window->isMinimized()) window->showMinimized();  // lines the icons up again
    MdiArea->update();
  });
  connect(HelpContents, &QAction::triggered, this, [this] { ShowHelp(); });
  connect(HelpAbout, &QAction::triggered, this, [this] {
    TAboutBox about(this);
    about.exec();
  });
}

void TMainForm::createMenus() {
  QMenu* file = menuBar()->addMenu("&Файл");
  file->addActions({FileNew, FileOpen, FileClose, FileSave, FileSaveAs, FileSaveAll, FileCloseAll});
  file->addSeparator();
  for (QAction* entry : RecentEntries) file->addAction(entry);
  file->addSeparator();
  file->addAction(FileExit);
  QMenu* edit = menuBar()->addMenu("&Правка");
  edit->addActions({EditCut, EditCopy, EditPaste});
  QMenu* view = menuBar()->addMenu("&Вид");
  view->addActions({ViewStatusBar, ViewToolBar1, ViewToolBar2});
  connect(view, &QMenu::aboutToShow, this, [this] {
    ViewStatusBar->setChecked(statusBar()->isVisible());
    ViewToolBar1->setChecked(ToolBar1->isVisible());
    ViewToolBar2->setChecked(ToolBar2->isVisible());
  });
  QMenu* calc = menuBar()->addMenu("&Расчёты");
  calc->addAction(CalcDynamic);
  calc->addSeparator();
  calc->addAction(CalcBeamCompat);
  menuBar()->addMenu("&Базы данных")->addAction(Materials);
  windowMenu_ = menuBar()->addMenu("&Окна");
  connect(windowMenu_, &QMenu::aboutToShow, this, [this] { fillWindowMenu(); });
  fillWindowMenu();
  QMenu* help = menuBar()->addMenu("&Справка");
  help->addActions({HelpAbout, HelpContents, HelpWhatsThis});

  ToolBar1 = addToolBar("Главная панель инструментов");
  ToolBar1->setObjectName("ToolBar1");
  ToolBar1->addActions({FileNew, FileOpen, FileSave});
  ToolBar1->addSeparator();
  ToolBar1->addActions({EditCut, EditCopy, EditPaste});
  ToolBar1->addSeparator();
  ToolBar1->addActions({WindowCascade, WindowTileHorizontal, WindowTileVertical});
  ToolBar1->addSeparator();
  ToolBar1->addActions({HelpContents, HelpWhatsThis});
  ToolBar2 = addToolBar("Настройки и расчёты");
  ToolBar2->setObjectName("ToolBar2");
  ToolBar2->addAction(CalcDynamic);
  ToolBar2->addSeparator();
  ToolBar2->addAction(Materials);
  connect(ViewToolBar1, &QAction::triggered, ToolBar1, &QWidget::setVisible);
  connect(ViewToolBar2, &QAction::triggered, ToolBar2, &QWidget::setVisible);
}

void TMainForm::fillWindowMenu() {
  windowMenu_->clear();
  windowMenu_->addActions({WindowCascade, WindowTileHorizontal, WindowTileVertical, WindowMinimizeAll, WindowArrangeAll});
  const auto windows = MdiArea->subWindowList();
  if (!windows.isEmpty()) windowMenu_->addSeparator();
  for (int i = 0; i < windows.size(); ++i) {
    QMdiSubWindow* window = windows[i];
    QAction* entry = windowMenu_->addAction(QString("&%1 %2").arg(i + 1).arg(window->windowTitle()));
    entry->setCheckable(true);
    entry->setChecked(window == MdiArea->activeSubWindow());
    connect(entry, &QAction::triggered, this, [this, window] { MdiArea->setActiveSubWindow(window); });
  }
}

QList<TMDIChildWin*> TMainForm::Children() const {
  QList<TMDIChildWin*> children;
  for (QMdiSubWindow* window : MdiArea->subWindowList())
    if (auto* child = qobject_cast<TMDIChildWin*>(window->widget()); child && child->isVisibleTo(window))
      children << child;
  return children;
}

TMDIChildWin* TMainForm::ActiveChild() const {
  QMdiSubWindow* window = MdiArea->activeSubWindow();
  if (!window && !MdiArea->subWindowList().isEmpty()) window = MdiArea->subWindowList().last();
  auto* child = window ? qobject_cast<TMDIChildWin*>(window->widget()) : nullptr;
  return child && Children().contains(child) ? child : nullptr;
}

void TMainForm::connectChild(TMDIChildWin* child) {
  connect(child, &TMDIChildWin::ProjectModified, this, [this] { RefreshCommands(); });
  connect(child, &TMDIChildWin::ProjectClosed, this, [this, child] {
    child->hide();  // no longer counted as open while its window goes
    RefreshRecentEntries();
    RefreshCommands();
  });
}

TMDIChildWin* TMainForm::NewProject() {
  const QString name = QString("Безымянный %1").arg(Children().size());
  auto* child = new TMDIChildWin(Shared, name);
  QMdiSubWindow* window = MdiArea->addSubWindow(child);
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->setWindowIcon(windowIcon());
  window->setWindowTitle(child->Caption());
  connectChild(child);
  window->showMaximized();
  RefreshCommands();
  return child;
}

TMDIChildWin* TMainForm::OpenProject(const QString& path) {
  TMDIChildWin* child = NewProject();
  child->FileName = QFileInfo(path).absoluteFilePath();
  try {
    child->LoadFromFile();
  } catch (const std::exception& error) {
    // The window stays with default data under the file's name.
    child->setWindowTitle(child->Caption());
    if (auto* window = qobject_cast<QMdiSubWindow*>(child->parentWidget())) window->setWindowTitle(child->Caption());
    UserDialogs().ShowError(this, "Ошибка!", QString::fromUtf8(error.what()));
  }
  RefreshCommands();
  return child;
}

bool TMainForm::CloseAll() {
  while (TMDIChildWin* child = ActiveChild()) {
    if (!child->TryClose()) {
      CloseOK = false;
      RefreshCommands();
      return false;
    }
  }
  RefreshCommands();
  return true;
}

void TMainForm::SaveAll() {
  for (TMDIChildWin* child : Children()) child->Save();
  RefreshCommands();
}

void TMainForm::CalcDynamicExecute() {
  TMDIChildWin* child = ActiveChild();
  if (!child || calculating_) return;
  calculating_ = true;
  setEnabled(false);
  try {
    child->CalcDynamicExecute();
  } catch (const TEVexaError& error) {
    ShowVexaError(this, error);
  }
  setEnabled(true);
  calculating_ = false;
}

void TMainForm::RefreshCommands() {
  const QList<TMDIChildWin*> children = Children();
  TMDIChildWin* active = ActiveChild();
  const bool anyModified = std::any_of(children.begin(), children.end(), [](TMDIChildWin* c) { return c->Modified; });
  const TCommandState state = EnablingRules(int(children.size()), active && active->Modified, anyModified);
  FileSave->setEnabled(state.Save);
  for (QAction* a : {FileSaveAs, FileClose, Materials, CalcDynamic}) a->setEnabled(state.SaveAs);
  FileSaveAll->setEnabled(state.SaveAll);
  FileCloseAll->setEnabled(state.CloseAll);
}

void TMainForm::RefreshRecentEntries() {
  for (int i = 0; i <= TRecentFiles::MaxIndex; ++i) {
    const QString path = RecentFiles.GetPath(i);
    RecentEntries[i]->setText(QString("%1 - %2").arg(i).arg(RecentFiles.GetName(i)));
    RecentEntries[i]->setStatusTip(path);
    RecentEntries[i]->setToolTip(path);
    RecentEntries[i]->setVisible(!path.isEmpty());
  }
}

THelpWindow* TMainForm::ShowHelp() {
  HelpWindow().ShowContents();
  return &HelpWindow();
}

void TMainForm::closeEvent(QCloseEvent* event) {
  if (calculating_) {
    event->ignore();
    return;
  }
  CloseOK = true;
  CloseAll();
  if (!CloseOK) {
    event->ignore();
    return;
  }
  try {
    RecentFiles.Save(settings_);
  } catch (const TEVexaError& error) {
    ShowVexaError(this, error);
  }
  event->accept();
}
