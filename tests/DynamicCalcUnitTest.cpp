// A run prepared from the bundled example: the grid from its diagram, the relative diagram
// name, the throws and cylinders, and the result catalogue over them.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <numbers>

#include "DynamicCalcUnit.h"
#include "EVexaErrorUnit.h"
#include "JsonResultsUnit.h"
#include "ProjectFileUnit.h"
#include "ResultCatalogUnit.h"
#include "TestSupport.h"

namespace {

constexpr double Pi = std::numbers::pi;

std::filesystem::path exampleProject() { return testsupport::SourceDir() / "examples" / "V16-26-26.vxa"; }

// Pressure column (MPa) of the bundled diagram at a file angle in whole degrees.
double filePressureAt(int degrees) {
  std::ifstream in(testsupport::SourceDir() / "examples" / "V16-26-26.dia");
  std::string line;
  std::getline(in, line);
  for (int i = 0; i <= degrees; ++i) std::getline(in, line);
  return std::stod(line.substr(24, 8));
}

class ExampleRunTest : public ::testing::Test {
 protected:
  TEngineDataStruct engine;
  std::unique_ptr<TDynamicCalcStruct> run;
  void SetUp() override {
    LoadProjectFile(engine, exampleProject());
    TRunSettings settings;
    settings.ProjectDir = exampleProject().parent_path();
    run = std::make_unique<TDynamicCalcStruct>(engine, settings);
    run->Prepare();
  }
};

}  // namespace

TEST_F(ExampleRunTest, GridComesFromTheDiagramWithFiringAtStepZero) {
  ASSERT_EQ(run->NPts(), 720);
  EXPECT_EQ(run->AngleGrid[0], 0);
  EXPECT_NEAR(run->AngleGrid[719], 719 * Pi / 180, 1e-12);
  EXPECT_NEAR(run->Pressure[0], filePressureAt(360), 1e-12);
  EXPECT_NEAR(run->Pressure[360], filePressureAt(0), 1e-12);
  EXPECT_EQ(run->N, engine.N);
  ASSERT_EQ(run->HarmOrders.size(), 12u);
  EXPECT_EQ(run->HarmOrders[0], 0.5);
  EXPECT_EQ(run->HarmOrders[11], 6);
}

TEST_F(ExampleRunTest, ThrowsAndCylindersFollowTheLayout) {
  ASSERT_EQ(run->Cranks.size(), 8u);
  for (std::size_t v = 0; v < 8; ++v) {
    ASSERT_EQ(run->Cranks[v]->Cylinders.size(), 2u);
    EXPECT_EQ(run->Cranks[v]->Cylinders[0]->CylNo, static_cast<int>(v) + 1);
    EXPECT_EQ(run->Cranks[v]->Cylinders[1]->CylNo, static_cast<int>(v) + 9);
  }
  // The row-2 cylinder of a throw fires 45° after row 1: its own angle lags by the V angle.
  const TCylinder& master = *run->Cranks[2]->Cylinders[0];
  const TCylinder& art = *run->Cranks[2]->Cylinders[1];
  EXPECT_NEAR(master.Alpha[100] - art.Alpha[100], Pi / 4, 1e-12);
  EXPECT_EQ(art.Shift, master.Shift + 45);
}

TEST_F(ExampleRunTest, CylindersFireInTheirOrderAtEvenIntervals) {
  std::vector<int> firingSteps;
  for (const auto& crank : run->Cranks)
    for (const auto& cylinder : crank->Cylinders) firingSteps.push_back(cylinder->Shift);
  std::sort(firingSteps.begin(), firingSteps.end());
  for (std::size_t i = 0; i < firingSteps.size(); ++i) EXPECT_EQ(firingSteps[i], static_cast<int>(i) * 45);
}

TEST_F(ExampleRunTest, RunOnlyArraysExistWithZerosAfterPrepare) {
  const TReal1DArray* values = nullptr;
  for (int q : {16, 17, 18, 19, 22, 29, 30, 33, 34, 37, 38, 42, 53}) {
    GetQuantityArray(*run, q, 2, 11, values);
    ASSERT_NE(values, nullptr) << q;
    ASSERT_EQ(values->size(), 720u) << q;
    for (double v : *values) ASSERT_EQ(v, 0) << q;
  }
  for (int q : {7, 14, 20, 43, 47, 51}) {
    GetQuantityArray(*run, q, 2, 11, values);
    EXPECT_NE(*std::max_element(values->begin(), values->end()), 0) << q;
  }
}

