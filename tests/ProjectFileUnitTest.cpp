// Project files: the exact byte layout, the round trip of every field, and damaged files.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <numbers>

#include "EVexaErrorUnit.h"
#include "ProjectFileUnit.h"
#include "TestSupport.h"

namespace {

double doubleAt(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
  double value;
  std::memcpy(&value, bytes.data() + offset, 8);
  return value;
}

// Gives every stored field a value different from its default and from its neighbours,
// inactive entries and reserved fields included.
void changeEveryField(TEngineDataStruct& d) {
  double next = 0.5;
  auto v = [&next] { return next += 1.25; };
  d.ValSteel = {"Сталь 45", v(), v(), v(), v(), v(), v(), v(), 2};
  d.ProtSteel = {"ВЧ 60", v(), v(), v(), v(), v(), v(), v(), 1};
  d.Qin.Descr = "Дизель 16ЧН 26/26";
  for (std::int16_t* choice : d.Qin.Choices()) *choice = static_cast<std::int16_t>(v());
  for (double* value : d.Qin.StoredDoubles()) *value = v();
  d.ProjectName = "Проект %s с процентами";
  d.CalcOscillFlag = true;
  for (double* f : {&d.N, &d.Dezax, &d.D, &d.R, &d.L0, &d.DkSh, &d.DkSb, &d.DsSh, &d.DsSb, &d.H, &d.B, &d.L5,
                    &d.L6, &d.RgalK, &d.RgalS, &d.ReservedD3, &d.E, &d.ReservedD4, &d.ReservedD5, &d.ReservedD6,
                    &d.ReservedD7, &d.ReservedD8, &d.AlphaSgm_M_K, &d.AlphaTau_M_K, &d.KSgm_M_K, &d.KTau_M_K,
                    &d.AlphaSgm_M_S, &d.AlphaTau_M_S, &d.KSgm_M_S, &d.KTau_M_S, &d.AlphaSgmD0, &d.BetSgmH,
                    &d.BetSgmDvn, &d.AlphaSgmE, &d.BetSgmE, &d.BetSgmD1, &d.KsiSigmH, &d.BetSgmD, &d.AlphaSgm_G_S,
                    &d.KSgm_G_S, &d.AlphaTau0_S, &d.BetTauH_S, &d.BetTauB_S, &d.AlphaTauE_S, &d.BetTauD_S,
                    &d.AlphaTau_G_S, &d.KTau_G_S, &d.Esgm_S, &d.Etau_S, &d.Etau_K, &d.Esgm_K, &d.WebTorsionCoef,
                    &d.PsiSgm, &d.PsiTau, &d.Nsh, &d.LamD, &d.ReservedD9, &d.ReservedD2, &d.ksi, &d.psi, &d.nMin,
                    &d.nMax, &d.Knu, &d.CoeffB, &d.CoeffH, &d.ReservedD1, &d.GammaMasl, &d.ASTG_ASTG0,
                    &d.W_W0_tau_K, &d.W_W0_sgm_K, &d.W_W0_tau_S, &d.W_W0_sgm_S, &d.fDamper, &d.PDamper,
                    &d.RefDamper, &d.zdDamper, &d.ksirzDamper, &d.JmDamper, &d.ksiDamper, &d.RMaslK, &d.RMaslS,
                    &d.qSigmV_S, &d.qSigmT_SigmV_S, &d.qSigm_S, &d.qTau_S, &d.qSigmV_M_K, &d.qSigmT_SigmV_M_K,
                    &d.qSigm_M_K, &d.qTau_M_K, &d.qSigmV_M_S, &d.qSigmT_SigmV_M_S, &d.qSigm_M_S, &d.qTau_M_S})
    *f = v();
  d.FiMasl = 45;
  d.ReservedB2 = 7;
  d.EngineType = 5;
  for (int s = 1; s <= MaxSections; ++s)
    for (int r = 1; r <= MaxRows; ++r) {
      d.FireAngle[s][r] = v();
      d.CylEnabled[s][r] = (s + r) % 3 != 0;
    }
  d.NSec = 6;
  d.NRad = 3;
  d.Disposition = 0;
  for (TRowArray* rows : {&d.ConRodGamma, &d.ConRodL, &d.ConRodGamma1, &d.ConRodR1, &d.Mpd, &d.M2})
    for (double& x : *rows) x = v();
  d.ReservedB1 = 9;
  d.ReservedB3 = 4;
  d.IDSource = 1;
  d.IDFileName = "diagrams/Пример.dia";
  for (TWebArray* webs : {&d.Rsh, &d.Msh, &d.Mpr, &d.Rpr, &d.AlphaPr, &d.FiPr, &d.RprIn, &d.RprOut})
    for (double& x : *webs) x = v();
  for (TSupportArray* supports : {&d.Py, &d.Px, &d.PliantReserved, &d.Pmx, &d.Pmy})
    for (double& x : *supports) x = v();
  d.NGarm = 14;
  for (double& x : d.ReservedBlock) x = v();
  d.StrengthType = 3;
  d.DamperType = 2;
  d.NMassDamper = 3;
  d.Damper = true;
  d.NFirstMass = 2;
  d.CoeffsCalcRadio = 1;
  d.CalcDynamicFlag = false;
  d.CalcCombFlag = true;
  d.NRegs = 5;
  d.ResizeTorsionalModel(3);
  for (double& x : d.IMass) x = v();
  for (auto& row : d.CMatrix)
    for (double& x : row) x = v();
}

}  // namespace

