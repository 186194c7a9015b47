// Material records and the material database file, including the shipped database.
#include <gtest/gtest.h>

#include <cmath>
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

TEST(ShippedDatabase, FatigueLimitsAndStrengthsMatchTheirSources) {
  ASSERT_EQ(LoadProgramSteelData(testsupport::BinDir()), "");
  auto find = [](const std::string& name) -> const TSteelElem* {
    for (const TSteelElem& m : SteelData().Items)
      if (m.SteelName == name) return &m;
    return nullptr;
  };
  for (const TSteelElem& m : SteelData().Items) {
    SCOPED_TRACE(m.SteelName);
    // Steels: rotating-beam endurance limit 0.5·σв (Shigley, valid up to 1400 MPa). All
    // classes: τ-1 = 0.577·σ-1 (distortion energy), rounded to the MPa.
    if (m.Descriptor < 2) {
      EXPECT_LE(m.SgmV, 1400);
      EXPECT_EQ(m.Sgm_1, 0.5 * m.SgmV);
    }
    EXPECT_EQ(m.Tau_1, std::round(0.577 * m.Sgm_1));
  }
  // Minimum strengths as the standards' tables give them: 42CrMo4 +QT, ruling section
  // 40 < d <= 100 mm (EN 10083-3); the nodular irons of GOST 7293-85, equal to
  // EN-GJS-600-3/700-2/800-2 of EN 1563, with that standard's Young's moduli.
  struct TPublished {
    const char* name;
    double sgmV, sgmT, e;
  };
  const TPublished published[] = {{"42CrMo4", 900, 650, 210000},
                                  {"ВЧ 60", 600, 370, 174000},
                                  {"ВЧ 70", 700, 420, 176000},
                                  {"ВЧ 80", 800, 480, 176000}};
  for (const TPublished& p : published) {
    const TSteelElem* m = find(p.name);
    ASSERT_NE(m, nullptr) << p.name;
    EXPECT_EQ(m->SgmV, p.sgmV) << p.name;
    EXPECT_EQ(m->SgmT, p.sgmT) << p.name;
    EXPECT_EQ(m->E, p.e) << p.name;
  }
}
