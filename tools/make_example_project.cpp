// Writes the two bundled example projects into a folder, one for each connecting-rod
// arrangement, both of the 26/26 cylinder of the program's default engine (26 cm bore and
// stroke), both diesel-generator sets with the torsional model of their shaft line, and each
// reading the indicator diagram of its own name beside it:
// - "V16-26-26.vxa": a turbocharged four-stroke V16 high-speed diesel, 8 throws, two rows of
//   articulated rods 45° apart;
// - "L6-26-26.vxa": an in-line six of the same cylinder, one row, so one rod per crankpin (the
//   side-by-side arrangement), at a higher rating.
//
// Both have the same crank throw, taken from the proportions of a published crankshaft (see
// setThrow); masses and rod lengths are those of the program's default engine; webs,
// counterweights, main-bearing compliances and the shaft line are stated assumptions. The
// stress concentration coefficients are computed from the shipped design graphs.
#include <cmath>
#include <filesystem>
#include <initializer_list>
#include <iostream>
#include <numbers>
#include <string>

#include "ConcentrationCoeffsUnit.h"
#include "GraphFileUnit.h"
#include "MotorMassUnit.h"
#include "OscillCalcUnit.h"
#include "ProjectFileUnit.h"
#include "ProgramPathUnit.h"
#include "SteelDataBaseUnit.h"

