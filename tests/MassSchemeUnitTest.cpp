// The masses page's picture of the reduced crank system: discs sized by mass, the masses at
// their radii and angles.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "MassSchemeUnit.h"

namespace {

const TSketchItem* find(const TSketch& sketch, TSketchKind kind, const std::string& field) {
  for (const TSketchItem& item : sketch.Items)
    if (item.Kind == kind && item.Field == field) return &item;
  return nullptr;
}

}  // namespace

TEST(MassScheme, DiscAreaGrowsInProportionToTheMass) {
  EXPECT_DOUBLE_EQ(MassDiscRadius(100, 100, 2), 2);
  const double r1 = MassDiscRadius(25, 100, 2), r2 = MassDiscRadius(100, 100, 2);
  EXPECT_NEAR(r1 * r1 / (r2 * r2), 0.25, 1e-12);
  EXPECT_EQ(MassDiscRadius(0, 100, 2), 0);
  EXPECT_EQ(MassDiscRadius(-5, 100, 2), 0);
}

TEST(MassScheme, CounterweightAtZeroAngleHangsOppositeTheCrankpin) {
  // The example's counterweights balance the crank with Alphaпр = 0 (its documented layout).
  const double r = 0.13;
  const TSketch sketch = MassSchemeSketch(r, {{0, 0.58, 1000, 1400}}, {{500, 0.05, 600, 0.2, 0}});
  const TSketchItem* counterweight = find(sketch, TSketchKind::Circle, "Mpr");
  ASSERT_NE(counterweight, nullptr);
  EXPECT_NEAR(counterweight->A.x, 0, 1e-12);
  EXPECT_NEAR(counterweight->A.y, -0.2, 1e-12);
  const TSketchItem* web = find(sketch, TSketchKind::Circle, "Msh");
  ASSERT_NE(web, nullptr);
  EXPECT_NEAR(web->A.y, 0.05, 1e-12);
  // The rotating mass sits on the crankpin, the reciprocating one a rod length above it.
  const TSketchItem* m2 = find(sketch, TSketchKind::Circle, "M2");
  ASSERT_NE(m2, nullptr);
  EXPECT_NEAR(m2->A.y, r, 1e-12);
  const TSketchItem* piston = find(sketch, TSketchKind::Rect, "Mpd");
  ASSERT_NE(piston, nullptr);
  EXPECT_NEAR((piston->A.y + piston->B.y) / 2, r + 0.58, 1e-12);
}

TEST(MassScheme, SecondRowPistonStandsOnItsBankAxis) {
  const double bank = std::numbers::pi / 4;
  const TSketch sketch = MassSchemeSketch(0.13, {{0, 0.58, 1000, 1400}, {bank, 0.5, 900, 1400}}, {});
  int seen = 0;
  for (const TSketchItem& item : sketch.Items) {
    if (item.Kind != TSketchKind::Rect || item.Field != "Mpd" || seen++ == 0) continue;
    const double x = (item.A.x + item.B.x) / 2, y = (item.A.y + item.B.y) / 2;
    EXPECT_NEAR(std::atan2(x, y), bank, 1e-12);  // clockwise from the vertical
  }
  EXPECT_EQ(seen, 2);
}

TEST(MassScheme, CounterweightTurnsClockwiseWithItsAngle) {
  const TSketch sketch = MassSchemeSketch(0.13, {{0, 0.58, 1000, 1400}}, {{0, 0, 600, 0.2, std::numbers::pi / 2}});
  const TSketchItem* counterweight = find(sketch, TSketchKind::Circle, "Mpr");
  ASSERT_NE(counterweight, nullptr);
  EXPECT_NEAR(counterweight->A.x, -0.2, 1e-12);
  EXPECT_NEAR(counterweight->A.y, 0, 1e-12);
}

// Labels beside the discs at the crankpin and the webs stand outside the disc and run away
// from it, so that no scale puts the text over its mark; equal webs are named once.
TEST(MassScheme, LabelsBesideTheCrankDiscsKeepClearOfThem) {
  const std::vector<TMassSchemeWeb> webs(4, {500, 0.05, 600, 0.2, 0});
  const TSketch sketch = MassSchemeSketch(0.13, {{0, 0.58, 1000, 1400}}, webs);
  for (const std::string field : {"M2", "Msh"}) {
    const TSketchItem* disc = find(sketch, TSketchKind::Circle, field);
    const TSketchItem* label = find(sketch, TSketchKind::Label, field);
    ASSERT_NE(disc, nullptr);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->Side, TLabelSide::Left) << field;
    EXPECT_LT(label->A.x, disc->A.x - disc->Radius) << field;
    EXPECT_NEAR(label->A.y, disc->A.y, 1e-12) << field;
  }
  int webLabels = 0;
  for (const TSketchItem& item : sketch.Items) webLabels += item.Kind == TSketchKind::Label && item.Field == "Msh";
  EXPECT_EQ(webLabels, 1);
}
