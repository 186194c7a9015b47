#include "OscillCalcUnit.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "FloatCheckUnit.h"
#include "Hessenbergqri.h"
#include "MessageTextUnit.h"
#include "NumberFormatUnit.h"
#include "ResonanceUnit.h"

namespace {

constexpr double Pi = std::numbers::pi;
constexpr const char* FrequencyStage = "Собственные частоты крутильных колебаний";
constexpr const char* ResonanceStage = "Резонансы крутильных колебаний";

// An eigenvector component this small against the largest one of its vector is a node: dividing
// by it would blow the mode shape up by rounding noise.
constexpr double NodeTolerance = 1e-9;
// Eigenvalues this small against the largest one are rigid-body rotations whose rounding noise
// must not read as a frequency; imaginary parts this small are the rounding noise of a repeated
// real eigenvalue (two equal branches), not an oscillation that decays.
constexpr double ZeroEigenvalueTolerance = 1e-10;
constexpr double RealEigenvalueTolerance = 1e-8;

std::size_t idx(int i) { return static_cast<std::size_t>(i); }

TReal2DArray zeroMatrix(int rows, int columns) {
  return TReal2DArray(idx(rows), TReal1DArray(idx(columns), 0.0));
}

std::string massText(int mass) { return std::to_string(mass); }

// Moments of inertia and stiffnesses the eigenproblem can use: positive inertia (the dynamic
// matrix divides by it), finite numbers, tables as large as the chain.
void checkChain(const TEngineDataStruct& d) {
  const int n = d.NMass;
  if (n < 1) throw ETorsionalModelError("Расчёт крутильных колебаний невозможен: в системе нет ни одной массы");
  if (d.IMass.size() < idx(n) || d.CMatrix.size() < idx(n))
    throw ETorsionalModelError("Расчёт крутильных колебаний невозможен: таблицы моментов инерции и жёсткостей "
                               "короче числа масс " + std::to_string(n));
  for (int i = 0; i < n; ++i)
    if (d.CMatrix[idx(i)].size() < idx(n))
      throw ETorsionalModelError("Расчёт крутильных колебаний невозможен: строка " + massText(i + 1) +
                                 " таблицы жёсткостей короче числа масс " + std::to_string(n));
  if (d.NFirstMass < 1 || d.NFirstMass > n)
    throw ETorsionalModelError("Расчёт крутильных колебаний невозможен: номер первой моторной массы " +
                               std::to_string(d.NFirstMass) + " вне системы из " + std::to_string(n) + " масс");
  for (int i = 0; i < n; ++i) {
    const double J = d.IMass[idx(i)];
    if (!(J > 0) || !std::isfinite(J))
      throw ETorsionalModelError("Расчёт крутильных колебаний невозможен: момент инерции массы " + massText(i + 1) +
                                 " равен " + FormatGeneral(J) + " кг*м^2, а он должен быть больше нуля");
    for (int j = 0; j < n; ++j)
      if (!std::isfinite(d.CMatrix[idx(i)][idx(j)]))
        throw ETorsionalModelError("Расчёт крутильных колебаний невозможен: жёсткость между массами " +
                                   massText(i + 1) + " и " + massText(j + 1) + " не является числом");
  }
}

}  // namespace

double RoundToDecimals(double x, int decimals) {
  // Multiplying by 10^d and dividing the whole number by 10^d (both exact for d <= 22) gives the
  // double nearest the decimal result: 300000 / 1e5 is 3, where 300000 · 1e-5 is not.
  const double scale = std::pow(10.0, decimals);
  return std::nearbyint(x * scale) / scale;
}

TOscillCalcStruct::TOscillCalcStruct(TEngineDataStruct& data, TRunSettings settings)
    : Calc(std::make_unique<TDynamicCalcStruct>(data, std::move(settings))), Data(data) {}

TOscillCalcStruct::~TOscillCalcStruct() { ClearResults(); }

void TOscillCalcStruct::ClearResults() {
  for (TReal2DArray* a : {&Modes, &DynMatrix, &MassMatrix, &EigVectors}) a->clear();
  for (TReal1DArray* a : {&Omega, &RedLength, &EigRe, &EigIm}) a->clear();
  clearResonances();
  Notes.clear();
  frequencyNotes_ = 0;
}

