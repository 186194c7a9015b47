#include "EngineDataStructUnit.h"

#include <cmath>
#include <numbers>
#include <stdexcept>
#include <string>

#include "EVexaErrorUnit.h"
#include "KinematicsUnit.h"

namespace {
constexpr double Pi = std::numbers::pi;
constexpr double Degree = Pi / 180;
constexpr double FileMarker = 4300.0;
}  // namespace

TEngineDataStruct::TEngineDataStruct()
    : ValSteel(TSteelElem::Create()), ProtSteel(TSteelElem::Create()) {
  ConRodL[1] = 0.58;
  ConRodL[2] = 0.5;
  ConRodGamma1[2] = 65 * Degree;
  ConRodR1[2] = 0.08;
  for (auto& section : CylEnabled) section.Fill(true);
  Mpd[1] = 1012.7;
  Mpd[2] = 972.7;
  M2[1] = 1431.6;
  M2[2] = 1431.6;
  Py.Fill(1e-12);
  Px.Fill(1e-12);
  PliantReserved.Fill(1e-12);
  Pmx.Fill(0.001);
  Pmy.Fill(0.001);
  ResizeTorsionalModel(NMass);
  // A fresh project's working process runs at the project speed, so that its first
  // calculation does not hand 0 rpm to the working-process program.
  Qin.N = N;
}


namespace {

template <typename Array>
void streamArray(TVexaStream& stream, Array& values, bool Writing) {
  for (double& value : values) StreamDouble(stream, value, Writing);
}

void streamDoubles(TVexaStream& stream, std::initializer_list<double*> fields, bool Writing) {
  for (double* field : fields) StreamDouble(stream, *field, Writing);
}

}  // namespace

