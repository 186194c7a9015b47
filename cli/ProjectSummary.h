// A readable summary of a project's data for the command line.
#pragma once

#include <string>

#include "EngineDataStructUnit.h"

std::string ProjectSummary(const TEngineDataStruct& data);
