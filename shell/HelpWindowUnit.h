// The help window: the user guide "help/index.html" installed beside the program, shown in a
// text browser, or a short message when the guide is missing.
#pragma once

#include <filesystem>

#include <QDialog>

class QTextBrowser;

class THelpWindow : public QDialog {
  Q_OBJECT
 public:
  explicit THelpWindow(QWidget* parent = nullptr);
  // Shows the contents page of the guide.
  void ShowContents();
  QTextBrowser* Browser;
};

// The guide's contents page beside the program.
std::filesystem::path HelpContentsFile();
