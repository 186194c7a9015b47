// Concentration coefficients: the two modes, which graphs are read at which arguments,
// agreement of the shipped graphs with the published formulas they come from, the ranges
// engineers expect for an ordinary crankshaft, and refused or interrupted calculations.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>

#include "ConcentrationCoeffsUnit.h"
#include "GraphFileUnit.h"
#include "ProjectFileUnit.h"
#include "StrengthSummaryUnit.h"
#include "TestSupport.h"

namespace {

std::filesystem::path ShippedGraphs() { return GraphDirectory(testsupport::BinDir()); }

// A quenched and tempered alloy crankshaft steel (40ХН2МА, GOST 4543: σв 1080, σт 930 MPa).
TSteelElem AlloySteel() {
  TSteelElem s;
  s.SteelName = "40ХН2МА";
  s.SgmV = 1080;
  s.SgmT = 930;
  s.Descriptor = SteelAlloy;
  return s;
}

class ConcentrationTest : public ::testing::Test {
 protected:
  ConcentrationTest() { data_.ValSteel = AlloySteel(); }

  // A graph directory holding copies of the named shipped graphs only.
  std::filesystem::path PartialGraphs(std::initializer_list<const char*> names) {
    for (const char* name : names) std::filesystem::copy_file(ShippedGraphs() / name, dir_ / name);
    return dir_.Path();
  }
  std::filesystem::path AllGraphsExcept(const std::string& missing) {
    for (const auto& entry : std::filesystem::directory_iterator(ShippedGraphs()))
      if (entry.path().filename() != missing) std::filesystem::copy_file(entry.path(), dir_ / entry.path().filename());
    return dir_.Path();
  }
  void Write(const std::string& name, const std::string& text) {
    std::ofstream(dir_ / name, std::ios::binary) << text;
  }

