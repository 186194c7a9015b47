// Gas properties against published thermochemical tables and against calculus.
#include <gtest/gtest.h>

#include <cmath>

#include "GasProperties.h"

namespace {

using namespace qinu::gas;

// Molar heat capacities (J/(mol K)) and enthalpies of formation (kJ/mol) from the
// NIST-JANAF Thermochemical Tables (Chase, 4th ed., 1998).
constexpr double kCpN2at300 = 29.125, kCpN2at1000 = 32.698, kCpN2at2000 = 36.035;
constexpr double kCpO2at300 = 29.385, kCpO2at1000 = 34.870, kCpO2at2000 = 37.788;
constexpr double kCpCO2at1000 = 54.308, kCpH2Oat1000 = 41.268;
constexpr double kFormationCO2 = -393.522, kFormationH2O = -241.826;

class QinuGasPropertiesTest : public ::testing::Test {
 protected:
  TGasModel model_ = BuildGasModel(DieselFuel());
  // Air of the model: 21 mol O2 and 79 mol N2; molar mass in kg/mol.
  double airMolarMass_ = (0.21 * 31.998 + 0.79 * 28.014) / 1000;

  double AirCpFromTables(double cpO2, double cpN2) const {
    return (0.21 * cpO2 + 0.79 * cpN2) / airMolarMass_;  // J/(kg K)
  }
};

TEST_F(QinuGasPropertiesTest, AirHeatCapacityMatchesTheJanafTables) {
  EXPECT_NEAR(Cp(model_.Air, 300), AirCpFromTables(kCpO2at300, kCpN2at300), 0.003 * 1000);
  EXPECT_NEAR(Cp(model_.Air, 1000), AirCpFromTables(kCpO2at1000, kCpN2at1000), 0.003 * 1150);
  EXPECT_NEAR(Cp(model_.Air, 2000), AirCpFromTables(kCpO2at2000, kCpN2at2000), 0.003 * 1250);
  // The textbook ratio of specific heats of cold air.
  EXPECT_NEAR(Gamma(model_.Air, 300), 1.400, 0.003);
  EXPECT_NEAR(model_.Air.R, 8.314462618 / airMolarMass_, 1e-6);
}

TEST_F(QinuGasPropertiesTest, ProductsMatchTheJanafTablesForTheFuelComposition) {
  // Moles of the stoichiometric products of 1 kg diesel fuel (C 0.870, H 0.126, O 0.004).
  const double carbon = 870 / 12.011, water = 126 / 1.008 / 2;
  const double oxygen = carbon + water / 2 - 4 / 15.999 / 2;
  const double nitrogen = oxygen * 79 / 21;
  const double productMass = 1 + model_.L0;  // kg
  const double cpExpected =
      (carbon * kCpCO2at1000 + water * kCpH2Oat1000 + nitrogen * kCpN2at1000) / productMass;
  EXPECT_NEAR(Cp(model_.Products, 1000), cpExpected, 0.004 * cpExpected);
  // Mass balance: the products weigh as much as the fuel and its air.
  EXPECT_NEAR(carbon * 44.009 + water * 2 * 18.015 / 2 + nitrogen * 28.014, productMass * 1000, 1);
  // The enthalpy at 298.15 K of products minus air is the enthalpy of formation of CO2
  // and H2O (O2 and N2 have none).
  const double formation = (carbon * kFormationCO2 + water * kFormationH2O) * 1000;  // J
  const double modelled = productMass * Enthalpy(model_.Products, kReferenceTemperature) -
                          model_.L0 * Enthalpy(model_.Air, kReferenceTemperature);
  EXPECT_NEAR(modelled, formation, 0.002 * std::fabs(formation));
}

TEST_F(QinuGasPropertiesTest, StoichiometricAirOfDieselFuel) {
  // l0 = (8/3 C + 8 H - O) / 0.232 kg/kg with 23.2 % oxygen by mass in air
  // (Kolchin & Demidov; Heywood, App. D gives 14.5 for CH1.8).
  EXPECT_NEAR(model_.L0, (8.0 / 3 * 0.870 + 8 * 0.126 - 0.004) / 0.232, 0.15);
  EXPECT_GT(BuildGasModel(Petrol()).L0, model_.L0);
}

TEST_F(QinuGasPropertiesTest, PropertiesAreConsistentDerivatives) {
  const TGasPoly mix = Mix(model_, 0.4);
  for (double T : {300.0, 700.0, 1500.0, 2500.0}) {
    const double dT = 1e-3 * T;
    const double dEnergy = (Energy(mix, T + dT) - Energy(mix, T - dT)) / (2 * dT);
    const double dEntropy = (Entropy0(mix, T + dT) - Entropy0(mix, T - dT)) / (2 * dT);
    EXPECT_NEAR(dEnergy, Cv(mix, T), 1e-5 * Cv(mix, T)) << T;
    EXPECT_NEAR(dEntropy, Cp(mix, T) / T, 1e-5 * Cp(mix, T) / T) << T;
  }
  // The two temperature ranges of the polynomials meet without a step.
  EXPECT_NEAR(Enthalpy(mix, 999.999999), Enthalpy(mix, 1000.0), 20.0);
  EXPECT_NEAR(Cp(mix, 999.999999), Cp(mix, 1000.0), 0.5);
}

TEST_F(QinuGasPropertiesTest, TemperatureIsRecoveredFromEnergyAndEnthalpy) {
  const TGasPoly mix = Mix(model_, 0.7);
  for (double T : {250.0, 999.0, 1000.0, 1800.0, 3200.0}) {
    EXPECT_NEAR(TemperatureFromEnergy(mix, Energy(mix, T), 600), T, 1e-6 * T);
    EXPECT_NEAR(TemperatureFromEnthalpy(mix, Enthalpy(mix, T), 2500), T, 1e-6 * T);
  }
}

TEST_F(QinuGasPropertiesTest, FuelEnthalpySetsFreeTheHeatingValue) {
  // Burning 1 kg fuel with L0 kg air and cooling the products to 298.15 K frees Hu.
  const double hu = 42.5e6;
  const double before = FuelEnthalpy(model_, hu) + model_.L0 * Enthalpy(model_.Air, kReferenceTemperature);
  const double after = (1 + model_.L0) * Enthalpy(model_.Products, kReferenceTemperature);
  EXPECT_NEAR(before - after, hu, 1e-6 * hu);
}

}  // namespace
