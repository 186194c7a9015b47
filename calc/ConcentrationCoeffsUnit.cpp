#include "ConcentrationCoeffsUnit.h"

#include "FloatCheckUnit.h"
#include "GraphFileUnit.h"
#include "MessageTextUnit.h"
#include "NumberFormatUnit.h"

namespace {

const char* const Stage = "Коэффициенты концентрации";

// The inputs a refusal can name.
const TInputName RefusedInputs[] = {
    {"B", "толщина щеки", "м"},
    {"CoeffB", "коэффициент cB толщины щеки эквивалентного колена", ""},
    {"DsSh", "наружный диаметр шатунной шейки", "м"},
    {"DkSh", "наружный диаметр коренной шейки", "м"},
    {"SgmV", "предел прочности материала вала", "МПа"},
    {"W_W0_sgm_K", "отношение моментов сопротивления коренной шейки с масляным отверстием при изгибе", ""},
    {"W_W0_tau_K", "отношение моментов сопротивления коренной шейки с масляным отверстием при кручении", ""},
    {"W_W0_sgm_S", "отношение моментов сопротивления шатунной шейки с масляным отверстием при изгибе", ""},
    {"W_W0_tau_S", "отношение моментов сопротивления шатунной шейки с масляным отверстием при кручении", ""},
};

void requirePositive(const char* input, double value) {
  if (!(value > 0)) throw EConcentrationInputError(input, value);
}

// Effective coefficient K = 1 + q·(α − 1).
double effective(double alpha, double q, const char* quantity) {
  const double k = (alpha - 1) * q + 1;
  RequireFinite(k, Stage, quantity);
  return k;
}

// Reads the design graphs of one calculation and keeps a note of every reading outside a
// graph's range.
class TGraphReader {
 public:
  explicit TGraphReader(const std::filesystem::path& dir) : dir_(dir) {}

  double Curve(const char* coefficient, const char* graph, TGraphArgument x) {
    const TGraphReading r = LookupGraph1DReading(dir_ / graph, x.Value);
    x.Min = r.XMin, x.Max = r.XMax;
    if (r.Extrapolated()) Notes.push_back({coefficient, graph, x, false, {}, true, false, r.Unclamped, r.Value});
    return r.Value;
  }

  double Family(const char* coefficient, const char* graph, TGraphArgument x, TGraphArgument p) {
    const TGraphReading r = LookupGraph2DReading(dir_ / graph, x.Value, p.Value);
    x.Min = r.XMin, x.Max = r.XMax;
    p.Min = r.PMin, p.Max = r.PMax;
    if (r.Extrapolated() || r.Zeroed)
      Notes.push_back({coefficient, graph, x, true, p, r.Extrapolated(), r.Zeroed, r.Unclamped, r.Value});
    return r.Value;
  }

  std::vector<TConcentrationNote> Notes;

