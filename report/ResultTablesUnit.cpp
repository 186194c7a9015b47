#include "ResultTablesUnit.h"

#include <algorithm>
#include <array>
#include <numbers>
#include <stdexcept>

#include "EVexaErrorUnit.h"
#include "NumberFormatUnit.h"
#include "ResultCatalogUnit.h"
#include "StrengthUnit.h"

const char* const ResultTablesCaption = "Результаты расчёта - табличное представление";

namespace {

constexpr double DegPerRad = 180 / std::numbers::pi;

// "%3.3f" and "%.4g"; a negative zero (a product of an exact zero) is shown as 0.
std::string value3(double v) { return FormatFixed(v == 0 ? 0.0 : v, 3, 3); }
std::string general4(double v) { return FormatSignificant(v == 0 ? 0.0 : v, 4); }
std::string withSplit(const std::string& main, const std::string& split) { return main + " (" + split + ")"; }

std::string sectionSuffix(int row) { return "Сечение " + std::to_string(row); }

// Columns of a summary table: the captions, one per throw, and optionally the minimum.
std::vector<TResultColumn> throwColumns(int throws, int captionWidth, int throwWidth) {
  std::vector<TResultColumn> columns{{"Название", captionWidth}};
  for (int i = 1; i <= throws; ++i) columns.push_back({"Секция " + std::to_string(i), throwWidth});
  return columns;
}

// ---- Blocks of statistics: title, max, its angle, min, its angle, mean, amplitude, gap ----

// The "c" of "Макc" is a Latin letter in the program's own caption; kept as it has always read.
const char* const BlockRows[] = {"Макc. значение",   "Угол, при котором оно достигается, град",
                                 "Мин. значение",    "Угол, при котором оно достигается, град",
                                 "Среднее значение", "Амплитуда"};

class TStatBlocks {
 public:
  TStatBlocks(const TDynamicCalcStruct& run, TResultTable& table)
      : run_(run), table_(table), throws_(RunThrowCount(run)) {}

  // Appends a block of 8 rows with empty cells.
  void Add(const std::string& title) {
    table_.Rows.push_back({title, cells()});
    for (const char* caption : BlockRows) table_.Rows.push_back({caption, cells()});
    table_.Rows.push_back({"", cells()});
  }
  // Fills the last block's six value rows in the column of one throw (0-based).
  void Fill(const TArrayStats& st, int column) {
    const auto texts = values(st);
    for (std::size_t k = 0; k < texts.size(); ++k) cell(k, column) = texts[k];
  }
  // The same with the split-scheme value in brackets.
  void FillSplit(const TArrayStats& st, const TArrayStats& split, int column) {
    const auto texts = values(st), splitTexts = values(split);
    for (std::size_t k = 0; k < texts.size(); ++k) cell(k, column) = withSplit(texts[k], splitTexts[k]);
  }

 private:
  const TDynamicCalcStruct& run_;
  TResultTable& table_;
  int throws_;

  std::vector<std::string> cells() const { return std::vector<std::string>(static_cast<std::size_t>(throws_)); }
  std::string& cell(std::size_t valueRow, int column) {
    // The six value rows follow the title; the block ends with the gap row.
    TResultRow& row = table_.Rows[table_.Rows.size() - 7 + valueRow];
    return row.Cells.at(static_cast<std::size_t>(column));
  }
  std::string angle(std::int16_t index) const {
    const auto i = static_cast<std::size_t>(index);
    return general4(i < run_.AngleGrid.size() ? run_.AngleGrid[i] * DegPerRad : 0.0);
  }
  std::array<std::string, 6> values(const TArrayStats& st) const {
    return {value3(st.MaxValue), angle(st.MaxIndex), value3(st.MinValue),
            angle(st.MinIndex),  value3(st.Mean),    value3(st.Amplitude)};
  }
};

const TCrank& throwAt(const TDynamicCalcStruct& run, int column) {
  return *run.Cranks[static_cast<std::size_t>(column)];
}

// ---- Rows of stresses and safety factors: a continuous and a split value per throw ----

// Collects rows of (continuous, split) values, one value pair per throw of the run.
class TPairRows {
 public:
  explicit TPairRows(const TDynamicCalcStruct& run) : run_(run), throws_(RunThrowCount(run)) {}
  template <typename Pick>
  void add(const std::string& caption, Pick pick) {
    TResultValueRow row{caption, {}};
    for (int i = 0; i < throws_; ++i) row.Values.push_back(pick(throwAt(run_, i)));
    rows_.push_back(std::move(row));
  }
  std::vector<TResultValueRow>& rows() { return rows_; }

