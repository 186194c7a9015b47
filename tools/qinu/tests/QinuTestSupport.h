// Test data of the working-process program: the example engine and a writer of the
// ".qin" exchange file in its fixed layout (fields of 13 characters, 6 decimals).
#pragma once

#include <filesystem>
#include <string>

#include "QinInputUnit.h"

namespace qinutest {

// The example engine of the program's default project with the default working-process
// data: a 16-cylinder V four-stroke diesel, bore 0.26 m, stroke 0.26 m (crank radius
// 0.13 m), rod 0.58 m, 1000 rpm; the remaining values are the documented defaults
// (naturally aspirated, 0.061 g fuel per cycle).
qinu::TQinInput DefaultExample();

// The same engine at its rated point as a turbocharged engine: 2206 kW (3000 hp) at
// 1000 rpm for 16 cylinders (Kolomna D49, 16ChN26/26), fuel from a specific consumption
// of 205 g/kWh (brake), boost as in the defaults (PK = 0.2 MPa, TK = 360 K), and flow
// areas of a four-valve head of this bore (the default areas suit a smaller engine).
qinu::TQinInput RatedExample();

// A loop-scavenged two-stroke of the example's size: ports for intake and exhaust,
// symmetric about the bottom dead centre (exhaust 100...260 deg, intake 130...230 deg),
// turbocharged so that the boost (0.2 MPa) exceeds the turbine-inlet pressure (0.15 MPa).
qinu::TQinInput TwoStrokeExample();

// The text of a ".qin" file as the calculation writes it.
std::string FormatQinFile(const qinu::TQinInput& input, const std::string& fileName);
void WriteQinFile(const std::filesystem::path& path, const qinu::TQinInput& input);

}  // namespace qinutest
