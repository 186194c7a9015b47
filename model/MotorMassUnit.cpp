#include "MotorMassUnit.h"

#include <cmath>
#include <numbers>

#include "FloatCheckUnit.h"
#include "MessageTextUnit.h"
#include "NumberFormatUnit.h"

namespace {

constexpr double Pi = std::numbers::pi;

// The inputs a refusal can name.
const TInputName RefusedInputs[] = {
    {"R", "радиус кривошипа", "м"},
    {"L5", "расстояние до галтели щеки", "м"},
    {"L0", "длина колена", "м"},
    {"B", "толщина щеки", "м"},
    {"H", "ширина щеки", "м"},
    {"DsSh", "наружный диаметр шатунной шейки", "м"},
    {"DsSb", "внутренний диаметр шатунной шейки", "м"},
    {"DkSh", "наружный диаметр коренной шейки", "м"},
    {"DkSb", "внутренний диаметр коренной шейки", "м"},
    {"E", "модуль упругости материала вала", "МПа"},
    {"Mu", "коэффициент Пуассона материала вала", ""},
    {"J", "момент инерции колена", "кг·м2"},
    {"Cs", "жёсткость колена", "кН·м/рад"},
};

void requirePositive(const char* input, double value) {
  if (!(value > 0) || !std::isfinite(value)) throw EMotorMassInputError(input, value);
}

void requireBore(const char* bore, double value, double outer, const char* outerName) {
  if (!(value >= 0) || !(value < outer))
    throw EMotorMassInputError(bore, value, std::string("не меньше нуля и меньше ") + outerName + " = " + FormatGeneral(outer) + " м");
}

double pow4(double x) { return x * x * x * x; }

}  // namespace

EMotorMassInputError::EMotorMassInputError(const std::string& input, double value, const std::string& requirement)
    : std::invalid_argument("Расчёт моторных масс невозможен: " + InputValueText(RefusedInputs, input, value) +
                            ", а эта величина должна быть " + (requirement.empty() ? "больше нуля" : requirement)),
      Input(input),
      Value(value) {}

namespace MotorMass {

double RoundThreeDigits(double x) {
  const int t = static_cast<int>(std::trunc(std::log10(x)));
  const int k = t - 2;
  // Whole powers of ten are exact, so a negative step multiplies by 10^-k instead of dividing by
  // an inexact 10^k: 12.345 becomes 12.3, not 12.300000000000001.
  if (k >= 0) {
    const double step = std::pow(10.0, k);
    return std::nearbyint(x / step) * step;
  }
  const double scale = std::pow(10.0, -k);
  return std::nearbyint(x * scale) / scale;
}

TThrow Compute(const TEngineDataStruct& d) {
  // Every denominator, root and logarithm below is checked first.
  requirePositive("R", d.R);
  requirePositive("L5", d.L5);
  requirePositive("B", d.B);
  requirePositive("H", d.H);
  requirePositive("DsSh", d.DsSh);
  requireBore("DsSb", d.DsSb, d.DsSh, "DsSh");
  requirePositive("DkSh", d.DkSh);
  requireBore("DkSb", d.DkSb, d.DkSh, "DkSh");
  const double pinLength = d.L0 - 2 * (d.L5 + d.RgalK + d.B);  // m
  if (!(pinLength > 0))
    throw EMotorMassInputError("L0", d.L0, "больше 2·(L5 + RgalK + B) = " + FormatGeneral(2 * (d.L5 + d.RgalK + d.B)) + " м");
  requirePositive("E", d.ValSteel.E);
  if (!(d.ValSteel.Mu > -1)) throw EMotorMassInputError("Mu", d.ValSteel.Mu, "больше -1");

  ClearFloatFlags();
  const double rho = d.ValSteel.Ro;  // kg/m³
  const double pistonArea = Pi * d.D * d.D / 4;
  const double journalJp = PolarMoment(d.DkSb, d.DkSh);  // m⁴
  const double pinJp = PolarMoment(d.DsSb, d.DsSh);
  const double pinArea = RingArea(d.DsSb, d.DsSh);
  const double R2 = d.R * d.R;

  // Crankpin about its own axis and, by the parallel axes, about the shaft; the main journal of
  // the throw; per row half the reciprocating mass and all the rotating rod mass at the radius.
  double J = rho * pinLength * pinJp + R2 * rho * pinLength * pinArea + rho * journalJp * (d.L5 + d.RgalK);
  for (int r = 1; r <= d.NRad; ++r) J += 0.5 * d.Mpd[r] * pistonArea * R2 + d.M2[r] * pistonArea * R2;

  // Reduced length: the journals, the webs in bending, the crankpin scaled to the journal section
  // and the webs in torsion, each as a length of main journal.
  const double journal4 = pow4(d.DkSh) - pow4(d.DkSb);
  const double pin4 = pow4(d.DsSh) - pow4(d.DsSb);
  const double L = 2 * d.L5 + 0.6 * d.B * d.DkSh / (2 * d.L5) +
                   journal4 / pin4 * (0.8 * pinLength + 0.2 * d.H * d.DkSh / d.R) +
                   journal4 * d.R * std::sqrt(d.R / d.DsSh) / (d.B * d.H * d.H * d.H);
  const double G = d.ValSteel.ShearModulus();  // MPa
  const double Cs = G * journalJp / L * 1e6 / 1000;  // Pa·m⁴/m → kN·m/rad
  CheckFloatFlags("Моторные массы", "момент инерции и жёсткость колена");
  requirePositive("J", J);
  requirePositive("Cs", Cs);

  TThrow result;
  result.J = RoundThreeDigits(J);
  result.Cs = RoundThreeDigits(Cs);
  result.ReducedLength = L;
  return result;
}

void Fill(const TEngineDataStruct& d, TReal1DArray& IMass, TReal2DArray& CMatrix) {
  const int first = d.NFirstMass, last = d.NFirstMass + d.NSec - 1;  // 1-based
  const auto fits = [&](int mass) {
    const auto m = static_cast<std::size_t>(mass);
    if (IMass.size() < m || CMatrix.size() < m) return false;
    for (const auto& row : CMatrix)
      if (row.size() < m) return false;
    return true;
  };
  if (first < 1 || d.NSec < 1 || !fits(last))
    throw std::invalid_argument("Моторные массы с " + std::to_string(first) + " по " + std::to_string(last) +
                                " не помещаются в таблицы крутильной модели");
  const TThrow throwValues = Compute(d);
  for (int i = first; i < last; ++i) {
    const auto k = static_cast<std::size_t>(i);
    CMatrix[k][k - 1] = throwValues.Cs;  // the grid cell of column i+1, row i
    CMatrix[k - 1][k] = throwValues.Cs;
  }
  for (int j = first; j <= last; ++j) IMass[static_cast<std::size_t>(j - 1)] = throwValues.J;
}

void Fill(TEngineDataStruct& data) { Fill(data, data.IMass, data.CMatrix); }

}  // namespace MotorMass
