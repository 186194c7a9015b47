// Every result of a calculation as one JSON document, values exactly as the engine holds
// them (angles in radians, arrays over the run's steps), written as it is produced: compact,
// every number in the shortest text that reads back to the same double.
#pragma once

#include <ostream>
#include <string>

#include "DynamicCalcUnit.h"
#include "OscillCalcUnit.h"

// What the document holds of every run.
enum class TJsonContent {
  // {"project", "runs": [{"title", "speed_rpm", "steps", "angle_grid", "cylinders", "throws",
  // "summary"}], "torsion"}.
  Full,
  // The same without the per-step arrays: "angle_grid", the force and load histories, and in
  // place of each quantity's history under "q" its extremes {"min", "min_step", "max",
  // "max_step", "mean", "amplitude"}.
  Summary,
};

// Writes the document to out; "torsion" only when a torsional model is given.
void WriteResultsJson(std::ostream& out, const std::string& projectName, const TDynamicCalcArray& runs,
                      const TOscillCalcStruct* torsion = nullptr, TJsonContent content = TJsonContent::Full);

// The whole document as a string (small calculations, tests).
std::string ResultsJson(const std::string& projectName, const TDynamicCalcArray& runs,
                        const TOscillCalcStruct* torsion = nullptr, TJsonContent content = TJsonContent::Full);