  TEngineDataStruct data_;
  testsupport::TempDir dir_;
};

// ---- entered coefficients -----------------------------------------------------------

TEST_F(ConcentrationTest, EnteredModeReadsOnlyLamDAndMu) {
  // Test graphs with easily checked values: LamD = Nsh/10, Mu = ratio/100.
  Write("LamD.kft", "LamD\n1\n0 10\n0 1\n");
  Write("Mu.kft", "Mu\n1\n0 10\n0 0.1\n");
  data_.CoeffsCalcRadio = 1;
  data_.qSigmV_S = 0.6;
  data_.qSigmT_SigmV_S = 0.8;
  data_.AlphaSgm_G_S = 2;
  data_.AlphaTau_G_S = 1.5;
  data_.AlphaSgm_M_K = 2.5;
  data_.qSigmV_M_K = 0.5;
  data_.qSigmT_SigmV_M_K = 0.7;
  data_.Esgm_S = 0.77;
  data_.PsiSgm = 0.11;
  data_.Nsh = 7;  // kept as entered, not NSec + 1
  data_.CoeffB = 2;
  CalcConcentrationCoeffs(data_, dir_.Path());

  EXPECT_DOUBLE_EQ(data_.qSigm_S, 0.7);
  EXPECT_DOUBLE_EQ(data_.qTau_S, 0.8);
  EXPECT_DOUBLE_EQ(data_.KSgm_G_S, 1.7);
  EXPECT_DOUBLE_EQ(data_.KTau_G_S, 1.4);
  EXPECT_DOUBLE_EQ(data_.qSigm_M_K, 0.6);
  EXPECT_DOUBLE_EQ(data_.KSgm_M_K, 1.9);
  EXPECT_EQ(data_.AlphaSgm_M_K, 2.5);
  EXPECT_EQ(data_.Esgm_S, 0.77);
  EXPECT_EQ(data_.PsiSgm, 0.11);
  EXPECT_EQ(data_.Nsh, 7);
  EXPECT_DOUBLE_EQ(data_.LamD, 0.7);  // read at Nsh
  // Web side ratio of the equivalent throw: 0.26·1/(0.062·2) = 2.0968 → 0.020968 → 0.021.
  EXPECT_NEAR(data_.WebTorsionCoef, 0.021, 1e-12);
}

// ---- computed coefficients ----------------------------------------------------------

TEST_F(ConcentrationTest, ComputedModeCountsJournalsAndFixesTheEccentricityFactor) {
  data_.NSec = 4;
  data_.BetSgmE = 0.3;
  CalcConcentrationCoeffs(data_, ShippedGraphs());
  EXPECT_EQ(data_.Nsh, 5);
  EXPECT_EQ(data_.LamD, LookupGraph1D(ShippedGraphs() / "LamD.kft", 5));
  EXPECT_EQ(data_.BetSgmE, 1);
}

TEST_F(ConcentrationTest, SolidJournalUsesTheSolidCurvesAndABoredOneTheFamilies) {
  // Without the families a solid shaft still computes; without the solid curves a bored one.
  data_.RMaslK = 0.01;
  data_.RMaslS = 0.008;
  CalcConcentrationCoeffs(data_, AllGraphsExcept("W_W0_sgm.kft"));
  const double solidRatio = LookupGraph1D(ShippedGraphs() / "W_W0_sgm_solid.kft", 0.02 / 0.22);
  EXPECT_EQ(data_.W_W0_sgm_K, solidRatio);

  testsupport::TempDir other;
  for (const auto& entry : std::filesystem::directory_iterator(ShippedGraphs()))
    if (entry.path().filename() != "W_W0_sgm_solid.kft")
      std::filesystem::copy_file(entry.path(), other.Path() / entry.path().filename());
  data_.DkSb = 0.08;
  data_.DsSb = 0.06;
  CalcConcentrationCoeffs(data_, other.Path());
  EXPECT_EQ(data_.W_W0_sgm_K, LookupGraph2D(ShippedGraphs() / "W_W0_sgm.kft", 0.02 / 0.22, 0.08 / 0.22));
  // Through a bore the hole cuts the wall only, a smaller share of the section modulus.
  EXPECT_GT(data_.W_W0_sgm_K, solidRatio);

  data_.DkSb = 0;
  EXPECT_THROW(CalcConcentrationCoeffs(data_, other.Path()), EGraphFileError);
}

// The crankpin-fillet factors of IACS UR M53 (3.2), evaluated directly in the rule's ratios
// to the crankpin diameter D: overlap s, web thickness w, web width b, fillet radius r,
// crankpin bore dH (solid journal, no recess).
struct TM53Fillet {
  double bending;
  double torsion;
};

TM53Fillet M53Fillet(double s, double w, double b, double r, double dH) {
  const double fsw = -4.1883 + 29.2004 * w - 77.5925 * w * w + 91.9454 * std::pow(w, 3) - 40.0416 * std::pow(w, 4) +
                     (1 - s) * (9.5440 - 58.3480 * w + 159.3415 * w * w - 192.5846 * std::pow(w, 3) +
                                85.2916 * std::pow(w, 4)) +
                     (1 - s) * (1 - s) *
                         (-3.8399 + 25.0444 * w - 70.5571 * w * w + 87.0328 * std::pow(w, 3) -
                          39.1832 * std::pow(w, 4));
  const double bending = 2.6914 * fsw * 2.1790 * std::pow(w, 0.7171) * (0.6840 - 0.0077 * b + 0.1473 * b * b) *
                         0.2081 * std::pow(r, -0.5231) * 0.9993 *
                         (0.9978 + 0.3145 * dH - 1.5241 * dH * dH + 2.4147 * std::pow(dH, 3));
  const double torsion = 0.8 * std::pow(r, -0.322 + 0.1015 * (1 - s)) *
                         (7.8955 - 10.654 * b + 5.3482 * b * b - 0.857 * std::pow(b, 3)) * std::pow(w, -0.145);
  return {bending, torsion};
}

TEST_F(ConcentrationTest, FilletCoefficientsReproduceTheClassificationRule) {
  struct Geometry {
    double R, DkSh, DsSh, DsSb, H, B, Rgal, RgalK;  // Rgal: the crankpin's fillet
  };
  // The rule knows only the crankpin fillet; the journal's fillet radius must not matter.
  const Geometry cases[] = {
      {0.13, 0.22, 0.19, 0, 0.26, 0.062, 0.006, 0.006},     // the default throw
      {0.10, 0.20, 0.17, 0.06, 0.27, 0.07, 0.009, 0.009},   // bored crankpin, larger fillet
      {0.16, 0.24, 0.20, 0, 0.32, 0.09, 0.012, 0.012},      // small overlap, thick web
      {0.13, 0.22, 0.19, 0, 0.26, 0.062, 0.009, 0.004},     // crankpin fillet larger than the journal's
      {0.13, 0.22, 0.19, 0, 0.26, 0.062, 0.005, 0.010},     // and smaller
  };
  for (const Geometry& g : cases) {
    data_.R = g.R;
    data_.DkSh = g.DkSh;
    data_.DsSh = g.DsSh;
    data_.DsSb = g.DsSb;
    data_.H = g.H;
    data_.B = g.B;
    data_.RgalS = g.Rgal;
    data_.RgalK = g.RgalK;
    CalcConcentrationCoeffs(data_, ShippedGraphs());
    const double s = (g.DkSh / 2 + g.DsSh / 2 - g.R) / g.DsSh;
    const TM53Fillet rule = M53Fillet(s, g.B / g.DsSh, g.H / g.DsSh, g.Rgal / g.DsSh, g.DsSb / g.DsSh);
    // Interpolation in the tables; torsion also fixes the fillet radius of its overlap term.
    EXPECT_NEAR(data_.AlphaSgm_G_S / rule.bending, 1, 0.01) << data_.AlphaSgm_G_S << " vs " << rule.bending;
    EXPECT_NEAR(data_.AlphaTau_G_S / rule.torsion, 1, 0.02) << data_.AlphaTau_G_S << " vs " << rule.torsion;
  }
}

TEST_F(ConcentrationTest, CrankpinFilletBaseFactorIsReadAtTheCrankpinFilletRadius) {
  // The default throw (web 62 mm thick) with a journal fillet of 4 mm and a crankpin fillet
  // of 9 mm: the factor is the one of a 9 mm fillet whatever the journal's radius.
  data_.RgalK = 0.004;
  data_.RgalS = 0.009;
  CalcConcentrationCoeffs(data_, ShippedGraphs());
  EXPECT_EQ(data_.AlphaSgmD0, LookupGraph1D(ShippedGraphs() / "KsgmD0.kft", 0.009 / 0.062));
  EXPECT_NEAR(data_.AlphaSgmD0, 2.6026, 1e-12);
  EXPECT_NEAR(data_.AlphaSgm_G_S, 1.6714, 1e-12);
  const TEngineDataStruct unequal = data_;

  data_.RgalK = 0.009;  // equal radii, as in the bundled example
  CalcConcentrationCoeffs(data_, ShippedGraphs());
  EXPECT_EQ(data_.AlphaSgm_G_S, unequal.AlphaSgm_G_S);
  EXPECT_EQ(data_.KSgm_G_S, unequal.KSgm_G_S);

  // Read at the journal's 4 mm the factor was that of a 4 mm crankpin fillet: a base factor of
  // 3.9752 and AlphaSgm_G_S = 2.553, 53 % too high; on the unsafe side whenever the journal's
  // fillet is the larger one.
  data_.RgalK = data_.RgalS = 0.004;
  CalcConcentrationCoeffs(data_, ShippedGraphs());
  EXPECT_NEAR(data_.AlphaSgmD0, 3.9752, 1e-12);
  EXPECT_NEAR(data_.AlphaSgm_G_S, 2.553, 1e-12);
  EXPECT_NEAR(data_.AlphaSgm_G_S / unequal.AlphaSgm_G_S, std::pow(9.0 / 4, 0.5231), 0.01);  // UR M53 fB(r)
}

TEST_F(ConcentrationTest, OilHoleCoefficientsReturnToTheGrossSection) {
  // Roark's Formulas for Stress and Strain, Table 17.1, radial hole in a hollow shaft in
  // torsion: the program's net-section value divided by the net ratio is this gross value.
  auto roark = [](double x, double b) {
    return 4 + (-6.793 + 1.133 * b - 0.126 * b * b) * x + (38.382 - 7.242 * b + 6.495 * b * b) * x * x +
           (-44.576 - 7.428 * b + 58.656 * b * b) * x * x * x;
  };
  data_.DkSb = 0.088;  // Di/D = 0.4
  data_.RMaslK = 0.011;  // d/D = 0.1
  data_.RMaslS = 0.0095;  // d/D = 0.1, solid crankpin
  CalcConcentrationCoeffs(data_, ShippedGraphs());
  EXPECT_NEAR(data_.AlphaTau_M_K, roark(0.1, 0.4), 0.01);
  EXPECT_NEAR(data_.AlphaTau_M_S, roark(0.1, 0), 0.01);
  // IACS UR M53 (3.4) oil bore in bending: 3 − 5.88·0.1 + 34.6·0.01 = 2.758.
  EXPECT_NEAR(data_.AlphaSgm_M_S, 2.758, 0.01);
  // An inclined hole in torsion is never better than a radial one.
  const double radial = data_.AlphaTau_M_S;
  data_.GammaMasl = 30;
  CalcConcentrationCoeffs(data_, ShippedGraphs());
  EXPECT_GT(data_.AlphaTau_M_S, radial);
}

TEST_F(ConcentrationTest, DefaultThrowGivesTheValuesEngineersExpect) {
  // The default 8-throw engine with oil holes of 20 and 16 mm.
  data_.RMaslK = 0.01;
  data_.RMaslS = 0.008;
  CalcConcentrationCoeffs(data_, ShippedGraphs());
  // Theoretical fillet coefficients of crankshafts lie between about 1.5 and 4 (IACS UR M53
  // over its range of validity; Peterson's stepped-shaft charts for r/d of 0.03 … 0.1).
  EXPECT_TRUE(data_.AlphaSgm_G_S > 1.5 && data_.AlphaSgm_G_S < 4) << data_.AlphaSgm_G_S;
  EXPECT_TRUE(data_.AlphaTau_G_S > 1.5 && data_.AlphaTau_G_S < 4) << data_.AlphaTau_G_S;
  // Transverse holes: about 2 … 4 (3 for a small hole in bending, 4 in torsion, Peterson).
  for (double alpha : {data_.AlphaSgm_M_K, data_.AlphaTau_M_K, data_.AlphaSgm_M_S, data_.AlphaTau_M_S})
    EXPECT_TRUE(alpha >= 2 && alpha <= 4) << alpha;
  // Notch sensitivities lie between 0 and 1 by definition, and so every K between 1 and α.
  for (double q : {data_.qSigmV_S, data_.qSigmT_SigmV_S, data_.qSigmV_M_K, data_.qSigmT_SigmV_M_K,
                   data_.qSigmV_M_S, data_.qSigmT_SigmV_M_S})
    EXPECT_TRUE(q >= 0 && q <= 1) << q;
  const std::pair<double, double> pairs[] = {{data_.KSgm_G_S, data_.AlphaSgm_G_S}, {data_.KTau_G_S, data_.AlphaTau_G_S},
                                             {data_.KSgm_M_K, data_.AlphaSgm_M_K}, {data_.KTau_M_K, data_.AlphaTau_M_K},
                                             {data_.KSgm_M_S, data_.AlphaSgm_M_S}, {data_.KTau_M_S, data_.AlphaTau_M_S}};
  for (auto [k, alpha] : pairs) EXPECT_TRUE(k >= 1 && k <= alpha) << k << " " << alpha;
  // Scale factors of shafts of 190 and 220 mm: between 0.5 and 1 (handbook size-factor tables).
  for (double e : {data_.Esgm_S, data_.Etau_S, data_.Etau_K, data_.Esgm_K}) EXPECT_TRUE(e >= 0.5 && e <= 1) << e;
  EXPECT_GE(data_.Esgm_S, data_.Esgm_K);  // the thinner crankpin suffers less from size
  // ψσ = 0.02 + 2·10⁻⁴·1080 = 0.236, ψτ half of it.
  EXPECT_NEAR(data_.PsiSgm, 0.236, 1e-9);
  EXPECT_NEAR(data_.PsiTau, 0.118, 1e-9);
  EXPECT_EQ(data_.Nsh, 9);
  EXPECT_GE(data_.LamD, 1);
  // Web 0.26 × 0.062 (ratio 4.19): between Saint-Venant's 0.282 (4) and 0.299 (6).
  EXPECT_TRUE(data_.WebTorsionCoef > 0.282 && data_.WebTorsionCoef < 0.299);
}

TEST_F(ConcentrationTest, NewProjectWithTheShippedMaterialDatabaseComputes) {
  // A new project takes the first material of the database beside the program.
  ASSERT_EQ(LoadProgramSteelData(testsupport::BinDir()), "");
  TEngineDataStruct fresh;
  ASSERT_GT(fresh.ValSteel.SgmV, 0);
  CalcConcentrationCoeffs(fresh, ShippedGraphs());
  EXPECT_TRUE(fresh.AlphaSgm_G_S > 1.5 && fresh.AlphaSgm_G_S < 4);
  EXPECT_TRUE(fresh.AlphaTau_G_S > 1.5 && fresh.AlphaTau_G_S < 4);
  // No oil holes in a new project: the Kirsch values of a vanishing hole, and no notch effect.
  EXPECT_EQ(fresh.AlphaSgm_M_K, 3);
  EXPECT_EQ(fresh.AlphaTau_M_K, 4);
  EXPECT_EQ(fresh.KSgm_M_K, 1);
  for (double e : {fresh.Esgm_S, fresh.Etau_S, fresh.Etau_K, fresh.Esgm_K}) EXPECT_TRUE(e >= 0.5 && e <= 1) << e;
  EXPECT_TRUE(fresh.qSigm_S > 0 && fresh.qSigm_S <= 1);
}

// ---- refused and interrupted calculations -------------------------------------------

TEST_F(ConcentrationTest, ZeroOrNegativeDenominatorIsRefusedNamingTheInput) {
  struct Case {
    const char* input;
    void (*spoil)(TEngineDataStruct&);
  };
  const Case cases[] = {
      {"DsSh", [](TEngineDataStruct& d) { d.DsSh = 0; }},
      {"DkSh", [](TEngineDataStruct& d) { d.DkSh = -0.2; }},
      {"B", [](TEngineDataStruct& d) { d.B = 0; }},
      {"SgmV", [](TEngineDataStruct& d) { d.ValSteel.SgmV = 0; }},
      {"CoeffB", [](TEngineDataStruct& d) { d.CoeffB = 0; }},
  };
  for (const Case& c : cases) {
    TEngineDataStruct d;
    d.ValSteel = AlloySteel();
    d.AlphaSgmD0 = -1;  // sentinel: nothing may be stored
    c.spoil(d);
    try {
      CalcConcentrationCoeffs(d, ShippedGraphs());
      ADD_FAILURE() << c.input << " accepted";
    } catch (const EConcentrationInputError& e) {
      EXPECT_EQ(e.Input, c.input);
      EXPECT_NE(std::string(e.what()).find(c.input), std::string::npos);
    }
    EXPECT_EQ(d.AlphaSgmD0, -1);
  }
  // The message names the input as the geometry page does, with its unit.
  TEngineDataStruct thin;
  thin.B = 0;
  try {
    CalcConcentrationCoeffs(thin, ShippedGraphs());
    ADD_FAILURE() << "a web of no thickness was accepted";
  } catch (const EConcentrationInputError& e) {
    EXPECT_STREQ(e.what(), "Расчёт коэффициентов концентрации невозможен: толщина щеки B = 0 м, а эта величина "
                           "должна быть больше нуля");
  }
  // Entered coefficients do not divide by diameters, only by the web thickness.
  TEngineDataStruct entered;
  entered.CoeffsCalcRadio = 1;
  entered.DsSh = 0;
  EXPECT_NO_THROW(CalcConcentrationCoeffs(entered, ShippedGraphs()));
  entered.B = 0;
  EXPECT_THROW(CalcConcentrationCoeffs(entered, ShippedGraphs()), EConcentrationInputError);
}

TEST_F(ConcentrationTest, ZeroSectionRatioIsRefusedBeforeTheDivision) {
  const auto dir = AllGraphsExcept("W_W0_sgm_solid.kft");
  Write("W_W0_sgm_solid.kft", "zero\n1\n0 1\n0 0\n");
  try {
    CalcConcentrationCoeffs(data_, dir);
    FAIL();
  } catch (const EConcentrationInputError& e) {
    EXPECT_EQ(e.Input, "W_W0_sgm_K");
  }
  EXPECT_TRUE(std::isfinite(data_.AlphaSgm_M_K));
}

TEST_F(ConcentrationTest, MissingGraphStopsAtItsLookupKeepingEarlierResults) {
  data_.AlphaSgm_M_K = -1;
  data_.AlphaSgmD0 = -2;
  data_.Esgm_S = -3;
  data_.KSgm_G_S = -4;
  try {
    CalcConcentrationCoeffs(data_, AllGraphsExcept("KsgmD0.kft"));
    FAIL();
  } catch (const EGraphFileError& e) {
    EXPECT_EQ(e.FileName.filename(), "KsgmD0.kft");
  }
  EXPECT_EQ(data_.AlphaSgm_M_K, 3);  // step 2 done (no oil hole: Kirsch's 3)
  EXPECT_EQ(data_.AlphaSgmD0, -2);   // the failed lookup
  EXPECT_EQ(data_.Esgm_S, -3);       // later steps not reached
  EXPECT_EQ(data_.KSgm_G_S, -4);
}

// ---- readings outside the graphs ----------------------------------------------------

TEST_F(ConcentrationTest, BundledExampleAndANewProjectReadEveryGraphInsideItsRange) {
  TEngineDataStruct example;
  LoadProjectFile(example, testsupport::SourceDir() / "examples" / "V16-26-26.vxa");
  const TEngineDataStruct stored = example;
  EXPECT_TRUE(CalcConcentrationCoeffs(example, ShippedGraphs()).empty());
  // Its stored coefficients are what the graphs give.
  EXPECT_EQ(example.AlphaSgm_G_S, stored.AlphaSgm_G_S);
  EXPECT_EQ(example.KTau_G_S, stored.KTau_G_S);

  ASSERT_EQ(LoadProgramSteelData(testsupport::BinDir()), "");
  TEngineDataStruct fresh;
  EXPECT_TRUE(CalcConcentrationCoeffs(fresh, ShippedGraphs()).empty());
}

TEST_F(ConcentrationTest, WideWebExtrapolatesTheWebWidthCurvesWithANoteEach) {
  data_.H = 0.6;  // H/DsSh = 3.16, the web-width graphs end at 2.6
  const auto notes = CalcConcentrationCoeffs(data_, ShippedGraphs());
  std::vector<std::string> names;
  for (const TConcentrationNote& n : notes) names.push_back(n.Coefficient);
  EXPECT_EQ(names, (std::vector<std::string>{"BetSgmH", "KsiSigmH", "BetTauH_S"}));

  const TConcentrationNote& n = notes.front();
  const TGraphCurve graph = ReadGraphCurve(ShippedGraphs() / "BetsgmH.kft");
  EXPECT_EQ(n.Graph, "BetsgmH.kft");
  EXPECT_EQ(n.X.Name, "H/DsSh");
  EXPECT_DOUBLE_EQ(n.X.Value, 0.6 / 0.19);
  EXPECT_EQ(n.X.Min, graph.X.front());
  EXPECT_EQ(n.X.Max, graph.X.back());
  EXPECT_TRUE(n.Extrapolated);
  EXPECT_FALSE(n.Zeroed || n.HasParameter);
  // The value stays the straight line through the last two points of the graph.
  const std::size_t last = graph.X.size() - 1;
  const double line = Interpolate(0.6 / 0.19, graph.Y[last], graph.Y[last - 1], graph.X[last], graph.X[last - 1]);
  EXPECT_EQ(data_.BetSgmH, RoundGraphValue(line));
  EXPECT_EQ(n.Value, data_.BetSgmH);

  const std::string text = ConcentrationNoteText(n);
  for (const std::string part : {"BetSgmH", "\"BetsgmH.kft\"", "H/DsSh = 3.1579", "(график: 0.8 … 2.6)",
                                 "экстраполяция за пределы графика", "принято"})
    EXPECT_NE(text.find(part), std::string::npos) << text;
  // Nothing became 0, so the strength summary has nothing to warn of.
  EXPECT_TRUE(StrengthSummaryWarnings(notes).empty());
}

TEST_F(ConcentrationTest, FamilyValueAboveFiveBecomesZeroWithANoteAndAWarning) {
  // An eccentricity graph whose lines give 6 everywhere: read inside its range, replaced by 0.
  const auto dir = AllGraphsExcept("KtauE.kft");
  Write("KtauE.kft", "t\n1 1\n0 0 1\n0 6 6\n1 6 6\n");
  const auto notes = CalcConcentrationCoeffs(data_, dir);
  ASSERT_EQ(notes.size(), 1u);
  const TConcentrationNote& n = notes.front();
  EXPECT_EQ(n.Coefficient, "AlphaTauE_S");
  EXPECT_TRUE(n.Zeroed && n.HasParameter);
  EXPECT_FALSE(n.Extrapolated);
  EXPECT_EQ(n.GraphValue, 6);
  EXPECT_EQ(n.P.Name, "DsSb/DsSh");
  EXPECT_EQ(data_.AlphaTauE_S, 0);
  EXPECT_EQ(data_.AlphaTau_G_S, 0);  // the whole torsion coefficient of the fillet is gone
  EXPECT_NE(ConcentrationNoteText(n).find("значение вне [0, 5] заменено на 0 (по линиям графика 6)"),
            std::string::npos);
  const auto warnings = StrengthSummaryWarnings(notes);
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_EQ(warnings.front().rfind("Внимание: AlphaTauE_S = 0", 0), 0u) << warnings.front();
}

TEST_F(ConcentrationTest, NotesOfTheProjectLeaveItsDataAlone) {
  data_.H = 0.6;
  data_.BetSgmH = -1;
  EXPECT_EQ(ConcentrationNotes(data_, ShippedGraphs()).size(), 3u);
  EXPECT_EQ(data_.BetSgmH, -1);
}

// ---- listing ------------------------------------------------------------------------

TEST_F(ConcentrationTest, ListingShowsTheRatiosAndEveryCoefficient) {
  CalcConcentrationCoeffs(data_, ShippedGraphs());
  const auto lines = FormatConcentrationCoeffs(data_);
  auto has = [&lines](const std::string& prefix) {
    return std::any_of(lines.begin(), lines.end(),
                       [&prefix](const std::string& l) { return l.rfind("  " + prefix + " = ", 0) == 0; });
  };
  for (const char* name :
       {"H/DsSh", "B/DsSh", "RgalS/B", "Delta/DsSh", "dK/DkSh", "SgmT/SgmV", "qSigmV_S", "qSigmT_SigmV_S", "qSigm_S",
        "qTau_S", "qSigm_M_K", "qTau_M_S", "AlphaSgm_M_K", "AlphaTau_M_K", "KSgm_M_K", "KTau_M_K", "AlphaSgm_M_S",
        "AlphaTau_M_S", "KSgm_M_S", "KTau_M_S", "AlphaSgmD0", "BetSgmH", "BetSgmDvn", "AlphaSgmE", "BetSgmE",
        "BetSgmD1", "KsiSigmH", "BetSgmD", "AlphaSgm_G_S", "KSgm_G_S", "AlphaTau0_S", "BetTauH_S", "BetTauB_S",
        "AlphaTauE_S", "BetTauD_S", "AlphaTau_G_S", "KTau_G_S", "Esgm_S", "Etau_S", "Etau_K", "Esgm_K", "PsiSgm",
        "PsiTau", "Nsh", "LamD", "W_W0_tau_K", "W_W0_sgm_K", "W_W0_tau_S", "W_W0_sgm_S", "ASTG_ASTG0",
        "WebTorsionCoef", "Knu"})
    EXPECT_TRUE(has(name)) << name;
  EXPECT_NE(std::find(lines.begin(), lines.end(), "  BetSgmE = 1"), lines.end());
  // A zero denominator is shown as such, not as infinity.
  data_.DsSh = 0;
  for (const std::string& line : FormatConcentrationCoeffs(data_)) EXPECT_EQ(line.find("inf"), std::string::npos) << line;
}

TEST(HardeningFactorTest, ShotPeeningReadsTheGraphAtOne) {
  const auto dir = GraphDirectory(testsupport::BinDir());
  EXPECT_EQ(HardeningFactor(dir, 1), LookupGraph1D(dir / "Knu.kft", 1));
  EXPECT_EQ(HardeningFactor(dir, 0), 1);
}

}  // namespace
