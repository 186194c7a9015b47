#include "GasProperties.h"

#include <cmath>
#include <stdexcept>
#include <string>

namespace qinu::gas {

namespace {

// NASA seven-coefficient polynomials, 200 (N2: 300) ... 1000 ... 3500 K, from the
// thermodynamic data of GRI-Mech 3.0 (Smith et al., 1999). cp/Ru = a0 + a1 T + ... + a4 T^4,
// h/(Ru T) = a0 + a1 T/2 + ... + a4 T^4/5 + a5/T, s/Ru = a0 ln T + a1 T + ... + a6.
struct TSpecies {
  double MolarMass;  // g/mol
  double Low[7];
  double High[7];
};

constexpr TSpecies kO2 = {
    31.998,
    {3.78245636E+00, -2.99673416E-03, 9.84730201E-06, -9.68129509E-09, 3.24372837E-12,
     -1.06394356E+03, 3.65767573E+00},
    {3.28253784E+00, 1.48308754E-03, -7.57966669E-07, 2.09470555E-10, -2.16717794E-14,
     -1.08845772E+03, 5.45323129E+00}};
constexpr TSpecies kN2 = {
    28.014,
    {3.29867700E+00, 1.40824040E-03, -3.96322200E-06, 5.64151500E-09, -2.44485400E-12,
     -1.02089990E+03, 3.95037200E+00},
    {2.92664000E+00, 1.48797680E-03, -5.68476000E-07, 1.00970380E-10, -6.75335100E-15,
     -9.22797700E+02, 5.98052800E+00}};
constexpr TSpecies kCO2 = {
    44.009,
    {2.35677352E+00, 8.98459677E-03, -7.12356269E-06, 2.45919022E-09, -1.43699548E-13,
     -4.83719697E+04, 9.90105222E+00},
    {3.85746029E+00, 4.41437026E-03, -2.21481404E-06, 5.23490188E-10, -4.72084164E-14,
     -4.87591660E+04, 2.27163806E+00}};
constexpr TSpecies kH2O = {
    18.015,
    {4.19864056E+00, -2.03643410E-03, 6.52040211E-06, -5.48797062E-09, 1.77197817E-12,
     -3.02937267E+04, -8.49032208E-01},
    {3.03399249E+00, 2.17691804E-03, -1.64072518E-07, -9.70419870E-11, 1.68200992E-14,
     -3.00042971E+04, 4.96677010E+00}};

constexpr double kMolarMassC = 12.011, kMolarMassH = 1.008, kMolarMassO = 15.999;  // g/mol
constexpr double kNitrogenPerOxygen = 79.0 / 21.0;  // moles of N2 per mole of O2 in air
constexpr double kSwitchTemperature = 1000;          // K

// Adds `moles` (mol per kg of mixture) of a species to a per-kilogram polynomial.
void AddSpecies(TGasPoly& gas, const TSpecies& species, double moles) {
  const double weight = moles * kUniversalGasConstant;
  gas.R += weight;
  for (int i = 0; i < 7; ++i) {
    gas.Low[i] += weight * species.Low[i];
    gas.High[i] += weight * species.High[i];
  }
}

const double* Coefficients(const TGasPoly& gas, double T) {
  return T < kSwitchTemperature ? gas.Low : gas.High;
}

}  // namespace

TFuelComposition DieselFuel() { return {0.870, 0.126, 0.004}; }
TFuelComposition Petrol() { return {0.855, 0.145, 0.0}; }

TGasModel BuildGasModel(const TFuelComposition& fuel) {
  TGasModel model;
  // Air: one mole of O2 with 79/21 moles of N2; moles per kilogram of air.
  const double airMolarMass = (kO2.MolarMass + kNitrogenPerOxygen * kN2.MolarMass) /
                              (1 + kNitrogenPerOxygen);  // g/mol
  const double airMoles = 1000.0 / airMolarMass;         // mol/kg
  AddSpecies(model.Air, kO2, airMoles / (1 + kNitrogenPerOxygen));
  AddSpecies(model.Air, kN2, airMoles * kNitrogenPerOxygen / (1 + kNitrogenPerOxygen));

  // Complete combustion of 1 kg fuel: C -> CO2, H -> H2O, the fuel's own oxygen counted.
  const double carbon = 1000.0 * fuel.C / kMolarMassC;    // mol per kg fuel
  const double hydrogen = 1000.0 * fuel.H / kMolarMassH;
  const double oxygen = 1000.0 * fuel.O / kMolarMassO;
  const double oxygenNeeded = carbon + hydrogen / 4 - oxygen / 2;  // mol O2 per kg fuel
  model.L0 = oxygenNeeded * (1 + kNitrogenPerOxygen) * airMolarMass / 1000.0;
  const double productMass = 1 + model.L0;  // kg per kg fuel
  AddSpecies(model.Products, kCO2, carbon / productMass);
  AddSpecies(model.Products, kH2O, hydrogen / 2 / productMass);
  AddSpecies(model.Products, kN2, oxygenNeeded * kNitrogenPerOxygen / productMass);
  return model;
}

double Cp(const TGasPoly& gas, double T) {
  const double* a = Coefficients(gas, T);
  return a[0] + T * (a[1] + T * (a[2] + T * (a[3] + T * a[4])));
}

double Cv(const TGasPoly& gas, double T) { return Cp(gas, T) - gas.R; }

double Enthalpy(const TGasPoly& gas, double T) {
  const double* a = Coefficients(gas, T);
  return T * (a[0] + T * (a[1] / 2 + T * (a[2] / 3 + T * (a[3] / 4 + T * a[4] / 5)))) + a[5];
}

double Energy(const TGasPoly& gas, double T) { return Enthalpy(gas, T) - gas.R * T; }

double Entropy0(const TGasPoly& gas, double T) {
  const double* a = Coefficients(gas, T);
  return a[0] * std::log(T) + T * (a[1] + T * (a[2] / 2 + T * (a[3] / 3 + T * a[4] / 4))) + a[6];
}

double Gamma(const TGasPoly& gas, double T) {
  const double cp = Cp(gas, T);
  return cp / (cp - gas.R);
}

TGasPoly Mix(const TGasModel& model, double products) {
  const double air = 1 - products;
  TGasPoly gas;
  gas.R = air * model.Air.R + products * model.Products.R;
  for (int i = 0; i < 7; ++i) {
    gas.Low[i] = air * model.Air.Low[i] + products * model.Products.Low[i];
    gas.High[i] = air * model.Air.High[i] + products * model.Products.High[i];
  }
  return gas;
}

namespace {

// Newton iteration on a monotonic property; the specific heat is its derivative.
template <class Value, class Slope>
double SolveTemperature(double target, double guess, Value value, Slope slope) {
  if (!std::isfinite(target))
    throw std::runtime_error("расчёт рабочего процесса разошёлся: энергия газа перестала быть числом; "
                             "проверьте исходные данные");
  double T = guess > 100 && guess < 6000 ? guess : 1000;
  for (int iteration = 0; iteration < 50; ++iteration) {
    const double step = (value(T) - target) / slope(T);
    double next = T - step;
    // Keep the iterate in the range where the polynomials are meaningful.
    if (next < 0.5 * T) next = 0.5 * T;
    if (next > 2 * T) next = 2 * T;
    if (std::fabs(next - T) < 1e-9 * T) return next;
    T = next;
  }
  throw std::runtime_error("ни одна температура газа не соответствует удельной энергии " +
                           std::to_string(target) + " Дж/кг");
}

}  // namespace

double TemperatureFromEnergy(const TGasPoly& gas, double energy, double guess) {
  return SolveTemperature(
      energy, guess, [&](double T) { return Energy(gas, T); },
      [&](double T) { return Cv(gas, T); });
}

double TemperatureFromEnthalpy(const TGasPoly& gas, double enthalpy, double guess) {
  return SolveTemperature(
      enthalpy, guess, [&](double T) { return Enthalpy(gas, T); },
      [&](double T) { return Cp(gas, T); });
}

double FuelEnthalpy(const TGasModel& model, double lowerHeatingValue) {
  const double T = kReferenceTemperature;
  return (1 + model.L0) * Enthalpy(model.Products, T) - model.L0 * Enthalpy(model.Air, T) +
         lowerHeatingValue;
}

}  // namespace qinu::gas
