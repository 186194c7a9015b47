// The results of the torsional calculation as text lines and as a JSON member: natural
// frequencies, and the resonances inside the speed range with their amplitudes and stresses.
#pragma once

#include <string>
#include <vector>

#include "OscillCalcUnit.h"

// One resonance inside the speed range.
struct TResonanceLine {
  int Mode = 0;          // 1 … n−1
  int Harmonic = 0;      // 0-based
  double Order = 0;      // harmonic order
  double Speed = 0;      // rpm
  double Amplitude = 0;  // resonant amplitude of the first motor mass, rad
  double LargestTau = 0; // largest shear-stress amplitude over the sections, Pa
  int Section = 0;       // the section that carries it (1-based)
};

std::vector<TResonanceLine> ResonanceLines(const TOscillCalcStruct& model);

// "Natural frequencies" and "Resonances" as aligned text.
std::vector<std::string> TorsionReportLines(const TOscillCalcStruct& model);

// {"omega", "modes", "red_length", "resonances": [{"mode", "harmonic", "order", "speed_rpm",
// "AkMax", "Aksi", "ResAmpl", "SectMoment", "SectTau"}]} as JSON text.
std::string TorsionJson(const TOscillCalcStruct& model);
