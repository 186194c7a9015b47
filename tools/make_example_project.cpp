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
#include <numbers>

#include "ConcentrationCoeffsUnit.h"
#include "GraphFileUnit.h"
#include "ProjectFileUnit.h"
#include "ProgramPathUnit.h"
#include "SteelDataBaseUnit.h"

namespace {
constexpr double Deg = std::numbers::pi / 180;
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
  e.IDSource = 1;
  e.IDFileName = "V16-26-26.dia";
  SaveProjectFile(e, argv[1]);
  return 0;
}
