// vexa-calc: the crankshaft calculation from the command line.
#include <algorithm>
#include <cmath>
#include <iostream>
#include <numbers>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "ConcentrationCoeffsUnit.h"
#include "DynamicCalcUnit.h"
#include "EVexaErrorUnit.h"
#include "FloatCheckUnit.h"
#include "GraphFileUnit.h"
#include "NumberFormatUnit.h"
#include "ProgramPathUnit.h"
#include "ProjectFileUnit.h"
#include "ProjectSummary.h"
#include "SteelDataBaseUnit.h"
#include "TerminalProgress.h"

namespace {

const char* const Usage =
    "usage: vexa-calc [--diagram DIA] PROJECT.vxa   prepare the calculation of a project\n"
    "       vexa-calc --coeffs PROJECT.vxa [--save] compute the concentration coefficients\n"
    "       vexa-calc --new PROJECT.vxa             write a new default project\n"
    "       vexa-calc --show PROJECT.vxa            print a summary of a project\n"
    "options:\n"
    "  --diagram DIA  read this indicator diagram instead of the project's own source\n"
    "  --save         with --coeffs: store the coefficients in the project\n";

struct TOptions {
  std::string command = "calculate";
  std::string project;
  std::filesystem::path diagram;
  bool save = false;
};

class TUsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

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
  if (!options.diagram.empty() && options.command != "calculate")
    throw TUsageError("--diagram belongs to the calculation");
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

std::string range(const TReal1DArray& values, int digits = 5) {
  const auto [lo, hi] = std::minmax_element(values.begin(), values.end());
  return FormatSignificant(*lo, digits) + " … " + FormatSignificant(*hi, digits);
}

void printPreparation(const TDynamicCalcStruct& run) {
  const double deg = 180 / std::numbers::pi;
  const int n = run.NPts();
  const double period = n > 1 ? (run.AngleGrid[1] - run.AngleGrid[0]) * n * deg : 0;
  const auto peak = std::max_element(run.Pressure.begin(), run.Pressure.end());
  std::cout << "Crank-angle grid: " << n << " steps over " << FormatSignificant(period, 4) << " deg\n";
  std::cout << "Peak pressure: " << FormatSignificant(*peak, 5) << " MPa at "
            << FormatSignificant(run.AngleGrid[static_cast<std::size_t>(peak - run.Pressure.begin())] * deg, 4)
            << " deg\n";
  std::cout << "Throw  Tsum, MPa          Zsum, MPa          mean torque, N·m  Xsum, N                Ysum, N\n";
  for (std::size_t v = 0; v < run.Cranks.size(); ++v) {
    const TCrank& c = *run.Cranks[v];
    std::cout << "  " << v + 1 << "    " << range(c.TSum) << "    " << range(c.ZSum) << "    "
              << FormatSignificant(c.HarmA0 / 2, 5) << "    " << range(c.XSum) << "    " << range(c.YSum) << "\n";
  }
}

int calculate(const TOptions& options) {
  TEngineDataStruct data;
  LoadProjectFile(data, options.project);
  TTerminalProgress progress;
  TRunSettings settings;
  settings.ProjectDir = std::filesystem::absolute(options.project).parent_path();
  settings.DiagramFile = options.diagram;
  settings.Observer = &progress;
  TDynamicCalcStruct run(data, settings);
  run.Title = "Расчёт без учёта крутильных колебаний";
  run.Prepare();
  printPreparation(run);
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
