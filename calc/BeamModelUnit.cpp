#include "BeamModelUnit.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

#include "DynamicCalcUnit.h"
#include "FloatCheckUnit.h"
#include "MessageTextUnit.h"
#include "ShaftFrameUnit.h"

namespace {

constexpr double Pi = std::numbers::pi;

void requirePositive(double value, const std::string& subject, TGender gender, const char* unit,
                     const char* hint = "") {
  if (!(value > 0) || !std::isfinite(value))
    throw EBeamModelError(MustBePositiveText(subject, gender, value, unit) + hint);
}

// The global degrees of the element's 12 entries: six of node 1, then six of node 2.
std::array<int, 12> elementDofs(const TBeamElem& e) {
  std::array<int, 12> dofs;
  for (int d = 0; d < 6; ++d) {
    dofs[static_cast<std::size_t>(d)] = 6 * e.Node1 + d;
    dofs[static_cast<std::size_t>(d) + 6] = 6 * e.Node2 + d;
  }
  return dofs;
}

bool turns(std::uint8_t kind) {
  return kind == ekWeb1 || kind == ekWeb2 || kind == ekCounterweight1 || kind == ekCounterweight2;
}

}  // namespace

TBeamElem& TDynamicCalcStruct::NewElement() {
  Elements.emplace_back();
  return Elements.back();
}

