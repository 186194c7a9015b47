#include "TorsionTablesUnit.h"

#include <functional>
#include <numbers>

#include "EngineDataStructUnit.h"
#include "ModeShapeUnit.h"
#include "NumberFormatUnit.h"
#include "VexaStringsTable.h"

namespace {

std::string g4(double value) { return FormatSignificant(value, 4); }

std::size_t at(int i) { return static_cast<std::size_t>(i); }

// The value at [l][j][index] of a per-mode array, "" when the index lies beyond it (the last
// motor mass may be the last mass of the chain).
std::string cellOf(const std::vector<TReal2DArray>& values, int l, int j, int index, double scale = 1) {
  const TReal1DArray& row = values.at(at(l)).at(at(j));
  return index >= 0 && at(index) < row.size() ? g4(row[at(index)] * scale) : std::string();
}

// The layout of the per-resonance grids: "L", "k", then `count` columns "i=1" …; a row per
// resonance with the mode number on the first row of its group and the order with Ω.
TResultTable perResonance(const TOscillCalcStruct& model, int count,
                          const std::function<std::vector<std::string>(int l, int j)>& cells) {
  TResultTable table;
  table.Columns = {{"L", 40}, {"k", 140}};
  for (int q = 1; q <= count; ++q) table.Columns.push_back({"i=" + std::to_string(q), 0});
  int lastMode = 0;
  for (const auto& [l, j] : ResonanceList(model)) {
    TResultRow row;
    row.Caption = l == lastMode ? std::string() : std::to_string(l);
    lastMode = l;
    const double order = model.Calc->HarmOrders[at(j)];
    row.Cells.push_back(g4(order) + " (" + g4(model.Omega[at(l)] / order) + " рад/с)");
    for (std::string& cell : cells(l, j)) row.Cells.push_back(std::move(cell));
    table.Rows.push_back(std::move(row));
  }
  return table;
}

}  // namespace

std::vector<std::pair<int, int>> ResonanceList(const TOscillCalcStruct& model) {
  std::vector<std::pair<int, int>> list;
  const int harmonics = static_cast<int>(model.Calc->HarmOrders.size());
  for (int l = 1; l < model.NModes(); ++l)
    for (int j = 0; j < harmonics; ++j)
      if (model.IsResonance(l, j)) list.emplace_back(l, j);
  return list;
}

TResultTable ResonanceSpeedTable(const TOscillCalcStruct& model) {
  TResultTable table;
  table.Columns.push_back({"k \\ L", 100});
  for (int l = 1; l < model.NModes(); ++l) table.Columns.push_back({std::to_string(l), 0});
  for (std::size_t j = 0; j < model.Calc->HarmOrders.size(); ++j) {
    TResultRow row{FormatGeneral(model.Calc->HarmOrders[j]), {}};
    for (int l = 1; l < model.NModes(); ++l)
      row.Cells.push_back(model.IsResonance(l, static_cast<int>(j)) ? g4(model.ResonanceSpeed(l, static_cast<int>(j)))
                                                                     : "-");
    table.Rows.push_back(std::move(row));
  }
  return table;
}

TResultTable ModeShapeTable(const TOscillCalcStruct& model) {
  TResultTable table;
  table.Columns.push_back({"w, рад/с", 100});
  for (double omega : model.Omega) table.Columns.push_back({g4(omega), 0});
  TResultRow numbers{"m \\ L", {}};
  for (int q = 0; q < model.NModes(); ++q) numbers.Cells.push_back(std::to_string(q));
  table.Rows.push_back(std::move(numbers));
  const std::size_t masses = model.Modes.empty() ? 0 : model.Modes.front().size();
  for (std::size_t m = 0; m < masses; ++m) {
    TResultRow row{std::to_string(m + 1), {}};
    for (const TReal1DArray& mode : model.Modes) row.Cells.push_back(g4(mode[m]));
    table.Rows.push_back(std::move(row));
  }
  return table;
}

TResultTable SectionStressTable(const TOscillCalcStruct& model) {
  const int first = model.Data.NFirstMass - 1, throws = model.Data.NSec;
  return perResonance(model, throws + 1, [&](int l, int j) {
    std::vector<std::string> cells;
    for (int q = 0; q <= throws; ++q) cells.push_back(cellOf(model.SectTau, l, j, first + q, 1e-6));
    return cells;
  });
}

TResultTable AmplitudeTable(const TOscillCalcStruct& model) {
  const int first = model.Data.NFirstMass - 1, throws = model.Data.NSec;
  return perResonance(model, throws + 1, [&](int l, int j) {
    std::vector<std::string> cells;
    const TReal1DArray& shape = model.Modes.at(at(l));
    for (int q = 0; q <= throws; ++q) {
      const int m = first + q;
      cells.push_back(m >= 0 && at(m) < shape.size() ? g4(shape[at(m)] * model.ResAmpl[at(j)][at(l)]) : std::string());
    }
    return cells;
  });
}

TResultTable HarmonicTable(const TOscillCalcStruct& model, THarmonicPart part) {
  const std::vector<TReal2DArray>& values = part == THarmonicPart::Mk   ? model.Mk
                                            : part == THarmonicPart::Ak ? model.Ak
                                            : part == THarmonicPart::Bk ? model.Bk
                                                                        : model.Alphak;
  const double scale = part == THarmonicPart::Alphak ? 180 / std::numbers::pi : 1;
  return perResonance(model, model.Data.NSec, [&](int l, int j) {
    std::vector<std::string> cells;
    for (int v = 0; v < model.Data.NSec; ++v) cells.push_back(cellOf(values, l, j, v, scale));
    return cells;
  });
}

TResultTable ResonanceSummaryTable(const TOscillCalcStruct& model) {
  TResultTable table = perResonance(model, 0, [&](int l, int j) {
    const double akMax = model.AkMax[at(j)][at(l)];
    return std::vector<std::string>{g4(akMax / std::numbers::pi), g4(SumSquaredAmplitudes(model, l)), g4(akMax),
                                    g4(model.Aksi[at(j)][at(l)]), g4(model.ResAmpl[at(j)][at(l)])};
  });
  for (int c = 0; c < 5; ++c) table.Columns.push_back({TorsionalCaptions[c], 0});
  return table;
}
