// The checks behind the red marks of the pages: the boundaries where the calculation stops
// accepting a value.
#include <gtest/gtest.h>

#include "EngineDataStructUnit.h"
#include "InputChecksUnit.h"

TEST(InputChecks, RodMustOutreachCrankPlusOffset) {
  EXPECT_TRUE(CheckRodLength(0.58, 0.13, 0).empty());
  EXPECT_FALSE(CheckRodLength(0.13, 0.13, 0).empty());
  EXPECT_FALSE(CheckRodLength(0.15, 0.13, 0.02).empty());
  EXPECT_FALSE(CheckRodLength(0.15, 0.13, -0.02).empty());  // the offset counts on either side
}

TEST(InputChecks, FilletMustStayInsideTheJournal) {
  EXPECT_TRUE(CheckJournalRadius(0.006, 0.22).empty());
  EXPECT_FALSE(CheckJournalRadius(0.11, 0.22).empty());
  EXPECT_FALSE(CheckJournalRadius(-0.001, 0.22).empty());
}

TEST(InputChecks, PinLengthCheckAgreesWithTheEngineCrankpinLength) {
  TEngineDataStruct e;
  for (double l0 : {0.38, 0.24, 0.2, 0.1}) {
    e.L0 = l0;
    EXPECT_EQ(CheckPinLength(e.L0, e.L5, e.RgalK, e.B).empty(), e.PinLength() > 0) << l0;
  }
}

TEST(InputChecks, DimensionsBoresAndCompliancesAtTheirBoundaries) {
  EXPECT_FALSE(CheckDimension(0).empty());
  EXPECT_TRUE(CheckDimension(1e-6).empty());
  EXPECT_TRUE(CheckBore(0, 0.22).empty());
  EXPECT_FALSE(CheckBore(0.22, 0.22).empty());
  EXPECT_FALSE(CheckCompliance(0).empty());
  EXPECT_TRUE(CheckCompliance(1e-12).empty());
  EXPECT_EQ(WarningText("l", 0.1, "м", "причина"), "l = 0.1 м: причина");
}
