#include "QinInputUnit.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <sstream>
#include <vector>

#include "SafeFileUnit.h"

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
  const std::string where = source + ": строка " + std::to_string(lineNumber);
  if (lineNumber > static_cast<int>(lines.size()))
    throw EQinInputError(where + " отсутствует (файл кончается после строки " +
                         std::to_string(lines.size()) + ")");
  const std::vector<std::string> words = SplitWords(lines[lineNumber - 1]);
  std::string names;
  for (const auto& field : fields) names += (names.empty() ? "" : ", ") + std::string(field.first);
  if (words.size() < fields.size())
    throw EQinInputError(where + ": ожидалось чисел: " + std::to_string(fields.size()) + " (" +
                         names + "), найдено: " + std::to_string(words.size()));
  std::size_t i = 0;
  for (const auto& field : fields) {
    if (!ParseNumber(words[i], *field.second))
      throw EQinInputError(where + ": \"" + words[i] + "\" не является числом (поле " +
                           field.first + ")");
    ++i;
  }
}

int ReadChoice(double stored, const char* name, int count, const std::string& where) {
  if (stored != std::floor(stored) || stored < 1 || stored > count)
    throw EQinInputError(where + ": " + name + " должен быть целым числом от 1 до " +
                         std::to_string(count) + " (задано " + FormatValue(stored) + ")");
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
    throw EQinInputError(std::string("Фазы ") + organ + " заданы не по порядку: углы " + names +
                         " должны возрастать от открытия к закрытию в пределах 0…" +
                         FormatValue(period) + " град от в.м.т. сгорания (задано " +
                         FormatValue(open) + ", " + FormatValue(fullOpen) + ", " +
                         FormatValue(startClose) + ", " + FormatValue(close) + " град)");
}

// A value inside the range any engine can have; the caption is that of the working-process
// page. Beyond these ranges the cycle either cannot be computed or takes minutes to fail.
void RequireRange(double value, double low, double high, const std::string& caption, const std::string& unit) {
  if (value >= low && value <= high) return;
  const std::string u = unit.empty() ? "" : " " + unit;
  throw EQinInputError(caption + ": допустимо от " + FormatValue(low) + " до " + FormatValue(high) + u +
                       ", задано " + FormatValue(value) + u);
}

void RequirePhysicalRanges(const TQinInput& in) {
  constexpr double Pi = 3.14159265358979323846;
  RequireRange(in.N, 10, 20000, "Частота вращения вала (N)", "об/мин");
  RequireRange(in.D, 0.01, 2, "Диаметр цилиндра (D)", "м");
  RequireRange(in.S, 0.01, 5, "Ход поршня (S)", "м");
  RequireRange(in.E, 1.5, 50, "Степень сжатия (E)", "");
  // An effective flow area cannot exceed the whole liner wall swept by the piston.
  const double largestArea = Pi * in.D * in.S;
  RequireRange(in.FB, 0, largestArea, "Максимальное эффективное сечение выпускных органов (FB)", "м2");
  RequireRange(in.FH, 0, largestArea, "Максимальное эффективное сечение впускных органов (FH)", "м2");
  RequireRange(in.P0, 0.01, 1, "Давление окружающей среды (P0)", "МПа");
  RequireRange(in.T0, 150, 1000, "Температура окружающей среды (T0)", "К");
  RequireRange(in.PK, 0, 20, "Давление наддува (PK)", "МПа");
  RequireRange(in.TK, 150, 1000, "Температура воздуха (TK)", "К");
  RequireRange(in.PT, 0, 20, "Давление перед турбиной (PT)", "МПа");
  RequireRange(in.PZT, 0, 20, "Давление за турбиной (PZT)", "МПа");
  RequireRange(in.TPOR, -50, 1000, "Средняя температура поршня (TPOR)", "°C");
  RequireRange(in.Tkr, -50, 1000, "Средняя температура крышки (Tkr)", "°C");
  RequireRange(in.TWT, -50, 1000, "Средняя температура гильзы (TWT)", "°C");
  RequireRange(in.OFPK, 0, 10, "Отношение площади поршня к площади крышки (OFPK)", "");
  RequireRange(in.CG, 0, 1000, "Поправочный множитель в формуле Вошни (CG)", "");
  RequireRange(in.C2, 0, 1, "Коэффициент C2 в формуле Вошни (C2)", "");
  RequireRange(in.Cu, 0, 200, "Окружная скорость вихря (Cu)", "м/с");
  RequireRange(in.QC, 0, 1, "Цикловая подача топлива (QC)", "кг");
  if (in.QC > 0) {
    RequireRange(in.Hu, 1000, 150000, "Низшая удельная теплота сгорания топлива (Hu)", "кДж/кг");
    RequireRange(in.MT, 0, 20, "Показатель кинетического сгорания (MT)", "");
    RequireRange(in.MW, -1, 20, "Показатель диффузионного сгорания (MW)", "");
  }
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
  try {
    return ParseQinText(ReadWholeTextFile(path), path);
  } catch (const EVexaFileError& error) {
    throw EQinInputError(error.what());
  }
}