void TOscillCalcStruct::clearResonances() {
  for (TReal2DArray* a : {&AkMax, &Aksi, &ResAmpl}) a->clear();
  for (std::vector<TReal2DArray>* a : {&Mk, &Ak, &Bk, &Alphak, &SinPart, &CosPart, &SectMoment, &SectTau}) a->clear();
  inRange_.clear();
  Notes.resize(std::min(Notes.size(), frequencyNotes_));
}

void TOscillCalcStruct::SortModes(TReal1DArray& EigRe, TReal1DArray& EigIm, TReal2DArray& EigVectors) {
  if (EigRe.size() < 2) return;
  const std::size_t n = EigRe.size() - 1;
  bool exchanged = true;
  while (exchanged) {
    exchanged = false;
    for (std::size_t i = 1; i < n; ++i) {
      if (!(EigRe[i] > EigRe[i + 1])) continue;
      std::swap(EigRe[i], EigRe[i + 1]);
      std::swap(EigIm[i], EigIm[i + 1]);
      for (auto& row : EigVectors) std::swap(row[i], row[i + 1]);
      exchanged = true;
    }
  }
}

std::int16_t TOscillCalcStruct::CalcFrequencies() {
  ClearResults();
  checkChain(Data);
  const int n = Data.NMass;
  try {
    ClearFloatFlags();
    Modes = zeroMatrix(n, n);
    Omega.assign(idx(n), 0.0);
    RedLength.assign(idx(n), 0.0);
    DynMatrix = zeroMatrix(n + 1, n + 1);
    MassMatrix = zeroMatrix(n + 1, n + 1);
    EigVectors = zeroMatrix(n + 1, n + 1);
    EigRe.assign(idx(n + 1), 0.0);
    EigIm.assign(idx(n + 1), 0.0);

    // Stiffness matrix: the whole row of the table on the diagonal, so that a diagonal entry
    // acts as a spring to ground; kN·m/rad.
    const TReal2DArray& S = Data.CMatrix;
    for (int i = 0; i < n; ++i) {
      double rowSum = 0;
      for (int j = 0; j < n; ++j) rowSum += S[idx(i)][idx(j)];
      DynMatrix[idx(i + 1)][idx(i + 1)] = rowSum;
      for (int j = i + 1; j < n; ++j) {
        DynMatrix[idx(i + 1)][idx(j + 1)] = -S[idx(i)][idx(j)];
        DynMatrix[idx(j + 1)][idx(i + 1)] = -S[idx(j)][idx(i)];
      }
    }

    // Length of main journal of the same stiffness as each section: G (MPa → Pa) · Jp (m⁴) over
    // the stiffness (kN·m/rad → N·m/rad), m.
    const double G = Data.ValSteel.ShearModulus();
    const double Jp = PolarMoment(Data.DkSb, Data.DkSh);
    for (int k = 1; k < n; ++k) {
      const double c = S[idx(k - 1)][idx(k)];
      if (std::abs(c) > 0) RedLength[idx(k)] = G * Jp / c * 1e6 / 1000;
    }
    CheckFloatFlags(FrequencyStage, "приведённые длины");

    for (int i = 0; i < n; ++i) {
      const double J = Data.IMass[idx(i)];
      MassMatrix[idx(i + 1)][idx(i + 1)] = J;
      for (int j = 1; j <= n; ++j) DynMatrix[idx(i + 1)][idx(j)] /= J;
    }
    CheckFloatFlags(FrequencyStage, "динамическая матрица");

    if (!HessenbergQRIEigen(DynMatrix, n, EigRe, EigVectors, EigIm))
      throw ETorsionalModelError("Собственные частоты крутильных колебаний не найдены: QR-итерации не сошлись "
                                 "за 30 шагов (проверьте моменты инерции и жёсткости)");

    // Each column is scaled on its own, so sorting first and normalising after gives the same
    // modes and lets a note name the mode by its final index.
    SortModes(EigRe, EigIm, EigVectors);

    const int r = Data.NFirstMass;
    for (int l = 1; l <= n; ++l) {
      int largest = 1;
      for (int m = 2; m <= n; ++m)
        if (std::abs(EigVectors[idx(m)][idx(l)]) > std::abs(EigVectors[idx(largest)][idx(l)])) largest = m;
      const double peak = std::abs(EigVectors[idx(largest)][idx(l)]);
      if (peak == 0) continue;
      int reference = r;
      if (std::abs(EigVectors[idx(r)][idx(l)]) <= NodeTolerance * peak) {
        // The first motor mass stands still in this mode: its shape is scaled to 1 at the mass
        // that moves most, and the resonant amplitude of this mode refers to that mass.
        reference = largest;
        Notes.push_back("Форма колебаний " + std::to_string(l - 1) + " имеет узел на первой моторной массе " +
                        massText(r) + "; она нормирована по массе " + massText(largest) +
                        ", амплитуда которой наибольшая");
      }
      const double v = EigVectors[idx(reference)][idx(l)];
      for (int m = 1; m <= n; ++m) EigVectors[idx(m)][idx(l)] /= v;
    }
    CheckFloatFlags(FrequencyStage, "формы колебаний");

    double scale = 0;
    for (int l = 1; l <= n; ++l) scale = std::max(scale, std::abs(EigRe[idx(l)]));
    for (int l = 1; l <= n; ++l) {
      const double re = EigRe[idx(l)], im = EigIm[idx(l)];
      // kN·m/(rad·kg·m²) · 1000 = s^-2.
      if (re > ZeroEigenvalueTolerance * scale && std::abs(im) <= RealEigenvalueTolerance * scale)
        Omega[idx(l - 1)] = RoundToDecimals(std::sqrt(re * 1000), 5);
      for (int m = 1; m <= n; ++m) Modes[idx(l - 1)][idx(m - 1)] = RoundToDecimals(EigVectors[idx(m)][idx(l)], 5);
    }
    CheckFloatFlags(FrequencyStage, "частоты");
  } catch (...) {
    ClearResults();
    throw;
  }
  frequencyNotes_ = Notes.size();
  return Data.NMass;
}