void TDynamicCalcStruct::BuildBeamModel() {
  const TEngineDataStruct& e = Engine;
  const int n = e.NSec, m = e.NRad;
  const double E = e.ValSteel.E * 1e6, G = E / (2 * (1 + e.ValSteel.Mu));
  const std::string material = " материала вала \"" + e.ValSteel.SteelName + "\"";
  requirePositive(E / 1e6, "Модуль упругости E" + material, TGender::Masculine, "МПа");
  requirePositive(G / 1e6, "Модуль сдвига E/(2·(1 + Mu))" + material, TGender::Masculine, "МПа");
  for (int j = 1; j <= n + 1; ++j) {
    const std::string support = "опоры " + std::to_string(j);
    requirePositive(e.Py[j], "Податливость " + support + " Py", TGender::Feminine, "м/Н");
    requirePositive(e.Px[j], "Податливость " + support + " Px", TGender::Feminine, "м/Н");
    requirePositive(e.Pmy[j], "Податливость " + support + " Pmy", TGender::Feminine, "рад/Нм");
    requirePositive(e.Pmx[j], "Податливость " + support + " Pmx", TGender::Feminine, "рад/Нм");
  }
  for (int w = 1; w <= e.NWebs(); ++w)
    if (e.Rpr[w] != 0)
      requirePositive(e.Rpr[w], "Радиус противовеса щеки " + std::to_string(w) + " Rпр", TGender::Masculine, "м");
  const double pinEnd = e.RodOffset(), pinInner = e.RodSpacing();
  requirePositive(e.WebMidPos(), "Расстояние от конца колена до середины щеки L5 + RgalK + B/2", TGender::Neuter, "м");
  requirePositive(pinEnd, "Длина концевого участка шатунной шейки", TGender::Feminine, "м");
  if (m > 1) requirePositive(pinInner, "Длина участка шатунной шейки между шатунами", TGender::Feminine, "м");
  requirePositive(e.R, "Радиус кривошипа (R)", TGender::Masculine, "м");
  requirePositive(e.L6, "Смещение оси противовеса (L6)", TGender::Neuter, "м");
  requirePositive(e.DkSh, "Наружный диаметр коренной шейки (DkSh)", TGender::Masculine, "м");
  requirePositive(e.DsSh, "Наружный диаметр шатунной шейки (DsSh)", TGender::Masculine, "м");
  requirePositive(e.B * e.CoeffB, "Толщина щеки эквивалентного колена B·cB", TGender::Feminine, "м");
  requirePositive(e.H * e.CoeffH, "Ширина щеки эквивалентного колена H·cH", TGender::Feminine, "м");
  requirePositive(e.WebTorsionCoef, "Коэффициент кручения щеки WebTorsionCoef", TGender::Masculine, "",
                  "; сначала рассчитайте коэффициенты концентрации");

  Elements.clear();
  assembly_ = std::make_unique<TBeamAssembly>();
  workspace_.reset();
  auto& throws = assembly_->Throws;
  throws.assign(static_cast<std::size_t>(n), {});
  const auto last = [this] { return static_cast<int>(Elements.size()) - 1; };
  // A counterweight at radius 0 has no centrifugal force: its arm is an unloaded branch whose
  // length does not change the shaft's solution, so it is drawn as long as the web.
  auto armLength = [&](int w) { return e.Rpr[w] > 0 ? e.Rpr[w] : e.R; };
  auto web = [&](std::uint8_t kind, double length) {
    TBeamElem& el = NewElement();
    el.Kind = kind;
    el.SetRectangle(length, e.B, e.H, e.WebTorsionCoef, e.CoeffB, e.CoeffH);
    el.CompatInertias = settings_.BeamCompat;
    return last();
  };
  auto shaft = [&](std::uint8_t kind, double length, double d, double D) {
    TBeamElem& el = NewElement();
    el.Kind = kind;
    el.SetCircular(length, d, D);
    return last();
  };
  // The ground node of a spring is held in its displacements and in its rotation about the
  // spring's axis (groundRotation: 3 about X, 4 about Y), so that the spring's torsion term,
  // the bearing's tilt stiffness, holds the journal's tilt. Its other rotations stay free, so
  // that the rigid bending block of the spring adds nothing. Earlier versions left all three
  // rotations free, and the tilt compliances had no effect.
  auto spring = [&](int shaftNode, int groundNode, double stiffness, double torsion, double angle,
                    int groundRotation) {
    TBeamElem& el = NewElement();
    el.Kind = ekSupport;
    el.SetCircular(e.HalfThrow(), 0, 0);
    el.SpringStiffness = stiffness;
    el.SpringTorsionStiffness = torsion;
    el.SetPlaneAngle(angle);
    el.SetNodes(shaftNode, groundNode);
    std::array<TFix, 12> fix;
    fix.fill(TF_EMPTY);
    fix[6] = fix[7] = fix[8] = TF_FIXED;
    if (!settings_.BeamCompat) fix[6 + static_cast<std::size_t>(groundRotation)] = TF_FIXED;
    el.SetFix(fix);
    return last();
  };
  // Y springs point along −Y, X springs along −X.
  auto supportSprings = [&](int support, int shaftNode, int groundY, int groundX, int& springY, int& springX) {
    springY = spring(shaftNode, groundY, 1 / e.Py[support + 1], 1 / e.Pmy[support + 1], Pi, 4);
    springX = spring(shaftNode, groundX, 1 / e.Px[support + 1], 1 / e.Pmx[support + 1], Pi / 2, 3);
  };

  int p = 0;
  for (int i = 0; i < n; ++i) {
    TCrank& crank = *Cranks[static_cast<std::size_t>(i)];
    TBeamThrowElements& t = throws[static_cast<std::size_t>(i)];
    const int s = p;
    const int webLeft = 2 * i + 1, webRight = 2 * i + 2;

    t.FirstJournal = shaft(ekMainJournal, e.WebMidPos(), e.DkSb, e.DkSh);
    Elements.back().SetNodes(s, s + 1);
    shaft(ekCwLink, e.L6, 0, e.DkSh);
    Elements.back().SetNodes(s + 1, s + 2);
    web(ekCounterweight1, armLength(webLeft));
    Elements.back().SetNodes(s + 2, s + 3);
    Elements.back().SetLoads(ZeroCurve, ZeroCurve, crank.CwLeftX, crank.CwLeftY);
    web(ekWeb1, e.R);
    Elements.back().SetNodes(s + 1, s + 4);
    Elements.back().SetLoads(ZeroCurve, ZeroCurve, crank.WebLeftX, crank.WebLeftY);
    p = s + 4;
    for (int j = 0; j < m; ++j) {
      const int pin = shaft(ekCrankpin, j == 0 ? pinEnd : pinInner, e.DsSb, e.DsSh);
      const TCylinder& cylinder = *crank.Cylinders[static_cast<std::size_t>(j)];
      Elements.back().SetNodes(p, p + 1);
      Elements.back().SetLoads(ZeroCurve, ZeroCurve, cylinder.Fx, cylinder.Fy);
      if (j == 0) t.FirstPin = pin;
      t.CylinderPins.push_back(pin);
      ++p;
    }
    t.EndPin = shaft(ekCrankpin, pinEnd, e.DsSb, e.DsSh);
    Elements.back().SetNodes(p, p + 1);
    ++p;
    web(ekWeb2, e.R);
    Elements.back().SetNodes(p, p + 1);
    Elements.back().SetLoads(crank.WebRightX, crank.WebRightY, ZeroCurve, ZeroCurve);
    const int P = ++p;
    shaft(ekCwLink, e.L6, 0, e.DkSh);
    Elements.back().SetNodes(P, P + 1);
    Elements.back().SetReversedAxial();
    web(ekCounterweight2, armLength(webRight));
    Elements.back().SetNodes(P + 1, P + 2);
    Elements.back().SetLoads(ZeroCurve, ZeroCurve, crank.CwRightX, crank.CwRightY);
    const int q = i == 0 ? P + 7 : P + 5;
    t.LastJournal = shaft(ekMainJournal, e.WebMidPos(), e.DkSb, e.DkSh);
    Elements.back().SetNodes(P, q);
    if (i == n - 1) {
      // The shaft's end is held along and about its axis.
      std::array<TFix, 12> fix;
      fix.fill(TF_EMPTY);
      fix[8] = fix[11] = TF_FIXED;
      Elements.back().SetFix(fix);
    }
    p = q;
    if (i == 0) supportSprings(0, 0, P + 3, P + 4, t.SpringY0, t.SpringX0);
    supportSprings(i + 1, q, q - 2, q - 1, t.SpringY, t.SpringX);
  }

  int largestNode = 0;
  for (TBeamElem& el : Elements) {
    el.SetMaterial(E, G);
    if (!el.LoadX1) el.SetLoads(ZeroCurve, ZeroCurve, ZeroCurve, ZeroCurve);
    largestNode = std::max({largestNode, static_cast<int>(el.Node1), static_cast<int>(el.Node2)});
  }
  NNodes = static_cast<std::int16_t>(largestNode + 1);
  NodeXYZ.assign(static_cast<std::size_t>(NNodes), {});

  // The degrees of every element, what stays fixed, and the element stiffnesses.
  TBeamAssembly& a = *assembly_;
  const int size = 6 * NNodes;
  DofFix.assign(static_cast<std::size_t>(size), TF_EMPTY);
  for (const TBeamElem& el : Elements) {
    const auto dofs = elementDofs(el);
    a.Dofs.push_back(dofs);
    for (std::size_t d = 0; d < 12; ++d)
      if (el.Fix[d] != TF_EMPTY) DofFix[static_cast<std::size_t>(dofs[d])] = el.Fix[d];
    a.Local.push_back(el.LocalStiffness());
    a.Global.push_back(RotateStiffness(a.Local.back(), el.DirectionCosines()));
    if (turns(el.Kind)) a.Turning.push_back(static_cast<int>(a.Dofs.size()) - 1);
  }
  for (int j = 0; j < size; ++j)
    if (DofFix[static_cast<std::size_t>(j)] != TF_EMPTY) a.HeldDofs.push_back(j);
}

