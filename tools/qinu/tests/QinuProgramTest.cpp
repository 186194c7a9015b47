// The program's contract with the crankshaft calculation: started in the exchange
// directory with its path glued to "Default.qin" and the report name, it leaves
// "Default.dia" in the fixed column format, or on bad input no diagram at all.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "QinuTestSupport.h"

namespace {

namespace fs = std::filesystem;

std::string ReadText(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

std::vector<std::string> ReadLines(const fs::path& path) {
  std::vector<std::string> lines;
  std::ifstream file(path);
  for (std::string line; std::getline(file, line);) lines.push_back(line);
  return lines;
}

struct TRun {
  int ExitCode = -1;
  std::string Errors;  // what the program wrote to stderr
};

// Starts the program with the given argv[0] and arguments in `directory` and waits.
TRun Start(const std::string& argv0, const std::vector<std::string>& args, const fs::path& directory,
           const fs::path& errorsFile) {
  const pid_t child = fork();
  if (child == 0) {
    if (chdir(directory.c_str()) != 0) _exit(126);
    const int errors = open(errorsFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int nowhere = open("/dev/null", O_WRONLY);
    dup2(errors, 2);
    dup2(nowhere, 1);
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(argv0.c_str()));
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    execv(QINU_EXE, argv.data());
    _exit(127);
  }
  int status = 0;
  waitpid(child, &status, 0);
  TRun run;
  run.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.Errors = ReadText(errorsFile);
  return run;
}

class QinuProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/qinu-test-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    root_ = pattern;
    exchange_ = root_ / "exchange";
    fs::create_directory(exchange_);
  }
  void TearDown() override { fs::remove_all(root_); }

  // As the calculation starts it: argv[0] is the program path immediately followed by
  // "Default.qin", argv[1] is "Default.rez", the working directory is the exchange one.
  TRun StartAsCalculation() {
    return Start(std::string(QINU_EXE) + "Default.qin", {"Default.rez"}, exchange_,
                 root_ / "stderr.txt");
  }
  TRun StartByHand(const std::vector<std::string>& args) {
    return Start(QINU_EXE, args, exchange_, root_ / "stderr.txt");
  }
  std::vector<std::string> ExchangeFiles() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(exchange_))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  fs::path root_, exchange_;
};

// Reads a diagram by character columns as the calculation does: angle in columns 1-8,
// pressure in 25-32, and only lines with at least 40 characters after column 32.
struct TColumnDiagram {
  std::vector<double> Angle, Pressure;
};

TColumnDiagram ReadByColumns(const std::vector<std::string>& lines) {
  TColumnDiagram d;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    if (line.size() < 32 + 40) break;
    d.Angle.push_back(std::stod(line.substr(0, 8)));
    d.Pressure.push_back(std::stod(line.substr(24, 8)));
  }
  return d;
}

TEST_F(QinuProgramTest, StartedLikeTheCalculationItWritesDiagramAndReport) {
  qinutest::WriteQinFile(exchange_ / "Default.qin", qinutest::DefaultExample());
  const TRun run = StartAsCalculation();
  ASSERT_EQ(run.ExitCode, 0) << run.Errors;
  EXPECT_EQ(ExchangeFiles(), (std::vector<std::string>{"Default.dia", "Default.qin", "Default.rez"}));
  const std::string report = ReadText(exchange_ / "Default.rez");
  for (const char* item : {"Масса заряда", "Коэффициент остаточных газов", "Отношение воздух/топливо",
                           "Наибольшее давление", "Наибольшая скорость нарастания давления", "Наибольшая температура",
                           "Среднее индикаторное давление", "Индикаторный КПД",
                           "Индикаторная мощность", "Теплота, отданная в стенки", "Циклов до установления",
                           "Четырёхтактный"})
    EXPECT_NE(report.find(item), std::string::npos) << item;
}

TEST_F(QinuProgramTest, ReportColumnsLineUpInCharactersNotBytes) {
  // Russian units and captions take two bytes a letter; the columns must still line up on
  // screen: the meaning of every input row starts in character 40, the value of every result
  // in character 56.
  qinutest::WriteQinFile(exchange_ / "Default.qin", qinutest::DefaultExample());
  ASSERT_EQ(StartAsCalculation().ExitCode, 0);
  auto characters = [](const std::string& line) {
    std::vector<std::string> out;
    for (char c : line)
      if ((c & 0xC0) == 0x80 && !out.empty()) out.back() += c;
      else out.push_back(std::string(1, c));
    return out;
  };
  auto startsAt = [](const std::vector<std::string>& chars, std::size_t column) {
    return chars.size() > column && chars[column - 1] == " " && chars[column] != " ";
  };
  std::string section;
  int inputs = 0, results = 0;
  for (const std::string& line : ReadLines(exchange_ / "Default.rez")) {
    if (line.empty() || line[0] != ' ') {
      section = line;
      continue;
    }
    const auto chars = characters(line);
    if (section == "ИСХОДНЫЕ ДАННЫЕ") {
      EXPECT_TRUE(startsAt(chars, 39)) << line;
      ++inputs;
    } else if (section == "РЕЗУЛЬТАТЫ") {
      EXPECT_TRUE(startsAt(chars, 55)) << line;
      ++results;
    }
  }
  EXPECT_GT(inputs, 50);
  EXPECT_GT(results, 25);
}

