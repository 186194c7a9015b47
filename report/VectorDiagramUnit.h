// The vector diagram of the torsional excitation at one resonance: every throw's contribution
// (SinPart, CosPart), head to tail closed by the resultant ("Векторная") or each from the
// origin ("Фазовая"), in N·m.
#pragma once

#include <string>
#include <vector>

#include "OscillCalcUnit.h"

struct TVectorArrow {
  double X0 = 0, Y0 = 0, X1 = 0, Y1 = 0;  // x: sine component, y: cosine component
  std::string Label;                      // throw number, "Sum" for the resultant
};

struct TVectorDiagram {
  double Order = 0;    // harmonic order k
  bool InRange = false;  // the resonance lies in the speed range (otherwise no arrows)
  std::vector<TVectorArrow> Arrows;
  double Extent = 0;   // largest |coordinate| of the arrows; the axes run over ±1.1·Extent
};

// mode 1 … n−1, harmonic 0-based; phase: the phase form. Indices outside the model raise
// std::out_of_range.
TVectorDiagram VectorDiagram(const TOscillCalcStruct& model, int mode, int harmonic, bool phase);
