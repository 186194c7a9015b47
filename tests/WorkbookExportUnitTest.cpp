// The spreadsheet export, read back with the Info-ZIP unzip program (an implementation of its
// own, independent of the zip writer inside libxlsxwriter): sheets, headers, numbers against the
// run's arrays, charts, sheet names, and a failed write that leaves the previous file alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <numbers>
#include <sstream>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "EVexaErrorUnit.h"
#include "ProjectCalcUnit.h"
#include "ProjectFileUnit.h"
#include "SafeFileUnit.h"
#include "StrengthUnit.h"
#include "TestSupport.h"
#include "WorkbookExportUnit.h"

namespace fs = std::filesystem;

namespace {

constexpr double Pi = std::numbers::pi;
constexpr double Deg = Pi / 180;
constexpr int Steps = 72;  // 10° grid over the four-stroke cycle

std::string fileText(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), {});
}

// Output and exit status of a shell command.
std::pair<std::string, int> command(const std::string& line) {
  FILE* pipe = ::popen(line.c_str(), "r");
  if (!pipe) throw std::runtime_error("cannot run " + line);
  std::string out;
  char buffer[65536];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
  const int status = ::pclose(pipe);
  return {out, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

// The text between `open` and `close` from `from` on; npos in `from` when there is none.
std::string between(const std::string& text, const std::string& open, const std::string& close, std::size_t& from) {
  const auto a = text.find(open, from);
  if (a == std::string::npos) return from = std::string::npos, std::string();
  const auto b = text.find(close, a + open.size());
  from = b == std::string::npos ? std::string::npos : b + close.size();
  return text.substr(a + open.size(), b - a - open.size());
}

std::string unescaped(std::string text) {
  const std::pair<const char*, const char*> entities[] = {
      {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"}, {"&amp;", "&"}};
  for (const auto& [entity, character] : entities)
    for (std::size_t at; (at = text.find(entity)) != std::string::npos;) text.replace(at, std::strlen(entity), character);
  return text;
}

struct TCell {
  bool isNumber = false;
  double number = 0;
  std::string text;
};

// One sheet's cells by (row, column), both from 0.
struct TSheet {
  std::map<std::pair<int, int>, TCell> cells;
  bool headerFrozen = false;

  const TCell& at(int row, int col) const {
    static const TCell empty;
    const auto it = cells.find({row, col});
    return it == cells.end() ? empty : it->second;
  }
  std::vector<std::string> header() const {
    std::vector<std::string> texts;
    for (int c = 0; !at(0, c).text.empty(); ++c) texts.push_back(at(0, c).text);
    return texts;
  }
  int column(const std::string& caption) const {
    const auto h = header();
    const auto it = std::find(h.begin(), h.end(), caption);
    return it == h.end() ? -1 : static_cast<int>(it - h.begin());
  }
  int row(const std::string& caption) const {
    for (const auto& [place, cell] : cells)
      if (place.second == 0 && cell.text == caption) return place.first;
    return -1;
  }
  int rows() const { return cells.empty() ? 0 : cells.rbegin()->first.first + 1; }
};

// A workbook read back: the archive's members through unzip, the sheets by name.
class TWorkbookReader {
 public:
  explicit TWorkbookReader(fs::path file) : file_(std::move(file)) {
    const std::string workbook = member("xl/workbook.xml");
    const std::string relations = member("xl/_rels/workbook.xml.rels");
    std::size_t at = 0;
    for (std::string sheet; (sheet = between(workbook, "<sheet ", "/>", at)), at != std::string::npos;) {
      std::size_t p = 0;
      const std::string name = unescaped(between(sheet, "name=\"", "\"", p));
      p = 0;
      const std::string id = between(sheet, "r:id=\"", "\"", p);
      std::size_t r = relations.find("Id=\"" + id + "\"");
      const std::string target = between(relations, "Target=\"", "\"", r);
      names_.push_back(name);
      paths_[name] = "xl/" + target;
    }
    const std::string strings = member("xl/sharedStrings.xml");
    at = 0;
    for (std::string item; (item = between(strings, "<si>", "</si>", at)), at != std::string::npos;) {
      std::size_t p = item.find("<t");
      p = item.find('>', p) + 1;
      strings_.push_back(unescaped(item.substr(p, item.find("</t>", p) - p)));
    }
  }

  std::string member(const std::string& name) const {
    return command("unzip -p '" + file_.string() + "' '" + name + "'").first;
  }
  std::vector<std::string> members() const {
    std::vector<std::string> list;
    std::istringstream in(command("unzip -Z1 '" + file_.string() + "'").first);
    for (std::string line; std::getline(in, line);) list.push_back(line);
    return list;
  }
  const std::vector<std::string>& SheetNames() const { return names_; }

  TSheet Sheet(const std::string& name) const {
    TSheet sheet;
    const std::string xml = member(paths_.at(name));
    sheet.headerFrozen = xml.find("<pane ySplit=\"1\" topLeftCell=\"A2\"") != std::string::npos &&
                         xml.find("state=\"frozen\"") != std::string::npos;
    for (std::size_t at = 0; (at = xml.find("<c r=\"", at)) != std::string::npos;) {
      const std::size_t tagEnd = xml.find('>', at);
      const std::string tag = xml.substr(at, tagEnd - at);
      std::size_t p = 6;
      int col = 0;
      for (; std::isupper(static_cast<unsigned char>(tag[p])); ++p) col = col * 26 + (tag[p] - 'A' + 1);
      const int row = std::stoi(tag.substr(p)) - 1;
      TCell cell;
      if (xml[tagEnd - 1] != '/') {
        std::size_t v = tagEnd;
        const std::string value = between(xml, "<v>", "</v>", v);
        if (tag.find("t=\"s\"") != std::string::npos)
          cell.text = strings_.at(std::stoul(value));
        else
          cell.isNumber = true, cell.number = std::stod(value);
      }
      sheet.cells[{row, col - 1}] = cell;
      at = tagEnd;
    }
    return sheet;
  }

 private:
  fs::path file_;
  std::vector<std::string> names_;
  std::map<std::string, std::string> paths_;
  std::vector<std::string> strings_;
};

// Every value of a column from row 1 on equals the array, to the last digits the file keeps.
void expectColumn(const TSheet& sheet, const std::string& caption, const TReal1DArray& values, double scale = 1) {
  const int col = sheet.column(caption);
  ASSERT_GE(col, 0) << caption;
  ASSERT_EQ(sheet.rows(), static_cast<int>(values.size()) + 1) << caption;
  for (std::size_t k = 0; k < values.size(); ++k) {
    const TCell& cell = sheet.at(static_cast<int>(k) + 1, col);
    ASSERT_TRUE(cell.isNumber) << caption << " step " << k;
    EXPECT_NEAR(cell.number, values[k] * scale, 1e-14 * (1 + std::abs(values[k] * scale))) << caption << " step " << k;
  }
}

TTextReportItems only(std::initializer_list<int> positions) {
  TTextReportItems items = TTextReportItems::None();
  for (int p : positions) items.SetTicked(p);
  return items;
}

}  // namespace

// Runs of a synthetic cycle on an engine of two throws with two side-by-side rods each; the
// second run stands for a resonance run at another speed.
class WorkbookTest : public ::testing::Test {
 protected:
  TEngineDataStruct engine;
  TDynamicCalcArray runs;
  testsupport::TempDir dir;

  void SetUp() override {
    engine.NSec = 2, engine.NRad = 2, engine.Disposition = 0;
    for (int s = 1; s <= 2; ++s)
      for (int r = 1; r <= 2; ++r) engine.FireAngle[s][r] = ((s - 1) * 180 + (r - 1) * 60) * Deg;
    engine.ValSteel.Ro = 7850, engine.ValSteel.Sgm_1 = 540, engine.ValSteel.Tau_1 = 312;
    engine.KTau_M_K = engine.KSgm_M_K = engine.KTau_M_S = engine.KSgm_M_S = engine.KSgm_G_S = engine.KTau_G_S = 2;
    engine.Etau_K = engine.Esgm_K = engine.Etau_S = engine.Esgm_S = 0.7;
    engine.PsiSgm = 0.1, engine.PsiTau = 0.05, engine.LamD = 1, engine.Knu = 1;
    addRun(engine.N, 10);
    addRun(engine.N * 0.8, 14);
  }
  void addRun(double speed, double firingPressure) {
    auto run = std::make_unique<TDynamicCalcStruct>(engine);
    for (int k = 0; k < Steps; ++k) {
      run->AngleGrid.push_back(k * 10 * Deg);
      run->Pressure.push_back(k == 0 ? firingPressure : 0.5 + 0.01 * k);
    }
    run->CreateCranks();
    run->N = speed;
    run->ComputeLoads();
    // The split scheme's moments stand in for the beam's, so that every factor is finite.
    for (auto& c : run->Cranks) c->Mkks2 = c->SplitMkks, c->Mkss = c->SplitMkss, c->MZgalss1 = c->SplitMZgal1;
    run->ComputeStrength();
    runs.push_back(std::move(run));
  }
  const TDynamicCalcStruct& design() const { return *runs.front(); }
  TWorkbookReader save(const TTextReportItems& items = {}, const std::string& name = "Проект.xlsx") {
    SaveWorkbook(dir / name, design(), runs, items, "Проект");
    return TWorkbookReader(dir / name);
  }
};

TEST_F(WorkbookTest, ArchiveIsIntactAndHoldsTheSheetsInReportOrder) {
  const auto book = save();
  EXPECT_EQ(command("unzip -tqq '" + (dir / "Проект.xlsx").string() + "'").second, 0);
  const std::vector<std::string> expected{"Цилиндр 1", "Цилиндр 2", "Цилиндр 3",        "Цилиндр 4",
                                          "Колено 1",  "Колено 2",  "Напряжения",       "Запасы прочности",
                                          "Общее заключение по прочности", "Графики", "Данные графиков"};
  EXPECT_EQ(book.SheetNames(), expected);
  for (const std::string& name : expected)
    if (name != "Графики") {
      EXPECT_TRUE(book.Sheet(name).headerFrozen) << name;
    }
  // Nothing but the workbook is left in the folder.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 1);
}

TEST_F(WorkbookTest, PerStepSheetsHoldEveryStepOfTheirCylinderOrThrow) {
  const auto book = save();
  // Cylinder 3 is the row-2 cylinder of throw 1.
  const TCylinder& cylinder = *design().Cranks[0]->Cylinders[1];
  const TSheet sheet = book.Sheet("Цилиндр 3");
  EXPECT_EQ(sheet.header().size(), 17u);  // the angle and the 16 cylinder items
  expectColumn(sheet, "alpha[3], град", cylinder.Alpha, 180 / Pi);
  expectColumn(sheet, "beta[3], град", cylinder.Beta, 180 / Pi);
  expectColumn(sheet, "P[3], МПа", cylinder.P);
  expectColumn(sheet, "MZ.ss[3], Нм", cylinder.MZss);
  // Its own crank angle: it fires 60° after cylinder 1, so the cycle's first step finds it 60°
  // before the end of its own cycle.
  EXPECT_NEAR(sheet.at(1, 0).number, 720 - 60, 1e-9);

  // Throw quantities run over the crank angle of cylinder 1.
  const TCrank& second = *design().Cranks[1];
  const TSheet throwSheet = book.Sheet("Колено 2");
  EXPECT_EQ(throwSheet.header().size(), 33u);  // the angle and the 32 throw items
  expectColumn(throwSheet, "alpha[2], град", design().Cranks[0]->Cylinders[0]->Alpha, 180 / Pi);
  expectColumn(throwSheet, "Xсумм[2], Н", second.XSum);
  expectColumn(throwSheet, "[Разр.]MZ.gal2[2], Нм", second.SplitMZgal2);
}

TEST_F(WorkbookTest, CheckListChoosesColumnsAndTables) {
  const auto book = save(only({7, 49}));
  const std::vector<std::string> expected{"Цилиндр 1", "Цилиндр 2", "Цилиндр 3", "Цилиндр 4", "Колено 1", "Колено 2",
                                          "Общее заключение по прочности", "Графики", "Данные графиков"};
  EXPECT_EQ(book.SheetNames(), expected);
  EXPECT_EQ(book.Sheet("Цилиндр 4").header(), (std::vector<std::string>{"alpha[4], град", "P[4], МПа"}));
  EXPECT_EQ(book.Sheet("Колено 1").header(),
            (std::vector<std::string>{"alpha[1], град", "[Разр.]MZ.gal2[1], Нм"}));

  // Only the header positions and the tables: no per-step sheets at all.
  const auto tables = save(only({0, 17, 50, 51}), "Таблицы.xlsx");
  EXPECT_EQ(tables.SheetNames(), (std::vector<std::string>{"Напряжения", "Запасы прочности",
                                                           "Общее заключение по прочности", "Графики",
                                                           "Данные графиков"}));
}

TEST_F(WorkbookTest, StressSheetGivesBothSchemesOfEveryThrowInMegapascals) {
  const TSheet sheet = save().Sheet("Напряжения");
  EXPECT_EQ(sheet.header(), (std::vector<std::string>{"Название", "Секция 1", "Секция 1 [Разр.]", "Секция 2",
                                                      "Секция 2 [Разр.]"}));
  const int row = sheet.row("Кручение правой коренной шейки (амплитуда), МПа");
  ASSERT_GT(row, 0);
  for (int t = 0; t < 2; ++t) {
    const TCrank& c = *design().Cranks[static_cast<std::size_t>(t)];
    EXPECT_TRUE(sheet.at(row, 1 + 2 * t).isNumber);
    EXPECT_DOUBLE_EQ(sheet.at(row, 1 + 2 * t).number, c.TauAKs / 1e6);
    EXPECT_DOUBLE_EQ(sheet.at(row, 2 + 2 * t).number, c.SplitTauAKs / 1e6);
  }
  // Both rows of the crankpin bending, for each row of cylinders.
  EXPECT_GT(sheet.row("Изгиб шатунной шейки (амплитуда), Сечение 1, МПа"), 0);
  const int pin = sheet.row("Изгиб шатунной шейки (среднее значение), Сечение 1, МПа");
  ASSERT_GT(pin, 0);
  EXPECT_DOUBLE_EQ(sheet.at(pin, 3).number, design().Cranks[1]->Cylinders[1]->SgmMSs / 1e6);
}

TEST_F(WorkbookTest, SafetySheetEndsWithTheSmallestFactorOverTheThrows) {
  const TSheet sheet = save().Sheet("Запасы прочности");
  const auto header = sheet.header();
  ASSERT_EQ(header.size(), 7u);
  EXPECT_EQ(header[5], "Мин. значение");
  EXPECT_EQ(header[6], "Мин. значение [Разр.]");
  const int row = sheet.row("Общий запас в левой галтели шатунной шейки");
  ASSERT_GT(row, 0);
  const TCrank &first = *design().Cranks[0], &second = *design().Cranks[1];
  EXPECT_DOUBLE_EQ(sheet.at(row, 1).number, first.NGal1);
  EXPECT_DOUBLE_EQ(sheet.at(row, 5).number, std::min(first.NGal1, second.NGal1));
  EXPECT_DOUBLE_EQ(sheet.at(row, 6).number, std::min(first.SplitNGal1, second.SplitNGal1));
  // The split scheme's unlimited journal bending factor stays the number 1e30.
  const int bending = sheet.row("Изгиб правой коренной шейки (масл. отв.)");
  EXPECT_TRUE(sheet.at(bending, 2).isNumber);
  EXPECT_EQ(sheet.at(bending, 2).number, UnlimitedSafetyFactor);
}

TEST_F(WorkbookTest, SummarySheetNamesTheWeakestThrowAndResonanceSpeed) {
  const TSheet sheet = save().Sheet("Общее заключение по прочности");
  EXPECT_EQ(sheet.header(), (std::vector<std::string>{"Название коэффициента запаса", "На расчётном режиме", "Секция",
                                                      "На резонансной частоте", "Секция",
                                                      "Частота вращения, об/мин"}));
  ASSERT_EQ(sheet.rows(), 11);
  const int row = sheet.row("Общий запас правой коренной шейки (масл. отв.)");
  ASSERT_GT(row, 0);
  auto weakest = [](const TDynamicCalcStruct& run) {
    return run.Cranks[0]->NKs <= run.Cranks[1]->NKs ? std::pair{run.Cranks[0]->NKs, 1} : std::pair{run.Cranks[1]->NKs, 2};
  };
  EXPECT_DOUBLE_EQ(sheet.at(row, 1).number, weakest(design()).first);
  EXPECT_EQ(sheet.at(row, 2).number, weakest(design()).second);
  EXPECT_DOUBLE_EQ(sheet.at(row, 3).number, weakest(*runs[1]).first);
  EXPECT_EQ(sheet.at(row, 4).number, weakest(*runs[1]).second);
  EXPECT_DOUBLE_EQ(sheet.at(row, 5).number, runs[1]->N);

  // Without resonance runs there is nothing to summarise over them: no such sheet.
  runs.pop_back();
  const auto names = save({}, "Один.xlsx").SheetNames();
  EXPECT_EQ(std::count(names.begin(), names.end(), "Общее заключение по прочности"), 0);
}

TEST_F(WorkbookTest, ChartsDrawTheMainCurvesFromTheirDataSheet) {
  const auto book = save(TTextReportItems::None());
  const auto members = book.members();
  const auto charts = std::count_if(members.begin(), members.end(),
                                    [](const std::string& m) { return m.rfind("xl/charts/chart", 0) == 0; });
  EXPECT_EQ(charts, 4);  // cylinder 1's forces, the crankpin torques, and the crankpin load of each throw
  const TSheet data = book.Sheet("Данные графиков");
  const TCylinder& cylinder = *design().Cranks[0]->Cylinders[0];
  expectColumn(data, "P[1], МПа", cylinder.P);
  expectColumn(data, "Pj[1], МПа", cylinder.Pj);
  expectColumn(data, "Mk.ss[2], Нм", design().Cranks[1]->Mkss);
  expectColumn(data, "Yсумм[2], Н", design().Cranks[1]->YSum);

  const std::string first = book.member("xl/charts/chart1.xml");
  EXPECT_NE(first.find("Газовая сила и сила инерции, цилиндр 1"), std::string::npos);
  EXPECT_NE(first.find("<c:scatterChart>"), std::string::npos);
  // The series read the angle and the forces of all steps.
  EXPECT_NE(first.find("'Данные графиков'!$A$2:$A$" + std::to_string(Steps + 1)), std::string::npos);
  EXPECT_NE(first.find("'Данные графиков'!$B$2:$B$" + std::to_string(Steps + 1)), std::string::npos);
  EXPECT_NE(first.find("'Данные графиков'!$C$2:$C$" + std::to_string(Steps + 1)), std::string::npos);
  const std::string load = book.member("xl/charts/chart4.xml");
  EXPECT_NE(load.find("Нагрузка на шатунную шейку, колено 2"), std::string::npos);
}

TEST_F(WorkbookTest, RunWithoutResultsIsRefusedWithNothingWritten) {
  TDynamicCalcStruct empty(engine);
  try {
    SaveWorkbook(dir / "Пусто.xlsx", empty, runs, {}, "Проект");
    FAIL() << "no error";
  } catch (const TEVexaError& error) {
    EXPECT_EQ(error.Code, ErrNoResults);
  }
  EXPECT_TRUE(fs::is_empty(dir.Path()));
}

// A failed write: error 5 with the reason, the previous workbook untouched, no temporary file.
class WorkbookFailureTest : public WorkbookTest {
 protected:
  fs::path target;
  std::string previous = "the previous workbook";

  void SetUp() override {
    WorkbookTest::SetUp();
    target = dir / "Проект.xlsx";
    std::ofstream(target, std::ios::binary) << previous;
  }
  void expectPreviousAlone() {
    EXPECT_EQ(fileText(target), previous);
    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(dir.Path())) left.push_back(entry.path().filename().string());
    EXPECT_EQ(left, std::vector<std::string>{"Проект.xlsx"});
  }
};

TEST_F(WorkbookFailureTest, UnwritableFolderGivesErrorFiveAndLeavesThePreviousFile) {
  // The folder's owner may write; another user may not. As root, the write is tried by a child
  // that has given up root's rights, since root writes anywhere.
  ::chmod(dir.Path().c_str(), 0555);
  const bool root = ::geteuid() == 0;
  const pid_t child = root ? ::fork() : 0;
  if (child == 0) {
    int outcome = 0;
    if (root && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(3);
    try {
      SaveWorkbook(target, design(), runs, {}, "Проект");
      outcome = 1;
    } catch (const TEVexaError& error) {
      // The user without rights is stopped at the previous file or at its folder, both read-only to it.
      const bool reasonGiven = error.Text.find("защищён от записи") != std::string::npos ||
                               error.Text.find("защищена от записи") != std::string::npos;
      outcome = error.Code == ErrExcel && error.Text.find("Ошибка OLE при работе с EXCEL") == 0 && reasonGiven ? 0 : 2;
      if (outcome != 0) std::fprintf(stderr, "%s\n", error.Text.c_str());
    }
    if (root) ::_exit(outcome);
    EXPECT_EQ(outcome, 0);
  } else {
    int status = 0;
    ::waitpid(child, &status, 0);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 3) GTEST_SKIP() << "cannot give up root's rights here";
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "child status " << status;
  }
  ::chmod(dir.Path().c_str(), 0700);
  expectPreviousAlone();
}

TEST_F(WorkbookFailureTest, WriteCutShortGivesErrorFiveAndLeavesThePreviousFile) {
  // A file size limit stops the write part-way, as a full disk would; it binds root too.
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit old{};
  ::getrlimit(RLIMIT_FSIZE, &old);
  rlimit small = old;
  small.rlim_cur = 4096;
  ::setrlimit(RLIMIT_FSIZE, &small);
  int code = -1;
  try {
    SaveWorkbook(target, design(), runs, {}, "Проект");
  } catch (const TEVexaError& error) {
    code = error.Code;
  }
  ::setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_EQ(code, ErrExcel);
  expectPreviousAlone();
}

TEST_F(WorkbookFailureTest, ReplacedFileKeepsItsPermissionsAndNewOnesAreNotPrivate) {
  ::chmod(target.c_str(), 0640);
  ReplaceFileByWriting(target, [](const fs::path& temporary) { std::ofstream(temporary) << "new"; });
  EXPECT_EQ(fileText(target), "new");
  struct stat st{};
  ::stat(target.c_str(), &st);
  EXPECT_EQ(st.st_mode & 0777, 0640u);

  const mode_t mask = ::umask(022);
  ::umask(mask);
  ReplaceFileByWriting(dir / "Новый.xlsx", [](const fs::path& temporary) { std::ofstream(temporary) << "new"; });
  ::stat((dir / "Новый.xlsx").c_str(), &st);
  EXPECT_EQ(st.st_mode & 0777, 0666u & ~mask);
}

TEST(ExcelSheetNameTest, NamesAreShortValidAndUnique) {
  EXPECT_EQ(ExcelSheetName("Колено 1", {}), "Колено 1");
  EXPECT_EQ(ExcelSheetName("a[1]:b*c?d/e\\f", {}), "a_1__b_c_d_e_f");
  EXPECT_EQ(ExcelSheetName("'Цилиндр'", {}), "Цилиндр");
  EXPECT_EQ(ExcelSheetName("''", {}), "Лист");
  // 31 characters, Cyrillic letters counting one each.
  const std::string longName = "Изгиб в левой галтели шатунной шейки";
  EXPECT_EQ(ExcelSheetName(longName, {}), "Изгиб в левой галтели шатунной ");
  // Compared without regard to case, Cyrillic included; the number keeps within 31 characters.
  EXPECT_EQ(ExcelSheetName("Колено 1", {"КОЛЕНО 1"}), "Колено 1 (2)");
  EXPECT_EQ(ExcelSheetName("Колено 1", {"колено 1", "Колено 1 (2)"}), "Колено 1 (3)");
  EXPECT_EQ(ExcelSheetName(longName, {"Изгиб в левой галтели шатунной "}), "Изгиб в левой галтели шатун (2)");
}

TEST(WorkbookFileNameTest, ProjectNameWithTheWorkbookExtension) {
  EXPECT_EQ(WorkbookFileName("/data/V16.vxa", "V16"), fs::path("/data/V16.xlsx"));
  EXPECT_EQ(WorkbookFileName("", " Новый "), fs::path("Новый.xlsx"));
  EXPECT_EQ(WorkbookSavedMessage("/data/V16.xlsx"), "Результаты сохранены в файле /data/V16.xlsx");
}

// The bundled example's design run, calculated as the calculate command does it.
TEST(WorkbookExampleTest, DesignRunOfTheExample) {
  TRunSettings settings;
  settings.ProjectDir = testsupport::SourceDir() / "examples";
  TVexaProject project(settings);
  LoadProjectFile(project.EngineData, testsupport::SourceDir() / "examples" / "V16-26-26.vxa");
  project.EngineData.CalcOscillFlag = false;
  ASSERT_TRUE(project.CalcDynamicExecute().Completed);
  const TDynamicCalcStruct& run = *project.Results.front();

  testsupport::TempDir dir;
  const fs::path file = WorkbookFileName(dir / "V16-26-26.vxa", project.EngineData.ProjectName);
  SaveWorkbook(file, run, project.Results, {}, project.EngineData.ProjectName);
  EXPECT_EQ(command("unzip -tqq '" + file.string() + "'").second, 0);
  const TWorkbookReader book(file);
  const auto& names = book.SheetNames();
  ASSERT_EQ(names.size(), 16u + 8u + 4u);  // no summary: the design run alone
  EXPECT_EQ(names[15], "Цилиндр 16");
  EXPECT_EQ(names[23], "Колено 8");
  EXPECT_EQ(names[24], "Напряжения");

  // Cylinder 16: throw 8, row 2.
  const TCylinder& last = *run.Cranks[7]->Cylinders[1];
  const TSheet cylinder = book.Sheet("Цилиндр 16");
  expectColumn(cylinder, "P[16], МПа", last.P);
  expectColumn(cylinder, "T[16], МПа", last.T);
  expectColumn(cylinder, "MZ.ss[16], Нм", last.MZss);
  const TSheet throwSheet = book.Sheet("Колено 5");
  expectColumn(throwSheet, "MX1[5], Нм", run.Cranks[4]->MX1);
  expectColumn(throwSheet, "Mk.ks_2[5], Нм", run.Cranks[4]->Mkks2);

  const TSheet safety = book.Sheet("Запасы прочности");
  EXPECT_EQ(safety.header().size(), 1u + 2u * 9u);  // 8 throws and the minimum, each with its split column
  const int row = safety.row("Общий запас шатунной шейки (масл. отв.), Сечение 1");
  ASSERT_GT(row, 0);
  EXPECT_DOUBLE_EQ(safety.at(row, 1 + 2 * 3).number, run.Cranks[3]->Cylinders[1]->NSs);
}