void LayOutBeamSystem(TBeamAssembly& a, int size) {
  std::vector<std::vector<int>> rows(static_cast<std::size_t>(size));
  for (const auto& dofs : a.Dofs)
    for (int c : dofs) rows[static_cast<std::size_t>(c)].insert(rows[static_cast<std::size_t>(c)].end(), dofs.begin(), dofs.end());
  TBeamSystem& system = a.System;
  system.Size = size;
  system.ColumnStart.assign(1, 0);
  system.RowIndex.clear();
  for (auto& column : rows) {
    std::sort(column.begin(), column.end());
    column.erase(std::unique(column.begin(), column.end()), column.end());
    system.RowIndex.insert(system.RowIndex.end(), column.begin(), column.end());
    system.ColumnStart.push_back(static_cast<int>(system.RowIndex.size()));
  }
  system.Values.assign(system.RowIndex.size(), 0.0);
  system.F.assign(static_cast<std::size_t>(size), 0.0);
  a.Slots.clear();
  for (const auto& dofs : a.Dofs) {
    std::array<int, 144> slots;
    for (std::size_t r = 0; r < 12; ++r)
      for (std::size_t c = 0; c < 12; ++c) slots[r * 12 + c] = system.Slot(dofs[r], dofs[c]);
    a.Slots.push_back(slots);
  }
  a.HeldDiagonal.clear();
  for (int j : a.HeldDofs) a.HeldDiagonal.push_back(system.Slot(j, j));
}

