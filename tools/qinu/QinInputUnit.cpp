#include "QinInputUnit.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <fstream>
#include <sstream>
#include <vector>

namespace qinu {

namespace {

std::string FormatValue(double value) {
  std::ostringstream out;
  out.precision(10);
  out << value;
  return out.str();
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::string line;
  std::istringstream in(text);
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

std::vector<std::string> SplitWords(const std::string& line) {
  std::vector<std::string> words;
  std::size_t pos = 0;
  while (pos < line.size()) {
    while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t')) ++pos;
    std::size_t end = pos;
    while (end < line.size() && line[end] != ' ' && line[end] != '\t') ++end;
    // Two values that fill their 13-character fields touch ("0.260000123456.500000"): with
    // a second point in the word, the first value ends at the sixth decimal of the first.
    const std::size_t point = line.find('.', pos);
    if (point < end && line.find('.', point + 1) < end && point + 7 < end &&
        std::all_of(line.begin() + static_cast<std::ptrdiff_t>(point) + 1,
                    line.begin() + static_cast<std::ptrdiff_t>(point) + 7, [](char c) { return c >= '0' && c <= '9'; }))
      end = point + 7;
    if (end > pos) words.push_back(line.substr(pos, end - pos));
    pos = end;
  }
  return words;
}

// A number with "." as decimal separator whatever the locale; a leading '+' is accepted.
bool ParseNumber(const std::string& word, double& value) {
  const char* first = word.data();
  const char* last = first + word.size();
  if (first != last && *first == '+') ++first;
  auto [ptr, ec] = std::from_chars(first, last, value);
  return ec == std::errc() && ptr == last && std::isfinite(value);
}

// Reads the numbers of one line of the file into the given fields.
void ReadLine(const std::vector<std::string>& lines, int lineNumber, const std::string& source,
              std::initializer_list<std::pair<const char*, double*>> fields) {
  const std::string where = source + ": line " + std::to_string(lineNumber);
  if (lineNumber > static_cast<int>(lines.size()))
    throw EQinInputError(where + " is missing (the file ends after " +
                         std::to_string(lines.size()) + " lines)");
  const std::vector<std::string> words = SplitWords(lines[lineNumber - 1]);
  std::string names;
  for (const auto& field : fields) names += (names.empty() ? "" : ", ") + std::string(field.first);
  if (words.size() < fields.size())
    throw EQinInputError(where + ": expected " + std::to_string(fields.size()) + " numbers (" +
                         names + "), found " + std::to_string(words.size()));
  std::size_t i = 0;
  for (const auto& field : fields) {
    if (!ParseNumber(words[i], *field.second))
      throw EQinInputError(where + ": \"" + words[i] + "\" is not a number (field " +
                           field.first + ")");
    ++i;
  }
}

int ReadChoice(double stored, const char* name, int count, const std::string& where) {
  if (stored != std::floor(stored) || stored < 1 || stored > count)
    throw EQinInputError(where + ": " + name + " must be a whole number from 1 to " +
                         std::to_string(count) + ", read " + FormatValue(stored));
  return static_cast<int>(stored) - 1;
}

void Require(bool condition, const std::string& message) {
  if (!condition) throw EQinInputError(message);
}

// One gas-exchange organ: the four events must rise within one cycle.
void RequireTiming(const char* organ, double open, double fullOpen, double startClose,
                   double close, const char* names, double period) {
  const bool inCycle = open >= 0 && close <= period;
  const bool ordered = open <= fullOpen && fullOpen <= startClose && startClose <= close &&
                       open < close;
  if (!inCycle || !ordered)
    throw EQinInputError(std::string(organ) + " timing out of order: " + names +
                         " must rise from the opening to the closing within 0..." +
                         FormatValue(period) + " deg from the firing top dead centre, read " +
                         FormatValue(open) + ", " + FormatValue(fullOpen) + ", " +
                         FormatValue(startClose) + ", " + FormatValue(close));
}

}  // namespace

TQinInput ParseQinText(const std::string& text, const std::string& source) {
  const std::vector<std::string> lines = SplitLines(text);
  TQinInput in;
  double constant1 = 0, constant2 = 0;
  ReadLine(lines, 4, source, {{"D", &in.D}, {"S", &in.S}, {"E", &in.E}, {"Lam", &in.Lam},
                              {"N", &in.N}, {"PDP", &in.PDP}});
  ReadLine(lines, 5, source, {{"Q", &in.Q}, {"EM", &in.EM}, {"KK", &in.KK}, {"KT", &in.KT},
                              {"PK", &in.PK}});
  ReadLine(lines, 6, source, {{"DP", &in.DP}, {"TK", &in.TK}, {"P0", &in.P0}, {"T0", &in.T0},
                              {"PT", &in.PT}});
  ReadLine(lines, 7, source, {{"PZT", &in.PZT}, {"B1", &in.B1}, {"B12", &in.B12},
                              {"B13", &in.B13}, {"B2", &in.B2}});
  ReadLine(lines, 8, source, {{"FB", &in.FB}, {"H1", &in.H1}, {"H12", &in.H12},
                              {"H13", &in.H13}, {"H2", &in.H2}});
  ReadLine(lines, 9, source, {{"FH", &in.FH}, {"BPer", &in.BPer}, {"Hu", &in.Hu},
                              {"QC", &in.QC}, {"ALFF", &in.ALFF}});
  ReadLine(lines, 10, source, {{"FOPT", &in.FOPT}, {"FOPZ", &in.FOPZ}, {"Fz", &in.Fz},
                               {"XT", &in.XT}, {"FCT", &in.FCT}});
  ReadLine(lines, 11, source, {{"MT", &in.MT}, {"MW", &in.MW}, {"TPOR", &in.TPOR},
                               {"Tkr", &in.Tkr}, {"TWT", &in.TWT}});
  ReadLine(lines, 12, source, {{"OFPK", &in.OFPK}, {"ALFE", &in.ALFE}, {"ALFR", &in.ALFR},
                               {"CG", &in.CG}, {"Cu", &in.Cu}});
  ReadLine(lines, 13, source, {{"C2", &in.C2}, {"constant 1", &constant1},
                               {"constant 1", &constant2}, {"Vkam", &in.Vkam},
                               {"MFk", &in.MFk}});
  double choices[5] = {};
  ReadLine(lines, 14, source, {{"TOFormula", &choices[0]}, {"Vp", &choices[1]},
                               {"Vyp", &choices[2]}, {"V", &choices[3]},
                               {"EngineType", &choices[4]}});
  const std::string where = source + ": line 14";
  in.TOFormula = ReadChoice(choices[0], "TOFormula", 3, where);
  in.Vp = ReadChoice(choices[1], "Vp", 2, where);
  in.Vyp = ReadChoice(choices[2], "Vyp", 2, where);
  in.V = ReadChoice(choices[3], "V", 3, where);
  in.EngineType = ReadChoice(choices[4], "EngineType", 2, where);
  return in;
}

TQinInput ReadQinFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) throw EQinInputError("cannot open the working-process data \"" + path + "\"");
  std::ostringstream text;
  text << file.rdbuf();
  if (file.bad()) throw EQinInputError("cannot read the working-process data \"" + path + "\"");
  return ParseQinText(text.str(), path);
}

