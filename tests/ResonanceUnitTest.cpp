// Resonances of the example V16 with a ten-mass shaft line: the energy balance against the
// forced response of the damped chain solved directly, the section torques against the inertia
// torques of the masses, the speed range and the dampers; the choice of the resonance regimes.
#include "ResonanceUnit.h"

#include <gtest/gtest.h>

#include <complex>
#include <numbers>

#include "EVexaErrorUnit.h"
#include "MotorMassUnit.h"
#include "OscillCalcUnit.h"
#include "ProjectFileUnit.h"
#include "TestSupport.h"

namespace {

using Complex = std::complex<double>;
constexpr double Pi = std::numbers::pi;

// Pulley hub (mass 1), the eight throws from the geometry (masses 2..9) and a flywheel (10).
class ExampleResonanceTest : public ::testing::Test {
 protected:
  TEngineDataStruct engine;
  TRunSettings settings;
  std::unique_ptr<TOscillCalcStruct> oscill;

  void SetUp() override {
    const auto project = testsupport::SourceDir() / "examples" / "V16-26-26.vxa";
    LoadProjectFile(engine, project);
    settings.ProjectDir = project.parent_path();
    // A shaft line of its own: ten masses, no damper.
    engine.ResizeTorsionalModel(0);
    engine.ResizeTorsionalModel(10);
    engine.Damper = false;
    engine.NFirstMass = 2;
    MotorMass::Fill(engine);
    const double throwStiffness = engine.CMatrix[1][2];
    engine.IMass[0] = 2;
    engine.IMass[9] = 60;
    engine.CMatrix[0][1] = engine.CMatrix[1][0] = throwStiffness;
    engine.CMatrix[8][9] = engine.CMatrix[9][8] = throwStiffness;
    engine.nMin = 300;
    engine.nMax = 1100;
    oscill = std::make_unique<TOscillCalcStruct>(engine, settings);
    oscill->CalcFrequencies();
  }

  // The resonance of mode 1 with order 5.5, the strongest one of the example in its range.
  static constexpr int Mode = 1, Harmonic = 10;

  double speed(int mode, int harmonic) const { return oscill->ResonanceSpeed(mode, harmonic); }
};

// Solves A·x = b by Gaussian elimination with partial pivoting.
std::vector<Complex> solve(std::vector<std::vector<Complex>> A, std::vector<Complex> b) {
  const std::size_t n = b.size();
  for (std::size_t c = 0; c < n; ++c) {
    std::size_t p = c;
    for (std::size_t r = c + 1; r < n; ++r)
      if (std::abs(A[r][c]) > std::abs(A[p][c])) p = r;
    std::swap(A[c], A[p]);
    std::swap(b[c], b[p]);
    for (std::size_t r = c + 1; r < n; ++r) {
      const Complex f = A[r][c] / A[c][c];
      for (std::size_t k = c; k < n; ++k) A[r][k] -= f * A[c][k];
      b[r] -= f * b[c];
    }
  }
  std::vector<Complex> x(n);
  for (std::size_t r = n; r-- > 0;) {
    Complex s = b[r];
    for (std::size_t k = r + 1; k < n; ++k) s -= A[r][k] * x[k];
    x[r] = s / A[r][r];
  }
  return x;
}

}  // namespace

