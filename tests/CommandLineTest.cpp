// vexa-calc as a user runs it: exit codes, messages and what it prints.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <thread>

#include <nlohmann/json.hpp>

#include "ProjectFileUnit.h"
#include "TestSupport.h"

namespace {

struct TResult {
  int exitCode;
  std::string output;  // stdout and stderr together
};

TResult run(const std::string& arguments) {
  const std::string command = (testsupport::BinDir() / "vexa-calc").string() + " " + arguments + " 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  std::string output;
  char buffer[4096];
  while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, n);
  const int status = pclose(pipe);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

std::string example() { return (testsupport::SourceDir() / "examples" / "V16-26-26.vxa").string(); }

// A copy of a bundled example (by default the V16) and its diagram in a folder of the test's
// own; without the torsional calculation unless asked for (it adds twelve resonance runs).
std::string copyExample(const testsupport::TempDir& dir, bool withTorsion = false,
                        const std::string& stem = "V16-26-26") {
  for (const std::string& name : {stem + ".vxa", stem + ".dia"})
    std::filesystem::copy_file(testsupport::SourceDir() / "examples" / name, dir / name);
  const std::string project = (dir / (stem + ".vxa")).string();
  if (!withTorsion) {
    TEngineDataStruct data;
    LoadProjectFile(data, project);
    data.CalcOscillFlag = data.CalcCombFlag = false;
    SaveProjectFile(data, project);
  }
  return project;
}

}  // namespace

TEST(CommandLine, BeamCompatibilityIsAnOptionOfTheCalculation) {
  EXPECT_NE(run("--help").output.find("--beam-compat"), std::string::npos);
  EXPECT_EQ(run("--show " + example() + " --beam-compat").exitCode, 2);
  EXPECT_EQ(run("--coeffs " + example() + " --beam-compat").exitCode, 2);
}

TEST(CommandLine, UsageErrorsExitTwo) {
  EXPECT_EQ(run("").exitCode, 2);
  EXPECT_EQ(run("--bogus x.vxa").exitCode, 2);
  EXPECT_EQ(run("--new").exitCode, 2);
  EXPECT_EQ(run("a.vxa b.vxa").exitCode, 2);
  EXPECT_EQ(run("--save a.vxa").exitCode, 2);
  const auto help = run("--help");
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_NE(help.output.find("usage: vexa-calc"), std::string::npos);
}

TEST(CommandLine, UnreadableFilesExitOneWithTheMessage) {
  testsupport::TempDir dir;
  const auto missing = run((dir / "missing.vxa").string());
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_NE(missing.output.find("missing.vxa"), std::string::npos);

  std::ofstream(dir / "damaged.vxa") << "not a project";
  const auto damaged = run("--show " + (dir / "damaged.vxa").string());
  EXPECT_EQ(damaged.exitCode, 1);
  EXPECT_NE(damaged.output.find("Ошибка! Неверный формат файла данных!"), std::string::npos);
}

TEST(CommandLine, NewProjectCanBeShown) {
  testsupport::TempDir dir;
  const std::string file = (dir / "new.vxa").string();
  ASSERT_EQ(run("--new " + file).exitCode, 0);
  const auto shown = run("--show " + file);
  EXPECT_EQ(shown.exitCode, 0);
  EXPECT_NE(shown.output.find("8 секций x 2 рядов = 16 цилиндров"), std::string::npos);
  EXPECT_NE(shown.output.find("40ХН2МА"), std::string::npos);  // first material of the database
}

