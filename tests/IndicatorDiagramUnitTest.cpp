// Reading indicator diagrams: the same engine cycle written over different angle ranges must
// give the same grid and pressures, with the firing top dead centre at step 0; damaged files
// are rejected with error 7.
#include "IndicatorDiagramUnit.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <functional>
#include <numbers>
#include <string>
#include <vector>

#include "EVexaErrorUnit.h"
#include "TestSupport.h"

namespace {

constexpr double Deg = std::numbers::pi / 180.0;

// A four-stroke firing cycle in file angles (firing top dead centre at 360°): compression
// and combustion around it with the peak 10° later, low pressure elsewhere; MPa.
double fourStrokePressure(double angleDeg) {
  const double a = std::fmod(std::fmod(angleDeg, 720.0) + 720.0, 720.0);
  return 0.1 + 12.0 * std::exp(-std::pow((a - 370.0) / 25.0, 2));
}

// A two-stroke cycle fires at 0°, peak 10° later.
double twoStrokePressure(double angleDeg) {
  const double a = std::fmod(std::fmod(angleDeg, 360.0) + 360.0, 360.0);
  const double fromPeak = a > 180.0 ? a - 370.0 : a - 10.0;
  return 0.15 + 9.0 * std::exp(-std::pow(fromPeak / 20.0, 2));
}

// The value as the file holds it: 4 decimals.
double asWritten(double pressure) { return std::round(pressure * 1e4) / 1e4; }

// One data line: angle in columns 1–8, a volume in 9–24, the pressure in 25–32, then a
// remainder of the given length (temperature and heat-release columns).
std::string dataLine(double angleDeg, double pressure, std::size_t remainder = 48) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%8.3f%16.6f%8.4f", angleDeg, 0.0012345, pressure);
  std::string line(buf);
  std::string rest = "   812.40   0.031   0.77   1.000";
  rest.resize(remainder, ' ');
  return line + rest;
}

struct TestDiagram {
  double firstDeg = 0, lastDeg = 720, stepDeg = 1;
  std::function<double(double)> pressure = fourStrokePressure;
  std::string lineEnd = "\n";
};

class IndicatorDiagramTest : public ::testing::Test {
 protected:
  testsupport::TempDir dir;
  TReal1DArray angles, pressures;

  std::filesystem::path write(const TestDiagram& diagram, const std::string& name = "cycle.dia") {
    std::ofstream out(dir / name, std::ios::binary);
    out << "   FI        V          P         T        X       DX" << diagram.lineEnd;
    const int n = static_cast<int>(std::lround((diagram.lastDeg - diagram.firstDeg) / diagram.stepDeg));
    for (int i = 0; i <= n; ++i) {
      const double a = diagram.firstDeg + i * diagram.stepDeg;
      out << dataLine(a, diagram.pressure(a)) << diagram.lineEnd;
    }
    return dir / name;
  }

  std::filesystem::path writeLines(const std::vector<std::string>& lines, const std::string& name = "bad.dia") {
    std::ofstream out(dir / name, std::ios::binary);
    out << "header\n";
    for (const auto& line : lines) out << line << "\n";
    return dir / name;
  }

  void read(const std::filesystem::path& file) { ReadIndicatorDiagramFile(file, angles, pressures); }

  // Grid angles rise from the first one in equal steps.
  void expectUniformGrid(std::size_t n, double firstDeg, double stepDeg) {
    ASSERT_EQ(angles.size(), n);
    ASSERT_EQ(pressures.size(), n);
    for (std::size_t k = 0; k < n; ++k) ASSERT_NEAR(angles[k], (firstDeg + static_cast<double>(k) * stepDeg) * Deg, 1e-12) << k;
  }

  std::size_t peakStep() const {
    return static_cast<std::size_t>(std::max_element(pressures.begin(), pressures.end()) - pressures.begin());
  }
};

// ---- Grids and alignment ----

TEST_F(IndicatorDiagramTest, FourStrokeCycleOf721PointsGives720StepsFiringAtStepZero) {
  read(write({}));
  expectUniformGrid(720, 0, 1);
  // Step k is k degrees after the firing top dead centre, which the file puts at 360°.
  for (std::size_t k = 0; k < 720; ++k)
    ASSERT_NEAR(pressures[k], asWritten(fourStrokePressure(360.0 + static_cast<double>(k))), 1e-9) << k;
  EXPECT_EQ(peakStep(), 10u);  // combustion peak 10° after firing
}

TEST_F(IndicatorDiagramTest, TwoStrokeCycleKeepsItsPressuresInPlace) {
  read(write({0, 360, 1, twoStrokePressure}));
  expectUniformGrid(360, 0, 1);
  for (std::size_t k = 0; k < 360; ++k)
    ASSERT_NEAR(pressures[k], asWritten(twoStrokePressure(static_cast<double>(k))), 1e-9) << k;
  EXPECT_EQ(peakStep(), 10u);
}