 private:
  const TDynamicCalcStruct& run_;
  int throws_;
  std::vector<TResultValueRow> rows_;
};

}  // namespace

void RequireRunResults(const TDynamicCalcStruct& run) {
  if (run.Cranks.empty() || !run.Cranks.front() || run.Cranks.front()->Cylinders.empty())
    throw TEVexaError(ErrNoResults);
}

int RunThrowCount(const TDynamicCalcStruct& run) { return static_cast<int>(run.Cranks.size()); }

int RunRowCount(const TDynamicCalcStruct& run) {
  return run.Cranks.empty() ? 0 : static_cast<int>(run.Cranks.front()->Cylinders.size());
}

TResultTable CylinderForcesTable(const TDynamicCalcStruct& run, int cylinder) {
  RequireRunResults(run);
  TResultTable table{"Силы в К&ШМ", "Силы в КШМ", {}, {}};
  for (const char* caption :
       {"УКВ, град", "P,  МПа", "Pj,  МПа", "Pсумм,  МПа", "K,  МПа", "N,  МПа", "T,  МПа", "Z,  МПа"})
    table.Columns.push_back({caption, 0});
  if (cylinder < 1 || cylinder > RunThrowCount(run) * RunRowCount(run))
    throw std::out_of_range("no cylinder " + std::to_string(cylinder) + " in the run");

  // Crank angle, then the forces in the order of the column headers.
  const int quantities[] = {0, 7, 8, 9, 11, 10, 12, 13};
  std::vector<const TReal1DArray*> arrays;
  for (int q : quantities) {
    const TReal1DArray* values = nullptr;
    GetQuantityArray(run, q, 1, cylinder, values);
    arrays.push_back(values);
  }
  // The last step closes the cycle on the first one and is not listed.
  const std::size_t rows = run.AngleGrid.empty() ? 0 : run.AngleGrid.size() - 1;
  for (std::size_t k = 0; k < rows; ++k) {
    TResultRow row{general4(arrays[0]->at(k) * DegPerRad), {}};
    for (std::size_t c = 1; c < arrays.size(); ++c) row.Cells.push_back(value3(arrays[c]->at(k)));
    table.Rows.push_back(std::move(row));
  }
  return table;
}

TResultTable ForcesTable(const TDynamicCalcStruct& run) {
  RequireRunResults(run);
  const int throws = RunThrowCount(run);
  TResultTable table{"&Силы",
                     "Силы: экстремальные и средние значения, амплитуды (Н) (в скобках - значения по разрезной схеме)",
                     throwColumns(throws, 300, 70),
                     {}};
  TStatBlocks blocks(run, table);
  struct TBlock {
    int quantity;
    TArrayStats TCrank::*stats;
    TArrayStats TCrank::*split;
  };
  const TBlock list[] = {
      {14, &TCrank::TSumStat, nullptr},      {15, &TCrank::ZSumStat, nullptr},
      {16, &TCrank::T1Stat, &TCrank::SplitT1Stat}, {17, &TCrank::Z1Stat, &TCrank::SplitZ1Stat},
      {18, &TCrank::T2Stat, &TCrank::SplitT2Stat}, {19, &TCrank::Z2Stat, &TCrank::SplitZ2Stat},
      {20, &TCrank::XSumStat, nullptr},      {21, &TCrank::YSumStat, nullptr},
      {22, &TCrank::X1Stat, nullptr},        {23, &TCrank::Y1Stat, nullptr},
      {24, &TCrank::X2Stat, nullptr},        {25, &TCrank::Y2Stat, nullptr},
  };
  for (const TBlock& b : list) {
    blocks.Add(QuantityLongNames[b.quantity]);
    for (int i = 0; i < throws; ++i) {
      const TCrank& c = throwAt(run, i);
      if (b.split)
        blocks.FillSplit(c.*b.stats, c.*b.split, i);
      else
        blocks.Fill(c.*b.stats, i);
    }
  }
  return table;
}