TEST(CommandLine, CalculatesTheBundledExampleAndWritesItsResults) {
  testsupport::TempDir dir;
  const std::string project = copyExample(dir, true);
  const auto calculated = run(project + " --report --json " + (dir / "results.json").string() + " --json-summary " +
                              (dir / "summary.json").string());
  ASSERT_EQ(calculated.exitCode, 0) << calculated.output;
  EXPECT_NE(calculated.output.find("Общее заключение по прочности"), std::string::npos);
  EXPECT_NE(calculated.output.find("Общий запас в правой галтели шатунной шейки | "), std::string::npos);
  EXPECT_NE(calculated.output.find("Расчёт завершён"), std::string::npos);
  EXPECT_GT(std::filesystem::file_size(dir / "V16-26-26.VexaRes"), 100000u);

  std::ifstream in(dir / "results.json");
  const auto results = nlohmann::json::parse(in);
  EXPECT_EQ(results["project"], "V16 ЧН 26/26, пример");
  const auto& plain = results["runs"][0];
  EXPECT_EQ(plain["title"], "Расчёт без учёта крутильных колебаний");
  EXPECT_EQ(plain["steps"], 720);
  EXPECT_EQ(plain["angle_grid"].size(), 720u);
  EXPECT_EQ(plain["cylinders"].size(), 16u);
  EXPECT_EQ(plain["cylinders"][8]["number"], 9);
  EXPECT_EQ(plain["cylinders"][8]["row"], 2);
  EXPECT_EQ(plain["cylinders"][0]["q"]["13"].size(), 720u);
  EXPECT_FALSE(plain["cylinders"][0]["q"].contains("14"));
  EXPECT_EQ(plain["throws"][7]["q"]["34"].size(), 720u);
  const double smallest = plain["summary"]["NGal2"]["value"];
  EXPECT_GT(smallest, 1);
  EXPECT_LT(smallest, 10);

  // The example asks for the torsional and the combined calculation: twelve resonance runs,
  // each at its resonance speed and with the torsional stress in its throws.
  ASSERT_EQ(results["runs"].size(), 13u);
  const auto& torsion = results["torsion"];
  EXPECT_EQ(torsion["omega"].size(), 11u);
  EXPECT_EQ(torsion["omega"][0], 0);
  EXPECT_GE(torsion["resonances"].size(), 12u);
  for (std::size_t r = 1; r < 13; ++r) {
    const auto& run = results["runs"][r];
    EXPECT_EQ(run["title"].get<std::string>().rfind("Расчёт на частоте вращения ", 0), 0u);
    EXPECT_GT(run["throws"][0]["stress"]["TorsionalAmp"].get<double>(), 0);
    for (const auto& [name, entry] : run["summary"].items())  // a sound design also in resonance
      EXPECT_GT(entry["value"].get<double>(), 1) << run["title"] << " " << name;
  }
  EXPECT_NE(calculated.output.find("Собственные частоты крутильных колебаний"), std::string::npos);

  // The summary: the same runs and torsion, the extremes of each quantity instead of its steps.
  std::ifstream summaryFile(dir / "summary.json");
  const auto summary = nlohmann::json::parse(summaryFile);
  ASSERT_EQ(summary["runs"].size(), 13u);
  EXPECT_EQ(summary["torsion"], torsion);
  EXPECT_EQ(summary["runs"][5]["summary"], results["runs"][5]["summary"]);
  EXPECT_FALSE(summary["runs"][0].contains("angle_grid"));
  const auto& extremes = summary["runs"][0]["throws"][7]["q"]["34"];
  const auto& history = plain["throws"][7]["q"]["34"];
  EXPECT_EQ(extremes["max"], history[extremes["max_step"].get<std::size_t>()]);
  EXPECT_LT(std::filesystem::file_size(dir / "summary.json") * 50, std::filesystem::file_size(dir / "results.json"));
}

TEST(CommandLine, ReportItemsChooseWhatIsWritten) {
  testsupport::TempDir dir;
  const std::string project = copyExample(dir);
  ASSERT_EQ(run(project + " --report --items 17,50").exitCode, 0);
  const auto some = std::filesystem::file_size(dir / "V16-26-26.VexaRes");
  ASSERT_EQ(run(project + " --report").exitCode, 0);
  EXPECT_LT(some, std::filesystem::file_size(dir / "V16-26-26.VexaRes"));
  EXPECT_EQ(run(project + " --report --items 3-99").exitCode, 2);
  EXPECT_EQ(run(project + " --items 3").exitCode, 2);
  EXPECT_EQ(run(project + " --solver slow").exitCode, 2);
}

