// The calculate command of a project: which runs it makes and how it names them, what it
// refuses, and that it leaves the project as it found it, also when a run fails.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <numbers>

#include "EVexaErrorUnit.h"
#include "IndicatorDiagramUnit.h"
#include "JsonResultsUnit.h"
#include "NumberFormatUnit.h"
#include "ProjectCalcUnit.h"
#include "ProjectFileUnit.h"
#include "TestSupport.h"

namespace {

std::filesystem::path examples() { return testsupport::SourceDir() / "examples"; }

TRunSettings exampleSettings() {
  TRunSettings settings;
  settings.ProjectDir = examples();
  return settings;
}

std::string fileText(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), {});
}

}  // namespace

class CalculateCommandTest : public ::testing::Test {
 protected:
  TVexaProject project{exampleSettings()};
  void SetUp() override { LoadProjectFile(project.EngineData, examples() / "V16-26-26.vxa"); }
};

TEST_F(CalculateCommandTest, PlainStrengthRunOnly) {
  project.EngineData.CalcOscillFlag = false;
  const auto result = project.CalcDynamicExecute();
  EXPECT_TRUE(result.Completed);
  EXPECT_EQ(result.Message, "Расчёт завершён");
  ASSERT_EQ(project.Results.size(), 1u);
  EXPECT_EQ(project.Results[0]->Title, "Расчёт без учёта крутильных колебаний");
  EXPECT_TRUE(project.RunSelectorTitles().empty());
}

TEST_F(CalculateCommandTest, ResonanceRunsFollowThePlainRunWithTheirSpeeds) {
  const double speed = project.EngineData.N, lamD = project.EngineData.LamD;
  ASSERT_TRUE(project.CalcDynamicExecute().Completed);
  ASSERT_EQ(project.Results.size(), 1u + project.EngineData.NRegs);
  const auto titles = project.RunSelectorTitles();
  ASSERT_EQ(titles.size(), static_cast<std::size_t>(project.EngineData.NRegs));
  for (std::size_t r = 1; r < project.Results.size(); ++r) {
    const TDynamicCalcStruct& run = *project.Results[r];
    EXPECT_EQ(run.Title, "Расчёт на частоте вращения " + FormatGeneral(run.N) + " об/мин");
    EXPECT_EQ(titles[r - 1], run.Title);
    EXPECT_NE(run.N, speed);
    EXPECT_GT(run.Cranks[0]->TorsionalAmp, 0);
  }
  EXPECT_EQ(project.EngineData.N, speed);
  EXPECT_EQ(project.EngineData.LamD, lamD);
  EXPECT_EQ(project.EngineData.Qin.N, speed);
}

TEST_F(CalculateCommandTest, WithoutTheDesignRunTheResonanceRunsComeFirst) {
  project.EngineData.CalcDynamicFlag = false;
  ASSERT_TRUE(project.CalcDynamicExecute().Completed);
  ASSERT_EQ(project.Results.size(), static_cast<std::size_t>(project.EngineData.NRegs));
  EXPECT_EQ(project.Results[0]->Title.rfind("Расчёт на частоте вращения ", 0), 0u);
  project.EngineData.CalcCombFlag = false;
  ASSERT_TRUE(project.CalcDynamicExecute().Completed);
  EXPECT_TRUE(project.Results.empty());
  EXPECT_GT(project.OscillCalc->NModes(), 1);
}

TEST_F(CalculateCommandTest, FiringAngleMismatchStopsAndChangesNothing) {
  project.EngineData.CalcOscillFlag = false;
  ASSERT_TRUE(project.CalcDynamicExecute().Completed);
  const TDynamicCalcStruct* previous = project.Results[0].get();
  project.EngineData.FireAngle[3][2] += 0.1;
  const auto result = project.CalcDynamicExecute();
  EXPECT_FALSE(result.Completed);
  EXPECT_EQ(result.Message, "Углы чередования вспышек не согласуются с углом развала");
  ASSERT_EQ(project.Results.size(), 1u);
  EXPECT_EQ(project.Results[0].get(), previous);
}