TEST_F(ExampleResonanceTest, EnergyBalanceAgreesWithTheForcedResponseOfTheDampedChain) {
  oscill->CalcResonances();
  ASSERT_TRUE(oscill->IsResonance(Mode, Harmonic));
  const double amplitude = oscill->ResAmpl[Harmonic][Mode];
  ASSERT_GT(amplitude, 0);

  // Steady harmonic response at the natural frequency: (K(1 + iψ/2π on the throw sections)
  // − ω²J + iω·c)·θ = M, with c the viscous resistance of the pistons of each throw
  // (ksi·Fp·R² per cylinder, N·m·s) and M the throw torques of this order with their phases.
  const int n = engine.NMass, first = engine.NFirstMass - 1;
  const double omega = oscill->Omega[Mode];
  const double nu = oscill->Calc->HarmOrders[Harmonic];
  const double pistonDamping = engine.ksi * 1e6 * engine.PistonArea() * engine.R * engine.R * engine.NRad;
  std::vector<std::vector<Complex>> A(n, std::vector<Complex>(n, 0.0));
  std::vector<Complex> torque(n, 0.0);
  for (int k = 0; k + 1 < n; ++k) {
    const bool throwSection = k >= first && k + 1 < first + engine.NSec;
    const Complex c = engine.CMatrix[k][k + 1] * 1000 * Complex(1, throwSection ? engine.psi / (2 * Pi) : 0);
    A[k][k] += c;
    A[k + 1][k + 1] += c;
    A[k][k + 1] -= c;
    A[k + 1][k] -= c;
  }
  for (int m = 0; m < n; ++m) A[m][m] -= omega * omega * engine.IMass[m];
  for (int v = 0; v < engine.NSec; ++v) {
    A[first + v][first + v] += Complex(0, omega * pistonDamping);
    torque[first + v] = std::polar(oscill->Mk[Mode][Harmonic][v], nu * oscill->Alphak[Mode][Harmonic][v]);
  }
  const std::vector<Complex> theta = solve(A, torque);
  // Amplitude of this mode in the response (its shape is 1 at the first motor mass).
  Complex projection = 0;
  double norm = 0;
  for (int m = 0; m < n; ++m) {
    projection += engine.IMass[m] * oscill->Modes[Mode][m] * theta[m];
    norm += engine.IMass[m] * oscill->Modes[Mode][m] * oscill->Modes[Mode][m];
  }
  EXPECT_NEAR(std::abs(projection) / norm, amplitude, 0.02 * amplitude);
}

TEST_F(ExampleResonanceTest, SectionTorquesBalanceTheInertiaTorquesOfTheMasses) {
  oscill->CalcResonances();
  const double omega = oscill->Omega[Mode], amplitude = oscill->ResAmpl[Harmonic][Mode];
  double inertia = 0;  // inertia torque of the masses left of the section, N·m
  for (int k = 0; k + 1 < engine.NMass; ++k) {
    inertia += engine.IMass[k] * omega * omega * amplitude * oscill->Modes[Mode][k];
    const double moment = oscill->SectMoment[Mode][Harmonic][k];
    EXPECT_NEAR(moment, inertia, 1e-4 * std::abs(inertia) + 1) << "section " << k;
    EXPECT_NEAR(oscill->SectTau[Mode][Harmonic][k] * engine.JournalWp(), std::abs(moment), 1e-6 * std::abs(moment));
  }
  EXPECT_EQ(oscill->SectTau[Mode][Harmonic][9], 0);
}

TEST_F(ExampleResonanceTest, RangeEndsAreIncludedAndTheProjectSpeedIsRestored) {
  const double designSpeed = engine.N;
  oscill->Calc->Setup();
  engine.nMin = engine.nMax = speed(Mode, Harmonic);
  oscill->CalcResonances();
  EXPECT_EQ(engine.N, designSpeed);
  for (int i = 0; i < engine.NMass; ++i)
    for (int j = 0; j < engine.NGarm; ++j) {
      EXPECT_EQ(oscill->IsResonance(i, j), i == Mode && j == Harmonic);
      EXPECT_EQ(oscill->AkMax[j][i] > 0, i == Mode && j == Harmonic);
    }
  // The run of the model was prepared at the resonance speed.
  EXPECT_EQ(oscill->Calc->N, speed(Mode, Harmonic));
}

TEST_F(ExampleResonanceTest, EmptyRangeGivesNoResonanceAndNoRegime) {
  engine.nMin = 1100;
  engine.nMax = 300;
  oscill->CalcResonances();
  for (const auto& row : oscill->AkMax)
    for (double w : row) EXPECT_EQ(w, 0);
  EXPECT_TRUE(SelectResonanceRegimes(*oscill).empty());
}