void ValidateQinInput(const TQinInput& in) {
  Require(in.D > 0, "the bore D must be positive, read " + FormatValue(in.D) + " m");
  Require(in.S > 0, "the stroke S must be positive, read " + FormatValue(in.S) + " m");
  Require(in.N > 0, "the speed N must be positive, read " + FormatValue(in.N) + " rpm");
  Require(in.E > 1, "the compression ratio E must be greater than 1, read " + FormatValue(in.E));
  Require(in.Lam >= 0 && in.Lam < 1,
          "the crank ratio Lam = R/L must lie in 0...1 (exclusive), read " + FormatValue(in.Lam));

  const double period = in.PeriodDeg();
  RequireTiming("exhaust", in.B1, in.B12, in.B13, in.B2, "B1, B12, B13, B2", period);
  RequireTiming("intake", in.H1, in.H12, in.H13, in.H2, "H1, H12, H13, H2", period);

  Require(in.FirstOpeningDeg() > in.TrapAngleDeg(),
          "valve timing out of order: intake and exhaust leave no closed part around the "
          "firing top dead centre");

  Require(in.FB > 0, "the exhaust flow area FB must be positive, read " + FormatValue(in.FB));
  Require(in.FH > 0, "the intake flow area FH must be positive, read " + FormatValue(in.FH));
  if (in.V == 0) {
    Require(in.P0 > 0 && in.T0 > 0, "the ambient pressure P0 and temperature T0 must be positive");
    Require(in.PZT > 0, "the exhaust back pressure PZT must be positive, read " +
                            FormatValue(in.PZT) + " MPa");
  } else {
    Require(in.PK > 0 && in.TK > 0, "the boost pressure PK and air temperature TK must be positive");
    Require(in.PT > 0, "the turbine-inlet pressure PT must be positive, read " +
                           FormatValue(in.PT) + " MPa");
  }
  Require(in.TPOR > -273.15 && in.Tkr > -273.15 && in.TWT > -273.15,
          "the wall temperatures TPOR, Tkr, TWT must lie above absolute zero (degrees C)");
  Require(in.OFPK > 0, "the piston-to-head area ratio OFPK must be positive, read " +
                           FormatValue(in.OFPK));
  Require(in.CG >= 0 && in.C2 >= 0 && in.Cu >= 0,
          "the heat-transfer constants CG, C2 and the swirl velocity Cu must not be negative");

  Require(in.QC >= 0, "the fuel per cycle QC must not be negative, read " + FormatValue(in.QC) +
                          " kg");
  if (in.QC > 0) {
    Require(in.Hu > 0, "the heating value Hu must be positive, read " + FormatValue(in.Hu) +
                           " kJ/kg");
    Require(in.Fz > 0 && in.Fz < period,
            "the combustion duration Fz must lie between 0 and one cycle, read " +
                FormatValue(in.Fz) + " deg");
    Require(in.XT >= 0 && in.XT <= 1,
            "the kinetic fraction XT must lie in 0...1, read " + FormatValue(in.XT));
    Require(in.MW > -1, "the diffusion exponent MW must be greater than -1, read " +
                            FormatValue(in.MW));
    if (in.XT > 0) {
      Require(in.MT > 0, "the kinetic exponent MT must be positive to place the maximum rate "
                         "at FCT, read " + FormatValue(in.MT));
      Require(in.FCT > 0, "the angle FCT of the maximum kinetic rate must be positive, read " +
                              FormatValue(in.FCT) + " deg");
    }
    const double start = in.CombustionStartDeg();
    const char* startName = in.EngineType == 1 ? "ignition advance FOPZ" : "injection advance FOPT";
    Require(start < in.FirstOpeningDeg(),
            std::string("the ") + startName + " puts the start of combustion at " +
                FormatValue(start) + " deg, outside the closed part of the cycle (" +
                FormatValue(in.TrapAngleDeg()) + "..." + FormatValue(in.FirstOpeningDeg()) +
                " deg from the firing top dead centre)");
    Require(start + in.Fz <= in.TrapAngleDeg() + period,
            "the combustion (start " + FormatValue(start) + " deg, duration " +
                FormatValue(in.Fz) + " deg) does not end before the charge of the next cycle "
                "is trapped");
  }
}

double TQinInput::TrapAngleDeg() const { return std::max(B2, H2) - PeriodDeg(); }

double TQinInput::FirstOpeningDeg() const { return std::min(B1, H1); }

double TQinInput::CombustionStartDeg() const {
  const double period = PeriodDeg();
  const double trap = TrapAngleDeg();
  double start = EngineType == 1 ? FOPZ : FOPT;
  start = trap + std::fmod(start - trap, period);
  if (start < trap) start += period;
  return start;
}

}  // namespace qinu