TEST_F(IndicatorDiagramTest, LastAngleOf370IsStillATwoStrokePeriodAnd371IsNot) {
  read(write({0, 370, 1, fourStrokePressure}));
  expectUniformGrid(370, 0, 1);
  EXPECT_NEAR(pressures[0], asWritten(fourStrokePressure(0)), 1e-9);  // not shifted

  read(write({0, 371, 1, fourStrokePressure}));
  expectUniformGrid(371, 0, 1);
  EXPECT_NEAR(pressures[0], asWritten(fourStrokePressure(360)), 1e-9);  // shifted by 360°
}

TEST_F(IndicatorDiagramTest, CycleStartingAtANegativeAngleGivesTheSameGridAsFromZero) {
  read(write({0, 720, 1}));
  const TReal1DArray fromZeroAngles = angles, fromZeroPressures = pressures;

  read(write({-180, 540, 1}));
  expectUniformGrid(720, 0, 1);
  // -180° reappears at the end as 540°.
  EXPECT_NEAR(angles[540], 540 * Deg, 1e-12);
  for (std::size_t k = 0; k < 720; ++k) {
    ASSERT_NEAR(angles[k], fromZeroAngles[k], 1e-12) << k;
    ASSERT_NEAR(pressures[k], fromZeroPressures[k], 1e-9) << k;
  }
}

TEST_F(IndicatorDiagramTest, CoarseGridAndWindowsLineEndsReadAlike) {
  TestDiagram diagram{0, 720, 5};
  read(write(diagram));
  const TReal1DArray lf = pressures;
  diagram.lineEnd = "\r\n";
  read(write(diagram));
  expectUniformGrid(144, 0, 5);
  EXPECT_EQ(pressures, lf);
  EXPECT_EQ(peakStep(), 2u);  // 10° after firing
}

// Grids that miss 0° and 360° by half a step begin at the first point after 0°, and each step
// gets the pressure of its own angle (360° later in a four-stroke file).
TEST_F(IndicatorDiagramTest, HalfStepGridAlignsPressureWithItsOwnAngles) {
  read(write({-0.5, 719.5, 1}));
  expectUniformGrid(720, 0.5, 1);
  for (std::size_t k = 0; k < 720; ++k)
    ASSERT_NEAR(pressures[k], asWritten(fourStrokePressure(360.5 + static_cast<double>(k))), 1e-9) << k;

  read(write({-179.5, 180.5, 1, twoStrokePressure}));
  expectUniformGrid(360, 0.5, 1);
  for (std::size_t k = 0; k < 360; ++k)
    ASSERT_NEAR(pressures[k], asWritten(twoStrokePressure(0.5 + static_cast<double>(k))), 1e-9) << k;
}

// ---- End of the table ----

TEST_F(IndicatorDiagramTest, RemainderOf39CharactersEndsTheTable) {
  std::vector<std::string> lines;
  for (int a = 0; a <= 720; ++a) lines.push_back(dataLine(a, fourStrokePressure(a), a == 400 ? 39 : 40));
  read(writeLines(lines));
  // Points 0…399 read, the last one (399°, beyond 370°) closes a four-stroke cycle.
  expectUniformGrid(399, 0, 1);
  EXPECT_NEAR(pressures[0], asWritten(fourStrokePressure(360)), 1e-9);

  lines[400] = dataLine(400, fourStrokePressure(400), 40);
  read(writeLines(lines));
  expectUniformGrid(720, 0, 1);
}

TEST_F(IndicatorDiagramTest, FieldsMayBePaddedWithBlanksOnEitherSide) {
  std::vector<std::string> lines;
  const std::string rest(40, ' ');
  for (int a = 0; a <= 360; a += 90) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%-8d%16s%-8.3f", a, "", 1.0 + a / 100.0);
    lines.push_back(buf + rest);
  }
  read(writeLines(lines));
  expectUniformGrid(4, 0, 90);
  EXPECT_EQ(pressures, (TReal1DArray{1.0, 1.9, 2.8, 3.7}));
}

// ---- Rejected diagrams ----

class RejectedDiagramTest : public IndicatorDiagramTest {
 protected:
  void expectRejected(const std::filesystem::path& file) {
    angles = {1, 2};
    pressures = {3};
    try {
      read(file);
      FAIL() << "accepted " << file;
    } catch (const TEVexaError& e) {
      EXPECT_EQ(e.Code, ErrIndicatorDiagram);
      // A file that cannot be read adds the reason after its name.
      EXPECT_EQ(e.Text.rfind("Не могу прочитать индикаторную диаграмму: " + file.string(), 0), 0u) << e.Text;
    }
    // The run's arrays stay as they were.
    EXPECT_EQ(angles, (TReal1DArray{1, 2}));
    EXPECT_EQ(pressures, (TReal1DArray{3}));
  }

  std::vector<std::string> cycleLines(double stepDeg = 90) {
    std::vector<std::string> lines;
    for (double a = 0; a <= 720; a += stepDeg) lines.push_back(dataLine(a, fourStrokePressure(a)));
    return lines;
  }
};

