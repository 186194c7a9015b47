// The curves of the graphs view on the calculated example: each series plots the catalogue
// arrays it names, angles in degrees, and is titled by the short names.
#include <gtest/gtest.h>

#include <numbers>

#include "GraphSeriesUnit.h"
#include "ProjectCalcUnit.h"
#include "ResultCatalogUnit.h"
#include "TestSupport.h"

namespace {

constexpr double Degree = 180 / std::numbers::pi;

class GraphSeriesTest : public ::testing::Test {
 protected:
  const TDynamicCalcStruct& run = *testsupport::CalculatedExample().Results.front();
  const TReal1DArray& array(int q, int throwNumber, int cylinder) {
    const TReal1DArray* values = nullptr;
    GetQuantityArray(run, q, throwNumber, cylinder, values);
    return *values;
  }
};

TEST_F(GraphSeriesTest, GasForceOfCylinderOneAgainstTheCrankAngle) {
  const TGraphSeries series = GraphSeries(run, {0, 1, 1}, {7, 1, 1});
  EXPECT_EQ(series.Title, "P[1], МПа(alpha[1], град)");
  const TReal1DArray& p = array(7, 1, 1);
  ASSERT_EQ(series.Points.size(), run.AngleGrid.size());
  for (std::size_t j = 0; j < p.size(); ++j) {
    EXPECT_DOUBLE_EQ(series.Points[j].first, run.AngleGrid[j] * Degree);
    EXPECT_EQ(series.Points[j].second, p[j]);
  }
}

TEST_F(GraphSeriesTest, ThrowQuantityIsTitledAndTakenByItsThrowNumber) {
  const TGraphSeries series = GraphSeries(run, {0, 5, 2}, {14, 5, 3});  // TSum of throw 3
  EXPECT_EQ(series.Title.find("[3]") != std::string::npos, true) << series.Title;
  EXPECT_NE(series.Title.find("alpha[1]"), std::string::npos) << series.Title;
  const TReal1DArray& torque = array(14, 3, 1);
  for (std::size_t j = 0; j < torque.size(); ++j) EXPECT_EQ(series.Points[j].second, torque[j]);
}

TEST_F(GraphSeriesTest, PolarCrankpinLoadIsXSumAgainstYSum) {
  const TGraphSeries series = GraphSeries(run, {20, 1, 2}, {21, 1, 2});
  const TReal1DArray &x = array(20, 2, 1), &y = array(21, 2, 1);
  ASSERT_EQ(series.Points.size(), x.size());
  for (std::size_t j = 0; j < x.size(); ++j) EXPECT_EQ(series.Points[j], std::make_pair(x[j], y[j]));
}

TEST_F(GraphSeriesTest, RodAngleIsShownInDegreesOnEitherAxis) {
  const TReal1DArray& beta = array(1, 1, 4);
  const std::vector<double> shown = GraphValues(run, {1, 4, 1});
  ASSERT_EQ(shown.size(), beta.size());
  for (std::size_t j = 0; j < beta.size(); ++j) EXPECT_DOUBLE_EQ(shown[j], beta[j] * Degree);
  const TGraphSeries series = GraphSeries(run, {1, 4, 1}, {7, 4, 1});
  EXPECT_DOUBLE_EQ(series.Points[3].first, beta[3] * Degree);
}

TEST_F(GraphSeriesTest, NoChoiceGivesAnEmptyUntitledSeries) {
  const TGraphSeries none = GraphSeries(run, {0, 1, 1}, {-1, 1, 1});
  EXPECT_TRUE(none.Title.empty());
  EXPECT_TRUE(none.Points.empty());
  EXPECT_TRUE(GraphSeries(run, {-1, 1, 1}, {7, 1, 1}).Points.empty());
}

}  // namespace
