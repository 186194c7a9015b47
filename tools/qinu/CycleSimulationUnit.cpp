#include "CycleSimulationUnit.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <sstream>
#include <stdexcept>

#include "CycleFormulas.h"
#include "GasProperties.h"

namespace qinu {

namespace {

using formulas::kPi;

constexpr double kPascalPerMPa = 1e6;
constexpr double kKelvinAtZeroCelsius = 273.15;
constexpr double kJoulePerKJ = 1e3;

// The integrated quantities: the charge (mass, products, absolute internal energy) and
// the running totals of the cycle.
enum EState {
  kMass,             // kg in the cylinder
  kProducts,         // kg of stoichiometric combustion products in it
  kEnergy,           // J, m u with u including enthalpies of formation
  kFresh,            // kg of charge delivered by the intake during this cycle
  kWork,             // J, integral of p dV
  kGrossWork,        // J, the same over -180...180 deg
  kWallPiston,       // J to the piston
  kWallHead,         // J to the head
  kWallLiner,        // J to the liner
  kFuelBurned,       // kg
  kIntakeIn,         // kg into the cylinder through the intake
  kIntakeOut,        // kg back into the intake
  kExhaustOut,       // kg into the exhaust
  kExhaustIn,        // kg back from the exhaust
  kExhaustEnthalpy,  // J carried into the exhaust
  kExhaustProducts,  // kg of products carried into the exhaust
  kStateSize
};
using TState = std::array<double, kStateSize>;

std::string Number(double value, int digits = 6) {
  if (!std::isfinite(value)) return std::isnan(value) ? "не число" : "бесконечность";
  std::ostringstream out;
  out.precision(digits);
  out << value;
  return out.str();
}

class TCycleModel {
 public:
  TCycleModel(const TQinInput& input, const TCycleOptions& options);
  TCycleResult Run();

 private:
  // One cycle from the trapping to the same angle a cycle later; fills the trace and the
  // per-cycle figures of `r`, returns the relative change of the trapped state.
  double RunCycle(TState& y, std::vector<TTracePoint>& trace, TCycleResult& r);
  void Summarise(TCycleResult& r) const;
  static void FindExtremes(TCycleResult& r);
  void BuildDiagram(TCycleResult& r) const;

  TQinInput in_;
  TCycleOptions options_;
  formulas::TCylinderGeometry geometry_;
  gas::TGasModel gas_;
  formulas::TDoubleWiebe wiebe_;
  double period_ = 720;
  double trap_ = 0;        // deg, cycle starts here
  double opening_ = 0;     // deg, first opening after firing TDC
  double secondsPerDeg_ = 0;
  double meanPistonSpeed_ = 0;  // m/s
  double fuelEnthalpy_ = 0;     // J/kg
  double heatingValue_ = 0;     // J/kg
  double intakeP_ = 0, intakeT_ = 0, intakeH_ = 0, intakeGamma_ = 0;
  double exhaustP_ = 0, exhaustT_ = 0, exhaustF_ = 0;
  double exhaustH_ = 0, exhaustR_ = 0, exhaustGamma_ = 0;
  double wallPiston_ = 0, wallHead_ = 0, wallLiner_ = 0;  // K
  double pistonArea_ = 0, headArea_ = 0, clearanceHeight_ = 0;
  std::vector<double> nodes_;  // integration nodes of one cycle, deg

  // Per-cycle values.
  double fuelToBurn_ = 0;        // kg
  double stepBurnRate_ = 0;      // kg/deg, mean burning rate over the current step
  double refPressure_ = 0, refVolume_ = 0, refTemperature_ = 0;  // trapped state
  bool haveCombustionRef_ = false;
  double socPressure_ = 0, socVolume_ = 0, socGamma_ = 0;  // motored reference from SOC
  double lastTemperature_ = 300;
  long stepsTaken_ = 0;  // integration steps of all cycles so far

