// The layout page's picture: where the crank star puts the throws and the rows' axes for
// real firing orders, and the cylinder numbering of the schematic.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <numbers>
#include <set>

#include "EngineDataStructUnit.h"
#include "LayoutPictureUnit.h"
#include "ProjectFileUnit.h"
#include "TestSupport.h"

namespace {

constexpr double Deg = std::numbers::pi / 180;

double degrees(double rad) { return std::round(rad / Deg * 1e6) / 1e6; }

}  // namespace

TEST(CrankStar, ExampleV16ThrowsFormAMirrorSymmetricFourPointStar) {
  TEngineDataStruct e;
  LoadProjectFile(e, testsupport::SourceDir() / "examples" / "V16-26-26.vxa");
  ASSERT_EQ(e.NSec, 8);
  std::map<double, int> perAngle;
  for (int s = 1; s <= 8; ++s) {
    ++perAngle[degrees(ThrowAngle(e.FireAngle[s][1]))];
    // A balanced eight-throw shaft is mirror-symmetric about its middle.
    EXPECT_NEAR(ThrowAngle(e.FireAngle[s][1]), ThrowAngle(e.FireAngle[9 - s][1]), 1e-9) << "throw " << s;
  }
  // Four positions 90° apart, two throws on each: even firing every 90° in row 1.
  ASSERT_EQ(perAngle.size(), 4u);
  double expected = 0;
  for (const auto& [angle, count] : perAngle) {
    EXPECT_DOUBLE_EQ(angle, expected);
    EXPECT_EQ(count, 2);
    expected += 90;
  }
}

TEST(CrankStar, ExampleRowAxisIsTheStoredBankAngle) {
  TEngineDataStruct e;
  LoadProjectFile(e, testsupport::SourceDir() / "examples" / "V16-26-26.vxa");
  // The second row's axis angle from the firing angles equals the angle the project keeps as
  // the row's cylinder axis (a field the calculation does not read).
  EXPECT_NEAR(RowAxisAngle(e.FireAngle[1][1], e.FireAngle[1][2]), e.ConRodGamma[2], 1e-9);
  for (int s = 2; s <= 8; ++s)
    EXPECT_NEAR(RowAxisAngle(e.FireAngle[s][1], e.FireAngle[s][2]), e.ConRodGamma[2], 1e-9);
}

TEST(CrankStar, InlineSixFiring153624PairsTheOuterThrows) {
  // Textbook four-stroke in-line six: throws 1/6, 2/5 and 3/4 pairwise in line, 120° apart.
  TSectionRowArray<double> fire;
  const int order[] = {1, 5, 3, 6, 2, 4};
  for (int i = 0; i < 6; ++i) fire[order[i]][1] = 120.0 * i * Deg;
  EXPECT_NEAR(ThrowAngle(fire[1][1]), ThrowAngle(fire[6][1]), 1e-9);
  EXPECT_NEAR(ThrowAngle(fire[2][1]), ThrowAngle(fire[5][1]), 1e-9);
  EXPECT_NEAR(ThrowAngle(fire[3][1]), ThrowAngle(fire[4][1]), 1e-9);
  std::set<double> positions;
  for (int s = 1; s <= 6; ++s) positions.insert(degrees(ThrowAngle(fire[s][1])));
  EXPECT_EQ(positions, (std::set<double>{0, 120, 240}));
  // Angles of a whole turn and beyond come back into one turn.
  EXPECT_NEAR(ThrowAngle(720 * Deg), 0, 1e-12);
  EXPECT_NEAR(ThrowAngle(-90 * Deg), 90 * Deg, 1e-12);
}

TEST(CrankStar, SketchPutsEachThrowOnTheUnitCircleAndLabelsSharedPositionsOnce) {
  TSectionRowArray<double> fire;
  fire[1][1] = 0;
  fire[2][1] = 360 * Deg;  // same position as throw 1
  fire[3][1] = 90 * Deg;
  const TSketch sketch = CrankStarSketch(3, 1, fire);
  std::vector<TPoint2> spokes;
  std::vector<std::string> labels;
  for (const TSketchItem& item : sketch.Items) {
    if (item.Field != "throw") continue;
    if (item.Kind == TSketchKind::Line) spokes.push_back(item.B);
    if (item.Kind == TSketchKind::Label) labels.push_back(item.Text);
  }
  ASSERT_EQ(spokes.size(), 3u);
  for (const TPoint2& p : spokes) EXPECT_NEAR(std::hypot(p.x, p.y), 1, 1e-12);
  // Throw 3 stands 90° behind row 1's axis: seen from the front with clockwise rotation, to the left.
  EXPECT_NEAR(spokes[2].x, -1, 1e-12);
  EXPECT_EQ(labels, (std::vector<std::string>{"1, 2", "3"}));
}

TEST(LayoutScheme, NumbersEveryCylinderOnceRowByRow) {
  TSectionRowArray<bool> enabled;
  for (int s = 1; s <= MaxSections; ++s) enabled[s].Fill(true);
  enabled[3][2] = false;
  const TSketch sketch = LayoutSchemeSketch(4, 2, enabled);
  std::multiset<std::string> numbers;
  int solid = 0, dashed = 0;
  for (const TSketchItem& item : sketch.Items) {
    if (item.Field != "cylinder") continue;
    if (item.Kind == TSketchKind::Label) numbers.insert(item.Text);
    if (item.Kind == TSketchKind::Rect) ++solid;
    if (item.Kind == TSketchKind::Line && item.Dashed) ++dashed;
  }
  EXPECT_EQ(numbers, (std::multiset<std::string>{"1", "2", "3", "4", "5", "6", "7", "8"}));
  EXPECT_EQ(solid, 7);
  EXPECT_EQ(dashed, 4);  // the cut-out cylinder 7 of section 3, row 2
}
