// Motor masses from the throw geometry: the inertia against the masses of the crankpin and the
// journal taken as cylinders, the stiffness against the reduced length the torsional model
// reads back, the rounding, and the filling of the tables.
#include "MotorMassUnit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "OscillCalcUnit.h"

namespace {

constexpr double Pi = std::numbers::pi;

class MotorMassTest : public ::testing::Test {
 protected:
  TEngineDataStruct engine;  // the default 26/26 throw
  void SetUp() override {
    engine.ValSteel.Ro = 7850;
    engine.ValSteel.E = 2.1e5;
    engine.ValSteel.Mu = 0.3;
    engine.NSec = 3;
    engine.NFirstMass = 2;
    engine.ResizeTorsionalModel(6);
  }
};

}  // namespace

TEST(RoundThreeDigits, KeepsThreeSignificantDigitsFromOneUpAndTwoBelow) {
  EXPECT_EQ(MotorMass::RoundThreeDigits(12.345), 12.3);
  EXPECT_EQ(MotorMass::RoundThreeDigits(4.2367), 4.24);
  EXPECT_EQ(MotorMass::RoundThreeDigits(24012.0), 24000);
  EXPECT_EQ(MotorMass::RoundThreeDigits(1234.5), 1230);
  EXPECT_EQ(MotorMass::RoundThreeDigits(0.5678), 0.57);
  EXPECT_EQ(MotorMass::RoundThreeDigits(0.012345), 0.012);
  EXPECT_EQ(MotorMass::RoundThreeDigits(12.25), 12.2);  // a tie goes to the even digit
}

TEST_F(MotorMassTest, InertiaIsThatOfTheCrankpinAndJournalCylindersAndTheRodMasses) {
  for (int r = 1; r <= engine.NRad; ++r) engine.Mpd[r] = engine.M2[r] = 0;
  const double pinLength = engine.L0 - 2 * (engine.L5 + engine.RgalK + engine.B);
  const double rp = engine.DsSh / 2, rj = engine.DkSh / 2;
  const double pinMass = 7850 * Pi * rp * rp * pinLength;
  const double journalMass = 7850 * Pi * rj * rj * (engine.L5 + engine.RgalK);
  // A solid cylinder m·r²/2 about its axis, the crankpin moved out by the crank radius.
  const double shaft = pinMass * (rp * rp / 2 + engine.R * engine.R) + journalMass * rj * rj / 2;
  EXPECT_NEAR(MotorMass::Compute(engine).J, shaft, 0.005 * shaft);

  // Half the reciprocating mass and all the rotating rod mass of each row at the crank radius.
  engine.Mpd[1] = 1000;
  engine.M2[2] = 1400;
  const double rods = (0.5 * 1000 + 1400) * engine.PistonArea() * engine.R * engine.R;
  EXPECT_NEAR(MotorMass::Compute(engine).J, shaft + rods, 0.005 * (shaft + rods));
}

TEST_F(MotorMassTest, StiffnessIsReadBackAsTheReducedLengthOfTheThrow) {
  const MotorMass::TThrow throwValues = MotorMass::Compute(engine);
  // Webs and crankpin make a throw softer than a straight journal of the throw's length.
  EXPECT_GT(throwValues.ReducedLength, engine.L0);
  engine.IMass.assign(6, 1.0);
  MotorMass::Fill(engine);
  TOscillCalcStruct oscill(engine);
  oscill.CalcFrequencies();
  EXPECT_NEAR(oscill.RedLength[2], throwValues.ReducedLength, 0.005 * throwValues.ReducedLength);
  EXPECT_EQ(oscill.RedLength[3], oscill.RedLength[2]);

  // Thinner webs twist more.
  engine.B *= 0.8;
  EXPECT_GT(MotorMass::Compute(engine).ReducedLength, throwValues.ReducedLength);
}

TEST_F(MotorMassTest, FillsOnlyTheMotorMassesAndTheirSections) {
  engine.IMass.assign(6, 7.0);
  for (auto& row : engine.CMatrix) row.assign(6, 9.0);
  MotorMass::Fill(engine);
  const MotorMass::TThrow t = MotorMass::Compute(engine);
  EXPECT_EQ(engine.IMass, (TReal1DArray{7, t.J, t.J, t.J, 7, 7}));
  for (int i = 0; i < 6; ++i)
    for (int j = 0; j < 6; ++j) {
      const bool throwSection = std::abs(i - j) == 1 && std::min(i, j) >= 1 && std::max(i, j) <= 3;
      EXPECT_EQ(engine.CMatrix[i][j], throwSection ? t.Cs : 9.0) << i << ", " << j;
    }
}

TEST_F(MotorMassTest, OneThrowGetsItsInertiaAndNoSection) {
  engine.NSec = 1;
  engine.NFirstMass = 6;
  TReal1DArray inertia(100, 0.0);  // the page's working copies
  TReal2DArray stiffness(100, TReal1DArray(100, 0.0));
  MotorMass::Fill(engine, inertia, stiffness);
  EXPECT_GT(inertia[5], 0);
  EXPECT_EQ(std::count(inertia.begin(), inertia.end(), 0.0), 99);
  for (const auto& row : stiffness) EXPECT_EQ(std::count(row.begin(), row.end(), 0.0), 100);
}

TEST_F(MotorMassTest, ImpossibleGeometryIsRefusedByNameAndChangesNothing) {
  const TReal1DArray before = engine.IMass;
  auto refusedInput = [&]() -> std::string {
    try {
      MotorMass::Fill(engine);
    } catch (const EMotorMassInputError& error) {
      return error.Input;
    }
    return "";
  };
  engine.L5 = 0;
  EXPECT_EQ(refusedInput(), "L5");
  engine.L5 = 0.052;
  engine.L0 = 0.2;  // no room for a crankpin between the webs
  EXPECT_EQ(refusedInput(), "L0");
  engine.L0 = 0.38;
  engine.DsSb = engine.DsSh;
  EXPECT_EQ(refusedInput(), "DsSb");
  engine.DsSb = 0;
  engine.H = -0.1;
  EXPECT_EQ(refusedInput(), "H");
  EXPECT_EQ(engine.IMass, before);
  engine.H = 0.26;
  engine.NFirstMass = 5;  // masses 5..7 of a six-mass chain
  EXPECT_THROW(MotorMass::Fill(engine), std::invalid_argument);
}