void ValidateQinInput(const TQinInput& in) {
  Require(in.D > 0, "Диаметр цилиндра D должен быть положительным (задано " + FormatValue(in.D) + " м)");
  Require(in.S > 0, "Ход поршня S должен быть положительным (задано " + FormatValue(in.S) + " м)");
  Require(in.N > 0, "Частота вращения вала N должна быть положительной (задано " + FormatValue(in.N) + " об/мин)");
  Require(in.E > 1, "Степень сжатия E должна быть больше 1 (задано " + FormatValue(in.E) + ")");
  Require(in.Lam >= 0 && in.Lam < 1,
          "Отношение R/L (Lam) должно лежать в пределах 0…1, не включая 1 (задано " + FormatValue(in.Lam) + ")");

  const double period = in.PeriodDeg();
  RequireTiming("выпускных органов", in.B1, in.B12, in.B13, in.B2, "B1, B12, B13, B2", period);
  RequireTiming("впускных органов", in.H1, in.H12, in.H13, in.H2, "H1, H12, H13, H2", period);

  Require(in.FirstOpeningDeg() > in.TrapAngleDeg(),
          "Фазы газораспределения заданы не по порядку: впуск и выпуск не оставляют закрытой части "
          "цикла около в.м.т. сгорания");

  Require(in.FB > 0, "Максимальное эффективное сечение выпускных органов FB должно быть положительным (задано " +
                         FormatValue(in.FB) + " м2)");
  Require(in.FH > 0, "Максимальное эффективное сечение впускных органов FH должно быть положительным (задано " +
                         FormatValue(in.FH) + " м2)");
  if (in.V == 0) {
    Require(in.P0 > 0 && in.T0 > 0, "Давление P0 и температура T0 окружающей среды должны быть положительными (задано " +
                                         FormatValue(in.P0) + " МПа и " + FormatValue(in.T0) + " К)");
    Require(in.PZT > 0, "Давление за турбиной PZT должно быть положительным (задано " +
                            FormatValue(in.PZT) + " МПа)");
  } else {
    Require(in.PK > 0 && in.TK > 0, "Давление наддува PK и температура воздуха TK должны быть положительными (задано " +
                                         FormatValue(in.PK) + " МПа и " + FormatValue(in.TK) + " К)");
    Require(in.PT > 0, "Давление перед турбиной PT должно быть положительным (задано " +
                           FormatValue(in.PT) + " МПа)");
  }
  Require(in.TPOR > -273.15 && in.Tkr > -273.15 && in.TWT > -273.15,
          "Средние температуры поршня TPOR, крышки Tkr и гильзы TWT должны быть выше абсолютного нуля (задано " +
              FormatValue(in.TPOR) + ", " + FormatValue(in.Tkr) + ", " + FormatValue(in.TWT) + " °C)");
  Require(in.OFPK > 0, "Отношение площади поршня к площади крышки OFPK должно быть положительным (задано " +
                           FormatValue(in.OFPK) + ")");
  Require(in.CG >= 0 && in.C2 >= 0 && in.Cu >= 0,
          "Поправочный множитель CG и коэффициент C2 в формуле Вошни и окружная скорость вихря Cu не могут быть "
          "отрицательными (задано " + FormatValue(in.CG) + ", " + FormatValue(in.C2) + ", " + FormatValue(in.Cu) +
              " м/с)");

  Require(in.QC >= 0, "Цикловая подача топлива QC не может быть отрицательной (задано " + FormatValue(in.QC) +
                          " кг)");
  if (in.QC > 0) {
    Require(in.Hu > 0, "Низшая удельная теплота сгорания топлива Hu должна быть положительной (задано " +
                           FormatValue(in.Hu) + " кДж/кг)");
    Require(in.Fz > 0 && in.Fz < period,
            "Продолжительность горения Fz должна лежать между 0 и длительностью цикла " + FormatValue(period) +
                " град (задано " + FormatValue(in.Fz) + " град)");
    Require(in.XT >= 0 && in.XT <= 1,
            "Доля топлива, сгорающая по кинетическому механизму, XT должна лежать в пределах 0…1 (задано " +
                FormatValue(in.XT) + ")");
    Require(in.MW > -1, "Показатель диффузионного сгорания MW должен быть больше -1 (задано " +
                            FormatValue(in.MW) + ")");
    if (in.XT > 0) {
      Require(in.MT > 0, "Показатель кинетического сгорания MT должен быть положительным, чтобы максимум скорости "
                         "сгорания пришёлся на FCT (задано " + FormatValue(in.MT) + ")");
      Require(in.FCT > 0, "Угол максимальной скорости кинетического сгорания FCT должен быть положительным (задано " +
                              FormatValue(in.FCT) + " град)");
    }
    const double start = in.CombustionStartDeg();
    const char* startName = in.EngineType == 1 ? "Угол опережения зажигания FOPZ" : "Угол опережения впрыска FOPT";
    Require(start < in.FirstOpeningDeg(),
            std::string(startName) + " переносит начало горения на " +
                FormatValue(start) + " град, вне закрытой части цикла (" +
                FormatValue(in.TrapAngleDeg()) + "…" + FormatValue(in.FirstOpeningDeg()) +
                " град от в.м.т. сгорания)");
    Require(start + in.Fz <= in.TrapAngleDeg() + period,
            "Горение (начало " + FormatValue(start) + " град, продолжительность " +
                FormatValue(in.Fz) + " град) не заканчивается до закрытия органов "
                "газообмена следующего цикла");
  }
  RequirePhysicalRanges(in);
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