 private:
  std::filesystem::path dir_;
};

// Steps that read the design graphs (mode "По Лейкину").
void computeFromGraphs(TEngineDataStruct& d, TGraphReader& g) {
  const double sgmVkgf = d.ValSteel.SgmV * 1.0197 / 10;  // kgf/mm², the unit of the graph
  const double yieldRatio = d.ValSteel.SgmT / d.ValSteel.SgmV;
  const double dK = 2 * d.RMaslK;  // oil-hole diameters, m
  const double dS = 2 * d.RMaslS;
  const double overlap = d.DkSh / 2 + d.DsSh / 2 - d.R;  // journal overlap Δ, m
  const TGraphArgument strength{"SgmV'", "кгс/мм²", sgmVkgf};
  const TGraphArgument yield{"SgmT/SgmV", "", yieldRatio};
  const TGraphArgument journalHole{"2·RMaslK/DkSh", "", dK / d.DkSh};
  const TGraphArgument journalBore{"DkSb/DkSh", "", d.DkSb / d.DkSh};
  const TGraphArgument pinHole{"2·RMaslS/DsSh", "", dS / d.DsSh};
  const TGraphArgument pinBore{"DsSb/DsSh", "", d.DsSb / d.DsSh};
  const TGraphArgument webWidth{"H/DsSh", "", d.H / d.DsSh};
  const TGraphArgument eccentricity{"E/DsSh", "", d.E / d.DsSh};
  const TGraphArgument overlapRatio{"(DkSh/2 + DsSh/2 − R)/DsSh", "", overlap / d.DsSh};
  const TGraphArgument webThickness{"B/DsSh", "", d.B / d.DsSh};

  // 1. Notch sensitivities; the radius in millimetres is the abscissa.
  const TGraphArgument filletRadius{"RgalS", "мм", d.RgalS * 1000};
  const TGraphArgument journalHoleRadius{"RMaslK", "мм", d.RMaslK * 1000};
  const TGraphArgument pinHoleRadius{"RMaslS", "мм", d.RMaslS * 1000};
  d.qSigmV_S = g.Family("qSigmV_S", "q(r, SgmV).kft", filletRadius, strength);
  d.qSigmT_SigmV_S = g.Family("qSigmT_SigmV_S", "q(r, SgmT_SgmV).kft", filletRadius, yield);
  d.qSigmV_M_K = g.Family("qSigmV_M_K", "q(r, SgmV).kft", journalHoleRadius, strength);
  d.qSigmT_SigmV_M_K = g.Family("qSigmT_SigmV_M_K", "q(r, SgmT_SgmV).kft", journalHoleRadius, yield);
  d.qSigmV_M_S = g.Family("qSigmV_M_S", "q(r, SgmV).kft", pinHoleRadius, strength);
  d.qSigmT_SigmV_M_S = g.Family("qSigmT_SigmV_M_S", "q(r, SgmT_SgmV).kft", pinHoleRadius, yield);

  // 2. Oil holes, on the net section (corrected in step 8).
  d.AlphaSgm_M_K = g.Curve("AlphaSgm_M_K", "AlphaSgm.kft", journalHole);
  d.AlphaTau_M_K = g.Family("AlphaTau_M_K", "AlphaTau.kft", journalHole, journalBore);
  d.AlphaSgm_M_S = g.Curve("AlphaSgm_M_S", "AlphaSgm.kft", pinHole);
  d.AlphaTau_M_S = g.Family("AlphaTau_M_S", "AlphaTau.kft", pinHole, pinBore);

  // 3. Crankpin fillet in bending (the coefficient relates to the web). The base factor is
  // the law of the crankpin fillet, so it is read at the crankpin's own fillet radius.
  d.AlphaSgmD0 = g.Curve("AlphaSgmD0", "KsgmD0.kft", {"RgalS/B", "", d.RgalS / d.B});
  d.BetSgmH = g.Curve("BetSgmH", "BetsgmH.kft", webWidth);
  d.BetSgmDvn = g.Curve("BetSgmDvn", "BetsgmDv.kft", pinBore);
  d.AlphaSgmE = g.Family("AlphaSgmE", "KsgmE.kft", eccentricity, pinBore);
  d.KsiSigmH = g.Curve("KsiSigmH", "KsiSigmH.kft", webWidth);
  d.BetSgmD1 = g.Family("BetSgmD1", "BetSgmD1.kft", overlapRatio, webThickness);
  d.BetSgmD = RoundGraphValue(1 - (1 - d.BetSgmD1) * d.KsiSigmH);
  d.BetSgmE = 1;
  d.AlphaSgm_G_S =
      RoundGraphValue(d.AlphaSgmD0 * d.BetSgmH * d.BetSgmDvn * d.AlphaSgmE * d.BetSgmE * d.BetSgmD);

  // 4. Crankpin fillet in torsion (the coefficient relates to the journal).
  d.AlphaTau0_S = g.Family("AlphaTau0_S", "Ktau0.kft", {"RgalS/DsSh", "", d.RgalS / d.DsSh}, pinBore);
  d.BetTauH_S = g.Curve("BetTauH_S", "BetTauH.kft", webWidth);
  d.BetTauB_S = g.Curve("BetTauB_S", "BetTauB.kft", webThickness);
  d.AlphaTauE_S = g.Family("AlphaTauE_S", "KtauE.kft", eccentricity, pinBore);
  d.BetTauD_S = g.Family("BetTauD_S", "BetTauD.kft", overlapRatio,
                         {"BetTauH_S·BetTauB_S", "", d.BetTauH_S * d.BetTauB_S});
  d.AlphaTau_G_S = RoundGraphValue(d.AlphaTau0_S * d.BetTauH_S * d.BetTauB_S * d.AlphaTauE_S * d.BetTauD_S);

  // 5. Scale factors over the diameter in metres, one curve per material class.
  const TGraphArgument materialClass{"класс материала", "", static_cast<double>(d.ValSteel.Descriptor)};
  const TGraphArgument pinDiameter{"DsSh", "м", d.DsSh};
  const TGraphArgument journalDiameter{"DkSh", "м", d.DkSh};
  d.Esgm_S = g.Family("Esgm_S", "Esgm.kft", pinDiameter, materialClass);
  d.Etau_S = g.Family("Etau_S", "Etau.kft", pinDiameter, materialClass);
  d.Etau_K = g.Family("Etau_K", "Etau.kft", journalDiameter, materialClass);
  d.Esgm_K = g.Family("Esgm_K", "Esgm.kft", journalDiameter, materialClass);

  // 6. Cycle asymmetry over the ultimate strength in MPa; one main journal more than throws.
  const TGraphArgument strengthMPa{"SgmV", "МПа", d.ValSteel.SgmV};
  d.PsiSgm = g.Curve("PsiSgm", "PsiSigm.kft", strengthMPa);
  d.PsiTau = g.Curve("PsiTau", "PsiTau.kft", strengthMPa);
  d.Nsh = d.NSec + 1;

  // 7. Net-to-gross section-modulus ratios at the oil holes: a bored journal has its own
  // family of curves over the bore ratio.
  if (d.DkSb != 0) {
    d.W_W0_tau_K = g.Family("W_W0_tau_K", "W_W0_tau.kft", journalHole, journalBore);
    d.W_W0_sgm_K = g.Family("W_W0_sgm_K", "W_W0_sgm.kft", journalHole, journalBore);
  } else {
    d.W_W0_tau_K = g.Curve("W_W0_tau_K", "W_W0_tau_solid.kft", journalHole);
    d.W_W0_sgm_K = g.Curve("W_W0_sgm_K", "W_W0_sgm_solid.kft", journalHole);
  }
  if (d.DsSb != 0) {
    d.W_W0_tau_S = g.Family("W_W0_tau_S", "W_W0_tau.kft", pinHole, pinBore);
    d.W_W0_sgm_S = g.Family("W_W0_sgm_S", "W_W0_sgm.kft", pinHole, pinBore);
  } else {
    d.W_W0_tau_S = g.Curve("W_W0_tau_S", "W_W0_tau_solid.kft", pinHole);
    d.W_W0_sgm_S = g.Curve("W_W0_sgm_S", "W_W0_sgm_solid.kft", pinHole);
  }
  d.ASTG_ASTG0 = g.Curve("ASTG_ASTG0", "ASTG_ASTG0.kft", {"GammaMasl", "град", d.GammaMasl});

  // 8. From the net to the gross section (which the stresses use) and the inclination of
  // the hole in torsion. A ratio of 0 means the graph was read far outside its range.
  requirePositive("W_W0_sgm_K", d.W_W0_sgm_K);
  requirePositive("W_W0_tau_K", d.W_W0_tau_K);
  requirePositive("W_W0_sgm_S", d.W_W0_sgm_S);
  requirePositive("W_W0_tau_S", d.W_W0_tau_S);
  d.AlphaSgm_M_K = d.AlphaSgm_M_K / d.W_W0_sgm_K;
  d.AlphaTau_M_K = d.AlphaTau_M_K / d.W_W0_tau_K * d.ASTG_ASTG0;
  d.AlphaSgm_M_S = d.AlphaSgm_M_S / d.W_W0_sgm_S;
  d.AlphaTau_M_S = d.AlphaTau_M_S / d.W_W0_tau_S * d.ASTG_ASTG0;
}

std::string ratioText(double numerator, double denominator) {
  if (!(denominator > 0)) return "нет (знаменатель не положителен)";
  return FormatSignificant(numerator / denominator, 5);
}

std::string valueText(double value) { return FormatSignificant(value, 6); }

}  // namespace

