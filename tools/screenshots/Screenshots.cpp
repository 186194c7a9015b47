// vexa-screenshots: pictures of the desktop program for review, taken offscreen
// (QT_QPA_PLATFORM=offscreen): the main window with a project, the general page, the input
// pages, the material database editor, the progress window during the calculation, the about
// box and the help window. Prints the time from F3
// to "Расчёт завершён".
#include <clocale>
#include <iostream>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QLocale>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

#include "AboutUnit.h"
#include "HelpWindowUnit.h"
#include "EngineDataStructUnit.h"
#include "MAIN.h"
#include "QinDataDlgUnit.h"
#include "SteelDataBaseFormUnit.h"
#include "ProgramPathUnit.h"
#include "SteelDataBaseUnit.h"
#include "UserDialogsUnit.h"
#include "VexaBaseDlgUnit.h"

// The result views of the calculated project (ResultViewShots.cpp).
void SaveResultViewShots(TMDIChildWin& window, const QString& folder);

namespace {

// Answers every question with No and remembers the last message.
class TQuietDialogs : public TUserDialogs {
 public:
  TAnswer Ask(QWidget*, const QString&, const QString&, bool, bool) override { return TAnswer::No; }
  void Inform(QWidget*, const QString&, const QString& text) override { Last = text; }
  void ShowError(QWidget*, const QString& caption, const QString& text) override {
    Last = text;
    std::cerr << caption.toStdString() << " " << text.toStdString() << "\n";
  }
  QString OpenFileName(QWidget*, const QString&) override { return {}; }
  QString SaveFileName(QWidget*, const QString&) override { return {}; }
  int SelectRun(QWidget*, const QStringList&, int current) override { return current; }
  QString Last;
};

void save(QWidget* widget, const QString& folder, const QString& name) {
  QApplication::processEvents();
  const QString file = folder + "/" + name;
  if (!widget->grab().save(file)) std::cerr << "cannot write " << file.toStdString() << "\n";
  else std::cout << file.toStdString() << "\n";
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  std::setlocale(LC_NUMERIC, "C");
  QLocale::setDefault(QLocale::c());
  if (argc < 3) {
    std::cerr << "usage: vexa-screenshots PROJECT.vxa FOLDER\n";
    return 2;
  }
  const QString project = QString::fromLocal8Bit(argv[1]), folder = QString::fromLocal8Bit(argv[2]);
  LoadProgramSteelData(ProgramDirectory());
  TQuietDialogs dialogs;
  SetUserDialogs(&dialogs);
  QTemporaryDir store;
  QSettings settings(store.filePath("vexa.ini"), QSettings::IniFormat);

  TMainForm main(settings);
  main.resize(1280, 800);
  main.show();
  TMDIChildWin* child = main.OpenProject(project);
  save(&main, folder, "main-window.png");

  TVexaBaseDlg* page = main.Shared.Pages.at("Общая информация");
  page->Data = &child->EngineData();
  page->InitDialog();
  page->adjustSize();
  page->show();
  save(page, folder, "page-general.png");
  page->hide();

  // The working-process, concentration, torsional and material pages on the example.
  const std::pair<const char*, const char*> inputPages[] = {
      {"Рабочий процесс", "page-qin.png"},
      {"Коэффициенты концентрации", "page-concentration.png"},
      {"Данные для расчёта крутильных колебаний", "page-torsion.png"},
      {"Свойства материалов", "page-materials.png"}};
  for (const auto& [caption, name] : inputPages) {
    TVexaBaseDlg* input = main.Shared.Pages.at(caption);
    input->setProperty("projectFolder", QFileInfo(project).absolutePath());
    input->Data = &child->EngineData();
    input->InitDialog();
    input->show();
    save(input, folder, name);
    input->hide();
  }
  {
    // The same page with the diagram computed by the working-process program.
    TEngineDataStruct computed = child->EngineData();
    computed.OwnerNotify = nullptr;
    computed.IDSource = 0;
    auto* qin = static_cast<TQinDataForm*>(main.Shared.Pages.at("Рабочий процесс"));
    qin->Data = &computed;
    qin->InitDialog();
    qin->show();
    qin->ShowDiagram();
    save(qin, folder, "page-qin-program.png");
    qin->hide();
  }
  main.SteelDataBaseForm->InitDialog(SteelData());
  main.SteelDataBaseForm->show();
  save(main.SteelDataBaseForm, folder, "material-database.png");
  main.SteelDataBaseForm->hide();

  // The input pages on the example; the geometry page with the field under the cursor lit.
  const std::pair<const char*, const char*> layoutPages[] = {
      {"Компоновочная схема", "page-layout.png"},     {"Отключение цилиндров", "page-cutout.png"},
      {"Массы и противовесы", "page-masses.png"},      {"Податливость опор", "page-supports.png"},
      {"Геометрия колена", "page-geometry.png"}};
  auto showPage = [&](const char* caption, TMDIChildWin* window, const QString& file) {
    TVexaBaseDlg* input = main.Shared.Pages.at(caption);
    input->Data = &window->EngineData();
    input->InitDialog();
    input->resize(input->minimumSize().expandedTo(input->sizeHint()));
    input->show();
    if (QString(caption) == "Геометрия колена")
      if (auto* field = input->findChild<QWidget*>("DkSh")) {
        QEvent enter(QEvent::Enter);
        QApplication::sendEvent(field, &enter);
      }
    save(input, folder, file);
    input->hide();
  };
  for (const auto& [caption, file] : layoutPages) showPage(caption, child, file);
  // The layout page of a one-row engine, when its example lies beside the project.
  const QString oneRow = QFileInfo(project).dir().filePath("L6-26-26.vxa");
  if (QFileInfo::exists(oneRow)) {
    TMDIChildWin* inLine = main.OpenProject(oneRow);
    showPage("Компоновочная схема", inLine, "page-layout-one-row.png");
    inLine->Modified = false;
    main.MdiArea->setActiveSubWindow(main.MdiArea->subWindowList().front());
  }

  bool taken = false;
  QObject::connect(main.Shared.Progress, &TProgressDlg::StepShown, [&](int k, int steps) {
    if (!taken && k >= steps / 3) {
      taken = true;
      save(main.Shared.Progress, folder, "progress.png");
    }
  });
  QElapsedTimer timer;
  timer.start();
  main.CalcDynamic->trigger();
  const double seconds = static_cast<double>(timer.elapsed()) / 1000.0;
  std::cout << "F3 to \"" << dialogs.Last.toStdString() << "\": " << seconds << " s\n";
  save(&main, folder, "main-window-calculated.png");
  SaveResultViewShots(*child, folder);

  TAboutBox about(&main);
  about.show();
  save(&about, folder, "about.png");

  THelpWindow* help = main.ShowHelp();
  save(help, folder, "help.png");
  help->hide();

  for (TMDIChildWin* window : main.Children()) window->Modified = false;
  main.close();
  return 0;
}
