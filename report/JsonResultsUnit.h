// Every result of a calculation as one JSON document, values exactly as the engine holds
// them (angles in radians, arrays over the run's steps).
#pragma once

#include <string>

#include "DynamicCalcUnit.h"

// {"project", "runs": [{"title", "speed_rpm", "steps", "angle_grid", "cylinders", "throws",
// "summary"}]}. Extra members (the torsional model) can be added to the text by the caller.
std::string ResultsJson(const std::string& projectName, const TDynamicCalcArray& runs, int indent = -1);
