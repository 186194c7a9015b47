#include "GraphSeriesUnit.h"

#include <numbers>

#include "ResultCatalogUnit.h"
#include "VexaStringsTable.h"

namespace {

bool isAngle(int quantity) { return quantity == 0 || quantity == 1; }

}  // namespace

std::string GraphQuantityName(const TGraphChoice& choice, bool argument) {
  if (choice.Quantity < 0 || choice.Quantity >= QuantityCount) return {};
  if (argument && choice.Quantity == 0) return QuantityShortName(0, 1);
  const bool cylinder = QuantityHolder(choice.Quantity) == TQuantityHolder::Cylinder;
  return QuantityShortName(choice.Quantity, cylinder ? choice.Cylinder : choice.Throw);
}

std::vector<double> GraphValues(const TDynamicCalcStruct& run, const TGraphChoice& choice, bool argument) {
  if (choice.Quantity < 0 || choice.Quantity >= QuantityCount) return {};
  const TReal1DArray* values = nullptr;
  GetQuantityArray(run, choice.Quantity, choice.Throw, choice.Cylinder, values,
                   argument ? TAngleUse::Abscissa : TAngleUse::OwnAngle);
  if (!values) return {};
  std::vector<double> shown(values->begin(), values->end());
  if (isAngle(choice.Quantity))
    for (double& v : shown) v *= 180.0 / std::numbers::pi;
  return shown;
}

TGraphSeries GraphSeries(const TDynamicCalcStruct& run, const TGraphChoice& argument, const TGraphChoice& function) {
  TGraphSeries series;
  if (function.Quantity >= 0)
    series.Title = GraphQuantityName(function) + "(" + GraphQuantityName(argument, true) + ")";
  const std::vector<double> x = GraphValues(run, argument, true), y = GraphValues(run, function);
  if (x.empty() || y.empty()) return series;
  const std::size_t n = std::min(x.size(), y.size());
  series.Points.reserve(n);
  for (std::size_t j = 0; j < n; ++j) series.Points.emplace_back(x[j], y[j]);
  return series;
}
