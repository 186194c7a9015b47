#include "TextReportUnit.h"

#include <fstream>
#include <numbers>
#include <stdexcept>
#include <vector>

#include "NumberFormatUnit.h"
#include "ResultCatalogUnit.h"
#include "ResultTablesUnit.h"

namespace {

constexpr double DegPerRad = 180 / std::numbers::pi;

const char* const CylinderSectionLine = "=========== Результаты по цилиндрам ============";
const char* const ThrowSectionLine = "============ Результаты по коленам =============";
const char* const StressSectionLine = "================== Напряжения ==================";
const char* const SafetySectionLine = "============= Коэффициенты запаса ==============";
const char* const SplitNote = "В скобках указаны значения, полученные по разрезной схеме";

constexpr int CylinderItems = 16;
constexpr int ThrowItems = 32;

// Quantity of cylinder item i (0 … 15) and of throw item j (0 … 31).
int cylinderQuantity(int i) { return i < 13 ? i + 1 : 38 + (i - 13); }
int throwQuantity(int j) { return j < 24 ? 14 + j : 43 + (j - 24); }

void checkPosition(int position) {
  if (position < 0 || position >= TextReportItemCount)
    throw std::out_of_range("no report item at position " + std::to_string(position));
}

// "%.4g"; a negative zero (a product of an exact zero) is written as 0.
std::string number(double value) { return FormatSignificant(value == 0 ? 0.0 : value, 4); }

// One table row: every cell followed by "|".
void writeCells(std::string& out, const std::vector<std::string>& cells) {
  for (const std::string& cell : cells) out += cell + "|";
  out += "\n";
}

// The per-step rows of one block: the crank angle in degrees, then the ticked quantities.
void writeSteps(std::string& out, const TReportBlock& block) {
  for (std::size_t k = 0; k < block.Steps(); ++k) {
    out += number(block.AngleValue(k)) + "|";
    for (std::size_t c = 0; c < block.Columns.size(); ++c) out += number(block.Value(c, k)) + "|";
    out += "\n";
  }
}

void writeTable(std::string& out, const char* sectionLine, const TResultTable& table) {
  out += std::string("\n") + sectionLine + "\n" + SplitNote + "\n";
  for (const TResultRow& row : table.Rows) {
    out += PadRight(row.Caption, 80) + "|";
    for (const std::string& cell : row.Cells) out += PadRight(cell, 20) + "|";
    out += "\n";
  }
}

const TReal1DArray& quantityArray(const TDynamicCalcStruct& run, int q, int s, int n) {
  const TReal1DArray* values = nullptr;
  GetQuantityArray(run, q, s, n, values);
  if (!values) throw std::logic_error("no array of quantity " + std::to_string(q));
  return *values;
}

}  // namespace

std::string TextReportItemText(int position) {
  checkPosition(position);
  if (position == CylinderHeaderItem) return CylinderSectionLine;
  if (position == ThrowHeaderItem) return ThrowSectionLine;
  if (position == StressItem) return StressSectionLine;
  if (position == SafetyItem) return SafetySectionLine;
  return QuantityLongNames[TextReportItemQuantity(position)];
}

int TextReportItemQuantity(int position) {
  checkPosition(position);
  if (position >= FirstCylinderItem && position < FirstCylinderItem + CylinderItems)
    return cylinderQuantity(position - FirstCylinderItem);
  if (position >= FirstThrowItem && position < FirstThrowItem + ThrowItems)
    return throwQuantity(position - FirstThrowItem);
  return -1;
}

TTextReportItems TTextReportItems::None() {
  TTextReportItems items;
  items.ticked_.fill(false);
  return items;
}

bool TTextReportItems::IsTicked(int position) const {
  checkPosition(position);
  return ticked_[static_cast<std::size_t>(position)];
}

void TTextReportItems::SetTicked(int position, bool ticked) {
  checkPosition(position);
  ticked_[static_cast<std::size_t>(position)] = ticked;
}

void TTextReportItems::Invert() {
  for (bool& t : ticked_) t = !t;
}

std::string PadRight(const std::string& text, int width) {
  std::size_t characters = 0;
  for (unsigned char byte : text)
    if ((byte & 0xC0) != 0x80) ++characters;  // UTF-8 continuation bytes do not start a character
  const auto w = static_cast<std::size_t>(width < 0 ? 0 : width);
  if (characters >= w) return text;
  return text + std::string(w + 1 - characters, ' ');
}

double TReportBlock::AngleValue(std::size_t step) const { return Angle->at(step) * DegPerRad; }

double TReportBlock::Value(std::size_t column, std::size_t step) const {
  const double v = Columns.at(column)->at(step);
  return InDegrees.at(column) ? v * DegPerRad : v;
}