TEST_F(QinuProgramTest, DiagramColumnsFollowTheExchangeFormat) {
  qinutest::WriteQinFile(exchange_ / "Default.qin", qinutest::RatedExample());
  ASSERT_EQ(StartAsCalculation().ExitCode, 0);
  const std::vector<std::string> lines = ReadLines(exchange_ / "Default.dia");
  ASSERT_EQ(lines.size(), 722u);  // header + 0...720 deg
  EXPECT_LT(lines[0].find("p,MPa"), 32u);
  const TColumnDiagram d = ReadByColumns(lines);
  ASSERT_EQ(d.Angle.size(), 721u);
  std::size_t peak = 0;
  for (std::size_t i = 0; i < d.Angle.size(); ++i) {
    EXPECT_DOUBLE_EQ(d.Angle[i], static_cast<double>(i));
    EXPECT_GT(d.Pressure[i], 0.05);
    EXPECT_GE(lines[i + 1].size(), 32u + 40u);
    if (d.Pressure[i] > d.Pressure[peak]) peak = i;
  }
  EXPECT_DOUBLE_EQ(d.Pressure.back(), d.Pressure.front());
  // The firing TDC is at 360 deg: the peak follows it within the combustion.
  EXPECT_GE(peak, 360u);
  EXPECT_LT(peak, 380u);
  EXPECT_GT(d.Pressure[peak], 10);
  EXPECT_LT(d.Pressure[peak], 16);
}

TEST_F(QinuProgramTest, PortsForIntakeAndExhaustGiveATwoStrokeDiagram) {
  const qinu::TQinInput in = qinutest::TwoStrokeExample();
  qinutest::WriteQinFile(exchange_ / "Default.qin", in);
  ASSERT_EQ(StartAsCalculation().ExitCode, 0);
  const TColumnDiagram d = ReadByColumns(ReadLines(exchange_ / "Default.dia"));
  ASSERT_EQ(d.Angle.size(), 361u);
  EXPECT_DOUBLE_EQ(d.Angle.back(), 360);
  EXPECT_NE(ReadText(exchange_ / "Default.rez").find("двухтактного"), std::string::npos);
}

TEST_F(QinuProgramTest, ByHandItTakesTheNamesFromTheCommandLine) {
  qinutest::WriteQinFile(exchange_ / "engine.qin", qinutest::DefaultExample());
  ASSERT_EQ(StartByHand({"engine.qin", "engine.rez", "cycle.dia"}).ExitCode, 0);
  EXPECT_TRUE(fs::exists(exchange_ / "cycle.dia"));
  EXPECT_TRUE(fs::exists(exchange_ / "engine.rez"));
  ASSERT_EQ(StartByHand({"engine.qin", "second.rez"}).ExitCode, 0);
  EXPECT_TRUE(fs::exists(exchange_ / "engine.dia"));
  EXPECT_EQ(StartByHand({}).ExitCode, 2);
}

TEST_F(QinuProgramTest, ZeroFuelGivesTheMotoredCycle) {
  qinu::TQinInput in = qinutest::DefaultExample();
  in.QC = 0;
  qinutest::WriteQinFile(exchange_ / "Default.qin", in);
  ASSERT_EQ(StartAsCalculation().ExitCode, 0);
  EXPECT_NE(ReadText(exchange_ / "Default.rez").find("цикл прокрутки"), std::string::npos);
  const TColumnDiagram d = ReadByColumns(ReadLines(exchange_ / "Default.dia"));
  ASSERT_EQ(d.Pressure.size(), 721u);
}

struct TBadInput {
  const char* Name;
  void (*Spoil)(qinu::TQinInput&);
  const char* Message;
};

void PrintTo(const TBadInput& input, std::ostream* out) { *out << input.Name; }

class QinuBadInputTest : public QinuProgramTest, public ::testing::WithParamInterface<TBadInput> {};

