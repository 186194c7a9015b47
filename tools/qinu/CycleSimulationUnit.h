// The working process of one cylinder: a single-zone cycle over the crank angle with
// gas exchange, Wiebe combustion and wall heat transfer, repeated until the trapped
// charge no longer changes; gives the indicator diagram and the cycle figures.
#pragma once

#include <string>
#include <vector>

#include "QinInputUnit.h"

namespace qinu {

struct TCycleOptions {
  bool HeatTransfer = true;  // false: adiabatic walls (for checks of the energy balance)
  double StepDeg = 0.25;     // integration step, deg; should divide 1 deg
  int MaxCycles = 60;
  double Tolerance = 1e-6;   // relative change of the trapped state that counts as converged
  // Integration steps (sub-steps included) of all cycles together. An ordinary engine needs
  // some ten to a hundred thousand; data that need far more (flow areas or speeds beyond any
  // engine) end with an error instead of running for minutes.
  long StepBudget = 1'500'000;
};

// State of the cylinder at one integration node of the last cycle.
struct TTracePoint {
  double Angle = 0;        // deg from the firing top dead centre, in the computed cycle
  double Volume = 0;       // m^3
  double Pressure = 0;     // Pa
  double Temperature = 0;  // K
  double Mass = 0;         // kg
  double Products = 0;     // mass fraction of combustion products in the charge
  double Burned = 0;       // burned fraction of the fuel, 0...1
  double HeatRelease = 0;  // J/deg, fuel energy set free
  double WallHeat = 0;     // J/deg, heat to the walls (negative when the walls heat the gas)
  double IntakeFlow = 0;   // kg/deg, into the cylinder through the intake (negative: back)
  double ExhaustFlow = 0;  // kg/deg, out through the exhaust (negative: back into the cylinder)
};

// One line of the indicator diagram.
struct TDiagramPoint {
  double Angle = 0;  // deg of the diagram: 0...720 with the firing top dead centre at 360
                     // (four-stroke), 0...360 with firing at 0 (two-stroke)
  double Volume = 0, Pressure = 0, Temperature = 0, Burned = 0, HeatRelease = 0,
         WallHeat = 0, Mass = 0;  // units as in TTracePoint
};

struct TCycleResult {
  bool TwoStroke = false;
  double PeriodDeg = 720;
  double DiagramShiftDeg = 360;  // diagram angle = angle from firing TDC + shift
  double SweptVolume = 0;        // m^3
  double ClearanceVolume = 0;    // m^3

  // Boundary conditions used.
  double IntakePressure = 0, IntakeTemperature = 0;  // Pa, K
  double ExhaustPressure = 0;                        // Pa
  double ExhaustTemperature = 0;  // K, mean (by enthalpy) of the gas leaving the cylinder

  // Convergence.
  int Cycles = 0;
  bool Converged = false;
  double LastChange = 0;  // relative change of the trapped state in the last cycle

  // Trapped charge.
  double TrapAngle = 0;         // deg from firing TDC
  double TrappedMass = 0;       // kg
  double TrappedPressure = 0;   // Pa
  double TrappedTemperature = 0;  // K
  double ResidualFraction = 0;  // mass fraction not delivered by the intake this cycle
  double ProductsFraction = 0;  // mass fraction of combustion products
  double FreshAir = 0;          // kg, trapped air delivered this cycle
  double DeliveredAir = 0;      // kg, net air through the intake this cycle
  double VolumetricEfficiency = 0;  // fresh trapped air / (intake density x swept volume)

  // Fuel and combustion.
  double Fuel = 0;              // kg per cycle as given
  double FuelBurned = 0;        // kg, less than Fuel only when the air runs out
  double FuelEnergy = 0;        // J, Fuel x Hu
  double HeatReleased = 0;      // J, FuelBurned x Hu
  double ExcessAir = 0;         // trapped air / (L0 x fuel)
  double AirFuelRatio = 0;      // trapped air / fuel
  double StoichiometricAir = 0; // L0, kg/kg
  double CombustionStart = 0, CombustionEnd = 0;  // deg from firing TDC

  // Pressure and temperature.
  double PeakPressure = 0, PeakPressureAngle = 0;  // Pa, diagram deg
  double MaxPressureRise = 0, MaxPressureRiseAngle = 0;  // Pa/deg, diagram deg
  double PeakTemperature = 0, PeakTemperatureAngle = 0;  // K, diagram deg

  // Work and heat per cycle.
  double IndicatedWork = 0;     // J, net over the whole cycle
  double GrossWork = 0;         // J, compression and expansion strokes (-180...180 deg)
  double Imep = 0, GrossImep = 0, PumpingMep = 0;  // Pa
  double IndicatedEfficiency = 0;   // net work / fuel energy
  double IndicatedPower = 0;        // W per cylinder
  double SpecificFuelConsumption = 0;  // g/kWh, indicated
  double WallHeat = 0, WallHeatPiston = 0, WallHeatHead = 0, WallHeatLiner = 0;  // J

  std::vector<TTracePoint> Trace;      // every integration node of the last cycle
  std::vector<TDiagramPoint> Diagram;  // 1 deg steps, the last point repeats the first
  std::vector<std::string> Notes;      // assumptions and warnings for the report
};

// Runs the cycle until the trapped state converges. The input must have passed
// ValidateQinInput. Throws std::runtime_error if the integration leaves the physical range
// or needs more steps than the budget allows.
TCycleResult SimulateCycle(const TQinInput& input, const TCycleOptions& options = {});

}  // namespace qinu