EConcentrationInputError::EConcentrationInputError(const std::string& input, double value)
    : std::invalid_argument("Расчёт коэффициентов концентрации невозможен: " +
                            InputValueText(RefusedInputs, input, value) + ", а эта величина должна быть больше нуля"),
      Input(input),
      Value(value) {}

std::vector<TConcentrationNote> CalcConcentrationCoeffs(TEngineDataStruct& d, const std::filesystem::path& graphDir) {
  // Denominators are checked before anything is stored, so a refused calculation leaves the
  // engine data as it was.
  TGraphReader graphs(graphDir);
  requirePositive("B", d.B);
  requirePositive("CoeffB", d.CoeffB);
  if (d.CoeffsCalcRadio == 0) {
    requirePositive("DsSh", d.DsSh);
    requirePositive("DkSh", d.DkSh);
    requirePositive("SgmV", d.ValSteel.SgmV);
    computeFromGraphs(d, graphs);
  }

  // 9. Sensitivity in bending: the mean of the two experimental values; in torsion the
  // value by the yield ratio.
  d.qSigm_S = (d.qSigmV_S + d.qSigmT_SigmV_S) / 2;
  d.qTau_S = d.qSigmT_SigmV_S;
  d.qSigm_M_K = (d.qSigmV_M_K + d.qSigmT_SigmV_M_K) / 2;
  d.qTau_M_K = d.qSigmT_SigmV_M_K;
  d.qSigm_M_S = (d.qSigmV_M_S + d.qSigmT_SigmV_M_S) / 2;
  d.qTau_M_S = d.qSigmT_SigmV_M_S;

  // 10. Effective coefficients.
  d.KSgm_M_K = effective(d.AlphaSgm_M_K, d.qSigm_M_K, "KSgm_M_K");
  d.KTau_M_K = effective(d.AlphaTau_M_K, d.qTau_M_K, "KTau_M_K");
  d.KSgm_M_S = effective(d.AlphaSgm_M_S, d.qSigm_M_S, "KSgm_M_S");
  d.KTau_M_S = effective(d.AlphaTau_M_S, d.qTau_M_S, "KTau_M_S");
  d.KSgm_G_S = effective(d.AlphaSgm_G_S, d.qSigm_S, "KSgm_G_S");
  d.KTau_G_S = effective(d.AlphaTau_G_S, d.qTau_S, "KTau_G_S");

  // 11–12. Dynamic amplification by the number of journals; torsion coefficient of the web
  // rectangle of the equivalent-stiffness throw.
  d.LamD = graphs.Curve("LamD", "LamD.kft", {"Nsh", "", d.Nsh});
  d.WebTorsionCoef =
      graphs.Curve("WebTorsionCoef", "Mu.kft", {"H·CoeffH/(B·CoeffB)", "", d.H * d.CoeffH / (d.B * d.CoeffB)});
  return graphs.Notes;
}

