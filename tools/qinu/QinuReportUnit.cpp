#include "QinuReportUnit.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <stdexcept>

namespace qinu {

namespace {

constexpr double kMPa = 1e6;

// printf into a std::string; the program never changes the C locale, so "." is the
// decimal separator.
std::string Format(const char* format, ...) {
  va_list args;
  va_start(args, format);
  char buffer[512];
  const int length = std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  return std::string(buffer, length < 0 ? 0 : std::min<std::size_t>(length, sizeof buffer - 1));
}

std::string Row(const char* name, double value, const char* unit, const char* meaning) {
  return Format("  %-10s %14.6g  %-9s %s\n", name, value, unit, meaning);
}

std::string Figure(const char* meaning, const std::string& value) {
  return Format("  %-52s %s\n", meaning, value.c_str());
}

const char* ChoiceText(int value, std::initializer_list<const char*> texts) {
  int i = 0;
  for (const char* text : texts)
    if (i++ == value) return text;
  return "?";
}

}  // namespace

std::string FormatDiagram(const TCycleResult& result) {
  std::string text = Format("%8s%16s%8s%10s%9s%12s%12s%11s\n", "fi,deg", "V,dm3", "p,MPa", "T,K",
                            "x", "dQ,J/deg", "dQw,J/deg", "m,g");
  for (const TDiagramPoint& d : result.Diagram) {
    const double pressure = d.Pressure / kMPa;
    if (!(pressure >= 0 && pressure < 999.99995))
      throw std::runtime_error("давление в цилиндре " + std::to_string(pressure) +
                               " МПа не помещается в формат диаграммы");
    text += Format("%8.1f%16.6f%8.4f%10.1f%9.5f%12.3f%12.3f%11.5f\n", d.Angle, d.Volume * 1e3,
                   pressure, d.Temperature, d.Burned, d.HeatRelease, d.WallHeat, d.Mass * 1e3);
  }
  return text;
}

std::string FormatReport(const TQinInput& in, const TCycleResult& r, const std::string& inputName) {
  std::string t;
  t += "QINU - рабочий процесс двигателя\n";
  t += "Исходные данные: " + inputName + "\n\n";

  t += "INPUT DATA\n";
  t += Row("D", in.D, "m", "bore");
  t += Row("S", in.S, "m", "stroke");
  t += Row("E", in.E, "-", "compression ratio");
  t += Row("Lam", in.Lam, "-", "crank radius / rod length");
  t += Row("N", in.N, "rpm", "speed");
  t += Row("PDP", in.PDP, "deg", "shaft phase angle (opposed pistons)");
  t += Row("Q", in.Q, "-", "number of cylinders");
  t += Row("EM", in.EM, "-", "mechanical efficiency");
  t += Row("KK", in.KK, "-", "compressor efficiency");
  t += Row("KT", in.KT, "-", "turbine efficiency");
  t += Row("PK", in.PK, "MPa", "boost pressure");
  t += Row("DP", in.DP, "MPa", "pressure loss of the air path");
  t += Row("TK", in.TK, "K", "boost-air temperature");
  t += Row("P0", in.P0, "MPa", "ambient pressure");
  t += Row("T0", in.T0, "K", "ambient temperature");
  t += Row("PT", in.PT, "MPa", "turbine-inlet pressure");
  t += Row("PZT", in.PZT, "MPa", "pressure after the turbine");
  t += Row("B1", in.B1, "deg", "exhaust opening starts");
  t += Row("B12", in.B12, "deg", "exhaust fully open");
  t += Row("B13", in.B13, "deg", "exhaust closing starts");
  t += Row("B2", in.B2, "deg", "exhaust closed");
  t += Row("FB", in.FB, "m^2", "maximum effective exhaust area");
  t += Row("H1", in.H1, "deg", "intake opening starts");
  t += Row("H12", in.H12, "deg", "intake fully open");
  t += Row("H13", in.H13, "deg", "intake closing starts");
  t += Row("H2", in.H2, "deg", "intake closed");
  t += Row("FH", in.FH, "m^2", "maximum effective intake area");
  t += Row("BPer", in.BPer, "-", "scavenging mixing parameter");
  t += Row("Hu", in.Hu, "kJ/kg", "lower heating value");
  t += Row("QC", in.QC, "kg", "fuel per cycle and cylinder");
  t += Row("ALFF", in.ALFF, "-", "excess-air ratio of the design");
  t += Row("FOPT", in.FOPT, "deg", "start of injection");
  t += Row("FOPZ", in.FOPZ, "deg", "ignition advance");
  t += Row("Fz", in.Fz, "deg", "combustion duration");
  t += Row("XT", in.XT, "-", "kinetic fraction of the fuel");
  t += Row("FCT", in.FCT, "deg", "maximum kinetic rate after the start");
  t += Row("MT", in.MT, "-", "kinetic Wiebe exponent");
  t += Row("MW", in.MW, "-", "diffusion Wiebe exponent");
  t += Row("TPOR", in.TPOR, "C", "piston temperature");
  t += Row("Tkr", in.Tkr, "C", "head temperature");
  t += Row("TWT", in.TWT, "C", "liner temperature");
  t += Row("OFPK", in.OFPK, "-", "piston area / head area");
  t += Row("ALFE", in.ALFE, "-", "peak / mean heat-transfer coefficient");
  t += Row("ALFR", in.ALFR, "-", "relative radius of the peak");
  t += Row("CG", in.CG, "-", "Woschni constant");
  t += Row("Cu", in.Cu, "m/s", "swirl velocity");
  t += Row("C2", in.C2, "m/(s K)", "Woschni C2");
  t += Row("Vkam", in.Vkam, "cm^3", "divided-chamber volume");
  t += Row("MFk", in.MFk, "cm^2", "divided-chamber throat area");
  t += Format("  %-10s %14s  %-9s %s\n", "TOFormula",
              ChoiceText(in.TOFormula, {"Woschni", "Hohenberg", "alpha=f(Tw)"}), "",
              "heat-transfer correlation");
  t += Format("  %-10s %14s\n", "Vp", ChoiceText(in.Vp, {"valves", "ports"}));
  t += Format("  %-10s %14s\n", "Vyp", ChoiceText(in.Vyp, {"valves", "ports"}));
  t += Format("  %-10s %14s\n", "V",
              ChoiceText(in.V, {"natural", "turbocharger", "power turbine"}));
  t += Format("  %-10s %14s\n", "EngineType", ChoiceText(in.EngineType, {"diesel", "spark"}));

  t += "\nMODEL\n";
  t += "  Single-zone cycle; air and combustion products with cp(T) (NASA polynomials);\n"
       "  double Wiebe heat release; " +
       std::string(in.TOFormula == 1 ? "Hohenberg" : "Woschni") +
       " wall heat transfer; compressible flow through\n"
       "  the intake and exhaust restrictions; cycles repeated until the trapped state "
       "converges.\n";
  t += Format("  %s engine, cycle of %.0f deg; diagram angle = angle from the firing TDC + %.0f deg.\n",
              r.TwoStroke ? "Two-stroke" : "Four-stroke", r.PeriodDeg, r.DiagramShiftDeg);
  for (const std::string& note : r.Notes) t += "  * " + note + "\n";

  t += "\nRESULTS\n";
  t += Figure("Cycles to convergence", Format("%d%s", r.Cycles, r.Converged ? "" : " (not converged)"));
  t += Figure("Swept volume, dm^3", Format("%.4f", r.SweptVolume * 1e3));
  t += Figure("Intake plenum: pressure MPa, temperature K",
              Format("%.4f, %.1f", r.IntakePressure / kMPa, r.IntakeTemperature));
  t += Figure("Exhaust plenum pressure, MPa", Format("%.4f", r.ExhaustPressure / kMPa));
  t += Figure("Trapped at (deg from firing TDC)", Format("%.1f", r.TrapAngle));
  t += Figure("Trapped mass, g", Format("%.4f", r.TrappedMass * 1e3));
  t += Figure("Trapped pressure MPa, temperature K",
              Format("%.4f, %.1f", r.TrappedPressure / kMPa, r.TrappedTemperature));
  t += Figure("Residual gas fraction", Format("%.4f", r.ResidualFraction));
  t += Figure("Combustion products in the trapped charge", Format("%.4f", r.ProductsFraction));
  t += Figure("Volumetric efficiency (fresh air / intake density)", Format("%.4f", r.VolumetricEfficiency));
  t += Figure("Stoichiometric air L0, kg/kg", Format("%.3f", r.StoichiometricAir));
  if (r.Fuel > 0) {
    t += Figure("Excess-air ratio alpha", Format("%.3f", r.ExcessAir));
    t += Figure("Air-fuel ratio, kg/kg", Format("%.2f", r.AirFuelRatio));
    t += Figure("Combustion from ... to, deg from firing TDC",
                Format("%.1f ... %.1f", r.CombustionStart, r.CombustionEnd));
    t += Figure("Fuel energy QC x Hu, J", Format("%.1f", r.FuelEnergy));
    t += Figure("Heat released (burned fuel x Hu), J", Format("%.1f", r.HeatReleased));
  }
  t += Figure("Peak pressure, MPa", Format("%.4f", r.PeakPressure / kMPa));
  t += Figure("  at diagram angle, deg", Format("%.2f (%.2f from the firing TDC)", r.PeakPressureAngle,
                                                r.PeakPressureAngle - r.DiagramShiftDeg));
  t += Figure("Maximum pressure-rise rate, MPa/deg", Format("%.4f", r.MaxPressureRise / kMPa));
  t += Figure("  at diagram angle, deg", Format("%.2f", r.MaxPressureRiseAngle));
  t += Figure("Peak temperature, K", Format("%.1f", r.PeakTemperature));
  t += Figure("  at diagram angle, deg", Format("%.2f", r.PeakTemperatureAngle));
  t += Figure("Mean exhaust temperature, K", Format("%.1f", r.ExhaustTemperature));
  t += Figure("Indicated work per cycle (net), J", Format("%.1f", r.IndicatedWork));
  t += Figure("Indicated mean effective pressure (net), MPa", Format("%.4f", r.Imep / kMPa));
  t += Figure("  gross (compression and expansion), MPa", Format("%.4f", r.GrossImep / kMPa));
  t += Figure("  pumping, MPa", Format("%.4f", r.PumpingMep / kMPa));
  if (r.Fuel > 0) {
    t += Figure("Indicated efficiency", Format("%.4f", r.IndicatedEfficiency));
    if (r.SpecificFuelConsumption > 0)
      t += Figure("Indicated specific fuel consumption, g/kWh",
                  Format("%.1f", r.SpecificFuelConsumption));
  }
  t += Figure("Indicated power per cylinder, kW", Format("%.2f", r.IndicatedPower / 1e3));
  if (in.Q > 0) {
    t += Figure("Indicated power of the engine, kW", Format("%.1f", r.IndicatedPower * in.Q / 1e3));
    if (r.IndicatedPower > 0)
      t += Figure("Effective power with EM, kW", Format("%.1f", r.IndicatedPower * in.Q * in.EM / 1e3));
  }
  t += Figure("Heat to the walls per cycle, J", Format("%.1f", r.WallHeat));
  t += Figure("  piston, head, liner, J",
              Format("%.1f, %.1f, %.1f", r.WallHeatPiston, r.WallHeatHead, r.WallHeatLiner));
  if (r.FuelEnergy > 0)
    t += Figure("  share of the fuel energy", Format("%.4f", r.WallHeat / r.FuelEnergy));
  t += "\nThe indicator diagram has " + std::to_string(r.Diagram.size()) +
       " points in 1 deg steps.\n";
  return t;
}

std::string FormatFailureReport(const std::string& inputName, const std::string& message) {
  return "QINU - рабочий процесс двигателя\n"
         "Исходные данные: " + inputName + "\n\n"
         "ОШИБКА: " + message + "\n\n"
         "Расчёт не выполнен; индикаторная диаграмма не записана.\n";
}

}  // namespace qinu
