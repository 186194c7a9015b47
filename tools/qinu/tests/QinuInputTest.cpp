// Reading the ".qin" exchange file and rejecting data no engine can have.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "QinInputUnit.h"
#include "QinuTestSupport.h"

namespace {

using qinu::EQinInputError;
using qinu::TQinInput;

// The doubles of a record in the order of the file.
std::vector<double*> Doubles(TQinInput& in) {
  return {&in.D,    &in.S,    &in.E,    &in.Lam,  &in.N,    &in.PDP,  &in.Q,    &in.EM,
          &in.KK,   &in.KT,   &in.PK,   &in.DP,   &in.TK,   &in.P0,   &in.T0,   &in.PT,
          &in.PZT,  &in.B1,   &in.B12,  &in.B13,  &in.B2,   &in.FB,   &in.H1,   &in.H12,
          &in.H13,  &in.H2,   &in.FH,   &in.BPer, &in.Hu,   &in.QC,   &in.ALFF, &in.FOPT,
          &in.FOPZ, &in.Fz,   &in.XT,   &in.FCT,  &in.MT,   &in.MW,   &in.TPOR, &in.Tkr,
          &in.TWT,  &in.OFPK, &in.ALFE, &in.ALFR, &in.CG,   &in.Cu,   &in.C2,   &in.Vkam,
          &in.MFk};
}

// Every double gets a value of its own (some negative), so a field read into the wrong
// member shows.
TQinInput DistinctValues() {
  TQinInput in;
  int i = 0;
  for (double* field : Doubles(in)) {
    ++i;
    *field = (i % 3 ? 1 : -1) * (1.000001 + 1.25 * i);
  }
  in.TOFormula = 1;
  in.Vp = 1;
  in.Vyp = 0;
  in.V = 2;
  in.EngineType = 1;
  return in;
}

std::string ReplaceLine(const std::string& text, int lineNumber, const std::string& line) {
  std::size_t begin = 0;
  for (int i = 1; i < lineNumber; ++i) begin = text.find('\n', begin) + 1;
  const std::size_t end = text.find('\n', begin);
  return text.substr(0, begin) + line + text.substr(end);
}

std::string FirstLines(const std::string& text, int count) {
  std::size_t end = 0;
  for (int i = 0; i < count; ++i) end = text.find('\n', end) + 1;
  return text.substr(0, end);
}

std::string ErrorOf(const std::string& text) {
  try {
    qinu::ParseQinText(text, "Default.qin");
  } catch (const EQinInputError& error) {
    return error.what();
  }
  return "";
}

TEST(QinuFileTest, ReadsEveryFieldFromItsPlaceInTheLayout) {
  TQinInput written = DistinctValues();
  TQinInput read = qinu::ParseQinText(qinutest::FormatQinFile(written, "Default.qin"), "Default.qin");
  const std::vector<double*> expected = Doubles(written), actual = Doubles(read);
  for (std::size_t i = 0; i < expected.size(); ++i)
    EXPECT_DOUBLE_EQ(*actual[i], *expected[i]) << "field " << i;  // the constants after C2 skipped
  EXPECT_EQ(read.TOFormula, 1);
  EXPECT_EQ(read.Vp, 1);
  EXPECT_EQ(read.Vyp, 0);
  EXPECT_EQ(read.V, 2);
  EXPECT_EQ(read.EngineType, 1);
}

TEST(QinuFileTest, AcceptsWindowsLineEndsAndIgnoresExtraNumbers) {
  std::string text = qinutest::FormatQinFile(qinutest::DefaultExample(), "Default.qin");
  text = ReplaceLine(text, 4, "0.26 0.26 15 0.2241 1000 0 99 98");
  std::string windows;
  for (char c : text) windows += c == '\n' ? std::string("\r\n") : std::string(1, c);
  const TQinInput read = qinu::ParseQinText(windows, "Default.qin");
  EXPECT_DOUBLE_EQ(read.D, 0.26);
  EXPECT_DOUBLE_EQ(read.N, 1000);
  EXPECT_DOUBLE_EQ(read.PDP, 0);
  EXPECT_DOUBLE_EQ(read.Q, 16);  // the next line is still line 5
  EXPECT_EQ(read.EngineType, 0);
}

TEST(QinuFileTest, SplitsValuesThatFillTheirFieldsAndTouch) {
  std::string text = qinutest::FormatQinFile(qinutest::DefaultExample(), "Default.qin");
  text = ReplaceLine(text, 9, "     0.002200     0.990000123456.500000-12345.250000     1.800000");
  const TQinInput read = qinu::ParseQinText(text, "Default.qin");
  EXPECT_DOUBLE_EQ(read.FH, 0.0022);
  EXPECT_DOUBLE_EQ(read.BPer, 0.99);
  EXPECT_DOUBLE_EQ(read.Hu, 123456.5);
  EXPECT_DOUBLE_EQ(read.QC, -12345.25);
  EXPECT_DOUBLE_EQ(read.ALFF, 1.8);
  // A word with one point is one number, however many decimals it has.
  text = ReplaceLine(text, 9, "0.0022 0.99 42500.1234567 0.001 1.8");
  EXPECT_DOUBLE_EQ(qinu::ParseQinText(text, "Default.qin").Hu, 42500.1234567);
}

TEST(QinuFileTest, PortsForIntakeAndExhaustMakeATwoStroke) {
  TQinInput in = qinutest::DefaultExample();
  in.Vp = 1;
  in.Vyp = 1;
  const TQinInput read =
      qinu::ParseQinText(qinutest::FormatQinFile(in, "Default.qin"), "Default.qin");
  EXPECT_TRUE(read.TwoStroke());
  EXPECT_DOUBLE_EQ(read.PeriodDeg(), 360);
  in.Vp = 0;
  EXPECT_FALSE(in.TwoStroke());
}

TEST(QinuFileTest, NamesTheLineAndFieldOfAMalformedFile) {
  const std::string good = qinutest::FormatQinFile(qinutest::DefaultExample(), "Default.qin");
  const std::string comma = ErrorOf(ReplaceLine(good, 4, "0,26 0.26 15 0.2241 1000 0"));
  EXPECT_NE(comma.find("строка 4"), std::string::npos) << comma;
  EXPECT_NE(comma.find("\"0,26\""), std::string::npos) << comma;
  EXPECT_NE(comma.find("поле D"), std::string::npos) << comma;

  const std::string shortLine = ErrorOf(ReplaceLine(good, 9, "0.0022 0.99 42500"));
  EXPECT_NE(shortLine.find("строка 9: ожидалось чисел: 5"), std::string::npos) << shortLine;

  const std::string truncated = ErrorOf(FirstLines(good, 10));
  EXPECT_NE(truncated.find("строка 11 отсутствует"), std::string::npos) << truncated;

  const std::string choice = ErrorOf(ReplaceLine(good, 14, "   1   3   1   1   1   1"));
  EXPECT_NE(choice.find("Vp должен быть целым числом от 1 до 2 (задано 3)"), std::string::npos) << choice;

  EXPECT_NE(ErrorOf("").find("строка 4 отсутствует"), std::string::npos);
}

TEST(QinuFileTest, ReportsAMissingFile) {
  try {
    qinu::ReadQinFile("/nonexistent/Default.qin");
    FAIL() << "no error";
  } catch (const EQinInputError& error) {
    EXPECT_NE(std::string(error.what()).find("Не удаётся открыть"), std::string::npos);
  }
}

class QinuValidationTest : public ::testing::Test {
 protected:
  TQinInput in_ = qinutest::DefaultExample();

