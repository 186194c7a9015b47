// A new in-line engine entered completely through the input pages of a new project window,
// as an engineer does, equals the same project written directly, file byte for byte, and
// calculates to the same results.
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QtTest>
#include <numbers>

#include "CommonInfoDlgUnit.h"
#include "ConcentrationCoeffsUnit.h"
#include "FloatSpinEditUnit.h"
#include "GeometryFormUnit.h"
#include "GraphFileUnit.h"
#include "KomponovkaDlgUnit.h"
#include "MassDlgUnit.h"
#include "PageTestSupport.h"
#include "PliantDlgUnit.h"
#include "ProjectCalcUnit.h"
#include "ProgramPathUnit.h"
#include "ProjectFileUnit.h"
#include "SteelDataBaseUnit.h"

namespace {

constexpr double Deg = std::numbers::pi / 180;
const std::filesystem::path Source(VEXA_SOURCE_DIR);

// Opens the page on the window's data, lets the action fill it, presses OK.
template <typename Page>
Page* fill(TMainForm& main, TMDIChildWin& window, const QString& caption, const std::function<void(Page&)>& action) {
  auto* page = dynamic_cast<Page*>(main.Shared.Pages.at(caption));
  OpenPage(*page, window.EngineData());
  action(*page);
  page->OKButton->click();
  return page;
}

void pasteInto(TPageGrid* grid, int row, int column, const QString& block) {
  grid->setCurrentIndex(grid->Grid()->index(row, column));
  grid->Paste(block);
}

// The same engine as the pages enter, written field by field.
void writeDirectly(TEngineDataStruct& e) {
  e.ProjectName = "Р4 26/26";
  e.EngineType = 2;
  e.NSec = 4;
  e.NRad = 1;
  e.Disposition = 0;
  e.Dezax = 0.005;
  e.ConRodL[1] = 0.6;
  const double fire[] = {0, 180, 540, 360};  // firing order 1-2-4-3
  for (int s = 1; s <= 4; ++s) e.FireAngle[s][1] = fire[s - 1] * Deg;
  e.Mpd[1] = 1100;
  e.M2[1] = 1500;
  for (int w = 1; w <= 8; ++w) {
    e.Msh[w] = 40;
    e.Rsh[w] = 0.05;
    e.Mpr[w] = 30;
    e.Rpr[w] = 0.2;
    e.AlphaPr[w] = 180 * Deg;
  }
  for (int j = 1; j <= 5; ++j) {
    e.Py[j] = e.Px[j] = 1e-9;
    e.Pmy[j] = e.Pmx[j] = 1e-7;
  }
  e.L0 = 0.36;
  e.B = 0.065;
  e.RgalS = 0.008;
  CalcConcentrationCoeffs(e, GraphDirectory(Source / "data"));
}

// The first run of the calculate command with the example's diagram.
std::unique_ptr<TVexaProject> calculate(TEngineDataStruct& data) {
  TRunSettings settings;
  settings.DiagramFile = Source / "examples" / "V16-26-26.dia";
  settings.Threads = 1;
  auto project = std::make_unique<TVexaProject>(settings);
  LoadProjectBytes(project->EngineData, ProjectBytes(data));
  const auto result = project->CalcDynamicExecute();
  if (!result.Completed) qWarning() << QString::fromStdString(result.Message);
  return project;
}

}  // namespace

class PagesEntryTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    // The new project takes its materials from the program's database, beside the programs.
    QVERIFY(LoadProgramSteelData(ProgramDirectory().parent_path().parent_path() / "bin").empty());
  }

  void inlineFourEnteredThroughThePagesEqualsTheProjectWrittenDirectly() {
    TMainFixture f;
    TMDIChildWin* window = f.main->NewProject();
    QVERIFY(window);

    fill<TCommonInfoDlg>(*f.main, *window, "Общая информация", [](TCommonInfoDlg& p) {
      p.ProjectName->setText("Р4 26/26");
      p.EngineType->setCurrentIndex(2);
    });
    fill<TKomponovkaDlg>(*f.main, *window, "Компоновочная схема", [](TKomponovkaDlg& p) {
      p.NRad->setValue(1);
      p.NSec->setValue(4);
      p.a->setText("0.005");
      pasteInto(p.InitValTable, 0, 1, "0\t180\t540\t360\n");
      TypeIntoCell(p.ConRodTable, 0, 1, "0.6");
    });
    fill<TMassDlg>(*f.main, *window, "Массы и противовесы", [](TMassDlg& p) {
      pasteInto(p.MpdStringGrid, 0, 1, "1100\t1500");
      QString webs;
      for (int w = 1; w <= 8; ++w) webs += "40\t0.05\t30\t0.2\t180\t0\t0\t0\n";
      pasteInto(p.ProtStringGrid, 0, 1, webs);
    });
    fill<TPliantDlg>(*f.main, *window, "Податливость опор", [](TPliantDlg& p) {
      pasteInto(p.PliantStringGrid, 0, 1,
                "1e-9\t1e-9\t1e-9\t1e-9\t1e-9\n1e-9\t1e-9\t1e-9\t1e-9\t1e-9\n"
                "1e-7\t1e-7\t1e-7\t1e-7\t1e-7\n1e-7\t1e-7\t1e-7\t1e-7\t1e-7\n");
    });
    fill<TGeometryForm>(*f.main, *window, "Геометрия колена", [](TGeometryForm& p) {
      p.GraphDir = GraphDirectory(Source / "data");
      p.L0->setText("0.36");
      p.B->setText("0.065");
      p.RGalS->setText("0.008");
    });
    QVERIFY2(f.dialogs.Errors.isEmpty(), qPrintable(f.dialogs.Errors.join("\n")));
    QVERIFY(window->Modified);

    TEngineDataStruct direct;
    writeDirectly(direct);
    TEngineDataStruct& entered = window->EngineData();
    QVERIFY(ProjectBytes(entered) == ProjectBytes(direct));

    const auto a = calculate(entered), b = calculate(direct);
    QCOMPARE(a->Results.size(), size_t(1));
    QCOMPARE(b->Results.size(), size_t(1));
    QCOMPARE(a->Results[0]->Cranks.size(), size_t(4));
    QVERIFY(a->Results[0]->Cranks[1]->Mk == b->Results[0]->Cranks[1]->Mk);
    QVERIFY(a->Results[0]->Cranks[3]->X1 == b->Results[0]->Cranks[3]->X1);
  }
};

QTEST_MAIN(PagesEntryTest)
#include "PagesEntryTest.moc"
