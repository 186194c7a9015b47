// vexa-calc: the crankshaft calculation from the command line.
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "EVexaErrorUnit.h"
#include "ProgramPathUnit.h"
#include "ProjectFileUnit.h"
#include "ProjectSummary.h"
#include "SteelDataBaseUnit.h"

namespace {

const char* const Usage =
    "usage: vexa-calc --new FILE     write a new default project to FILE\n"
    "       vexa-calc --show FILE    print a summary of the project in FILE\n";

int usageError(const std::string& message) {
  if (!message.empty()) std::cerr << "vexa-calc: " << message << "\n";
  std::cerr << Usage;
  return 2;
}

int newProject(const std::string& file) {
  TEngineDataStruct data;
  SaveProjectFile(data, file);
  std::cout << "New project written to " << file << "\n";
  return 0;
}

int showProject(const std::string& file) {
  TEngineDataStruct data;
  LoadProjectFile(data, file);
  std::cout << ProjectSummary(data);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
    std::cout << Usage;
    return 0;
  }
  if (args.size() != 2) return usageError(args.empty() ? "" : "wrong number of arguments");

  const std::string warning = LoadProgramSteelData(ProgramDirectory());
  if (!warning.empty()) std::cerr << "vexa-calc: " << warning << "\n";

  try {
    if (args[0] == "--new") return newProject(args[1]);
    if (args[0] == "--show") return showProject(args[1]);
  } catch (const TEVexaError& error) {
    std::cerr << error.Caption << " " << error.Text << "\n";
    return 1;
  } catch (const std::exception& error) {
    std::cerr << "vexa-calc: " << error.what() << "\n";
    return 1;
  }
  return usageError("unknown option " + args[0]);
}
