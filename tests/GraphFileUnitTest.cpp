// The design-graph reader and lookups: file format, interval search, interpolation,
// rounding and clamping, failures; and the graph files shipped with the program.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <iterator>
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

// ---- readings outside a graph's range ---------------------------------------------

TEST_F(GraphFileTest, CurveReadingTellsWhenItExtrapolates) {
  const auto file = Write("line.kft", "line\n2\n1 2 4\n10 20 30\n");
  const TGraphReading inside = LookupGraph1DReading(file, 3);
  EXPECT_FALSE(inside.Extrapolated());
  EXPECT_EQ(inside.XMin, 1);
  EXPECT_EQ(inside.XMax, 4);
  // Both ends of the table belong to it.
  EXPECT_FALSE(LookupGraph1DReading(file, 1).Extrapolated());
  EXPECT_FALSE(LookupGraph1DReading(file, 4).Extrapolated());
  // Beyond the ends: the value is the straight line of the end interval, as the plain lookup gives.
  const TGraphReading below = LookupGraph1DReading(file, 0);
  EXPECT_TRUE(below.XOutside);
  EXPECT_EQ(below.Value, 0);
  const TGraphReading above = LookupGraph1DReading(file, 8);
  EXPECT_TRUE(above.XOutside);
  EXPECT_EQ(above.Value, 50);  // 20 + (8 − 2)/(4 − 2)·10
  EXPECT_EQ(above.Value, LookupGraph1D(file, 8));
  EXPECT_FALSE(above.Zeroed);
}

TEST_F(GraphFileTest, FamilyReadingTellsWhichArgumentLeftTheGraphAndWhatWasZeroed) {
  // z = x + p over x 0 … 1 and p 0 … 2.
  const auto file = Write("sum.kft", "sum\n1 1\n0 0 1\n0 0 1\n2 2 3\n");
  const TGraphReading inside = LookupGraph2DReading(file, 0.5, 1);
  EXPECT_FALSE(inside.Extrapolated() || inside.Zeroed);
  EXPECT_EQ(inside.PMin, 0);
  EXPECT_EQ(inside.PMax, 2);

  const TGraphReading farX = LookupGraph2DReading(file, 2.5, 1);
  EXPECT_TRUE(farX.XOutside);
  EXPECT_FALSE(farX.POutside);
  EXPECT_FALSE(farX.Zeroed);
  EXPECT_EQ(farX.Value, 3.5);

  // 4 + 1.5 = 5.5 lies above 5: the value is 0, what the lines give is kept for the note.
  const TGraphReading zeroed = LookupGraph2DReading(file, 1.5, 4);
  EXPECT_TRUE(zeroed.XOutside && zeroed.POutside && zeroed.Zeroed);
  EXPECT_EQ(zeroed.Value, 0);
  EXPECT_EQ(zeroed.Unclamped, 5.5);
  EXPECT_EQ(zeroed.Value, LookupGraph2D(file, 1.5, 4));

  // Below 0 is replaced too, also when both arguments lie on the graph.
  const auto negative = Write("negative.kft", "neg\n1 1\n0 0 1\n0 -1 -1\n1 -1 -1\n");
  const TGraphReading below = LookupGraph2DReading(negative, 0.5, 0.5);
  EXPECT_FALSE(below.Extrapolated());
  EXPECT_TRUE(below.Zeroed);
  EXPECT_EQ(below.Unclamped, -1);
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

// ---- the graphs shipped with the program --------------------------------------------

struct TShippedGraph {
  const char* name;
  bool family;
};

// The 27 graphs the program reads, with their form.
const TShippedGraph ShippedGraphs[] = {
    {"q(r, SgmV).kft", true},      {"q(r, SgmT_SgmV).kft", true}, {"AlphaSgm.kft", false},
    {"AlphaTau.kft", true},        {"W_W0_sgm.kft", true},        {"W_W0_tau.kft", true},
    {"W_W0_sgm_solid.kft", false}, {"W_W0_tau_solid.kft", false}, {"ASTG_ASTG0.kft", false},
    {"KsgmD0.kft", false},         {"BetsgmH.kft", false},        {"BetsgmDv.kft", false},
    {"KsgmE.kft", true},           {"KsiSigmH.kft", false},       {"BetSgmD1.kft", true},
    {"Ktau0.kft", true},           {"BetTauH.kft", false},        {"BetTauB.kft", false},
    {"KtauE.kft", true},           {"BetTauD.kft", true},         {"Esgm.kft", true},
    {"Etau.kft", true},            {"PsiSigm.kft", false},        {"PsiTau.kft", false},
    {"LamD.kft", false},           {"Mu.kft", false},             {"Knu.kft", false},
};

class ShippedGraphsTest : public ::testing::Test {
 protected:
  static std::filesystem::path Graph(const std::string& name) {
    return GraphDirectory(testsupport::BinDir()) / name;
  }
};

TEST_F(ShippedGraphsTest, EveryGraphIsThereAndReadsInItsForm) {
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(GraphDirectory(testsupport::BinDir())))
    if (entry.path().extension() == ".kft") ++files;
  EXPECT_EQ(files, 27);
  for (const TShippedGraph& g : ShippedGraphs) {
    SCOPED_TRACE(g.name);
    if (g.family) {
      const TGraphFamily f = ReadGraphFamily(Graph(g.name));
      EXPECT_GE(f.P.size(), 2u);
      // A tabulated point outside [0, 5] would silently read as 0.
      for (const auto& row : f.Y)
        for (double y : row) EXPECT_TRUE(y >= 0 && y <= 5) << y;
    } else {
      const TGraphCurve c = ReadGraphCurve(Graph(g.name));
      EXPECT_GE(c.X.size(), 2u);
    }
  }
}

