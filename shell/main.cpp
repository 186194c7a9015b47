// vexa: the desktop program.
#include <clocale>

#include <QApplication>
#include <QLocale>
#include <QSettings>

#include "MAIN.h"
#include "ProgramPathUnit.h"
#include "SplashUnit.h"
#include "SteelDataBaseUnit.h"
#include "UserDialogsUnit.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  // Numbers are shown and read with "." whatever the user's locale.
  std::setlocale(LC_NUMERIC, "C");
  QLocale::setDefault(QLocale::c());
  QApplication::setApplicationName(ApplicationTitle);
  QApplication::setOrganizationName("Lumet Programs");

  QSettings settings("Lumet Programs", "Vexa");
  TMainForm main(settings);
  const std::string warning = LoadProgramSteelData(ProgramDirectory());
  main.showMaximized();
  main.LoadRecentFiles();
  if (!warning.empty()) UserDialogs().ShowError(&main, "Ошибка!", QString::fromStdString(warning));
  (new TSplashForm)->show();
  const QStringList args = QApplication::arguments();
  if (args.size() > 1) main.OpenProject(args[1]);
  return app.exec();
}