TResultTable MomentsTable(const TDynamicCalcStruct& run) {
  RequireRunResults(run);
  const int throws = RunThrowCount(run), rows = RunRowCount(run);
  TResultTable table{"&Моменты",
                     "Моменты: экстремальные и средние значения, амплитуды (Нм) (в скобках - значения по разрезной схеме)",
                     throwColumns(throws, 300, 70),
                     {}};
  TStatBlocks blocks(run, table);
  auto throwBlock = [&](int quantity, TArrayStats TCrank::*stats, TArrayStats TCrank::*split) {
    blocks.Add(QuantityLongNames[quantity]);
    for (int i = 0; i < throws; ++i) {
      const TCrank& c = throwAt(run, i);
      if (split)
        blocks.FillSplit(c.*stats, c.*split, i);
      else
        blocks.Fill(c.*stats, i);
    }
  };
  const std::pair<int, TArrayStats TCrank::*> supportMoments[] = {
      {26, &TCrank::MX1Stat}, {27, &TCrank::MY1Stat}, {28, &TCrank::MX2Stat}, {29, &TCrank::MY2Stat},
      {30, &TCrank::MT1Stat}, {31, &TCrank::MZ1Stat}, {32, &TCrank::MT2Stat}, {33, &TCrank::MZ2Stat}};
  for (const auto& [q, stats] : supportMoments) throwBlock(q, stats, nullptr);
  throwBlock(34, &TCrank::Mkks2Stat, &TCrank::SplitMkksStat);
  throwBlock(35, &TCrank::MkssStat, &TCrank::SplitMkssStat);

  // Crankpin moments under each row's rod.
  struct TCylinderBlock {
    int quantity;
    TArrayStats TCylinder::*stats;
    TArrayStats TCylinder::*split;
  };
  const TCylinderBlock pinMoments[] = {{38, &TCylinder::MXssStat, nullptr},
                                       {39, &TCylinder::MYssStat, nullptr},
                                       {40, &TCylinder::MZssStat, &TCylinder::SplitMZssStat},
                                       {41, &TCylinder::MTssStat, &TCylinder::SplitMTssStat},
                                       {42, &TCylinder::M0ssStat, &TCylinder::SplitM0ssStat}};
  for (int s = 0; s < rows; ++s)
    for (const TCylinderBlock& b : pinMoments) {
      blocks.Add(std::string(QuantityLongNames[b.quantity]) + " (" + sectionSuffix(s) + ")");
      for (int i = 0; i < throws; ++i) {
        const TCylinder& cyl = *throwAt(run, i).Cylinders.at(static_cast<std::size_t>(s));
        if (b.split)
          blocks.FillSplit(cyl.*b.stats, cyl.*b.split, i);
        else
          blocks.Fill(cyl.*b.stats, i);
      }
    }
  throwBlock(36, &TCrank::MZgalss1Stat, &TCrank::SplitMZgal1Stat);
  throwBlock(37, &TCrank::MZgalss2Stat, &TCrank::SplitMZgal2Stat);

  TResultRow torque{"Набегающий крутящий момент (Mk.sum), Нм", {}};
  TResultRow power{"Полученная мощность (N), кВт (л.с.)", {}};
  for (int i = 0; i < throws; ++i) {
    const TCrank& c = throwAt(run, i);
    torque.Cells.push_back(value3(c.MkksMean));
    // Kilowatts and metric horse-power, the latter with the program's factor 0.733 kW/hp.
    power.Cells.push_back(withSplit(value3(c.Power / 1000), value3(c.Power / 0.733 / 1000)));
  }
  table.Rows.push_back(std::move(torque));
  table.Rows.push_back(std::move(power));
  return table;
}