TBeamWorkspace MakeBeamWorkspace(const TBeamAssembly& assembly, TSolverKind kind) {
  TBeamWorkspace w;
  if (kind == TSolverKind::Shaft) {
    if (!assembly.ShaftFrame) throw std::logic_error("the shaft frame is not condensed");
    w.Shaft = MakeShaftFrameWorkspace(*assembly.ShaftFrame);
    return w;
  }
  w.System = assembly.System;
  w.Global = assembly.Global;
  w.Solver = MakeSolver(kind);
  return w;
}

void PlaceBeamElements(const TDynamicCalcStruct& run, int k, std::vector<TBeamElem>& elements,
                       std::vector<TPoint3>& nodes) {
  PlaceBeamElementsAt(run.Engine, run.AngleGrid[static_cast<std::size_t>(k)], elements, nodes);
}

void PlaceBeamElementsAt(const TEngineDataStruct& e, double alpha, std::vector<TBeamElem>& elements,
                         std::vector<TPoint3>& nodes) {
  int t = 0;
  nodes[0] = {};
  for (TBeamElem& el : elements) {
    const double phi = alpha - e.FireAngle[std::min(t, e.NSec - 1) + 1][1];
    switch (el.Kind) {
      case ekWeb1: el.SetPlaneAngle(phi); break;
      case ekWeb2: el.SetPlaneAngle(Pi + phi); break;
      case ekCounterweight1: el.SetPlaneAngle(Pi + phi + e.AlphaPr[2 * t + 1]); break;
      case ekCounterweight2:
        el.SetPlaneAngle(Pi + phi + e.AlphaPr[2 * t + 2]);
        ++t;
        break;
      default: break;
    }
    // Node 2 lies along the element's axis (its local y) from node 1.
    const TMatrix3& c = el.Cosines;
    const TPoint3& start = nodes[static_cast<std::size_t>(el.Node1)];
    TPoint3& end = nodes[static_cast<std::size_t>(el.Node2)];
    end = {start.x + el.Length * c[1][0], start.y + el.Length * c[1][1], start.z + el.Length * c[1][2]};
    el.StartPoint = start;
    el.EndPoint = end;
  }
}

namespace {

// The floating-point check after step k: its message is formed only when a flag is raised.
void checkStepFlags(int k) {
  if (FloatFlagsRaised()) CheckFloatFlags("балочная модель вала", "шаг " + std::to_string(k));
}

}  // namespace

void SolveBeamStep(TDynamicCalcStruct& run, int k, std::vector<TBeamElem>& elements, std::vector<TPoint3>& nodes,
                   TBeamWorkspace& w) {
  const TBeamAssembly& a = *run.Assembly();
  ClearFloatFlags();
  if (w.Shaft) {
    // The shaft-frame solver reads no positions: the elements are placed for the picture
    // only, when the run's own elements are solved for an observer that draws them.
    const TCalcObserver* observer = run.Settings().Observer;
    if (&elements == &run.Elements && observer && observer->DrawsModel()) PlaceBeamElements(run, k, elements, nodes);
    SolveShaftFrameStep(run, k, *a.ShaftFrame, *w.Shaft);
    checkStepFlags(k);
    return;
  }
  PlaceBeamElements(run, k, elements, nodes);
  for (int index : a.Turning) {
    const auto i = static_cast<std::size_t>(index);
    w.Global[i] = RotateStiffness(a.Local[i], elements[i].Cosines);
  }

  // Assembly.
  TBeamSystem& system = w.System;
  std::fill(system.Values.begin(), system.Values.end(), 0.0);
  std::fill(system.F.begin(), system.F.end(), 0.0);
  for (std::size_t i = 0; i < elements.size(); ++i) {
    const TMatrix12& g = w.Global[i];
    const auto& slots = a.Slots[i];
    for (std::size_t r = 0; r < 12; ++r)
      for (std::size_t c = 0; c < 12; ++c) system.Values[static_cast<std::size_t>(slots[r * 12 + c])] += g[r][c];
    const TVector12 load = elements[i].LoadVector(k);
    for (std::size_t d = 0; d < 12; ++d) system.F[static_cast<std::size_t>(a.Dofs[i][d])] += load[d];
  }
  // Supports by penalty: held degrees get a huge diagonal and a matching right-hand side
  // (prescribed displacements are zero here, so their right-hand side is zero).
  for (std::size_t h = 0; h < a.HeldDofs.size(); ++h) {
    const auto j = static_cast<std::size_t>(a.HeldDofs[h]);
    system.F[j] = run.DofFix[j] == TF_FIXED ? PenaltyLoad : 0.0;
    system.Values[static_cast<std::size_t>(a.HeldDiagonal[h])] *= PenaltyFactor;
  }

  try {
    w.Solver->Solve(system, w.U);
  } catch (const ESingularSystemError& error) {
    throw ESingularSystemError("Балочная модель вала, шаг " + std::to_string(k) + ": " + error.what());
  }
  for (std::size_t i = 0; i < elements.size(); ++i)
    for (std::size_t d = 0; d < 12; ++d) elements[i].Displacements[d] = w.U[static_cast<std::size_t>(a.Dofs[i][d])];

  WriteBeamStepResults(
      run, k,
      [&](int element) {
        const auto i = static_cast<std::size_t>(element);
        return GlobalEndForces(w.Global[i], elements[i].Displacements);
      },
      [&](int element) {
        const auto i = static_cast<std::size_t>(element);
        return LocalEndForces(a.Local[i], elements[i].Cosines, elements[i].Displacements)[7];
      });
  checkStepFlags(k);
}