TEST_F(ExampleResonanceTest, OneHarmonicExaminesOnlyHalfOrder) {
  engine.NGarm = 1;
  engine.nMin = 100;
  // Order 0.5 meets mode 1 at n = ω₁·60/π, well above the running speeds; the range reaches
  // just past it, and the higher modes lie beyond.
  engine.nMax = 1.05 * oscill->Omega[1] * 60 / Pi;
  ASSERT_LT(engine.nMax, oscill->Omega[2] * 60 / Pi);
  oscill->CalcResonances();
  ASSERT_EQ(oscill->AkMax.size(), 1u);
  ASSERT_EQ(oscill->Calc->HarmOrders, TReal1DArray{0.5});
  EXPECT_NEAR(speed(1, 0), oscill->Omega[1] * 60 / Pi, 1e-9);
  EXPECT_TRUE(oscill->IsResonance(1, 0));
  EXPECT_GT(oscill->ResAmpl[0][1], 0);
  EXPECT_FALSE(oscill->IsResonance(2, 0));
}

TEST_F(ExampleResonanceTest, ModeZeroNeverResonatesEvenWhenGrounded) {
  engine.CMatrix[9][9] = 500;  // the flywheel tied to a stiff foundation
  oscill->CalcFrequencies();
  ASSERT_GT(oscill->Omega[0], 0);
  oscill->Calc->Setup();
  engine.nMin = speed(0, 11) - 1;
  engine.nMax = speed(0, 0) + 1;
  oscill->CalcResonances();
  for (int j = 0; j < engine.NGarm; ++j) {
    EXPECT_FALSE(oscill->IsResonance(0, j));
    EXPECT_EQ(oscill->AkMax[j][0], 0);
  }
}

TEST_F(ExampleResonanceTest, DryFrictionDamperTakesItsWorkFromTheAmplitude) {
  oscill->CalcResonances();
  const double undamped = oscill->ResAmpl[Harmonic][Mode];
  const double linear = oscill->Aksi[Harmonic][Mode];
  const double excitation = oscill->AkMax[Harmonic][Mode];
  engine.Damper = true;
  engine.DamperType = 1;
  engine.NMassDamper = 1;
  engine.fDamper = 0.1;
  engine.PDamper = 20000;
  engine.RefDamper = 0.15;
  engine.zdDamper = 2;
  oscill->CalcResonances();
  const double A = oscill->ResAmpl[Harmonic][Mode];
  EXPECT_GT(A, 0);
  EXPECT_LT(A, undamped);
  // Work per cycle: excitation π·|ΣM·a|·A = cylinders and shaft linear·A² + friction 4·M_f·|a_d|·A.
  const double friction = 4 * 0.1 * 20000 * 0.15 * 2 * std::abs(oscill->Modes[Mode][0]);
  EXPECT_NEAR(excitation * A, linear * A * A + friction * A, 1e-9 * excitation * A);
  EXPECT_NEAR(oscill->Aksi[Harmonic][Mode] * A, excitation, 1e-9 * excitation);

  engine.PDamper = 1e7;  // the discs never slip
  oscill->CalcResonances();
  EXPECT_EQ(oscill->ResAmpl[Harmonic][Mode], 0);
  EXPECT_FALSE(oscill->Notes.empty());
}

TEST_F(ExampleResonanceTest, ViscousDamperDampsAndRubberDamperAddsNothing) {
  oscill->CalcResonances();
  const TReal2DArray none = oscill->ResAmpl;
  engine.Damper = true;
  engine.NMassDamper = 1;
  engine.DamperType = 2;
  engine.ksirzDamper = 1e4;
  oscill->CalcResonances();
  EXPECT_EQ(oscill->ResAmpl, none);
  engine.DamperType = 0;
  engine.JmDamper = 1;
  engine.ksiDamper = oscill->Omega[Mode];  // tuned to mode 1: Jm·ω = ksiDamper
  oscill->CalcResonances();
  EXPECT_LT(oscill->ResAmpl[Harmonic][Mode], 0.6 * none[Harmonic][Mode]);
}