namespace {

constexpr double Deg = std::numbers::pi / 180;
constexpr double SteelDensity = 7850;  // kg/m³

double wholeMillimetres(double metres) { return std::round(metres * 1000) / 1000; }

// Moment of inertia of a steel disc or ring about its axis, kg·m²: m·(R² + r²)/2.
double steelRing(double outerDiameter, double innerDiameter, double width) {
  const double R = outerDiameter / 2, r = innerDiameter / 2;
  const double mass = std::numbers::pi * (R * R - r * r) * width * SteelDensity;
  return mass * (R * R + r * r) / 2;
}

// The crank throw from the proportions of the crankshaft of the Mitsubishi S6R, a four-stroke
// high-speed diesel of this class (service manual Pub. No. 99419-12120, chapter 2, service
// data): crankpin Ø125, main journal Ø140, fillet radius R7 on crankpins and journals, crankpin
// width 67 mm, main journal width 66 mm, journals and crankpins hardened to Hv > 620. Taken as
// ratios of the crankpin diameter and applied to the program's default crankpin (190 mm, 0.73 of
// the bore); the webs take what the throw length L0 (the default 380 mm) leaves between the
// journal, the crankpin and the two journal fillets. Every length is rounded to whole
// millimetres.
void setThrow(TEngineDataStruct& e, const std::filesystem::path& graphDir) {
  const double pin = e.DsSh;
  e.DkSh = wholeMillimetres(pin * 140 / 125);
  e.RgalK = e.RgalS = wholeMillimetres(pin * 7 / 125);
  const double pinWidth = wholeMillimetres(pin * 67 / 125);
  const double journalWidth = wholeMillimetres(pin * 66 / 125);
  e.L5 = journalWidth / 2;
  e.B = wholeMillimetres((e.L0 - pinWidth - journalWidth - 2 * e.RgalK) / 2);
  // Oil holes of 12 mm in journal and crankpin (assumed; the manual gives none).
  e.RMaslK = 0.006;
  e.RMaslS = 0.006;
  // The hardness of the S6R's journals and crankpins, taken as nitriding (which hardens the
  // fillets with the rest of the surface): the smaller of the two hardening factors that
  // reach it.
  e.StrengthType = 2;
  e.Knu = HardeningFactor(graphDir, e.StrengthType);
}

// Webs, counterweights and main bearings of every throw. A web is taken as a steel plate of
// the web's width and thickness reaching from the far side of the main journal to the far side
// of the crankpin (mass and centre of mass of that rectangle). Counterweights of 35 kg at
// 200 mm opposite the crankpin and main bearings of 1 GN/m radial stiffness that let the shaft
// tilt are assumed, typical of this class.
void setWebsAndBearings(TEngineDataStruct& e) {
  const double near = e.DkSh / 2, far = e.R + e.DsSh / 2;
  const double webMass = e.H * e.B * (near + far) * SteelDensity;  // kg
  const double webCentre = (far - near) / 2;                        // m from the shaft axis
  const double pistonArea = e.PistonArea();
  for (int w = 1; w <= 2 * e.NSec; ++w) {
    e.Msh[w] = webMass / pistonArea;
    e.Rsh[w] = webCentre;
    e.Mpr[w] = 35 / pistonArea;
    e.Rpr[w] = 0.2;
    e.AlphaPr[w] = 0;  // opposite the crankpin
    e.FiPr[w] = 120;
    e.RprIn[w] = 0.14;
    e.RprOut[w] = 0.3;
  }
  for (int j = 1; j <= e.NSec + 1; ++j) {
    e.Py[j] = 1e-9;
    e.Px[j] = 1e-9;
  }
}

// Shaft 40ХН2МА, counterweights Сталь 45 (the material database).
void setMaterials(TEngineDataStruct& e) {
  const int shaft = SteelData().IndexOf("40ХН2МА");
  if (shaft >= 0) e.ValSteel = SteelData().Item(shaft);
  const int counterweights = SteelData().IndexOf("Сталь 45");
  if (counterweights >= 0) e.ProtSteel = SteelData().Item(counterweights);
}

// The k-th section of the firing order (k = 0, 1, …) fires at k·interval degrees in row 1 and
// rowOffset degrees later in row 2 (angles formed in whole degrees before the conversion, so
// that they fall exactly on the diagram's one-degree grid).
void setFiringOrder(TEngineDataStruct& e, std::initializer_list<int> order, int interval, int rowOffset = 0) {
  int k = 0;
  for (int section : order) {
    e.FireAngle[section][1] = k * interval * Deg;
    if (e.NRad > 1) e.FireAngle[section][2] = (k * interval + rowOffset) * Deg;
    ++k;
  }
}

// Working process (used when the project is switched to the working-process program):
// turbocharged, the effective valve areas of a four-valve head of this bore, the charge air,
// exhaust manifold pressure and fuel of each example's diagram.
void setWorkingProcess(TEngineDataStruct& e, double boost, double turbineInlet, double fuel) {
  e.Qin.N = e.N;
  e.Qin.V = 1;
  e.Qin.FB = 0.0053;
  e.Qin.FH = 0.0071;
  e.Qin.PK = boost;
  e.Qin.TK = 330;
  e.Qin.PT = turbineInlet;
  e.Qin.QC = fuel;
  e.Qin.ALFF = 2.0;
}

// The shaft line of a diesel-generator set: damper housing with pulley, the throws, flywheel,
// flexible coupling, generator rotor; a viscous (silicone) damper on the front mass. The
// flywheel follows from the excess work ΔW (J) of the engine's summed throw torque at the
// design speed, the largest swing of ∫(M − Mmean)dφ over the cycle (computed from the example's
// own run: 1557 J for the V16, 8567 J for the in-line six). The speed range runs from
// lowestSpeedRpm to 1100 rpm.
void addTorsionalModel(TEngineDataStruct& e, double excessWork, double lowestSpeedRpm) {
  const int throws = e.NSec, flywheel = throws + 1, generator = throws + 2;  // 0-based masses
  e.ResizeTorsionalModel(throws + 3);
  e.NFirstMass = 2;
  MotorMass::Fill(e);  // masses 2 … NSec + 1 and the sections between them
  const MotorMass::TThrow crank = MotorMass::Compute(e);
  auto section = [&e](int k, double stiffness) {  // between masses k and k + 1 (1-based), kN·m/rad
    e.CMatrix[static_cast<std::size_t>(k - 1)][static_cast<std::size_t>(k)] = stiffness;
    e.CMatrix[static_cast<std::size_t>(k)][static_cast<std::size_t>(k - 1)] = stiffness;
  };
  // Damper housing and pulley: a steel disc of 0.5 m diameter and 0.1 m width. The front
  // journal and the flywheel flange are taken as stiff as one throw.
  e.IMass[0] = steelRing(0.5, 0, 0.1);
  section(1, crank.Cs);
  // Flywheel from J = ΔW/(δ·ω²) with the cyclic irregularity δ = 1/300 of a generator drive.
  const double omega = e.Omega();
  e.IMass[static_cast<std::size_t>(flywheel)] = excessWork / (omega * omega / 300);
  section(flywheel, crank.Cs);
  // Generator rotor: a solid steel cylinder of 0.8 m diameter and 1 m length, on a highly
  // flexible rubber coupling of 200 kN·m/rad.
  e.IMass[static_cast<std::size_t>(generator)] = steelRing(0.8, 0, 1.0);
  section(generator, 200);
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
  for (int k = 0; k <= flywheel; ++k) engineInertia += e.IMass[static_cast<std::size_t>(k)];
  const double mu = e.JmDamper / engineInertia;
  const double crankshaftMode = model.Omega.at(2);  // mode 1 is the coupling's
  e.ksiDamper = MotorMass::RoundThreeDigits(std::sqrt(2.0) * crankshaftMode * e.JmDamper /
                                            std::sqrt((1 + mu) * (2 + mu)));
  e.nMin = lowestSpeedRpm;
  e.nMax = 1100;
  e.NRegs = 12;
  e.CalcOscillFlag = true;
  e.CalcCombFlag = true;
}

// Articulated rods: row 2 hinged on the master rod 45° from it. Row 1 fires
// 1-6-2-5-8-3-7-4 at 90° intervals; each row-2 cylinder 45° after its row-1 neighbour on the
// same throw: an even 45° firing interval for all 16 cylinders.
void setV16Layout(TEngineDataStruct& e) {
  e.NSec = 8;
  e.NRad = 2;
  e.Disposition = 1;
  e.ConRodGamma1[2] = 45 * Deg;
  e.ConRodGamma[2] = 45 * Deg;
  setFiringOrder(e, {1, 6, 2, 5, 8, 3, 7, 4}, 90, 45);
}

// One row, hence one rod on each crankpin (the layout page allows only the side-by-side
// arrangement with one row); firing order 1-5-3-6-2-4 at 120°.
void setL6Layout(TEngineDataStruct& e) {
  e.NSec = 6;
  e.NRad = 1;
  e.Disposition = 0;
  setFiringOrder(e, {1, 5, 3, 6, 2, 4}, 120);
}

// What tells the two examples apart; everything else they share.
struct TExample {
  const char* stem;  // the project "<stem>.vxa" reads the diagram "<stem>.dia"
  const char* projectName;
  void (*setLayout)(TEngineDataStruct&);
  double boost, turbineInlet, fuel;   // charge of its diagram: MPa, MPa, kg per cycle
  double excessWork, lowestSpeedRpm;  // torsional model: J, rpm
};

void writeExample(const TExample& x, const std::filesystem::path& folder, const std::filesystem::path& graphDir) {
  TEngineDataStruct e;
  e.ProjectName = x.projectName;
  x.setLayout(e);
  setMaterials(e);
  setThrow(e, graphDir);
  setWebsAndBearings(e);
  setWorkingProcess(e, x.boost, x.turbineInlet, x.fuel);
  CalcConcentrationCoeffs(e, graphDir);
  addTorsionalModel(e, x.excessWork, x.lowestSpeedRpm);
  e.IDSource = 1;
  e.IDFileName = std::string(x.stem) + ".dia";
  SaveProjectFile(e, folder / (std::string(x.stem) + ".vxa"));
}

// The in-line six runs at a higher rating than the V16 (more charge air and fuel per cycle).
// Its speed range starts at an idling speed of 350 rpm (assumed): its major order 3 meets the
// coupling mode near 120 rpm, a speed passed only unfired while starting, where a run with the
// full-load diagram would describe no real state of the engine.
const TExample Examples[] = {
    {"V16-26-26", "V16 ЧН 26/26, пример", setV16Layout, 0.25, 0.22, 0.00105, 1557, 100},
    {"L6-26-26", "6ЧН 26/26, пример", setL6Layout, 0.30, 0.26, 0.00125, 8567, 350},
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: make_example_project FOLDER  (writes V16-26-26.vxa and L6-26-26.vxa there)\n";
    return 2;
  }
  LoadProgramSteelData(ProgramDirectory());
  const auto graphDir = GraphDirectory(ProgramDirectory());
  for (const TExample& example : Examples) writeExample(example, argv[1], graphDir);
  return 0;
}
