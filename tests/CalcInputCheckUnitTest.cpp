// Project values that would stop a calculation deep inside are refused before it starts, with
// the field named as its page names it, its value and its unit, and never "nan" or "inf".
#include "CalcInputCheckUnit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>

#include "ProjectCalcUnit.h"
#include "ProjectFileUnit.h"
#include "TestSupport.h"

namespace {

class CalcInputCheckTest : public ::testing::Test {
 protected:
  TEngineDataStruct data;

  CalcInputCheckTest() {
    LoadProjectFile(data, testsupport::SourceDir() / "examples" / "V16-26-26.vxa");
  }

  std::string refusal(const std::function<void(TEngineDataStruct&)>& spoil) {
    TEngineDataStruct copy = data;
    spoil(copy);
    try {
      CheckCalcInputs(copy);
    } catch (const EVexaInputError& error) {
      const std::string text = error.what();
      EXPECT_EQ(text.find("nan"), std::string::npos) << text;
      EXPECT_EQ(text.find("inf"), std::string::npos) << text;
      return text;
    }
    ADD_FAILURE() << "accepted";
    return {};
  }
};

TEST_F(CalcInputCheckTest, TheExampleProjectPasses) { EXPECT_NO_THROW(CheckCalcInputs(data)); }

TEST_F(CalcInputCheckTest, ValuesThatStoppedTheCalculationInsideAreNamed) {
  // A bore of 0 stopped in the cylinder forces, a speed of 0 in the angular speed.
  EXPECT_EQ(refusal([](auto& d) { d.D = 0; }), "Диаметр цилиндра (D) должен быть положительным (задано 0 м)");
  EXPECT_EQ(refusal([](auto& d) { d.N = 0; }), "Частота вращения вала должна быть положительной (задано 0 об/мин)");
  EXPECT_EQ(refusal([](auto& d) { d.Py[3] = 0; }), "Податливость опоры 3 Py должна быть положительной (задано 0 м/Н)");
  EXPECT_NE(refusal([](auto& d) { d.DsSh = std::nan(""); }).find("(DsSh) должен быть положительным (задано не число)"),
            std::string::npos);
}

TEST_F(CalcInputCheckTest, ImpossibleCrankGeometryIsRefused) {
  // A rod shorter than the crank, a desaxial offset beyond l − R, webs that leave no crankpin.
  EXPECT_NE(refusal([](auto& d) { d.ConRodL[2] = d.R / 2; }).find("Длина шатуна l ряда 2"), std::string::npos);
  const std::string offset = refusal([](auto& d) {
    d.NRad = 1;
    d.Dezax = d.ConRodL[1];
  });
  EXPECT_NE(offset.find("суммы радиуса кривошипа R и дезаксиала a"), std::string::npos) << offset;
  // The kinematics use the offset for every row, also when the layout page hides it.
  EXPECT_NE(refusal([](auto& d) { d.Dezax = -1; }).find("ряда 1"), std::string::npos);
  // Sizes beyond any crankshaft made the frame's solution fail at a pivot.
  EXPECT_EQ(refusal([](auto& d) { d.L0 = 1e6; }), "Длина колена (L0): допустимо не больше 10 м (задано 1000000 м)");
  EXPECT_NE(refusal([](auto& d) { d.CoeffB = 0; }).find("Коэффициент cB"), std::string::npos);
  EXPECT_NE(refusal([](auto& d) { d.B = d.L0; }).find("Длина колена (L0) слишком мала"), std::string::npos);
}

TEST_F(CalcInputCheckTest, ShaftMaterialWithoutPropertiesNamesTheMaterialPage) {
  // What a damaged material database leaves in a new project: an empty record.
  const std::string text = refusal([](auto& d) { d.ValSteel = TSteelElem{}; });
  EXPECT_NE(text.find("Материал вала"), std::string::npos) << text;
  EXPECT_NE(text.find("\"Свойства материалов\""), std::string::npos) << text;
  EXPECT_NE(text.find("модуль упругости E"), std::string::npos) << text;
  EXPECT_NE(refusal([](auto& d) { d.ValSteel.Sgm_1 = 0; }).find("предел усталости при изгибе"), std::string::npos);
}

TEST_F(CalcInputCheckTest, TheCalculateCommandChecksBeforeAnyRun) {
  TRunSettings settings;
  settings.ProjectDir = testsupport::SourceDir() / "examples";
  TVexaProject project(settings);
  project.EngineData = data;
  project.EngineData.ValSteel.E = 0;
  EXPECT_THROW(project.CalcDynamicExecute(), EVexaInputError);
  EXPECT_TRUE(project.Results.empty());
}

TEST(ShownValueTest, NumbersCarryTheirUnitAndNonNumbersAreWords) {
  EXPECT_EQ(ShownValue(0.25, "м"), "0.25 м");
  EXPECT_EQ(ShownValue(std::nan(""), "м"), "не число");
  EXPECT_EQ(ShownValue(std::numeric_limits<double>::infinity(), "м"), "бесконечность");
}

}  // namespace