TEST_F(ShippedGraphsTest, ShippedFilesAreTheGeneratorsOutput) {
  // The graphs are data made by tools/make_graphs.py from its sources; a hand edit of a
  // shipped file (or a changed generator without regenerated files) shows up here.
  if (std::system("python3 --version > /dev/null 2>&1") != 0) GTEST_SKIP() << "no python3";
  testsupport::TempDir out;
  const std::string command = "python3 \"" + (testsupport::SourceDir() / "tools" / "make_graphs.py").string() +
                              "\" \"" + out.Path().string() + "\" > /dev/null";
  ASSERT_EQ(std::system(command.c_str()), 0);
  auto slurp = [](const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  };
  const auto shipped = testsupport::SourceDir() / "data" / "DataBase" / "Коэффициенты";
  for (const TShippedGraph& g : ShippedGraphs) EXPECT_EQ(slurp(out / g.name), slurp(shipped / g.name)) << g.name;
}

TEST_F(ShippedGraphsTest, WebTorsionCoefficientFollowsSaintVenantsTable) {
  // Saint-Venant's values of alpha in tau_max = T/(alpha h b²) for a rectangle h × b.
  const std::pair<double, double> table[] = {{1, 0.208}, {1.5, 0.231}, {2, 0.246}, {3, 0.267},
                                             {4, 0.282}, {6, 0.299},   {10, 0.313}};
  for (auto [ratio, alpha] : table) EXPECT_NEAR(LookupGraph1D(Graph("Mu.kft"), ratio), alpha, 1e-9) << ratio;
  // A very thin strip tends to alpha = 1/3.
  EXPECT_NEAR(LookupGraph1D(Graph("Mu.kft"), 1000), 1.0 / 3, 5e-4);
  EXPECT_GT(LookupGraph1D(Graph("Mu.kft"), 20), 0.313);
}