class ProjectFileTest : public ::testing::Test {
 protected:
  TEngineDataStruct fresh;
};

TEST_F(ProjectFileTest, DefaultProjectHasTheDocumentedSize) {
  const auto bytes = ProjectBytes(fresh);
  // Fixed part + "Безымянный " (11 bytes) + eight inertias + an 8 × 8 stiffness matrix.
  EXPECT_EQ(bytes.size(), 6961u + 11u + 8u * 8u + 8u * 64u);
}

TEST_F(ProjectFileTest, FieldsSitAtTheirOffsets) {
  fresh.N = 1234.5;
  fresh.CalcDynamicFlag = true;
  fresh.CalcCombFlag = true;
  fresh.NRegs = 7;
  const auto bytes = ProjectBytes(fresh);
  // Two empty material records (59 bytes each), the working-process block (398), the name.
  EXPECT_EQ(bytes[516], 11);
  EXPECT_EQ(bytes[529], 0);  // CalcOscillFlag
  EXPECT_EQ(doubleAt(bytes, 530), 1234.5);
  const std::size_t tail = bytes.size() - 8 * 8 - 8 * 64;
  EXPECT_EQ(doubleAt(bytes, tail - 8), 8.0);   // NMass
  const std::uint8_t marker[] = {0x00, 0x00, 0x00, 0x00, 0x00, 0xCC, 0xB0, 0x40};
  EXPECT_EQ(std::memcmp(bytes.data() + tail - 16, marker, 8), 0);
  EXPECT_EQ(doubleAt(bytes, tail - 24), 7.0);  // NRegs
  EXPECT_EQ(doubleAt(bytes, tail - 32), 11.0); // CalcDynamicFlag + 10·CalcCombFlag
}

TEST_F(ProjectFileTest, RoundTripKeepsEveryFieldIncludingInactiveAndReserved) {
  TEngineDataStruct changed;
  changeEveryField(changed);
  const auto written = ProjectBytes(changed);
  TEngineDataStruct read;
  LoadProjectBytes(read, written);
  EXPECT_EQ(ProjectBytes(read), written);
  EXPECT_NE(ProjectBytes(fresh), written);
  // Spot checks that the values landed in their own fields.
  EXPECT_EQ(read.ProjectName, "Проект %s с процентами");
  EXPECT_EQ(read.IDFileName, "diagrams/Пример.dia");
  EXPECT_EQ(read.ValSteel, changed.ValSteel);
  EXPECT_EQ(read.FireAngle, changed.FireAngle);
  EXPECT_EQ(read.CylEnabled, changed.CylEnabled);
  EXPECT_EQ(read.PliantReserved, changed.PliantReserved);
  EXPECT_EQ(read.ReservedBlock, changed.ReservedBlock);
  EXPECT_EQ(read.FiPr, changed.FiPr);
  EXPECT_EQ(read.AlphaPr, changed.AlphaPr);
  EXPECT_EQ(read.CMatrix, changed.CMatrix);
  EXPECT_EQ(read.NSec, 6);
  EXPECT_EQ(read.NRad, 3);
  EXPECT_TRUE(read.Damper);
  EXPECT_FALSE(read.CalcDynamicFlag);
  EXPECT_TRUE(read.CalcCombFlag);
  EXPECT_EQ(read.Qin.Descr, "Дизель 16ЧН 26/26");
  EXPECT_EQ(read.Qin.Tau, changed.Qin.Tau);
}

