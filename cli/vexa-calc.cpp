// vexa-calc: the crankshaft calculation from the command line.
#include <algorithm>
#include <cmath>
#include <fstream>
#include <iostream>
#include <numbers>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include <stdlib.h>

#include <cerrno>

#include "CalcInputCheckUnit.h"
#include "ConcentrationCoeffsUnit.h"
#include "DynamicCalcUnit.h"
#include "EVexaErrorUnit.h"
#include "ExchangeFolderUnit.h"
#include "FloatCheckUnit.h"
#include "GraphFileUnit.h"
#include "JsonResultsUnit.h"
#include "LinAlgUnit.h"
#include "MessageTextUnit.h"
#include "NumberFormatUnit.h"
#include "ProgramPathUnit.h"
#include "ProjectCalcUnit.h"
#include "ProjectFileUnit.h"
#include "ProjectSummary.h"
#include "SafeFileUnit.h"
#include "SteelDataBaseUnit.h"
#include "StopRequestUnit.h"
#include "StrengthSummaryUnit.h"
#include "TerminalProgress.h"
#include "TextCodecUnit.h"
#include "TextReportUnit.h"
#include "TorsionReportUnit.h"
#include "WorkbookExportUnit.h"

namespace {

const char* const Usage =
    "usage: vexa-calc [options] PROJECT.vxa          calculate a project\n"
    "       vexa-calc --coeffs PROJECT.vxa [--save]  compute the concentration coefficients\n"
    "       vexa-calc --new PROJECT.vxa              write a new default project\n"
    "       vexa-calc --show PROJECT.vxa             print a summary of a project\n"
    "options of the calculation:\n"
    "  --diagram DIA        read this indicator diagram instead of the project's own source\n"
    "  --report             write the text report PROJECT.VexaRes with every item\n"
    "  --items LIST         with --report or --xlsx: only these positions of the check list (e.g. 0-16,50,51)\n"
    "  --json FILE          write every result to FILE as JSON\n"
    "  --json-summary FILE  write the same document without the per-step arrays to FILE\n"
    "  --xlsx FILE          write the workbook FILE (.xlsx): the design-speed run's per-step results\n"
    "                       (the --items of the report), stress and safety-factor tables and charts,\n"
    "                       and the strength summary over the resonance runs\n"
    "  --solver dense|fast|shaft  solver of the shaft at every step: the reference elimination,\n"
    "                       the sparse factorisation of the whole frame, or the condensation in\n"
    "                       the shaft's own frame (default shaft)\n"
    "  --threads N          threads of the angle loop (default: one per core)\n"
    "  --beam-compat        reproduce the shaft frame of earlier versions for comparison: web\n"
    "                       bending inertias exchanged, the supports' tilt compliances Pmx,\n"
    "                       Pmy without effect (journals free to tilt)\n"
    "  --save               with --coeffs: store the coefficients in the project\n";

// Text from files (project and material names, file names) reaches the terminal with its
// control characters made visible, never as escape sequences.
void out(const std::string& line) { std::cout << TerminalText(line) << "\n"; }
void err(const std::string& line) { std::cerr << TerminalText(line) << "\n"; }

struct TOptions {
  std::string command = "calculate";
  std::string project;
  std::filesystem::path diagram;
  bool save = false;
  bool report = false;
  std::string items;
  std::filesystem::path json;
  std::filesystem::path jsonSummary;
  std::filesystem::path xlsx;
  TSolverKind solver = TSolverKind::Shaft;
  int threads = 0;
  bool beamCompat = false;
};

class TUsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Positions of the report's check list: "0-16,50,51".
TTextReportItems parseItems(const std::string& list) {
  TTextReportItems items = TTextReportItems::None();
  std::stringstream in(list);
  for (std::string part; std::getline(in, part, ',');) {
    const auto dash = part.find('-');
    int first = 0, last = 0;
    try {
      first = ParseInteger(part.substr(0, dash));
      last = dash == std::string::npos ? first : ParseInteger(part.substr(dash + 1));
    } catch (const EConvertError&) {
      throw TUsageError("--items: \"" + part + "\" не является номером позиции или диапазоном");
    }
    if (first < 0 || last >= TextReportItemCount || first > last)
      throw TUsageError("--items: номера позиций от 0 до " + std::to_string(TextReportItemCount - 1));
    for (int position = first; position <= last; ++position) items.SetTicked(position);
  }
  return items;
}

TOptions parseOptions(const std::vector<std::string>& args) {
  TOptions options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&]() -> std::string {
      if (i + 1 >= args.size()) throw TUsageError("параметру " + a + " нужно значение");
      return args[++i];
    };
    if (a == "--new" || a == "--show" || a == "--coeffs") {
      if (options.command != "calculate") throw TUsageError("допустим только один из параметров --new, --show, --coeffs");
      options.command = a.substr(2);
      options.project = value();
    } else if (a == "--save") {
      options.save = true;
    } else if (a == "--diagram") {
      options.diagram = value();
    } else if (a == "--report") {
      options.report = true;
    } else if (a == "--items") {
      options.items = value();
    } else if (a == "--json") {
      options.json = value();
    } else if (a == "--json-summary") {
      options.jsonSummary = value();
    } else if (a == "--xlsx") {
      options.xlsx = value();
    } else if (a == "--solver") {
      const std::string solver = value();
      if (solver == "dense")
        options.solver = TSolverKind::Dense;
      else if (solver == "fast")
        options.solver = TSolverKind::Fast;
      else if (solver == "shaft")
        options.solver = TSolverKind::Shaft;
      else
        throw TUsageError("--solver принимает значения dense, fast или shaft");
    } else if (a == "--beam-compat") {
      options.beamCompat = true;
    } else if (a == "--threads") {
      try {
        options.threads = ParseInteger(value());
      } catch (const EConvertError&) {
        throw TUsageError("--threads принимает число");
      }
      if (options.threads < 1) throw TUsageError("--threads принимает положительное число");
    } else if (!a.empty() && a[0] == '-') {
      throw TUsageError("неизвестный параметр " + a);
    } else if (options.project.empty()) {
      options.project = a;
    } else {
      throw TUsageError("указано больше одного файла проекта");
    }
  }
  if (options.project.empty()) throw TUsageError("не указан файл проекта");
  if (options.save && options.command != "coeffs") throw TUsageError("--save применяется только с --coeffs");
  const bool calculationOptions = !options.diagram.empty() || options.report || !options.items.empty() ||
                                  !options.json.empty() || !options.jsonSummary.empty() || !options.xlsx.empty() ||
                                  options.threads > 0 || options.beamCompat;
  if (calculationOptions && options.command != "calculate")
    throw TUsageError("--diagram, --report, --items, --json, --json-summary, --xlsx, --threads и --beam-compat "
                      "применяются только при расчёте");
  if (!options.items.empty() && !options.report && options.xlsx.empty())
    throw TUsageError("--items применяется только с --report или --xlsx");
  if (!options.items.empty()) parseItems(options.items);
  return options;
}

