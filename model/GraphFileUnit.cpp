#include "GraphFileUnit.h"

#include <charconv>
#include <cmath>

#include "FloatCheckUnit.h"
#include "SafeFileUnit.h"

namespace {

const char* const LookupStage = "Графики";

std::string describe(const std::filesystem::path& file, int line, const std::string& reason) {
  std::string text = "Ошибка чтения графика \"" + file.string() + "\"";
  if (line > 0) text += ", строка " + std::to_string(line);
  return text + ": " + reason;
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Optional sign, digits; nothing else.
bool looksInteger(const std::string& t) {
  std::size_t i = (!t.empty() && (t[0] == '+' || t[0] == '-')) ? 1 : 0;
  if (i == t.size()) return false;
  for (; i < t.size(); ++i)
    if (!isDigit(t[i])) return false;
  return true;
}

// Optional sign, digits with an optional point (at least one digit), optional exponent.
bool looksReal(const std::string& t) {
  std::size_t i = (!t.empty() && (t[0] == '+' || t[0] == '-')) ? 1 : 0;
  std::size_t digits = 0;
  while (i < t.size() && isDigit(t[i])) ++i, ++digits;
  if (i < t.size() && t[i] == '.') {
    ++i;
    while (i < t.size() && isDigit(t[i])) ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
    ++i;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    std::size_t expDigits = 0;
    while (i < t.size() && isDigit(t[i])) ++i, ++expDigits;
    if (expDigits == 0) return false;
  }
  return i == t.size();
}

// Reads the numbers of a graph file token by token, as a text-file reader of reals and
// integers does: blanks, tabs and line breaks separate numbers, and "rest of the line"
// skips to the start of the next line. It knows the line of every token for the messages.
class TGraphTextReader {
 public:
  TGraphTextReader(const std::filesystem::path& file, std::string text)
      : file_(file), text_(std::move(text)) {}

  void SkipRestOfLine() {
    while (pos_ < text_.size() && text_[pos_] != '\n') ++pos_;
    if (pos_ < text_.size()) {
      ++pos_;
      ++line_;
    }
  }

  std::int32_t ReadCount(const char* what) {
    const std::string t = nextToken(what);
    if (!looksInteger(t)) Fail("ожидалось целое число (" + std::string(what) + "), прочитано \"" + t + "\"");
    const char* first = t.data() + (t[0] == '+' ? 1 : 0);
    std::int32_t value = 0;
    auto [ptr, ec] = std::from_chars(first, t.data() + t.size(), value);
    if (ec != std::errc() || ptr != t.data() + t.size())
      Fail("целое число вне допустимого диапазона: \"" + t + "\"");
    return value;
  }

  double ReadReal(const char* what) {
    const std::string t = nextToken(what);
    if (!looksReal(t)) Fail("не число (" + std::string(what) + "): \"" + t + "\"");
    const char* first = t.data() + (t[0] == '+' ? 1 : 0);
    double value = 0;
    auto [ptr, ec] = std::from_chars(first, t.data() + t.size(), value);
    if (ec != std::errc() || ptr != t.data() + t.size() || !std::isfinite(value))
      Fail("число вне допустимого диапазона: \"" + t + "\"");
    return value;
  }

  int TokenLine() const { return tokenLine_; }

  [[noreturn]] void Fail(const std::string& reason) const { throw EGraphFileError(file_, tokenLine_, reason); }

 private:
  std::string nextToken(const char* what) {
    while (pos_ < text_.size() && isBlank(text_[pos_])) {
      if (text_[pos_] == '\n') ++line_;
      ++pos_;
    }
    tokenLine_ = line_;
    if (pos_ >= text_.size()) {
      // Reading stopped at the end of the last line, not on the empty line after it.
      if (line_ > 1 && !text_.empty() && text_.back() == '\n') tokenLine_ = line_ - 1;
      Fail("файл кончился раньше, чем указано в заголовке (ожидалось: " + std::string(what) + ")");
    }
    const std::size_t start = pos_;
    while (pos_ < text_.size() && !isBlank(text_[pos_])) ++pos_;
    return text_.substr(start, pos_ - start);
  }

  std::filesystem::path file_;
  std::string text_;
  std::size_t pos_ = 0;
  int line_ = 1;
  int tokenLine_ = 1;
};

std::string graphText(const std::filesystem::path& file) {
  try {
    return ReadWholeTextFile(file);
  } catch (const EVexaFileError& error) {
    throw EGraphFileError(file, 0, error.what());
  }
}

TGraphTextReader openGraph(const std::filesystem::path& file, std::string text) {
  TGraphTextReader reader(file, std::move(text));
  reader.SkipRestOfLine();  // the title
  return reader;
}

// A count of intervals: at least one (two points), at most what a 16-bit size can hold.
int readIntervals(TGraphTextReader& reader, const char* what) {
  const std::int32_t n = reader.ReadCount(what);
  if (n < 1) reader.Fail("нужно не меньше двух точек (" + std::string(what) + " = " + std::to_string(n) + ")");
  if (n >= MaxArraySize) reader.Fail("слишком много точек (" + std::string(what) + " = " + std::to_string(n) + ")");
  return n;
}

// Reads count ascending values; a value not above its predecessor makes the table unusable
// (the interpolation would divide by zero there).
TReal1DArray readAscending(TGraphTextReader& reader, int count, const char* what) {
  TReal1DArray values;
  for (int i = 0; i < count; ++i) {
    const double v = reader.ReadReal(what);
    if (i > 0 && !(v > values.back()))
      reader.Fail(std::string(what) + " должны строго возрастать");
    values.push_back(v);
  }
  return values;
}

void requireFiniteArgument(double value, const char* quantity) {
  RequireFinite(value, LookupStage, quantity);
}

// An argument outside the table's values is extrapolated along the end interval.
bool outside(const TReal1DArray& a, double v) { return v < a.front() || v > a.back(); }

}  // namespace

EGraphFileError::EGraphFileError(const std::filesystem::path& file, int line, const std::string& reason)
    : std::runtime_error(describe(file, line, reason)), FileName(file), Line(line), Reason(reason) {}

std::filesystem::path GraphDirectory(const std::filesystem::path& programDir) {
  return programDir / "DataBase" / "Коэффициенты";
}

TGraphCurve ReadGraphCurve(const std::filesystem::path& file) { return ParseGraphCurve(graphText(file), file); }

TGraphFamily ReadGraphFamily(const std::filesystem::path& file) { return ParseGraphFamily(graphText(file), file); }

TGraphCurve ParseGraphCurve(const std::string& text, const std::filesystem::path& file) {
  TGraphTextReader reader = openGraph(file, text);
  const int n = readIntervals(reader, "число интервалов");
  reader.SkipRestOfLine();
  TGraphCurve curve;
  curve.X = readAscending(reader, n + 1, "абсциссы");
  reader.SkipRestOfLine();
  for (int i = 0; i <= n; ++i) curve.Y.push_back(reader.ReadReal("ординаты"));
  return curve;
}

TGraphFamily ParseGraphFamily(const std::string& text, const std::filesystem::path& file) {
  TGraphTextReader reader = openGraph(file, text);
  const int n = readIntervals(reader, "число интервалов по абсциссе");
  const int m = readIntervals(reader, "число интервалов по параметру");
  reader.SkipRestOfLine();
  reader.ReadCount("угловая ячейка таблицы");
  TGraphFamily family;
  family.X = readAscending(reader, n + 1, "абсциссы");
  reader.SkipRestOfLine();
  for (int j = 0; j <= m; ++j) {
    const double p = reader.ReadReal("параметр кривой");
    if (j > 0 && !(p > family.P.back())) reader.Fail("параметры кривых должны строго возрастать");
    family.P.push_back(p);
    TReal1DArray row;
    for (int i = 0; i <= n; ++i) row.push_back(reader.ReadReal("ординаты кривой"));
    family.Y.push_back(std::move(row));
    reader.SkipRestOfLine();
  }
  return family;
}

double Interpolate(double x, double y1, double y0, double x1, double x0) {
  return y0 + (x - x0) / (x1 - x0) * (y1 - y0);
}

int FindGraphInterval(const TReal1DArray& a, double v) {
  const int k = static_cast<int>(a.size()) - 1;
  if (v < a[0]) return 0;
  for (int i = 0; i < k; ++i)
    if (a[i] <= v && v <= a[i + 1]) return i;
  return k - 1;
}

double RoundGraphValue(double value) {
  // nearbyint rounds in the default mode: to nearest, halves to even.
  return std::nearbyint(value / 0.0001) * 0.0001;
}

TGraphReading ReadCurve(const TGraphCurve& curve, double x) {
  requireFiniteArgument(x, "абсцисса");
  const auto i = static_cast<std::size_t>(FindGraphInterval(curve.X, x));
  const double y = Interpolate(x, curve.Y[i + 1], curve.Y[i], curve.X[i + 1], curve.X[i]);
  RequireFinite(y, LookupStage, "значение кривой");
  TGraphReading reading;
  reading.Value = reading.Unclamped = RoundGraphValue(y);
  reading.XMin = curve.X.front(), reading.XMax = curve.X.back();
  reading.XOutside = outside(curve.X, x);
  return reading;
}

TGraphReading ReadFamily(const TGraphFamily& family, double x, double p) {
  requireFiniteArgument(x, "абсцисса");
  requireFiniteArgument(p, "параметр");
  const auto i = static_cast<std::size_t>(FindGraphInterval(family.X, x));
  const auto j = static_cast<std::size_t>(FindGraphInterval(family.P, p));
  const TReal1DArray& lower = family.Y[j];
  const TReal1DArray& upper = family.Y[j + 1];
  const double u = Interpolate(x, lower[i + 1], lower[i], family.X[i + 1], family.X[i]);
  const double w = Interpolate(x, upper[i + 1], upper[i], family.X[i + 1], family.X[i]);
  const double v = Interpolate(p, w, u, family.P[j + 1], family.P[j]);
  RequireFinite(v, LookupStage, "значение семейства кривых");
  TGraphReading reading;
  reading.Unclamped = RoundGraphValue(v);
  // The graphs hold coefficients between 0 and 5; a value outside means the arguments lie
  // far off the graph, and the family reports 0 there.
  reading.Zeroed = v > 5 || v < 0;
  reading.Value = reading.Zeroed ? 0 : reading.Unclamped;
  reading.XMin = family.X.front(), reading.XMax = family.X.back();
  reading.PMin = family.P.front(), reading.PMax = family.P.back();
  reading.XOutside = outside(family.X, x);
  reading.POutside = outside(family.P, p);
  return reading;
}

double CurveValue(const TGraphCurve& curve, double x) { return ReadCurve(curve, x).Value; }

double FamilyValue(const TGraphFamily& family, double x, double p) { return ReadFamily(family, x, p).Value; }

double LookupGraph1D(const std::filesystem::path& file, double x) {
  return CurveValue(ReadGraphCurve(file), x);
}

double LookupGraph2D(const std::filesystem::path& file, double x, double p) {
  return FamilyValue(ReadGraphFamily(file), x, p);
}

TGraphReading LookupGraph1DReading(const std::filesystem::path& file, double x) {
  return ReadCurve(ReadGraphCurve(file), x);
}

TGraphReading LookupGraph2DReading(const std::filesystem::path& file, double x, double p) {
  return ReadFamily(ReadGraphFamily(file), x, p);
}
