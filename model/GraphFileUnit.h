// Design graphs: the ".kft" text tables of the strength coefficients (single curves y(x)
// and families of curves y(x) over a parameter p) and the two lookups that read them.
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>

#include "MyTypes.h"

// A graph file that is missing, unreadable or malformed. The message names the file and
// the line where reading stopped; the lookup that met it does not produce a value.
class EGraphFileError : public std::runtime_error {
 public:
  EGraphFileError(const std::filesystem::path& file, int line, const std::string& reason);

  std::filesystem::path FileName;
  int Line;            // 1-based line where reading stopped; 0 when the file could not be opened
  std::string Reason;
};

// A single curve: n + 1 points (x ascending).
struct TGraphCurve {
  TReal1DArray X;
  TReal1DArray Y;
};

// A family: curve j has parameter P[j] (ascending) and ordinates Y[j][i] at X[i].
struct TGraphFamily {
  TReal1DArray X;
  TReal1DArray P;
  TReal2DArray Y;
};

// The graph directory below the program's directory ("DataBase/Коэффициенты").
std::filesystem::path GraphDirectory(const std::filesystem::path& programDir);

// Reads a whole file. Line 1 is a title; then the counts (n, or n and m) and the numbers.
// Fewer than two points in a direction, abscissas or parameters that do not rise strictly,
// a number that does not parse, a real where an integer is expected, or fewer numbers than
// the counts announce raise EGraphFileError.
TGraphCurve ReadGraphCurve(const std::filesystem::path& file);
TGraphFamily ReadGraphFamily(const std::filesystem::path& file);
// The same for the text of a graph file; file only names it in messages.
TGraphCurve ParseGraphCurve(const std::string& text, const std::filesystem::path& file);
TGraphFamily ParseGraphFamily(const std::string& text, const std::filesystem::path& file);

// Straight line through (x0, y0) and (x1, y1), evaluated at x (also beyond the two points).
double Interpolate(double x, double y1, double y0, double x1, double x0);

// Interval of v among the ascending values a[0..k]: 0 below a[0]; otherwise the first i with
// a[i] <= v <= a[i+1] (a common point falls into the lower interval); k − 1 above a[k].
int FindGraphInterval(const TReal1DArray& a, double v);

// The nearest multiple of 0.0001, halves to even: every graph value carries four decimals.
double RoundGraphValue(double value);

// One reading of a graph with what it did beyond interpolation inside the table: an argument
// outside the table's range is extrapolated along the end interval, and a family value
// outside [0, 5] is replaced by 0. The ranges are those of the table (a curve has no P).
struct TGraphReading {
  double Value = 0;     // the value the lookup returns
  double Unclamped = 0; // a family's value before the replacement by 0, rounded
  double XMin = 0, XMax = 0;
  double PMin = 0, PMax = 0;
  bool XOutside = false;
  bool POutside = false;
  bool Zeroed = false;
  bool Extrapolated() const { return XOutside || POutside; }
};

// Value of a curve at x: linear inside, linear extrapolation outside (never clamped), rounded.
double CurveValue(const TGraphCurve& curve, double x);
TGraphReading ReadCurve(const TGraphCurve& curve, double x);
// Value of a family at (x, p): linear in x on the two neighbouring curves, then linear in p;
// a result above 5 or below 0 becomes 0; rounded.
double FamilyValue(const TGraphFamily& family, double x, double p);
TGraphReading ReadFamily(const TGraphFamily& family, double x, double p);

// Each lookup opens the file, reads it whole and closes it: nothing is cached, so an edited
// file takes effect at the next lookup.
double LookupGraph1D(const std::filesystem::path& file, double x);
double LookupGraph2D(const std::filesystem::path& file, double x, double p);
// The same lookups, telling also whether the graph was read outside its range.
TGraphReading LookupGraph1DReading(const std::filesystem::path& file, double x);
TGraphReading LookupGraph2DReading(const std::filesystem::path& file, double x, double p);