int newProject(const TOptions& options) {
  TEngineDataStruct data;
  SaveProjectFile(data, options.project);
  out("Новый проект записан в " + options.project);
  return 0;
}

int showProject(const TOptions& options) {
  TEngineDataStruct data;
  LoadProjectFile(data, options.project);
  std::cout << TerminalText(ProjectSummary(data));
  return 0;
}

void printNotes(const std::vector<TConcentrationNote>& notes) {
  for (const TConcentrationNote& note : notes) err("vexa-calc: " + ConcentrationNoteText(note));
}

int concentrationCoefficients(const TOptions& options) {
  TEngineDataStruct data;
  LoadProjectFile(data, options.project);
  CheckGeometryInputs(data);
  const auto notes = CalcConcentrationCoeffs(data, GraphDirectory(ProgramDirectory()));
  for (const std::string& line : FormatConcentrationCoeffs(data)) out(line);
  printNotes(notes);
  if (options.save) {
    SaveProjectFile(data, options.project);
    out("Коэффициенты сохранены в " + options.project);
  }
  return 0;
}

void printStrengthSummary(const TDynamicCalcArray& runs, const std::vector<TConcentrationNote>& notes) {
  std::cout << StrengthSummaryCaption << "\n";
  for (const std::string& line : StrengthSummaryLines(runs)) std::cout << "  " << line << "\n";
  for (const std::string& line : StrengthSummaryWarnings(notes)) std::cout << "  " << line << "\n";
}

// The notes of the design graphs for the project's present data. They only inform: a graph
// that cannot be read here does not stop a calculation that uses the stored coefficients.
std::vector<TConcentrationNote> graphNotes(const TEngineDataStruct& data) {
  try {
    return ConcentrationNotes(data, GraphDirectory(ProgramDirectory()));
  } catch (const std::exception& error) {
    std::cerr << "vexa-calc: замечания к чтению графиков коэффициентов концентрации не получены: " << error.what()
              << "\n";
    return {};
  }
}