namespace {

// The runs of the project's last calculate command made again one by one, each prepared from
// scratch at its speed with the torsional amplitudes of the command's run (and LamD 1, as the
// command takes it for the runs after the torsional calculation). The runs work on `engine`,
// a copy of the project's data that the caller keeps while it reads them.
TDynamicCalcArray runsFromScratch(TVexaProject& project, TEngineDataStruct& engine) {
  engine = project.EngineData;
  TDynamicCalcArray runs;
  for (const auto& done : project.Results) {
    engine.N = engine.Qin.N = done->N;
    if (done->Title != PlainRunTitle) engine.LamD = 1.0;
    runs.push_back(std::make_unique<TDynamicCalcStruct>(engine, project.Settings()));
    TDynamicCalcStruct& run = *runs.back();
    run.Title = done->Title;
    run.Prepare();
    for (std::size_t v = 0; v < run.Cranks.size(); ++v) run.Cranks[v]->TorsionalAmp = done->Cranks[v]->TorsionalAmp;
    run.Run();
  }
  return runs;
}

}  // namespace

// With a diagram file the command prepares its runs after the first from the first; their
// results are those of runs prepared from scratch to the bit.
TEST(CalculateCommand, RunsEqualRunsPreparedFromScratch) {
  TVexaProject& v16 = testsupport::CalculatedExample();
  ASSERT_GT(v16.Results.size(), 2u);
  TEngineDataStruct engine;
  EXPECT_TRUE(ResultsJson("", v16.Results) == ResultsJson("", runsFromScratch(v16, engine))) << "V16";

  TVexaProject inLine(exampleSettings());
  LoadProjectFile(inLine.EngineData, examples() / "L6-26-26.vxa");
  inLine.EngineData.CalcDynamicFlag = false;  // the first resonance run is the one prepared from scratch
  ASSERT_TRUE(inLine.CalcDynamicExecute().Completed);
  ASSERT_GT(inLine.Results.size(), 2u);
  EXPECT_TRUE(ResultsJson("", inLine.Results) == ResultsJson("", runsFromScratch(inLine, engine))) << "in-line six";
}

TEST(CalculateCommand, WorkingProcessDiagramIsMadeForEveryRun) {
  // The working-process step gives the design speed one diagram and every other speed another:
  // each run must have its own.
  testsupport::TempDir exchange;
  TRunSettings settings = exampleSettings();
  settings.ExchangeDir = exchange.Path();
  double designSpeed = 0;
  settings.WorkingProcess = [&](TEngineDataStruct& engine) {
    const char* diagram = engine.Qin.N == designSpeed ? "V16-26-26.dia" : "L6-26-26.dia";
    std::filesystem::copy_file(examples() / diagram, exchange / "Default.dia",
                               std::filesystem::copy_options::overwrite_existing);
  };
  TVexaProject project(settings);
  LoadProjectFile(project.EngineData, examples() / "V16-26-26.vxa");
  project.EngineData.IDSource = 0;
  project.EngineData.NRegs = 2;
  designSpeed = project.EngineData.Qin.N;
  ASSERT_TRUE(project.CalcDynamicExecute().Completed);
  ASSERT_EQ(project.Results.size(), 3u);
  TReal1DArray grid, designPressure, otherPressure;
  ReadIndicatorDiagramFile(examples() / "V16-26-26.dia", grid, designPressure, 720);
  ReadIndicatorDiagramFile(examples() / "L6-26-26.dia", grid, otherPressure, 720);
  ASSERT_NE(designPressure, otherPressure);
  EXPECT_EQ(project.Results[0]->Pressure, designPressure);
  EXPECT_EQ(project.Results[1]->Pressure, otherPressure);
  EXPECT_EQ(project.Results[2]->Pressure, otherPressure);
}

TEST(CalculateCommand, FailingRunLeavesTheSpeedsAsTheyWere) {
  // The working-process step fails at its fourth call: in the middle of the resonance search.
  int calls = 0;
  testsupport::TempDir exchange;
  TRunSettings settings = exampleSettings();
  settings.ExchangeDir = exchange.Path();
  settings.WorkingProcess = [&](TEngineDataStruct&) {
    if (++calls == 4) throw std::runtime_error("working process failed");
    std::filesystem::copy_file(examples() / "V16-26-26.dia", exchange / "Default.dia",
                               std::filesystem::copy_options::overwrite_existing);
  };
  TVexaProject project(settings);
  LoadProjectFile(project.EngineData, examples() / "V16-26-26.vxa");
  project.EngineData.IDSource = 0;
  const double speed = project.EngineData.N, lamD = project.EngineData.LamD, qinSpeed = project.EngineData.Qin.N;
  EXPECT_THROW(project.CalcDynamicExecute(), std::exception);
  EXPECT_GE(calls, 4);
  EXPECT_EQ(project.EngineData.N, speed);
  EXPECT_EQ(project.EngineData.LamD, lamD);
  EXPECT_EQ(project.EngineData.Qin.N, qinSpeed);
  EXPECT_TRUE(project.Results.empty()) << "a failed command keeps no half-computed runs";
}

