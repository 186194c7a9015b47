// Writes the bundled example project: a turbocharged four-stroke V16 high-speed diesel with
// 26 cm bore and stroke (8 throws, two rows of articulated rods, 45° between the rows), whose
// indicator diagram is the bundled "V16-26-26.dia" beside the project.
//
// Masses and dimensions are those of the program's default engine (the 26/26 class it was
// built for); the webs, counterweights and main-bearing compliances are typical of that class:
// web 40 kg with its centre of mass 70 mm from the crank axis, counterweight 35 kg at 200 mm
// opposite the crankpin, main bearings of 1 GN/m radial stiffness free to tilt. The stress
// concentration coefficients are computed from the shipped design graphs.
#include <iostream>
#include <cmath>
#include <numbers>

#include "ConcentrationCoeffsUnit.h"
#include "GraphFileUnit.h"
#include "MotorMassUnit.h"
#include "OscillCalcUnit.h"
#include "ProjectFileUnit.h"
#include "ProgramPathUnit.h"
#include "SteelDataBaseUnit.h"

namespace {
constexpr double Deg = std::numbers::pi / 180;
}

// Moment of inertia of a steel disc or ring about its axis, kg·m²: m·(R² + r²)/2.
double steelRing(double outerDiameter, double innerDiameter, double width) {
  const double R = outerDiameter / 2, r = innerDiameter / 2, steelDensity = 7850;
  const double mass = std::numbers::pi * (R * R - r * r) * width * steelDensity;
  return mass * (R * R + r * r) / 2;
}

// The shaft line of a diesel-generator set: damper housing with pulley, the eight throws,
// flywheel, flexible coupling, generator rotor; a viscous (silicone) damper on the front mass.
void addTorsionalModel(TEngineDataStruct& e) {
  e.ResizeTorsionalModel(11);
  e.NFirstMass = 2;
  MotorMass::Fill(e);  // masses 2 … 9 and the sections between them
  const MotorMass::TThrow crank = MotorMass::Compute(e);
  auto section = [&e](int k, double stiffness) {  // between masses k and k + 1 (1-based), kN·m/rad
    e.CMatrix[static_cast<std::size_t>(k - 1)][static_cast<std::size_t>(k)] = stiffness;
    e.CMatrix[static_cast<std::size_t>(k)][static_cast<std::size_t>(k - 1)] = stiffness;
  };
  // Damper housing and pulley: a steel disc of 0.5 m diameter and 0.1 m width. The front
  // journal and the flywheel flange are taken as stiff as one throw.
  e.IMass[0] = steelRing(0.5, 0, 0.1);
  section(1, crank.Cs);
  // Flywheel from J = ΔW/(δ·ω²): excess work ΔW = 1557 J of the example's summed throw torque
  // at 1000 rpm and a cyclic irregularity δ = 1/300 of a generator drive.
  const double omega = e.Omega();
  e.IMass[9] = 1557 / (omega * omega / 300);
  section(9, crank.Cs);
  // Generator rotor: a solid steel cylinder of 0.8 m diameter and 1 m length, on a highly
  // flexible rubber coupling of 200 kN·m/rad.
  e.IMass[10] = steelRing(0.8, 0, 1.0);
  section(10, 200);
  for (double& J : e.IMass) J = MotorMass::RoundThreeDigits(J);

  // Silicone damper: an inertia ring of 0.48/0.30 m and 0.06 m width, with the optimum damping
  // of an untuned viscous damper (Den Hartog, Mechanical Vibrations, the Lanchester damper):
  // c = √2·ω·Jd/√((1 + μ)(2 + μ)), ω the first crankshaft mode, μ = Jd over the engine's masses.
  e.Damper = true;
  e.DamperType = 0;
  e.NMassDamper = 1;
  e.JmDamper = MotorMass::RoundThreeDigits(steelRing(0.48, 0.30, 0.06));
  TOscillCalcStruct model(e);
  model.CalcFrequencies();
  double engineInertia = 0;
  for (int k = 0; k < 10; ++k) engineInertia += e.IMass[static_cast<std::size_t>(k)];
  const double mu = e.JmDamper / engineInertia;
  const double crankshaftMode = model.Omega.at(2);  // mode 1 is the coupling's
  e.ksiDamper = MotorMass::RoundThreeDigits(std::sqrt(2.0) * crankshaftMode * e.JmDamper /
                                            std::sqrt((1 + mu) * (2 + mu)));
  e.nMin = 100;
  e.nMax = 1100;
  e.NRegs = 12;
  e.CalcOscillFlag = true;
  e.CalcCombFlag = true;
}

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: make_example_project TARGET.vxa\n";
    return 2;
  }
  LoadProgramSteelData(ProgramDirectory());
  TEngineDataStruct e;
  e.ProjectName = "V16 ЧН 26/26, пример";
  e.NSec = 8;
  e.NRad = 2;
  e.Disposition = 1;
  e.ConRodGamma1[2] = 45 * Deg;
  e.ConRodGamma[2] = 45 * Deg;
  // Row 1 fires 1-6-2-5-8-3-7-4 at 90° intervals; each row-2 cylinder 45° after its
  // row-1 neighbour on the same throw: an even 45° firing interval for all 16 cylinders.
  const int firingPosition[9] = {0, 0, 2, 5, 7, 3, 1, 6, 4};
  for (int s = 1; s <= 8; ++s) {
    e.FireAngle[s][1] = firingPosition[s] * 90 * Deg;
    e.FireAngle[s][2] = (firingPosition[s] * 90 + 45) * Deg;
  }
  const double pistonArea = e.PistonArea();
  for (int w = 1; w <= 16; ++w) {
    e.Msh[w] = 40 / pistonArea;
    e.Rsh[w] = 0.07;
    e.Mpr[w] = 35 / pistonArea;
    e.Rpr[w] = 0.2;
    e.AlphaPr[w] = 0;  // opposite the crankpin
    e.FiPr[w] = 120;
    e.RprIn[w] = 0.14;
    e.RprOut[w] = 0.3;
  }
  for (int j = 1; j <= 9; ++j) {
    e.Py[j] = 1e-9;
    e.Px[j] = 1e-9;
  }
  e.RMaslK = 0.006;
  e.RMaslS = 0.006;
  const int shaft = SteelData().IndexOf("40ХН2МА");
  if (shaft >= 0) e.ValSteel = SteelData().Item(shaft);
  const int counterweights = SteelData().IndexOf("Сталь 45");
  if (counterweights >= 0) e.ProtSteel = SteelData().Item(counterweights);
  // Working process of the example: turbocharged, 1.05 g of fuel per cycle at 0.25 MPa charge
  // air, the effective valve areas of a four-valve head of this bore.
  e.Qin.N = e.N;
  e.Qin.V = 1;
  e.Qin.FB = 0.0053;
  e.Qin.FH = 0.0071;
  e.Qin.PK = 0.25;
  e.Qin.TK = 330;
  e.Qin.PT = 0.22;
  e.Qin.QC = 0.00105;
  e.Qin.ALFF = 2.0;
  CalcConcentrationCoeffs(e, GraphDirectory(ProgramDirectory()));
  addTorsionalModel(e);
  e.IDSource = 1;
  e.IDFileName = "V16-26-26.dia";
  SaveProjectFile(e, argv[1]);
  return 0;
}
