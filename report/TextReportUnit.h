// The text report of one run: the ticked per-step results of every cylinder and throw and the
// stress and safety-factor tables, cells ended by "|" so that a word processor makes tables of them.
#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "DynamicCalcUnit.h"

// Positions of the check list of report items.
constexpr int TextReportItemCount = 52;
constexpr int CylinderHeaderItem = 0;  // "=== Результаты по цилиндрам ===", selects nothing
constexpr int FirstCylinderItem = 1;   // 1 … 16: cylinder quantities 1 … 13, 38, 39, 40
constexpr int ThrowHeaderItem = 17;    // "=== Результаты по коленам ===", selects nothing
constexpr int FirstThrowItem = 18;     // 18 … 49: throw quantities 14 … 37, 43 … 50
constexpr int StressItem = 50;         // the stress table
constexpr int SafetyItem = 51;         // the safety-factor table

// The text of a check-list position (a quantity's long name or a section line).
std::string TextReportItemText(int position);
// The result quantity a position stands for; −1 for the section lines and the two tables.
int TextReportItemQuantity(int position);

// Which positions of the check list are ticked (`TTextReportItems`); every one by default.
class TTextReportItems {
 public:
  TTextReportItems() { ticked_.fill(true); }
  static TTextReportItems None();

  // A position outside 0 … 51 raises std::out_of_range.
  bool IsTicked(int position) const;
  void SetTicked(int position, bool ticked = true);
  void TickAll() { ticked_.fill(true); }
  void Invert();

 private:
  std::array<bool, TextReportItemCount> ticked_{};
};

// The text with blanks appended up to width + 1 characters when it is shorter than width
// characters; a text of width characters or more is returned unchanged. Characters, not
// bytes, are counted (the text is UTF-8).
std::string PadRight(const std::string& text, int width);

// The per-step columns of one cylinder or throw as the report gives them (`TReportBlock`): the
// crank angle, then the ticked quantities in check-list order. The spreadsheet export writes the
// same blocks.
struct TReportBlock {
  int Number = 0;                            // global cylinder number, or throw number
  std::vector<std::string> Headers;          // short names with their units, the angle's first
  const TReal1DArray* Angle = nullptr;       // own crank angle, rad
  std::vector<const TReal1DArray*> Columns;  // as stored; the rod angle in rad
  std::vector<bool> InDegrees;               // the column is an angle shown in degrees

  std::size_t Steps() const { return Angle ? Angle->size() : 0; }
  double AngleValue(std::size_t step) const;                     // degrees
  double Value(std::size_t column, std::size_t step) const;      // as shown: angles in degrees
};

// Blocks of the ticked cylinder quantities, cylinders in ascending global number (row by row,
// section by section); none when no cylinder item is ticked.
std::vector<TReportBlock> CylinderReportBlocks(const TDynamicCalcStruct& run, const TTextReportItems& items);
// Blocks of the ticked throw quantities, throw by throw, over the crank angle of cylinder 1;
// none when no throw item is ticked.
std::vector<TReportBlock> ThrowReportBlocks(const TDynamicCalcStruct& run, const TTextReportItems& items);

// The report of one run as UTF-8 text with "\n" line ends; numbers in "%.4g" with ".",
// angles in degrees. A run without results raises TEVexaError 6.
std::string WriteTextReport(const TDynamicCalcStruct& run, const TTextReportItems& items);

// A result file of a project: the project file with the given extension; a project never saved
// under a file name uses its project name in the current folder ("Безымянный" + extension).
std::filesystem::path ResultFileName(const std::filesystem::path& projectFile, const std::string& projectName,
                                     const std::string& extension);
// The report file: the project file with the extension ".VexaRes".
std::filesystem::path TextReportFileName(const std::filesystem::path& projectFile, const std::string& projectName);
// Creates or overwrites the file with the text; a failure raises std::runtime_error naming it.
void SaveTextReport(const std::filesystem::path& file, const std::string& text);
// The information shown after saving.
std::string TextReportSavedMessage(const std::filesystem::path& file);