TEST_F(ProjectFileTest, FlagsDigitsAreSplitOnReading) {
  auto bytes = ProjectBytes(fresh);
  const std::size_t flagsAt = bytes.size() - 8 * 8 - 8 * 64 - 32;
  const double ten = 10.0;
  std::memcpy(bytes.data() + flagsAt, &ten, 8);
  TEngineDataStruct read;
  LoadProjectBytes(read, bytes);
  EXPECT_FALSE(read.CalcDynamicFlag);
  EXPECT_TRUE(read.CalcCombFlag);
}

TEST_F(ProjectFileTest, AnyMarkerValueIsAccepted) {
  auto bytes = ProjectBytes(fresh);
  const std::size_t markerAt = bytes.size() - 8 * 8 - 8 * 64 - 16;
  const double other = -17.25;
  std::memcpy(bytes.data() + markerAt, &other, 8);
  TEngineDataStruct read;
  EXPECT_NO_THROW(LoadProjectBytes(read, bytes));
}

TEST_F(ProjectFileTest, SmallAndEmptyTorsionalModels) {
  fresh.NMass = 1;
  fresh.ResizeTorsionalModel(1);
  fresh.IMass[0] = 3.5;
  fresh.CMatrix[0][0] = 7.5;
  auto one = ProjectBytes(fresh);
  EXPECT_EQ(one.size(), 6961u + 11u + 16u);
  EXPECT_EQ(doubleAt(one, one.size() - 16), 3.5);
  EXPECT_EQ(doubleAt(one, one.size() - 8), 7.5);

  fresh.NMass = 0;
  fresh.ResizeTorsionalModel(0);
  const auto none = ProjectBytes(fresh);
  EXPECT_EQ(none.size(), 6961u + 11u);
  TEngineDataStruct read;
  LoadProjectBytes(read, none);
  EXPECT_EQ(read.NMass, 0);
  EXPECT_TRUE(read.IMass.empty());
  EXPECT_TRUE(read.CMatrix.empty());
}

TEST_F(ProjectFileTest, CounterweightAnglesKeepTheirOwnUnits) {
  fresh.FiPr[1] = 120;                      // degrees
  fresh.AlphaPr[1] = std::numbers::pi / 2;  // radians
  TEngineDataStruct read;
  LoadProjectBytes(read, ProjectBytes(fresh));
  EXPECT_EQ(read.FiPr[1], 120);
  EXPECT_EQ(read.AlphaPr[1], std::numbers::pi / 2);
}

class DamagedProjectFileTest : public ProjectFileTest {
 protected:
  static void expectBadFormat(const std::vector<std::uint8_t>& bytes) {
    TEngineDataStruct read;
    try {
      LoadProjectBytes(read, bytes);
      ADD_FAILURE() << "a damaged file of " << bytes.size() << " bytes was accepted";
    } catch (const TEVexaError& error) {
      EXPECT_EQ(error.Code, ErrBadDataFile);
      EXPECT_EQ(error.Text, "Неверный формат файла данных!");
    }
  }
  void putDouble(std::vector<std::uint8_t>& bytes, std::size_t offset, double value) {
    std::memcpy(bytes.data() + offset, &value, 8);
  }
};

TEST_F(DamagedProjectFileTest, EveryTruncationIsBadFormat) {
  TEngineDataStruct changed;
  changeEveryField(changed);
  const auto bytes = ProjectBytes(changed);
  for (std::size_t size = 0; size < bytes.size(); ++size)
    expectBadFormat(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + static_cast<long>(size)));
}