TEST_F(ShippedGraphsTest, SmallOilHoleGivesTheKirschValues) {
  // A vanishing hole: bending is a plate in tension (3), torsion a plate in pure shear
  // (peak normal stress 4 τ), and the section is not weakened.
  EXPECT_NEAR(LookupGraph1D(Graph("AlphaSgm.kft"), 0), 3, 1e-9);
  for (double bore : {0.0, 0.5, 0.9}) EXPECT_NEAR(LookupGraph2D(Graph("AlphaTau.kft"), 0, bore), 4, 1e-9);
  EXPECT_EQ(LookupGraph1D(Graph("W_W0_sgm_solid.kft"), 0), 1);
  EXPECT_EQ(LookupGraph1D(Graph("W_W0_tau_solid.kft"), 0), 1);
}

// Net-to-gross bending section modulus of a solid shaft through a transverse hole, by direct
// integration of the second moment of the strip |z| < d/2 that the hole removes.
double exactNetRatioBending(double holeRatio) {
  const double radius = 0.5, halfWidth = holeRatio / 2;
  const int steps = 20000;
  double strip = 0;
  for (int k = 0; k < steps; ++k) {
    const double z = -halfWidth + (k + 0.5) * (2 * halfWidth / steps);
    strip += 2.0 / 3 * std::pow(radius * radius - z * z, 1.5) * (2 * halfWidth / steps);
  }
  const double full = M_PI / 64;
  return (full - strip) / full;
}

// The same in torsion: the polar moment (x² + z²) of the strip |x| < d/2 over its full chord,
// against the polar moment π/32 of the whole section (diameter 1).
double exactNetRatioTorsion(double holeRatio) {
  const double radius = 0.5, halfWidth = holeRatio / 2;
  const int steps = 20000;
  double strip = 0;
  for (int k = 0; k < steps; ++k) {
    const double x = -halfWidth + (k + 0.5) * (2 * halfWidth / steps);
    const double chord = std::sqrt(radius * radius - x * x);  // half the chord
    strip += (2 * x * x * chord + 2.0 / 3 * chord * chord * chord) * (2 * halfWidth / steps);
  }
  const double full = M_PI / 32;
  return (full - strip) / full;
}

TEST_F(ShippedGraphsTest, NetSectionRatioAgreesWithDirectIntegration) {
  for (double d : {0.05, 0.1, 0.15, 0.2}) {
    EXPECT_NEAR(LookupGraph1D(Graph("W_W0_sgm_solid.kft"), d), exactNetRatioBending(d), 0.01) << d;
    EXPECT_NEAR(LookupGraph1D(Graph("W_W0_tau_solid.kft"), d), exactNetRatioTorsion(d), 0.01) << d;
  }
  // The hollow family at a vanishing bore is the solid curve.
  EXPECT_NEAR(LookupGraph2D(Graph("W_W0_sgm.kft"), 0.1, 0), LookupGraph1D(Graph("W_W0_sgm_solid.kft"), 0.1), 1e-9);
  EXPECT_NEAR(LookupGraph2D(Graph("W_W0_tau.kft"), 0.1, 0), LookupGraph1D(Graph("W_W0_tau_solid.kft"), 0.1), 1e-9);
}

TEST_F(ShippedGraphsTest, NotchSensitivitiesRiseWithRadiusAndStrengthWithinZeroToOne) {
  for (const char* name : {"q(r, SgmV).kft", "q(r, SgmT_SgmV).kft"}) {
    SCOPED_TRACE(name);
    const TGraphFamily f = ReadGraphFamily(Graph(name));
    for (std::size_t j = 0; j < f.P.size(); ++j) {
      EXPECT_EQ(f.Y[j][0], 0);  // a sharp notch (r = 0) is no worse than no notch at all
      for (std::size_t i = 0; i < f.X.size(); ++i) {
        EXPECT_TRUE(f.Y[j][i] >= 0 && f.Y[j][i] <= 1);
        if (i > 0) {
          EXPECT_GE(f.Y[j][i], f.Y[j][i - 1]);
        }
        if (j > 0) {
          EXPECT_GE(f.Y[j][i], f.Y[j - 1][i]);
        }
      }
    }
  }
  // Peterson's relation q = 1/(1 + a/r) at r = a gives one half (a = 0.254 mm, normalised).
  EXPECT_NEAR(LookupGraph2D(Graph("q(r, SgmT_SgmV).kft"), 0.254, 0.5), 0.5, 0.02);
}