TEST_F(RejectedDiagramTest, MissingOrEmptyFile) {
  expectRejected(dir / "absent.dia");
  expectRejected(writeLines({}, "empty.dia"));
  expectRejected(dir.Path());
}

TEST_F(RejectedDiagramTest, FieldsThatAreNotFiniteNumbers) {
  for (const char* bad : {"  12,5  ", "    abc ", "     nan", "     inf", "  1e999 "}) {
    auto angleBad = cycleLines();
    angleBad[2].replace(0, 8, bad);
    expectRejected(writeLines(angleBad, "angle.dia"));
    auto pressureBad = cycleLines();
    pressureBad[2].replace(24, 8, bad);
    expectRejected(writeLines(pressureBad, "pressure.dia"));
  }
}

TEST_F(RejectedDiagramTest, FewerThanThreeSteps) {
  auto lines = cycleLines(240);  // 0, 240, 480, 720: three steps, accepted
  read(writeLines(lines));
  EXPECT_EQ(angles.size(), 3u);
  lines.erase(lines.begin() + 1);
  expectRejected(writeLines(lines));
}

TEST_F(RejectedDiagramTest, AnglesThatDoNotRise) {
  auto lines = cycleLines();
  std::swap(lines[3], lines[4]);
  expectRejected(writeLines(lines));
  lines = cycleLines();
  lines[4] = lines[3];
  expectRejected(writeLines(lines));
}

TEST_F(RejectedDiagramTest, GridWithoutZeroOrFiringAngle) {
  // Neither holds nor brackets 0°.
  expectRejected(write({10, 730, 1}));
  // A four-stroke grid that stops short of the firing angle 360° cannot be aligned.
  std::vector<std::string> lines;
  for (double a : {0.0, 100.0, 200.0, 300.0, 371.0})
    lines.push_back(dataLine(a, 1.0));
  expectRejected(writeLines(lines));
}

TEST_F(RejectedDiagramTest, MoreStepsThanAGridCanHold) {
  const double step = 720.0 / 32767;
  TestDiagram diagram{0, 720, step};
  read(write(diagram));  // 32768 points: the largest grid
  EXPECT_EQ(angles.size(), 32767u);
  diagram.stepDeg = 720.0 / 32768;
  expectRejected(write(diagram));
}

}  // namespace

// ---- Diagrams that do not cover the engine's cycle ----

class DiagramCycleTest : public IndicatorDiagramTest {
 protected:
  std::string refusal(const std::filesystem::path& file, double cycleDeg) {
    try {
      ReadIndicatorDiagramFile(file, angles, pressures, cycleDeg);
    } catch (const TEVexaError& error) {
      EXPECT_EQ(error.Code, ErrIndicatorDiagram);
      return error.Text;
    }
    ADD_FAILURE() << "the diagram was accepted";
    return {};
  }
};

TEST_F(DiagramCycleTest, ShortenedLineInTheMiddleEndsTheTableAndIsRefused) {
  const std::filesystem::path file = write({});
  // Line 542 of the file (angle 540°) loses its remainder: the table ends after line 541.
  std::vector<std::string> lines;
  {
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
  }
  lines[541].resize(40);
  std::ofstream out(file);
  for (const std::string& line : lines) out << line << "\n";
  out.close();

  // Without the engine's cycle it passes for a two-stroke one; with it, it is refused.
  const std::string text = refusal(file, 720);
  EXPECT_NE(text.find("строке 541"), std::string::npos) << text;
  EXPECT_NE(text.find("539°"), std::string::npos) << text;
  EXPECT_NE(text.find("720°"), std::string::npos) << text;
  EXPECT_TRUE(angles.empty());
}

TEST_F(DiagramCycleTest, CycleOfTheOtherStrokeCountIsRefused) {
  EXPECT_NE(refusal(write({0, 360, 1, twoStrokePressure}), 720).find("четырёхтактного"), std::string::npos);
  EXPECT_NE(refusal(write({}), 360).find("двухтактного"), std::string::npos);
}

TEST_F(DiagramCycleTest, WholeCyclesAreAccepted) {
  ReadIndicatorDiagramFile(write({}), angles, pressures, 720);
  EXPECT_EQ(angles.size(), 720u);
  ReadIndicatorDiagramFile(write({-180, 540, 1}), angles, pressures, 720);
  EXPECT_EQ(angles.size(), 720u);
  ReadIndicatorDiagramFile(write({0, 360, 1, twoStrokePressure}), angles, pressures, 360);
  EXPECT_EQ(angles.size(), 360u);
}

TEST_F(DiagramCycleTest, FifoGivenAsDiagramIsRefusedWithoutWaiting) {
  const std::filesystem::path fifo = dir / "pipe.dia";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_NE(refusal(fifo, 720).find("не обычный файл"), std::string::npos);
}
