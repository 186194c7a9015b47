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

// Computes the coefficients into the engine data, reading the graphs from graphDir
// ("DataBase/Коэффициенты" beside the program, see GraphDirectory).
// CoeffsCalcRadio = 0: everything from the graphs, each result stored as soon as it is known;
// CoeffsCalcRadio = 1: the entered q, α, ε, ψ and Nsh are kept and only the mean
// sensitivities, the effective coefficients, LamD and WebTorsionCoef are recomputed (only
// "LamD.kft" and "Mu.kft" are read).
// A missing or malformed graph raises EGraphFileError at its lookup: the values stored
// before it keep their new values, the later ones their old values.
void CalcConcentrationCoeffs(TEngineDataStruct& data, const std::filesystem::path& graphDir);

// The hardening factor of a hardening technology (`StrengthType` 0 … 3) from "Knu.kft".
double HardeningFactor(const std::filesystem::path& graphDir, int strengthType);

// A plain-text listing of the concentration data: the dimensionless ratios of the inputs
// that the graphs are read at, then every coefficient by its field name, grouped as on the
// concentration page. One line per entry, "." as the decimal separator.
std::vector<std::string> FormatConcentrationCoeffs(const TEngineDataStruct& data);
