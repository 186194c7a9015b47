// vexa-calc: the crankshaft calculation from the command line.
#include <algorithm>
#include <cmath>
#include <iostream>
#include <numbers>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include <stdlib.h>

#include <fstream>

#include "ConcentrationCoeffsUnit.h"
#include "DynamicCalcUnit.h"
#include "EVexaErrorUnit.h"
#include "ExchangeFolderUnit.h"
#include "FloatCheckUnit.h"
#include "GraphFileUnit.h"
#include "JsonResultsUnit.h"
#include "LinAlgUnit.h"
#include "NumberFormatUnit.h"
#include "ProgramPathUnit.h"
#include "ProjectCalcUnit.h"
#include "ProjectFileUnit.h"
#include "ProjectSummary.h"
#include "SteelDataBaseUnit.h"
#include "StrengthSummaryUnit.h"
#include "TerminalProgress.h"
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
    "  --xlsx FILE          write the workbook FILE (.xlsx): the design-speed run's per-step results\n"
    "                       (the --items of the report), stress and safety-factor tables and charts,\n"
    "                       and the strength summary over the resonance runs\n"
    "  --solver dense|fast  solver of the shaft at every step (default fast)\n"
    "  --threads N          threads of the angle loop (default: one per core)\n"
    "  --save               with --coeffs: store the coefficients in the project\n";

struct TOptions {
  std::string command = "calculate";
  std::string project;
  std::filesystem::path diagram;
  bool save = false;
  bool report = false;
  std::string items;
  std::filesystem::path json;
  std::filesystem::path xlsx;
  TSolverKind solver = TSolverKind::Fast;
  int threads = 0;
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
      throw TUsageError("--items: \"" + part + "\" is not a position or a range");
    }
    if (first < 0 || last >= TextReportItemCount || first > last)
      throw TUsageError("--items: positions run from 0 to " + std::to_string(TextReportItemCount - 1));
    for (int position = first; position <= last; ++position) items.SetTicked(position);
  }
  return items;
}

TOptions parseOptions(const std::vector<std::string>& args) {
  TOptions options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&]() -> std::string {
      if (i + 1 >= args.size()) throw TUsageError("option " + a + " needs a value");
      return args[++i];
    };
    if (a == "--new" || a == "--show" || a == "--coeffs") {
      if (options.command != "calculate") throw TUsageError("only one of --new, --show, --coeffs");
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
    } else if (a == "--xlsx") {
      options.xlsx = value();
    } else if (a == "--solver") {
      const std::string solver = value();
      if (solver != "dense" && solver != "fast") throw TUsageError("--solver takes dense or fast");
      options.solver = solver == "dense" ? TSolverKind::Dense : TSolverKind::Fast;
    } else if (a == "--threads") {
      try {
        options.threads = ParseInteger(value());
      } catch (const EConvertError&) {
        throw TUsageError("--threads takes a number");
      }
      if (options.threads < 1) throw TUsageError("--threads takes a positive number");
    } else if (!a.empty() && a[0] == '-') {
      throw TUsageError("unknown option " + a);
    } else if (options.project.empty()) {
      options.project = a;
    } else {
      throw TUsageError("more than one project file");
    }
  }
  if (options.project.empty()) throw TUsageError("no project file");
  if (options.save && options.command != "coeffs") throw TUsageError("--save belongs to --coeffs");
  const bool calculationOptions = !options.diagram.empty() || options.report || !options.items.empty() ||
                                  !options.json.empty() || !options.xlsx.empty() || options.threads > 0;
  if (calculationOptions && options.command != "calculate")
    throw TUsageError("--diagram, --report, --items, --json, --xlsx and --threads belong to the calculation");
  if (!options.items.empty() && !options.report && options.xlsx.empty())
    throw TUsageError("--items belongs to --report or --xlsx");
  if (!options.items.empty()) parseItems(options.items);
  return options;
}

int newProject(const TOptions& options) {
  TEngineDataStruct data;
  SaveProjectFile(data, options.project);
  std::cout << "New project written to " << options.project << "\n";
  return 0;
}