TEST(CommandLine, WritesTheWorkbookOrSaysWhyNot) {
  testsupport::TempDir dir;
  const std::string project = copyExample(dir);
  const std::string book = (dir / "V16.xlsx").string();
  const auto written = run(project + " --xlsx " + book + " --items 7,18");
  ASSERT_EQ(written.exitCode, 0) << written.output;
  EXPECT_NE(written.output.find("Результаты сохранены в файле " + book), std::string::npos);
  // A sound archive (its sheets are read back in the workbook tests).
  EXPECT_EQ(std::system(("unzip -tqq " + book + " >/dev/null").c_str()), 0);
  EXPECT_EQ(run("--items 7 --xlsx").exitCode, 2);

  // A folder that does not exist: error 5 naming the file, exit 1.
  const auto failed = run(project + " --xlsx " + (dir / "no" / "V16.xlsx").string());
  EXPECT_EQ(failed.exitCode, 1);
  EXPECT_NE(failed.output.find("Ошибка! Ошибка OLE при работе с EXCEL"), std::string::npos) << failed.output;
  EXPECT_NE(failed.output.find("файл или папка не найдены"), std::string::npos) << failed.output;

  // Without the strength calculation there are no per-step results to write: said, not skipped.
  TEngineDataStruct data;
  LoadProjectFile(data, project);
  data.CalcDynamicFlag = false;
  data.CalcOscillFlag = true;
  SaveProjectFile(data, project);
  const auto none = run(project + " --xlsx " + (dir / "none.xlsx").string());
  EXPECT_EQ(none.exitCode, 1);
  EXPECT_NE(none.output.find("книга " + (dir / "none.xlsx").string() + " не записана"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(dir / "none.xlsx"));
}

TEST(CommandLine, RunsTheWorkingProcessProgramWhenTheProjectAsksForIt) {
  testsupport::TempDir dir;
  const std::string project = copyExample(dir);
  {
    TEngineDataStruct data;
    LoadProjectFile(data, project);
    data.IDSource = 0;
    SaveProjectFile(data, project);
  }
  std::filesystem::remove(dir / "V16-26-26.dia");  // the computed diagram must be used
  const auto calculated = run(project + " --json " + (dir / "results.json").string());
  ASSERT_EQ(calculated.exitCode, 0) << calculated.output;
  // The program's report stays beside the project, and the user is told where.
  EXPECT_NE(calculated.output.find("Отчёт программы рабочего процесса сохранён в файле " + (dir / "V16-26-26.rez").string()),
            std::string::npos) << calculated.output;
  std::ifstream report(dir / "V16-26-26.rez");
  std::string heading;
  std::getline(report, heading);
  EXPECT_EQ(heading.rfind("QINU", 0), 0u) << heading;
  std::ifstream in(dir / "results.json");
  const auto results = nlohmann::json::parse(in);
  const auto& pressure = results["runs"][0]["cylinders"][0]["q"]["7"];
  double peak = 0;
  for (double p : pressure) peak = std::max(peak, p);
  EXPECT_GT(peak, 8);   // a fired turbocharged diesel, MPa
  EXPECT_LT(peak, 25);
}

TEST(CommandLine, ConcentrationCoefficientsAreListedAndStored) {
  testsupport::TempDir dir;
  const std::string file = (dir / "copy.vxa").string();
  std::filesystem::copy_file(example(), file);
  const auto before = std::filesystem::file_size(file);
  const auto listed = run("--coeffs " + file);
  EXPECT_EQ(listed.exitCode, 0);
  EXPECT_NE(listed.output.find("AlphaSgm_G_S = "), std::string::npos);
  const auto stored = run("--coeffs " + file + " --save");
  EXPECT_EQ(stored.exitCode, 0);
  EXPECT_EQ(std::filesystem::file_size(file), before);
  const auto again = run("--coeffs " + file);
  EXPECT_EQ(again.output, listed.output);
}

// Indicated work of one cylinder per cycle, J: the closed integral of p·dV over the diagram's own
// volume (litres) and pressure (MPa) columns, by the trapezoidal rule.
double indicatedWorkOfDiagram(const std::filesystem::path& diagram) {
  std::ifstream in(diagram);
  std::string line;
  std::getline(in, line);
  double work = 0, volume = 0, pressure = 0;
  bool first = true;
  while (std::getline(in, line) && line.size() > 72) {
    const double v = std::stod(line.substr(8, 16)) * 1e-3, p = std::stod(line.substr(24, 8)) * 1e6;
    if (!first) work += (p + pressure) / 2 * (v - volume);
    volume = v, pressure = p, first = false;
  }
  return work;
}

// Both bundled examples, one for each rod arrangement, calculated as a newcomer would: a sound
// engine gives finite safety factors above 1 everywhere (the in-line six also at its resonance
// speeds; the V16's are the test above), a fired diesel's peak pressure, and, since the
// calculation has no friction, the power at the last journal equals the indicated power of all
// cylinders from the diagram (within the grid's error; the V16's trailing rods have a slightly
// different stroke from the master rods the diagram was drawn for).
TEST(CommandLine, BothBundledExamplesCalculateToACredibleEngine) {
  struct TExample {
    const char* stem;
    std::size_t cylinders;
    int rows;
    bool withTorsion;
    double powerTolerance;
  };
  for (const TExample& example :
       {TExample{"V16-26-26", 16, 2, false, 0.03}, TExample{"L6-26-26", 6, 1, true, 0.005}}) {
    SCOPED_TRACE(example.stem);
    testsupport::TempDir dir;
    const std::string project = copyExample(dir, example.withTorsion, example.stem);
    const auto calculated = run(project + " --json " + (dir / "results.json").string());
    ASSERT_EQ(calculated.exitCode, 0) << calculated.output;
    std::ifstream in(dir / "results.json");
    const auto& results = nlohmann::json::parse(in);
    const auto& plain = results["runs"][0];
    ASSERT_EQ(plain["cylinders"].size(), example.cylinders);
    EXPECT_EQ(plain["cylinders"].back()["row"], example.rows);
    EXPECT_EQ(results["runs"].size() > 1, example.withTorsion);

    for (const auto& calculation : results["runs"]) {
      EXPECT_EQ(calculation["summary"].size(), 10u);
      for (const auto& [name, entry] : calculation["summary"].items()) {
        const double factor = entry["value"];
        EXPECT_TRUE(std::isfinite(factor)) << calculation["title"] << " " << name;
        EXPECT_GT(factor, 1) << calculation["title"] << " " << name;
        EXPECT_LT(factor, 100) << calculation["title"] << " " << name;
      }
    }

    for (const auto& cylinder : plain["cylinders"]) {
      const auto& pressure = cylinder["q"]["7"];
      const double peak = *std::max_element(pressure.begin(), pressure.end());
      EXPECT_GT(peak, 8);  // MPa, a fired turbocharged diesel
      EXPECT_LT(peak, 25);
    }

    const double speedRpm = plain["speed_rpm"];
    const double indicatedPower =
        static_cast<double>(example.cylinders) * indicatedWorkOfDiagram(dir / (std::string(example.stem) + ".dia")) * speedRpm / 120;
    const double power = plain["throws"].back()["Power"];
    EXPECT_NEAR(power, indicatedPower, example.powerTolerance * indicatedPower);
  }
}

TEST(CommandLine, GraphsReadOutsideTheirRangeAreNotedOnStandardError) {
  testsupport::TempDir dir;
  const std::string project = copyExample(dir);
  // The bundled example reads every graph inside its range.
  const auto example = run("--coeffs " + project);
  EXPECT_EQ(example.output.find("график \""), std::string::npos) << example.output;

  TEngineDataStruct data;
  LoadProjectFile(data, project);
  data.H = 0.6;  // a web wider than the web-width graphs reach
  SaveProjectFile(data, project);
  const std::string note = "vexa-calc: BetSgmH: график \"BetsgmH.kft\" прочитан при H/DsSh = 3.1579";
  const auto listed = run("--coeffs " + project);
  EXPECT_EQ(listed.exitCode, 0);
  EXPECT_NE(listed.output.find(note), std::string::npos) << listed.output;
  EXPECT_NE(listed.output.find("экстраполяция за пределы графика"), std::string::npos);

  // The calculation tells the same, for the coefficients stored in the project.
  const auto calculated = run(project);
  EXPECT_EQ(calculated.exitCode, 0) << calculated.output;
  EXPECT_NE(calculated.output.find(note), std::string::npos) << calculated.output;
}

// ---- Robustness: messages, saves and interruption ----

namespace {

// A project file written byte for byte, also with values a save would refuse.
void writeProjectBytes(TEngineDataStruct& data, const std::filesystem::path& file) {
  const auto bytes = ProjectBytes(data);
  std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                              static_cast<std::streamsize>(bytes.size()));
}

std::string fileBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), {});
}

