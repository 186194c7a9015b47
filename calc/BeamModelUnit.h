// The crankshaft as a frame of beam elements on compliant supports: the model built once per
// run and its solution at one crank-angle step, shared by the sequential and parallel loops.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

#include "BeamElemUnit.h"
#include "LinAlgUnit.h"

class TDynamicCalcStruct;
class TEngineDataStruct;
struct TShaftFrame;
struct TShaftFrameWorkspace;

// Held degrees of freedom: their diagonal is multiplied by PenaltyFactor and their right-hand
// side set to PenaltyLoad (prescribed displacements, all zero here, to 0).
inline constexpr double PenaltyFactor = 1e30;
inline constexpr double PenaltyLoad = 1e20;

// Elements of one throw whose end forces are the throw's results.
struct TBeamThrowElements {
  int FirstJournal = -1, LastJournal = -1;
  int FirstPin = -1, EndPin = -1;  // the first crankpin segment and the unloaded end segment
  std::vector<int> CylinderPins;   // the segment that carries cylinder j's load at its node 2
  int SpringX = -1, SpringY = -1;  // springs of the throw's right support
  int SpringX0 = -1, SpringY0 = -1;  // throw 0 only: springs of support 0
};

// What the solvers need besides the elements: the degrees and stiffnesses of the elements,
// the held degrees; for the solvers of the whole frame the system's pattern and where every
// element entry goes (laid out before their first step), for the shaft-frame solver its
// condensation.
struct TBeamAssembly {
  TBeamSystem System;
  std::vector<std::array<int, 144>> Slots;  // element entry (r·12 + c) → index in System.Values
  std::vector<std::array<int, 12>> Dofs;    // element degree → global degree
  std::vector<TMatrix12> Local;             // local stiffness of every element
  std::vector<TMatrix12> Global;            // global stiffness; turning elements are redone per step
  std::vector<int> Turning;                 // webs and counterweights
  std::vector<int> HeldDofs;                // TF_FIXED or TF_DISPL degrees
  std::vector<int> HeldDiagonal;            // their diagonal slots
  std::vector<TBeamThrowElements> Throws;
  // The shaft's stiffness condensed in its own frame, for the shaft-frame solver.
  std::shared_ptr<const TShaftFrame> ShaftFrame;
};

// Mutable state of one solver: its element copies and node positions, the system values and
// the factorisation. Every thread of the angle loop has its own.
struct TBeamWorkspace {
  TBeamSystem System;
  std::vector<TMatrix12> Global;
  TReal1DArray U;
  std::unique_ptr<TLinearSolver> Solver;
  std::shared_ptr<TShaftFrameWorkspace> Shaft;  // instead of the above with the shaft-frame solver
};

// A compliance, a material constant or a section of the model that makes it unsolvable.
class EBeamModelError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Lays out the pattern of the whole frame's system (size degrees of freedom), the slots of the
// element entries and of the held diagonals.
void LayOutBeamSystem(TBeamAssembly& assembly, int size);

TBeamWorkspace MakeBeamWorkspace(const TBeamAssembly& assembly, TSolverKind kind);

// Turns the webs and counterweights to step k and places every node (node 0 at the origin).
void PlaceBeamElements(const TDynamicCalcStruct& run, int k, std::vector<TBeamElem>& elements,
                       std::vector<TPoint3>& nodes);

// The same with the angle given (rad).
void PlaceBeamElementsAt(const TEngineDataStruct& engine, double alpha, std::vector<TBeamElem>& elements,
                         std::vector<TPoint3>& nodes);

// Writes step k's results of every throw from the end forces of its elements: global(element)
// gives the element's global end forces, axial(spring) the axial force of a support spring.
void WriteBeamStepResults(TDynamicCalcStruct& run, int k, const std::function<TVector12(int)>& global,
                          const std::function<double(int)>& axial);

// Solves step k with the given elements and workspace and writes the step's results into the
// run's throws and cylinders. The solvers of the whole frame place the elements at the step;
// the shaft-frame solver places them only for an observer that draws the model.
void SolveBeamStep(TDynamicCalcStruct& run, int k, std::vector<TBeamElem>& elements, std::vector<TPoint3>& nodes,
                   TBeamWorkspace& workspace);
