#include "IndicatorDiagramUnit.h"

#include <cmath>
#include <sstream>
#include <numbers>
#include <string>

#include "CommonFuncs.h"
#include "EVexaErrorUnit.h"
#include "NumberFormatUnit.h"
#include "SafeFileUnit.h"

namespace {

// Character layout of a data line.
constexpr std::size_t AngleWidth = 8;
constexpr std::size_t IgnoredWidth = 16;
constexpr std::size_t PressureWidth = 8;
constexpr std::size_t RemainderMin = 40;  // a shorter remainder ends the table

// The closing point repeats the first one, so the file may hold one point more than a grid.
constexpr std::size_t MaxFilePoints = MaxArraySize + 1;
constexpr std::size_t MinGridPoints = 3;

// A diagram whose last angle lies beyond this is a four-stroke (720°) cycle.
constexpr double FourStrokeThresholdDeg = 370.0;
// Largest difference between the table's span and the engine's cycle that counts as equal.
constexpr double CycleToleranceDeg = 0.05;

[[noreturn]] void reject(const std::filesystem::path& file) {
  throw TEVexaError(ErrIndicatorDiagram, file.string());
}

std::string field(const std::string& line, std::size_t first, std::size_t width) {
  if (first >= line.size()) return {};
  return line.substr(first, width);
}

double number(const std::string& text, const std::filesystem::path& file) {
  double value = 0;
  try {
    value = ParseDouble(text);
  } catch (const EConvertError&) {
    reject(file);
  }
  if (!std::isfinite(value)) reject(file);
  return value;
}

// Index of the first grid point at or after the angle, by the grid's angle search; -1 when
// the grid neither holds nor brackets it.
int firstStepFrom(const TReal1DArray& angles, double angleDeg) {
  int i = FindAngleIndex(angles, angleDeg);
  // The bracket search may stop one point short of the angle.
  if (i >= 0 && angles[static_cast<std::size_t>(i)] < angleDeg) ++i;
  return i;
}

// The table must span exactly one cycle of the engine: a table cut short (a shortened line
// ends it, by the rule of the format) would otherwise pass for a whole cycle.
void requireWholeCycle(const TReal1DArray& angles, double cycleDeg, int lastDataLine,
                       const std::filesystem::path& file) {
  const double spanDeg = angles.back() - angles.front();
  if (std::fabs(spanDeg - cycleDeg) <= CycleToleranceDeg) return;
  const char* engine = cycleDeg > 360.0 + CycleToleranceDeg ? "четырёхтактного" : "двухтактного";
  throw TEVexaError(ErrIndicatorDiagram,
                    file.string() + " (таблица кончается на строке " + std::to_string(lastDataLine) + ", угол " +
                        FormatGeneral(angles.back()) + "°: диаграмма охватывает " + FormatGeneral(spanDeg) +
                        "° вместо " + FormatGeneral(cycleDeg) + "° цикла " + engine + " двигателя)");
}

}  // namespace

void ReadIndicatorDiagramFile(const std::filesystem::path& file, TReal1DArray& AngleGrid, TReal1DArray& Pressure,
                              double cycleDeg) {
  std::string text;
  try {
    text = ReadWholeTextFile(file);
  } catch (const EVexaFileError& error) {
    throw TEVexaError(ErrIndicatorDiagram, file.string() + " (" + error.Reason + ")");
  }
  ParseIndicatorDiagram(text, file, AngleGrid, Pressure, cycleDeg);
}

void ParseIndicatorDiagram(const std::string& text, const std::filesystem::path& file, TReal1DArray& AngleGrid,
                           TReal1DArray& Pressure, double cycleDeg) {
  std::istringstream in(text);
  TReal1DArray angles;  // degrees until the end
  TReal1DArray pressures;
  std::string line;
  std::getline(in, line);  // header
  int lastDataLine = 1;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::size_t remainderStart = AngleWidth + IgnoredWidth + PressureWidth;
    if (line.size() < remainderStart + RemainderMin) break;
    if (angles.size() == MaxFilePoints) reject(file);
    const double angle = number(field(line, 0, AngleWidth), file);
    if (!angles.empty() && angle <= angles.back()) reject(file);
    angles.push_back(angle);
    pressures.push_back(number(field(line, AngleWidth + IgnoredWidth, PressureWidth), file));
    ++lastDataLine;
  }
  if (angles.size() < MinGridPoints + 1) reject(file);
  if (cycleDeg > 0) requireWholeCycle(angles, cycleDeg, lastDataLine, file);

  const double periodDeg = cycleDeg > 0 ? cycleDeg : angles.back() > FourStrokeThresholdDeg ? 720.0 : 360.0;
  angles.pop_back();
  pressures.pop_back();

  // Rotate so that the grid begins at 0° (or the first point after it).
  const int start = firstStepFrom(angles, 0.0);
  if (start < 0) reject(file);
  ShiftArray(angles, start, TShiftDirection::Left);
  ShiftArray(pressures, start, TShiftDirection::Left);
  for (double& angle : angles)
    if (angle < 0) angle += periodDeg;

  // The file puts the firing top dead centre of a four-stroke cycle at 360°, the grid at
  // step 0. For a two-stroke cycle the target is 0°, where the grid already begins, so a
  // grid starting just after 0° keeps its pressures in place.
  const double firingDeg = periodDeg - 360.0;
  int firing = firstStepFrom(angles, firingDeg);
  if (firing < 0 && firingDeg <= angles.front()) firing = 0;
  if (firing < 0) reject(file);
  ShiftArray(pressures, firing, TShiftDirection::Left);

  for (double& angle : angles) angle *= std::numbers::pi / 180.0;
  AngleGrid = std::move(angles);
  Pressure = std::move(pressures);
}
