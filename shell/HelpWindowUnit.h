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
  // Shows a page of the guide ("index.html" is the contents, "page-general.html" the general
  // page); a missing page shows the contents, a missing guide a short message.
  void ShowPage(const QString& page);
  void ShowContents() { ShowPage("index.html"); }
  QTextBrowser* Browser;
};

// The guide's folder beside the program.
std::filesystem::path HelpFolder();

// The program's one help window, made when first asked for.
THelpWindow& HelpWindow();