std::vector<TResultValueRow> StressValues(const TDynamicCalcStruct& run) {
  RequireRunResults(run);
  const int rows = RunRowCount(run);
  TPairRows table(run);
  auto add = [&table](const std::string& caption, auto pick) { table.add(caption, pick); };
  using P = std::pair<double, double>;
  add("Кручение правой коренной шейки (амплитуда), МПа", [](const TCrank& c) { return P{c.TauAKs, c.SplitTauAKs}; });
  add("Кручение правой коренной шейки (среднее значение), МПа",
      [](const TCrank& c) { return P{c.TauMKs, c.SplitTauMKs}; });
  // The split scheme has no bending of the main journal.
  add("Изгиб правой коренной шейки (амплитуда), МПа", [](const TCrank& c) { return P{c.SgmAKs, 0}; });
  add("Изгиб правой коренной шейки (среднее значение), МПа", [](const TCrank& c) { return P{c.SgmMKs, 0}; });
  add("Кручение шатунной шейки (амплитуда), МПа", [](const TCrank& c) { return P{c.TauASs, c.SplitTauASs}; });
  add("Кручение шатунной шейки (среднее значение), МПа", [](const TCrank& c) { return P{c.TauMSs, c.SplitTauMSs}; });
  for (int s = 0; s < rows; ++s) {
    const auto r = static_cast<std::size_t>(s);
    add("Изгиб шатунной шейки (амплитуда), " + sectionSuffix(s) + ", МПа", [r](const TCrank& c) {
      const TCylinder& cyl = *c.Cylinders.at(r);
      return P{cyl.SgmASs, cyl.SplitSgmASs};
    });
    add("Изгиб шатунной шейки (среднее значение), " + sectionSuffix(s) + ", МПа", [r](const TCrank& c) {
      const TCylinder& cyl = *c.Cylinders.at(r);
      return P{cyl.SgmMSs, cyl.SplitSgmMSs};
    });
  }
  add("Изгиб в левой галтели шатунной шейки в плоскости колена (амплитуда), МПа",
      [](const TCrank& c) { return P{c.SgmAGal1, c.SplitSgmAGal1}; });
  add("Изгиб в левой галтели шатунной шейки в плоскости колена (среднее значение), МПа",
      [](const TCrank& c) { return P{c.SgmMGal1, c.SplitSgmMGal1}; });
  add("Изгиб в правой галтели шатунной шейки в плоскости колена (амплитуда), МПа",
      [](const TCrank& c) { return P{c.SgmAGal2, c.SplitSgmAGal2}; });
  add("Изгиб в правой галтели шатунной шейки в плоскости колена (среднее значение), МПа",
      [](const TCrank& c) { return P{c.SgmMGal2, c.SplitSgmMGal2}; });
  for (TResultValueRow& row : table.rows())
    for (auto& [main, split] : row.Values) main /= 1e6, split /= 1e6;
  return table.rows();
}

