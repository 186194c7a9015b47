// The vector diagram of a resonance on the calculated example: the resultant is the excitation
// the resonance calculation balanced, summed here from the harmonic analysis of every throw.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "ProjectCalcUnit.h"
#include "TestSupport.h"
#include "TorsionTablesUnit.h"
#include "VectorDiagramUnit.h"

namespace {

class VectorDiagramTest : public ::testing::Test {
 protected:
  const TOscillCalcStruct& model = *testsupport::CalculatedExample().OscillCalc;
  std::vector<std::pair<int, int>> resonances = ResonanceList(model);
  void SetUp() override { ASSERT_FALSE(resonances.empty()); }
};

TEST_F(VectorDiagramTest, ResultantIsTheSumOfEveryThrowsHarmonicTorqueTimesItsAmplitude) {
  const TEngineDataStruct& d = model.Data;
  for (const auto& [l, j] : resonances) {
    const TVectorDiagram diagram = VectorDiagram(model, l, j, false);
    ASSERT_EQ(diagram.Arrows.size(), static_cast<std::size_t>(d.NSec) + 1);
    // Mk·a·(sin νφ, cos νφ) from the amplitude and phase of the Fourier analysis.
    const double nu = model.Calc->HarmOrders[static_cast<std::size_t>(j)];
    double x = 0, y = 0;
    for (int v = 0; v < d.NSec; ++v) {
      const double mk = model.Mk[l][j][v], phase = model.Alphak[l][j][v];
      const double a = model.Modes[l][d.NFirstMass - 1 + v];
      x += mk * a * std::sin(nu * phase);
      y += mk * a * std::cos(nu * phase);
    }
    const TVectorArrow& sum = diagram.Arrows.back();
    EXPECT_EQ(sum.Label, "Sum");
    EXPECT_EQ(sum.X0, 0);
    EXPECT_EQ(sum.Y0, 0);
    const double scale = std::hypot(x, y) + 1;
    EXPECT_NEAR(sum.X1, x, 1e-9 * scale);
    EXPECT_NEAR(sum.Y1, y, 1e-9 * scale);
    // The excitation work of the energy balance is π times the resultant's length.
    EXPECT_NEAR(std::hypot(sum.X1, sum.Y1), model.AkMax[j][l] / std::numbers::pi, 1e-9 * scale);
  }
}

TEST_F(VectorDiagramTest, VectorFormChainsTheArrowsHeadToTail) {
  const auto [l, j] = resonances.front();
  const TVectorDiagram diagram = VectorDiagram(model, l, j, false);
  for (std::size_t i = 1; i + 1 < diagram.Arrows.size(); ++i) {
    EXPECT_EQ(diagram.Arrows[i].X0, diagram.Arrows[i - 1].X1);
    EXPECT_EQ(diagram.Arrows[i].Y0, diagram.Arrows[i - 1].Y1);
    EXPECT_EQ(diagram.Arrows[i].Label, std::to_string(i + 1));
  }
}

TEST_F(VectorDiagramTest, PhaseFormDrawsTheSameContributionsFromTheOrigin) {
  const auto [l, j] = resonances.front();
  const TVectorDiagram chain = VectorDiagram(model, l, j, false), phase = VectorDiagram(model, l, j, true);
  ASSERT_EQ(phase.Arrows.size(), chain.Arrows.size() - 1);
  double extent = 0;
  for (std::size_t i = 0; i < phase.Arrows.size(); ++i) {
    EXPECT_EQ(phase.Arrows[i].X0, 0);
    EXPECT_EQ(phase.Arrows[i].Y0, 0);
    EXPECT_NEAR(phase.Arrows[i].X1, chain.Arrows[i].X1 - chain.Arrows[i].X0, 1e-9);
    EXPECT_NEAR(phase.Arrows[i].Y1, chain.Arrows[i].Y1 - chain.Arrows[i].Y0, 1e-9);
    extent = std::max({extent, std::abs(phase.Arrows[i].X1), std::abs(phase.Arrows[i].Y1)});
  }
  EXPECT_EQ(phase.Extent, extent);
  EXPECT_EQ(phase.Order, chain.Order);
}

TEST_F(VectorDiagramTest, ResonanceOutsideTheSpeedRangeDrawsNoArrowsButKeepsTheOrder) {
  for (int l = 1; l < model.NModes(); ++l)
    for (int j = 0; j < static_cast<int>(model.Calc->HarmOrders.size()); ++j)
      if (!model.IsResonance(l, j)) {
        const TVectorDiagram diagram = VectorDiagram(model, l, j, false);
        EXPECT_FALSE(diagram.InRange);
        EXPECT_TRUE(diagram.Arrows.empty());
        EXPECT_EQ(diagram.Extent, 0);
        EXPECT_EQ(diagram.Order, model.Calc->HarmOrders[j]);
        return;
      }
  GTEST_SKIP() << "every resonance of the example lies in its speed range";
}

TEST_F(VectorDiagramTest, ModeOutsideTheModelIsRefused) {
  EXPECT_THROW(VectorDiagram(model, 0, 0, false), std::out_of_range);
  EXPECT_THROW(VectorDiagram(model, model.NModes(), 0, false), std::out_of_range);
}

}  // namespace