  // The validation message, or "" when the data are accepted.
  std::string Message() const {
    try {
      qinu::ValidateQinInput(in_);
    } catch (const EQinInputError& error) {
      return error.what();
    }
    return "";
  }
};

TEST_F(QinuValidationTest, AcceptsTheExampleAndTheMotoredCase) {
  EXPECT_EQ(Message(), "");
  in_.QC = 0;
  in_.Fz = 0;  // the combustion law does not matter without fuel
  EXPECT_EQ(Message(), "");
}

// Zero bore, stroke, speed, compression and valve events in the wrong order are
// checked through the program (QinuProgramTest); here the cases behind them.
TEST_F(QinuValidationTest, RejectsGeometryAndTimingNoEngineCanHave) {
  in_.E = 1;  // an infinite clearance volume
  EXPECT_NE(Message().find("Степень сжатия E должна быть больше 1 (задано 1)"), std::string::npos);
  in_ = qinutest::DefaultExample();
  in_.Lam = 1;  // the rod as short as the crank
  EXPECT_NE(Message().find("Отношение R/L (Lam)"), std::string::npos);
  in_ = qinutest::DefaultExample();
  in_.H2 = 740;  // beyond one four-stroke cycle
  EXPECT_NE(Message().find("Фазы впускных органов заданы не по порядку"), std::string::npos) << Message();
  in_ = qinutest::DefaultExample();
  in_.Vp = in_.Vyp = 1;  // the four-stroke timing does not fit a two-stroke cycle
  EXPECT_NE(Message().find("заданы не по порядку"), std::string::npos) << Message();
}

TEST_F(QinuValidationTest, RejectsACombustionOutsideTheClosedCycle) {
  in_.FOPT = 200;  // after the exhaust opens at 114 deg
  EXPECT_NE(Message().find("вне закрытой части цикла"), std::string::npos) << Message();
  in_.FOPT = 705;  // the same as -15 deg
  EXPECT_EQ(Message(), "");
  EXPECT_DOUBLE_EQ(in_.CombustionStartDeg(), -15);
  in_.EngineType = 1;  // spark ignition takes the ignition advance
  in_.FOPZ = -30;
  EXPECT_DOUBLE_EQ(in_.CombustionStartDeg(), -30);
  in_.Fz = 0;
  EXPECT_NE(Message().find("Продолжительность горения Fz"), std::string::npos);
}

TEST_F(QinuValidationTest, RejectsImpossibleFlowAndFuelData) {
  in_.FH = 0;
  EXPECT_NE(Message().find("сечение впускных органов FH должно быть положительным (задано 0 м2)"), std::string::npos);
  in_ = qinutest::DefaultExample();
  in_.QC = -1e-5;
  EXPECT_NE(Message().find("Цикловая подача топлива QC"), std::string::npos);
  in_ = qinutest::DefaultExample();
  in_.V = 1;
  in_.PT = 0;  // the turbine-inlet pressure matters only with a turbocharger
  EXPECT_NE(Message().find("Давление перед турбиной PT"), std::string::npos);
}

TEST_F(QinuValidationTest, FindsTheClosedPartOfTheCycle) {
  // Intake closes at 589 deg = 131 deg before the firing TDC; the exhaust opens at 114 deg.
  EXPECT_DOUBLE_EQ(in_.TrapAngleDeg(), -131);
  EXPECT_DOUBLE_EQ(in_.FirstOpeningDeg(), 114);
}

TEST_F(QinuValidationTest, RejectsValuesBeyondAnyEngineNamingFieldAndValue) {
  // 0.2 rpm integrated for minutes; 100 m2 of exhaust area likewise.
  in_.N = 0.2;
  EXPECT_EQ(Message(), "Частота вращения вала (N): допустимо от 10 до 20000 об/мин, задано 0.2 об/мин");
  in_ = qinutest::DefaultExample();
  in_.FB = 100;
  EXPECT_NE(Message().find("сечение выпускных органов (FB)"), std::string::npos) << Message();
  EXPECT_NE(Message().find("задано 100 м2"), std::string::npos) << Message();
  in_ = qinutest::DefaultExample();
  in_.CG = 1e9;
  EXPECT_NE(Message().find("(CG)"), std::string::npos) << Message();
  in_ = qinutest::DefaultExample();
  in_.N = 10;
  EXPECT_EQ(Message(), "");
}

}  // namespace
