// The pictures of the input pages as plain geometry: lines, rectangles, circles, dimension
// lines and labels in model units (metres, or unit lengths for the schematic pictures), y up.
// Every item may name the page field it shows, so that the page can highlight the items of
// the field under the cursor. A thin widget scales the sketch into its area and paints it.
#pragma once

#include <string>
#include <vector>

#include "ModelViewUnit.h"

enum class TSketchKind { Line, Rect, Circle, Dimension, Label };
// Where a label's text stands from its anchor: centred on it, or ending or starting there (a
// label beside a mark then keeps clear of it at any scale).
enum class TLabelSide { Centre, Left, Right };

struct TSketchItem {
  TSketchKind Kind = TSketchKind::Line;
  TPoint2 A, B;         // ends of a line or dimension, corners of a rectangle, centre of a circle (A)
  double Radius = 0;    // circle
  bool Dashed = false;  // hidden edges, axes and bores
  bool Filled = false;  // a solid mass
  std::string Text;     // label, or the name written at a dimension's middle
  std::string Field;    // the page field this item shows ("" for none)
  TLabelSide Side = TLabelSide::Centre;  // label
};

struct TSketch {
  std::vector<TSketchItem> Items;

  void Line(TPoint2 a, TPoint2 b, const std::string& field = {}, bool dashed = false);
  void Rect(TPoint2 a, TPoint2 b, const std::string& field = {}, bool filled = false);
  void Circle(TPoint2 centre, double radius, const std::string& field = {}, bool filled = false);
  // A dimension line between a and b carrying the field's name.
  void Dimension(TPoint2 a, TPoint2 b, const std::string& field);
  void Label(TPoint2 at, const std::string& text, const std::string& field = {}, TLabelSide side = TLabelSide::Centre);
};

// The smallest rectangle holding every item (labels by their anchor point).
struct TSketchBounds {
  double Left = 0, Bottom = 0, Right = 0, Top = 0;
};
TSketchBounds SketchBounds(const TSketch& sketch);
