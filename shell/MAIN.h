// The main window (`TMainForm`): menus, both tool bars and the status bar, the project windows,
// the recent files, and the application's commands (new, open, save, close, calculate,
// material database, help, about).
#pragma once

#include <memory>

#include <QMainWindow>

#include "MDIChildWinUnit.h"
#include "RecentFilesUnit.h"

class QAction;
class QMdiArea;
class QMenu;
class QSettings;
class QToolBar;
class THelpWindow;
class TSteelDataBaseForm;

// Which commands are enabled, from the open project windows.
struct TCommandState {
  bool Save = false, SaveAs = false, SaveAll = false, CloseAll = false;
};
TCommandState EnablingRules(int windows, bool activeModified, bool anyModified);

class TMainForm : public QMainWindow {
  Q_OBJECT
 public:
  // settings: the per-user store of the recent files (owned by the caller).
  explicit TMainForm(QSettings& settings, QWidget* parent = nullptr);
  ~TMainForm() override;

  bool CloseOK = true;
  TRecentFiles RecentFiles;
  TShellShared Shared;

  QAction *FileNew, *FileOpen, *FileClose, *FileSave, *FileSaveAs, *FileSaveAll, *FileCloseAll, *FileExit;
  QAction *EditCut, *EditCopy, *EditPaste;
  QAction *ViewStatusBar, *ViewToolBar1, *ViewToolBar2;
  QAction *CalcDynamic, *CalcBeamCompat, *Materials;
  QAction *WindowCascade, *WindowTileHorizontal, *WindowTileVertical, *WindowMinimizeAll, *WindowArrangeAll;
  QAction *HelpContents, *HelpWhatsThis, *HelpAbout;
  QAction* RecentEntries[TRecentFiles::MaxIndex + 1];
  QToolBar *ToolBar1, *ToolBar2;
  QMdiArea* MdiArea;
  // The material database editor of the command "Материалы".
  TSteelDataBaseForm* SteelDataBaseForm;

  // "&Создать": a new project window.
  TMDIChildWin* NewProject();
  // Opens a project file in a new window (the open command, a recent entry, the command line).
  TMDIChildWin* OpenProject(const QString& path);
  TMDIChildWin* ActiveChild() const;
  QList<TMDIChildWin*> Children() const;
  bool CloseAll();
  void SaveAll();
  void CalcDynamicExecute();
  void RefreshCommands();
  void RefreshRecentEntries();
  // The help window on the user guide's contents (F1).
  THelpWindow* ShowHelp();
  // Recent files read at start; an unreadable store is reported (error 4) and leaves them empty.
  void LoadRecentFiles();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void createActions();
  void createMenus();
  void connectChild(TMDIChildWin* child);
  void fillWindowMenu();

  QSettings& settings_;
  QMenu* windowMenu_ = nullptr;
  bool calculating_ = false;
};

inline const char* const MainWindowTitle = "VEXA 4.2";
inline const char* const ApplicationTitle = "VEXA версия 4.1";