TEST_F(ExampleResonanceTest, ResonanceWithoutDampingIsRefusedAndNothingStays) {
  engine.ksi = 0;
  engine.psi = 0;
  const double designSpeed = engine.N;
  try {
    oscill->CalcResonances();
    FAIL() << "an unbounded amplitude was accepted";
  } catch (const ETorsionalModelError& error) {
    EXPECT_NE(std::string(error.what()).find("не ограничена"), std::string::npos) << error.what();
  }
  EXPECT_EQ(engine.N, designSpeed);
  EXPECT_TRUE(oscill->AkMax.empty());
  EXPECT_EQ(oscill->NModes(), 10);
}

TEST_F(ExampleResonanceTest, RefusedInputNamesTheMassesOrTheField) {
  engine.CMatrix[0][9] = engine.CMatrix[9][0] = 100;
  try {
    oscill->CalcResonances();
    FAIL() << "a branched chain was accepted";
  } catch (const ETorsionalModelError& error) {
    EXPECT_NE(std::string(error.what()).find("массами 1 и 10"), std::string::npos) << error.what();
  }
  engine.CMatrix[0][9] = engine.CMatrix[9][0] = 0;
  engine.NFirstMass = 4;
  EXPECT_THROW(oscill->CalcResonances(), ETorsionalModelError);
  engine.NFirstMass = 2;
  engine.psi = -0.01;
  EXPECT_THROW(oscill->CalcResonances(), ETorsionalModelError);
}

TEST_F(ExampleResonanceTest, RunErrorPropagatesAndRestoresTheSpeed) {
  settings.DiagramFile = testsupport::SourceDir() / "examples" / "missing.dia";
  TOscillCalcStruct broken(engine, settings);
  broken.CalcFrequencies();
  const double designSpeed = engine.N;
  EXPECT_THROW(broken.CalcResonances(), TEVexaError);
  EXPECT_EQ(engine.N, designSpeed);
  EXPECT_TRUE(broken.SectTau.empty());
}

TEST_F(ExampleResonanceTest, RegimeRunsGetTheStressOfTheirThrowSections) {
  oscill->CalcResonances();
  const std::vector<TResonanceRegime> regimes = SelectResonanceRegimes(*oscill);
  ASSERT_FALSE(regimes.empty());
  const TResonanceRegime& regime = regimes.front();
  TDynamicCalcStruct run(engine, settings);
  engine.N = regime.Speed;
  run.Prepare();
  ApplyTorsionalAmp(*oscill, regime, run);
  double largest = 0;
  for (int r = 0; r < engine.NSec; ++r) {
    EXPECT_EQ(run.Cranks[r]->TorsionalAmp, oscill->SectTau[regime.Mode][regime.Harmonic][r + 1]);
    largest = std::max(largest, run.Cranks[r]->TorsionalAmp);
  }
  EXPECT_EQ(largest, regime.Tau);
}

// Stresses entered by hand: four masses, throws on masses 2 and 3 (sections 1 and 2).
class RegimeRankingTest : public ::testing::Test {
 protected:
  TEngineDataStruct engine;
  std::unique_ptr<TOscillCalcStruct> oscill;

  void SetUp() override {
    engine.NSec = 2;
    engine.NFirstMass = 2;
    engine.NGarm = 3;
    oscill = std::make_unique<TOscillCalcStruct>(engine);
    oscill->Omega = {0, 100, 200, 300};
    oscill->Calc->HarmOrders = {0.5, 1, 1.5};
    oscill->AkMax.assign(3, TReal1DArray(4, 0.0));
    oscill->SectTau.assign(4, TReal2DArray(3, TReal1DArray(4, 0.0)));
    auto& tau = oscill->SectTau;
    tau[1][0][1] = 3e6;
    tau[1][0][2] = 5e6;   // regime (1, 0): 5 MPa, the larger of its two throw sections
    tau[1][2][0] = 9e6;   // a section outside the throws does not count
    tau[2][1][2] = 3e6;   // regime (2, 1): 3 MPa
    tau[3][2][1] = 3e6;   // regime (3, 2): 3 MPa, tied
    tau[3][0][3] = 8e6;   // the last entry belongs to no section
  }