TEST_F(ExampleRunTest, CatalogueAddressesCylindersByGlobalNumber) {
  const TReal1DArray* values = nullptr;
  GetQuantityArray(*run, 13, 5, engine.NSec + 1, values);
  EXPECT_EQ(values, &run->Cranks[0]->Cylinders[1]->Z);  // row 2 of throw 1; the throw is ignored
  GetQuantityArray(*run, 14, 3, 1, values);
  EXPECT_EQ(values, &run->Cranks[2]->TSum);  // a throw quantity ignores the cylinder
  GetQuantityArray(*run, 0, 1, 2, values);
  EXPECT_EQ(values, &run->Cranks[1]->Cylinders[0]->Alpha);
  GetQuantityArray(*run, 0, 1, 2, values, TAngleUse::Abscissa);
  EXPECT_EQ(values, &run->AngleGrid);
  GetQuantityArray(*run, 54, 1, 1, values);
  EXPECT_EQ(values, nullptr);
  GetQuantityArray(*run, 53, 1, 16, values);
  EXPECT_EQ(values, &run->Cranks[7]->Cylinders[1]->SplitM0ss);
}

TEST(ResultCatalogue, NamesAndHolders) {
  EXPECT_STREQ(QuantityLongNames[0], "УКВ (alpha), град");
  EXPECT_STREQ(QuantityLongNames[53], "[Разр.]Изгибающий момент M0 в шатунной шейке (M0.ss), Нм");
  EXPECT_EQ(QuantityShortName(16, 3), "T1[3], МПа");
  EXPECT_EQ(QuantityShortName(47, 8), "[Разр.]Mk.ks[8], Нм");
  EXPECT_EQ(QuantityShortName(54, 1), "");
  int cylinderQuantities = 0;
  for (int q = 0; q < QuantityCount; ++q) cylinderQuantities += QuantityHolder(q) == TQuantityHolder::Cylinder;
  EXPECT_EQ(cylinderQuantities, 14 + 5 + 3);
  EXPECT_STREQ(TorsionalCaptions[4], "AkMax/Aksi");
}

TEST(ResultCatalogue, RunWithoutThrowsLeavesTheTargetAlone) {
  TEngineDataStruct engine;
  TDynamicCalcStruct run(engine);
  const TReal1DArray sentinel{1, 2, 3};
  const TReal1DArray* values = &sentinel;
  GetQuantityArray(run, 5, 1, 1, values);
  EXPECT_EQ(values, &sentinel);
}

TEST(DiagramSource, RelativeNamesAreTakenFromTheProjectFolder) {
  TEngineDataStruct engine;
  engine.IDSource = 1;
  engine.IDFileName = "sub/cycle.dia";
  TRunSettings settings;
  settings.ProjectDir = "/data/projects";
  settings.ExchangeDir = "/tmp/exchange";
  EXPECT_EQ(TDynamicCalcStruct(engine, settings).DiagramPath(), "/data/projects/sub/cycle.dia");
  engine.IDFileName = "/abs/cycle.dia";
  EXPECT_EQ(TDynamicCalcStruct(engine, settings).DiagramPath(), "/abs/cycle.dia");
  engine.IDSource = 0;
  EXPECT_EQ(TDynamicCalcStruct(engine, settings).DiagramPath(), "/tmp/exchange/Default.dia");
  settings.DiagramFile = "/override.dia";
  EXPECT_EQ(TDynamicCalcStruct(engine, settings).DiagramPath(), "/override.dia");
}

TEST(DiagramSource, MissingDiagramIsErrorSevenNamingTheFile) {
  testsupport::TempDir dir;
  TEngineDataStruct engine;
  engine.IDSource = 1;
  engine.IDFileName = "absent.dia";
  TRunSettings settings;
  settings.ProjectDir = dir.Path();
  TDynamicCalcStruct run(engine, settings);
  try {
    run.Prepare();
    FAIL();
  } catch (const TEVexaError& error) {
    EXPECT_EQ(error.Code, ErrIndicatorDiagram);
    EXPECT_NE(error.Text.find("absent.dia"), std::string::npos);
  }
}

