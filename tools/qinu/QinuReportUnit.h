// The two output files of the working-process program: the indicator diagram ".dia"
// read by the crankshaft calculation, and the readable report ".rez" for the user.
#pragma once

#include <string>

#include "CycleSimulationUnit.h"
#include "QinInputUnit.h"

namespace qinu {

// Character columns of a diagram line (1-based, inclusive) that the calculation reads.
constexpr int kDiagramAngleFirst = 1, kDiagramAngleLast = 8;
constexpr int kDiagramPressureFirst = 25, kDiagramPressureLast = 32;
// A data line carries at least this many characters after the pressure.
constexpr int kDiagramTailMinimum = 40;

// Header line, then one line per diagram point: angle (deg) in columns 1-8, cylinder
// volume (dm^3) in 9-24, pressure (MPa) in 25-32, then gas temperature (K), burned
// fraction, heat-release rate (J/deg), wall-heat rate (J/deg) and charge mass (g).
// Throws std::runtime_error if a pressure does not fit its eight columns.
std::string FormatDiagram(const TCycleResult& result);

// The report of a successful run: input echo, assumptions, the cycle figures.
std::string FormatReport(const TQinInput& input, const TCycleResult& result,
                         const std::string& inputName);

// The report of a failed run: what went wrong and that no diagram was written.
std::string FormatFailureReport(const std::string& inputName, const std::string& message);

}  // namespace qinu
