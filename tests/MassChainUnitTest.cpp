// The picture of the torsional mass chain: disc sizes follow the fourth root of the moments of
// inertia (the radius of a disc of fixed thickness), spring widths the fourth root of the
// stiffnesses (the diameter of a shaft of fixed length), and the kinds of the masses.
#include <gtest/gtest.h>

#include <cmath>

#include "MassChainUnit.h"

namespace {

// A chain of n masses whose section k–k+1 has stiffness c[k], written where the page edits it.
TReal2DArray chainStiffness(const std::vector<double>& c) {
  const std::size_t n = c.size() + 1;
  TReal2DArray C(n, TReal1DArray(n, 0.0));
  for (std::size_t k = 0; k < c.size(); ++k) C[k + 1][k] = C[k][k + 1] = c[k];
  return C;
}

}  // namespace

TEST(MassChainPicture, DiscRadiiScaleAsFourthRootOfInertia) {
  // Discs of one thickness and density: J ∝ r⁴, so J ratio 16 is radius ratio 2.
  const TMassChainPicture picture = MassChainPicture({16.0, 1.0, 4.0}, chainStiffness({10, 10}), 3, 1, 2, 0);
  ASSERT_EQ(picture.Discs.size(), 3u);
  EXPECT_DOUBLE_EQ(picture.Discs[0].Radius, 0.5);
  EXPECT_NEAR(picture.Discs[0].Radius / picture.Discs[1].Radius, 2.0, 1e-12);
  EXPECT_NEAR(picture.Discs[2].Radius / picture.Discs[1].Radius, std::sqrt(2.0), 1e-12);
  for (int i = 0; i < 3; ++i) EXPECT_DOUBLE_EQ(picture.Discs[i].X, i);
}

TEST(MassChainPicture, SpringWidthsScaleAsFourthRootOfStiffness) {
  const TMassChainPicture picture = MassChainPicture({1, 1, 1, 1}, chainStiffness({81, 1, 0}), 4, 2, 1, 0);
  ASSERT_EQ(picture.Springs.size(), 3u);
  EXPECT_DOUBLE_EQ(picture.Springs[0].HalfWidth, 0.2);
  EXPECT_NEAR(picture.Springs[0].HalfWidth / picture.Springs[1].HalfWidth, 3.0, 1e-12);
  // A section without stiffness is drawn without width: the chain is broken there.
  EXPECT_EQ(picture.Springs[2].HalfWidth, 0.0);
  // Springs sit between the discs, never on them.
  for (std::size_t k = 0; k < picture.Springs.size(); ++k) {
    EXPECT_GT(picture.Springs[k].X0, picture.Discs[k].X);
    EXPECT_LT(picture.Springs[k].X1, picture.Discs[k + 1].X);
  }
}

TEST(MassChainPicture, ReadsTheSectionFromTheCellThePageEdits) {
  // Only C[k + 1][k] is filled (the page's upper grid cells); the mirror stays zero.
  TReal2DArray C(3, TReal1DArray(3, 0.0));
  C[1][0] = 5;
  C[2][1] = 7;
  const TMassChainPicture picture = MassChainPicture({1, 1, 1}, C, 3, 1, 1, 0);
  EXPECT_EQ(picture.Springs[0].C, 5);
  EXPECT_EQ(picture.Springs[1].C, 7);
}

TEST(MassChainPicture, MarksMotorMassesDrivenMachineAndDamper) {
  // The example's layout: a damper on mass 1, eight throws from mass 2, a flywheel and a generator.
  const std::vector<double> J(11, 1.0);
  const TMassChainPicture picture = MassChainPicture(J, chainStiffness(std::vector<double>(10, 1.0)), 11, 8, 2, 1);
  EXPECT_TRUE(picture.Discs[0].Damper);
  EXPECT_EQ(picture.Discs[0].Kind, TChainMassKind::Free);
  for (int i = 1; i <= 8; ++i) EXPECT_EQ(picture.Discs[i].Kind, TChainMassKind::Motor) << i;
  EXPECT_EQ(picture.Discs[9].Kind, TChainMassKind::Driven);
  EXPECT_EQ(picture.Discs[10].Kind, TChainMassKind::Driven);
  for (int i = 1; i < 11; ++i) EXPECT_FALSE(picture.Discs[i].Damper);
}

TEST(MassChainPicture, EmptyAndMasslessEntriesStayDrawable) {
  EXPECT_TRUE(MassChainPicture({}, {}, 0, 1, 1, 0).Discs.empty());
  // Tables shorter than the chain (a chain being enlarged) count as zeros.
  const TMassChainPicture picture = MassChainPicture({2.0}, {}, 3, 1, 1, 0);
  ASSERT_EQ(picture.Discs.size(), 3u);
  EXPECT_GT(picture.Discs[2].Radius, 0.0);
  EXPECT_LT(picture.Discs[2].Radius, picture.Discs[0].Radius);
  for (const TChainSpring& spring : picture.Springs) EXPECT_EQ(spring.HalfWidth, 0.0);
}
