// The result tables of a run calculated on a synthetic cycle: their layout for one-throw and
// V engines, the bracketed split values, the formats and the smallest factor of each row.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "EVexaErrorUnit.h"
#include "NumberFormatUnit.h"
#include "ResultTablesUnit.h"
#include "TestSupport.h"

namespace {

constexpr double Pi = std::numbers::pi;
constexpr double Deg = Pi / 180;

class ResultTablesTest : public ::testing::Test {
 protected:
  TEngineDataStruct engine;
  std::unique_ptr<TDynamicCalcStruct> run;

  // A run of `sections` throws and `rows` side-by-side rods, calculated with the split
  // scheme's moments standing in for the beam's, and a right-journal bending moment.
  void calculate(int sections, int rows) {
    engine.NSec = static_cast<std::uint8_t>(sections);
    engine.NRad = static_cast<std::uint8_t>(rows);
    engine.Disposition = 0;
    for (int s = 1; s <= sections; ++s)
      for (int r = 1; r <= rows; ++r) engine.FireAngle[s][r] = ((s - 1) * 180 + (r - 1) * 90) * Deg;
    run = testsupport::SyntheticLoadedRun(engine);
    for (auto& c : run->Cranks) {
      c->X1 = c->XSum;
      c->Y1 = c->YSum;
      for (std::size_t i = 0; i < c->MX2.size(); ++i) c->MX2[i] = 2e4 * std::sin(static_cast<double>(i) * Deg);
      for (auto& cyl : c->Cylinders) cyl->MXss = c->X1, cyl->MYss = c->Y1;
    }
    run->ComputeStrength();
  }
  static std::vector<std::string> captions(const TResultTable& table) {
    std::vector<std::string> list;
    for (const TResultRow& row : table.Rows) list.push_back(row.Caption);
    return list;
  }
  static const TResultRow& row(const TResultTable& table, const std::string& caption, int occurrence = 0) {
    for (const TResultRow& r : table.Rows)
      if (r.Caption == caption && occurrence-- == 0) return r;
    throw std::out_of_range("no row " + caption);
  }
  static int count(const std::vector<std::string>& list, const std::string& text) {
    return static_cast<int>(std::count(list.begin(), list.end(), text));
  }
  static std::string pair(double main, double split) {
    return FormatResult(main) + " (" + FormatResult(split) + ")";
  }
};

TEST_F(ResultTablesTest, OneThrowEngineHasOneColumnAndOneGroupOfSections) {
  calculate(1, 1);
  const TResultTable safety = SafetyTable(*run), stress = StressTable(*run), moments = MomentsTable(*run);
  ASSERT_EQ(safety.Columns.size(), 3u);
  EXPECT_EQ(safety.Columns[1].Caption, "Секция 1");
  EXPECT_EQ(safety.Columns[2].Caption, "Мин. значение");
  EXPECT_EQ(stress.Columns.size(), 2u);
  EXPECT_EQ(safety.Rows.size(), 12u);
  EXPECT_EQ(stress.Rows.size(), 12u);
  for (const TResultRow& r : safety.Rows) EXPECT_EQ(r.Cells.size(), 2u) << r.Caption;
  const auto names = captions(moments);
  EXPECT_EQ(count(names, "Изгибающий момент M0 в шатунной шейке (M0.ss), Нм (Сечение 0)"), 1);
  EXPECT_EQ(count(names, "Изгибающий момент M0 в шатунной шейке (M0.ss), Нм (Сечение 1)"), 0);
  EXPECT_EQ(count(captions(stress), "Изгиб шатунной шейки (амплитуда), Сечение 0, МПа"), 1);
  EXPECT_THROW(CylinderForcesTable(*run, 2), std::out_of_range);
  EXPECT_NO_THROW(CylinderForcesTable(*run, 1));
}

TEST_F(ResultTablesTest, VEngineShowsBothRowsOfEveryThrow) {
  calculate(3, 2);
  const TResultTable safety = SafetyTable(*run);
  EXPECT_EQ(safety.Columns.size(), 5u);
  const std::vector<std::string> expected = {
      "Кручение правой коренной шейки (масл. отв.)",
      "Изгиб правой коренной шейки (масл. отв.)",
      "Общий запас правой коренной шейки (масл. отв.)",
      "Кручение в левой галтели шатунной шейки",
      "Изгиб в левой галтели шатунной шейки в плоскости колена",
      "Общий запас в левой галтели шатунной шейки",
      "Кручение шатунной шейки (масл. отв.), Сечение 0",
      "Изгиб шатунной шейки (масл. отв.), Сечение 0",
      "Общий запас шатунной шейки (масл. отв.), Сечение 0",
      "Кручение шатунной шейки (масл. отв.), Сечение 1",
      "Изгиб шатунной шейки (масл. отв.), Сечение 1",
      "Общий запас шатунной шейки (масл. отв.), Сечение 1",
      "Кручение в правой галтели шатунной шейки",
      "Изгиб в правой галтели шатунной шейки в плоскости колена",
      "Общий запас в правой галтели шатунной шейки"};
  EXPECT_EQ(captions(safety), expected);
  // Section 1 is the row-2 cylinder of each throw.
  for (int v = 0; v < 3; ++v) {
    const TCylinder& second = *run->Cranks[static_cast<std::size_t>(v)]->Cylinders[1];
    EXPECT_EQ(row(safety, "Изгиб шатунной шейки (масл. отв.), Сечение 1").Cells[static_cast<std::size_t>(v)],
              pair(second.NSgmSs, second.SplitNSgmSs));
  }
  const TResultTable stress = StressTable(*run);
  EXPECT_EQ(stress.Rows.size(), 14u);
  EXPECT_EQ(count(captions(stress), "Изгиб шатунной шейки (среднее значение), Сечение 1, МПа"), 1);
  // 8 support moments, 2 torques, 5 crankpin moments per row, 2 fillets; 8 rows each; 2 more.
  EXPECT_EQ(MomentsTable(*run).Rows.size(), (8u + 2 + 5 * 2 + 2) * 8 + 2);
}

TEST_F(ResultTablesTest, StressCellsShowContinuousAndSplitValuesInMegapascals) {
  calculate(2, 1);
  // A steady 40 kN·m on the right journal of throw 2 against 20 kN·m by the split scheme:
  // τm = 16·T/(π·d³).
  TCrank& c = *run->Cranks[1];
  std::fill(c.Mkks2.begin(), c.Mkks2.end(), 40000.0);
  std::fill(c.SplitMkks.begin(), c.SplitMkks.end(), 20000.0);
  run->ComputeStrength();
  const double wp = Pi * std::pow(engine.DkSh, 3) / 16;
  const TResultTable stress = StressTable(*run);
  EXPECT_EQ(row(stress, "Кручение правой коренной шейки (среднее значение), МПа").Cells[1],
            pair(40000 / wp / 1e6, 20000 / wp / 1e6));
  EXPECT_EQ(row(stress, "Кручение правой коренной шейки (амплитуда), МПа").Cells[1], "0 (0)");
  // The split scheme has no journal bending.
  const std::string bending = row(stress, "Изгиб правой коренной шейки (амплитуда), МПа").Cells[0];
  EXPECT_EQ(bending, FormatResult(c.SgmAKs / 1e6) + " (0)");
  EXPECT_NEAR(std::stod(bending), 32 * 2e4 / (Pi * std::pow(engine.DkSh, 3)) / 1e6, 0.01);
}

TEST_F(ResultTablesTest, SafetyCellsShowTheUnlimitedFactorAsANumber) {
  calculate(2, 1);
  const TResultTable safety = SafetyTable(*run);
  const TCrank& c = *run->Cranks[0];
  EXPECT_EQ(row(safety, "Изгиб правой коренной шейки (масл. отв.)").Cells[0],
            FormatResult(c.NSgmKs) + " (1e+30)");
  EXPECT_EQ(row(safety, "Общий запас правой коренной шейки (масл. отв.)").Cells[0], pair(c.NKs, c.SplitNTauKs));

  // A throw without any load: unlimited factors, combined to 10³⁰/√2.
  TCrank& idle = *run->Cranks[1];
  for (auto* h : {&idle.Mkks2, &idle.Mkss, &idle.MZgalss1, &idle.MZgalss2, &idle.MX2, &idle.SplitMkks,
                  &idle.SplitMkss, &idle.SplitMZgal1, &idle.SplitMZgal2})
    std::fill(h->begin(), h->end(), 0.0);
  for (auto& cyl : idle.Cylinders)
    for (auto* h : {&cyl->MXss, &cyl->MYss, &cyl->SplitMZss, &cyl->SplitMTss}) std::fill(h->begin(), h->end(), 0.0);
  run->ComputeStrength();
  const TResultTable idleSafety = SafetyTable(*run);
  EXPECT_EQ(row(idleSafety, "Изгиб правой коренной шейки (масл. отв.)").Cells[1], "1e+30 (1e+30)");
  EXPECT_EQ(row(idleSafety, "Общий запас правой коренной шейки (масл. отв.)").Cells[1], "7.071e+29 (1e+30)");
  EXPECT_EQ(row(idleSafety, "Общий запас в левой галтели шатунной шейки").Cells[1], "7.071e+29 (7.071e+29)");
}

TEST_F(ResultTablesTest, LastColumnHoldsTheSmallestFactorOfEachRow) {
  calculate(3, 2);
  const TResultTable safety = SafetyTable(*run);
  for (const TResultRow& r : safety.Rows) {
    ASSERT_EQ(r.Cells.size(), 4u);
    double smallest = 1e300, smallestSplit = 1e300;
    for (std::size_t v = 0; v < 3; ++v) {
      const std::string& cell = r.Cells[v];
      smallest = std::min(smallest, std::stod(cell));
      smallestSplit = std::min(smallestSplit, std::stod(cell.substr(cell.find('(') + 1)));
    }
    EXPECT_EQ(r.Cells[3], pair(smallest, smallestSplit)) << r.Caption;
  }
}

TEST_F(ResultTablesTest, StatisticBlocksGiveExtremesWithTheirAnglesAndSplitValues) {
  calculate(2, 1);
  const TResultTable forces = ForcesTable(*run);
  const auto names = captions(forces);
  const auto title = std::find(names.begin(), names.end(), "Реакция T левой опоры (T1), МПа");
  ASSERT_NE(title, names.end());
  const std::vector<std::string> block(title, title + 8);
  EXPECT_EQ(block, (std::vector<std::string>{"Реакция T левой опоры (T1), МПа", "Макc. значение",
                                              "Угол, при котором оно достигается, град", "Мин. значение",
                                              "Угол, при котором оно достигается, град", "Среднее значение",
                                              "Амплитуда", ""}));
  const auto at = static_cast<std::size_t>(title - names.begin());
  const TCrank& c = *run->Cranks[1];
  // T1 is the throw's summed tangential force here (the reaction was the crankpin force).
  const auto peak = std::max_element(c.TSum.begin(), c.TSum.end()) - c.TSum.begin();
  EXPECT_EQ(forces.Rows[at].Cells, (std::vector<std::string>{"", ""}));
  EXPECT_EQ(forces.Rows[at + 1].Cells[1], FormatFixed(c.T1Stat.MaxValue, 3, 3) + " (" +
                                              FormatFixed(c.SplitT1Stat.MaxValue, 3, 3) + ")");
  EXPECT_EQ(forces.Rows[at + 2].Cells[1],
            FormatResult(static_cast<double>(peak)) + " (" +
                FormatResult(c.SplitT1Stat.MaxIndex) + ")");
  // Blocks without a split value have plain cells.
  EXPECT_EQ(row(forces, "Мин. значение").Cells[0], FormatFixed(run->Cranks[0]->TSumStat.MinValue, 3, 3));
}

TEST_F(ResultTablesTest, PowerRowShowsKilowattsAndHorsePower) {
  calculate(1, 1);
  TCrank& c = *run->Cranks[0];
  // T·ω = 1 MW at 1000 rpm; the mean over the last step index adds 720/719.
  std::fill(c.Mkks2.begin(), c.Mkks2.end(), 1e6 / (1000 * Pi / 30));
  run->ComputeStrength();
  const TResultTable moments = MomentsTable(*run);
  const TResultRow& power = moments.Rows.back();
  EXPECT_EQ(power.Caption, "Полученная мощность (N), кВт (л.с.)");
  EXPECT_NEAR(c.Power, 1e6 * 720 / 719, 1e-3);
  const std::string& cell = power.Cells[0];
  EXPECT_EQ(cell.substr(0, cell.find(' ')), FormatFixed(c.Power / 1000, 3));
  EXPECT_NEAR(std::stod(cell.substr(cell.find('(') + 1)), c.Power / 733, 1e-3);  // 0.733 kW per hp
  EXPECT_EQ(moments.Rows[moments.Rows.size() - 2].Cells[0], FormatFixed(c.MkksMean, 3));
}

TEST_F(ResultTablesTest, CylinderTableListsEveryStepButTheLastUnderItsHeader) {
  calculate(2, 2);
  const TResultTable table = CylinderForcesTable(*run, 3);  // row 2 of throw 1
  const TCylinder& cyl = *run->Cranks[0]->Cylinders[1];
  ASSERT_EQ(table.Rows.size(), 719u);
  ASSERT_EQ(table.Columns.size(), 8u);
  EXPECT_EQ(table.Columns[4].Caption, "K,  МПа");
  EXPECT_EQ(table.Columns[5].Caption, "N,  МПа");
  const TResultRow& r = table.Rows[100];
  EXPECT_EQ(r.Caption, FormatResult(cyl.Alpha[100] / Deg));
  EXPECT_EQ(r.Cells, (std::vector<std::string>{FormatFixed(cyl.P[100], 3, 3), FormatFixed(cyl.Pj[100], 3, 3),
                                                FormatFixed(cyl.Ps[100], 3, 3), FormatFixed(cyl.K[100], 3, 3),
                                                FormatFixed(cyl.N[100], 3, 3), FormatFixed(cyl.T[100], 3, 3),
                                                FormatFixed(cyl.Z[100], 3, 3)}));
}

TEST_F(ResultTablesTest, RunWithoutResultsIsRefusedWithMessageSix) {
  TDynamicCalcStruct empty(engine);
  EXPECT_THROW(SafetyTable(empty), TEVexaError);
  EXPECT_THROW(CylinderForcesTable(empty, 1), TEVexaError);
}

}  // namespace