void WriteBeamStepResults(TDynamicCalcStruct& run, int k, const std::function<TVector12(int)>& global,
                          const std::function<double(int)>& axial) {
  const TBeamAssembly& a = *run.Assembly();
  const std::size_t step = static_cast<std::size_t>(k);
  const TEngineDataStruct& e = run.Engine;
  const double alpha = run.AngleGrid[step];
  for (std::size_t t = 0; t < a.Throws.size(); ++t) {
    const TBeamThrowElements& te = a.Throws[t];
    TCrank& crank = *run.Cranks[t];
    const TVector12 first = global(te.FirstJournal), lastJournal = global(te.LastJournal);
    crank.MX1[step] = first[3];
    crank.MY1[step] = first[4];
    if (t == 0) {
      crank.X1[step] = axial(te.SpringX0);
      crank.Y1[step] = axial(te.SpringY0);
    } else {
      crank.X1[step] = run.Cranks[t - 1]->X2[step];
      crank.Y1[step] = run.Cranks[t - 1]->Y2[step];
    }
    crank.X2[step] = axial(te.SpringX);
    crank.Y2[step] = axial(te.SpringY);
    crank.MX2[step] = lastJournal[9];
    crank.MY2[step] = lastJournal[10];
    crank.Mkks2[step] = -lastJournal[11];
    const TVector12 firstPin = global(te.FirstPin), endPin = global(te.EndPin);
    crank.Mkss[step] = -endPin[11];
    const double a1 = alpha - e.FireAngle[static_cast<int>(t) + 1][1];
    crank.MZgalss1[step] = -(firstPin[3] * std::cos(a1) + firstPin[4] * std::sin(a1));
    crank.MZgalss2[step] = -(endPin[9] * std::cos(a1) + endPin[10] * std::sin(a1));
    for (std::size_t j = 0; j < te.CylinderPins.size(); ++j) {
      const TVector12 pin = global(te.CylinderPins[j]);
      crank.Cylinders[j]->MXss[step] = pin[9];
      crank.Cylinders[j]->MYss[step] = pin[10];
    }
  }
}

void TDynamicCalcStruct::prepareSolver() {
  if (!assembly_) throw std::logic_error("the beam model is not built");
  if (settings_.Solver == TSolverKind::Shaft) {
    if (!assembly_->ShaftFrame)
      assembly_->ShaftFrame = settings_.ShaftFrames ? settings_.ShaftFrames->Get(*this) : BuildShaftFrame(*this);
  } else if (assembly_->Slots.empty()) {
    LayOutBeamSystem(*assembly_, 6 * NNodes);
  }
}

void TDynamicCalcStruct::SolveBeamAtStep(int k) {
  prepareSolver();
  if (!workspace_) workspace_ = std::make_unique<TBeamWorkspace>(MakeBeamWorkspace(*assembly_, settings_.Solver));
  SolveBeamStep(*this, k, Elements, NodeXYZ, *workspace_);
}