TEST_F(DamagedProjectFileTest, ImpossibleCountsAreBadFormat) {
  const auto good = ProjectBytes(fresh);
  // NSec, NRad and Disposition follow the 110 firing angles and the 110 cut-out bytes.
  const std::size_t countsAt = 530 + 8 * 11 + 2 + 6 * 8 + 1 + 5 * 8 + 28 * 8 + 9 * 8 + 1 + 110 * 8 + 110;
  ASSERT_EQ(good[countsAt], 8);
  ASSERT_EQ(good[countsAt + 1], 2);
  for (std::uint8_t nsec : {std::uint8_t{0}, std::uint8_t{11}, std::uint8_t{255}}) {
    auto bytes = good;
    bytes[countsAt] = nsec;
    expectBadFormat(bytes);
  }
  for (std::uint8_t nrad : {std::uint8_t{0}, std::uint8_t{12}}) {
    auto bytes = good;
    bytes[countsAt + 1] = nrad;
    expectBadFormat(bytes);
  }
  const std::size_t nmassAt = good.size() - 8 * 8 - 8 * 64 - 8;
  for (double nmass : {-1.0, 101.0, 9.0, 1e9}) {
    auto bytes = good;
    putDouble(bytes, nmassAt, nmass);
    expectBadFormat(bytes);
  }
}

TEST_F(DamagedProjectFileTest, StringRunningPastTheEndIsBadFormat) {
  auto bytes = ProjectBytes(fresh);
  bytes[516] = 0xFF;  // ProjectName length 0x7FFF... in little-endian low byte
  bytes[517] = 0x7F;
  expectBadFormat(bytes);
}

TEST_F(DamagedProjectFileTest, FieldsReadBeforeTheDamageStay) {
  fresh.ProjectName = "Сохранённый";
  auto bytes = ProjectBytes(fresh);
  bytes.resize(600);
  TEngineDataStruct read;
  EXPECT_THROW(LoadProjectBytes(read, bytes), TEVexaError);
  EXPECT_EQ(read.ProjectName, "Сохранённый");
}

TEST(ProjectFileOnDisk, SavingReplacesTheFileOnlyWhenComplete) {
  testsupport::TempDir dir;
  const auto file = dir / "project.vxa";
  TEngineDataStruct data;
  data.ProjectName = "first";
  SaveProjectFile(data, file);
  TEngineDataStruct read;
  LoadProjectFile(read, file);
  EXPECT_EQ(read.ProjectName, "first");

  // A save that fails (a text too long for the format) leaves the previous file intact.
  data.ProjectName = std::string(40000, 'x');
  EXPECT_THROW(SaveProjectFile(data, file), std::length_error);
  TEngineDataStruct again;
  LoadProjectFile(again, file);
  EXPECT_EQ(again.ProjectName, "first");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);

  EXPECT_THROW(LoadProjectFile(again, dir / "missing.vxa"), std::runtime_error);
}

TEST_F(DamagedProjectFileTest, HarmonicCountOutsideOneToTwentyIsBadFormat) {
  // 1000 harmonics made the torsional calculation run for minutes.
  for (int harmonics : {0, 21, 1000, -5}) {
    TEngineDataStruct data;
    data.NGarm = static_cast<std::int16_t>(harmonics);
    expectBadFormat(ProjectBytes(data));
  }
  for (int harmonics : {1, 20}) {
    TEngineDataStruct data, read;
    data.NGarm = static_cast<std::int16_t>(harmonics);
    LoadProjectBytes(read, ProjectBytes(data));
    EXPECT_EQ(read.NGarm, harmonics);
  }
}

TEST(ProjectFileOnDisk, ValueThatIsNotANumberIsNotStoredAndNamed) {
  testsupport::TempDir dir;
  const auto file = dir / "project.vxa";
  TEngineDataStruct data;
  SaveProjectFile(data, file);
  const auto saved = ProjectBytes(data);
  for (double bad : {std::nan(""), HUGE_VAL}) {
    TEngineDataStruct changed = data;
    changed.Py[4] = bad;
    try {
      SaveProjectFile(changed, file);
      ADD_FAILURE() << "stored";
    } catch (const EVexaStoreError& error) {
      EXPECT_NE(std::string(error.what()).find("Py[4]"), std::string::npos) << error.what();
    }
  }
  TEngineDataStruct read;
  LoadProjectFile(read, file);
  EXPECT_EQ(ProjectBytes(read), saved);
  // The reserved fields are kept as read, whatever they hold.
  data.ReservedD5 = std::nan("");
  EXPECT_NO_THROW(SaveProjectFile(data, file));
}