  void SetExhaustGas(double temperature, double products);
  double Temperature(const TState& y);
  void Derivatives(double angle, const TState& y, TState& dy, TTracePoint* point);
  void Step(double angle, double h, TState& y, TTracePoint& start);
  int SubSteps(double angle, double h, const TState& y);
  void CheckState(double angle, const TState& y) const;
  void BuildNodes();
  double ToFrame(double angle) const;
};

TCycleModel::TCycleModel(const TQinInput& input, const TCycleOptions& options)
    : in_(input), options_(options) {
  geometry_.Bore = in_.D;
  geometry_.Crank = in_.S / 2;
  geometry_.Lambda = in_.Lam;
  geometry_.Ratio = in_.E;
  gas_ = gas::BuildGasModel(in_.EngineType == 1 ? gas::Petrol() : gas::DieselFuel());
  period_ = in_.PeriodDeg();
  trap_ = in_.TrapAngleDeg();
  opening_ = in_.FirstOpeningDeg();
  secondsPerDeg_ = 1 / (6 * in_.N);
  meanPistonSpeed_ = 2 * in_.S * in_.N / 60;
  heatingValue_ = in_.Hu * kJoulePerKJ;
  fuelEnthalpy_ = gas::FuelEnthalpy(gas_, heatingValue_);
  if (in_.QC > 0)
    wiebe_ = formulas::TDoubleWiebe::FromData(in_.CombustionStartDeg(), in_.Fz, in_.XT, in_.FCT,
                                              in_.MT, in_.MW);

  if (in_.V == 0) {
    intakeP_ = in_.P0 * kPascalPerMPa;
    intakeT_ = in_.T0;
    exhaustP_ = in_.PZT * kPascalPerMPa;
  } else {
    intakeP_ = in_.PK * kPascalPerMPa;
    intakeT_ = in_.TK;
    exhaustP_ = in_.PT * kPascalPerMPa;
  }
  intakeH_ = gas::Enthalpy(gas_.Air, intakeT_);
  intakeGamma_ = gas::Gamma(gas_.Air, intakeT_);
  SetExhaustGas(in_.QC > 0 ? 800 : intakeT_ + 100, 0);

  wallPiston_ = in_.TPOR + kKelvinAtZeroCelsius;
  wallHead_ = in_.Tkr + kKelvinAtZeroCelsius;
  wallLiner_ = in_.TWT + kKelvinAtZeroCelsius;
  pistonArea_ = geometry_.PistonArea();
  headArea_ = pistonArea_ / in_.OFPK;
  clearanceHeight_ = geometry_.ClearanceVolume() / pistonArea_;
  BuildNodes();
}

// Gas that flows back from the exhaust manifold has the mean state of what left the
// cylinder in the previous cycle.
void TCycleModel::SetExhaustGas(double temperature, double products) {
  exhaustT_ = temperature;
  exhaustF_ = products;
  const gas::TGasPoly mix = gas::Mix(gas_, products);
  exhaustH_ = gas::Enthalpy(mix, temperature);
  exhaustR_ = mix.R;
  exhaustGamma_ = gas::Gamma(mix, temperature);
}

double TCycleModel::ToFrame(double angle) const {
  double a = trap_ + std::fmod(angle - trap_, period_);
  if (a < trap_) a += period_;
  return a;
}

// Nodes: every step of the grid plus every angle where a law changes its slope (valve
// events, combustion start and ends, the limits of the gross work), so that no step
// straddles a kink.
void TCycleModel::BuildNodes() {
  const double end = trap_ + period_;
  std::vector<double> nodes;
  const double h = options_.StepDeg;
  for (double a = std::ceil(trap_ / h) * h; a < end; a += h) nodes.push_back(a);
  const double events[] = {in_.B1, in_.B12, in_.B13, in_.B2, in_.H1, in_.H12, in_.H13, in_.H2,
                           -180, 180};
  for (double e : events) nodes.push_back(ToFrame(e));
  if (in_.QC > 0) {
    nodes.push_back(wiebe_.Start);
    nodes.push_back(wiebe_.Start + wiebe_.Duration);
    if (wiebe_.Kinetic > 0) nodes.push_back(wiebe_.Start + wiebe_.KineticDuration);
  }
  nodes.push_back(trap_);
  nodes.push_back(end);
  std::sort(nodes.begin(), nodes.end());
  nodes_.clear();
  for (double a : nodes) {
    if (a < trap_ || a > end) continue;
    if (!nodes_.empty() && a - nodes_.back() < 1e-6) continue;
    nodes_.push_back(a);
  }
  // Keep the end exactly one period after the start.
  nodes_.back() = end;
}

double TCycleModel::Temperature(const TState& y) {
  const double products = std::clamp(y[kProducts] / y[kMass], 0.0, 1.0);
  const gas::TGasPoly mix = gas::Mix(gas_, products);
  lastTemperature_ = gas::TemperatureFromEnergy(mix, y[kEnergy] / y[kMass], lastTemperature_);
  return lastTemperature_;
}

void TCycleModel::Derivatives(double angle, const TState& y, TState& dy, TTracePoint* point) {
  const double m = y[kMass];
  const double products = std::clamp(y[kProducts] / m, 0.0, 1.0);
  const gas::TGasPoly mix = gas::Mix(gas_, products);
  const double T = gas::TemperatureFromEnergy(mix, y[kEnergy] / m, lastTemperature_);
  lastTemperature_ = T;
  const double V = formulas::CylinderVolume(geometry_, angle);
  const double dV = formulas::CylinderVolumeRate(geometry_, angle);
  const double p = m * mix.R * T / V;
  const double h = gas::Enthalpy(mix, T);
  const double gamma = gas::Gamma(mix, T);

  // Combustion: fuel enters as it burns and carries its enthalpy (formation included).
  // The step's mean rate makes the burned mass exact whatever the step.
  const double burnRate = stepBurnRate_;  // kg/deg

  // Gas exchange through the two restrictions.
  const double phase = std::fmod(angle - period_ * std::floor(angle / period_), period_);
  const double intakeArea = formulas::TrapezoidArea(phase, in_.H1, in_.H12, in_.H13, in_.H2, in_.FH);
  const double exhaustArea = formulas::TrapezoidArea(phase, in_.B1, in_.B12, in_.B13, in_.B2, in_.FB);
  double intakeIn = 0, intakeOut = 0, exhaustIn = 0, exhaustOut = 0;  // kg/deg
  if (intakeArea > 0) {
    if (intakeP_ > p)
      intakeIn = intakeArea * secondsPerDeg_ *
                 formulas::RestrictionMassFlux(intakeP_, intakeT_, gas_.Air.R, intakeGamma_, p);
    else
      intakeOut = intakeArea * secondsPerDeg_ *
                  formulas::RestrictionMassFlux(p, T, mix.R, gamma, intakeP_);
  }
  if (exhaustArea > 0) {
    if (p > exhaustP_)
      exhaustOut = exhaustArea * secondsPerDeg_ *
                   formulas::RestrictionMassFlux(p, T, mix.R, gamma, exhaustP_);
    else
      exhaustIn = exhaustArea * secondsPerDeg_ *
                  formulas::RestrictionMassFlux(exhaustP_, exhaustT_, exhaustR_, exhaustGamma_, p);
  }

  // Wall heat transfer, J/deg to each surface.
  double toPiston = 0, toHead = 0, toLiner = 0;
  if (options_.HeatTransfer) {
    double coefficient = 0;  // W/(m^2 K)
    if (in_.TOFormula == 1) {
      coefficient = formulas::HohenbergCoefficient(V, p, T, meanPistonSpeed_);
    } else {
      double combustionTerm = 0;
      if (haveCombustionRef_ && angle < opening_) {
        const double motored = socPressure_ * std::pow(socVolume_ / V, socGamma_);
        combustionTerm = in_.C2 * geometry_.SweptVolume() * refTemperature_ /
                         (refPressure_ * refVolume_) * (p - motored);
      }
      const double w = formulas::WoschniVelocity(intakeArea > 0 || exhaustArea > 0,
                                                 meanPistonSpeed_, in_.Cu, combustionTerm);
      coefficient = formulas::WoschniCoefficient(in_.CG, in_.D, p, T, w);
    }
    const double linerArea =
        kPi * in_.D * (clearanceHeight_ + formulas::PistonTravel(geometry_, angle));
    const double scale = coefficient * secondsPerDeg_;
    toPiston = scale * pistonArea_ * (T - wallPiston_);
    toHead = scale * headArea_ * (T - wallHead_);
    toLiner = scale * linerArea * (T - wallLiner_);
  }
  const double wallHeat = toPiston + toHead + toLiner;
  const double outflow = intakeOut + exhaustOut;

  dy[kMass] = burnRate + intakeIn - intakeOut + exhaustIn - exhaustOut;
  dy[kProducts] = (1 + gas_.L0) * burnRate + exhaustF_ * exhaustIn - products * outflow;
  dy[kEnergy] = -p * dV - wallHeat + fuelEnthalpy_ * burnRate + intakeH_ * intakeIn +
                exhaustH_ * exhaustIn - h * outflow;
  dy[kFresh] = intakeIn - std::clamp(y[kFresh] / m, 0.0, 1.0) * outflow;
  dy[kWork] = p * dV;
  dy[kGrossWork] = angle >= -180 && angle < 180 ? p * dV : 0;
  dy[kWallPiston] = toPiston;
  dy[kWallHead] = toHead;
  dy[kWallLiner] = toLiner;
  dy[kFuelBurned] = burnRate;
  dy[kIntakeIn] = intakeIn;
  dy[kIntakeOut] = intakeOut;
  dy[kExhaustOut] = exhaustOut;
  dy[kExhaustIn] = exhaustIn;
  dy[kExhaustEnthalpy] = h * exhaustOut;
  dy[kExhaustProducts] = products * exhaustOut;

  if (point) {
    point->Angle = angle;
    point->Volume = V;
    point->Pressure = p;
    point->Temperature = T;
    point->Mass = m;
    point->Products = products;
    point->Burned = fuelToBurn_ > 0 ? wiebe_.Fraction(angle) : 0;
    point->HeatRelease = fuelToBurn_ > 0 ? heatingValue_ * fuelToBurn_ * wiebe_.Rate(angle) : 0;
    point->WallHeat = wallHeat;
    point->IntakeFlow = intakeIn - intakeOut;
    point->ExhaustFlow = exhaustOut - exhaustIn;
  }
}

// Classical fourth-order Runge-Kutta step; `start` receives the state at the step start.
void TCycleModel::Step(double angle, double h, TState& y, TTracePoint& start) {
  stepBurnRate_ = fuelToBurn_ > 0
                      ? fuelToBurn_ * (wiebe_.Fraction(angle + h) - wiebe_.Fraction(angle)) / h
                      : 0;
  TState k1, k2, k3, k4, t;
  Derivatives(angle, y, k1, &start);
  for (int i = 0; i < kStateSize; ++i) t[i] = y[i] + h / 2 * k1[i];
  Derivatives(angle + h / 2, t, k2, nullptr);
  for (int i = 0; i < kStateSize; ++i) t[i] = y[i] + h / 2 * k2[i];
  Derivatives(angle + h / 2, t, k3, nullptr);
  for (int i = 0; i < kStateSize; ++i) t[i] = y[i] + h * k3[i];
  Derivatives(angle + h, t, k4, nullptr);
  for (int i = 0; i < kStateSize; ++i) y[i] += h / 6 * (k1[i] + 2 * k2[i] + 2 * k3[i] + k4[i]);
}

// The explicit step is stable and free of overshoot while h times the relaxation rate of
// the cylinder pressure stays below about 1. The rate is bounded by the steepest part of
// the flow law (its linear continuation near equal pressures): slope of the mass flow by
// the pressure difference, times dp/dm = gamma p / m of the charge.
int TCycleModel::SubSteps(double angle, double h, const TState& y) {
  const double phase = std::fmod(angle - period_ * std::floor(angle / period_), period_);
  const double area =
      formulas::TrapezoidArea(phase, in_.H1, in_.H12, in_.H13, in_.H2, in_.FH) +
      formulas::TrapezoidArea(phase, in_.B1, in_.B12, in_.B13, in_.B2, in_.FB);
  if (area <= 0) return 1;
  const double T = Temperature(y);
  const gas::TGasPoly mix = gas::Mix(gas_, std::clamp(y[kProducts] / y[kMass], 0.0, 1.0));
  const double p = y[kMass] * mix.R * T / formulas::CylinderVolume(geometry_, angle);
  const double gamma = gas::Gamma(mix, T);
  constexpr double kProbe = 1e-3;  // relative pressure difference of the linear flow law
  const double slope =
      formulas::RestrictionMassFlux(p, T, mix.R, gamma, p * (1 - kProbe)) / (kProbe * p);
  const double rate = area * slope * gamma * p / y[kMass] * secondsPerDeg_;  // 1/deg
  return static_cast<int>(std::clamp(std::ceil(rate * h), 1.0, 1000.0));
}

void TCycleModel::CheckState(double angle, const TState& y) const {
  for (double v : y)
    if (!std::isfinite(v))
      throw std::runtime_error("расчёт цикла разошёлся на угле " + Number(angle) +
                               " град от в.м.т. сгорания");
  if (y[kMass] <= 0)
    throw std::runtime_error("цилиндр опустел на угле " + Number(angle) +
                             " град от в.м.т. сгорания (проверьте эффективные сечения органов "
                             "газообмена и давления)");
  if (lastTemperature_ < 150 || lastTemperature_ > 5000) {
    std::string hint;
    if (in_.TwoStroke() && intakeP_ <= exhaustP_)
      hint = " (давление выпуска не ниже давления впуска, и окна не могут продуть "
             "цилиндр)";
    throw std::runtime_error("температура газа вышла за пределы 150…5000 К (" +
                             Number(lastTemperature_) + " К) на угле " + Number(angle) +
                             " град от в.м.т. сгорания" + hint);
  }
}

TCycleResult TCycleModel::Run() {
  TCycleResult r;
  r.TwoStroke = in_.TwoStroke();
  r.PeriodDeg = period_;
  r.DiagramShiftDeg = r.TwoStroke ? 0 : 360;
  r.SweptVolume = geometry_.SweptVolume();
  r.ClearanceVolume = geometry_.ClearanceVolume();
  r.IntakePressure = intakeP_;
  r.IntakeTemperature = intakeT_;
  r.ExhaustPressure = exhaustP_;
  r.TrapAngle = trap_;
  r.Fuel = in_.QC;
  r.StoichiometricAir = gas_.L0;
  r.FuelEnergy = in_.QC * heatingValue_;

  // First guess: the trapped volume filled with intake air, slightly warmed.
  TState y{};
  lastTemperature_ = intakeT_ + 20;
  y[kMass] = intakeP_ * formulas::CylinderVolume(geometry_, trap_) /
             (gas_.Air.R * lastTemperature_);
  y[kProducts] = 0;
  y[kEnergy] = y[kMass] * gas::Energy(gas_.Air, lastTemperature_);

  std::vector<TTracePoint> trace;
  trace.reserve(nodes_.size());
  for (int cycle = 1; cycle <= options_.MaxCycles; ++cycle) {
    r.Cycles = cycle;
    r.LastChange = RunCycle(y, trace, r);
    if (cycle > 1 && r.LastChange < options_.Tolerance) {
      r.Converged = true;
      break;
    }
  }
  r.Trace = std::move(trace);
  if (!r.Converged)
    r.Notes.push_back("Состояние заряда не установилось за " +
                      std::to_string(options_.MaxCycles) + " циклов (последнее относительное изменение " +
                      Number(r.LastChange, 3) + "); диаграмма взята по последнему циклу.");
  Summarise(r);
  FindExtremes(r);
  BuildDiagram(r);
  return r;
}

double TCycleModel::RunCycle(TState& y, std::vector<TTracePoint>& trace, TCycleResult& r) {
  for (int i = kFresh; i < kStateSize; ++i) y[i] = 0;
  const TState start = y;
  const double startT = Temperature(y);
  const gas::TGasPoly startMix = gas::Mix(gas_, y[kProducts] / y[kMass]);
  refTemperature_ = startT;
  refVolume_ = formulas::CylinderVolume(geometry_, trap_);
  refPressure_ = y[kMass] * startMix.R * startT / refVolume_;
  const double trappedAir = y[kMass] - y[kProducts];  // air not yet burned, kg
  fuelToBurn_ = in_.QC > 0 ? std::min(in_.QC, trappedAir / gas_.L0) : 0;
  haveCombustionRef_ = false;

  trace.clear();
  for (std::size_t k = 0; k + 1 < nodes_.size(); ++k) {
    const double angle = nodes_[k];
    if (fuelToBurn_ > 0 && !haveCombustionRef_ && angle >= wiebe_.Start - 1e-9) {
      const double T = Temperature(y);
      const gas::TGasPoly mix = gas::Mix(gas_, y[kProducts] / y[kMass]);
      socVolume_ = formulas::CylinderVolume(geometry_, angle);
      socPressure_ = y[kMass] * mix.R * T / socVolume_;
      socGamma_ = gas::Gamma(mix, T);
      haveCombustionRef_ = true;
    }
    // Several sub-steps where the flow through an open valve would equalise the
    // pressures faster than one step can follow (small cylinders at low speed).
    const double h = nodes_[k + 1] - angle;
    const int parts = SubSteps(angle, h, y);
    TTracePoint point, unused;
    stepsTaken_ += parts;
    if (stepsTaken_ > options_.StepBudget)
      throw std::runtime_error("расчёт рабочего процесса не уложился в " + std::to_string(options_.StepBudget) +
                               " шагов интегрирования (цикл " + std::to_string(r.Cycles) + ", угол " + Number(angle) +
                               " град): проверьте частоту вращения и проходные сечения органов газообмена");
    for (int part = 0; part < parts; ++part) {
      Step(angle + part * h / parts, h / parts, y, part == 0 ? point : unused);
      CheckState(angle + (part + 1) * h / parts, y);
    }
    trace.push_back(point);
  }
  TState unused;
  TTracePoint last;
  stepBurnRate_ = 0;
  Derivatives(nodes_.back(), y, unused, &last);
  trace.push_back(last);

  // Next cycle's backflow from the exhaust: the mean state of this cycle's outflow.
  double exhaustChange = 0;
  if (y[kExhaustOut] > 0) {
    const double products = std::clamp(y[kExhaustProducts] / y[kExhaustOut], 0.0, 1.0);
    const double enthalpy = y[kExhaustEnthalpy] / y[kExhaustOut];
    const double T = gas::TemperatureFromEnthalpy(gas::Mix(gas_, products), enthalpy, exhaustT_);
    exhaustChange = std::fabs(T - exhaustT_) / exhaustT_;
    r.ExhaustTemperature = T;
    SetExhaustGas(T, products);
  }

  // Figures of this cycle (kept when it is the last one).
  r.TrappedMass = start[kMass];
  r.TrappedTemperature = startT;
  r.TrappedPressure = refPressure_;
  r.ProductsFraction = start[kProducts] / start[kMass];
  r.FreshAir = y[kFresh];
  r.ResidualFraction = 1 - std::clamp(y[kFresh] / y[kMass], 0.0, 1.0);
  r.DeliveredAir = y[kIntakeIn] - y[kIntakeOut];
  r.FuelBurned = y[kFuelBurned];
  r.IndicatedWork = y[kWork];
  r.GrossWork = r.TwoStroke ? y[kWork] : y[kGrossWork];
  r.WallHeatPiston = y[kWallPiston];
  r.WallHeatHead = y[kWallHead];
  r.WallHeatLiner = y[kWallLiner];

  // Change of the trapped state (mass, temperature, composition) and of the exhaust gas
  // that flows back in the next cycle.
  const double endT = Temperature(y);
  return std::max({std::fabs(y[kMass] - start[kMass]) / start[kMass],
                   std::fabs(endT - startT) / startT,
                   std::fabs(y[kProducts] / y[kMass] - start[kProducts] / start[kMass]),
                   exhaustChange});
}

void TCycleModel::Summarise(TCycleResult& r) const {
  const double intakeDensity = intakeP_ / (gas_.Air.R * intakeT_);
  r.VolumetricEfficiency = r.FreshAir / (intakeDensity * r.SweptVolume);
  const double trappedAir = r.TrappedMass * (1 - r.ProductsFraction);
  if (r.Fuel > 0) {
    r.ExcessAir = trappedAir / (gas_.L0 * r.Fuel);
    r.AirFuelRatio = trappedAir / r.Fuel;
    r.CombustionStart = wiebe_.Start;
    r.CombustionEnd = wiebe_.End();
  }
  r.HeatReleased = r.FuelBurned * heatingValue_;
  r.WallHeat = r.WallHeatPiston + r.WallHeatHead + r.WallHeatLiner;
  r.Imep = r.IndicatedWork / r.SweptVolume;
  r.GrossImep = r.GrossWork / r.SweptVolume;
  r.PumpingMep = r.Imep - r.GrossImep;
  const double cyclesPerSecond = in_.N / 60 * 360 / period_;
  r.IndicatedPower = r.IndicatedWork * cyclesPerSecond;
  if (r.FuelEnergy > 0) r.IndicatedEfficiency = r.IndicatedWork / r.FuelEnergy;
  if (r.Fuel > 0 && r.IndicatedWork > 0)
    r.SpecificFuelConsumption = r.Fuel / r.IndicatedWork * 3.6e6 * 1e3;  // g/kWh
}

// Peaks over the fine trace, angles on the diagram scale.
void TCycleModel::FindExtremes(TCycleResult& r) {
  const auto diagramAngle = [&r](double angle) {
    double a = std::fmod(angle + r.DiagramShiftDeg, r.PeriodDeg);
    if (a < 0) a += r.PeriodDeg;
    return a;
  };
  for (std::size_t k = 0; k < r.Trace.size(); ++k) {
    const TTracePoint& t = r.Trace[k];
    if (t.Pressure > r.PeakPressure) {
      r.PeakPressure = t.Pressure;
      r.PeakPressureAngle = diagramAngle(t.Angle);
    }
    if (t.Temperature > r.PeakTemperature) {
      r.PeakTemperature = t.Temperature;
      r.PeakTemperatureAngle = diagramAngle(t.Angle);
    }
    // Difference quotients over the steps; nodes closer than a thousandth of a degree
    // (events next to a grid point) would only show rounding.
    if (k > 0 && t.Angle - r.Trace[k - 1].Angle > 1e-3) {
      const TTracePoint& prev = r.Trace[k - 1];
      const double rise = (t.Pressure - prev.Pressure) / (t.Angle - prev.Angle);
      if (rise > r.MaxPressureRise) {
        r.MaxPressureRise = rise;
        r.MaxPressureRiseAngle = diagramAngle(0.5 * (t.Angle + prev.Angle));
      }
    }
  }
}

// The diagram: 1 deg steps read from the trace (its nodes include every whole degree).
void TCycleModel::BuildDiagram(TCycleResult& r) const {
  const int points = static_cast<int>(std::lround(period_));
  for (int i = 0; i < points; ++i) {
    const double angle = ToFrame(i - r.DiagramShiftDeg);
    auto after = std::lower_bound(r.Trace.begin(), r.Trace.end(), angle,
                                  [](const TTracePoint& t, double a) { return t.Angle < a; });
    if (after == r.Trace.end()) after = r.Trace.end() - 1;
    auto before = after == r.Trace.begin() ? after : after - 1;
    if (std::fabs(after->Angle - angle) < 1e-9) before = after;
    const double span = after->Angle - before->Angle;
    const double w = span > 0 ? (angle - before->Angle) / span : 0;
    const auto lerp = [w](double a, double b) { return a + w * (b - a); };
    TDiagramPoint d;
    d.Angle = i;
    d.Volume = lerp(before->Volume, after->Volume);
    d.Pressure = lerp(before->Pressure, after->Pressure);
    d.Temperature = lerp(before->Temperature, after->Temperature);
    d.Burned = lerp(before->Burned, after->Burned);
    d.HeatRelease = lerp(before->HeatRelease, after->HeatRelease);
    d.WallHeat = lerp(before->WallHeat, after->WallHeat);
    d.Mass = lerp(before->Mass, after->Mass);
    r.Diagram.push_back(d);
  }
  // The last point repeats the first one a period later.
  TDiagramPoint closing = r.Diagram.front();
  closing.Angle = period_;
  r.Diagram.push_back(closing);
}

}  // namespace

TCycleResult SimulateCycle(const TQinInput& input, const TCycleOptions& options) {
  TCycleModel model(input, options);
  TCycleResult result = model.Run();

  // Assumptions and warnings the report shows with the figures.
  auto& notes = result.Notes;
  if (result.TwoStroke)
    notes.insert(notes.begin(), "Впускные и выпускные органы — окна: расчёт как для двухтактного "
                                "двигателя (цикл 0…360 град, вспышка при 0 град).");
  if (result.TwoStroke && result.IntakePressure <= result.ExhaustPressure)
    notes.push_back("Давление впуска не превышает давления выпуска: окна не могут продуть "
                    "цилиндр.");
  if (input.V == 0)
    notes.push_back("Без наддува (V = 0): впуск из окружающей среды P0, T0; выпуск в "
                    "давление за турбиной PZT.");
  else
    notes.push_back("С наддувом (V = " + std::to_string(input.V) +
                    "): впуск из наддувочного воздуха PK, TK; выпуск в давление перед "
                    "турбиной PT.");
  if (input.TOFormula == 2)
    notes.push_back("Формула теплообмена alpha = f(Tст) (TOFormula = 3 в файле) не "
                    "реализована: применена формула Вошни.");
  if (input.QC > 0 && input.Hu < 1000)
    notes.push_back("Hu = " + Number(input.Hu) + " прочитано в кДж/кг; значение в МДж/кг "
                    "(около 42.5 для дизельного топлива) нужно вводить в кДж/кг (42500).");
  if (result.FuelBurned < input.QC * (1 - 1e-9))
    notes.push_back("Богатая смесь: заряда воздуха хватает на сгорание только " + Number(result.FuelBurned, 4) +
                    " кг из " + Number(input.QC, 4) + " кг топлива.");
  if (input.QC > 0 && input.ALFF > 0 &&
      std::fabs(result.ExcessAir - input.ALFF) > 0.25 * input.ALFF)
    notes.push_back("Цикловая подача QC и заряд воздуха дают коэффициент избытка воздуха " +
                    Number(result.ExcessAir, 3) + "; в данных ALFF = " + Number(input.ALFF, 3) +
                    " (в модели не используется).");
  if (input.QC > 0 && result.IndicatedWork <= 0)
    notes.push_back("Топливо не покрывает насосных потерь и теплоотдачи: индикаторная работа "
                    "отрицательна.");
  if (result.PumpingMep < -0.05e6)
    notes.push_back("Насосные потери " + Number(-result.PumpingMep / 1e6, 3) +
                    " МПа: эффективные сечения FB, FH, возможно, малы для рабочего объёма " +
                    Number(result.SweptVolume * 1e3, 4) + " дм3.");
  if (input.Vkam != 0 || input.MFk != 0)
    notes.push_back("Разделённая камера сгорания (Vkam, MFk) не моделируется: принята неразделённая камера.");
  if (input.PDP != 0)
    notes.push_back("Угол заклинки валов PDP (схема с ПДП) не моделируется.");
  if (input.QC == 0) notes.push_back("Нет подачи топлива (QC = 0): цикл прокрутки.");
  if (!options.HeatTransfer) notes.push_back("Теплоотдача в стенки отключена.");
  return result;
}

}  // namespace qinu