  std::vector<std::pair<int, int>> chosen(int regimes) {
    engine.NRegs = static_cast<std::int16_t>(regimes);
    std::vector<std::pair<int, int>> pairs;
    for (const TResonanceRegime& r : SelectResonanceRegimes(*oscill)) pairs.emplace_back(r.Mode, r.Harmonic);
    return pairs;
  }
};

TEST_F(RegimeRankingTest, KeepsTheMostStressedInModeAndHarmonicOrder) {
  using P = std::vector<std::pair<int, int>>;
  EXPECT_EQ(chosen(12), (P{{1, 0}, {2, 1}, {3, 2}}));  // only positive stresses
  EXPECT_EQ(chosen(1), (P{{1, 0}}));
  EXPECT_EQ(chosen(2), (P{{1, 0}, {2, 1}, {3, 2}}));   // the tie runs both
  EXPECT_EQ(chosen(0), P{});
  engine.NRegs = 1;
  const std::vector<TResonanceRegime> regimes = SelectResonanceRegimes(*oscill);
  ASSERT_EQ(regimes.size(), 1u);
  const TResonanceRegime& first = regimes.front();
  EXPECT_EQ(first.Tau, 5e6);
  EXPECT_NEAR(first.Speed, 100 / 0.5 * 30 / Pi, 1e-9);
}

TEST_F(RegimeRankingTest, TorsionalAmplitudeNeedsAPreparedRun) {
  TDynamicCalcStruct run(engine);
  run.Cranks.push_back(std::make_unique<TCrank>(run));
  EXPECT_THROW(ApplyTorsionalAmp(*oscill, {1, 0, 0, 0}, run), std::invalid_argument);
  run.Cranks.push_back(std::make_unique<TCrank>(run));
  ApplyTorsionalAmp(*oscill, {1, 0, 0, 0}, run);
  EXPECT_EQ(run.Cranks[0]->TorsionalAmp, 3e6);
  EXPECT_EQ(run.Cranks[1]->TorsionalAmp, 5e6);
  EXPECT_EQ(ResonanceRunTitle(874.869), "Расчёт на частоте вращения 874.869 об/мин");
}

TEST(EnergyBalance, ViscousDamperWorkIsThatOfItsFlywheelResponse) {
  // Flywheel Jm on the hub through a viscous coupling k: Jm·φ'' = k·(θ' − φ'); at frequency ω
  // φ = θ/(1 + iJmω/k) and the coupling dissipates π·k·ω·|θ − φ|² per cycle.
  for (const auto& [omega, Jm, k, ad] : std::vector<std::tuple<double, double, double, double>>{
           {500, 1, 200, 1.3}, {500, 1, 500, -0.7}, {1200, 0.3, 4000, 2}}) {
    const Complex hub = ad;
    const Complex flywheel = hub / Complex(1, Jm * omega / k);
    EXPECT_NEAR(Resonance::ViscousDamperWork(omega, Jm, k, ad), Pi * k * omega * std::norm(hub - flywheel),
                1e-9 * Pi * k * omega);
  }
  // Tuned (k = Jm·ω) the damper takes its largest work (π/2)·ω²·Jm·ad²; uncoupled, none.
  EXPECT_NEAR(Resonance::ViscousDamperWork(500, 1, 500, 1), Pi / 2 * 500 * 500, 1e-6);
  EXPECT_EQ(Resonance::ViscousDamperWork(500, 1, 0, 1), 0);
}

TEST(EnergyBalance, DefinedWithoutExcitationAndWithoutDamping) {
  EXPECT_EQ(Resonance::SolveBalance(0, 0, 0).ResAmpl, 0);
  EXPECT_THROW(Resonance::SolveBalance(10, 0, 0), std::domain_error);
  const Resonance::TBalance stuck = Resonance::SolveBalance(10, 0, 12);
  EXPECT_TRUE(stuck.DamperSticks);
  EXPECT_EQ(stuck.ResAmpl, 0);
  EXPECT_EQ(Resonance::FrictionDamperWork(0.1, 1000, 0.2, 2, -0.5), 4 * 40 * 0.5);
}
