// The working-process record: the ".qin" text file (exact field layout, round trip, damaged
// files) and running the working-process program, here a stand-in that records how it was
// started and answers with a diagram whose peak pressure is the speed it read / 1000 MPa.
#include "QinDataStructUnit.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <map>
#include <random>
#include <thread>

#include "ChildProcessUnit.h"
#include "EVexaErrorUnit.h"
#include "EngineDataStructUnit.h"
#include "FloatCheckUnit.h"
#include "IndicatorDiagramUnit.h"
#include "StopRequestUnit.h"
#include "TestSupport.h"
#include "stubs/FakeWorkingProcess.h"

namespace {

using namespace std::chrono_literals;

std::vector<std::string> fileLines(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::vector<std::string> lines;
  std::string line;
  while (std::getline(in, line)) lines.push_back(line);
  return lines;
}

std::string fileText(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<double> storedDoubles(TQinDataStruct& qin) {
  std::vector<double> values;
  for (double* v : qin.StoredDoubles()) values.push_back(*v);
  values.push_back(qin.Q);
  return values;
}

// ---- The ".qin" text file ----

class QinTextTest : public ::testing::Test {
 protected:
  testsupport::TempDir dir;
  TEngineDataStruct engine;
  std::filesystem::path file = dir / "run.qin";

  void writeFile(const std::string& text, const std::string& name = "hand.qin") {
    std::ofstream(dir / name, std::ios::binary) << text;
    file = dir / name;
  }
};

TEST_F(QinTextTest, FieldsLieInTheirColumns) {
  engine.ProjectName = "Дизель";
  engine.D = 123456.5;  // fills its field exactly
  engine.R = 0.13;
  engine.ConRodL[1] = 0.52;
  engine.Dezax = 0;
  engine.Qin.E = -15;
  engine.Qin.N = 1500;
  engine.Qin.PDP = 0;
  engine.Qin.TOFormula = 2;
  engine.Qin.Vp = 1;
  engine.Qin.Vyp = 0;
  engine.Qin.V = 2;
  engine.Qin.EngineType = 1;
  engine.Qin.TransferText(file, true, engine);

  const auto lines = fileLines(file);
  ASSERT_EQ(lines.size(), 14u);
  EXPECT_EQ(lines[0], std::string(60, '-'));
  EXPECT_EQ(lines[1].substr(0, 10), std::string(10, ' '));
  EXPECT_GT(lines[1].size(), 10u);
  // File name and project name in code page 1251 ("Д" is 0xC4, "ь" 0xFC).
  EXPECT_EQ(lines[2], std::string(15, ' ') + "run.qin   \xC4\xE8\xE7\xE5\xEB\xFC");
  // Stroke 2R of a central rod, R/L = 0.25.
  EXPECT_EQ(lines[3], "123456.500000     0.260000   -15.000000     0.250000  1500.000000     0.000000");
  EXPECT_EQ(lines[12], "     0.003240     1.000000     1.000000     0.000000     0.000000");
  EXPECT_EQ(lines[13], "   3   2   1   3   2   1");
  for (int i = 4; i < 12; ++i) EXPECT_EQ(lines[static_cast<std::size_t>(i)].size(), 5u * 13u) << i;
  EXPECT_EQ(fileText(file).back(), '\n');
}

TEST_F(QinTextTest, WritingTakesTheDerivedFieldsFromTheProject) {
  engine.ProjectName = "8ЧН 26/26";
  engine.D = 0.26;
  engine.R = 0.13;
  engine.ConRodL[1] = 0.6;
  engine.Dezax = 0.02;
  engine.NSec = 6;
  engine.NRad = 2;
  engine.Qin.TransferText(file, true, engine);
  const double e = engine.Dezax, R = engine.R, L = engine.ConRodL[1];
  // Stroke of an offset slider-crank: piston positions at the two dead centres.
  const double stroke = std::sqrt((L + R) * (L + R) - e * e) - std::sqrt((L - R) * (L - R) - e * e);
  EXPECT_EQ(engine.Qin.Descr, "8ЧН 26/26");
  EXPECT_EQ(engine.Qin.D, 0.26);
  EXPECT_NEAR(engine.Qin.S, stroke, 1e-12);
  EXPECT_NEAR(engine.Qin.Lam, R / L, 1e-15);
  EXPECT_EQ(engine.Qin.Q, 12);

  // The file holds them too.
  TQinDataStruct read;
  read.TransferText(file, false, engine);
  EXPECT_NEAR(read.S, stroke, 5e-7);
  EXPECT_EQ(read.Q, 12);
}

TEST_F(QinTextTest, RoundTripKeepsEveryValueToSixDecimals) {
  std::mt19937 random(7);
  std::uniform_real_distribution<double> spread(-9999, 99999);
  TQinDataStruct& qin = engine.Qin;
  for (double* v : qin.StoredDoubles()) *v = spread(random);
  qin.TOFormula = 1;
  qin.Vp = 1;
  qin.Vyp = 1;
  qin.V = 1;
  qin.EngineType = 1;
  qin.TransferText(file, true, engine);

  TQinDataStruct read;
  read.Descr = "kept";
  read.Tau = 1;
  read.TransferText(file, false, engine);
  const auto written = storedDoubles(qin), back = storedDoubles(read);
  for (std::size_t i = 0; i < written.size(); ++i) EXPECT_NEAR(back[i], written[i], 5.0000001e-7) << i;
  EXPECT_EQ(read.TOFormula, 1);
  EXPECT_EQ(read.Vp, 1);
  EXPECT_EQ(read.Vyp, 1);
  EXPECT_EQ(read.V, 1);
  EXPECT_EQ(read.EngineType, 1);
  EXPECT_EQ(read.Descr, "kept");
  EXPECT_EQ(read.Tau, 1);
}

TEST_F(QinTextTest, ValuesTooWideForTheirFieldStaySeparate) {
  engine.Qin.Hu = 42.5e6;  // J/kg typed by mistake
  engine.Qin.QC = -123456.5;
  engine.Qin.TransferText(file, true, engine);
  const std::string line = fileLines(file)[8];
  EXPECT_NE(line.find(" 42500000.000000 -123456.500000"), std::string::npos) << line;
  TQinDataStruct read;
  read.TransferText(file, false, engine);
  EXPECT_EQ(read.Hu, 42.5e6);
  EXPECT_EQ(read.QC, -123456.5);
  EXPECT_EQ(read.ALFF, engine.Qin.ALFF);
}

TEST_F(QinTextTest, ValuesFillingTheirFieldKeepTheColumnsAndReadBack) {
  engine.Qin.E = 123456.5;  // 13 characters, after S
  engine.Qin.Hu = -12345.25;
  engine.Qin.QC = 234567.125;  // two full fields in a row
  engine.Qin.TransferText(file, true, engine);
  const auto lines = fileLines(file);
  EXPECT_EQ(lines[3].substr(26, 13), "123456.500000");
  EXPECT_EQ(lines[3].size(), 6u * 13u);
  EXPECT_EQ(lines[8].substr(26, 26), "-12345.250000234567.125000");
  EXPECT_EQ(lines[8].size(), 5u * 13u);
  TQinDataStruct read;
  read.TransferText(file, false, engine);
  EXPECT_EQ(read.E, 123456.5);
  EXPECT_NEAR(read.Lam, engine.Qin.Lam, 5e-7);
  EXPECT_EQ(read.Hu, -12345.25);
  EXPECT_EQ(read.QC, 234567.125);
  EXPECT_EQ(read.ALFF, engine.Qin.ALFF);
  EXPECT_EQ(read.BPer, engine.Qin.BPer);
}

TEST_F(QinTextTest, AWordWithOnePointIsOneNumberWhateverItsDecimals) {
  engine.Qin.TransferText(file, true, engine);
  auto lines = fileLines(file);
  lines[3] = "0.26 0.26 15.1234567890 0.25 1000 0";
  std::string text;
  for (const auto& line : lines) text += line + "\n";
  writeFile(text);
  TQinDataStruct read;
  read.TransferText(file, false, engine);
  EXPECT_EQ(read.E, 15.123456789);
  // Touching numbers that are not of the file's layout are refused.
  lines[3] = "0.26 0.26 15.12.5 0.25 1000 0";
  text.clear();
  for (const auto& line : lines) text += line + "\n";
  writeFile(text);
  EXPECT_THROW(read.TransferText(file, false, engine), std::runtime_error);
}

TEST_F(QinTextTest, ValuesThatAreNotFiniteAreNotWritten) {
  engine.Qin.TransferText(file, true, engine);
  const std::string good = fileText(file);
  engine.Qin.QC = std::nan("");
  EXPECT_THROW(engine.Qin.TransferText(file, true, engine), EVexaFloatError);
  engine.Qin.QC = 1e-4;
  engine.ConRodL[1] = 0;  // no mechanism
  EXPECT_THROW(engine.Qin.TransferText(file, true, engine), EVexaFloatError);
  EXPECT_EQ(fileText(file), good);
}

// Reading follows the numbers, not the columns: any blanks, a group continued on the next
// line, extra numbers at the end of a line passed over.
TEST_F(QinTextTest, ReadingIsFreeFormat) {
  std::string text = "header\ntitle\n   x.qin   name\r\n";
  text += "0.3 0.33\t15 0.25 1800 0 99 99\r\n";  // two extra numbers
  text += "6 0.9 0.8\n0.81 0.25\n";                  // group over two lines
  for (int i = 0; i < 7; ++i) text += "  1  2  3  4  5\n";
  text += "0.004 1 1 7 8\n";
  text += " 3 2 2 1 2 9 9 garbage\n";
  writeFile(text);
  TQinDataStruct read;
  read.TransferText(file, false, engine);
  EXPECT_EQ(read.D, 0.3);
  EXPECT_EQ(read.S, 0.33);
  EXPECT_EQ(read.N, 1800);
  EXPECT_EQ(read.PDP, 0);
  EXPECT_EQ(read.Q, 6);
  EXPECT_EQ(read.PK, 0.25);
  EXPECT_EQ(read.DP, 1);  // line 6 starts after the continued group
  EXPECT_EQ(read.Cu, 5);
  EXPECT_EQ(read.C2, 0.004);
  EXPECT_EQ(read.Vkam, 7);
  EXPECT_EQ(read.MFk, 8);
  EXPECT_EQ(read.TOFormula, 2);
  EXPECT_EQ(read.Vp, 1);
  EXPECT_EQ(read.Vyp, 1);
  EXPECT_EQ(read.V, 0);
  EXPECT_EQ(read.EngineType, 1);
}

TEST_F(QinTextTest, DamagedFileChangesNothing) {
  engine.Qin.TransferText(file, true, engine);
  const auto lines = fileLines(file);
  auto variant = [&](std::size_t line, const std::string& replacement) {
    auto copy = lines;
    copy[line] = replacement;
    std::string text;
    for (const auto& l : copy) text += l + "\n";
    return text;
  };
  const std::vector<std::string> damaged = {
      variant(5, "1 2 3 4 x"),           variant(5, "1 2 3 nan 5"),
      variant(13, "   0   1   1   1   1   1"), variant(13, "   1   1   1   4   1   1"),
      variant(13, "   1   1   1   1   1.5"),   "-----\ntitle\nname\n0.3 0.3 15\n"};
  TQinDataStruct record;
  record.Descr = "mine";
  record.E = 17;
  for (const auto& text : damaged) {
    writeFile(text);
    EXPECT_THROW(record.TransferText(file, false, engine), std::runtime_error) << text;
    EXPECT_EQ(record.E, 17);
    EXPECT_EQ(record.D, 0);
    EXPECT_EQ(record.TOFormula, 0);
  }
  EXPECT_THROW(record.TransferText(dir / "absent.qin", false, engine), std::runtime_error);
}

// ---- Running the working-process program ----

class WorkingProcessTest : public ::testing::Test {
 protected:
  testsupport::TempDir dir;
  TEngineDataStruct engine;
  TWorkingProcessOptions options;

  WorkingProcessTest() {
    options.ProgramPath = VEXA_FAKE_WORKING_PROCESS;
    options.ExchangeDirectory = dir.Path();
    options.PollInterval = 20ms;
    engine.Qin.N = 1500;
  }

  void setMode(const std::string& mode) { std::ofstream(dir / "stub-mode") << mode << "\n"; }
  void putStaleDiagram() { std::ofstream(dir / "Default.dia") << "an old diagram\n"; }

  std::map<std::string, std::string> record() { return ReadStubRecord(dir.Path()); }

  // Largest pressure of the diagram in the exchange folder and its step.
  std::pair<double, std::size_t> diagramPeak(const std::filesystem::path& folder) {
    TReal1DArray angles, pressures;
    ReadIndicatorDiagramFile(folder / "Default.dia", angles, pressures);
    EXPECT_EQ(angles.size(), 720u);
    const auto peak = std::max_element(pressures.begin(), pressures.end());
    return {*peak, static_cast<std::size_t>(peak - pressures.begin())};
  }
};

TEST_F(WorkingProcessTest, ProgramRunsInTheExchangeFolderOnItsInputFile) {
  putStaleDiagram();
  engine.Qin.RunWorkingProcess(engine, options);
  auto r = record();
  const auto program = std::filesystem::canonical(options.ProgramPath).string();
  EXPECT_EQ(r["argc"], "2");
  EXPECT_EQ(r["arg0"], program + "Default.qin");
  EXPECT_EQ(r["arg1"], "Default.rez");
  EXPECT_EQ(std::filesystem::path(r["cwd"]), std::filesystem::canonical(dir.Path()));
  EXPECT_EQ(r["extra-fds"], "");
  EXPECT_EQ(r["stale-diagram"], "0");
  EXPECT_EQ(r["speed"], "1500");  // the program read the speed from Default.qin
  // Its diagram: peak 1.5 MPa above the base 0.1 MPa, 10° after firing.
  const auto [peak, step] = diagramPeak(dir.Path());
  EXPECT_NEAR(peak, 1.6, 1e-4);
  EXPECT_EQ(step, 10u);
  EXPECT_EQ(options.DiagramFile(), dir / "Default.dia");
}

TEST_F(WorkingProcessTest, OldDiagramIsGoneWhenTheProgramLeavesNone) {
  putStaleDiagram();
  setMode("no-diagram");
  engine.Qin.RunWorkingProcess(engine, options);
  EXPECT_EQ(record()["stale-diagram"], "0");
  TReal1DArray angles, pressures;
  try {
    ReadIndicatorDiagramFile(options.DiagramFile(), angles, pressures);
    FAIL();
  } catch (const TEVexaError& e) {
    EXPECT_EQ(e.Code, ErrIndicatorDiagram);
  }
}

TEST_F(WorkingProcessTest, DiagramFromTheProjectsFileRunsNothing) {
  putStaleDiagram();
  engine.IDSource = 1;
  engine.Qin.RunWorkingProcess(engine, options);
  EXPECT_EQ(fileText(dir / "Default.dia"), "an old diagram\n");
  EXPECT_FALSE(std::filesystem::exists(dir / "Default.qin"));
  EXPECT_FALSE(std::filesystem::exists(dir / "stub-record.txt"));
}

TEST_F(WorkingProcessTest, ProgramThatCannotStartGivesError8WithItsFullPath) {
  options.ProgramPath = std::filesystem::relative(dir / "missing" / "qinu");
  try {
    engine.Qin.RunWorkingProcess(engine, options);
    FAIL();
  } catch (const TEVexaError& e) {
    EXPECT_EQ(e.Code, ErrWorkingProcess);
    EXPECT_EQ(e.Text, "Не удалось запустить qin.exe: \r" + (dir / "missing" / "qinu").string() +
                          " (программа не найдена)");
  }
}

TEST_F(WorkingProcessTest, ProgramThatNeverEndsIsStopped) {
  setMode("hang");
  options.WaitLimit = 300ms;
  EXPECT_THROW(engine.Qin.RunWorkingProcess(engine, options), EChildTimeoutError);
  const pid_t pid = static_cast<pid_t>(std::stol(record()["pid"]));
  EXPECT_TRUE(::kill(pid, 0) == -1 && errno == ESRCH);
}

TEST_F(WorkingProcessTest, TwoCalculationsAtOnceKeepTheirOwnFiles) {
  testsupport::TempDir other;
  TEngineDataStruct otherEngine;
  otherEngine.Qin.N = 2400;
  TWorkingProcessOptions otherOptions = options;
  otherOptions.ExchangeDirectory = other.Path();
  setMode("slow");
  std::ofstream(other / "stub-mode") << "slow\n";

  std::thread first([&] { engine.Qin.RunWorkingProcess(engine, options); });
  std::thread second([&] { otherEngine.Qin.RunWorkingProcess(otherEngine, otherOptions); });
  first.join();
  second.join();
  EXPECT_NEAR(diagramPeak(dir.Path()).first, 0.1 + 1.5, 1e-4);
  EXPECT_NEAR(diagramPeak(other.Path()).first, 0.1 + 2.4, 1e-4);
}

// ---- Failures of the working-process program ----

TEST_F(WorkingProcessTest, ProgramThatFailsAfterWritingADiagramFailsTheCalculation) {
  setMode("fail 3");
  try {
    engine.Qin.RunWorkingProcess(engine, options);
    FAIL() << "the failure passed unnoticed";
  } catch (const EWorkingProcessError& e) {
    const std::string text = e.what();
    EXPECT_NE(text.find(std::filesystem::canonical(options.ProgramPath).string()), std::string::npos) << text;
    EXPECT_NE(text.find("завершилась с ошибкой (код 3)"), std::string::npos) << text;
    EXPECT_NE(text.find("the data are refused: line 1\n  and line 2"), std::string::npos) << text;
  }
}

TEST_F(WorkingProcessTest, FileThatIsNoProgramSaysSo) {
  options.ProgramPath = dir / "stub-mode";
  setMode("diagram");
  try {
    engine.Qin.RunWorkingProcess(engine, options);
    FAIL();
  } catch (const TEVexaError& e) {
    EXPECT_EQ(e.Code, ErrWorkingProcess);
    EXPECT_NE(e.Text.find("не является исполняемой программой"), std::string::npos) << e.Text;
  }
}

TEST_F(WorkingProcessTest, StopRequestEndsTheProgramAndTheWait) {
  setMode("hang");
  options.WaitLimit = 20s;
  // The stop flag is process-wide: the request and the wait run in a child of the test.
  const pid_t tester = ::fork();
  ASSERT_GE(tester, 0);
  if (tester == 0) {
    InstallStopSignals();
    std::thread([] {
      std::this_thread::sleep_for(300ms);
      ::kill(::getpid(), SIGINT);
    }).detach();
    try {
      engine.Qin.RunWorkingProcess(engine, options);
    } catch (const EVexaStopped& stop) {
      _exit(stop.Signal == SIGINT ? 0 : 3);
    } catch (...) {
      _exit(4);
    }
    _exit(5);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(tester, &status, 0), tester);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  const pid_t program = static_cast<pid_t>(std::stol(record()["pid"]));
  EXPECT_TRUE(::kill(program, 0) == -1 && errno == ESRCH) << "the working-process program still runs";
}

// ---- The project name in the ".qin" file ----

TEST_F(QinTextTest, NameWithLineBreaksStaysOnItsLine) {
  // Written raw, the second line of the name would be read as line 4: the bore and stroke.
  engine.ProjectName = "V16\n     1.0 1.0 1.0\r\n\x1b[31mred";
  engine.Qin.TransferText(file, true, engine);
  const auto lines = fileLines(file);
  ASSERT_EQ(lines.size(), 14u);
  EXPECT_NE(lines[2].find("V16      1.0 1.0 1.0   [31mred"), std::string::npos) << lines[2];
  TQinDataStruct read;
  read.TransferText(file, false, engine);
  EXPECT_DOUBLE_EQ(read.D, engine.D);
  EXPECT_DOUBLE_EQ(read.QC, engine.Qin.QC);
}

}  // namespace

TEST_F(WorkingProcessTest, AnOldReportGoesAndACachedRunBringsItsOwnBack) {
  std::ofstream(dir / "Default.rez") << "a report of another engine\n";
  setMode("no-diagram");
  engine.Qin.RunWorkingProcess(engine, options);
  EXPECT_FALSE(std::filesystem::exists(dir / "Default.rez"));

  TWorkingProcessCache cache;
  options.Cache = &cache;
  setMode("diagram");
  engine.Qin.RunWorkingProcess(engine, options);
  ASSERT_EQ(fileText(dir / "Default.rez"), "stand-in report\n");
  std::ofstream(dir / "Default.rez") << "a report of another engine\n";
  options.ProgramPath = dir / "no-such-program";  // the same input needs no program
  engine.Qin.RunWorkingProcess(engine, options);
  EXPECT_EQ(fileText(dir / "Default.rez"), "stand-in report\n");
}

class KeptReportTest : public ::testing::Test {
 protected:
  testsupport::TempDir dir;
  std::filesystem::path report = dir / "Default.rez", target = dir / "engine.rez";
  void write(const std::filesystem::path& file, const std::string& text) { std::ofstream(file, std::ios::binary) << text; }
};

TEST_F(KeptReportTest, CopiesTheReportBesideTheProject) {
  EXPECT_EQ(KeepWorkingProcessReport(report, target), "");  // no report, nothing to say
  EXPECT_FALSE(std::filesystem::exists(target));
  write(report, "QINU - working process\r\nfirst run\n");
  EXPECT_EQ(KeepWorkingProcessReport(report, target),
            "Отчёт программы рабочего процесса сохранён в файле " + target.string());
  EXPECT_EQ(fileText(target), "QINU - working process\r\nfirst run\n");
  // A report the program wrote before is replaced.
  write(report, "QINU - working process\nsecond run\n");
  KeepWorkingProcessReport(report, target);
  EXPECT_EQ(fileText(target), "QINU - working process\nsecond run\n");
}

TEST_F(KeptReportTest, NeverOverwritesAFileTheProgramDidNotWrite) {
  write(report, "QINU - working process\nresults\n");
  write(target, "My notes on the engine\nQINU - working process\n");
  const std::string note = KeepWorkingProcessReport(report, target);
  EXPECT_EQ(note, "Отчёт программы рабочего процесса не сохранён: файл " + target.string() +
                      " записан не ею и не перезаписывается");
  EXPECT_EQ(fileText(target), "My notes on the engine\nQINU - working process\n");
  // A report without a first line cannot show whose a file is.
  write(report, "\nresults\n");
  write(target, "\nold\n");
  EXPECT_NE(KeepWorkingProcessReport(report, target).find("не сохранён"), std::string::npos);
  EXPECT_EQ(fileText(target), "\nold\n");
  // A target that cannot be written is a note, not an error.
  EXPECT_NE(KeepWorkingProcessReport(report, dir / "missing" / "engine.rez").find("Не удалось сохранить"),
            std::string::npos);
}