std::vector<TResultValueRow> SafetyValues(const TDynamicCalcStruct& run) {
  RequireRunResults(run);
  const int rows = RunRowCount(run);
  TPairRows table(run);
  auto add = [&table](const std::string& caption, auto pick) { table.add(caption, pick); };
  using P = std::pair<double, double>;
  add("Кручение правой коренной шейки (масл. отв.)", [](const TCrank& c) { return P{c.NTauKs, c.SplitNTauKs}; });
  // The split scheme has no journal bending: its bending factor is unlimited and its total
  // factor is the torsion factor alone.
  add("Изгиб правой коренной шейки (масл. отв.)",
      [](const TCrank& c) { return P{c.NSgmKs, UnlimitedSafetyFactor}; });
  add("Общий запас правой коренной шейки (масл. отв.)", [](const TCrank& c) { return P{c.NKs, c.SplitNTauKs}; });
  add("Кручение в левой галтели шатунной шейки", [](const TCrank& c) { return P{c.NTauGal1, c.SplitNTauGal1}; });
  add("Изгиб в левой галтели шатунной шейки в плоскости колена",
      [](const TCrank& c) { return P{c.NSgmGal1, c.SplitNSgmGal1}; });
  add("Общий запас в левой галтели шатунной шейки", [](const TCrank& c) { return P{c.NGal1, c.SplitNGal1}; });
  for (int s = 0; s < rows; ++s) {
    const auto r = static_cast<std::size_t>(s);
    add("Кручение шатунной шейки (масл. отв.), " + sectionSuffix(s),
        [](const TCrank& c) { return P{c.NTauSs, c.SplitNTauSs}; });
    add("Изгиб шатунной шейки (масл. отв.), " + sectionSuffix(s), [r](const TCrank& c) {
      const TCylinder& cyl = *c.Cylinders.at(r);
      return P{cyl.NSgmSs, cyl.SplitNSgmSs};
    });
    add("Общий запас шатунной шейки (масл. отв.), " + sectionSuffix(s), [r](const TCrank& c) {
      const TCylinder& cyl = *c.Cylinders.at(r);
      return P{cyl.NSs, cyl.SplitNSs};
    });
  }
  add("Кручение в правой галтели шатунной шейки", [](const TCrank& c) { return P{c.NTauGal2, c.SplitNTauGal2}; });
  add("Изгиб в правой галтели шатунной шейки в плоскости колена",
      [](const TCrank& c) { return P{c.NSgmGal2, c.SplitNSgmGal2}; });
  add("Общий запас в правой галтели шатунной шейки", [](const TCrank& c) { return P{c.NGal2, c.SplitNGal2}; });
  return table.rows();
}

std::pair<double, double> SmallestOverThrows(const TResultValueRow& row) {
  std::pair<double, double> smallest{UnlimitedSafetyFactor, UnlimitedSafetyFactor};
  for (const auto& [main, split] : row.Values) {
    smallest.first = std::min(smallest.first, main);
    smallest.second = std::min(smallest.second, split);
  }
  return smallest;
}

namespace {

std::string pairText(const std::pair<double, double>& v) { return withSplit(general4(v.first), general4(v.second)); }

}  // namespace

TResultTable StressTable(const TDynamicCalcStruct& run) {
  RequireRunResults(run);
  TResultTable table{"&Напряжения",
                     "Напряжения: средние значения, амплитуды (МПа) (в скобках - значения по разрезной схеме)",
                     throwColumns(RunThrowCount(run), 400, 100),
                     {}};
  for (const TResultValueRow& row : StressValues(run)) {
    TResultRow out{row.Caption, {}};
    for (const auto& v : row.Values) out.Cells.push_back(pairText(v));
    table.Rows.push_back(std::move(out));
  }
  return table;
}

TResultTable SafetyTable(const TDynamicCalcStruct& run) {
  RequireRunResults(run);
  TResultTable table{"&Запасы", "Запасы прочности (в скобках - значения по разрезной схеме)",
                     throwColumns(RunThrowCount(run), 300, 100), {}};
  table.Columns.push_back({"Мин. значение", 70});
  for (const TResultValueRow& row : SafetyValues(run)) {
    TResultRow out{row.Caption, {}};
    for (const auto& v : row.Values) out.Cells.push_back(pairText(v));
    out.Cells.push_back(pairText(SmallestOverThrows(row)));
    table.Rows.push_back(std::move(out));
  }
  return table;
}

std::vector<TResultTable> AllResultTables(const TDynamicCalcStruct& run) {
  return {CylinderForcesTable(run, 1), ForcesTable(run), MomentsTable(run), StressTable(run), SafetyTable(run)};
}
