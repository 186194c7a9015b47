// The shaft picture of the progress window: the oblique projection, the fit of the whole
// shaft into the drawing area and the length of the load lines.
#include <gtest/gtest.h>

#include <cmath>

#include "ModelViewUnit.h"

namespace {

// Corners of the box that the picture of a straight shaft with throws of radius r spans.
struct TExtent {
  double left = 1e9, right = -1e9, top = 1e9, bottom = -1e9;
  void add(const TPoint2& p) {
    left = std::min(left, p.x), right = std::max(right, p.x);
    top = std::min(top, p.y), bottom = std::max(bottom, p.y);
  }
};

TExtent shaftExtent(const TModelViewScale& scale, double r, double l0, int nSec) {
  TExtent extent;
  for (double z : {0.0, nSec * l0})
    for (double x : {-r, r})
      for (double y : {-r, r}) extent.add(scale.ToScreen(ProjectPoint({x, y, z})));
  return extent;
}

}  // namespace

TEST(ModelViewProjection, ShaftAxisRisesToTheRightAtThirtyDegrees) {
  const TPoint2 p = ProjectPoint({0, 0, 2.0});
  // On the screen (x drawn leftwards, y upwards) the axis goes right and up at 30°.
  const TModelViewScale scale{100, 0, 0, 0};
  const TPoint2 screen = scale.ToScreen(p);
  EXPECT_NEAR(std::atan2(-screen.y, screen.x), M_PI / 6, 1e-12);
  EXPECT_NEAR(std::hypot(screen.x, screen.y), 200, 1e-9) << "lengths along the axis keep their scale";
  const TPoint2 q = ProjectPoint({0.3, -0.2, 0});
  EXPECT_DOUBLE_EQ(q.x, 0.3);
  EXPECT_DOUBLE_EQ(q.y, -0.2);
}

class ModelViewScaleTest : public ::testing::TestWithParam<std::tuple<double, double>> {};

TEST_P(ModelViewScaleTest, WholeShaftFitsCentredWithItsMargins) {
  const auto [width, height] = GetParam();
  const double r = 0.13, l0 = 0.38;
  const int nSec = 8;
  const TModelViewScale scale = ModelViewScale(width, height, r, l0, nSec, 5e5);
  const TExtent e = shaftExtent(scale, r, l0, nSec);
  EXPECT_GE(e.left, 10 - 1e-9);
  EXPECT_LE(e.right, width - 10 + 1e-9);
  EXPECT_GE(e.top, 0);
  EXPECT_LE(e.bottom, height - 20 + 1e-9) << "the crank radius below the axis stays above the bottom margin";
  EXPECT_NEAR(e.left, width - e.right, 1e-9) << "centred horizontally";
  // The limiting direction is used to its full size.
  EXPECT_TRUE(std::abs(e.right - e.left - (width - 20)) < 1e-6 ||
              std::abs(scale.Scale * (2 * r + nSec * l0 * 0.5) - (height - 20)) < 1e-6);
}

INSTANTIATE_TEST_SUITE_P(Areas, ModelViewScaleTest,
                         ::testing::Values(std::tuple{600.0, 300.0}, std::tuple{300.0, 600.0}, std::tuple{800.0, 800.0}));

TEST(ModelViewScale, LargestLoadIsHalfTheAreaHigh) {
  const double maxLoad = 4.2e5;
  const TModelViewScale scale = ModelViewScale(640, 360, 0.13, 0.38, 8, maxLoad);
  const TPoint2 origin{0.1, 0.05};
  const TPoint2 a = scale.ToScreen(origin), b = scale.LoadEnd(origin, {0, -maxLoad});
  EXPECT_NEAR(b.y - a.y, 180, 1e-9);
  EXPECT_NEAR(b.x, a.x, 1e-9);
}

TEST(ModelViewScale, NoLoadsDrawNoLoadLines) {
  EXPECT_EQ(ModelViewScale(640, 360, 0.13, 0.38, 8, 0).LoadScale, 0);
}

TEST(ModelViewPicture, TakesTheElementsAndTheirLoadsAtTheStep) {
  TReal1DArray fx{1, 2, 3}, fy{-1, -2, -3};
  TBeamElem element;
  element.StartPoint = {0, 0, 0};
  element.EndPoint = {0, 0.1, 0.2};
  element.LoadX1 = &fx;
  element.LoadY1 = &fy;
  const TModelViewPicture picture = ModelViewPicture({element}, 2);
  ASSERT_EQ(picture.Lines.size(), 1u);
  const TModelViewLine& line = picture.Lines[0];
  EXPECT_NEAR(line.End.x, -0.2 * std::sqrt(3.0) / 2, 1e-12);
  EXPECT_NEAR(line.End.y, 0.2, 1e-12);
  EXPECT_EQ(line.Load1.x, 3);
  EXPECT_EQ(line.Load1.y, -3);
  EXPECT_EQ(line.Load2.x, 0) << "an element without end loads draws none";
}
