// All inputs of one project (`TEngineDataStruct`): layout, throw geometry, masses, webs and
// counterweights, supports, materials, working process, concentration inputs and the
// torsional model, with the derived quantities the calculations share.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "DataExchangeUnit.h"
#include "MyTypes.h"
#include "QinDataStructUnit.h"
#include "SteelDataBaseUnit.h"

// Capacities of the fixed arrays.
constexpr int MaxSections = 10;
constexpr int MaxRows = 11;
constexpr int MaxWebs = 20;
constexpr int MaxSupports = 11;
constexpr int ReservedBlockSize = 295;
constexpr int MaxMasses = 100;  // largest torsional model a project file may hold
constexpr int MaxHarmonics = 20;  // harmonics of the torsional excitation, "Число гармоник:" 1 to 20

using TRowArray = TOneBasedArray<double, MaxRows>;
using TWebArray = TOneBasedArray<double, MaxWebs>;
using TSupportArray = TOneBasedArray<double, MaxSupports>;
// [section][row], section-major.
template <typename T>
using TSectionRowArray = TOneBasedArray<TOneBasedArray<T, MaxRows>, MaxSections>;

// Notifications sent to the owner of the data.
enum TOwnerNotification : int { NotifyModified = 2000, NotifyClosed = 2003 };

class TEngineDataStruct {
 public:
  // Defaults of a new project; the two material records are copies of the first record of
  // the program's material database (empty records without one).
  TEngineDataStruct();

  TQinDataStruct Qin;
  std::uint8_t NSec = 8;         // sections (throws), 1..10
  std::uint8_t NRad = 2;         // rows, 1..11
  std::uint8_t Disposition = 1;  // rods on one crankpin: 0 side by side, 1 articulated
  TRowArray ConRodL;             // rod length per row, m
  TRowArray ConRodGamma1;        // angle of the trailing-rod pin on the master rod, rad
  TRowArray ConRodR1;            // radius of the trailing-rod pin on the master rod, m
  TRowArray ConRodGamma;         // angle of the row's cylinder axis, rad (not used by the calculations)
  double ReservedD1 = 0;
  double Dezax = 0;              // desaxial offset of the cylinder axis, m
  std::uint8_t ReservedB1 = 1;
  TSectionRowArray<double> FireAngle;  // firing angle, rad
  TSectionRowArray<bool> CylEnabled;   // the cylinder works (true) or is cut out
  std::string ProjectName = "Безымянный ";
  std::uint8_t EngineType = 3;   // index into the engine-type list; 3 = high-speed diesel
  bool CalcDynamicFlag = true;   // strength calculation at the design regime
  bool CalcOscillFlag = false;   // torsional-oscillation calculation
  bool CalcCombFlag = false;     // strength calculation at the resonance regimes
  TSteelElem ValSteel;           // crankshaft material
  TSteelElem ProtSteel;          // counterweight material
  double N = 1000;               // design speed, rpm
  double nMin = 100;             // speed range of the torsional calculation, rpm
  double nMax = 1000;
  TRowArray Mpd;                 // reciprocating mass per piston area, kg/m²
  TRowArray M2;                  // rotating con-rod mass per piston area, kg/m²
  double ReservedD2 = 0;
  double D = 0.26;               // bore, m
  double R = 0.13;               // crank radius, m
  double L0 = 0.38;              // throw length between main-journal mid-planes, m
  double DkSh = 0.22;            // main journal outer diameter, m
  double DkSb = 0;               // main journal bore, m
  double DsSh = 0.19;            // crankpin outer diameter, m
  double DsSb = 0;               // crankpin bore, m
  double H = 0.26;               // web width, m
  double B = 0.062;              // web thickness, m
  std::int16_t FiMasl = 90;      // oil groove angle to the throw plane, degrees
  double L5 = 0.052;             // left end of the throw to the journal fillet, m
  double L6 = 0.0065;            // counterweight centre of mass right of the web mid-line, m
  double RgalK = 0.006;          // main journal fillet radius, m
  double RgalS = 0.006;          // crankpin fillet radius, m
  double ReservedD3 = 0;
  double E = 0;                  // eccentricity of the lightening hole, m
  double RMaslK = 0;             // oil hole radius in the main journal, m
  double RMaslS = 0;             // oil hole radius in the crankpin, m
  std::uint8_t ReservedB2 = 0;
  double ReservedD4 = 0, ReservedD5 = 0, ReservedD6 = 0, ReservedD7 = 0, ReservedD8 = 0;
  // Concentration inputs, part 1.
  double AlphaSgm_M_K = 0, AlphaTau_M_K = 0, KSgm_M_K = 0, KTau_M_K = 0;
  double AlphaSgm_M_S = 0, AlphaTau_M_S = 0, KSgm_M_S = 0, KTau_M_S = 0;
  double AlphaSgmD0 = 0, BetSgmH = 0, BetSgmDvn = 0, AlphaSgmE = 0, BetSgmE = 0, BetSgmD1 = 0;
  double KsiSigmH = 0, BetSgmD = 0, AlphaSgm_G_S = 0, KSgm_G_S = 0;
  double AlphaTau0_S = 0, BetTauH_S = 0, BetTauB_S = 0, AlphaTauE_S = 0, BetTauD_S = 0;
  double AlphaTau_G_S = 0, KTau_G_S = 0, Esgm_S = 0, Etau_S = 0, Etau_K = 0;
  double Esgm_K = 0;
  double WebTorsionCoef = 0;     // torsion coefficient of the rectangular web section
  double PsiSgm = 0, PsiTau = 0, Nsh = 0, LamD = 0;
  double ReservedD9 = 0;
  double W_W0_tau_K = 0, W_W0_sgm_K = 0;  // main journal section-modulus ratios at the oil hole
  double W_W0_tau_S = 0, W_W0_sgm_S = 0;  // the same for the crankpin
  double GammaMasl = 0;          // oil hole angle, degrees
  double ASTG_ASTG0 = 0;
  double CoeffB = 1;             // factor on B for the equivalent-stiffness throw
  double CoeffH = 1;             // factor on H for the equivalent-stiffness throw
  std::uint8_t IDSource = 0;     // indicator diagram: 0 working-process program, 1 file
  std::string IDFileName;        // diagram file when IDSource = 1
  double ksi = 0.045;            // damping coefficient of the torsional model
  double psi = 0.015;            // absorption coefficient of the torsional model
  TWebArray Msh;                 // web mass per piston area, kg/m²
  TWebArray Rsh;                 // radius of the web's centre of mass, m
  TWebArray Mpr;                 // counterweight mass per piston area, kg/m²
  TWebArray Rpr;                 // radius of the counterweight's centre of mass, m
  TWebArray AlphaPr;             // angular position of the counterweight, rad
  TWebArray FiPr;                // sector angle of the counterweight, degrees
  TWebArray RprIn;               // inner radius of the counterweight, m
  TWebArray RprOut;              // outer radius of the counterweight, m
  // Concentration inputs, part 2.
  double qSigmV_S = 0, qSigmT_SigmV_S = 0, qSigm_S = 0, qTau_S = 0;
  double qSigmV_M_K = 0, qSigmT_SigmV_M_K = 0, qSigm_M_K = 0, qTau_M_K = 0;
  double qSigmV_M_S = 0, qSigmT_SigmV_M_S = 0, qSigm_M_S = 0, qTau_M_S = 0;
  TSupportArray Py;              // support compliance along y, m/N
  TSupportArray Px;              // support compliance along x, m/N
  TSupportArray PliantReserved;  // stored, never used
  TSupportArray Pmx;             // angular compliance about x, rad/(N·m)
  TSupportArray Pmy;             // angular compliance about y, rad/(N·m)
  std::int16_t NMass = 8;        // reduced masses of the torsional model
  std::int16_t NGarm = 12;       // harmonics of the torsional excitation
  std::int16_t NRegs = 12;       // largest number of resonance regimes recalculated
  std::int16_t NFirstMass = 1;   // torsional mass of the first crank
  TReal1DArray IMass;            // moments of inertia of the reduced masses, kg·m²
  TReal2DArray CMatrix;          // reduced stiffnesses, kN·m/rad
  // Where pages send the data-modified notification (2000); not stored.
  std::function<void(int)> OwnerNotify;
  std::uint8_t CoeffsCalcRadio = 0;  // 0 coefficients from the design graphs, 1 entered by hand
  std::int16_t NMassDamper = 1;  // mass carrying the damper
  bool Damper = false;
  std::uint8_t DamperType = 0;   // 0 silicone, 1 dry friction, 2 rubber
  double JmDamper = 0;           // damper flywheel moment of inertia
  double ksiDamper = 0;
  double fDamper = 0.1;          // friction coefficient of a dry-friction damper
  double PDamper = 0;            // clamping force of the damper discs, N
  double RefDamper = 0;          // effective radius of the damper, m
  double zdDamper = 1;           // number of friction surfaces
  double ksirzDamper = 0;
  std::uint8_t StrengthType = 0;
  double Knu = 1;
  TOneBasedArray<double, ReservedBlockSize> ReservedBlock;
  std::uint8_t ReservedB3 = 0;

