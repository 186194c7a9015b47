// vexa-calc as a user runs it: exit codes, messages and what it prints.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
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

// A copy of a bundled example (by default the V16) and its diagram in a folder of the test's
// own; without the torsional calculation unless asked for (it adds twelve resonance runs).
std::string copyExample(const testsupport::TempDir& dir, bool withTorsion = false,
                        const std::string& stem = "V16-26-26") {
  for (const std::string name : {stem + ".vxa", stem + ".dia"})
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
  const auto calculated = run(project + " --report --json " + (dir / "results.json").string());
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
  EXPECT_NE(failed.output.find("папка не существует"), std::string::npos) << failed.output;

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
        example.cylinders * indicatedWorkOfDiagram(dir / (std::string(example.stem) + ".dia")) * speedRpm / 120;
    const double power = plain["throws"].back()["Power"];
    EXPECT_NEAR(power, indicatedPower, example.powerTolerance * indicatedPower);
  }
}