void expectNoLibraryOrNanText(const std::string& output) {
  for (const char* text : {"filesystem error", "\x1b"})
    EXPECT_EQ(output.find(text), std::string::npos) << text << " in: " << output;
  EXPECT_FALSE(std::regex_search(output, std::regex("\\b(nan|inf)\\b", std::regex::icase))) << output;
}

}  // namespace

TEST(CommandLineMessages, TextFromFilesReachesTheTerminalWithoutEscapeSequences) {
  testsupport::TempDir dir;
  TEngineDataStruct data;
  data.ProjectName = "Engine\x1b[2J\x1b]0;title\x07";
  data.ValSteel.SteelName = "Steel\r40";
  SaveProjectFile(data, dir / "p.vxa");
  const auto shown = run("--show " + (dir / "p.vxa").string());
  EXPECT_EQ(shown.exitCode, 0);
  EXPECT_NE(shown.output.find("Engine?[2J?]0;title?"), std::string::npos) << shown.output;
  EXPECT_NE(shown.output.find("Steel\n40"), std::string::npos);
  expectNoLibraryOrNanText(shown.output);
}

TEST(CommandLineMessages, ShowStopsAtAValueThatIsNotANumber) {
  testsupport::TempDir dir;
  TEngineDataStruct data;
  data.NRad = 1;
  data.Dezax = 2 * data.ConRodL[1];  // beyond the rod: no stroke
  SaveProjectFile(data, dir / "p.vxa");
  const auto shown = run("--show " + (dir / "p.vxa").string());
  EXPECT_EQ(shown.exitCode, 1);
  EXPECT_NE(shown.output.find("ход поршня"), std::string::npos) << shown.output;
  expectNoLibraryOrNanText(shown.output);
}

