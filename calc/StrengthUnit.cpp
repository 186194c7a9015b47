#include "StrengthUnit.h"

#include <cmath>
#include <numbers>
#include <stdexcept>

#include "CrankUnit.h"
#include "DynamicCalcUnit.h"
#include "FloatCheckUnit.h"
#include "MessageTextUnit.h"
#include "NumberFormatUnit.h"

namespace {

constexpr double Pi = std::numbers::pi;
constexpr double PaPerMPa = 1e6;

// Unit of the value of an input a refusal names; the scale factors and the other
// coefficients have none.
std::string unitOf(const std::string& input) {
  if (input == "D" || input == "DkSh" || input == "DsSh" || input == "B" || input == "H") return "м";
  if (input == "PistonArea") return "м2";
  if (input == "JournalWp" || input == "JournalW" || input == "PinWp" || input == "PinW" || input == "WebW") return "м3";
  if (input == "Tau_1" || input == "Sgm_1") return "МПа";
  return "";
}

void requirePositive(int s, const char* input, const char* meaning, double value) {
  if (!(value > 0) || !std::isfinite(value)) throw EStrengthInputError(s, input, meaning, value);
}

// Amplitude and mean of a nominal stress, Pa.
struct TStress {
  double A = 0, M = 0;
};

TStress stressOf(const TArrayStats& moment, double sectionModulus) {
  return {moment.Amplitude / sectionModulus, moment.Mean / sectionModulus};
}

// Material and concentration data of one kind of stress at one place.
struct TFatigueData {
  double limit, K, eps, psi, lambda;
  double factor(const TStress& stress) const {
    return FatigueSafetyFactor(limit, stress.A, stress.M, K, eps, psi, lambda);
  }
};

}  // namespace

double FatigueSafetyFactor(double limit, double amplitude, double mean, double K, double eps, double psi,
                           double lambda) {
  if (amplitude == 0 && mean == 0) return UnlimitedSafetyFactor;
  return limit / ((K * amplitude / eps + psi * mean) * lambda);
}

double CombinedSafetyFactor(double nSigma, double nTau) {
  return nSigma * nTau / std::sqrt(nSigma * nSigma + nTau * nTau);
}

EStrengthInputError::EStrengthInputError(int throwNumber, const std::string& input, const std::string& meaning,
                                         double value)
    : std::invalid_argument("Расчёт прочности колена " + std::to_string(throwNumber) + " невозможен: " + meaning +
                            " " + input + " = " + ValueWithUnit(value, unitOf(input)) +
                            ", а эта величина должна быть больше нуля"),
      ThrowNumber(throwNumber),
      Input(input),
      Value(value) {}

