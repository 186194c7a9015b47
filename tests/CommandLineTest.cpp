// vexa-calc as a user runs it: exit codes, messages and what it prints.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <fstream>

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

// A copy of the bundled example and its diagram in a folder of the test's own; without the
// torsional calculation unless asked for (it adds twelve resonance runs).
std::string copyExample(const testsupport::TempDir& dir, bool withTorsion = false) {
  for (const char* name : {"V16-26-26.vxa", "V16-26-26.dia"})
    std::filesystem::copy_file(testsupport::SourceDir() / "examples" / name, dir / name);
  const std::string project = (dir / "V16-26-26.vxa").string();
  if (!withTorsion) {
    TEngineDataStruct data;
    LoadProjectFile(data, project);
    data.CalcOscillFlag = data.CalcCombFlag = false;
    SaveProjectFile(data, project);
  }
  return project;
}

}  // namespace

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
  EXPECT_NE(shown.output.find("8 sections x 2 rows = 16 cylinders"), std::string::npos);
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
  EXPECT_GT(smallest, 0.1);
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