double TOscillCalcStruct::ResonanceSpeed(int mode, int harmonic) const {
  return Omega.at(idx(mode)) / Calc->HarmOrders.at(idx(harmonic)) * 30 / Pi;
}

bool TOscillCalcStruct::IsResonance(int mode, int harmonic) const {
  if (harmonic < 0 || idx(harmonic) >= inRange_.size()) return false;
  const auto& row = inRange_[idx(harmonic)];
  return mode >= 0 && idx(mode) < row.size() && row[idx(mode)];
}

void TOscillCalcStruct::allocateResonances(int n, int harmonics, int throws) {
  for (TReal2DArray* a : {&AkMax, &Aksi, &ResAmpl}) *a = zeroMatrix(harmonics, n);
  for (std::vector<TReal2DArray>* a : {&Mk, &Ak, &Bk, &Alphak, &SinPart, &CosPart})
    a->assign(idx(n), zeroMatrix(harmonics, throws));
  for (std::vector<TReal2DArray>* a : {&SectMoment, &SectTau}) a->assign(idx(n), zeroMatrix(harmonics, n));
  inRange_.assign(idx(harmonics), std::vector<bool>(idx(n), false));
}

void TOscillCalcStruct::checkResonanceInput() const {
  const TEngineDataStruct& d = Data;
  const int n = d.NMass;
  const int last = d.NFirstMass + d.NSec - 1;
  if (d.NSec < 1 || d.NFirstMass < 1 || last > n)
    throw ETorsionalModelError("Расчёт резонансов невозможен: моторные массы с " + massText(d.NFirstMass) + " по " +
                               massText(last) + " не помещаются в систему из " + std::to_string(n) + " масс");
  // The energy balance and the section torques follow the chain from each mass to the next; a
  // section to any other mass would be left out of both.
  for (int i = 0; i < n; ++i)
    for (int j = i + 2; j < n; ++j)
      if (d.CMatrix[idx(i)][idx(j)] != 0 || d.CMatrix[idx(j)][idx(i)] != 0)
        throw ETorsionalModelError("Расчёт резонансов невозможен: задана жёсткость между несоседними массами " +
                                   massText(i + 1) + " и " + massText(j + 1) +
                                   "; энергетический баланс рассчитан только на цепочку, в которой каждая масса "
                                   "соединена со следующей");
  // The damping inputs as the torsional data page names them.
  static const TInputName dampingInputs[] = {
      {"ksi", "коэффициент демпфирования", "МН·с/м3"},
      {"psi", "коэффициент поглощения", ""},
      {"JmDamper", "момент инерции маховика демпфера", "кг·м2"},
      {"ksiDamper", "коэффициент демпфирования демпфера", "Н·м·с"},
      {"fDamper", "коэффициент трения демпфера", ""},
      {"PDamper", "сила сжатия дисков демпфера", "Н"},
      {"RefDamper", "эффективный радиус демпфера", "м"},
      {"zdDamper", "число поверхностей трения демпфера", ""},
  };
  auto nonNegative = [](const char* field, double value) {
    if (!(value >= 0) || !std::isfinite(value))
      throw ETorsionalModelError("Расчёт резонансов невозможен: " + InputValueText(dampingInputs, field, value) +
                                 ", а эта величина не может быть отрицательной");
  };
  nonNegative("ksi", d.ksi);
  nonNegative("psi", d.psi);
  if (d.Damper) {
    if (d.NMassDamper < 1 || d.NMassDamper > n)
      throw ETorsionalModelError("Расчёт резонансов невозможен: номер массы, несущей демпфер, " +
                                 massText(d.NMassDamper) + " вне системы из " + std::to_string(n) + " масс");
    if (d.DamperType > 2)
      throw ETorsionalModelError("Расчёт резонансов невозможен: неизвестный тип демпфера " +
                                 std::to_string(d.DamperType));
    if (d.DamperType == 0) {
      nonNegative("JmDamper", d.JmDamper);
      nonNegative("ksiDamper", d.ksiDamper);
    } else if (d.DamperType == 1) {
      nonNegative("fDamper", d.fDamper);
      nonNegative("PDamper", d.PDamper);
      nonNegative("RefDamper", d.RefDamper);
      nonNegative("zdDamper", d.zdDamper);
    }
  }
  if (!(d.DkSh > 0) || !(d.DkSh > d.DkSb))
    throw ETorsionalModelError("Расчёт напряжений крутильных колебаний невозможен: диаметры коренной шейки DkSh = " +
                               FormatGeneral(d.DkSh) + " и DkSb = " + FormatGeneral(d.DkSb) +
                               " не дают сечения с положительным моментом сопротивления");
}

