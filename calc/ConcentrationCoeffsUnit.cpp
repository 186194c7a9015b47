#include "ConcentrationCoeffsUnit.h"

#include "FloatCheckUnit.h"
#include "GraphFileUnit.h"
#include "NumberFormatUnit.h"

namespace {

const char* const Stage = "Коэффициенты концентрации";

void requirePositive(const char* input, double value) {
  if (!(value > 0)) throw EConcentrationInputError(input, value);
}

// Effective coefficient K = 1 + q·(α − 1).
double effective(double alpha, double q, const char* quantity) {
  const double k = (alpha - 1) * q + 1;
  RequireFinite(k, Stage, quantity);
  return k;
}

// Steps that read the design graphs (mode "По Лейкину").
void computeFromGraphs(TEngineDataStruct& d, const std::filesystem::path& dir) {
  auto curve = [&dir](const char* name, double x) { return LookupGraph1D(dir / name, x); };
  auto family = [&dir](const char* name, double x, double p) { return LookupGraph2D(dir / name, x, p); };

  const double sgmVkgf = d.ValSteel.SgmV * 1.0197 / 10;  // kgf/mm², the unit of the graph
  const double yieldRatio = d.ValSteel.SgmT / d.ValSteel.SgmV;
  const double dK = 2 * d.RMaslK;  // oil-hole diameters, m
  const double dS = 2 * d.RMaslS;
  const double overlap = d.DkSh / 2 + d.DsSh / 2 - d.R;  // journal overlap Δ, m

  // 1. Notch sensitivities; the radius in millimetres is the abscissa.
  d.qSigmV_S = family("q(r, SgmV).kft", d.RgalS * 1000, sgmVkgf);
  d.qSigmT_SigmV_S = family("q(r, SgmT_SgmV).kft", d.RgalS * 1000, yieldRatio);
  d.qSigmV_M_K = family("q(r, SgmV).kft", d.RMaslK * 1000, sgmVkgf);
  d.qSigmT_SigmV_M_K = family("q(r, SgmT_SgmV).kft", d.RMaslK * 1000, yieldRatio);
  d.qSigmV_M_S = family("q(r, SgmV).kft", d.RMaslS * 1000, sgmVkgf);
  d.qSigmT_SigmV_M_S = family("q(r, SgmT_SgmV).kft", d.RMaslS * 1000, yieldRatio);

  // 2. Oil holes, on the net section (corrected in step 8).
  d.AlphaSgm_M_K = curve("AlphaSgm.kft", dK / d.DkSh);
  d.AlphaTau_M_K = family("AlphaTau.kft", dK / d.DkSh, d.DkSb / d.DkSh);
  d.AlphaSgm_M_S = curve("AlphaSgm.kft", dS / d.DsSh);
  d.AlphaTau_M_S = family("AlphaTau.kft", dS / d.DsSh, d.DsSb / d.DsSh);

  // 3. Crankpin fillet in bending (the coefficient relates to the web).
  d.AlphaSgmD0 = curve("KsgmD0.kft", d.RgalK / d.B);
  d.BetSgmH = curve("BetsgmH.kft", d.H / d.DsSh);
  d.BetSgmDvn = curve("BetsgmDv.kft", d.DsSb / d.DsSh);
  d.AlphaSgmE = family("KsgmE.kft", d.E / d.DsSh, d.DsSb / d.DsSh);
  d.KsiSigmH = curve("KsiSigmH.kft", d.H / d.DsSh);
  d.BetSgmD1 = family("BetSgmD1.kft", overlap / d.DsSh, d.B / d.DsSh);
  d.BetSgmD = RoundGraphValue(1 - (1 - d.BetSgmD1) * d.KsiSigmH);
  d.BetSgmE = 1;
  d.AlphaSgm_G_S =
      RoundGraphValue(d.AlphaSgmD0 * d.BetSgmH * d.BetSgmDvn * d.AlphaSgmE * d.BetSgmE * d.BetSgmD);

  // 4. Crankpin fillet in torsion (the coefficient relates to the journal).
  d.AlphaTau0_S = family("Ktau0.kft", d.RgalS / d.DsSh, d.DsSb / d.DsSh);
  d.BetTauH_S = curve("BetTauH.kft", d.H / d.DsSh);
  d.BetTauB_S = curve("BetTauB.kft", d.B / d.DsSh);
  d.AlphaTauE_S = family("KtauE.kft", d.E / d.DsSh, d.DsSb / d.DsSh);
  d.BetTauD_S = family("BetTauD.kft", overlap / d.DsSh, d.BetTauH_S * d.BetTauB_S);
  d.AlphaTau_G_S = RoundGraphValue(d.AlphaTau0_S * d.BetTauH_S * d.BetTauB_S * d.AlphaTauE_S * d.BetTauD_S);

  // 5. Scale factors over the diameter in metres, one curve per material class.
  const double materialClass = d.ValSteel.Descriptor;
  d.Esgm_S = family("Esgm.kft", d.DsSh, materialClass);
  d.Etau_S = family("Etau.kft", d.DsSh, materialClass);
  d.Etau_K = family("Etau.kft", d.DkSh, materialClass);
  d.Esgm_K = family("Esgm.kft", d.DkSh, materialClass);

  // 6. Cycle asymmetry over the ultimate strength in MPa; one main journal more than throws.
  d.PsiSgm = curve("PsiSigm.kft", d.ValSteel.SgmV);
  d.PsiTau = curve("PsiTau.kft", d.ValSteel.SgmV);
  d.Nsh = d.NSec + 1;

  // 7. Net-to-gross section-modulus ratios at the oil holes: a bored journal has its own
  // family of curves over the bore ratio.
  if (d.DkSb != 0) {
    d.W_W0_tau_K = family("W_W0_tau.kft", dK / d.DkSh, d.DkSb / d.DkSh);
    d.W_W0_sgm_K = family("W_W0_sgm.kft", dK / d.DkSh, d.DkSb / d.DkSh);
  } else {
    d.W_W0_tau_K = curve("W_W0_tau_solid.kft", dK / d.DkSh);
    d.W_W0_sgm_K = curve("W_W0_sgm_solid.kft", dK / d.DkSh);
  }
  if (d.DsSb != 0) {
    d.W_W0_tau_S = family("W_W0_tau.kft", dS / d.DsSh, d.DsSb / d.DsSh);
    d.W_W0_sgm_S = family("W_W0_sgm.kft", dS / d.DsSh, d.DsSb / d.DsSh);
  } else {
    d.W_W0_tau_S = curve("W_W0_tau_solid.kft", dS / d.DsSh);
    d.W_W0_sgm_S = curve("W_W0_sgm_solid.kft", dS / d.DsSh);
  }
  d.ASTG_ASTG0 = curve("ASTG_ASTG0.kft", d.GammaMasl);

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
    : std::invalid_argument("Расчёт коэффициентов концентрации невозможен: " + input + " = " +
                            FormatGeneral(value) + ", а эта величина должна быть больше нуля"),
      Input(input),
      Value(value) {}

void CalcConcentrationCoeffs(TEngineDataStruct& d, const std::filesystem::path& graphDir) {
  // Denominators are checked before anything is stored, so a refused calculation leaves the
  // engine data as it was.
  requirePositive("B", d.B);
  requirePositive("CoeffB", d.CoeffB);
  if (d.CoeffsCalcRadio == 0) {
    requirePositive("DsSh", d.DsSh);
    requirePositive("DkSh", d.DkSh);
    requirePositive("SgmV", d.ValSteel.SgmV);
    computeFromGraphs(d, graphDir);
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
  d.LamD = LookupGraph1D(graphDir / "LamD.kft", d.Nsh);
  d.WebTorsionCoef = LookupGraph1D(graphDir / "Mu.kft", d.H * d.CoeffH / (d.B * d.CoeffB));
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
  entry("RgalK/B", ratioText(d.RgalK, d.B));
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