namespace {

// Asks the calculation to stop once the angle loop of the given run has reported a few steps.
class TStopAfterSteps : public TCalcObserver {
 public:
  TStopAfterSteps(int loop, int steps) : loop_(loop), steps_(steps) {}
  void AngleLoopStarted(const TDynamicCalcStruct&, int) override { ++loops; reported = 0; }
  void StepDone(const TDynamicCalcStruct&, int, int) override { ++reported; ++totalSteps; }
  bool CancelRequested() const override { return loops == loop_ && reported >= steps_; }
  int loops = 0, reported = 0, totalSteps = 0;

 private:
  int loop_, steps_;
};

}  // namespace

TEST(CalculateCommand, StopInAResonanceRunKeepsNoRunsAndRestoresTheSpeeds) {
  TStopAfterSteps stop(3, 5);  // the second resonance run
  TRunSettings settings = exampleSettings();
  settings.Observer = &stop;
  settings.Threads = 2;
  TVexaProject project(settings);
  LoadProjectFile(project.EngineData, examples() / "V16-26-26.vxa");
  ASSERT_TRUE(project.EngineData.CalcCombFlag);
  const double speed = project.EngineData.N, lamD = project.EngineData.LamD, qinSpeed = project.EngineData.Qin.N;
  EXPECT_THROW(project.CalcDynamicExecute(), ECalcCancelled);
  EXPECT_EQ(stop.loops, 3);
  EXPECT_LT(stop.reported, 5 + 4) << "the loop stops within a few steps";
  EXPECT_TRUE(project.Results.empty());
  EXPECT_EQ(project.EngineData.N, speed);
  EXPECT_EQ(project.EngineData.LamD, lamD);
  EXPECT_EQ(project.EngineData.Qin.N, qinSpeed);
}

TEST(CalculateCommand, StopWithOneThreadEndsTheLoopAtOnce) {
  TStopAfterSteps stop(1, 7);
  TRunSettings settings = exampleSettings();
  settings.Observer = &stop;
  settings.Threads = 1;
  TVexaProject project(settings);
  LoadProjectFile(project.EngineData, examples() / "V16-26-26.vxa");
  EXPECT_THROW(project.CalcDynamicExecute(), ECalcCancelled);
  EXPECT_EQ(stop.totalSteps, 7);
  EXPECT_TRUE(project.Results.empty());
}

TEST(CalculateCommand, RelativeDiagramIsTakenFromTheProjectsCurrentFolder) {
  // A project saved into another folder takes its relative diagram name from there.
  testsupport::TempDir moved;
  TVexaProject project;  // created before the project has a folder, as a new window's is
  LoadProjectFile(project.EngineData, examples() / "V16-26-26.vxa");
  ASSERT_EQ(project.EngineData.IDSource, 1);
  ASSERT_TRUE(std::filesystem::path(project.EngineData.IDFileName).is_relative());
  project.EngineData.CalcOscillFlag = false;
  project.SetProjectDir(moved.Path());
  EXPECT_THROW(project.CalcDynamicExecute(), TEVexaError) << "no diagram in the new folder";
  std::filesystem::copy_file(examples() / project.EngineData.IDFileName, moved / project.EngineData.IDFileName);
  EXPECT_TRUE(project.CalcDynamicExecute().Completed);
  EXPECT_EQ(project.Results.at(0)->DiagramPath(), moved / project.EngineData.IDFileName);
}