TEST(CommandLineMessages, FolderGivenAsProjectIsNamedInTheProgramsWords) {
  testsupport::TempDir dir;
  const auto result = run(dir.Path().string());
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_NE(result.output.find("это папка"), std::string::npos) << result.output;
  expectNoLibraryOrNanText(result.output);
}

TEST(CommandLineMessages, ProjectWithItsOwnDiagramNeedsNoTemporaryFolder) {
  testsupport::TempDir dir;
  const std::string project = copyExample(dir);
  std::ofstream(dir / "not-a-folder") << "x";
  const std::string unusable = "TMPDIR=" + (dir / "not-a-folder").string() + " ";
  const auto result = run(project);  // the example reads its diagram file
  EXPECT_EQ(result.exitCode, 0);
  const std::string command = unusable + (testsupport::BinDir() / "vexa-calc").string() + " " + project + " 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  char buffer[4096];
  std::string output;
  while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, n);
  EXPECT_EQ(pclose(pipe), 0) << output;

  // One that runs the working-process program says which folder it could not use.
  TEngineDataStruct data;
  LoadProjectFile(data, project);
  data.IDSource = 0;
  SaveProjectFile(data, project);
  pipe = popen(command.c_str(), "r");
  output.clear();
  while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, n);
  EXPECT_NE(pclose(pipe), 0);
  EXPECT_NE(output.find("Не удаётся создать папку"), std::string::npos) << output;
  expectNoLibraryOrNanText(output);
}

