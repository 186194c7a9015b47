// The working-process program: reads the engine's ".qin" data, computes the engine cycle
// and writes the indicator diagram (".dia") and a readable report (".rez").
//
// Started by the crankshaft calculation, its working directory is the exchange directory
// and its only argument is the report name (the program path arrives glued to
// "Default.qin"): it then reads "Default.qin" and writes "Default.dia" and the report
// there. By hand: qinu INPUT.qin REPORT.rez [DIAGRAM.dia].
#include <cstdio>
#include <exception>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "CycleSimulationUnit.h"
#include "QinInputUnit.h"
#include "QinuReportUnit.h"
#include "SafeFileUnit.h"

namespace {

const char* const kUsage =
    "usage: qinu INPUT.qin REPORT.rez [DIAGRAM.dia] [--no-wall-heat]\n"
    "       qinu REPORT.rez   (as the calculation starts it: reads Default.qin and writes\n"
    "                          Default.dia in the working directory)\n"
    "Computes the engine cycle from the working-process data and writes the indicator\n"
    "diagram (default: INPUT with the extension .dia) and the report.\n"
    "  --no-wall-heat   adiabatic walls (for checks)\n";

// Whether two names denote one file (the same name, or links to one existing file).
bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
  std::error_code ec;
  if (std::filesystem::equivalent(a, b, ec)) return true;
  return std::filesystem::absolute(a, ec).lexically_normal() == std::filesystem::absolute(b, ec).lexically_normal();
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> names;
  qinu::TCycleOptions options;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (arg == "--no-wall-heat") {
      options.HeatTransfer = false;
    } else if (arg.size() > 1 && arg[0] == '-' && arg[1] == '-') {
      std::fprintf(stderr, "qinu: неизвестный параметр %s\n%s", arg.c_str(), kUsage);
      return 2;
    } else {
      names.push_back(arg);
    }
  }
  std::filesystem::path input, report, diagram;
  if (names.size() == 1) {
    input = "Default.qin";
    report = names[0];
    diagram = "Default.dia";
  } else if (names.size() == 2 || names.size() == 3) {
    input = names[0];
    report = names[1];
    diagram = names.size() == 3 ? std::filesystem::path(names[2])
                                : std::filesystem::path(input).replace_extension(".dia");
  } else {
    std::fputs(kUsage, stderr);
    return 2;
  }
  // An output over the input would destroy the data (e.g. "qinu my.dia r.rez", whose
  // default diagram name is the input itself).
  for (const auto& [output, what] : {std::pair{diagram, "диаграммы"}, std::pair{report, "отчёта"}})
    if (SameFile(output, input)) {
      std::fprintf(stderr, "qinu: имя файла %s \"%s\" совпадает с именем входного файла; укажите другое\n%s", what,
                   output.string().c_str(), kUsage);
      return 2;
    }

  try {
    qinu::TQinInput data = qinu::ReadQinFile(input.string());
    qinu::ValidateQinInput(data);
    const qinu::TCycleResult result = qinu::SimulateCycle(data, options);
    const std::string diagramText = qinu::FormatDiagram(result);
    const std::string reportText = qinu::FormatReport(data, result, input.string());
    // Each file is replaced only once completely written, and the diagram only when
    // everything else has succeeded, so a reader never finds a partial one.
    SaveWholeFile(report, reportText);
    SaveWholeFile(diagram, diagramText);
    std::printf("qinu: записан файл %s: наибольшее давление %.3f МПа при %.1f град, среднее индикаторное давление %.4f МПа\n",
                diagram.string().c_str(), result.PeakPressure / 1e6, result.PeakPressureAngle,
                result.Imep / 1e6);
    return 0;
  } catch (const std::exception& error) {
    // Nothing is deleted: a file this run did not create is not this run's to remove.
    std::fprintf(stderr, "qinu: ошибка: %s\n", error.what());
    try {
      SaveWholeFile(report, qinu::FormatFailureReport(input.string(), error.what()));
    } catch (const std::exception& reportError) {
      std::fprintf(stderr, "qinu: %s\n", reportError.what());
    }
    return 1;
  }
}