int showProject(const TOptions& options) {
  TEngineDataStruct data;
  LoadProjectFile(data, options.project);
  std::cout << ProjectSummary(data);
  return 0;
}

int concentrationCoefficients(const TOptions& options) {
  TEngineDataStruct data;
  LoadProjectFile(data, options.project);
  CalcConcentrationCoeffs(data, GraphDirectory(ProgramDirectory()));
  for (const std::string& line : FormatConcentrationCoeffs(data)) std::cout << line << "\n";
  if (options.save) {
    SaveProjectFile(data, options.project);
    std::cout << "Coefficients stored in " << options.project << "\n";
  }
  return 0;
}

void printStrengthSummary(const TDynamicCalcArray& runs) {
  std::cout << StrengthSummaryCaption << "\n";
  for (const std::string& line : StrengthSummaryLines(runs)) std::cout << "  " << line << "\n";
}

int calculate(const TOptions& options) {
  TExchangeFolder exchange;
  TTerminalProgress progress;
  TRunSettings settings;
  settings.ProjectDir = std::filesystem::absolute(options.project).parent_path();
  settings.DiagramFile = options.diagram;
  settings.Observer = &progress;
  settings.Solver = options.solver;
  settings.Threads = options.threads;
  TWorkingProcessOptions workingProcess;
  workingProcess.ExchangeDirectory = exchange.Path();
  TVexaProject project(settings, workingProcess);
  TEngineDataStruct& data = project.EngineData;
  LoadProjectFile(data, options.project);
  if (data.CoeffsCalcRadio == 0 && data.WebTorsionCoef == 0) {
    // A project whose concentration coefficients were never computed (a new one) gets them
    // from the design graphs, as the geometry page would.
    std::cerr << "vexa-calc: the concentration coefficients of the project were never computed; "
                 "computing them from the design graphs (vexa-calc --coeffs FILE --save stores them)\n";
    CalcConcentrationCoeffs(data, GraphDirectory(ProgramDirectory()));
  }

  const TCalcCommandResult result = project.CalcDynamicExecute();
  if (!result.Completed) {
    std::cerr << result.Message << "\n";
    return 1;
  }
  for (const std::string& note : result.Notes) std::cerr << "vexa-calc: " << note << "\n";
  const bool torsion = data.CalcOscillFlag;
  if (torsion)
    for (const std::string& line : TorsionReportLines(*project.OscillCalc)) std::cout << line << "\n";
  if (!project.Results.empty()) printStrengthSummary(project.Results);

  const TTextReportItems items = options.items.empty() ? TTextReportItems() : parseItems(options.items);
  if (options.report && !project.Results.empty()) {
    const auto file = TextReportFileName(options.project, data.ProjectName);
    SaveTextReport(file, WriteTextReport(*project.Results.front(), items));
    std::cout << TextReportSavedMessage(file) << "\n";
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
  if (!options.json.empty()) {
    std::ofstream out(options.json);
    out << ResultsJson(data.ProjectName, project.Results, 1, torsion ? project.OscillCalc.get() : nullptr) << "\n";
    if (!out) throw std::runtime_error("Cannot write " + options.json.string());
  }
  std::cout << result.Message << "\n";
  return 0;
}

int reportError(const std::string& caption, const std::string& text) {
  std::cerr << (caption.empty() ? "" : caption + " ") << text << "\n";
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
    std::cerr << "vexa-calc: " << error.what() << "\n" << Usage;
    return 2;
  }

  const std::string warning = LoadProgramSteelData(ProgramDirectory());
  if (!warning.empty()) std::cerr << "vexa-calc: " << warning << "\n";

  try {
    if (options.command == "new") return newProject(options);
    if (options.command == "show") return showProject(options);
    if (options.command == "coeffs") return concentrationCoefficients(options);
    return calculate(options);
  } catch (const TEVexaError& error) {
    return reportError(error.Caption, error.Text);
  } catch (const EVexaFloatError& error) {
    return reportError("Ошибка!", error.what());
  } catch (const std::exception& error) {
    return reportError("Ошибка!", error.what());
  }
}
