// Stress concentration data of the strength calculation: notch sensitivities, theoretical and
// effective concentration coefficients of the oil holes and of the crankpin fillet, scale
// factors, cycle-asymmetry sensitivities, the dynamic amplification factor and the torsion
// coefficient of the web, from the crank geometry, the shaft material and the design graphs.
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "EngineDataStructUnit.h"

// An input that would put zero or a negative number into a denominator of the coefficients
// (a diameter, the web thickness, the ultimate strength, a section ratio). The calculation
// stops before that division; the message names the input.
class EConcentrationInputError : public std::invalid_argument {
 public:
  EConcentrationInputError(const std::string& input, double value);
  std::string Input;
  double Value;
};

// What a graph was read at: the input's symbol, its unit (empty for a ratio), its value
// and the range the graph covers.
struct TGraphArgument {
  std::string Name;
  std::string Unit;
  double Value = 0;
  double Min = 0, Max = 0;
  bool Outside() const { return Value < Min || Value > Max; }
};

// A graph read outside its range while the coefficients were computed. The value stays the
// one the graph's rule gives (stored projects and their results rely on it); the note tells
// the engineer that it is not a reading of the graph.
struct TConcentrationNote {
  std::string Coefficient;  // the engine field that received the value, e.g. "AlphaSgmD0"
  std::string Graph;        // file name, e.g. "KsgmD0.kft"
  TGraphArgument X;
  bool HasParameter = false;  // a family of curves
  TGraphArgument P;
  bool Extrapolated = false;  // an argument outside the graph: linear extrapolation
  bool Zeroed = false;        // a family value outside [0, 5], replaced by 0
  double GraphValue = 0;      // the value the lines of the graph give there
  double Value = 0;           // the value stored
};

// The note in words, e.g. "AlphaSgmD0: график \"KsgmD0.kft\" прочитан при RgalS/B = 0.01
// (график: 0.02 … 1): экстраполяция за пределы графика, принято 7.7"
std::string ConcentrationNoteText(const TConcentrationNote& note);

// Computes the coefficients into the engine data, reading the graphs from graphDir
// ("DataBase/Коэффициенты" beside the program, see GraphDirectory), and returns a note for
// every graph read outside its range.
// CoeffsCalcRadio = 0: everything from the graphs, each result stored as soon as it is known;
// CoeffsCalcRadio = 1: the entered q, α, ε, ψ and Nsh are kept and only the mean
// sensitivities, the effective coefficients, LamD and WebTorsionCoef are recomputed (only
// "LamD.kft" and "Mu.kft" are read).
// A missing or malformed graph raises EGraphFileError at its lookup: the values stored
// before it keep their new values, the later ones their old values.
std::vector<TConcentrationNote> CalcConcentrationCoeffs(TEngineDataStruct& data,
                                                        const std::filesystem::path& graphDir);

// The notes the coefficients of the project's present data would carry, computed on a copy:
// the engine data are not changed.
std::vector<TConcentrationNote> ConcentrationNotes(const TEngineDataStruct& data,
                                                   const std::filesystem::path& graphDir);

// The hardening factor of a hardening technology (`StrengthType` 0 … 3) from "Knu.kft".
double HardeningFactor(const std::filesystem::path& graphDir, int strengthType);

// A plain-text listing of the concentration data: the dimensionless ratios of the inputs
// that the graphs are read at, then every coefficient by its field name, grouped as on the
// concentration page. One line per entry, "." as the decimal separator.
std::vector<std::string> FormatConcentrationCoeffs(const TEngineDataStruct& data);
