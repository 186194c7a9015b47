// Engine data: defaults of a new project, cylinder numbering and the derived quantities.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "EngineDataStructUnit.h"

namespace {
constexpr double Pi = std::numbers::pi;
constexpr double Deg = Pi / 180;
}  // namespace

class EngineDataTest : public ::testing::Test {
 protected:
  TEngineDataStruct data;
};

TEST_F(EngineDataTest, NewProjectIsAnEightSectionArticulatedV16) {
  EXPECT_EQ(data.NSec, 8);
  EXPECT_EQ(data.NRad, 2);
  EXPECT_EQ(data.Disposition, 1);
  EXPECT_EQ(data.NCyl(), 16);
  for (int s = 1; s <= MaxSections; ++s)
    for (int r = 1; r <= MaxRows; ++r) EXPECT_TRUE(data.CylEnabled[s][r]);
  EXPECT_TRUE(data.CheckFireAngles());
  EXPECT_EQ(data.IMass.size(), 8u);
  ASSERT_EQ(data.CMatrix.size(), 8u);
  for (const auto& row : data.CMatrix) EXPECT_EQ(row.size(), 8u);
  EXPECT_NEAR(data.ConRodGamma1[2], 65 * Deg, 1e-15);
  EXPECT_EQ(data.Py[11], 1e-12);
  EXPECT_EQ(data.Pmy[1], 0.001);
  EXPECT_EQ(data.ProjectName, "Безымянный ");
}

TEST_F(EngineDataTest, NewWorkingProcessRunsAtTheProjectSpeed) {
  EXPECT_EQ(data.Qin.N, data.N);
  EXPECT_GT(data.Qin.N, 0);
}

TEST_F(EngineDataTest, CylinderNumberingRowFirst) {
  EXPECT_EQ(data.CylNumber(3, 2), 11);
  EXPECT_EQ(data.CylRow(11), 2);
  EXPECT_EQ(data.CylSection(11), 3);
  EXPECT_EQ(data.CylRow(8), 1);
  EXPECT_EQ(data.CylSection(8), 8);
  EXPECT_EQ(data.CylRow(9), 2);
  EXPECT_EQ(data.CylSection(9), 1);
  for (int k = 1; k <= data.NCyl(); ++k) EXPECT_EQ(data.CylNumber(data.CylSection(k), data.CylRow(k)), k);
}

TEST_F(EngineDataTest, PhaseIsBroughtIntoOneTurn) {
  data.FireAngle[2][1] = 300 * Deg;
  data.FireAngle[2][2] = 30 * Deg;
  EXPECT_NEAR(data.CylPhase(data.CylNumber(2, 2)), Pi / 2, 1e-12);
  data.FireAngle[3][1] = 0;
  data.FireAngle[3][2] = 2 * Pi;  // a full turn is no offset
  EXPECT_NEAR(data.CylPhase(data.CylNumber(3, 2)), 0, 1e-12);
  EXPECT_EQ(data.CylPhase(data.CylNumber(2, 1)), 0);
}

TEST_F(EngineDataTest, FiringAnglesMustGiveOneRowOffset) {
  for (int s = 1; s <= data.NSec; ++s) {
    data.FireAngle[s][1] = (s - 1) * 90 * Deg;
    data.FireAngle[s][2] = (s - 1) * 90 * Deg + 60 * Deg;
  }
  EXPECT_TRUE(data.CheckFireAngles());
  data.FireAngle[5][2] += 1e-4;  // exactly at the tolerance: still consistent
  EXPECT_TRUE(data.CheckFireAngles());
  data.FireAngle[5][2] += 1e-5;
  EXPECT_FALSE(data.CheckFireAngles());
  data.NRad = 1;
  EXPECT_TRUE(data.CheckFireAngles());
}

