#include "ProjectFileUnit.h"

#include <cmath>
#include <sstream>
#include <string>

namespace {

[[noreturn]] void refuseValue(const std::string& field, double value) {
  throw EVexaStoreError("Проект не сохранён: значение " + field + " не является числом (" +
                        (std::isnan(value) ? "не число" : "бесконечность") + ")");
}

// Names separated by blanks, in the order of the values.
void requireFinite(const std::string& names, std::initializer_list<double> values) {
  std::istringstream name(names);
  for (double value : values) {
    std::string field;
    name >> field;
    if (!std::isfinite(value)) refuseValue(field, value);
  }
}

template <typename Array>
void requireFiniteArray(const std::string& name, const Array& values) {
  int index = 1;
  for (double value : values) {
    if (!std::isfinite(value)) refuseValue(name + "[" + std::to_string(index) + "]", value);
    ++index;
  }
}

}  // namespace

void RequireStorableValues(const TEngineDataStruct& d) {
  for (const auto* steel : {&d.ValSteel, &d.ProtSteel})
    requireFinite("SgmV SgmT Tau_1 Sgm_1 Ro E Mu",
                  {steel->SgmV, steel->SgmT, steel->Tau_1, steel->Sgm_1, steel->Ro, steel->E, steel->Mu});
  const TQinDataStruct& q = d.Qin;
  requireFinite(
      "D S E Lam N EM KK KT PK DP TK P0 T0 PT PZT B1 B12 B13 B2 H1 H12 H13 H2 FB FH BPer Hu QC ALFF FOPT "
      "FOPZ Fz XT FCT MT MW TPOR Tkr TWT OFPK ALFE ALFR CG Cu C2 Vkam MFk PDP",
      {q.D,    q.S,    q.E,   q.Lam,  q.N,    q.EM,   q.KK,   q.KT, q.PK,  q.DP,   q.TK,  q.P0,
       q.T0,   q.PT,   q.PZT, q.B1,   q.B12,  q.B13,  q.B2,   q.H1, q.H12, q.H13,  q.H2,  q.FB,
       q.FH,   q.BPer, q.Hu,  q.QC,   q.ALFF, q.FOPT, q.FOPZ, q.Fz, q.XT,  q.FCT,  q.MT,  q.MW,
       q.TPOR, q.Tkr,  q.TWT, q.OFPK, q.ALFE, q.ALFR, q.CG,   q.Cu, q.C2,  q.Vkam, q.MFk, q.PDP});
  requireFinite(
      "N Dezax D R L0 DkSh DkSb DsSh DsSb H B L5 L6 RgalK RgalS E",
      {d.N, d.Dezax, d.D, d.R, d.L0, d.DkSh, d.DkSb, d.DsSh, d.DsSb, d.H, d.B, d.L5, d.L6, d.RgalK, d.RgalS, d.E});
  requireFinite(
      "AlphaSgm_M_K AlphaTau_M_K KSgm_M_K KTau_M_K AlphaSgm_M_S AlphaTau_M_S KSgm_M_S KTau_M_S AlphaSgmD0 "
      "BetSgmH BetSgmDvn AlphaSgmE BetSgmE BetSgmD1 KsiSigmH BetSgmD AlphaSgm_G_S KSgm_G_S AlphaTau0_S "
      "BetTauH_S BetTauB_S AlphaTauE_S BetTauD_S AlphaTau_G_S KTau_G_S Esgm_S Etau_S Etau_K Esgm_K",
      {d.AlphaSgm_M_K, d.AlphaTau_M_K, d.KSgm_M_K,   d.KTau_M_K,    d.AlphaSgm_M_S, d.AlphaTau_M_S,
       d.KSgm_M_S,     d.KTau_M_S,     d.AlphaSgmD0, d.BetSgmH,     d.BetSgmDvn,    d.AlphaSgmE,
       d.BetSgmE,      d.BetSgmD1,     d.KsiSigmH,   d.BetSgmD,     d.AlphaSgm_G_S, d.KSgm_G_S,
       d.AlphaTau0_S,  d.BetTauH_S,    d.BetTauB_S,  d.AlphaTauE_S, d.BetTauD_S,    d.AlphaTau_G_S,
       d.KTau_G_S,     d.Esgm_S,       d.Etau_S,     d.Etau_K,      d.Esgm_K});
  requireFinite("WebTorsionCoef PsiSgm PsiTau Nsh LamD ksi psi RMaslK RMaslS",
                {d.WebTorsionCoef, d.PsiSgm, d.PsiTau, d.Nsh, d.LamD, d.ksi, d.psi, d.RMaslK, d.RMaslS});
  requireFinite(
      "qSigmV_S qSigmT_SigmV_S qSigm_S qTau_S qSigmV_M_K qSigmT_SigmV_M_K qSigm_M_K qTau_M_K qSigmV_M_S "
      "qSigmT_SigmV_M_S qSigm_M_S qTau_M_S",
      {d.qSigmV_S, d.qSigmT_SigmV_S, d.qSigm_S, d.qTau_S, d.qSigmV_M_K, d.qSigmT_SigmV_M_K, d.qSigm_M_K, d.qTau_M_K,
       d.qSigmV_M_S, d.qSigmT_SigmV_M_S, d.qSigm_M_S, d.qTau_M_S});
  requireFinite(
      "nMin nMax Knu CoeffB CoeffH GammaMasl ASTG_ASTG0 W_W0_tau_K W_W0_sgm_K W_W0_tau_S W_W0_sgm_S "
      "fDamper PDamper RefDamper zdDamper ksirzDamper JmDamper ksiDamper",
      {d.nMin, d.nMax, d.Knu, d.CoeffB, d.CoeffH, d.GammaMasl, d.ASTG_ASTG0, d.W_W0_tau_K, d.W_W0_sgm_K, d.W_W0_tau_S,
       d.W_W0_sgm_S, d.fDamper, d.PDamper, d.RefDamper, d.zdDamper, d.ksirzDamper, d.JmDamper, d.ksiDamper});
  for (const auto& [name, values] : {std::pair{"ConRodGamma", &d.ConRodGamma}, std::pair{"ConRodL", &d.ConRodL},
                                     std::pair{"ConRodGamma1", &d.ConRodGamma1}, std::pair{"ConRodR1", &d.ConRodR1},
                                     std::pair{"Mpd", &d.Mpd}, std::pair{"M2", &d.M2}})
    requireFiniteArray(name, *values);
  for (const auto& [name, values] :
       {std::pair{"Rsh", &d.Rsh}, std::pair{"Msh", &d.Msh}, std::pair{"Mpr", &d.Mpr}, std::pair{"Rpr", &d.Rpr},
        std::pair{"AlphaPr", &d.AlphaPr}, std::pair{"FiPr", &d.FiPr}, std::pair{"RprIn", &d.RprIn},
        std::pair{"RprOut", &d.RprOut}})
    requireFiniteArray(name, *values);
  for (const auto& [name, values] : {std::pair{"Py", &d.Py}, std::pair{"Px", &d.Px}, std::pair{"Pmx", &d.Pmx},
                                     std::pair{"Pmy", &d.Pmy}, std::pair{"PliantReserved", &d.PliantReserved}})
    requireFiniteArray(name, *values);
  for (int s = 1; s <= MaxSections; ++s) requireFiniteArray("FireAngle[" + std::to_string(s) + "]", d.FireAngle[s]);
  requireFiniteArray("IMass", d.IMass);
  for (std::size_t i = 0; i < d.CMatrix.size(); ++i)
    requireFiniteArray("CMatrix[" + std::to_string(i + 1) + "]", d.CMatrix[i]);
}

void LoadProjectBytes(TEngineDataStruct& data, const std::vector<std::uint8_t>& bytes) {
  TVexaStream stream(bytes);
  data.Serialize(stream, false);
}

void LoadProjectFile(TEngineDataStruct& data, const std::filesystem::path& file) {
  TVexaStream stream = TVexaStream::FromFile(file);
  data.Serialize(stream, false);
}

std::vector<std::uint8_t> ProjectBytes(TEngineDataStruct& data) {
  TVexaStream stream;
  data.Serialize(stream, true);
  return stream.Bytes();
}

void SaveProjectFile(TEngineDataStruct& data, const std::filesystem::path& file) {
  RequireStorableValues(data);
  TVexaStream stream;
  data.Serialize(stream, true);
  stream.SaveToFile(file);
}