// A run prepared from a run of the same project at another speed against one prepared from
// scratch: every per-step array, the results of the angle loop and the strengths are the same
// to the bit, for the articulated rods of the V16 and the in-line six.
class PreparedFromAnotherSpeed : public ::testing::TestWithParam<const char*> {
 protected:
  TEngineDataStruct engine;
  TRunSettings settings;
  void SetUp() override {
    settings.ProjectDir = testsupport::SourceDir() / "examples";
    LoadProjectFile(engine, settings.ProjectDir / GetParam());
  }
  std::unique_ptr<TDynamicCalcStruct> newRun() { return std::make_unique<TDynamicCalcStruct>(engine, settings); }
};

TEST_P(PreparedFromAnotherSpeed, EqualsAPreparationFromScratch) {
  auto earlier = newRun();
  earlier->Prepare();
  const TReal1DArray earlierJp = earlier->Cranks[2]->Cylinders.back()->Jp;
  engine.N *= 1.37;
  TDynamicCalcArray fromScratch, reused;
  fromScratch.push_back(newRun());
  fromScratch[0]->Prepare();
  reused.push_back(newRun());
  reused[0]->PrepareFrom(*earlier);
  earlier.reset();  // the reused run keeps nothing of the earlier one but shared positions
  ASSERT_NE(reused[0]->Cranks[2]->Cylinders.back()->Jp, earlierJp) << "the rates follow the new speed";
  for (TDynamicCalcArray* runs : {&fromScratch, &reused}) (*runs)[0]->Run();
  EXPECT_EQ(reused[0]->N, engine.N);
  EXPECT_TRUE(ResultsJson("", reused) == ResultsJson("", fromScratch));
}

INSTANTIATE_TEST_SUITE_P(Examples, PreparedFromAnotherSpeed, ::testing::Values("V16-26-26.vxa", "L6-26-26.vxa"));

TEST(PreparedFromAnotherRun, OnlyARunOfTheSameEngineAndDiagramFile) {
  TEngineDataStruct engine, other;
  TRunSettings settings;
  settings.ProjectDir = testsupport::SourceDir() / "examples";
  LoadProjectFile(engine, settings.ProjectDir / "V16-26-26.vxa");
  LoadProjectFile(other, settings.ProjectDir / "V16-26-26.vxa");
  TDynamicCalcStruct earlier(engine, settings);
  TDynamicCalcStruct run(engine, settings);
  EXPECT_THROW(run.PrepareFrom(earlier), std::logic_error) << "the earlier run is not prepared";
  earlier.Prepare();
  TDynamicCalcStruct ofOther(other, settings);
  EXPECT_THROW(ofOther.PrepareFrom(earlier), std::logic_error);
  TRunSettings overridden = settings;
  overridden.DiagramFile = settings.ProjectDir / "L6-26-26.dia";
  TDynamicCalcStruct ofOtherDiagram(engine, overridden);
  EXPECT_THROW(ofOtherDiagram.PrepareFrom(earlier), std::logic_error);
  // A diagram of the working-process program is made for the run's own speed.
  TRunSettings workingProcess = settings;
  workingProcess.WorkingProcess = [](TEngineDataStruct&) {};
  engine.IDSource = 0;
  TDynamicCalcStruct speedDependent(engine, workingProcess);
  EXPECT_THROW(speedDependent.PrepareFrom(earlier), std::logic_error);
  engine.IDSource = 1;
  EXPECT_NO_THROW(run.PrepareFrom(earlier));
}

TEST(ExampleFiles, ProjectsAreWhatTheGeneratorWrites) {
  testsupport::TempDir dir;
  const std::string command = (testsupport::BinDir() / "make_example_project").string() + " " + dir.Path().string();
  ASSERT_EQ(std::system(command.c_str()), 0);
  for (const char* name : {"V16-26-26.vxa", "L6-26-26.vxa"}) {
    std::ifstream a(testsupport::SourceDir() / "examples" / name, std::ios::binary), b(dir / name, std::ios::binary);
    const std::string committed((std::istreambuf_iterator<char>(a)), {}), fresh((std::istreambuf_iterator<char>(b)), {});
    EXPECT_FALSE(fresh.empty()) << name;
    EXPECT_EQ(committed, fresh) << "regenerate examples/" << name << " with make_example_project examples";
  }
}
