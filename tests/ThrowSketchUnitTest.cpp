// The geometry page's throw sketch: to scale, with the dimension lines as long as the values
// they name, and laid out where the engine's own derived positions put the parts.
#include <gtest/gtest.h>

#include <cmath>

#include "EngineDataStructUnit.h"
#include "ThrowSketchUnit.h"

namespace {

TThrowDimensions fromEngine(const TEngineDataStruct& e) {
  TThrowDimensions d;
  d.D = e.D, d.R = e.R, d.L0 = e.L0, d.DkSh = e.DkSh, d.DkSb = 0.05, d.DsSh = e.DsSh, d.DsSb = 0.04;
  d.H = e.H, d.B = e.B, d.L5 = e.L5, d.L6 = e.L6, d.RgalK = e.RgalK, d.RgalS = e.RgalS;
  d.RMaslK = 0.005, d.RMaslS = 0.006, d.E = 0.02;
  return d;
}

const TSketchItem* find(const TSketch& sketch, TSketchKind kind, const std::string& field, int nth = 0) {
  for (const TSketchItem& item : sketch.Items)
    if (item.Kind == kind && item.Field == field && nth-- == 0) return &item;
  return nullptr;
}

double length(const TSketchItem& item) { return std::hypot(item.B.x - item.A.x, item.B.y - item.A.y); }

}  // namespace

TEST(ThrowSketch, EveryNamedDimensionIsAsLongAsItsValue) {
  const TEngineDataStruct e;
  const TThrowDimensions d = fromEngine(e);
  const TSketch sketch = ThrowSketch(d);
  const std::pair<const char*, double> expected[] = {{"L0", d.L0},     {"L5", d.L5},     {"L6", d.L6},
                                                     {"B", d.B},       {"DkSh", d.DkSh}, {"DkSb", d.DkSb},
                                                     {"DsSh", d.DsSh}, {"DsSb", d.DsSb}, {"R", d.R},
                                                     {"D", d.D}};
  for (const auto& [field, value] : expected) {
    const TSketchItem* dimension = find(sketch, TSketchKind::Dimension, field);
    ASSERT_NE(dimension, nullptr) << field;
    EXPECT_NEAR(length(*dimension), value, 1e-12) << field;
    EXPECT_EQ(dimension->Text, field);
  }
}

TEST(ThrowSketch, CrankpinAndWebStandWhereTheEngineDataPutThem) {
  TEngineDataStruct e;
  const TSketch sketch = ThrowSketch(fromEngine(e));
  const TSketchItem* pin = find(sketch, TSketchKind::Rect, "DsSh");
  ASSERT_NE(pin, nullptr);
  EXPECT_NEAR(std::fabs(pin->B.x - pin->A.x), e.PinLength(), 1e-12);
  EXPECT_NEAR((pin->A.y + pin->B.y) / 2, e.R, 1e-12);
  // The counterweight's axis is L6 right of the left web's mid-plane.
  const TSketchItem* axis = find(sketch, TSketchKind::Line, "L6");
  ASSERT_NE(axis, nullptr);
  EXPECT_NEAR(axis->A.x, e.WebMidPos() + e.L6, 1e-12);
  // The fillet circles touch the journal surface.
  const TSketchItem* fillet = find(sketch, TSketchKind::Circle, "RgalK");
  ASSERT_NE(fillet, nullptr);
  EXPECT_NEAR(fillet->A.y - fillet->Radius, e.DkSh / 2, 1e-12);
  // Its name ends left of the circle, clear of the web's face that the circle touches.
  const TSketchItem* name = find(sketch, TSketchKind::Label, "RgalK");
  ASSERT_NE(name, nullptr);
  EXPECT_EQ(name->Side, TLabelSide::Left);
  EXPECT_LT(name->A.x, fillet->A.x - fillet->Radius);
}

TEST(ThrowSketch, ValuesBeingTypedNeverGiveNonFiniteCoordinates) {
  TThrowDimensions d;  // all zero, then negative
  for (double value : {0.0, -0.1}) {
    d.D = d.R = d.L0 = d.DkSh = d.DsSh = d.H = d.B = d.L5 = value;
    for (const TSketchItem& item : ThrowSketch(d).Items) {
      EXPECT_TRUE(std::isfinite(item.A.x) && std::isfinite(item.A.y) && std::isfinite(item.B.x) &&
                  std::isfinite(item.B.y) && item.Radius >= 0);
    }
  }
}
