// Reading an indicator diagram (".dia": cylinder pressure over one working cycle) into the
// crank-angle grid of a calculation run, with step 0 at the firing top dead centre.
#pragma once

#include <filesystem>
#include <string>

#include "MyTypes.h"

// Reads the diagram file into the grid angles (rad) and the gas pressures (MPa) of a run.
//
// Line layout, by character position: 1–8 crank angle in degrees, 9–24 ignored, 25–32
// pressure in MPa, then at least 40 further characters; the first line is a header. The table
// ends at the first line whose part after column 32 is shorter than 40 characters. The last
// point repeats the first one a period later and is dropped; the period is 720° when the last
// angle exceeds 370°, else 360°. The grid is rotated to begin at 0° (or the first point after
// it), negative angles move up by one period, and for a four-stroke cycle the pressures move
// so that the file's firing top dead centre at 360° lands on step 0.
//
// Every failure raises TEVexaError 7 naming the file: a missing or unreadable file, a field
// that is not a number (always with "." as separator) or not finite, fewer than three steps,
// more than 32767 steps, angles that do not rise, a grid that neither holds nor brackets 0°
// (or 360° for a four-stroke cycle). On failure both arrays are left as they were.
//
// cycleDeg is the engine's cycle (720° four-stroke, 360° two-stroke): a table that does not
// span exactly that much is refused with error 7 naming the line where the table ends. With
// 0 the cycle is taken from the last angle as above. Only a regular file of at most 64 MB is
// read.
void ReadIndicatorDiagramFile(const std::filesystem::path& file, TReal1DArray& AngleGrid, TReal1DArray& Pressure,
                              double cycleDeg = 0);
// The same for the text of a diagram file; file only names it in messages.
void ParseIndicatorDiagram(const std::string& text, const std::filesystem::path& file, TReal1DArray& AngleGrid,
                           TReal1DArray& Pressure, double cycleDeg = 0);