int calculate(const TOptions& options) {
  // From here on Ctrl+C stops the calculation and cleans up (the short commands end at once).
  InstallStopSignals();
  TEngineDataStruct loaded;
  LoadProjectFile(loaded, options.project);
  // Only the working-process program needs an exchange folder.
  std::optional<TExchangeFolder> exchange;
  if (options.diagram.empty() && loaded.IDSource != 1) exchange.emplace();
  TTerminalProgress progress;
  TRunSettings settings;
  settings.ProjectDir = std::filesystem::absolute(options.project).parent_path();
  settings.DiagramFile = options.diagram;
  settings.Observer = &progress;
  settings.Solver = options.solver;
  settings.Threads = options.threads;
  settings.BeamCompat = options.beamCompat;
  TWorkingProcessOptions workingProcess;
  if (exchange) workingProcess.ExchangeDirectory = exchange->Path();
  // The exchange folder goes at the end: the program's report stays beside the project.
  workingProcess.KeptReport = std::filesystem::path(options.project).replace_extension(".rez");
  TVexaProject project(settings, workingProcess);
  TEngineDataStruct& data = project.EngineData;
  data = std::move(loaded);
  std::vector<TConcentrationNote> notes;
  if (data.CoeffsCalcRadio == 0 && data.WebTorsionCoef == 0) {
    // A project whose concentration coefficients were never computed (a new one) gets them
    // from the design graphs, as the geometry page would.
    CheckGeometryInputs(data);
    std::cerr << "vexa-calc: коэффициенты концентрации проекта ещё не рассчитывались; они рассчитываются по "
                 "графикам (сохранить их в проекте: vexa-calc --coeffs ФАЙЛ --save)\n";
    notes = CalcConcentrationCoeffs(data, GraphDirectory(ProgramDirectory()));
  } else {
    notes = graphNotes(data);
  }
  printNotes(notes);

  const TCalcCommandResult result = project.CalcDynamicExecute();
  if (!result.Completed) {
    err(result.Message);
    return 1;
  }
  for (const std::string& note : result.Notes) err("vexa-calc: " + note);
  const bool torsion = data.CalcOscillFlag;
  if (torsion)
    for (const std::string& line : TorsionReportLines(*project.OscillCalc)) std::cout << line << "\n";
  if (!project.Results.empty()) printStrengthSummary(project.Results, notes);

  const TTextReportItems items = options.items.empty() ? TTextReportItems() : parseItems(options.items);
  if (options.report && !project.Results.empty()) {
    const auto file = TextReportFileName(options.project, data.ProjectName);
    SaveTextReport(file, WriteTextReport(*project.Results.front(), items));
    out(TextReportSavedMessage(file));
  }
  if (!options.xlsx.empty()) {
    // Only the strength calculation gives per-step results; saying nothing would pass for success.
    if (project.Results.empty()) {
      std::cerr << "vexa-calc: проект не требует расчёта прочности, книга " << options.xlsx.string()
                << " не записана\n";
      return 1;
    }
    SaveWorkbook(options.xlsx, *project.Results.front(), project.Results, items, data.ProjectName);
    std::cout << WorkbookSavedMessage(options.xlsx) << "\n";
  }
  const TOscillCalcStruct* torsionModel = torsion ? project.OscillCalc.get() : nullptr;
  for (const auto& [file, content] : {std::pair{options.json, TJsonContent::Full},
                                      std::pair{options.jsonSummary, TJsonContent::Summary}}) {
    if (file.empty()) continue;
    // Streamed into the temporary file: the whole document never sits in memory.
    ReplaceFileByWriting(file, [&](const std::filesystem::path& temporary) {
      std::ofstream stream(temporary, std::ios::binary | std::ios::trunc);
      WriteResultsJson(stream, data.ProjectName, project.Results, torsionModel, content);
      stream << "\n";
      stream.close();
      if (!stream) throw EVexaFileError("Не удаётся сохранить файл \"" + file.string() + "\"", "ошибка записи");
    });
  }
  out(result.Message);
  return 0;
}

int reportError(const std::string& caption, const std::string& text) {
  err((caption.empty() ? "" : caption + " ") + text);
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
    std::cout << Usage;
    return 0;
  }
  TOptions options;
  try {
    options = parseOptions(args);
  } catch (const TUsageError& error) {
    err(std::string("vexa-calc: ") + error.what());
    std::cerr << Usage;
    return 2;
  }

  const std::string warning = LoadProgramSteelData(ProgramDirectory());
  if (!warning.empty()) err("vexa-calc: " + warning);

  try {
    if (options.command == "new") return newProject(options);
    if (options.command == "show") return showProject(options);
    if (options.command == "coeffs") return concentrationCoefficients(options);
    return calculate(options);
  } catch (const TEVexaError& error) {
    return reportError(error.Caption, error.Text);
  } catch (const EVexaStopped& stop) {
    // The child is stopped and the exchange folder removed by now.
    err(stop.what());
    EndByStopSignal(stop.Signal);
  } catch (const EVexaFloatError& error) {
    return reportError("Ошибка!", error.what());
  } catch (const std::filesystem::filesystem_error& error) {
    return reportError("Ошибка!", "Ошибка файловой системы: \"" + error.path1().string() + "\": " +
                                      SystemErrorText(error.code().value()));
  } catch (const std::exception& error) {
    return reportError("Ошибка!", error.what());
  }
}
