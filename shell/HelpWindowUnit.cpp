#include "HelpWindowUnit.h"

#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "ProgramPathUnit.h"

std::filesystem::path HelpFolder() { return ProgramDirectory() / "help"; }

THelpWindow& HelpWindow() {
  static THelpWindow* window = new THelpWindow;
  return *window;
}

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

void THelpWindow::ShowPage(const QString& page) {
  std::filesystem::path file = HelpFolder() / page.toStdString();
  if (!std::filesystem::exists(file)) file = HelpFolder() / "index.html";
  if (std::filesystem::exists(file)) {
    Browser->setSource(QUrl::fromLocalFile(QString::fromStdString(file.string())));
  } else {
    Browser->setHtml(QString("<h2>Руководство пользователя не найдено</h2>"
                             "<p>Программа ищет руководство в файле <code>%1</code>. "
                             "Установите папку <code>help</code> рядом с программой.</p>")
                         .arg(QString::fromStdString(file.string()).toHtmlEscaped()));
  }
  show();
  raise();
}