TEST(CalculateCommand, KeepsTheWorkingProcessReportOfTheDesignSpeed) {
  // A working-process step whose report names the speed it was made for; one resonance run
  // at another speed follows the design run and makes a report of its own.
  testsupport::TempDir exchange, projectDir;
  TRunSettings settings = exampleSettings();
  settings.ExchangeDir = exchange.Path();
  settings.WorkingProcess = [&](TEngineDataStruct& engine) {
    std::filesystem::copy_file(examples() / "V16-26-26.dia", exchange / "Default.dia",
                               std::filesystem::copy_options::overwrite_existing);
    std::ofstream(exchange / "Default.rez") << "WORKING PROCESS\nspeed " << engine.Qin.N << "\n";
  };
  TWorkingProcessOptions options;
  options.KeptReport = projectDir / "engine.rez";
  TVexaProject project(settings, options);
  LoadProjectFile(project.EngineData, examples() / "V16-26-26.vxa");
  project.EngineData.IDSource = 0;
  project.EngineData.NRegs = 1;
  const double designSpeed = project.EngineData.Qin.N;
  const auto result = project.CalcDynamicExecute();
  ASSERT_TRUE(result.Completed);
  ASSERT_EQ(project.Results.size(), 2u);
  ASSERT_NE(project.Results[1]->N, designSpeed);
  EXPECT_EQ(fileText(projectDir / "engine.rez"), "WORKING PROCESS\nspeed " + FormatGeneral(designSpeed) + "\n");
  const std::string note = "Отчёт программы рабочего процесса сохранён в файле " + (projectDir / "engine.rez").string();
  EXPECT_EQ(std::count(result.Notes.begin(), result.Notes.end(), note), 1);

  // A project saved under another name keeps its report beside its new file; a project
  // without a file keeps none.
  project.SetWorkingProcessReport(projectDir / "renamed.rez");
  ASSERT_TRUE(project.CalcDynamicExecute().Completed);
  EXPECT_EQ(fileText(projectDir / "renamed.rez"), "WORKING PROCESS\nspeed " + FormatGeneral(designSpeed) + "\n");
  std::filesystem::remove(projectDir / "renamed.rez");
  project.SetWorkingProcessReport({});
  const auto unsaved = project.CalcDynamicExecute();
  ASSERT_TRUE(unsaved.Completed);
  EXPECT_EQ(std::count_if(unsaved.Notes.begin(), unsaved.Notes.end(),
                          [](const std::string& n) { return n.find("Отчёт программы") != std::string::npos; }),
            0);
  EXPECT_FALSE(std::filesystem::exists(projectDir / "renamed.rez"));

  // With a diagram file the program does not run and no report is kept.
  project.SetWorkingProcessReport(projectDir / "engine.rez");
  std::filesystem::remove(projectDir / "engine.rez");
  project.EngineData.IDSource = 1;
  project.EngineData.CalcOscillFlag = false;
  ASSERT_TRUE(project.CalcDynamicExecute().Completed);
  EXPECT_FALSE(std::filesystem::exists(projectDir / "engine.rez"));
}

TEST(WorkingProcessReuse, IdenticalInputTakesTheKeptDiagram) {
  const auto program = testsupport::BinDir() / "qinu";
  if (!std::filesystem::exists(program)) GTEST_SKIP() << "the working-process program is not built";
  testsupport::TempDir dir;
  TEngineDataStruct data;
  LoadProjectFile(data, examples() / "V16-26-26.vxa");
  data.IDSource = 0;
  TWorkingProcessCache cache;
  TWorkingProcessOptions options;
  options.ProgramPath = program;
  options.ExchangeDirectory = dir.Path();
  options.PollInterval = std::chrono::milliseconds(20);
  options.Cache = &cache;
  data.Qin.RunWorkingProcess(data, options);
  const std::string computed = fileText(dir / "Default.dia");
  ASSERT_FALSE(computed.empty());

  // The same input again: the program is not started (it could not be), the diagram is the same.
  options.ProgramPath = dir / "no-such-program";
  data.N = 700;  // the project speed is not part of the working-process input
  data.Qin.RunWorkingProcess(data, options);
  EXPECT_EQ(fileText(dir / "Default.dia"), computed);

  // A changed input needs the program.
  data.Qin.N = 900;
  try {
    data.Qin.RunWorkingProcess(data, options);
    FAIL();
  } catch (const TEVexaError& error) {
    EXPECT_EQ(error.Code, ErrWorkingProcess);
  }
}
