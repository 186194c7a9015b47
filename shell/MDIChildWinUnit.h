// A project window (`TMDIChildWin`): the project's data, torsional model and runs, its file
// and modified state, the task tree that opens the pages and views, and the calculate command.
#pragma once

#include <functional>
#include <map>
#include <memory>

#include <QStringList>
#include <QWidget>

#include "ExchangeFolderUnit.h"
#include "ProgressDlgUnit.h"
#include "ProjectCalcUnit.h"
#include "TaskTreeUnit.h"

class QPlainTextEdit;
class QTreeWidget;
class QTreeWidgetItem;
class TMDIChildWin;
class TRecentFiles;
class TVexaBaseDlg;

// What the project windows share: the pages and views created once for the whole program,
// the run selector's list, the recent files and the progress window.
inline const char* const BeamCompatNote =
    "Расчёт выполнен по схеме вала прежних версий (для сравнения): моменты инерции сечений щёк и противовесов "
    "переставлены, податливости опор Pmx, Pmy не учитываются.";

struct TShellShared {
  // Input pages by the caption of their task-tree item.
  std::map<QString, TVexaBaseDlg*> Pages;
  // Result views by the caption of their item (without the trailing blank of the resonance
  // group): a view of one run, of the torsional model, or the strength summary.
  std::map<QString, std::function<void(TMDIChildWin&, TDynamicCalcStruct&)>> RunViews;
  std::map<QString, std::function<void(TMDIChildWin&)>> ProjectViews;
  // The run selector: titles of the last calculation made in any window, and its choice.
  QStringList RunTitles;
  int RunIndex = 0;
  TRecentFiles* Recent = nullptr;
  TProgressDlg* Progress = nullptr;
  // "Расчёты → Схема вала прежних версий": the calculate command reproduces the shaft frame of
  // earlier versions, for comparison.
  bool BeamCompat = false;
};

class TMDIChildWin : public QWidget {
  Q_OBJECT
 public:
  // fileName: the full path, or "Безымянный " and a number for a new project.
  TMDIChildWin(TShellShared& shared, const QString& fileName, QWidget* parent = nullptr);
  ~TMDIChildWin() override;

  bool IsNew = true;
  QString FileName;
  bool Modified = false;

  TEngineDataStruct& EngineData() { return project_->EngineData; }
  TVexaProject& Project() { return *project_; }
  QTreeWidget* TaskTreeView;

  void MarkNew();
  // Reads FileName. A damaged file is reported and the window keeps what was read; a file
  // that cannot be opened raises std::runtime_error naming it.
  void LoadFromFile();
  bool Save();
  bool SaveAs();
  // The close decision; true when the window was closed.
  bool TryClose();
  void OnModify();
  // Opens what the item stands for, if its requirement is met.
  void TaskTreeViewClick(QTreeWidgetItem* item);
  // The calculate command, with the progress window; a TEVexaError escapes to the caller.
  void CalcDynamicExecute();
  // The caption: the file name without folder and extension.
  QString Caption() const;
  // Greys the result items whose requirement is not met, with a tooltip saying why.
  void RefreshTaskTree();

 signals:
  void ProjectModified();  // notification 2000
  void ProjectClosed();    // notification 2003

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  bool closeDecision();
  void refreshCaption();
  void makeProject();
  int frequencyCount() const;

  TShellShared& shared_;
  TCalcProgress progress_;
  TExchangeFolder exchange_;
  std::unique_ptr<TVexaProject> project_;
  QPlainTextEdit* memo_;
  bool closing_ = false;
};
