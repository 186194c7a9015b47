#include "SketchUnit.h"

#include <algorithm>

void TSketch::Line(TPoint2 a, TPoint2 b, const std::string& field, bool dashed) {
  Items.push_back({TSketchKind::Line, a, b, 0, dashed, false, {}, field});
}

void TSketch::Rect(TPoint2 a, TPoint2 b, const std::string& field, bool filled) {
  Items.push_back({TSketchKind::Rect, a, b, 0, false, filled, {}, field});
}

void TSketch::Circle(TPoint2 centre, double radius, const std::string& field, bool filled) {
  Items.push_back({TSketchKind::Circle, centre, centre, radius, false, filled, {}, field});
}

void TSketch::Dimension(TPoint2 a, TPoint2 b, const std::string& field) {
  Items.push_back({TSketchKind::Dimension, a, b, 0, false, false, field, field});
}

void TSketch::Label(TPoint2 at, const std::string& text, const std::string& field, TLabelSide side) {
  Items.push_back({TSketchKind::Label, at, at, 0, false, false, text, field, side});
}

TSketchBounds SketchBounds(const TSketch& sketch) {
  if (sketch.Items.empty()) return {};
  TSketchBounds b{sketch.Items.front().A.x, sketch.Items.front().A.y, sketch.Items.front().A.x,
                  sketch.Items.front().A.y};
  auto take = [&b](double x, double y) {
    b.Left = std::min(b.Left, x);
    b.Right = std::max(b.Right, x);
    b.Bottom = std::min(b.Bottom, y);
    b.Top = std::max(b.Top, y);
  };
  for (const TSketchItem& item : sketch.Items) {
    if (item.Kind == TSketchKind::Circle) {
      take(item.A.x - item.Radius, item.A.y - item.Radius);
      take(item.A.x + item.Radius, item.A.y + item.Radius);
    } else {
      take(item.A.x, item.A.y);
      take(item.B.x, item.B.y);
    }
  }
  return b;
}
