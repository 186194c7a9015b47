// The grids of the torsional results window: resonance speeds, natural frequencies with their
// mode shapes, and per resonance in the speed range the section stresses, the mass amplitudes,
// the harmonic analysis of the throw torques and the energy balance.
#pragma once

#include <utility>
#include <vector>

#include "OscillCalcUnit.h"
#include "ResultTablesUnit.h"

// The resonances (mode 1 … n−1, harmonic 0-based) inside the speed range, modes outer.
std::vector<std::pair<int, int>> ResonanceList(const TOscillCalcStruct& model);

// "Резонансные режимы": one row per harmonic order, one column per mode; rpm or "-".
TResultTable ResonanceSpeedTable(const TOscillCalcStruct& model);
// "Формы": the first row holds the mode numbers, then one row per mass; the headers hold the
// natural frequencies, rad/s.
TResultTable ModeShapeTable(const TOscillCalcStruct& model);
// "Напряжения Tau (МПа)": the stress of the section to the right of each motor mass and the one after.
TResultTable SectionStressTable(const TOscillCalcStruct& model);
// "Амплитуда колебаний A (рад)": the absolute amplitudes of the same masses.
TResultTable AmplitudeTable(const TOscillCalcStruct& model);
// The harmonic analysis of the throw torques, per throw.
enum class THarmonicPart { Mk, Ak, Bk, Alphak };
TResultTable HarmonicTable(const TOscillCalcStruct& model, THarmonicPart part);
// "Summary": Mk*Rs, Sum(ai)^2, AkMax, Aksi and AkMax/Aksi of every resonance.
TResultTable ResonanceSummaryTable(const TOscillCalcStruct& model);