void TOscillCalcStruct::CalcResonances() {
  if (Omega.empty() || NModes() != Data.NMass || Modes.size() != Omega.size())
    throw std::logic_error("CalcResonances needs the natural frequencies of the current chain");
  clearResonances();
  checkResonanceInput();

  // The project speed takes the resonance speeds; it is put back however this ends.
  struct SpeedGuard {
    TEngineDataStruct& data;
    double saved;
    ~SpeedGuard() { data.N = saved; }
  } guard{Data, Data.N};

  const int n = NModes();
  const int harmonics = std::max(0, static_cast<int>(Data.NGarm));
  try {
    allocateResonances(n, harmonics, Data.NSec);
    Calc->Setup();
    const double damping = Resonance::ThrowDamping(Data.R, Data.D, Data.ksi, Data.NRad);
    // With a diagram that does not change with the speed, the throws' torque harmonics are
    // split once into their gas and inertia parts and combined at every resonance speed.
    const bool fixedDiagram = !Calc->DiagramDependsOnSpeed();
    std::vector<TTorqueHarmonicParts> parts;
    for (int i = 1; i < n; ++i) {
      // A mode without a real positive eigenvalue has no resonance.
      if (!(Omega[idx(i)] > 0)) continue;
      for (int j = 0; j < harmonics; ++j) {
        const double speed = ResonanceSpeed(i, j);
        if (!(Data.nMin <= speed && speed <= Data.nMax)) continue;
        Data.N = speed;
        if (!fixedDiagram) {
          Calc->Prepare();
        } else {
          if (parts.empty()) {
            Calc->Prepare();
            for (const auto& crank : Calc->Cranks) parts.push_back(crank->TorqueHarmonicParts());
          }
          Calc->N = speed;
          for (std::size_t v = 0; v < parts.size(); ++v) Calc->Cranks[v]->SetTorqueHarmonics(parts[v], Data.Omega());
        }
        inRange_[idx(j)][idx(i)] = true;
        balance(i, j, damping);
      }
      for (int j = 0; j < harmonics; ++j)
        if (inRange_[idx(j)][idx(i)]) sectionStresses(i, j);
    }
  } catch (...) {
    clearResonances();
    throw;
  }
}

