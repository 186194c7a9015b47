#include "ProjectSummary.h"

#include <cmath>
#include <numbers>
#include <sstream>

#include "CalcInputCheckUnit.h"
#include "NumberFormatUnit.h"

namespace {

constexpr double Deg = 180 / std::numbers::pi;

// A value of the summary; one that is not a number stops the summary naming its field, so
// that "nan" or "inf" never appears as if it were data.
std::string g(double value, const std::string& field, int digits = 0) {
  if (!std::isfinite(value))
    throw EVexaInputError("Проект содержит недопустимое значение: " + field + " = " + ShownValue(value, ""));
  return digits > 0 ? FormatSignificant(value, digits) : FormatGeneral(value);
}

void material(std::ostringstream& out, const char* role, const TSteelElem& m) {
  out << "  " << role << ": " << (m.SteelName.empty() ? "(нет)" : m.SteelName);
  if (m.Descriptor <= 2) out << " [" << SteelClassNames[m.Descriptor] << "]";
  out << "  σв " << g(m.SgmV, "SgmV") << ", σт " << g(m.SgmT, "SgmT") << ", σ-1 " << g(m.Sgm_1, "Sgm_1") << ", τ-1 "
      << g(m.Tau_1, "Tau_1") << " МПа; ρ " << g(m.Ro, "Ro") << " кг/м3; E " << g(m.E, "E") << " МПа; μ "
      << g(m.Mu, "Mu") << "\n";
}

const char* yesNo(bool value) { return value ? "да" : "нет"; }

}  // namespace

std::string ProjectSummary(const TEngineDataStruct& d) {
  std::ostringstream out;
  out << "Проект: " << d.ProjectName << "\n";
  out << "Компоновка: " << int(d.NSec) << " секций x " << int(d.NRad) << " рядов = " << d.NCyl() << " цилиндров, "
      << (d.Disposition == 1 ? "прицепные шатуны" : "рядом сидящие шатуны") << ", частота вращения " << g(d.N, "N")
      << " об/мин\n";
  for (int r = 1; r <= d.NRad; ++r)
    out << "  ряд " << r << ": шатун l " << g(d.ConRodL[r], "ConRodL") << " м, gamma1 "
        << g(d.ConRodGamma1[r] * Deg, "ConRodGamma1") << " град, r1 " << g(d.ConRodR1[r], "ConRodR1") << " м, Mpd "
        << g(d.Mpd[r], "Mpd") << " кг/м2, M2 " << g(d.M2[r], "M2") << " кг/м2\n";
  out << "Углы вспышек, град (секция: ряды; * = цилиндр отключён):\n";
  for (int s = 1; s <= d.NSec; ++s) {
    out << "  " << s << ":";
    for (int r = 1; r <= d.NRad; ++r)
      out << " " << g(d.FireAngle[s][r] * Deg, "FireAngle", 5) << (d.CylEnabled[s][r] ? "" : "*");
    out << "\n";
  }
  out << "Колено: D " << g(d.D, "D") << ", R " << g(d.R, "R") << ", L0 " << g(d.L0, "L0") << ", коренная шейка "
      << g(d.DkSh, "DkSh") << "/" << g(d.DkSb, "DkSb") << ", шатунная шейка " << g(d.DsSh, "DsSh") << "/"
      << g(d.DsSb, "DsSb") << ", щека H " << g(d.H, "H") << " x B " << g(d.B, "B") << ", галтели "
      << g(d.RgalK, "RgalK") << "/" << g(d.RgalS, "RgalS") << ", L5 " << g(d.L5, "L5") << ", дезаксиал "
      << g(d.Dezax, "Dezax") << " м\n";
  out << "Производные: площадь поршня " << g(d.PistonArea(), "площадь поршня", 5) << " м2, длина шатунной шейки "
      << g(d.PinLength(), "длина шатунной шейки", 5) << " м, ход поршня "
      << g(d.CylStroke(1), "ход поршня (по R, l и дезаксиалу a)", 5) << " м\n";
  out << "Щеки и противовесы (щека: Msh Rsh | Mpr Rpr AlphaPr FiPr):\n";
  for (int w = 1; w <= d.NWebs(); ++w)
    out << "  " << w << ": " << g(d.Msh[w], "Msh") << " " << g(d.Rsh[w], "Rsh") << " | " << g(d.Mpr[w], "Mpr") << " "
        << g(d.Rpr[w], "Rpr") << " " << g(d.AlphaPr[w] * Deg, "AlphaPr", 5) << " " << g(d.FiPr[w], "FiPr") << "\n";
  out << "Податливость опор (Py Px м/Н, Pmx Pmy рад/Нм):\n";
  for (int j = 1; j <= d.NSupports(); ++j)
    out << "  " << j << ": " << g(d.Py[j], "Py") << " " << g(d.Px[j], "Px") << " " << g(d.Pmx[j], "Pmx") << " "
        << g(d.Pmy[j], "Pmy") << "\n";
  out << "Материалы:\n";
  material(out, "вал", d.ValSteel);
  material(out, "противовесы", d.ProtSteel);
  out << "Индикаторная диаграмма: "
      << (d.IDSource == 1 ? "файл \"" + d.IDFileName + "\"" : std::string("программа рабочего процесса")) << "\n";
  out << "Рабочий процесс: " << (d.Qin.Tau == 0 ? "четырёх" : "двух") << "тактный, e " << g(d.Qin.E, "E") << ", n "
      << g(d.Qin.N, "N") << " об/мин, наддув " << g(d.Qin.PK, "PK") << " МПа, топливо " << g(d.Qin.QC, "QC")
      << " кг/цикл\n";
  out << "Коэффициенты концентрации: " << (d.CoeffsCalcRadio == 0 ? "по графикам (По Лейкину)" : "вручную") << "\n";
  out << "Крутильная модель: " << d.NMass << " масс, первая масса колена " << d.NFirstMass << ", " << d.NGarm
      << " гармоник, диапазон частот вращения " << g(d.nMin, "nMin") << "..." << g(d.nMax, "nMax")
      << " об/мин, демпфер " << yesNo(d.Damper) << "\n";
  out << "Расчёты: прочность " << yesNo(d.CalcDynamicFlag) << ", крутильные колебания " << yesNo(d.CalcOscillFlag)
      << ", на резонансных режимах " << yesNo(d.CalcCombFlag) << "\n";
  return out.str();
}