void TCrank::ComputeStrength(int s) {
  const TEngineDataStruct& e = Calc.Engine;
  const TReal1DArray& grid = Calc.AngleGrid;
  const std::size_t steps = grid.size();

  // Every denominator is checked before anything of the throw changes, so a refused
  // calculation leaves no half-computed results behind.
  // Dimensions first, so that a missing one is named rather than the modulus it spoils.
  requirePositive(s, "D", "диаметр цилиндра", e.D);
  requirePositive(s, "DkSh", "наружный диаметр коренной шейки", e.DkSh);
  requirePositive(s, "DsSh", "наружный диаметр шатунной шейки", e.DsSh);
  requirePositive(s, "B", "толщина щеки", e.B);
  requirePositive(s, "H", "ширина щеки", e.H);
  const double Fp = e.PistonArea();
  const double journalWp = e.JournalWp(), journalW = e.JournalW();
  const double pinWp = e.PinWp(), pinW = e.PinW(), webW = e.WebW();
  requirePositive(s, "PistonArea", "площадь поршня", Fp);
  requirePositive(s, "JournalWp", "момент сопротивления коренной шейки кручению", journalWp);
  requirePositive(s, "JournalW", "момент сопротивления коренной шейки изгибу", journalW);
  requirePositive(s, "PinWp", "момент сопротивления шатунной шейки кручению", pinWp);
  requirePositive(s, "PinW", "момент сопротивления шатунной шейки изгибу", pinW);
  requirePositive(s, "WebW", "момент сопротивления щеки изгибу", webW);
  requirePositive(s, "Etau_K", "масштабный фактор коренной шейки при кручении", e.Etau_K);
  requirePositive(s, "Esgm_K", "масштабный фактор коренной шейки при изгибе", e.Esgm_K);
  requirePositive(s, "Etau_S", "масштабный фактор шатунной шейки при кручении", e.Etau_S);
  requirePositive(s, "Esgm_S", "масштабный фактор шатунной шейки при изгибе", e.Esgm_S);
  requirePositive(s, "Knu", "коэффициент упрочнения", e.Knu);
  requirePositive(s, "LamD", "коэффициент динамичности", e.LamD);
  requirePositive(s, "Tau_1", "предел выносливости материала вала при кручении", e.ValSteel.Tau_1);
  requirePositive(s, "Sgm_1", "предел выносливости материала вала при изгибе", e.ValSteel.Sgm_1);
  // The mean torque divides by the last step index.
  if (steps < 2) throw EStrengthInputError(s, "NPts - 1", "число интервалов сетки углов", static_cast<double>(steps) - 1);
  // The loads' arrays are made by ComputeLoads, which comes first.
  bool loaded = TSum.size() == steps && SplitMkks.size() == steps;
  for (const auto& cyl : Cylinders) loaded = loaded && cyl->SplitMZss.size() == steps && cyl->SplitMTss.size() == steps;
  if (!loaded) throw std::logic_error("the strengths of a throw need its loads");

  const std::string stage = "прочность колена " + std::to_string(s);
  ClearFloatFlags();

  // 1. Reactions and moments into the throw's own frame, which has turned by the grid angle
  // less the throw's firing angle; reactions per piston area in MPa.
  const double fire = e.FireAngle[s][1];
  const double phi = e.FiMasl * Pi / 180;  // oil hole to the crank plane
  const double cosPhi = std::cos(phi), sinPhi = std::sin(phi);
  const double perArea = Fp * PaPerMPa;
  double torqueSum = 0;
  for (std::size_t i = 0; i < steps; ++i) {
    const double a = grid[i] - fire;
    const double c = std::cos(a), sn = std::sin(a);
    T1[i] = (-c * X1[i] - sn * Y1[i]) / perArea;
    Z1[i] = (sn * X1[i] - c * Y1[i]) / perArea;
    T2[i] = (-c * X2[i] - sn * Y2[i]) / perArea;
    Z2[i] = (sn * X2[i] - c * Y2[i]) / perArea;
    for (const auto& cyl : Cylinders) {
      cyl->MTss[i] = c * cyl->MYss[i] - sn * cyl->MXss[i];
      cyl->MZss[i] = -c * cyl->MXss[i] - sn * cyl->MYss[i];
      // Bending in the plane of the oil hole, which lies at FiMasl to the crank plane.
      cyl->M0ss[i] = cosPhi * cyl->MZss[i] + sinPhi * cyl->MTss[i];
      cyl->SplitM0ss[i] = cosPhi * cyl->SplitMZss[i] + sinPhi * cyl->SplitMTss[i];
    }
    MT1[i] = c * MY1[i] - sn * MX1[i];
    MZ1[i] = -c * MX1[i] - sn * MY1[i];
    MT2[i] = c * MY2[i] - sn * MX2[i];
    MZ2[i] = -c * MX2[i] - sn * MY2[i];
    torqueSum += Mkks2[i];
  }
  CheckFloatFlags(stage, "реакции и моменты в осях колена");

  // 2. Mean torque through the right main journal and the power it carries at the run's speed.
  MkksMean = std::fabs(torqueSum) / static_cast<double>(steps - 1);
  Power = MkksMean * Pi * Calc.N / 30;

  // 3. Statistics of every history.
  for (const auto& cyl : Cylinders) {
    GetStatistics(cyl->MXss, cyl->MXssStat);
    GetStatistics(cyl->MYss, cyl->MYssStat);
    GetStatistics(cyl->MZss, cyl->MZssStat);
    GetStatistics(cyl->MTss, cyl->MTssStat);
    GetStatistics(cyl->M0ss, cyl->M0ssStat);
    GetStatistics(cyl->SplitMZss, cyl->SplitMZssStat);
    GetStatistics(cyl->SplitMTss, cyl->SplitMTssStat);
    GetStatistics(cyl->SplitM0ss, cyl->SplitM0ssStat);
  }
  const std::pair<const TReal1DArray*, TArrayStats*> histories[] = {
      {&Mkks2, &Mkks2Stat},         {&Mkss, &MkssStat},           {&MZgalss1, &MZgalss1Stat},
      {&MZgalss2, &MZgalss2Stat},   {&TSum, &TSumStat},           {&ZSum, &ZSumStat},
      {&T1, &T1Stat},               {&Z1, &Z1Stat},               {&T2, &T2Stat},
      {&Z2, &Z2Stat},               {&XSum, &XSumStat},           {&YSum, &YSumStat},
      {&X1, &X1Stat},               {&Y1, &Y1Stat},               {&X2, &X2Stat},
      {&Y2, &Y2Stat},               {&MX1, &MX1Stat},             {&MY1, &MY1Stat},
      {&MX2, &MX2Stat},             {&MY2, &MY2Stat},             {&MT1, &MT1Stat},
      {&MZ1, &MZ1Stat},             {&MT2, &MT2Stat},             {&MZ2, &MZ2Stat},
      {&SplitT1, &SplitT1Stat},     {&SplitZ1, &SplitZ1Stat},     {&SplitT2, &SplitT2Stat},
      {&SplitZ2, &SplitZ2Stat},     {&SplitMkks, &SplitMkksStat}, {&SplitMkss, &SplitMkssStat},
      {&SplitMZgal1, &SplitMZgal1Stat}, {&SplitMZgal2, &SplitMZgal2Stat}};
  for (const auto& [history, stats] : histories) GetStatistics(*history, *stats);

  // 4. Nominal stresses, Pa. The torsional-vibration stress of a resonance run acts on the
  // main journal; the crankpin carries the same torque, so its stress scales by Wp_journal/Wp_pin.
  TStress journalTau = stressOf(Mkks2Stat, journalWp);
  journalTau.A += TorsionalAmp;
  const TStress journalSgm = stressOf(MX2Stat, journalW);  // bending by MX at the right support only
  TStress pinTau = stressOf(MkssStat, pinWp);
  pinTau.A += journalWp * TorsionalAmp / pinWp;
  const TStress gal1 = stressOf(MZgalss1Stat, webW), gal2 = stressOf(MZgalss2Stat, webW);
  TauAKs = journalTau.A, TauMKs = journalTau.M;
  SgmAKs = journalSgm.A, SgmMKs = journalSgm.M;
  TauASs = pinTau.A, TauMSs = pinTau.M;
  SgmAGal1 = gal1.A, SgmMGal1 = gal1.M;
  SgmAGal2 = gal2.A, SgmMGal2 = gal2.M;

  const TStress splitJournalTau = stressOf(SplitMkksStat, journalWp);
  const TStress splitPinTau = stressOf(SplitMkssStat, pinWp);
  const TStress splitGal1 = stressOf(SplitMZgal1Stat, webW), splitGal2 = stressOf(SplitMZgal2Stat, webW);
  SplitTauAKs = splitJournalTau.A, SplitTauMKs = splitJournalTau.M;
  SplitTauASs = splitPinTau.A, SplitTauMSs = splitPinTau.M;
  SplitSgmAGal1 = splitGal1.A, SplitSgmMGal1 = splitGal1.M;
  SplitSgmAGal2 = splitGal2.A, SplitSgmMGal2 = splitGal2.M;

  // 5. Safety factors. Limits in Pa; the scale factors carry the hardening factor; only
  // torsion is amplified dynamically.
  const double tauLimit = e.ValSteel.Tau_1 * PaPerMPa, sgmLimit = e.ValSteel.Sgm_1 * PaPerMPa;
  const TFatigueData journalTorsion{tauLimit, e.KTau_M_K, e.Etau_K * e.Knu, e.PsiTau, e.LamD};
  const TFatigueData journalBending{sgmLimit, e.KSgm_M_K, e.Esgm_K * e.Knu, e.PsiSgm, 1};
  const TFatigueData pinHoleTorsion{tauLimit, e.KTau_M_S, e.Etau_S * e.Knu, e.PsiTau, e.LamD};
  const TFatigueData pinHoleBending{sgmLimit, e.KSgm_M_S, e.Esgm_S * e.Knu, e.PsiSgm, 1};
  const TFatigueData filletBending{sgmLimit, e.KSgm_G_S, e.Esgm_S * e.Knu, e.PsiSgm, 1};
  const TFatigueData filletTorsion{tauLimit, e.KTau_G_S, e.Etau_S * e.Knu, e.PsiTau, e.LamD};

  NTauKs = journalTorsion.factor(journalTau);
  NSgmKs = journalBending.factor(journalSgm);
  NKs = CombinedSafetyFactor(NSgmKs, NTauKs);
  NTauSs = pinHoleTorsion.factor(pinTau);
  for (const auto& cyl : Cylinders) {
    const TStress hole = stressOf(cyl->M0ssStat, pinW);
    cyl->SgmASs = hole.A, cyl->SgmMSs = hole.M;
    cyl->NSgmSs = pinHoleBending.factor(hole);
    cyl->NSs = CombinedSafetyFactor(cyl->NSgmSs, NTauSs);
  }
  NSgmGal1 = filletBending.factor(gal1);
  NTauGal1 = filletTorsion.factor(pinTau);
  NGal1 = CombinedSafetyFactor(NSgmGal1, NTauGal1);
  NSgmGal2 = filletBending.factor(gal2);
  NTauGal2 = NTauGal1;
  NGal2 = CombinedSafetyFactor(NSgmGal2, NTauGal2);

  SplitNTauKs = journalTorsion.factor(splitJournalTau);
  SplitNTauSs = pinHoleTorsion.factor(splitPinTau);
  SplitNSgmGal1 = filletBending.factor(splitGal1);
  SplitNTauGal1 = filletTorsion.factor(splitPinTau);
  SplitNGal1 = CombinedSafetyFactor(SplitNSgmGal1, SplitNTauGal1);
  for (const auto& cyl : Cylinders) {
    const TStress hole = stressOf(cyl->SplitM0ssStat, pinW);
    cyl->SplitSgmASs = hole.A, cyl->SplitSgmMSs = hole.M;
    cyl->SplitNSgmSs = pinHoleBending.factor(hole);
    cyl->SplitNSs = CombinedSafetyFactor(cyl->SplitNSgmSs, SplitNTauSs);
  }
  SplitNSgmGal2 = filletBending.factor(splitGal2);
  SplitNTauGal2 = SplitNTauGal1;
  SplitNGal2 = CombinedSafetyFactor(SplitNSgmGal2, SplitNTauGal2);

  // A zero concentration coefficient with a pure alternating stress, or a NaN in a history
  // from the beam, would still give a non-finite factor: name it rather than pass it on.
  CheckFloatFlags(stage, "напряжения и запасы прочности");
  const std::pair<const char*, double> results[] = {
      {"NTauKs", NTauKs},           {"NSgmKs", NSgmKs},           {"NKs", NKs},
      {"NTauSs", NTauSs},           {"NSgmGal1", NSgmGal1},       {"NGal1", NGal1},
      {"NSgmGal2", NSgmGal2},       {"NGal2", NGal2},             {"SplitNTauKs", SplitNTauKs},
      {"SplitNTauSs", SplitNTauSs}, {"SplitNGal1", SplitNGal1},   {"SplitNGal2", SplitNGal2},
      {"MkksMean", MkksMean},       {"Power", Power}};
  for (const auto& [name, value] : results) RequireFinite(value, stage, name);
  for (const auto& cyl : Cylinders) {
    RequireFinite(cyl->NSs, stage, "NSs");
    RequireFinite(cyl->SplitNSs, stage, "SplitNSs");
  }
}

double TCrank::MinOverCylinders(double TCylinder::*factor, int& index) const {
  double smallest = UnlimitedSafetyFactor;
  index = 0;
  for (std::size_t j = 0; j < Cylinders.size(); ++j) {
    const double value = Cylinders[j].get()->*factor;
    if (value < smallest) smallest = value, index = static_cast<int>(j);
  }
  return smallest;
}

double TDynamicCalcStruct::MinOverThrows(double TCrank::*factor, int& index) const {
  double smallest = UnlimitedSafetyFactor;
  index = 0;
  for (std::size_t v = 0; v < Cranks.size(); ++v) {
    const double value = Cranks[v].get()->*factor;
    if (value < smallest) smallest = value, index = static_cast<int>(v);
  }
  return smallest;
}

double TDynamicCalcStruct::MinOverThrows(double TCylinder::*factor, int& index) const {
  double smallest = UnlimitedSafetyFactor;
  index = 0;
  for (std::size_t v = 0; v < Cranks.size(); ++v) {
    int cylinder = 0;
    const double value = Cranks[v]->MinOverCylinders(factor, cylinder);
    if (value < smallest) smallest = value, index = static_cast<int>(v);
  }
  return smallest;
}