void TEngineDataStruct::Serialize(TVexaStream& stream, bool Writing) {
  // The file holds exactly NMass inertias and NMass × NMass stiffnesses.
  if (Writing) {
    if (NMass < 0 || NMass > MaxMasses)
      throw std::invalid_argument("Число масс крутильной модели " + std::to_string(NMass) +
                                  " не может быть записано в файл (допустимо от 0 до " + std::to_string(MaxMasses) + ")");
    ResizeTorsionalModel(NMass);
  }
  ValSteel.Serialize(stream, Writing);
  ProtSteel.Serialize(stream, Writing);
  Qin.StreamBlock(stream, Writing);
  StreamString(stream, ProjectName, Writing);
  StreamByte(stream, CalcOscillFlag, Writing);
  streamDoubles(stream, {&N, &Dezax, &D, &R, &L0, &DkSh, &DkSb, &DsSh, &DsSb, &H, &B}, Writing);
  StreamSmallInt(stream, FiMasl, Writing);
  streamDoubles(stream, {&L5, &L6, &RgalK, &RgalS, &ReservedD3, &E}, Writing);
  StreamByte(stream, ReservedB2, Writing);
  streamDoubles(stream, {&ReservedD4, &ReservedD5, &ReservedD6, &ReservedD7, &ReservedD8}, Writing);
  streamDoubles(stream,
                {&AlphaSgm_M_K, &AlphaTau_M_K, &KSgm_M_K,   &KTau_M_K,     &AlphaSgm_M_S, &AlphaTau_M_S,
                 &KSgm_M_S,     &KTau_M_S,     &AlphaSgmD0, &BetSgmH,      &BetSgmDvn,    &AlphaSgmE,
                 &BetSgmE,      &BetSgmD1,     &KsiSigmH,   &BetSgmD,      &AlphaSgm_G_S, &KSgm_G_S,
                 &AlphaTau0_S,  &BetTauH_S,    &BetTauB_S,  &AlphaTauE_S,  &BetTauD_S,    &AlphaTau_G_S,
                 &KTau_G_S,     &Esgm_S,       &Etau_S,     &Etau_K},
                Writing);
  streamDoubles(stream, {&WebTorsionCoef, &PsiSgm, &PsiTau, &Nsh, &LamD, &ReservedD9, &ReservedD2, &ksi, &psi},
                Writing);
  StreamByte(stream, EngineType, Writing);
  for (auto& section : FireAngle) streamArray(stream, section, Writing);
  for (auto& section : CylEnabled)
    for (bool& enabled : section) StreamByte(stream, enabled, Writing);
  StreamByte(stream, NSec, Writing);
  StreamByte(stream, NRad, Writing);
  StreamByte(stream, Disposition, Writing);
  // Counts outside the layout's limits would make every later calculation index outside
  // the fixed arrays: such a file is damaged.
  if (!Writing && (NSec < 1 || NSec > MaxSections || NRad < 1 || NRad > MaxRows))
    throw TEVexaError(ErrBadDataFile);
  streamArray(stream, ConRodGamma, Writing);
  streamArray(stream, ConRodL, Writing);
  streamArray(stream, ConRodGamma1, Writing);
  streamArray(stream, ConRodR1, Writing);
  StreamByte(stream, ReservedB1, Writing);
  streamArray(stream, Mpd, Writing);
  streamArray(stream, M2, Writing);
  StreamByte(stream, ReservedB3, Writing);
  StreamByte(stream, IDSource, Writing);
  StreamString(stream, IDFileName, Writing);
  for (TWebArray* webs : {&Rsh, &Msh, &Mpr, &Rpr, &AlphaPr, &FiPr, &RprIn, &RprOut})
    streamArray(stream, *webs, Writing);
  streamDoubles(stream, {&RMaslK, &RMaslS}, Writing);
  streamDoubles(stream,
                {&qSigmV_S, &qSigmT_SigmV_S, &qSigm_S, &qTau_S, &qSigmV_M_K, &qSigmT_SigmV_M_K, &qSigm_M_K,
                 &qTau_M_K, &qSigmV_M_S, &qSigmT_SigmV_M_S, &qSigm_M_S, &qTau_M_S},
                Writing);
  for (int j = 1; j <= MaxSupports; ++j) streamDoubles(stream, {&Py[j], &Px[j], &PliantReserved[j]}, Writing);
  StreamDouble(stream, Esgm_K, Writing);
  StreamIntAsDouble(stream, NGarm, Writing);
  // The torsional calculation's work grows with the harmonics; the page offers 1 to 20.
  if (!Writing && (NGarm < 1 || NGarm > MaxHarmonics)) throw TEVexaError(ErrBadDataFile);
  streamDoubles(stream, {&nMin, &nMax}, Writing);
  streamArray(stream, ReservedBlock, Writing);
  StreamIntAsDouble(stream, StrengthType, Writing);
  streamDoubles(stream, {&Knu, &CoeffB, &CoeffH}, Writing);
  for (int j = 1; j <= MaxSupports; ++j) streamDoubles(stream, {&Pmx[j], &Pmy[j]}, Writing);
  streamDoubles(stream,
                {&ReservedD1, &GammaMasl, &ASTG_ASTG0, &W_W0_tau_K, &W_W0_sgm_K, &W_W0_tau_S, &W_W0_sgm_S,
                 &fDamper, &PDamper, &RefDamper, &zdDamper, &ksirzDamper},
                Writing);
  StreamIntAsDouble(stream, DamperType, Writing);
  StreamIntAsDouble(stream, NMassDamper, Writing);
  streamDoubles(stream, {&JmDamper, &ksiDamper}, Writing);
  double damper = Damper ? 1.0 : 0.0;
  StreamDouble(stream, damper, Writing);
  if (!Writing) Damper = damper != 0;
  StreamIntAsDouble(stream, NFirstMass, Writing);
  StreamIntAsDouble(stream, CoeffsCalcRadio, Writing);
  // The two calculation flags share one number: CalcDynamicFlag + 10·CalcCombFlag.
  std::int16_t flags = static_cast<std::int16_t>((CalcDynamicFlag ? 1 : 0) + (CalcCombFlag ? 10 : 0));
  StreamIntAsDouble(stream, flags, Writing);
  if (!Writing) {
    CalcDynamicFlag = flags % 10 != 0;
    CalcCombFlag = (flags / 10) % 10 != 0;
  }
  StreamIntAsDouble(stream, NRegs, Writing);
  double marker = FileMarker;
  StreamDouble(stream, marker, Writing);

  StreamIntAsDouble(stream, NMass, Writing);
  if (!Writing) {
    // The torsional model must fit in what is left of the file: 8·n + 8·n² bytes.
    const double n = NMass;
    if (NMass < 0 || NMass > MaxMasses || 8 * n + 8 * n * n > static_cast<double>(stream.Remaining())) throw TEVexaError(ErrBadDataFile);
    IMass.assign(static_cast<std::size_t>(NMass), 0.0);
    CMatrix.assign(static_cast<std::size_t>(NMass), TReal1DArray(static_cast<std::size_t>(NMass), 0.0));
  }
  for (double& inertia : IMass) StreamDouble(stream, inertia, Writing);
  for (std::size_t j = 0; j < CMatrix.size(); ++j)
    for (std::size_t i = 0; i < CMatrix.size(); ++i) StreamDouble(stream, CMatrix[i][j], Writing);
}

