// The grids of the torsional results on the calculated example: their shapes follow the model
// (modes, harmonics, resonances in range, throws), resonances out of range read "-", and the
// summary's Sum(ai)^2 is filled.
#include <gtest/gtest.h>

#include <numbers>

#include "ModeShapeUnit.h"
#include "NumberFormatUnit.h"
#include "ProjectCalcUnit.h"
#include "TestSupport.h"
#include "TorsionTablesUnit.h"

namespace {

class TorsionTablesTest : public ::testing::Test {
 protected:
  const TOscillCalcStruct& model = *testsupport::CalculatedExample().OscillCalc;
  const int throws = model.Data.NSec;
  const std::size_t harmonics = model.Calc->HarmOrders.size();
  std::vector<std::pair<int, int>> resonances = ResonanceList(model);
};

TEST_F(TorsionTablesTest, ResonanceListHoldsExactlyThePairsInTheSpeedRange) {
  std::size_t inRange = 0;
  for (int l = 1; l < model.NModes(); ++l)
    for (std::size_t j = 0; j < harmonics; ++j) {
      const double speed = model.Omega[l] / model.Calc->HarmOrders[j] * 30 / std::numbers::pi;
      if (model.Data.nMin <= speed && speed <= model.Data.nMax) ++inRange;
    }
  EXPECT_EQ(resonances.size(), inRange);
  EXPECT_TRUE(std::is_sorted(resonances.begin(), resonances.end()));
}

TEST_F(TorsionTablesTest, ResonanceSpeedsGridHasAColumnPerModeAndARowPerHarmonic) {
  const TResultTable table = ResonanceSpeedTable(model);
  ASSERT_EQ(table.Columns.size(), static_cast<std::size_t>(model.NModes()));
  EXPECT_EQ(table.Columns[0].Caption, "k \\ L");
  ASSERT_EQ(table.Rows.size(), harmonics);
  std::size_t shown = 0;
  for (const TResultRow& row : table.Rows)
    for (const std::string& cell : row.Cells) shown += cell != "-";
  EXPECT_EQ(shown, resonances.size());
  const auto [l, j] = resonances.front();
  EXPECT_EQ(table.Rows[j].Cells[l - 1], FormatSignificant(model.ResonanceSpeed(l, j), 4));
}

TEST_F(TorsionTablesTest, ModesGridHoldsTheFrequenciesAndEveryMass) {
  const TResultTable table = ModeShapeTable(model);
  EXPECT_EQ(table.Columns.size(), static_cast<std::size_t>(model.NModes()) + 1);
  EXPECT_EQ(table.Rows.size(), model.Modes[0].size() + 1);
  EXPECT_EQ(table.Rows[0].Caption, "m \\ L");
  EXPECT_EQ(table.Columns[2].Caption, FormatSignificant(model.Omega[1], 4));
  EXPECT_EQ(table.Rows[3].Cells[1], FormatSignificant(model.Modes[1][2], 4));
}

TEST_F(TorsionTablesTest, PerResonanceGridsHaveARowPerResonanceAndTheModeOnceAGroup) {
  const TResultTable tau = SectionStressTable(model), mk = HarmonicTable(model, THarmonicPart::Mk);
  ASSERT_EQ(tau.Rows.size(), resonances.size());
  EXPECT_EQ(tau.Columns.size(), static_cast<std::size_t>(throws) + 3);
  EXPECT_EQ(tau.Columns.back().Caption, "i=" + std::to_string(throws + 1));
  EXPECT_EQ(mk.Columns.size(), static_cast<std::size_t>(throws) + 2);
  for (std::size_t r = 0; r < resonances.size(); ++r) {
    const bool first = r == 0 || resonances[r - 1].first != resonances[r].first;
    EXPECT_EQ(tau.Rows[r].Caption, first ? std::to_string(resonances[r].first) : std::string()) << r;
  }
  const auto [l, j] = resonances.front();
  const int f = model.Data.NFirstMass - 1;
  EXPECT_EQ(tau.Rows[0].Cells[1], FormatSignificant(model.SectTau[l][j][f] / 1e6, 4));
  EXPECT_EQ(mk.Rows[0].Cells[1], FormatSignificant(model.Mk[l][j][0], 4));
}

TEST_F(TorsionTablesTest, AmplitudeIsTheModeTimesTheResonantAmplitude) {
  const TResultTable table = AmplitudeTable(model);
  const auto [l, j] = resonances.front();
  const int f = model.Data.NFirstMass - 1;
  // The first motor mass carries the reference amplitude itself (its mode value is 1).
  EXPECT_EQ(table.Rows[0].Cells[1], FormatSignificant(model.ResAmpl[j][l], 4));
  EXPECT_EQ(table.Rows[0].Cells[2], FormatSignificant(model.Modes[l][f + 1] * model.ResAmpl[j][l], 4));
}

TEST_F(TorsionTablesTest, SummaryFillsSumOfSquaredAmplitudesAndTheEnergyBalance) {
  const TResultTable table = ResonanceSummaryTable(model);
  ASSERT_EQ(table.Columns.size(), 7u);
  EXPECT_EQ(table.Columns[3].Caption, "Sum(ai)^2");
  const auto [l, j] = resonances.front();
  const TResultRow& row = table.Rows[0];
  EXPECT_EQ(row.Cells[1], FormatSignificant(model.AkMax[j][l] / std::numbers::pi, 4));
  EXPECT_EQ(row.Cells[2], FormatSignificant(SumSquaredAmplitudes(model, l), 4));
  EXPECT_NE(row.Cells[2], "0");
  // The resonant amplitude balances excitation and damping work.
  EXPECT_NEAR(model.ResAmpl[j][l], model.AkMax[j][l] / model.Aksi[j][l], 1e-9 * model.ResAmpl[j][l]);
  EXPECT_EQ(row.Cells[5], FormatSignificant(model.ResAmpl[j][l], 4));
}

}  // namespace
