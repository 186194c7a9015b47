// vexa-calc as a user runs it: exit codes, messages and what it prints.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <fstream>

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

TEST(CommandLine, PreparesTheBundledExample) {
  const auto prepared = run(example());
  ASSERT_EQ(prepared.exitCode, 0) << prepared.output;
  EXPECT_NE(prepared.output.find("Crank-angle grid: 720 steps over 720 deg"), std::string::npos);
  EXPECT_NE(prepared.output.find("Peak pressure: 13.983 MPa"), std::string::npos);
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