std::vector<TConcentrationNote> ConcentrationNotes(const TEngineDataStruct& data,
                                                   const std::filesystem::path& graphDir) {
  TEngineDataStruct copy = data;
  return CalcConcentrationCoeffs(copy, graphDir);
}

std::string ConcentrationNoteText(const TConcentrationNote& n) {
  auto withUnit = [](double value, const std::string& unit) {
    return FormatSignificant(value, 5) + (unit.empty() ? "" : " " + unit);
  };
  auto argument = [&withUnit](const TGraphArgument& a) {
    return a.Name + " = " + withUnit(a.Value, a.Unit) + " (график: " + FormatSignificant(a.Min, 5) + " … " +
           withUnit(a.Max, a.Unit) + ")";
  };
  std::string text = n.Coefficient + ": график \"" + n.Graph + "\" прочитан при " + argument(n.X);
  if (n.HasParameter) text += ", " + argument(n.P);
  text += ": ";
  if (n.Extrapolated) text += "экстраполяция за пределы графика";
  if (n.Zeroed)
    text += std::string(n.Extrapolated ? "; " : "") + "значение вне [0, 5] заменено на 0 (по линиям графика " +
            FormatSignificant(n.GraphValue, 5) + ")";
  else
    text += ", принято " + FormatSignificant(n.Value, 5);
  return text;
}

double HardeningFactor(const std::filesystem::path& graphDir, int strengthType) {
  return LookupGraph1D(graphDir / "Knu.kft", strengthType);
}