void TOscillCalcStruct::balance(int i, int j, double dampingPerThrow) {
  const TEngineDataStruct& d = Data;
  const double nu = Calc->HarmOrders[idx(j)];
  const double omega = Omega[idx(i)];
  const TReal1DArray& mode = Modes[idx(i)];
  ClearFloatFlags();

  double sumSin = 0, sumCos = 0, sumA2 = 0, sumH = 0;
  for (int v = 0; v < d.NSec; ++v) {
    const int m = d.NFirstMass + v;  // motor mass of throw v, 1-based
    const double a = mode[idx(m - 1)];
    const TCrank& crank = *Calc->Cranks.at(idx(v));
    const double amplitude = crank.HarmAmp.at(idx(j));
    // The throw's torque starts at the firing of its first cylinder: harmonic order ν lags by
    // ν times that angle.
    const double alpha = -Calc->AngleGrid.at(idx(crank.Cylinders.at(0)->Shift));
    Mk[idx(i)][idx(j)][idx(v)] = amplitude;
    Ak[idx(i)][idx(j)][idx(v)] = crank.HarmA.at(idx(j));
    Bk[idx(i)][idx(j)][idx(v)] = crank.HarmB.at(idx(j));
    Alphak[idx(i)][idx(j)][idx(v)] = alpha;
    const double s = std::sin(nu * alpha) * amplitude * a;
    const double c = std::cos(nu * alpha) * amplitude * a;
    SinPart[idx(i)][idx(j)][idx(v)] = s;
    CosPart[idx(i)][idx(j)][idx(v)] = c;
    sumSin += s;
    sumCos += c;
    sumA2 += a * a;
    if (v < d.NSec - 1) {
      const double twist = a - mode[idx(m)];
      sumH += twist * twist * d.CMatrix[idx(m - 1)][idx(m)] * 1000;  // N·m/rad
    }
  }

  double damperLinear = 0, friction = 0;
  if (d.Damper) {
    const double ad = mode[idx(d.NMassDamper - 1)];
    if (d.DamperType == 0)
      damperLinear = Resonance::ViscousDamperWork(omega, d.JmDamper, d.ksiDamper, ad);
    else if (d.DamperType == 1)
      friction = Resonance::FrictionDamperWork(d.fDamper, d.PDamper, d.RefDamper, d.zdDamper, ad);
    // The rubber damper's dissipation is not modelled: it adds no work.
  }

  const double akMax = Pi * std::hypot(sumSin, sumCos);
  // Cylinders: π·c·ω per rad² of each throw; shaft material: ψ times the largest strain energy
  // C·Δ²/2 of each section between throws.
  const double aksiLinear = Pi * dampingPerThrow * omega * sumA2 + d.psi / 2 * sumH + damperLinear;
  CheckFloatFlags(ResonanceStage, "энергетический баланс");

  const std::string where = "форма " + std::to_string(i) + ", гармоника порядка " + FormatGeneral(nu) + ", " +
                            FormatSignificant(ResonanceSpeed(i, j), 6) + " об/мин";
  Resonance::TBalance result;
  try {
    result = Resonance::SolveBalance(akMax, aksiLinear, friction);
  } catch (const std::domain_error&) {
    throw ETorsionalModelError("Резонансная амплитуда не ограничена (" + where +
                               "): работа демпфирования в цилиндрах, в материале вала и в демпфере равна нулю; "
                               "задайте коэффициент демпфирования ksi или коэффициент поглощения psi");
  }
  AkMax[idx(j)][idx(i)] = akMax;
  Aksi[idx(j)][idx(i)] = result.Aksi;
  ResAmpl[idx(j)][idx(i)] = result.ResAmpl;
  if (result.DamperSticks)
    Notes.push_back("Демпфер сухого трения не проскальзывает (" + where +
                    "): момент трения больше, чем может преодолеть возбуждение; амплитуда принята равной 0");
  RequireFinite(result.ResAmpl, ResonanceStage, "резонансная амплитуда");
}

void TOscillCalcStruct::sectionStresses(int i, int j) {
  const int n = NModes();
  const TReal1DArray& mode = Modes[idx(i)];
  const double Wp = Pi / 16 * (std::pow(Data.DkSh, 4) - std::pow(Data.DkSb, 4)) / Data.DkSh;  // m³
  const double amplitude = ResAmpl[idx(j)][idx(i)];
  ClearFloatFlags();
  for (int k = 0; k + 1 < n; ++k) {
    const double moment = Data.CMatrix[idx(k)][idx(k + 1)] * 1000 * amplitude * (mode[idx(k)] - mode[idx(k + 1)]);
    SectMoment[idx(i)][idx(j)][idx(k)] = moment;
    SectTau[idx(i)][idx(j)][idx(k)] = std::abs(moment) / Wp;
  }
  CheckFloatFlags(ResonanceStage, "напряжения в участках");
}
