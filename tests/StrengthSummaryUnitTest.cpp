// The general conclusion on strength over a design run and resonance runs whose safety
// factors are set by hand: minima over throws and runs, ties, the unlimited factor.
#include <gtest/gtest.h>

#include "EVexaErrorUnit.h"
#include "StrengthSummaryUnit.h"

namespace {

class StrengthSummaryTest : public ::testing::Test {
 protected:
  TEngineDataStruct engine;
  TDynamicCalcArray runs;

  void SetUp() override {
    engine.NSec = 3;
    engine.NRad = 2;
    engine.Disposition = 0;
  }
  // A run of three throws whose every factor is `factor`, at the given speed.
  TDynamicCalcStruct& addRun(double speed, double factor) {
    runs.push_back(std::make_unique<TDynamicCalcStruct>(engine));
    TDynamicCalcStruct& run = *runs.back();
    run.AngleGrid.assign(4, 0.0);
    run.CreateCranks();
    run.N = speed;
    for (auto& c : run.Cranks) {
      for (double* n : {&c->NTauKs, &c->NSgmKs, &c->NKs, &c->NTauSs, &c->NSgmGal1, &c->NGal1, &c->NSgmGal2, &c->NGal2})
        *n = factor;
      for (auto& cyl : c->Cylinders) cyl->NSgmSs = cyl->NSs = factor;
    }
    return run;
  }
};

TEST_F(StrengthSummaryTest, TenLinesInTheirOrder) {
  addRun(1000, 3);
  const auto lines = StrengthSummary(runs);
  ASSERT_EQ(lines.size(), 10u);
  EXPECT_EQ(lines[0].Caption, "Кручение правой коренной шейки (масл. отв.)");
  EXPECT_EQ(lines[4].Caption, "Изгиб шатунной шейки (масл. отв.), Сечение ");
  EXPECT_EQ(lines[9].Caption, "Общий запас в правой галтели шатунной шейки");
  EXPECT_EQ(lines[9].Design, "3 в секции №1");
}

TEST_F(StrengthSummaryTest, WithoutResonanceRunsTheResonanceColumnIsUnlimitedAtSpeedZero) {
  TDynamicCalcStruct& design = addRun(1000, 4);
  design.Cranks[2]->NGal1 = 1.875;
  for (const auto& line : StrengthSummary(runs)) {
    const std::string section = line.Caption == "Общий запас в левой галтели шатунной шейки" ? "3" : "1";
    EXPECT_EQ(line.Resonance, "1e+30 в секции №" + section + " на частоте 0 об/мин") << line.Caption;
  }
  EXPECT_EQ(StrengthSummary(runs)[7].Design, "1.875 в секции №3");
}

TEST_F(StrengthSummaryTest, CrankpinLinesTakeTheSmallestOverCylindersAndThrows) {
  TDynamicCalcStruct& design = addRun(1000, 5);
  design.Cranks[1]->Cylinders[1]->NSgmSs = 2.25;  // row 2 of throw 2
  design.Cranks[2]->Cylinders[0]->NSs = 1.5;      // row 1 of throw 3
  const auto lines = StrengthSummary(runs);
  EXPECT_EQ(lines[4].Design, "2.25 в секции №2");
  EXPECT_EQ(lines[5].Design, "1.5 в секции №3");
  EXPECT_EQ(lines[3].Design, "5 в секции №1");
}

TEST_F(StrengthSummaryTest, EqualMinimaKeepTheLowerSectionAndTheEarlierRun) {
  TDynamicCalcStruct& design = addRun(1000, 6);
  design.Cranks[1]->NKs = 2.5;
  design.Cranks[2]->NKs = 2.5;
  addRun(612.5, 9).Cranks[2]->NKs = 1.75;
  addRun(843, 9).Cranks[0]->NKs = 1.75;   // as small, later run
  addRun(455, 9).Cranks[1]->NKs = 1.875;  // larger
  const auto lines = StrengthSummary(runs);
  EXPECT_EQ(lines[2].Design, "2.5 в секции №2");
  EXPECT_EQ(lines[2].Resonance, "1.75 в секции №3 на частоте 612.5 об/мин");
  EXPECT_EQ(lines[0].Resonance, "9 в секции №1 на частоте 612.5 об/мин");
}

TEST_F(StrengthSummaryTest, UnlimitedFactorIsShownAsANumber) {
  addRun(1000, 1e30);
  addRun(700, 1e30);
  const auto lines = StrengthSummary(runs);
  EXPECT_EQ(lines[1].Design, "1e+30 в секции №1");
  // 10³⁰ of a resonance run is not smaller than the start value: the speed stays 0.
  EXPECT_EQ(lines[1].Resonance, "1e+30 в секции №1 на частоте 0 об/мин");
  const auto text = StrengthSummaryLines(runs);
  EXPECT_EQ(text[0], "Кручение правой коренной шейки (масл. отв.) | 1e+30 в секции №1 | "
                     "1e+30 в секции №1 на частоте 0 об/мин");
}

TEST_F(StrengthSummaryTest, NoCalculationIsRefusedWithMessageSix) {
  EXPECT_THROW(StrengthSummary(runs), TEVexaError);
  runs.push_back(std::make_unique<TDynamicCalcStruct>(engine));  // created, never prepared
  try {
    StrengthSummary(runs);
    FAIL() << "no error";
  } catch (const TEVexaError& error) {
    EXPECT_EQ(error.Code, ErrNoResults);
  }
}

TEST(StrengthSummaryWarningsTest, OnlyAFactorThatBecameZeroIsAWarning) {
  TConcentrationNote extrapolated;
  extrapolated.Coefficient = "BetSgmH";
  extrapolated.Extrapolated = true;
  extrapolated.Value = 1.2;
  TConcentrationNote zeroed;
  zeroed.Coefficient = "qSigmV_S";
  zeroed.Graph = "q(r, SgmV).kft";
  zeroed.Extrapolated = zeroed.Zeroed = true;
  const auto warnings = StrengthSummaryWarnings({extrapolated, zeroed});
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_NE(warnings[0].find("qSigmV_S = 0"), std::string::npos) << warnings[0];
  EXPECT_NE(warnings[0].find("\"q(r, SgmV).kft\""), std::string::npos) << warnings[0];
  EXPECT_TRUE(StrengthSummaryWarnings({}).empty());
}

}  // namespace
