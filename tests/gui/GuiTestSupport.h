// What the tests of the desktop program share: scripted answers to the questions and file
// dialogs, a main window with a private settings store, the example project.
#pragma once

#include <QSettings>
#include <QTreeWidgetItem>
#include <QStringList>
#include <QTemporaryDir>
#include <deque>
#include <functional>
#include <memory>

#include "MAIN.h"
#include "UserDialogsUnit.h"

// Answers questions and file dialogs from queues and records every message.
class TScriptedDialogs : public TUserDialogs {
 public:
  TScriptedDialogs() { SetUserDialogs(this); }
  ~TScriptedDialogs() override { SetUserDialogs(nullptr); }

  std::deque<TAnswer> Answers;   // Cancel when empty
  std::deque<QString> FileNames; // "" (Cancel) when empty
  std::deque<int> RunChoices;    // -1 (Cancel) when empty
  QStringList Questions, Messages, Errors, RunLists;

  TAnswer Ask(QWidget*, const QString&, const QString& text, bool, bool) override;
  void Inform(QWidget*, const QString&, const QString& text) override { Messages << text; }
  void ShowError(QWidget*, const QString& caption, const QString& text) override { Errors << caption + " " + text; }
  QString OpenFileName(QWidget*, const QString&) override { return next(FileNames, QString()); }
  QString SaveFileName(QWidget*, const QString&) override { return next(FileNames, QString()); }
  int SelectRun(QWidget*, const QStringList& titles, int) override {
    RunLists << titles.join('|');
    return next(RunChoices, -1);
  }

 private:
  template <typename T>
  static T next(std::deque<T>& queue, T empty) {
    if (queue.empty()) return empty;
    T value = queue.front();
    queue.pop_front();
    return value;
  }
};

// A main window whose recent files live in a temporary store.
struct TMainFixture {
  QTemporaryDir folder;
  QSettings settings{folder.filePath("vexa.ini"), QSettings::IniFormat};
  TScriptedDialogs dialogs;
  std::unique_ptr<TMainForm> main = std::make_unique<TMainForm>(settings);
  TMainFixture() { main->resize(1000, 700); }
  ~TMainFixture() {
    for (TMDIChildWin* child : main->Children()) child->Modified = false;
  }
};

// The task-tree item with exactly this caption.
QTreeWidgetItem* itemOf(TMDIChildWin& window, const QString& caption);

QString ExampleProject();  // the bundled example
// Copies the example into the folder (with its diagram) and returns the project's path.
QString CopyExample(const QTemporaryDir& folder, const QString& name = "V16-26-26.vxa");

class TVexaBaseDlg;
class TEngineDataStruct;
// Opens the page modally on the data, runs the action while it is open, closes it with
// Cancel if the action left it open; returns how it was closed.
int RunPageWith(TVexaBaseDlg& page, TEngineDataStruct& data, const std::function<void()>& action);
// The bundled example read into the data, with the program's material database loaded.
void LoadExample(TEngineDataStruct& data);
