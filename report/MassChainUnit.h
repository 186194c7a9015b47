// The picture of the torsional page: the lumped-mass chain of the shaft line seen from the side,
// each mass a disc whose radius grows with the fourth root of its moment of inertia (a disc of
// given thickness has J ∝ r⁴), each section a spring whose width grows with the fourth root of
// its stiffness (a shaft of given length has c ∝ d⁴), the damper and the driven machine marked.
// Pure geometry in model units (one unit between neighbouring disc centres); the page scales
// and draws it.
#pragma once

#include <vector>

#include "MyTypes.h"

enum class TChainMassKind { Free, Motor, Driven };

struct TChainDisc {
  int Number = 0;         // mass number, from 1
  double X = 0;           // centre, units
  double Radius = 0;      // half height, units; largest disc 0.5
  double J = 0;           // kg·m²
  TChainMassKind Kind = TChainMassKind::Free;
  bool Damper = false;    // carries the damper
};

struct TChainSpring {
  double X0 = 0, X1 = 0;  // ends, units (the facing disc rims)
  double HalfWidth = 0;   // units; stiffest spring 0.2, 0 for a section without stiffness
  double C = 0;           // kN·m/rad
};

struct TMassChainPicture {
  std::vector<TChainDisc> Discs;
  std::vector<TChainSpring> Springs;
  double Width = 0;       // from the left rim of the first disc to the right rim of the last
};

// Input of the picture: the first nMass moments of inertia and the sections between masses k
// and k + 1 read from C[k + 1][k] (0-based, the cell the page edits); the motor masses are
// firstMotor .. firstMotor + nSec − 1 (1-based), the masses after them the driven machine;
// damperMass is the mass carrying the damper (1-based) or 0 without a damper. Negative or
// missing values are drawn as the smallest disc or as a section without stiffness.
TMassChainPicture MassChainPicture(const TReal1DArray& J, const TReal2DArray& C, int nMass, int nSec,
                                   int firstMotor, int damperMass);