  // Writes (Writing = true) or reads the whole project in the project-file layout.
  // A damaged file raises error 1; the fields read before the damage keep their new values.
  void Serialize(TVexaStream& stream, bool Writing);

  // Tells the owner (if any) that the data changed.
  void NotifyOwner(int notification = NotifyModified) const;

  // Derived quantities, recomputed at every call.
  double PistonArea() const;          // m²
  double Omega() const;               // rad/s
  double ProtForce(int web) const;    // counterweight centrifugal force per piston area, MPa
  double WebForce(int web) const;     // web centrifugal force per piston area, MPa
  double RodRotForce(int row) const;  // rotating con-rod mass centrifugal force, MPa
  double PinMass() const;             // crankpin mass per piston area, kg/m²
  double PinForce() const;            // crankpin centrifugal force, MPa
  double HalfThrow() const;
  double PinLength() const;
  double WebMidPos() const;
  double RodSpacing() const;
  double RodOffset() const;
  double JournalWp() const;           // m³
  double JournalW() const;
  double PinWp() const;
  double PinW() const;
  double WebW() const;
  int CylNumber(int section, int row) const;
  int CylRow(int cylinder) const;
  int CylSection(int cylinder) const;
  double CylPhase(int cylinder) const;  // rad, in [0, 2π)
  double CylStroke(int cylinder) const; // m
  bool CheckFireAngles() const;

  int NCyl() const { return NSec * NRad; }
  int NWebs() const { return 2 * NSec; }
  int NSupports() const { return NSec + 1; }

  // Sets NMass to n and sizes IMass to n and CMatrix to n × n (new entries zero, kept
  // entries unchanged).
  void ResizeTorsionalModel(int n);
};

// Polar moment of inertia π(D⁴ − d⁴)/32 and area π(D² − d²)/4 of a ring, d inner, D outer diameter.
double PolarMoment(double d, double D);
double RingArea(double d, double D);
