// Working-process parameters of a project (`TQinDataStruct`): the input of the
// working-process program, which computes the indicator diagram of the engine.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "DataExchangeUnit.h"
#include "ProgramPathUnit.h"

class TEngineDataStruct;

// The working-process program and its exchange files.
#ifdef _WIN32
inline constexpr char WorkingProcessProgramName[] = "QINU.EXE";
#else
inline constexpr char WorkingProcessProgramName[] = "qinu";
#endif
inline constexpr char WorkingProcessInputName[] = "Default.qin";    // written for the program
inline constexpr char WorkingProcessDiagramName[] = "Default.dia";  // the indicator diagram it leaves
inline constexpr char WorkingProcessReportName[] = "Default.rez";   // its report for the user

// The working-process program ran but failed: it ended with a non-zero status or by a
// signal. The message names the program, its status and the last lines of its report.
class EWorkingProcessError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The last diagram the working-process program produced in this process, with the exact
// ".qin" text it was produced from: the same input gives the same diagram, so a preparation
// with an identical ".qin" takes this diagram instead of starting the program again.
struct TWorkingProcessCache {
  std::string QinText;
  std::vector<std::uint8_t> Diagram;
  std::vector<std::uint8_t> Report;  // the program's report, when it left one
};

// Where the working-process program lies, where it exchanges its files and how long it may run.
struct TWorkingProcessOptions {
  std::filesystem::path ProgramPath = ProgramDirectory() / WorkingProcessProgramName;
  // Two calculations running at once need different folders (the file names are fixed).
  std::filesystem::path ExchangeDirectory = ProgramDirectory();
  // A program that runs longer is stopped and the calculation fails.
  std::chrono::milliseconds WaitLimit{std::chrono::minutes(10)};
  std::chrono::milliseconds PollInterval{500};
  // When set, an identical ".qin" reuses the diagram kept here (not owned).
  TWorkingProcessCache* Cache = nullptr;
  // When set, the calculate command keeps the program's report of the design speed under this
  // name (vexa-calc: "<project>.rez" beside the project), see KeepWorkingProcessReport.
  std::filesystem::path KeptReport;

  // The diagram the program leaves, to be read by the calculation.
  std::filesystem::path DiagramFile() const { return ExchangeDirectory / WorkingProcessDiagramName; }
};

// Copies the working-process program's report to target and returns the note for the user
// (Russian). An existing target is replaced only when its first line is the first line of the
// report, that is when the program wrote it before; any other file is left alone and the note
// says so. Without a report nothing happens and the note is empty. Never throws: a failed copy
// is a note too, the calculation stands.
std::string KeepWorkingProcessReport(const std::filesystem::path& report, const std::filesystem::path& target);

// The operations that need the owning project data take it as an argument, so that a copy
// of the project data never refers back to the original.
class TQinDataStruct {
 public:
  std::string Descr;            // engine description (the project name)
  std::int16_t EngineType = 0;  // 0 diesel, 1 spark ignition
  std::int16_t TOFormula = 0;   // heat transfer: 0 Woschni, 1 Hohenberg, 2 alpha = f(Twall)
  std::int16_t Vp = 0;          // intake organs: 0 valves, 1 ports
  std::int16_t Vyp = 0;         // exhaust organs: 0 valves, 1 ports
  std::int16_t V = 0;           // air supply: 0 naturally aspirated, 1 free turbocharger, 2 power turbine
  std::int16_t Tau = 0;         // 0 four-stroke, 1 two-stroke
  double Q = 0;                 // number of cylinders (derived, not stored)
  double D = 0;                 // bore, m (derived)
  double S = 0;                 // stroke, m (derived)
  double E = 15;                // compression ratio
  double Lam = 0.268;           // R/L (derived)
  double N = 0;                 // speed, rpm
  double EM = 0.89;             // nominal mechanical efficiency
  double KK = 0.78;             // compressor efficiency
  double KT = 0.8;              // turbine efficiency
  double PK = 0.2;              // boost pressure, MPa
  double DP = 0.007;            // pressure loss, MPa
  double TK = 360;              // charge air temperature, K
  double P0 = 0.1013;           // ambient pressure, MPa
  double T0 = 293.15;           // ambient temperature, K
  double PT = 0.15;             // turbine inlet pressure, MPa
  double PZT = 0.106;           // pressure after the turbine, MPa
  double B1 = 114;              // exhaust opening, degrees
  double B12 = 178;             // exhaust fully open, degrees
  double B13 = 306;             // exhaust starts closing, degrees
  double B2 = 370;              // exhaust closed, degrees
  double H1 = 347;              // intake opening, degrees
  double H12 = 408;             // intake fully open, degrees
  double H13 = 528;             // intake starts closing, degrees
  double H2 = 589;              // intake closed, degrees
  double FB = 0.002;            // largest effective exhaust area, m²
  double FH = 0.0022;           // largest effective intake area, m²
  double BPer = 0.99;           // scavenging (mixing) parameter
  double Hu = 42500;            // lower heating value of the fuel, kJ/kg
  double QC = 0.000061;         // fuel per cycle and cylinder, kg
  double ALFF = 1.8;            // excess air ratio
  double FOPT = -15;            // injection advance, degrees
  double FOPZ = -15;            // ignition advance, degrees
  double Fz = 70;               // combustion duration, degrees
  double XT = 0.05;             // fuel fraction burned kinetically
  double FCT = 3;               // angle of the largest kinetic burning rate, degrees
  double MT = 1;                // kinetic combustion exponent
  double MW = 0.5;              // diffusion combustion exponent
  double TPOR = 240;            // mean piston temperature, °C
  double Tkr = 220;             // mean head temperature, °C
  double TWT = 180;             // mean liner temperature, °C
  double OFPK = 0.8;            // piston to head area ratio
  double ALFE = 2.5;            // ratio of the largest to the mean heat-transfer coefficient
  double ALFR = 0.5;            // relative radius of the largest coefficient
  double CG = 110;              // correction factor of Woschni's formula
  double Cu = 10;               // swirl peripheral speed, m/s
  double C2 = 0.00324;          // constant C2 of Woschni's formula
  double Vkam = 0;              // volume of a divided chamber, cm³
  double MFk = 0;               // effective area of its channel, cm²
  double PDP = 0;               // shaft phase angle of an opposed-piston scheme, degrees