std::vector<TReportBlock> CylinderReportBlocks(const TDynamicCalcStruct& run, const TTextReportItems& items) {
  RequireRunResults(run);
  const int throws = RunThrowCount(run), rows = RunRowCount(run);
  std::vector<int> quantities;
  for (int i = 0; i < CylinderItems; ++i)
    if (items.IsTicked(FirstCylinderItem + i)) quantities.push_back(cylinderQuantity(i));
  std::vector<TReportBlock> blocks;
  if (quantities.empty()) return blocks;
  for (int r = 1; r <= rows; ++r)
    for (int s = 1; s <= throws; ++s) {
      const int n = s + throws * (r - 1);
      TReportBlock block{n, {QuantityShortName(0, n)}, &quantityArray(run, 0, s, n), {}, {}};
      for (int q : quantities) {
        block.Headers.push_back(QuantityShortName(q, n));
        block.Columns.push_back(&quantityArray(run, q, s, n));
        block.InDegrees.push_back(q == 1);  // the rod angle
      }
      blocks.push_back(std::move(block));
    }
  return blocks;
}

std::vector<TReportBlock> ThrowReportBlocks(const TDynamicCalcStruct& run, const TTextReportItems& items) {
  RequireRunResults(run);
  std::vector<int> quantities;
  for (int j = 0; j < ThrowItems; ++j)
    if (items.IsTicked(FirstThrowItem + j)) quantities.push_back(throwQuantity(j));
  std::vector<TReportBlock> blocks;
  if (quantities.empty()) return blocks;
  // Throw histories run over the grid, whose steps are the crank angles of cylinder 1.
  const TReal1DArray& angle = quantityArray(run, 0, 1, 1);
  for (int t = 1; t <= RunThrowCount(run); ++t) {
    TReportBlock block{t, {QuantityShortName(0, t)}, &angle, {}, {}};
    for (int q : quantities) {
      block.Headers.push_back(QuantityShortName(q, t));
      block.Columns.push_back(&quantityArray(run, q, t, 1));
      block.InDegrees.push_back(false);
    }
    blocks.push_back(std::move(block));
  }
  return blocks;
}

std::string WriteTextReport(const TDynamicCalcStruct& run, const TTextReportItems& items) {
  RequireRunResults(run);
  std::string out;
  out += std::string(CylinderSectionLine) + "\n";
  for (const TReportBlock& block : CylinderReportBlocks(run, items)) {
    out += "\n\n=========== Цилиндр № " + std::to_string(block.Number) + " ============\n";
    writeCells(out, block.Headers);
    writeSteps(out, block);
  }
  out += std::string("\n\n\n") + ThrowSectionLine + "\n";
  for (const TReportBlock& block : ThrowReportBlocks(run, items)) {
    out += "\n\n=========== Колено № " + std::to_string(block.Number) + " ============\n";
    writeCells(out, block.Headers);
    writeSteps(out, block);
  }
  if (items.IsTicked(StressItem)) writeTable(out, StressSectionLine, StressTable(run));
  if (items.IsTicked(SafetyItem)) writeTable(out, SafetySectionLine, SafetyTable(run));
  return out;
}

std::filesystem::path ResultFileName(const std::filesystem::path& projectFile, const std::string& projectName,
                                     const std::string& extension) {
  if (!projectFile.empty()) return std::filesystem::path(projectFile).replace_extension(extension);
  // Not saved yet: the project's name, without the blanks around it and without folder separators.
  std::string name = projectName;
  const auto first = name.find_first_not_of(' ');
  name = first == std::string::npos ? std::string() : name.substr(first, name.find_last_not_of(' ') - first + 1);
  for (char& c : name)
    if (c == '/' || c == '\\' || c == ':') c = '_';
  if (name.empty() || name == "." || name == "..") name = "Безымянный";
  return std::filesystem::path(name + extension);
}

std::filesystem::path TextReportFileName(const std::filesystem::path& projectFile, const std::string& projectName) {
  return ResultFileName(projectFile, projectName, ".VexaRes");
}

void SaveTextReport(const std::filesystem::path& file, const std::string& text) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  if (out) out.write(text.data(), static_cast<std::streamsize>(text.size()));
  if (out) out.close();
  if (!out) throw std::runtime_error("Не удалось записать файл " + file.string());
}

std::string TextReportSavedMessage(const std::filesystem::path& file) {
  return "Результаты сохранены в файле " + file.string() +
         "\nПри преобразовании текста в таблицу в редакторе Word используйте символ \"|\" в качестве "
         "разделителя ячеек";
}
