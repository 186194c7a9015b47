// Every result of a calculation as one JSON document, values exactly as the engine holds
// them (angles in radians, arrays over the run's steps).
#pragma once

#include <string>

#include "DynamicCalcUnit.h"
#include "OscillCalcUnit.h"

// {"project", "runs": [{"title", "speed_rpm", "steps", "angle_grid", "cylinders", "throws",
// "summary"}], "torsion"}; "torsion" only when a torsional model is given.
std::string ResultsJson(const std::string& projectName, const TDynamicCalcArray& runs, int indent = -1,
                        const TOscillCalcStruct* torsion = nullptr);