TEST_P(QinuBadInputTest, EndsWithAMessageAndNoDiagram) {
  qinu::TQinInput in = qinutest::DefaultExample();
  GetParam().Spoil(in);
  qinutest::WriteQinFile(exchange_ / "Default.qin", in);
  const TRun run = StartAsCalculation();
  EXPECT_NE(run.ExitCode, 0);
  EXPECT_NE(run.Errors.find(GetParam().Message), std::string::npos) << run.Errors;
  const std::string report = ReadText(exchange_ / "Default.rez");
  EXPECT_NE(report.find(GetParam().Message), std::string::npos) << report;
  EXPECT_NE(report.find("индикаторная диаграмма не записана"), std::string::npos);
  EXPECT_FALSE(fs::exists(exchange_ / "Default.dia"));
  EXPECT_EQ(ExchangeFiles(), (std::vector<std::string>{"Default.qin", "Default.rez"}));
}

INSTANTIATE_TEST_SUITE_P(
    Qinu, QinuBadInputTest,
    ::testing::Values(
        TBadInput{"ZeroBore", [](qinu::TQinInput& in) { in.D = 0; }, "Диаметр цилиндра D должен быть положительным (задано 0 м)"},
        TBadInput{"NegativeStroke", [](qinu::TQinInput& in) { in.S = -0.26; },
                  "Ход поршня S должен быть положительным"},
        TBadInput{"ZeroSpeed", [](qinu::TQinInput& in) { in.N = 0; }, "Частота вращения вала N должна быть положительной (задано 0 об/мин)"},
        TBadInput{"ZeroCompression", [](qinu::TQinInput& in) { in.E = 0; },
                  "Степень сжатия E должна быть больше 1"},
        TBadInput{"ExhaustOutOfOrder", [](qinu::TQinInput& in) { in.B2 = 300; },
                  "Фазы выпускных органов заданы не по порядку"},
        TBadInput{"IntakeOutOfOrder", [](qinu::TQinInput& in) { in.H12 = 340; },
                  "Фазы впускных органов заданы не по порядку"}),
    [](const ::testing::TestParamInfo<TBadInput>& test) { return std::string(test.param.Name); });

TEST_F(QinuProgramTest, AFileThatDoesNotParseEndsWithTheLineInTheMessage) {
  std::ofstream(exchange_ / "Default.qin") << "----\nQINU\n Default.qin\n0.26 0.26 fifteen\n";
  const TRun run = StartAsCalculation();
  EXPECT_NE(run.ExitCode, 0);
  EXPECT_NE(run.Errors.find("строка 4"), std::string::npos) << run.Errors;
  EXPECT_NE(ReadText(exchange_ / "Default.rez").find("строка 4"), std::string::npos);
  EXPECT_FALSE(fs::exists(exchange_ / "Default.dia"));
}

TEST_F(QinuProgramTest, AMissingInputLeavesEveryOtherFileAsItWas) {
  // The program deletes nothing it did not create in this run; the calculation removes an
  // old diagram itself before it starts the program.
  std::ofstream(exchange_ / "Default.dia") << "stale\n";
  const TRun run = StartAsCalculation();
  EXPECT_NE(run.ExitCode, 0);
  EXPECT_NE(run.Errors.find("Не удаётся открыть"), std::string::npos) << run.Errors;
  EXPECT_EQ(ReadText(exchange_ / "Default.dia"), "stale\n");
}

TEST_F(QinuProgramTest, ADiagramGivenAsInputIsNeitherReadNorDeleted) {
  // "qinu my.dia r.rez": the default diagram name is the input itself.
  std::ofstream(exchange_ / "my.dia") << "a diagram, not working-process data\n";
  const TRun run = StartByHand({"my.dia", "r.rez"});
  EXPECT_EQ(run.ExitCode, 2);
  EXPECT_NE(run.Errors.find("совпадает с именем входного файла"), std::string::npos) << run.Errors;
  EXPECT_EQ(ReadText(exchange_ / "my.dia"), "a diagram, not working-process data\n");
  EXPECT_EQ(ExchangeFiles(), (std::vector<std::string>{"my.dia"}));
  qinutest::WriteQinFile(exchange_ / "engine.qin", qinutest::DefaultExample());
  EXPECT_EQ(StartByHand({"engine.qin", "engine.qin"}).ExitCode, 2);
}

TEST_F(QinuProgramTest, AFifoAsInputIsRefusedWithoutWaiting) {
  ASSERT_EQ(mkfifo((exchange_ / "Default.qin").c_str(), 0600), 0);
  const TRun run = StartAsCalculation();
  EXPECT_EQ(run.ExitCode, 1);
  EXPECT_NE(run.Errors.find("не обычный файл"), std::string::npos) << run.Errors;
}

}  // namespace
