// The beam frame solved in the shaft's own frame, which turns with the crank. There every shaft
// element keeps its stiffness at every step; only the support springs, which stay along the
// engine's X and Y axes, and the loads turn. The shaft's stiffness is therefore condensed once
// per run onto the degrees of freedom of the support nodes (in long double: the frame's
// stiffnesses span some thirteen decades), span by span, and a step solves only a small band
// system for the support nodes and forms the end moments that the results read from
// precomputed influences. With supports equally stiff along X and Y nothing turns at all: the
// support nodes' system is factored once per run.
#pragma once

#include <memory>
#include <mutex>
#include <vector>

#include "BeamModelUnit.h"

class TDynamicCalcStruct;
struct TShaftFrame;

// Buffers of one thread's steps.
struct TShaftFrameWorkspace;

// Condenses the run's frame (its model built, its angle grid read). Raises
// ESingularSystemError when the shaft or a support cannot carry its loads.
std::shared_ptr<const TShaftFrame> BuildShaftFrame(const TDynamicCalcStruct& run);

// The condensations of the runs of one project: its runs differ in speed and loads, on which the
// condensation does not depend, so a run whose beam model equals the previous run's (the
// stiffnesses, the held degrees, which element ends carry loads) takes that condensation with
// its own loads instead of condensing again. Any other run condenses anew.
class TShaftFrameCache {
 public:
  std::shared_ptr<const TShaftFrame> Get(const TDynamicCalcStruct& run);

 private:
  std::mutex lock_;
  std::vector<double> model_;  // what the kept condensation was built from
  std::shared_ptr<const TShaftFrame> frame_;
};

std::shared_ptr<TShaftFrameWorkspace> MakeShaftFrameWorkspace(const TShaftFrame& frame);

// Solves step k and writes its results into the run's throws and cylinders. The elements'
// Displacements are not filled: only the end moments that the results read are formed.
void SolveShaftFrameStep(TDynamicCalcStruct& run, int k, const TShaftFrame& frame, TShaftFrameWorkspace& workspace);
