// The design-graph reader and lookups: file format, interval search, interpolation,
// rounding and clamping, failures; and the graph files shipped with the program.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <limits>

#include "FloatCheckUnit.h"
#include "GraphFileUnit.h"
#include "TestSupport.h"

namespace {

class GraphFileTest : public ::testing::Test {
 protected:
  std::filesystem::path Write(const std::string& name, const std::string& text) {
    const auto path = dir_ / name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }
  testsupport::TempDir dir_;
};

// ---- interval search ----------------------------------------------------------------

TEST(GraphIntervalTest, InnerPointFallsIntoTheLowerInterval) {
  const TReal1DArray a{0, 1, 2, 3};
  EXPECT_EQ(FindGraphInterval(a, 0.5), 0);
  EXPECT_EQ(FindGraphInterval(a, 1.0), 0);  // common point of intervals 0 and 1
  EXPECT_EQ(FindGraphInterval(a, 1.5), 1);
  EXPECT_EQ(FindGraphInterval(a, 2.0), 1);
  EXPECT_EQ(FindGraphInterval(a, 3.0), 2);
}

TEST(GraphIntervalTest, OutsideTheTableUsesTheEndIntervals) {
  const TReal1DArray a{0, 1, 2, 3};
  EXPECT_EQ(FindGraphInterval(a, -10), 0);
  EXPECT_EQ(FindGraphInterval(a, 0), 0);
  EXPECT_EQ(FindGraphInterval(a, 3.5), 2);
  EXPECT_EQ(FindGraphInterval(a, 1e9), 2);
  EXPECT_EQ(FindGraphInterval(TReal1DArray{5, 7}, 100), 0);
}

TEST(GraphIntervalTest, InterpolateIsTheStraightLineThroughTwoPoints) {
  EXPECT_DOUBLE_EQ(Interpolate(1, 1, 0, 3, 0), 1.0 / 3);
  EXPECT_DOUBLE_EQ(Interpolate(-1, 4, 2, 2, 0), 1);  // beyond the left point
  EXPECT_DOUBLE_EQ(Interpolate(4, 4, 2, 2, 0), 6);   // beyond the right point
}

TEST(GraphIntervalTest, RoundingKeepsFourDecimalsWithHalvesToEven) {
  EXPECT_NEAR(RoundGraphValue(1.0 / 3), 0.3333, 1e-15);
  EXPECT_NEAR(RoundGraphValue(2.0 / 3), 0.6667, 1e-15);
  EXPECT_NEAR(RoundGraphValue(-2.0 / 3), -0.6667, 1e-15);
  EXPECT_EQ(RoundGraphValue(0.00005), 0.0);         // 0.5 units → 0
  EXPECT_NEAR(RoundGraphValue(0.00025), 0.0002, 1e-15);  // 2.5 → 2
  EXPECT_NEAR(RoundGraphValue(0.00035), 0.0004, 1e-15);  // 3.5 → 4
}

// ---- single curves ------------------------------------------------------------------

TEST_F(GraphFileTest, CurveThroughTwoPointsGivesFourDecimals) {
  const auto file = Write("third.kft", "title\n1\n0 3\n0 1\n");
  EXPECT_NEAR(LookupGraph1D(file, 1), 0.3333, 1e-15);
  EXPECT_NEAR(LookupGraph1D(file, 2), 0.6667, 1e-15);
}

TEST_F(GraphFileTest, CurveAtAnInnerAbscissaGivesItsOrdinate) {
  // A kink at x = 1: the lower interval ends there with the tabulated value.
  const auto file = Write("kink.kft", "kink\n2\n0 1 2\n0 1.23456 0\n");
  EXPECT_NEAR(LookupGraph1D(file, 1), 1.2346, 1e-15);
}

TEST_F(GraphFileTest, CurveExtrapolatesAlongTheEndIntervalsAndIsNeverClamped) {
  // Points of y = x² at 0, 1, 2: outside the table the chords of the end intervals continue.
  const auto file = Write("square.kft", "y = x^2\n2\n0 1 2\n0 1 4\n");
  EXPECT_DOUBLE_EQ(LookupGraph1D(file, -1), -1);  // chord y = x, negative value kept
  EXPECT_DOUBLE_EQ(LookupGraph1D(file, 3), 7);    // chord y = 3x − 2, value above 5 kept
  EXPECT_DOUBLE_EQ(LookupGraph1D(file, 1.5), 2.5);
}

TEST_F(GraphFileTest, HalfWayBetweenTwoPointsRoundsHalfToEven) {
  const auto file = Write("half.kft", "half\n1\n0 1\n0 0.0005\n");
  EXPECT_NEAR(LookupGraph1D(file, 0.5), 0.0002, 1e-15);
}

TEST_F(GraphFileTest, NumbersMayUseSignsExponentsAndAnyLineBreaks) {
  const auto file = Write("layout.kft",
                          "Заголовок с любым текстом: 3 4 , ; 1,5\n"
                          "3   intervals, the rest of this line is ignored\n"
                          "-1.0e0 +0\n.5\t1 anything after the last abscissa\n"
                          "2E-1\n0.2 -5e-1\r\n1.\n");
  const TGraphCurve c = ReadGraphCurve(file);
  EXPECT_EQ(c.X, (TReal1DArray{-1, 0, 0.5, 1}));
  EXPECT_EQ(c.Y, (TReal1DArray{0.2, 0.2, -0.5, 1}));
}

TEST_F(GraphFileTest, EveryLookupReadsTheFileAgain) {
  const auto file = Write("edit.kft", "v1\n1\n0 1\n1 1\n");
  EXPECT_EQ(LookupGraph1D(file, 0.5), 1);
  Write("edit.kft", "v2\n1\n0 1\n2 2\n");
  EXPECT_EQ(LookupGraph1D(file, 0.5), 2);
  std::filesystem::remove(file);
  EXPECT_THROW(LookupGraph1D(file, 0.5), EGraphFileError);
}

// ---- families -----------------------------------------------------------------------

TEST_F(GraphFileTest, FamilyReproducesAPlaneExactly) {
  // z = 0.3·x + 0.5·p + 0.1 is bilinear, so interpolation over any cell (and linear
  // extrapolation beyond the table) must give the plane itself.
  const auto file = Write("plane.kft",
                          "plane\n2 2\n0 0 1 2\n"
                          "0 0.1 0.4 0.7\n"
                          "2 1.1 1.4 1.7\n"
                          "4 2.1 2.4 2.7\n");
  for (double x : {0.0, 0.37, 1.0, 1.91, 2.0, 2.5, -0.2})
    for (double p : {0.0, 0.6, 2.0, 3.3, 4.0, 5.0})
      EXPECT_NEAR(LookupGraph2D(file, x, p), RoundGraphValue(0.3 * x + 0.5 * p + 0.1), 1e-12)
          << "x=" << x << " p=" << p;
}

TEST_F(GraphFileTest, FamilyValuesOutsideZeroToFiveBecomeZero) {
  const auto file = Write("clamp.kft",
                          "clamp\n1 2\n0 0 1\n"
                          "0 5 5\n"
                          "1 5.0002 5.0002\n"
                          "2 -1 -1\n");
  EXPECT_EQ(LookupGraph2D(file, 0.5, 0), 5);     // exactly 5 stays
  EXPECT_EQ(LookupGraph2D(file, 0.5, 0.5), 0);   // 5.0001, just above 5
  EXPECT_EQ(LookupGraph2D(file, 0.5, 1.9), 0);   // −0.39998
  EXPECT_EQ(LookupGraph2D(file, 0.5, 2), 0);     // −1
  EXPECT_NEAR(LookupGraph2D(file, 0.5, 1.2), 3.8002, 1e-12);  // 3.80016, inside the range
}

TEST_F(GraphFileTest, CornerCellMustBeAnInteger) {
  const auto good = Write("corner0.kft", "t\n1 1\n0 0 1\n0 1 1\n1 2 2\n");
  EXPECT_EQ(LookupGraph2D(good, 0.5, 0.5), 1.5);
  const auto anyInteger = Write("corner7.kft", "t\n1 1\n-7 0 1\n0 1 1\n1 2 2\n");
  EXPECT_EQ(LookupGraph2D(anyInteger, 0.5, 0.5), 1.5);
  const auto real = Write("cornerReal.kft", "t\n1 1\n0.0 0 1\n0 1 1\n1 2 2\n");
  try {
    LookupGraph2D(real, 0.5, 0.5);
    FAIL() << "a real corner cell was accepted";
  } catch (const EGraphFileError& e) {
    EXPECT_EQ(e.Line, 3);
  }
}

TEST_F(GraphFileTest, EachCurveOfAFamilyStartsOnANewLine) {
  // Extra text after the last ordinate of a curve is ignored.
  const auto file = Write("rest.kft", "t\n1 1 comment\n0 0 1 comment\n0 1 1 curve one\n1 3 3 curve two\n");
  const TGraphFamily f = ReadGraphFamily(file);
  EXPECT_EQ(f.P, (TReal1DArray{0, 1}));
  EXPECT_EQ(f.Y[1], (TReal1DArray{3, 3}));
}

// ---- failures -------------------------------------------------------------------------

TEST_F(GraphFileTest, MissingFileNamesTheFile) {
  const auto file = dir_ / "absent.kft";
  try {
    LookupGraph1D(file, 1);
    FAIL();
  } catch (const EGraphFileError& e) {
    EXPECT_EQ(e.Line, 0);
    EXPECT_NE(std::string(e.what()).find("absent.kft"), std::string::npos);
  }
}

TEST_F(GraphFileTest, MalformedFilesReportTheLineWhereReadingStopped) {
  struct Case {
    const char* text;
    int line;
  };
  const Case cases[] = {
      {"t\n1\n0 1\n0 1,5\n", 4},           // comma as decimal separator
      {"t\n1.0\n0 1\n0 1\n", 2},           // real where the count stands
      {"t\n2\n0 1 2\n0 1\n", 4},           // fewer ordinates than announced
      {"t\n", 1},                          // no count at all
      {"t\n0\n0\n0\n", 2},                 // one point only
      {"t\n-3\n0\n0\n", 2},                // negative count
      {"t\n2\n0 1 1\n0 1 2\n", 3},         // abscissas not rising
      {"t\n1\n0 x\n0 1\n", 3},             // not a number
      {"t\n1\n0 1e999\n0 1\n", 3},         // beyond the range of a double
  };
  for (const Case& c : cases) {
    const auto file = Write("bad.kft", c.text);
    try {
      ReadGraphCurve(file);
      ADD_FAILURE() << "accepted: " << c.text;
    } catch (const EGraphFileError& e) {
      EXPECT_EQ(e.Line, c.line) << c.text << " → " << e.what();
      EXPECT_NE(std::string(e.what()).find("bad.kft"), std::string::npos);
    }
  }
}

TEST_F(GraphFileTest, FamilyWithOneCurveOrFallingParametersIsRejected) {
  EXPECT_THROW(ReadGraphFamily(Write("m0.kft", "t\n1 0\n0 0 1\n0 1 1\n")), EGraphFileError);
  EXPECT_THROW(ReadGraphFamily(Write("pdown.kft", "t\n1 1\n0 0 1\n1 1 1\n0 2 2\n")), EGraphFileError);
  EXPECT_THROW(ReadGraphFamily(Write("short.kft", "t\n1 1\n0 0 1\n0 1 1\n1 2\n")), EGraphFileError);
}

TEST_F(GraphFileTest, NonFiniteArgumentIsAFloatingPointError) {
  const auto curve = Write("c.kft", "t\n1\n0 1\n0 1\n");
  const auto family = Write("f.kft", "t\n1 1\n0 0 1\n0 1 1\n1 2 2\n");
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_THROW(LookupGraph1D(curve, nan), EVexaFloatError);
  EXPECT_THROW(LookupGraph1D(curve, inf), EVexaFloatError);
  EXPECT_THROW(LookupGraph2D(family, 0.5, inf), EVexaFloatError);  // would otherwise become 0
}

TEST(GraphDirectoryTest, LiesInDataBaseBesideTheProgram) {
  EXPECT_EQ(GraphDirectory("/opt/vexa"), std::filesystem::path("/opt/vexa/DataBase/Коэффициенты"));
}

}  // namespace