TEST_F(ShippedGraphsTest, NotchSensitivityFollowsShigleysFitInItsPrintedUnits) {
  // Shigley's Mechanical Engineering Design (Budynas, Nisbett), eqs. (6-34) and (6-35a) as
  // printed: q = 1/(1 + √a/√r) with √a in √in and Sut in kpsi. The graph is written from the SI
  // form of the fit, so this checks the conversion and every step between the curves.
  auto shigley = [](double sutMPa, double radiusMM) {
    const double s = sutMPa / 6.894757;  // kpsi
    const double sqrtAInch = 0.246 - 3.08e-3 * s + 1.51e-5 * s * s - 2.67e-8 * s * s * s;
    return 1 / (1 + sqrtAInch * std::sqrt(25.4) / std::sqrt(radiusMM));
  };
  // The book's Example 6-6 (Sut = 690 MPa, fillet radius 3 mm, q ≈ 0.85) and a spread of
  // strengths and radii; the graph's parameter is the strength in kgf/mm².
  const std::pair<double, double> cases[] = {{690, 3}, {500, 2}, {900, 0.5}, {1100, 1}, {1500, 5}};
  for (auto [sut, radius] : cases)
    EXPECT_NEAR(LookupGraph2D(Graph("q(r, SgmV).kft"), radius, sut * 1.0197 / 10), shigley(sut, radius), 0.005)
        << sut << " MPa, r = " << radius << " mm";
  EXPECT_NEAR(shigley(690, 3), 0.85, 0.005);
}

TEST_F(ShippedGraphsTest, ScaleFactorsFallWithDiameterAndStayPhysical) {
  for (const char* name : {"Esgm.kft", "Etau.kft"}) {
    const TGraphFamily f = ReadGraphFamily(Graph(name));
    for (const auto& row : f.Y)
      for (std::size_t i = 0; i < row.size(); ++i) {
        EXPECT_TRUE(row[i] > 0.4 && row[i] <= 1) << name;
        if (i > 0) {
          EXPECT_LT(row[i], row[i - 1]) << name;
        }
      }
  }
  // Handbook values at 50 mm: carbon steel in bending 0.81, alloy steel 0.70.
  EXPECT_NEAR(LookupGraph2D(Graph("Esgm.kft"), 0.05, 0), 0.81, 1e-9);
  EXPECT_NEAR(LookupGraph2D(Graph("Esgm.kft"), 0.05, 1), 0.70, 1e-9);
  EXPECT_NEAR(LookupGraph2D(Graph("Etau.kft"), 0.05, 0), 0.70, 1e-9);
}

TEST_F(ShippedGraphsTest, AsymmetryAndHardeningFactors) {
  // psi_sigma = 0.02 + 2e-4 σв, psi_tau = psi_sigma / 2.
  EXPECT_NEAR(LookupGraph1D(Graph("PsiSigm.kft"), 800), 0.18, 1e-9);
  EXPECT_NEAR(LookupGraph1D(Graph("PsiTau.kft"), 800), 0.09, 1e-9);
  EXPECT_EQ(LookupGraph1D(Graph("Knu.kft"), 0), 1);  // no hardening, no gain
  double previous = 1;
  for (int technology = 1; technology <= 3; ++technology) {
    const double knu = LookupGraph1D(Graph("Knu.kft"), technology);
    EXPECT_GT(knu, previous);
    EXPECT_LE(knu, 2.5);
    previous = knu;
  }
}

}  // namespace
