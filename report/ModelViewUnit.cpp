#include "ModelViewUnit.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "DynamicCalcUnit.h"
#include "StatisticsUnit.h"

namespace {
const double Cos30 = std::sqrt(3.0) / 2;
const double Sin30 = 0.5;

TPoint2 loadAt(const TReal1DArray* x, const TReal1DArray* y, int k) {
  auto value = [k](const TReal1DArray* array) {
    return array && k >= 0 && k < static_cast<int>(array->size()) ? (*array)[k] : 0.0;
  };
  return {value(x), value(y)};
}
}  // namespace

TPoint2 ProjectPoint(const TPoint3& point) { return {point.x - point.z * Cos30, point.y + point.z * Sin30}; }

TModelViewPicture ModelViewPicture(const std::vector<TBeamElem>& elements, int k) {
  TModelViewPicture picture;
  picture.Lines.reserve(elements.size());
  for (const TBeamElem& element : elements)
    picture.Lines.push_back({ProjectPoint(element.StartPoint), ProjectPoint(element.EndPoint),
                             loadAt(element.LoadX1, element.LoadY1, k), loadAt(element.LoadX2, element.LoadY2, k)});
  return picture;
}

TModelViewScale ModelViewScale(double width, double height, double r, double l0, int nSec, double maxLoad) {
  TModelViewScale scale;
  const double pictureHeight = 2 * r + nSec * l0 * Sin30;
  const double pictureWidth = 2 * r + nSec * l0 * Cos30;
  if (pictureHeight > 0 && pictureWidth > 0)
    scale.Scale = std::max(0.0, std::min((height - 20) / pictureHeight, (width - 20) / pictureWidth));
  // x = +r is the picture's left edge (x is drawn leftwards); the shaft runs to the right.
  scale.X0 = (width - scale.Scale * pictureWidth) / 2 + scale.Scale * r;
  scale.Y0 = height - (r * scale.Scale + 20);
  if (maxLoad > 0 && scale.Scale > 0) scale.LoadScale = height / maxLoad / scale.Scale / 2;
  return scale;
}

double ModelViewMaxLoad(const TDynamicCalcStruct& run) {
  if (run.Cranks.empty() || run.Cranks.front()->YSum.empty()) return 0;
  TArrayStats stats;
  GetStatistics(run.Cranks.front()->YSum, stats);
  return stats.MaxAbs;
}