void TEngineDataStruct::NotifyOwner(int notification) const {
  if (OwnerNotify) OwnerNotify(notification);
}

void TEngineDataStruct::ResizeTorsionalModel(int n) {
  NMass = static_cast<std::int16_t>(n);
  IMass.resize(static_cast<std::size_t>(n), 0.0);
  CMatrix.resize(static_cast<std::size_t>(n));
  for (auto& row : CMatrix) row.resize(static_cast<std::size_t>(n), 0.0);
}

double TEngineDataStruct::PistonArea() const { return Pi * D * D / 4; }
double TEngineDataStruct::Omega() const { return Pi * N / 30; }
double TEngineDataStruct::ProtForce(int web) const { return Omega() * Omega() * Mpr[web] * Rpr[web] / 1e6; }
double TEngineDataStruct::WebForce(int web) const { return Omega() * Omega() * Msh[web] * Rsh[web] / 1e6; }
double TEngineDataStruct::RodRotForce(int row) const { return Omega() * Omega() * M2[row] * R / 1e6; }

double TEngineDataStruct::PinMass() const {
  return Pi * (DsSh * DsSh - DsSb * DsSb) / 4 * PinLength() * ValSteel.Ro / PistonArea();
}

double TEngineDataStruct::PinForce() const { return PinMass() * R * Omega() * Omega() / 1e6; }
double TEngineDataStruct::HalfThrow() const { return L0 / 2; }
double TEngineDataStruct::PinLength() const { return L0 - 2 * (L5 + RgalK + B); }
double TEngineDataStruct::WebMidPos() const { return L5 + RgalK + B / 2; }

double TEngineDataStruct::RodSpacing() const {
  if (NRad == 1) return 0;
  if (Disposition == 1) return 0.002;
  return PinLength() / NRad;
}

double TEngineDataStruct::RodOffset() const {
  // The rods' force points lie symmetric about the crankpin middle, so the throw spans L0
  // for any number of articulated rows.
  if (NRad == 1 || Disposition == 1) return PinLength() / 2 + B / 2 - (NRad - 1) * RodSpacing() / 2;
  return PinLength() / (2.0 * NRad) + B / 2;
}

double TEngineDataStruct::JournalWp() const { return Pi * (std::pow(DkSh, 4) - std::pow(DkSb, 4)) / (16 * DkSh); }
double TEngineDataStruct::JournalW() const { return JournalWp() / 2; }
double TEngineDataStruct::PinWp() const { return Pi * (std::pow(DsSh, 4) - std::pow(DsSb, 4)) / (16 * DsSh); }
double TEngineDataStruct::PinW() const { return PinWp() / 2; }
double TEngineDataStruct::WebW() const { return B * B * H / 6; }

int TEngineDataStruct::CylNumber(int section, int row) const { return section + NSec * (row - 1); }
int TEngineDataStruct::CylRow(int cylinder) const { return (cylinder - 1) / NSec + 1; }
int TEngineDataStruct::CylSection(int cylinder) const { return cylinder - NSec * (CylRow(cylinder) - 1); }

double TEngineDataStruct::CylPhase(int cylinder) const {
  const int s = CylSection(cylinder);
  double phase = FireAngle[s][CylRow(cylinder)] - FireAngle[s][1];
  if (phase < 0) phase += 2 * Pi;
  if (phase >= 2 * Pi) phase -= 2 * Pi;
  return phase;
}

double TEngineDataStruct::CylStroke(int /*cylinder*/) const { return Kinematics::Stroke(Dezax, R, ConRodL[1]); }

bool TEngineDataStruct::CheckFireAngles() const {
  if (NRad <= 1) return true;
  for (int s = 1; s <= NSec; ++s)
    for (int r = 2; r <= NRad; ++r)
      if (std::fabs(CylPhase(CylNumber(s, r)) - CylPhase(CylNumber(1, r))) > 1e-4) return false;
  return true;
}

double PolarMoment(double d, double D) { return Pi * (std::pow(D, 4) - std::pow(d, 4)) / 32; }
double RingArea(double d, double D) { return Pi * (D * D - d * d) / 4; }