TEST_F(EngineDataTest, RodPositionsOnThePin) {
  const double pin = data.L0 - 2 * (data.L5 + data.RgalK + data.B);
  EXPECT_NEAR(data.PinLength(), pin, 1e-15);
  EXPECT_NEAR(data.RodSpacing(), 0.002, 0);  // articulated rods
  data.NRad = 1;
  data.Disposition = 0;
  EXPECT_EQ(data.RodSpacing(), 0);
  EXPECT_NEAR(data.RodOffset(), pin / 2 + data.B / 2, 1e-15);
  data.NRad = 2;
  EXPECT_NEAR(data.RodSpacing(), pin / 2, 1e-15);
  EXPECT_NEAR(data.RodOffset(), pin / 4 + data.B / 2, 1e-15);
  EXPECT_NEAR(data.WebMidPos(), data.L5 + data.RgalK + data.B / 2, 1e-15);
}

TEST_F(EngineDataTest, SectionModuliOfSolidAndHollowShafts) {
  EXPECT_NEAR(data.JournalWp(), Pi * std::pow(0.22, 3) / 16, 1e-15);
  EXPECT_NEAR(data.JournalW(), Pi * std::pow(0.22, 3) / 32, 1e-15);
  data.DsSb = 0.19 / 2;  // a bore of half the diameter removes 1/16 of the modulus
  EXPECT_NEAR(data.PinWp(), Pi * std::pow(0.19, 3) / 16 * (1 - 1.0 / 16), 1e-15);
  EXPECT_NEAR(data.WebW(), 0.062 * 0.062 * 0.26 / 6, 1e-15);
  EXPECT_NEAR(PolarMoment(0, 0.1), Pi * 1e-4 / 32, 1e-18);
  EXPECT_NEAR(RingArea(0.1, 0.2), Pi * 0.03 / 4, 1e-15);
}

TEST_F(EngineDataTest, CentrifugalForcesPerPistonArea) {
  // ω = 104.72 rad/s at 1000 rpm; M2 = 1431.6 kg/m² on R = 0.13 m gives 2.04 MPa.
  EXPECT_NEAR(data.Omega(), 104.719755, 1e-6);
  EXPECT_NEAR(data.RodRotForce(1), 1431.6 * 0.13 * data.Omega() * data.Omega() / 1e6, 1e-12);
  EXPECT_NEAR(data.RodRotForce(1), 2.0409, 1e-4);
  data.Mpr[3] = 500;
  data.Rpr[3] = 0.2;
  EXPECT_NEAR(data.ProtForce(3), 500 * 0.2 * data.Omega() * data.Omega() / 1e6, 1e-12);
  data.ValSteel.Ro = 7850;
  const double pinVolume = Pi * 0.19 * 0.19 / 4 * data.PinLength();
  EXPECT_NEAR(data.PinMass() * data.PistonArea(), pinVolume * 7850, 1e-9);
}

TEST_F(EngineDataTest, StrokeOfACentralRod) {
  EXPECT_NEAR(data.CylStroke(1), 2 * data.R, 1e-12);
  data.NRad = 1;
  data.Dezax = 0.01;  // an offset cylinder axis lengthens the stroke slightly
  EXPECT_GT(data.CylStroke(1), 2 * data.R);
  EXPECT_LT(data.CylStroke(1), 2 * data.R * 1.001);
}

TEST_F(EngineDataTest, InactiveEntriesSurviveReducingTheCounts) {
  data.Mpr[16] = 123;
  data.FireAngle[7][2] = 1.5;
  data.NSec = 4;
  data.NSec = 8;
  EXPECT_EQ(data.Mpr[16], 123);
  EXPECT_EQ(data.FireAngle[7][2], 1.5);
}

TEST_F(EngineDataTest, CopiesAreIndependent) {
  TEngineDataStruct copy = data;
  copy.Qin.QC = 1;
  copy.ConRodL[1] = 2;
  copy.IMass[0] = 5;
  EXPECT_NE(data.Qin.QC, 1);
  EXPECT_NE(data.ConRodL[1], 2);
  EXPECT_EQ(data.IMass[0], 0);
}

TEST_F(EngineDataTest, OwnerIsNotifiedThroughItsCallback) {
  int received = 0;
  data.OwnerNotify = [&received](int code) { received = code; };
  data.NotifyOwner();
  EXPECT_EQ(received, NotifyModified);
  TEngineDataStruct orphan;
  EXPECT_NO_THROW(orphan.NotifyOwner());
}
