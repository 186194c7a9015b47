#include "HelpWindowUnit.h"

#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "ProgramPathUnit.h"

std::filesystem::path HelpContentsFile() { return ProgramDirectory() / "help" / "index.html"; }

THelpWindow::THelpWindow(QWidget* parent) : QDialog(parent), Browser(new QTextBrowser(this)) {
  setWindowTitle("Справка VEXA");
  setWindowFlag(Qt::WindowMinMaxButtonsHint, true);
  Browser->setOpenLinks(true);
  Browser->setOpenExternalLinks(false);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(Browser);
  resize(760, 600);
}

void THelpWindow::ShowContents() {
  const std::filesystem::path contents = HelpContentsFile();
  if (std::filesystem::exists(contents)) {
    Browser->setSource(QUrl::fromLocalFile(QString::fromStdString(contents.string())));
  } else {
    Browser->setHtml(QString("<h2>Руководство пользователя не найдено</h2>"
                             "<p>Программа ищет руководство в файле <code>%1</code>. "
                             "Установите папку <code>help</code> рядом с программой.</p>")
                         .arg(QString::fromStdString(contents.string()).toHtmlEscaped()));
  }
  show();
  raise();
}
