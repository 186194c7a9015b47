// Mode-shape curves over the reduced length on a hand-made chain of five masses, and the sum of
// the squared motor-mass amplitudes.
#include <gtest/gtest.h>

#include "EngineDataStructUnit.h"
#include "ModeShapeUnit.h"

namespace {

class ModeShapeTest : public ::testing::Test {
 protected:
  TEngineDataStruct engine;
  std::unique_ptr<TOscillCalcStruct> model;

  void SetUp() override {
    engine.NSec = 2;
    engine.NFirstMass = 2;  // motor masses 2 and 3, then mass 4
    model = std::make_unique<TOscillCalcStruct>(engine);
    model->Omega = {0, 100, 250};
    model->Modes = {{1, 1, 1, 1, 1}, {0.5, 1, 0.25, -0.5, -2}, {-1, 1, 0, 0.75, 3}};
    // Section k joins masses k and k+1 (1-based); section 3 has no stiffness to show.
    model->RedLength = {0, 0.4, 0.3, 0, 0.2};
  }
};

TEST_F(ModeShapeTest, AllMassesAdvanceByTheReducedLengthsAndSkipASectionWithoutLength) {
  const auto points = ModeShapePoints(*model, 1, false);
  // Mass 3's section is empty: it is left out, the position still moves on; mass 5 ends the chain.
  const std::vector<std::pair<double, double>> expected = {{0, 0.5}, {0.4, 1}, {0.7, -0.5}, {0.9, -2}};
  ASSERT_EQ(points.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_NEAR(points[i].first, expected[i].first, 1e-12) << i;
    EXPECT_EQ(points[i].second, expected[i].second) << i;
  }
}

TEST_F(ModeShapeTest, MotorMassesStartAtZeroAtTheFirstMotorMassAndTakeTheMassAfterThem) {
  const auto points = ModeShapePoints(*model, 2, true);
  // Masses 2, 3, 4: mass 3 skipped (no section to its right).
  ASSERT_EQ(points.size(), 2u);
  EXPECT_EQ(points[0], std::make_pair(0.0, 1.0));
  EXPECT_NEAR(points[1].first, 0.3, 1e-12);
  EXPECT_EQ(points[1].second, 0.75);
}

TEST_F(ModeShapeTest, LastMotorMassAtTheEndOfTheChainStopsWithoutReadingBeyondIt) {
  engine.NFirstMass = 4;  // motor masses 4 and 5: the mass after them does not exist
  const auto points = ModeShapePoints(*model, 1, true);
  ASSERT_EQ(points.size(), 2u);
  EXPECT_EQ(points.back(), std::make_pair(0.2, -2.0));
}

TEST_F(ModeShapeTest, SumOfSquaresCoversTheMotorMassesOnly) {
  EXPECT_DOUBLE_EQ(SumSquaredAmplitudes(*model, 1), 1 + 0.0625);
  EXPECT_DOUBLE_EQ(SumSquaredAmplitudes(*model, 2), 1 + 0);
}

}  // namespace