std::vector<std::string> FormatConcentrationCoeffs(const TEngineDataStruct& d) {
  std::vector<std::string> lines;
  auto heading = [&lines](const std::string& text) { lines.push_back(text); };
  auto entry = [&lines](const std::string& name, const std::string& text) {
    lines.push_back("  " + name + " = " + text);
  };
  auto field = [&entry](const char* name, double value) { entry(name, valueText(value)); };

  const double overlap = d.DkSh / 2 + d.DsSh / 2 - d.R;
  heading(std::string("Коэффициенты концентрации: ") +
          (d.CoeffsCalcRadio == 0 ? "По Лейкину (по графикам)" : "Вручную"));
  heading("Отношения исходных данных:");
  entry("RgalS, мм", valueText(d.RgalS * 1000));
  entry("RMaslK, мм", valueText(d.RMaslK * 1000));
  entry("RMaslS, мм", valueText(d.RMaslS * 1000));
  entry("SgmV', кгс/мм2", valueText(d.ValSteel.SgmV * 1.0197 / 10));
  entry("SgmT/SgmV", ratioText(d.ValSteel.SgmT, d.ValSteel.SgmV));
  entry("dK/DkSh", ratioText(2 * d.RMaslK, d.DkSh));
  entry("DkSb/DkSh", ratioText(d.DkSb, d.DkSh));
  entry("dS/DsSh", ratioText(2 * d.RMaslS, d.DsSh));
  entry("DsSb/DsSh", ratioText(d.DsSb, d.DsSh));
  entry("RgalS/B", ratioText(d.RgalS, d.B));
  entry("RgalS/DsSh", ratioText(d.RgalS, d.DsSh));
  entry("H/DsSh", ratioText(d.H, d.DsSh));
  entry("B/DsSh", ratioText(d.B, d.DsSh));
  entry("E/DsSh", ratioText(d.E, d.DsSh));
  entry("Delta/DsSh", ratioText(overlap, d.DsSh));
  entry("H*CoeffH/(B*CoeffB)", ratioText(d.H * d.CoeffH, d.B * d.CoeffB));
  entry("GammaMasl, град", valueText(d.GammaMasl));
  entry("Класс материала", std::to_string(d.ValSteel.Descriptor));

  heading("Коэфф-т усиления:");
  field("Nsh", d.Nsh);
  field("LamD", d.LamD);
  heading("Асимметрия цикла:");
  field("PsiSgm", d.PsiSgm);
  field("PsiTau", d.PsiTau);
  heading("Масштабные факторы:");
  field("Esgm_S", d.Esgm_S);
  field("Etau_S", d.Etau_S);
  field("Etau_K", d.Etau_K);
  field("Esgm_K", d.Esgm_K);
  heading("q в галтели ШШ:");
  field("qSigmV_S", d.qSigmV_S);
  field("qSigmT_SigmV_S", d.qSigmT_SigmV_S);
  field("qSigm_S", d.qSigm_S);
  field("qTau_S", d.qTau_S);
  heading("q на кромке масл. отв. КШ:");
  field("qSigmV_M_K", d.qSigmV_M_K);
  field("qSigmT_SigmV_M_K", d.qSigmT_SigmV_M_K);
  field("qSigm_M_K", d.qSigm_M_K);
  field("qTau_M_K", d.qTau_M_K);
  heading("q на кромке масл. отв. ШШ:");
  field("qSigmV_M_S", d.qSigmV_M_S);
  field("qSigmT_SigmV_M_S", d.qSigmT_SigmV_M_S);
  field("qSigm_M_S", d.qSigm_M_S);
  field("qTau_M_S", d.qTau_M_S);
  heading("В масл. отверстии КШ:");
  field("W_W0_sgm_K", d.W_W0_sgm_K);
  field("W_W0_tau_K", d.W_W0_tau_K);
  field("AlphaSgm_M_K", d.AlphaSgm_M_K);
  field("AlphaTau_M_K", d.AlphaTau_M_K);
  field("KSgm_M_K", d.KSgm_M_K);
  field("KTau_M_K", d.KTau_M_K);
  heading("В масл. отверстии ШШ:");
  field("W_W0_sgm_S", d.W_W0_sgm_S);
  field("W_W0_tau_S", d.W_W0_tau_S);
  field("AlphaSgm_M_S", d.AlphaSgm_M_S);
  field("AlphaTau_M_S", d.AlphaTau_M_S);
  field("KSgm_M_S", d.KSgm_M_S);
  field("KTau_M_S", d.KTau_M_S);
  field("ASTG_ASTG0", d.ASTG_ASTG0);
  heading("В галтели ШШ при изгибе:");
  field("AlphaSgmD0", d.AlphaSgmD0);
  field("BetSgmH", d.BetSgmH);
  field("BetSgmDvn", d.BetSgmDvn);
  field("AlphaSgmE", d.AlphaSgmE);
  field("BetSgmE", d.BetSgmE);
  field("BetSgmD1", d.BetSgmD1);
  field("KsiSigmH", d.KsiSigmH);
  field("BetSgmD", d.BetSgmD);
  field("AlphaSgm_G_S", d.AlphaSgm_G_S);
  field("KSgm_G_S", d.KSgm_G_S);
  heading("В галтели ШШ при кручении:");
  field("AlphaTau0_S", d.AlphaTau0_S);
  field("BetTauH_S", d.BetTauH_S);
  field("BetTauB_S", d.BetTauB_S);
  field("AlphaTauE_S", d.AlphaTauE_S);
  field("BetTauD_S", d.BetTauD_S);
  field("AlphaTau_G_S", d.AlphaTau_G_S);
  field("KTau_G_S", d.KTau_G_S);
  heading("Технология упрочнения:");
  entry("StrengthType", std::to_string(d.StrengthType));
  field("Knu", d.Knu);
  heading("Щека:");
  field("WebTorsionCoef", d.WebTorsionCoef);
  return lines;
}
