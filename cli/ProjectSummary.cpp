#include "ProjectSummary.h"

#include <numbers>
#include <sstream>

#include "NumberFormatUnit.h"

namespace {

constexpr double Deg = 180 / std::numbers::pi;

std::string g(double value) { return FormatGeneral(value); }

void material(std::ostringstream& out, const char* role, const TSteelElem& m) {
  out << "  " << role << ": " << (m.SteelName.empty() ? "(нет)" : m.SteelName);
  if (m.Descriptor <= 2) out << " [" << SteelClassNames[m.Descriptor] << "]";
  out << "  σв " << g(m.SgmV) << ", σт " << g(m.SgmT) << ", σ-1 " << g(m.Sgm_1) << ", τ-1 " << g(m.Tau_1)
      << " МПа; ρ " << g(m.Ro) << " кг/м3; E " << g(m.E) << " МПа; μ " << g(m.Mu) << "\n";
}

const char* yesNo(bool value) { return value ? "да" : "нет"; }

}  // namespace

std::string ProjectSummary(const TEngineDataStruct& d) {
  std::ostringstream out;
  out << "Проект: " << d.ProjectName << "\n";
  out << "Компоновка: " << int(d.NSec) << " секций x " << int(d.NRad) << " рядов = " << d.NCyl() << " цилиндров, "
      << (d.Disposition == 1 ? "прицепные шатуны" : "рядом сидящие шатуны") << ", частота вращения " << g(d.N)
      << " об/мин\n";
  for (int r = 1; r <= d.NRad; ++r)
    out << "  ряд " << r << ": шатун l " << g(d.ConRodL[r]) << " м, gamma1 " << g(d.ConRodGamma1[r] * Deg)
        << " град, r1 " << g(d.ConRodR1[r]) << " м, Mpd " << g(d.Mpd[r]) << " кг/м2, M2 " << g(d.M2[r])
        << " кг/м2\n";
  out << "Углы вспышек, град (секция: ряды; * = цилиндр отключён):\n";
  for (int s = 1; s <= d.NSec; ++s) {
    out << "  " << s << ":";
    for (int r = 1; r <= d.NRad; ++r)
      out << " " << FormatSignificant(d.FireAngle[s][r] * Deg, 5) << (d.CylEnabled[s][r] ? "" : "*");
    out << "\n";
  }
  out << "Колено: D " << g(d.D) << ", R " << g(d.R) << ", L0 " << g(d.L0) << ", коренная шейка " << g(d.DkSh) << "/"
      << g(d.DkSb) << ", шатунная шейка " << g(d.DsSh) << "/" << g(d.DsSb) << ", щека H " << g(d.H) << " x B "
      << g(d.B) << ", галтели " << g(d.RgalK) << "/" << g(d.RgalS) << ", L5 " << g(d.L5) << ", дезаксиал "
      << g(d.Dezax) << " м\n";
  out << "Производные: площадь поршня " << FormatSignificant(d.PistonArea(), 5) << " м2, длина шатунной шейки "
      << FormatSignificant(d.PinLength(), 5) << " м, ход поршня " << FormatSignificant(d.CylStroke(1), 5) << " м\n";
  out << "Щеки и противовесы (щека: Msh Rsh | Mpr Rpr AlphaPr FiPr):\n";
  for (int w = 1; w <= d.NWebs(); ++w)
    out << "  " << w << ": " << g(d.Msh[w]) << " " << g(d.Rsh[w]) << " | " << g(d.Mpr[w]) << " " << g(d.Rpr[w])
        << " " << FormatSignificant(d.AlphaPr[w] * Deg, 5) << " " << g(d.FiPr[w]) << "\n";
  out << "Податливость опор (Py Px м/Н, Pmx Pmy рад/Нм):\n";
  for (int j = 1; j <= d.NSupports(); ++j)
    out << "  " << j << ": " << g(d.Py[j]) << " " << g(d.Px[j]) << " " << g(d.Pmx[j]) << " " << g(d.Pmy[j]) << "\n";
  out << "Материалы:\n";
  material(out, "вал", d.ValSteel);
  material(out, "противовесы", d.ProtSteel);
  out << "Индикаторная диаграмма: "
      << (d.IDSource == 1 ? "файл \"" + d.IDFileName + "\"" : std::string("программа рабочего процесса")) << "\n";
  out << "Рабочий процесс: " << (d.Qin.Tau == 0 ? "четырёх" : "двух") << "тактный, e " << g(d.Qin.E) << ", n "
      << g(d.Qin.N) << " об/мин, наддув " << g(d.Qin.PK) << " МПа, топливо " << g(d.Qin.QC) << " кг/цикл\n";
  out << "Коэффициенты концентрации: " << (d.CoeffsCalcRadio == 0 ? "по графикам (По Лейкину)" : "вручную") << "\n";
  out << "Крутильная модель: " << d.NMass << " масс, первая масса колена " << d.NFirstMass << ", " << d.NGarm
      << " гармоник, диапазон частот вращения " << g(d.nMin) << "..." << g(d.nMax) << " об/мин, демпфер "
      << yesNo(d.Damper) << "\n";
  out << "Расчёты: прочность " << yesNo(d.CalcDynamicFlag) << ", крутильные колебания " << yesNo(d.CalcOscillFlag)
      << ", на резонансных режимах " << yesNo(d.CalcCombFlag) << "\n";
  return out.str();
}
