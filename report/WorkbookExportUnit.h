// The spreadsheet export of a calculation: an Office Open XML workbook (".xlsx") with the
// per-step results of every cylinder and throw, the stress and safety-factor tables, the strength
// summary over the resonance runs and charts of the main curves over the crank angle.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "DynamicCalcUnit.h"
#include "TextReportUnit.h"

// The workbook file: the project file with the extension ".xlsx".
std::filesystem::path WorkbookFileName(const std::filesystem::path& projectFile, const std::string& projectName);

// Writes the workbook of one run (`SaveWorkbook`): a sheet per cylinder and per throw with the
// quantities ticked in `items` over the cycle (the same check list as the text report, whose
// positions 50 and 51 choose the stress and the safety-factor sheet), the strength summary over
// `runs` (runs[0] at the design speed) when they hold resonance runs, and the charts. `title`
// becomes the workbook's title (the project's name).
// A run without results raises TEVexaError 6. A failure to write raises TEVexaError 5 with the
// reason; the previous file stays as it was and no temporary file is left behind.
void SaveWorkbook(const std::filesystem::path& file, const TDynamicCalcStruct& run, const TDynamicCalcArray& runs,
                  const TTextReportItems& items, const std::string& title);

// The information shown after saving: "Результаты сохранены в файле <file>".
std::string WorkbookSavedMessage(const std::filesystem::path& file);

// A sheet name that spreadsheet programs accept and that is not among `taken` (compared without
// regard to case, as they do): the characters []:*?/\ become "_", apostrophes at either end are
// dropped, the name is cut to 31 characters, and a repeated name gets " (2)", " (3)", ….
std::string ExcelSheetName(const std::string& wanted, const std::vector<std::string>& taken);

// Writes a file through `write`, which gets the path of a new temporary file in the target's
// folder; only when `write` returns is the temporary file renamed over the target, so a failed
// write never leaves half a file in its place. On any failure the temporary file is removed and
// the failure passed on; failures of its own are std::runtime_error with the reason in Russian.
void ReplaceFileByWriting(const std::filesystem::path& target,
                          const std::function<void(const std::filesystem::path&)>& write);
