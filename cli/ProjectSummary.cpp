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
  out << "  " << role << ": " << (m.SteelName.empty() ? "(none)" : m.SteelName);
  if (m.Descriptor <= 2) out << " [" << SteelClassNames[m.Descriptor] << "]";
  out << "  σв " << g(m.SgmV, "SgmV") << ", σт " << g(m.SgmT, "SgmT") << ", σ-1 " << g(m.Sgm_1, "Sgm_1") << ", τ-1 "
      << g(m.Tau_1, "Tau_1") << " MPa; ρ " << g(m.Ro, "Ro") << " kg/m3; E " << g(m.E, "E") << " MPa; μ "
      << g(m.Mu, "Mu") << "\n";
}

}  // namespace

std::string ProjectSummary(const TEngineDataStruct& d) {
  std::ostringstream out;
  out << "Project: " << d.ProjectName << "\n";
  out << "Layout: " << int(d.NSec) << " sections x " << int(d.NRad) << " rows = " << d.NCyl() << " cylinders, "
      << (d.Disposition == 1 ? "articulated rods" : "side-by-side rods") << ", speed " << g(d.N, "N") << " rpm\n";
  for (int r = 1; r <= d.NRad; ++r)
    out << "  row " << r << ": rod l " << g(d.ConRodL[r], "ConRodL") << " m, gamma1 "
        << g(d.ConRodGamma1[r] * Deg, "ConRodGamma1") << " deg, r1 " << g(d.ConRodR1[r], "ConRodR1") << " m, Mpd "
        << g(d.Mpd[r], "Mpd") << " kg/m2, M2 " << g(d.M2[r], "M2") << " kg/m2\n";
  out << "Firing angles, deg (section: rows; * = cut out):\n";
  for (int s = 1; s <= d.NSec; ++s) {
    out << "  " << s << ":";
    for (int r = 1; r <= d.NRad; ++r)
      out << " " << g(d.FireAngle[s][r] * Deg, "FireAngle", 5) << (d.CylEnabled[s][r] ? "" : "*");
    out << "\n";
  }
  out << "Throw: D " << g(d.D, "D") << ", R " << g(d.R, "R") << ", L0 " << g(d.L0, "L0") << ", journal "
      << g(d.DkSh, "DkSh") << "/" << g(d.DkSb, "DkSb") << ", pin " << g(d.DsSh, "DsSh") << "/" << g(d.DsSb, "DsSb")
      << ", web H " << g(d.H, "H") << " x B " << g(d.B, "B") << ", fillets " << g(d.RgalK, "RgalK") << "/"
      << g(d.RgalS, "RgalS") << ", L5 " << g(d.L5, "L5") << ", desaxial " << g(d.Dezax, "Dezax") << " m\n";
  out << "Derived: piston area " << g(d.PistonArea(), "площадь поршня", 5) << " m2, pin length "
      << g(d.PinLength(), "длина шатунной шейки", 5) << " m, stroke "
      << g(d.CylStroke(1), "ход поршня (по R, l и дезаксиалу a)", 5) << " m\n";
  out << "Webs and counterweights (web: Msh Rsh | Mpr Rpr AlphaPr FiPr):\n";
  for (int w = 1; w <= d.NWebs(); ++w)
    out << "  " << w << ": " << g(d.Msh[w], "Msh") << " " << g(d.Rsh[w], "Rsh") << " | " << g(d.Mpr[w], "Mpr") << " "
        << g(d.Rpr[w], "Rpr") << " " << g(d.AlphaPr[w] * Deg, "AlphaPr", 5) << " " << g(d.FiPr[w], "FiPr") << "\n";
  out << "Supports (Py Px m/N, Pmx Pmy rad/Nm):\n";
  for (int j = 1; j <= d.NSupports(); ++j)
    out << "  " << j << ": " << g(d.Py[j], "Py") << " " << g(d.Px[j], "Px") << " " << g(d.Pmx[j], "Pmx") << " "
        << g(d.Pmy[j], "Pmy") << "\n";
  out << "Materials:\n";
  material(out, "shaft", d.ValSteel);
  material(out, "counterweights", d.ProtSteel);
  out << "Indicator diagram: "
      << (d.IDSource == 1 ? "file \"" + d.IDFileName + "\"" : std::string("working-process program")) << "\n";
  out << "Working process: " << (d.Qin.Tau == 0 ? "four" : "two") << "-stroke, e " << g(d.Qin.E, "E") << ", n "
      << g(d.Qin.N, "N") << " rpm, boost " << g(d.Qin.PK, "PK") << " MPa, fuel " << g(d.Qin.QC, "QC") << " kg/cycle\n";
  out << "Concentration coefficients: " << (d.CoeffsCalcRadio == 0 ? "from the design graphs" : "entered by hand")
      << "\n";
  out << "Torsional model: " << d.NMass << " masses, first crank mass " << d.NFirstMass << ", " << d.NGarm
      << " harmonics, speed range " << g(d.nMin, "nMin") << "..." << g(d.nMax, "nMax") << " rpm, damper "
      << (d.Damper ? "yes" : "no") << "\n";
  out << "Calculations: strength " << (d.CalcDynamicFlag ? "yes" : "no") << ", torsional "
      << (d.CalcOscillFlag ? "yes" : "no") << ", at resonances " << (d.CalcCombFlag ? "yes" : "no") << "\n";
  return out.str();
}
