// Thermodynamic properties of the cylinder gas: an ideal-gas mixture of air and the
// stoichiometric combustion products of the fuel, with temperature-dependent specific
// heats from the NASA seven-coefficient polynomials (GRI-Mech 3.0 data).
#pragma once

namespace qinu::gas {

constexpr double kUniversalGasConstant = 8.314462618;  // J/(mol K)
constexpr double kReferenceTemperature = 298.15;       // K, where heating values are defined
constexpr double kPascalPerAt = 98066.5;                // technical atmosphere (kgf/cm^2)

// Properties of one kilogram of a fixed gas composition. The coefficients are the NASA
// ones of the species, weighted by their moles per kilogram and multiplied by the
// universal gas constant: cp = c0 + c1 T + ... + c4 T^4 in J/(kg K); the enthalpy
// includes the enthalpy of formation (c5), so combustion needs no separate source term.
struct TGasPoly {
  double R = 0;          // specific gas constant, J/(kg K)
  double Low[7] = {};    // 200...1000 K
  double High[7] = {};   // 1000...3500 K
};

// Elemental mass fractions of a liquid hydrocarbon fuel.
struct TFuelComposition {
  double C = 0, H = 0, O = 0;
};

// Diesel fuel C 0.870, H 0.126, O 0.004 and petrol C 0.855, H 0.145 (the mean
// compositions used in Kolchin & Demidov, "Design of automotive and tractor engines").
TFuelComposition DieselFuel();
TFuelComposition Petrol();

// The two constituents of the cylinder gas for one fuel.
struct TGasModel {
  TGasPoly Air;       // dry air, 21 % O2 and 79 % N2 by moles
  TGasPoly Products;  // products of burning 1 kg fuel with L0 kg air: CO2, H2O, N2
  double L0 = 0;      // stoichiometric air, kg air per kg fuel
};
TGasModel BuildGasModel(const TFuelComposition& fuel);

// Per kilogram of one composition, at temperature T in K.
double Cp(const TGasPoly& gas, double T);          // J/(kg K)
double Cv(const TGasPoly& gas, double T);          // J/(kg K)
double Enthalpy(const TGasPoly& gas, double T);    // J/kg, including formation
double Energy(const TGasPoly& gas, double T);      // J/kg, u = h - R T
double Entropy0(const TGasPoly& gas, double T);    // J/(kg K) at the standard pressure
double Gamma(const TGasPoly& gas, double T);       // cp / cv

// The mixture with the mass fraction `products` of combustion products (0 = air).
TGasPoly Mix(const TGasModel& model, double products);

// Temperature of a given specific energy or enthalpy (Newton from the guess, K).
double TemperatureFromEnergy(const TGasPoly& gas, double energy, double guess);
double TemperatureFromEnthalpy(const TGasPoly& gas, double enthalpy, double guess);

// Enthalpy (J/kg) that liquid fuel at the reference temperature must carry so that
// burning it with stoichiometric air, products back at the reference temperature,
// sets free exactly the lower heating value `lowerHeatingValue` (J/kg).
double FuelEnthalpy(const TGasModel& model, double lowerHeatingValue);

}  // namespace qinu::gas