  // The 48 Doubles from D to PDP in declaration order, as the project file stores them.
  std::array<double*, 48> StoredDoubles();
  // The six choices in stored order: EngineType, TOFormula, Vp, Vyp, V, Tau.
  std::array<std::int16_t*, 6> Choices();

  // Description, the six choices and the 48 Doubles: 398 bytes plus the description.
  void StreamBlock(TVexaStream& stream, bool Writing);

  // Strokes per cycle: 4, or 2 for a two-stroke engine.
  int Strokes() const { return Tau == 0 ? 4 : 2; }

  // Overwrites the fields taken from the project: Descr = project name, D = bore,
  // S = stroke of cylinder 1, Lam = R/L of row 1, Q = number of cylinders. Raises
  // EVexaFloatError when the crank geometry gives no finite stroke or ratio.
  void RefreshDerived(const TEngineDataStruct& Engine);

  // Writing = true: refreshes the derived fields from the project, then writes the ".qin" text
  // file for the working-process program (the file is replaced only when completely written;
  // a value that is not finite raises EVexaFloatError and nothing is written).
  // Writing = false: reads the parameters of a ".qin" file; Descr and Tau stay as they are and
  // the derived fields take the file's values. A file that cannot be read or holds a value
  // that is not a finite number or a choice out of range raises std::runtime_error naming the
  // file and line, and leaves the record unchanged. Engine is used only for writing.
  void TransferText(const std::filesystem::path& FileName, bool Writing, const TEngineDataStruct& Engine);

  // Produces the indicator diagram for a calculation unless the project reads it from its own
  // file (IDSource = 1): deletes an old diagram in the exchange folder, writes Default.qin there,
  // starts the working-process program in that folder with the arguments
  // "<program path>Default.qin" and "Default.rez", and waits for it to end. A program that
  // cannot be started raises TEVexaError 8 with its full path and the reason; one that ends
  // with a non-zero status or by a signal raises EWorkingProcessError, one that runs past the
  // wait limit is stopped and raises EChildTimeoutError, both with the last lines of its
  // report (a program that left no diagram shows when the diagram is read, error 7). With a
  // cache whose ".qin" text equals the one written now, the cached diagram is written instead
  // of running the program.
  void RunWorkingProcess(const TEngineDataStruct& Engine, const TWorkingProcessOptions& Options = {});

 private:
  // The numbers of lines 4 to 13 of a ".qin" file; null marks a constant 1.
  struct TTextField {
    const char* Name;
    double* Value;
  };
  std::array<std::vector<TTextField>, 10> textLines();
  // The choices of line 14 in file order with their largest value.
  std::array<std::pair<std::int16_t*, std::int16_t>, 5> textChoices();
  std::string textOf(const std::filesystem::path& FileName);
  void writeText(const std::filesystem::path& FileName);
  void readText(const std::filesystem::path& FileName);
};
