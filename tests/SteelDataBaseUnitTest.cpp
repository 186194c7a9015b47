// Material records and the material database file, including the shipped database.
#include <gtest/gtest.h>

#include <fstream>

#include "EVexaErrorUnit.h"
#include "SteelDataBaseUnit.h"
#include "TestSupport.h"

TEST(SteelRecord, EmptyNameRecordIsFiftyNineBytes) {
  TVexaStream out;
  TSteelElem empty;
  empty.Serialize(out, true);
  EXPECT_EQ(out.Bytes().size(), 59u);
  TVexaStream named;
  TSteelElem record{"40Х", 980, 785, 283, 490, 7850, 210000, 0.3, 1};
  record.Serialize(named, true);
  EXPECT_EQ(named.Bytes().size(), 62u);
  EXPECT_EQ(named.Bytes().back(), 1);
  EXPECT_NEAR(record.ShearModulus(), 210000 / 2.6, 1e-9);
}

TEST(SteelDatabase, SaveAndLoadKeepRecordsAndOrder) {
  testsupport::TempDir dir;
  TSteelData database;
  database.Items = {{"Сталь 45", 600, 355, 173, 300, 7850, 210000, 0.3, 0},
                    {"", 0, 0, 0, 0, 0, 0, 0, 0},
                    {"ВЧ 70", 700, 420, 162, 280, 7200, 176000, 0.275, 2}};
  database.SaveToFile(dir / "Steel.table");
  TSteelData read;
  read.LoadFromFile(dir / "Steel.table");
  EXPECT_EQ(read.Items, database.Items);
  EXPECT_EQ(read.HighIndex(), 2);
  EXPECT_EQ(read.IndexOf("ВЧ 70"), 2);
  EXPECT_EQ(read.IndexOf("missing"), -1);
}

TEST(SteelDatabase, DamagedFileKeepsTheRecordsBeforeTheDamage) {
  testsupport::TempDir dir;
  TSteelData database;
  database.Items = {{"A", 1, 2, 3, 4, 5, 6, 0.3, 0}, {"B", 1, 2, 3, 4, 5, 6, 0.3, 1}};
  database.SaveToFile(dir / "Steel.table");
  std::filesystem::resize_file(dir / "Steel.table", 60 + 30);
  TSteelData read;
  try {
    read.LoadFromFile(dir / "Steel.table");
    FAIL();
  } catch (const TEVexaError& error) {
    EXPECT_EQ(error.Code, ErrBadDataFile);
  }
  ASSERT_EQ(read.Items.size(), 1u);
  EXPECT_EQ(read.Items[0].SteelName, "A");
}

TEST(SteelDatabase, MissingDatabaseIsReportedAndLeavesItEmpty) {
  testsupport::TempDir dir;
  const std::string message = LoadProgramSteelData(dir.Path());
  EXPECT_NE(message.find("Steel.table"), std::string::npos);
  EXPECT_TRUE(SteelData().Items.empty());
  EXPECT_EQ(TSteelElem::Create(), TSteelElem{});
}

TEST(ShippedDatabase, HoldsPublishedMaterialsOfAllThreeClasses) {
  ASSERT_EQ(LoadProgramSteelData(testsupport::BinDir()), "");
  const auto& items = SteelData().Items;
  ASSERT_GE(items.size(), 8u);
  int perClass[3] = {0, 0, 0};
  for (const TSteelElem& m : items) {
    ASSERT_LE(m.Descriptor, 2) << m.SteelName;
    ++perClass[m.Descriptor];
    // Physical plausibility: yield below ultimate, fatigue limits below yield, torsion below
    // bending, and the elastic constants of steels and nodular irons.
    EXPECT_LT(m.SgmT, m.SgmV) << m.SteelName;
    EXPECT_LT(m.Sgm_1, m.SgmT) << m.SteelName;
    EXPECT_LT(m.Tau_1, m.Sgm_1) << m.SteelName;
    EXPECT_GT(m.E, 150000) << m.SteelName;
    EXPECT_LT(m.E, 220000) << m.SteelName;
    EXPECT_GT(m.Mu, 0.25) << m.SteelName;
    EXPECT_LT(m.Mu, 0.35) << m.SteelName;
    EXPECT_GT(m.Ro, 7000) << m.SteelName;
  }
  for (int c = 0; c < 3; ++c) EXPECT_GE(perClass[c], 2) << "class " << c;
  // A new record is a copy of the first record of the database.
  EXPECT_EQ(TSteelElem::Create(), items.front());
}