TEST(CommandLineSaves, CoefficientsAreNotStoredOverAValueThatIsNotANumber) {
  testsupport::TempDir dir;
  TEngineDataStruct data;
  LoadProjectFile(data, example());
  data.psi = std::nan("");  // the torsional model's absorption, not used by the coefficients
  writeProjectBytes(data, dir / "p.vxa");
  const std::string before = fileBytes(dir / "p.vxa");
  const auto result = run("--coeffs " + (dir / "p.vxa").string() + " --save");
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_NE(result.output.find("значение psi не является числом"), std::string::npos) << result.output;
  EXPECT_EQ(fileBytes(dir / "p.vxa"), before);
}

TEST(CommandLineSaves, ResultsFileIsReplacedWholeOrNotAtAll) {
  testsupport::TempDir dir;
  const std::string project = copyExample(dir);
  std::ofstream(dir / "results.json") << "previous results";
  std::filesystem::permissions(dir / "results.json", std::filesystem::perms::owner_read);
  const auto refused = run(project + " --json " + (dir / "results.json").string());
  EXPECT_EQ(refused.exitCode, 1);
  EXPECT_NE(refused.output.find("защищён от записи"), std::string::npos) << refused.output;
  EXPECT_EQ(fileBytes(dir / "results.json"), "previous results");
}

TEST(CommandLineInterrupt, CtrlCStopsTheWorkingProcessProgramAndRemovesTheExchangeFolder) {
  // A copy of vexa-calc beside a working-process program that never ends.
  testsupport::TempDir dir;
  const std::filesystem::path bin = dir / "bin";
  std::filesystem::create_directories(bin);
  std::filesystem::create_directories(dir / "tmp");
  std::filesystem::copy_file(testsupport::BinDir() / "vexa-calc", bin / "vexa-calc");
  std::filesystem::create_directory_symlink(testsupport::BinDir() / "DataBase", bin / "DataBase");
  std::ofstream(bin / "qinu") << "#!/bin/sh\necho $$ > \"$VEXA_TEST_PIDFILE\"\nexec sleep 60\n";
  std::filesystem::permissions(bin / "qinu", std::filesystem::perms::owner_all);
  const std::string project = copyExample(dir);
  TEngineDataStruct data;
  LoadProjectFile(data, project);
  data.IDSource = 0;
  SaveProjectFile(data, project);

  const std::string tmp = (dir / "tmp").string(), pidFile = (dir / "qinu.pid").string();
  const pid_t calc = ::fork();
  ASSERT_GE(calc, 0);
  if (calc == 0) {
    ::setenv("TMPDIR", tmp.c_str(), 1);
    ::setenv("VEXA_TEST_PIDFILE", pidFile.c_str(), 1);
    std::freopen("/dev/null", "w", stderr);
    std::freopen("/dev/null", "w", stdout);
    ::execl((bin / "vexa-calc").c_str(), "vexa-calc", project.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  pid_t program = 0;
  for (int i = 0; i < 200 && program == 0; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    std::ifstream(pidFile) >> program;
  }
  ASSERT_GT(program, 0) << "the working-process program did not start";
  ::kill(calc, SIGINT);
  int status = 0;
  ASSERT_EQ(::waitpid(calc, &status, 0), calc);
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGINT) << status;
  EXPECT_TRUE(::kill(program, 0) == -1 && errno == ESRCH) << "the working-process program is left running";
  if (::kill(program, 0) == 0) ::kill(program, SIGKILL);
  EXPECT_TRUE(std::filesystem::is_empty(dir / "tmp")) << "the exchange folder is left behind";
}

TEST(CommandLineMessages, NewProjectPassesTheChecksAndIsCalculated) {
  // A new project has no web coefficient yet: the calculation computes the coefficients first,
  // so the checks before it must not refuse what the coefficients will supply.
  testsupport::TempDir dir;
  ASSERT_EQ(run("--new " + (dir / "new.vxa").string()).exitCode, 0);
  const auto result = run((dir / "new.vxa").string());
  EXPECT_EQ(result.exitCode, 0) << result.output;
  EXPECT_NE(result.output.find("Расчёт завершён"), std::string::npos);
  expectNoLibraryOrNanText(result.output);
}
