// The text report of a run calculated on a synthetic cycle: the check list, the blocks chosen
// by it, the order of the cylinders, the padding of the table rows and the report file.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <numbers>
#include <sstream>

#include "EVexaErrorUnit.h"
#include "NumberFormatUnit.h"
#include "TestSupport.h"
#include "TextReportUnit.h"

namespace {

constexpr double Pi = std::numbers::pi;
constexpr double Deg = Pi / 180;
constexpr int Steps = 72;  // 10° grid over the four-stroke cycle

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// Cells of a report row: the texts before each "|".
std::vector<std::string> cellsOf(const std::string& line) {
  std::vector<std::string> cells;
  std::size_t from = 0;
  for (std::size_t bar; (bar = line.find('|', from)) != std::string::npos; from = bar + 1)
    cells.push_back(line.substr(from, bar - from));
  return cells;
}

std::size_t characters(const std::string& utf8) {
  std::size_t n = 0;
  for (unsigned char b : utf8) n += (b & 0xC0) != 0x80;
  return n;
}

class TextReportTest : public ::testing::Test {
 protected:
  TEngineDataStruct engine;
  std::unique_ptr<TDynamicCalcStruct> run;

  // A run of `sections` throws and `rows` side-by-side rods, strength calculated with the
  // split scheme's moments in place of the beam's.
  void calculate(int sections, int rows) {
    engine.NSec = static_cast<std::uint8_t>(sections);
    engine.NRad = static_cast<std::uint8_t>(rows);
    engine.Disposition = 0;
    for (int s = 1; s <= sections; ++s)
      for (int r = 1; r <= rows; ++r) engine.FireAngle[s][r] = ((s - 1) * 180 + (r - 1) * 60) * Deg;
    engine.ValSteel.Ro = 7850, engine.ValSteel.Sgm_1 = 540, engine.ValSteel.Tau_1 = 312;
    engine.KTau_M_K = engine.KSgm_M_K = engine.KTau_M_S = engine.KSgm_M_S = engine.KSgm_G_S = engine.KTau_G_S = 2;
    engine.Etau_K = engine.Esgm_K = engine.Etau_S = engine.Esgm_S = 0.7;
    engine.PsiSgm = 0.1, engine.PsiTau = 0.05, engine.LamD = 1, engine.Knu = 1;
    run = std::make_unique<TDynamicCalcStruct>(engine);
    for (int k = 0; k < Steps; ++k) {
      run->AngleGrid.push_back(k * 10 * Deg);
      run->Pressure.push_back(k == 0 ? 10 : 0.5);
    }
    run->CreateCranks();
    run->N = engine.N;
    run->ComputeLoads();
    for (auto& c : run->Cranks) c->Mkks2 = c->SplitMkks, c->MZgalss1 = c->SplitMZgal1;
    run->ComputeStrength();
  }
  static TTextReportItems only(std::initializer_list<int> positions) {
    TTextReportItems items = TTextReportItems::None();
    for (int p : positions) items.SetTicked(p);
    return items;
  }
};

TEST(TextReportItemsTest, CheckListPositionsStandForTheirQuantities) {
  EXPECT_EQ(TextReportItemText(0), "=========== Результаты по цилиндрам ============");
  EXPECT_EQ(TextReportItemText(17), "============ Результаты по коленам =============");
  EXPECT_EQ(TextReportItemText(50), "================== Напряжения ==================");
  EXPECT_EQ(TextReportItemText(51), "============= Коэффициенты запаса ==============");
  EXPECT_EQ(TextReportItemText(1), "Угол отклонения шатуна (beta), град");
  EXPECT_EQ(TextReportItemQuantity(13), 13);
  EXPECT_EQ(TextReportItemQuantity(14), 38);
  EXPECT_EQ(TextReportItemQuantity(16), 40);
  EXPECT_EQ(TextReportItemQuantity(18), 14);
  EXPECT_EQ(TextReportItemQuantity(41), 37);
  EXPECT_EQ(TextReportItemQuantity(42), 43);
  EXPECT_EQ(TextReportItemText(49), "[Разр.]Изгибающий момент в правой галтели ШШ в пл. колена (MZ.gal2), Нм");
  for (int p : {0, 17, 50, 51}) EXPECT_EQ(TextReportItemQuantity(p), -1);
  EXPECT_THROW(TextReportItemText(52), std::out_of_range);

  TTextReportItems items;
  for (int p = 0; p < TextReportItemCount; ++p) EXPECT_TRUE(items.IsTicked(p));
  items.SetTicked(5, false);
  items.Invert();
  EXPECT_TRUE(items.IsTicked(5));
  EXPECT_FALSE(items.IsTicked(6));
}

TEST(PadRightTest, ShortTextsGrowToOneMoreThanTheWidth) {
  const std::string exact(80, 'x'), shorter(79, 'x');
  EXPECT_EQ(PadRight(exact, 80), exact);
  EXPECT_EQ(PadRight(shorter, 80).size(), 81u);
  EXPECT_EQ(PadRight(std::string(95, 'x'), 80).size(), 95u);
  // Cyrillic letters count as one character each.
  const std::string caption = "Изгиб шатунной шейки";  // 20 characters
  EXPECT_EQ(PadRight(caption, 20), caption);
  EXPECT_EQ(characters(PadRight(caption, 25)), 26u);
  EXPECT_EQ(PadRight("", 3), "    ");
}

TEST_F(TextReportTest, NothingTickedLeavesTheTwoSectionLines) {
  calculate(2, 1);
  const std::string expected =
      "=========== Результаты по цилиндрам ============\n\n\n\n"
      "============ Результаты по коленам =============\n";
  EXPECT_EQ(WriteTextReport(*run, TTextReportItems::None()), expected);
  // The header positions select nothing.
  EXPECT_EQ(WriteTextReport(*run, only({0, 17})), expected);
}

TEST_F(TextReportTest, LastThrowItemGivesThrowBlocksOfOneColumn) {
  calculate(2, 1);
  const auto lines = linesOf(WriteTextReport(*run, only({49})));
  // Section line, 3 gaps, section line, then per throw: 2 gaps, title, header, the steps.
  ASSERT_EQ(lines.size(), 5u + 2 * (4 + Steps));
  EXPECT_EQ(lines[5], "");
  EXPECT_EQ(lines[7], "=========== Колено № 1 ============");
  EXPECT_EQ(lines[8], "alpha[1], град|[Разр.]MZ.gal2[1], Нм|");
  const TCrank& second = *run->Cranks[1];
  const TCylinder& first = *run->Cranks[0]->Cylinders[0];
  const std::size_t top = 5 + (4 + Steps) + 4;
  EXPECT_EQ(lines[top - 1], "alpha[2], град|[Разр.]MZ.gal2[2], Нм|");
  for (int k = 0; k < Steps; ++k) {
    // The crank angle of cylinder 1 and the throw's value at the step, "%.4g".
    const auto cells = cellsOf(lines[top + static_cast<std::size_t>(k)]);
    ASSERT_EQ(cells.size(), 2u);
    EXPECT_EQ(cells[0], FormatResult(first.Alpha[static_cast<std::size_t>(k)] * 180 / Pi));
    EXPECT_EQ(cells[1], FormatResult(second.SplitMZgal2[static_cast<std::size_t>(k)]));
  }
}

TEST_F(TextReportTest, VEngineCylindersComeInAscendingNumber) {
  calculate(4, 2);
  const auto lines = linesOf(WriteTextReport(*run, only({1, 7})));
  std::vector<std::string> titles;
  for (const std::string& line : lines)
    if (line.rfind("=========== Цилиндр №", 0) == 0) titles.push_back(line);
  ASSERT_EQ(titles.size(), 8u);
  for (int n = 1; n <= 8; ++n)
    EXPECT_EQ(titles[static_cast<std::size_t>(n - 1)], "=========== Цилиндр № " + std::to_string(n) + " ============");
  // Cylinder 6 is row 2 of section 2: its own angle, its rod angle in degrees and its pressure.
  const auto title = std::find(lines.begin(), lines.end(), titles[5]);
  EXPECT_EQ(*(title + 1), "alpha[6], град|beta[6], град|P[6], МПа|");
  const TCylinder& six = *run->Cranks[1]->Cylinders[1];
  for (std::size_t k = 0; k < Steps; ++k) {
    const auto cells = cellsOf(*(title + 2 + static_cast<std::ptrdiff_t>(k)));
    ASSERT_EQ(cells.size(), 3u);
    EXPECT_EQ(cells[0], FormatResult(six.Alpha[k] * 180 / Pi));
    EXPECT_EQ(cells[1], FormatResult(six.Beta[k] * 180 / Pi));
    EXPECT_EQ(cells[2], FormatResult(six.P[k]));
  }
  // No throw block was asked for.
  EXPECT_EQ(lines.back(), "============ Результаты по коленам =============");
}

TEST_F(TextReportTest, QuarterTurnShowsNinetyDegrees) {
  calculate(1, 1);
  const auto lines = linesOf(WriteTextReport(*run, only({4})));
  const TCylinder& c = *run->Cranks[0]->Cylinders[0];
  std::size_t step = 0;
  while (step < Steps && std::fabs(c.Alpha[step] - Pi / 2) > 1e-9) ++step;
  ASSERT_LT(step, static_cast<std::size_t>(Steps)) << "no step at a quarter turn";
  const auto title = std::find(lines.begin(), lines.end(), "=========== Цилиндр № 1 ============");
  EXPECT_EQ(cellsOf(*(title + 2 + static_cast<std::ptrdiff_t>(step)))[0], "90");
}

TEST_F(TextReportTest, StressAndSafetyTablesArePaddedRows) {
  calculate(2, 2);
  const auto lines = linesOf(WriteTextReport(*run, only({50, 51})));
  const auto stress = std::find(lines.begin(), lines.end(), "================== Напряжения ==================");
  ASSERT_NE(stress, lines.end());
  EXPECT_EQ(*(stress - 1), "");
  EXPECT_EQ(*(stress + 1), "В скобках указаны значения, полученные по разрезной схеме");
  const std::string& first = *(stress + 2);
  const auto cells = cellsOf(first);
  ASSERT_EQ(cells.size(), 3u);  // caption and two throws
  EXPECT_EQ(characters(cells[0]), 81u);
  EXPECT_EQ(cells[0].rfind("Кручение правой коренной шейки (амплитуда), МПа", 0), 0u);
  EXPECT_EQ(characters(cells[1]), 21u);

  const auto safety = std::find(lines.begin(), lines.end(), "============= Коэффициенты запаса ==============");
  ASSERT_NE(safety, lines.end());
  EXPECT_EQ(*(safety - 1), "");
  EXPECT_EQ(safety - stress, 3 + 14);  // 14 stress rows of a two-row engine, one gap
  const auto bending = cellsOf(*(safety + 3));  // journal bending: no split value
  ASSERT_EQ(bending.size(), 4u);                // caption, two throws, the smallest
  EXPECT_EQ(bending[0].rfind("Изгиб правой коренной шейки (масл. отв.)", 0), 0u);
  EXPECT_NE(bending[1].find("(1e+30)"), std::string::npos);
  EXPECT_EQ(lines.end() - safety, 2 + 15);
}

TEST_F(TextReportTest, NegativeZeroIsWrittenAsZero) {
  // MT1 = cos a·MY1 − sin a·MX1 of zero moments gives −0 at half the steps.
  calculate(1, 1);
  const std::string text = WriteTextReport(*run, only({34}));
  EXPECT_NE(text.find("MT1[1], Нм|"), std::string::npos);
  EXPECT_EQ(text.find("-0|"), std::string::npos);
}

TEST_F(TextReportTest, RunWithoutResultsIsRefused) {
  TDynamicCalcStruct empty(engine);
  EXPECT_THROW(WriteTextReport(empty, TTextReportItems()), TEVexaError);
}

TEST(TextReportFileTest, ReportLiesBesideTheProject) {
  EXPECT_EQ(TextReportFileName("/data/V16 ЧН.vxa", "x"), std::filesystem::path("/data/V16 ЧН.VexaRes"));
  EXPECT_EQ(TextReportFileName("", "Безымянный "), std::filesystem::path("Безымянный.VexaRes"));
  EXPECT_EQ(TextReportFileName("", "a/b"), std::filesystem::path("a_b.VexaRes"));
  EXPECT_EQ(TextReportFileName("", "  "), std::filesystem::path("Безымянный.VexaRes"));

  testsupport::TempDir dir;
  const auto file = dir / "Engine.VexaRes";
  SaveTextReport(file, "old text that is longer\n");
  SaveTextReport(file, "a|b|\n");
  std::ifstream in(file, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "\xEF\xBB\xBF" "a|b|\n");  // UTF-8 with its mark
  EXPECT_THROW(SaveTextReport(dir / "missing" / "x.VexaRes", "a"), std::runtime_error);
  EXPECT_EQ(TextReportSavedMessage(file).rfind("Результаты сохранены в файле " + file.string(), 0), 0u);
}

}  // namespace
