#include "ProjectSummary.h"

#include <numbers>
#include <sstream>

#include "NumberFormatUnit.h"

namespace {

constexpr double Deg = 180 / std::numbers::pi;

std::string g(double value) { return FormatGeneral(value); }

void material(std::ostringstream& out, const char* role, const TSteelElem& m) {
  out << "  " << role << ": " << (m.SteelName.empty() ? "(none)" : m.SteelName);
  if (m.Descriptor <= 2) out << " [" << SteelClassNames[m.Descriptor] << "]";
  out << "  σв " << g(m.SgmV) << ", σт " << g(m.SgmT) << ", σ-1 " << g(m.Sgm_1) << ", τ-1 " << g(m.Tau_1)
      << " MPa; ρ " << g(m.Ro) << " kg/m3; E " << g(m.E) << " MPa; μ " << g(m.Mu) << "\n";
}

}  // namespace

std::string ProjectSummary(const TEngineDataStruct& d) {
  std::ostringstream out;
  out << "Project: " << d.ProjectName << "\n";
  out << "Layout: " << int(d.NSec) << " sections x " << int(d.NRad) << " rows = " << d.NCyl() << " cylinders, "
      << (d.Disposition == 1 ? "articulated rods" : "side-by-side rods") << ", speed " << g(d.N) << " rpm\n";
  for (int r = 1; r <= d.NRad; ++r)
    out << "  row " << r << ": rod l " << g(d.ConRodL[r]) << " m, gamma1 " << g(d.ConRodGamma1[r] * Deg)
        << " deg, r1 " << g(d.ConRodR1[r]) << " m, Mpd " << g(d.Mpd[r]) << " kg/m2, M2 " << g(d.M2[r])
        << " kg/m2\n";
  out << "Firing angles, deg (section: rows; * = cut out):\n";
  for (int s = 1; s <= d.NSec; ++s) {
    out << "  " << s << ":";
    for (int r = 1; r <= d.NRad; ++r)
      out << " " << FormatSignificant(d.FireAngle[s][r] * Deg, 5) << (d.CylEnabled[s][r] ? "" : "*");
    out << "\n";
  }
  out << "Throw: D " << g(d.D) << ", R " << g(d.R) << ", L0 " << g(d.L0) << ", journal " << g(d.DkSh) << "/"
      << g(d.DkSb) << ", pin " << g(d.DsSh) << "/" << g(d.DsSb) << ", web H " << g(d.H) << " x B " << g(d.B)
      << ", fillets " << g(d.RgalK) << "/" << g(d.RgalS) << ", L5 " << g(d.L5) << ", desaxial " << g(d.Dezax)
      << " m\n";
  out << "Derived: piston area " << FormatSignificant(d.PistonArea(), 5) << " m2, pin length "
      << FormatSignificant(d.PinLength(), 5) << " m, stroke " << FormatSignificant(d.CylStroke(1), 5) << " m\n";
  out << "Webs and counterweights (web: Msh Rsh | Mpr Rpr AlphaPr FiPr):\n";
  for (int w = 1; w <= d.NWebs(); ++w)
    out << "  " << w << ": " << g(d.Msh[w]) << " " << g(d.Rsh[w]) << " | " << g(d.Mpr[w]) << " " << g(d.Rpr[w])
        << " " << FormatSignificant(d.AlphaPr[w] * Deg, 5) << " " << g(d.FiPr[w]) << "\n";
  out << "Supports (Py Px m/N, Pmx Pmy rad/Nm):\n";
  for (int j = 1; j <= d.NSupports(); ++j)
    out << "  " << j << ": " << g(d.Py[j]) << " " << g(d.Px[j]) << " " << g(d.Pmx[j]) << " " << g(d.Pmy[j]) << "\n";
  out << "Materials:\n";
  material(out, "shaft", d.ValSteel);
  material(out, "counterweights", d.ProtSteel);
  out << "Indicator diagram: "
      << (d.IDSource == 1 ? "file \"" + d.IDFileName + "\"" : std::string("working-process program")) << "\n";
  out << "Working process: " << (d.Qin.Tau == 0 ? "four" : "two") << "-stroke, e " << g(d.Qin.E) << ", n "
      << g(d.Qin.N) << " rpm, boost " << g(d.Qin.PK) << " MPa, fuel " << g(d.Qin.QC) << " kg/cycle\n";
  out << "Concentration coefficients: "
      << (d.CoeffsCalcRadio == 0 ? "from the design graphs" : "entered by hand") << "\n";
  out << "Torsional model: " << d.NMass << " masses, first crank mass " << d.NFirstMass << ", " << d.NGarm
      << " harmonics, speed range " << g(d.nMin) << "..." << g(d.nMax) << " rpm, damper "
      << (d.Damper ? "yes" : "no") << "\n";
  out << "Calculations: strength " << (d.CalcDynamicFlag ? "yes" : "no") << ", torsional "
      << (d.CalcOscillFlag ? "yes" : "no") << ", at resonances " << (d.CalcCombFlag ? "yes" : "no") << "\n";
  return out.str();
}
