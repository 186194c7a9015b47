#include "ShaftFrameUnit.h"

#include <Eigen/Dense>
#include <Eigen/OrderingMethods>
#include <Eigen/SparseCholesky>
#include <Eigen/SparseCore>
#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>
#include <string>

#include "BandCholeskyUnit.h"
#include "DynamicCalcUnit.h"

namespace {

using Real = long double;
using MatrixL = Eigen::Matrix<Real, Eigen::Dynamic, Eigen::Dynamic>;
using VectorL = Eigen::Matrix<Real, Eigen::Dynamic, 1>;
using Matrix6L = Eigen::Matrix<Real, 6, 6>;
using Vector6L = Eigen::Matrix<Real, 6, 1>;

// Turns the six degrees of one node (displacements, rotations) about Z by the angle with
// cosine c and sine s: to the engine's axes (+1) or to the shaft's (−1).
void turnNode(Real* v, Real c, Real s, int direction) {
  for (int block = 0; block < 6; block += 3) {
    const auto x = v[block], y = v[block + 1];
    v[block] = c * x - direction * s * y;
    v[block + 1] = direction * s * x + c * y;
  }
}

// Qᵀ·S·Q of a node's 6×6 stiffness S given in the engine's axes: the same stiffness in the
// shaft's axes turned by the angle (c, s). Only the X and Y rows and columns of each block mix.
Matrix6L toShaftAxes(const Matrix6L& S, Real c, Real s) {
  Matrix6L t = S;
  for (int b = 0; b < 6; b += 3)
    for (int i = 0; i < 6; ++i) {
      const Real x = t(i, b), y = t(i, b + 1);
      t(i, b) = c * x + s * y;
      t(i, b + 1) = -s * x + c * y;
    }
  for (int b = 0; b < 6; b += 3)
    for (int j = 0; j < 6; ++j) {
      const Real x = t(b, j), y = t(b + 1, j);
      t(b, j) = c * x + s * y;
      t(b + 1, j) = -s * x + c * y;
    }
  return t;
}

enum class TNodeRole { Interior, Support, Ground };

// The end-force rows the results read: the bending moments at both ends (X and Y, turned
// between the shaft's and the engine's axes) and the twisting moment at the far end.
constexpr std::array<int, 5> MomentRows = {3, 4, 9, 10, 11};
constexpr int MomentCount = static_cast<int>(MomentRows.size());

// True when a support's stiffness is the same from every angle about Z (equal along X and Y,
// no coupling between them or with Z): it then needs no turning into the shaft's axes. One
// generic angle decides it; each entry may differ by rounding, 1e-13 of its diagonals.
bool turnsFreely(const Matrix6L& S) {
  const Matrix6L turned = toShaftAxes(S, std::cos(Real(1)), std::sin(Real(1)));
  for (int i = 0; i < 6; ++i)
    for (int j = 0; j < 6; ++j)
      if (std::fabs(turned(i, j) - S(i, j)) > 1e-13L * std::sqrt(std::fabs(S(i, i) * S(j, j)))) return false;
  return true;
}

// r −= K·v, K given row by row over its whole band (2·band + 1 entries a row, the entries
// outside the matrix zero): each row sums in a register of its own.
void subtractBandProduct(const std::vector<Real>& K, int band, const VectorL& v, VectorL& r) {
  const auto n = static_cast<int>(v.size());
  const Real* row = K.data();
  for (int i = 0; i < n; ++i, row += 2 * band + 1) {
    const int first = std::max(0, i - band), last = std::min(n - 1, i + band);
    Real sum = 0;
    for (int j = first; j <= last; ++j) sum += row[j - i + band] * v[j];
    r[i] -= sum;
  }
}

// The interior nodes joined by shaft elements without passing a support node: a span between
// two journals or an end of the shaft. The parts couple only through the support nodes, so
// each is condensed on its own, on the unknowns it touches.
struct TInteriorPart {
  std::vector<int> Dofs;                      // the frame's degrees, in the part's order
  std::vector<Eigen::Triplet<Real>> Entries;  // its own stiffness
  std::vector<Eigen::Triplet<Real>> Coupling; // with the support nodes: (row, entry of w)
  std::vector<std::pair<int, Real>> Held;     // (row, penalty load)
  std::vector<int> Boundary;                  // entries of w it couples with
  std::vector<int> Loads;                     // entries of h that load it, and
  std::vector<int> LoadRows;                  // the rows they load
  MatrixL X;  // its displacements per unit of each entry of Boundary (negated), Loads, and the held loads
};

}  // namespace

// A node loaded by some elements: the sum of their force histories along X and Y, taken from
// the element ends that load it (element, 0 for node 1 or 1 for node 2).
struct TShaftLoadNode {
  std::vector<std::pair<int, int>> Ends;
  std::vector<const TReal1DArray*> X, Y;
};

// A support node: its springs condensed (the ground nodes eliminated), in the engine's axes.
struct TShaftSupport {
  int Node = 0;
  Matrix6L Stiffness = Matrix6L::Zero();  // N/m, N·m/rad
  Vector6L Load = Vector6L::Zero();       // what the penalty of the ground nodes hands on, N, N·m
};

// End moments of an element (MomentRows) in the shaft's axes as an affine function of the
// unknowns x = (the shaft-axis loads h, the support-node displacements w): only the columns
// that act on it.
struct TShaftElementForces {
  std::vector<int> Columns;
  Eigen::Matrix<double, MomentCount, Eigen::Dynamic> Influence;
  Eigen::Matrix<double, MomentCount, 1> Constant;
};

// Axial force of a spring as a function of its support node's displacements in the engine's
// axes: Coefficients·u + Constant.
struct TShaftSpringForce {
  int Support = 0;
  std::array<Real, 6> Coefficients{};
  Real Constant = 0;
};

struct TShaftFrame {
  int Loads = 0;     // entries of h: X and Y of every load node
  int Boundary = 0;  // entries of w: six per support node
  std::vector<TShaftLoadNode> LoadNodes;
  std::vector<TShaftSupport> Supports;
  // The shaft's stiffness condensed on the support nodes, shaft axes, as a band (it couples
  // neighbouring supports only): whole for the residuals, its lower half rounded for the factors.
  int Band = 0;
  std::vector<Real> Condensed;
  std::vector<double> CondensedRounded;
  // Supports that turn freely leave the system the same at every step: factored once.
  bool Constant = false;
  TBandCholesky ConstantFactors;
  // The reduced load on the support nodes per entry of h (a support with the loads of its
  // two spans: sparse), and what the held degrees hand on.
  Eigen::SparseMatrix<double> LoadMap;
  VectorL ConstantLoad;
  std::vector<int> ForceOf;  // element → index in Forces, −1 when its forces are not needed
  std::vector<TShaftElementForces> Forces;
  std::vector<int> SpringOf;  // element → index in Springs, −1 for the others
  std::vector<TShaftSpringForce> Springs;
};

struct TShaftFrameWorkspace {
  VectorL b, w, residual;
  std::vector<Matrix6L> Springs;  // the support nodes' springs in the shaft's axes
  std::vector<double> System;     // their band with the springs of the step
  TBandCholesky Factors;
  Eigen::VectorXd h, rounded;
  Eigen::VectorXd x;  // (h, w)
  Eigen::VectorXd gathered;  // the columns of one element's moments, as long as the longest
};

namespace {

// The system of the support nodes at one step: the condensed shaft plus the springs in the
// shaft's axes, into the lower band.
void addSprings(std::vector<double>& band, int width, const std::vector<Matrix6L>& springs) {
  for (std::size_t j = 0; j < springs.size(); ++j)
    for (int r = 0; r < 6; ++r)
      for (int c = 0; c <= r; ++c) {
        const int at = 6 * static_cast<int>(j);
        band[static_cast<std::size_t>(TBandCholesky::Slot(at + r, at + c, width))] += static_cast<double>(springs[j](r, c));
      }
}

// Refuses factors that failed at a row (−1: they did not), at step k (−1: before the steps).
void requireFactors(const TShaftFrame& frame, int failedRow, int k) {
  if (failedRow < 0) return;
  const int dof = 6 * frame.Supports[static_cast<std::size_t>(failedRow / 6)].Node + failedRow % 6;
  const std::string where = k < 0 ? "Балочная модель вала" : "Балочная модель вала, шаг " + std::to_string(k);
  throw ESingularSystemError(where + ": система опорных узлов не положительно определена: " + DofName(dof));
}

// True when the end (0: node 1, 1: node 2) of an element carries a force history.
bool carriesLoad(const TDynamicCalcStruct& run, const TBeamElem& el, int side) {
  const TReal1DArray* x = side == 0 ? el.LoadX1 : el.LoadX2;
  const TReal1DArray* y = side == 0 ? el.LoadY1 : el.LoadY2;
  return (x && x != &run.ZeroCurve) || (y && y != &run.ZeroCurve);
}

// Points the load nodes at the force histories of this run's elements.
void takeLoads(TShaftFrame& frame, const TDynamicCalcStruct& run) {
  for (TShaftLoadNode& load : frame.LoadNodes) {
    load.X.clear();
    load.Y.clear();
    for (const auto& [element, side] : load.Ends) {
      const TBeamElem& el = run.Elements[static_cast<std::size_t>(element)];
      const TReal1DArray* x = side == 0 ? el.LoadX1 : el.LoadX2;
      const TReal1DArray* y = side == 0 ? el.LoadY1 : el.LoadY2;
      if (x) load.X.push_back(x);
      if (y) load.Y.push_back(y);
    }
  }
}

// Everything the condensation is built from, as numbers: two runs with equal lists have
// equal condensations.
std::vector<double> condensedModel(const TDynamicCalcStruct& run) {
  const TBeamAssembly& a = *run.Assembly();
  std::vector<TBeamElem> placed = run.Elements;
  std::vector<TPoint3> positions(static_cast<std::size_t>(run.NNodes));
  PlaceBeamElementsAt(run.Engine, 0.0, placed, positions);
  std::vector<double> model;
  model.reserve(placed.size() * 200 + run.DofFix.size());
  for (std::size_t i = 0; i < placed.size(); ++i) {
    const TBeamElem& el = placed[i];
    model.insert(model.end(), {double(el.Kind), double(el.Node1), double(el.Node2), double(carriesLoad(run, el, 0)),
                               double(carriesLoad(run, el, 1))});
    model.insert(model.end(), a.Dofs[i].begin(), a.Dofs[i].end());
    for (const auto& row : el.Cosines) model.insert(model.end(), row.begin(), row.end());
    for (const auto& row : a.Local[i]) model.insert(model.end(), row.begin(), row.end());
    if (el.Kind == ekSupport)
      for (const auto& row : a.Global[i]) model.insert(model.end(), row.begin(), row.end());
  }
  for (TFix fix : run.DofFix) model.push_back(static_cast<double>(fix));
  for (const TBeamThrowElements& t : a.Throws) {
    model.insert(model.end(), {double(t.FirstJournal), double(t.LastJournal), double(t.FirstPin), double(t.EndPin),
                               double(t.SpringX), double(t.SpringY), double(t.SpringX0), double(t.SpringY0)});
    model.insert(model.end(), t.CylinderPins.begin(), t.CylinderPins.end());
  }
  return model;
}

}  // namespace

std::shared_ptr<const TShaftFrame> TShaftFrameCache::Get(const TDynamicCalcStruct& run) {
  std::vector<double> model = condensedModel(run);
  std::lock_guard<std::mutex> guard(lock_);
  if (!frame_ || model != model_) {
    frame_ = BuildShaftFrame(run);
    model_ = std::move(model);
    return frame_;
  }
  auto frame = std::make_shared<TShaftFrame>(*frame_);
  takeLoads(*frame, run);
  return frame;
}

std::shared_ptr<const TShaftFrame> BuildShaftFrame(const TDynamicCalcStruct& run) {
  const TBeamAssembly& a = *run.Assembly();
  auto frame = std::make_shared<TShaftFrame>();
  const int nodes = run.NNodes;
  const std::size_t elementCount = run.Elements.size();
  const auto node = [](int n) { return static_cast<std::size_t>(n); };

  // The shaft's elements in their positions at crank angle 0: the shaft's own axes.
  std::vector<TBeamElem> placed = run.Elements;
  std::vector<TPoint3> positions(node(nodes));
  PlaceBeamElementsAt(run.Engine, 0.0, placed, positions);

  std::vector<TNodeRole> role(node(nodes), TNodeRole::Interior);
  std::vector<int> groundUse(node(nodes), 0);
  for (const TBeamElem& el : placed)
    if (el.Kind == ekSupport) {
      role[node(el.Node1)] = TNodeRole::Support;
      role[node(el.Node2)] = TNodeRole::Ground;
    }
  for (const TBeamElem& el : placed)
    for (int n : {el.Node1, el.Node2})
      if (role[node(n)] == TNodeRole::Ground) ++groundUse[node(n)];

  // The interior parts: interior nodes joined by shaft elements.
  std::vector<int> parent(node(nodes));
  std::iota(parent.begin(), parent.end(), 0);
  const auto root = [&](int n) {
    while (parent[node(n)] != n) n = parent[node(n)] = parent[node(parent[node(n)])];
    return n;
  };
  for (const TBeamElem& el : placed)
    if (el.Kind != ekSupport && role[node(el.Node1)] == TNodeRole::Interior && role[node(el.Node2)] == TNodeRole::Interior)
      parent[node(root(el.Node1))] = root(el.Node2);

  // Numbering: six entries of w per support node; the interior degrees by part, each in the
  // order of the nodes (the shaft's order, which keeps a part's factor narrow).
  std::vector<int> index(node(6 * nodes), -1), partOfNode(node(nodes), -1), partOfRoot(node(nodes), -1);
  std::vector<int> supportOf(node(nodes), -1);
  std::vector<TInteriorPart> parts;
  for (int n = 0; n < nodes; ++n) {
    if (role[node(n)] == TNodeRole::Support) {
      supportOf[node(n)] = static_cast<int>(frame->Supports.size());
      frame->Supports.push_back({});
      frame->Supports.back().Node = n;
      for (int d = 0; d < 6; ++d) index[node(6 * n + d)] = 6 * supportOf[node(n)] + d;
    } else if (role[node(n)] == TNodeRole::Interior) {
      int& part = partOfRoot[node(root(n))];
      if (part < 0) {
        part = static_cast<int>(parts.size());
        parts.emplace_back();
      }
      partOfNode[node(n)] = part;
      for (int d = 0; d < 6; ++d) {
        index[node(6 * n + d)] = static_cast<int>(parts[node(part)].Dofs.size());
        parts[node(part)].Dofs.push_back(6 * n + d);
      }
    }
  }
  const int nB = 6 * static_cast<int>(frame->Supports.size());
  frame->Boundary = nB;

  // Loads: every node that some element loads, with its histories.
  std::vector<int> loadColumn(node(nodes), -1);
  for (std::size_t e = 0; e < elementCount; ++e)
    for (int side = 0; side < 2; ++side) {
      const TBeamElem& el = placed[e];
      if (!carriesLoad(run, el, side)) continue;
      const int n = side == 0 ? el.Node1 : el.Node2;
      if (role[node(n)] == TNodeRole::Ground) throw std::logic_error("a ground node of the frame carries a load");
      int& column = loadColumn[node(n)];
      if (column < 0) {
        column = 2 * static_cast<int>(frame->LoadNodes.size());
        frame->LoadNodes.emplace_back();
        if (role[node(n)] == TNodeRole::Interior) {
          TInteriorPart& part = parts[node(partOfNode[node(n)])];
          for (int d = 0; d < 2; ++d) {
            part.Loads.push_back(column + d);
            part.LoadRows.push_back(index[node(6 * n + d)]);
          }
        }
      }
      frame->LoadNodes[node(column / 2)].Ends.emplace_back(static_cast<int>(e), side);
    }
  takeLoads(*frame, run);
  const int L = 2 * static_cast<int>(frame->LoadNodes.size());
  frame->Loads = L;

  // The shaft's stiffness in its own axes, split into the parts, their couplings with the
  // support nodes and the support nodes' own block, with the held degrees of the shaft (its
  // end along and about Z, which do not turn) by penalty.
  MatrixL KBB = MatrixL::Zero(nB, nB);
  VectorL fB = VectorL::Zero(nB);
  std::vector<Real> springDiagonal(node(6 * nodes), 0);
  for (std::size_t i = 0; i < elementCount; ++i)
    if (placed[i].Kind == ekSupport)
      for (std::size_t d = 0; d < 6; ++d) springDiagonal[node(a.Dofs[i][d])] += a.Global[i][d][d];
  auto heldScale = [&](int dof) {
    return run.DofFix[node(dof)] == TF_EMPTY ? Real(1) : Real(PenaltyFactor);
  };
  for (std::size_t i = 0; i < elementCount; ++i) {
    if (placed[i].Kind == ekSupport) continue;
    const TMatrix12 g = RotateStiffness(a.Local[i], placed[i].Cosines);
    for (std::size_t r = 0; r < 12; ++r)
      for (std::size_t c = 0; c < 12; ++c) {
        const int dr = a.Dofs[i][r], dc = a.Dofs[i][c];
        Real value = g[r][c];
        if (dr == dc) value *= heldScale(dr);
        const bool rowSupport = role[node(dr / 6)] == TNodeRole::Support;
        const bool columnSupport = role[node(dc / 6)] == TNodeRole::Support;
        const int ir = index[node(dr)], ic = index[node(dc)];
        if (!rowSupport) {
          TInteriorPart& part = parts[node(partOfNode[node(dr / 6)])];
          (columnSupport ? part.Coupling : part.Entries).emplace_back(ir, ic, value);
        } else if (columnSupport) {
          KBB(ir, ic) += value;
        }
      }
  }
  for (int dof = 0; dof < 6 * nodes; ++dof) {
    const auto ud = node(dof);
    if (run.DofFix[ud] == TF_EMPTY || role[ud / 6] == TNodeRole::Ground) continue;
    if (dof % 6 != 2 && dof % 6 != 5)
      throw std::logic_error("the shaft-frame solver holds shaft degrees along or about Z only");
    const Real load = run.DofFix[ud] == TF_FIXED ? Real(PenaltyLoad) : Real(0);
    if (role[ud / 6] == TNodeRole::Support) {
      // The springs' share of the diagonal is multiplied too, as in the whole frame's system.
      KBB(index[ud], index[ud]) += springDiagonal[ud] * (Real(PenaltyFactor) - 1);
      fB[index[ud]] = load;
    } else {
      parts[node(partOfNode[ud / 6])].Held.emplace_back(index[ud], load);
    }
  }

  // The springs: each ground node belongs to one spring; its held displacements (penalty) and
  // free rotations are eliminated, leaving a 6×6 stiffness on the support node.
  frame->SpringOf.assign(elementCount, -1);
  for (std::size_t i = 0; i < elementCount; ++i) {
    const TBeamElem& el = placed[i];
    if (el.Kind != ekSupport) continue;
    if (groundUse[node(el.Node2)] != 1) throw std::logic_error("a ground node of the frame is shared by several elements");
    Eigen::Matrix<Real, 12, 12> g;
    for (int r = 0; r < 12; ++r)
      for (int c = 0; c < 12; ++c) g(r, c) = a.Global[i][node(r)][node(c)];
    Vector6L groundLoad = Vector6L::Zero();
    for (int d = 0; d < 6; ++d) {
      const int dof = a.Dofs[i][node(d) + 6];
      g(6 + d, 6 + d) *= heldScale(dof);
      if (run.DofFix[node(dof)] == TF_FIXED) groundLoad[d] = PenaltyLoad;
    }
    const Matrix6L Snn = g.topLeftCorner<6, 6>(), Sng = g.topRightCorner<6, 6>(), Sgn = g.bottomLeftCorner<6, 6>();
    const Eigen::LDLT<Matrix6L> ground(g.bottomRightCorner<6, 6>());
    if (ground.info() != Eigen::Success || !(ground.vectorD().minCoeff() > 0))
      throw ESingularSystemError("система вырождена: опорный узел пружины не закреплён (" + DofName(a.Dofs[i][6]) + ")");
    const Matrix6L groundPerShaft = ground.solve(Sgn);  // u_g = groundFree − groundPerShaft·u_n
    const Vector6L groundFree = ground.solve(groundLoad);
    TShaftSupport& support = frame->Supports[node(supportOf[node(el.Node1)])];
    support.Stiffness += Snn - Sng * groundPerShaft;
    support.Load -= Sng * groundFree;
    // Axial force: row 7 of K·T·(u_n, u_g).
    Eigen::Matrix<Real, 1, 12> row = Eigen::Matrix<Real, 1, 12>::Zero();
    for (int j = 0; j < 12; ++j)
      for (int m = 0; m < 3; ++m)
        row(j) += Real(a.Local[i][7][node(3 * (j / 3) + m)]) * Real(el.Cosines[node(m)][node(j % 3)]);
    const Eigen::Matrix<Real, 1, 6> coefficients = row.leftCols<6>() - row.rightCols<6>() * groundPerShaft;
    TShaftSpringForce spring;
    spring.Support = supportOf[node(el.Node1)];
    for (int d = 0; d < 6; ++d) spring.Coefficients[node(d)] = coefficients(d);
    spring.Constant = (row.rightCols<6>() * groundFree)(0);
    frame->SpringOf[i] = static_cast<int>(frame->Springs.size());
    frame->Springs.push_back(spring);
  }

  // Condensation of each part on the support nodes: X = K_II⁻¹·(K_IB, E_IL, f_I), and the
  // support nodes' system K_BB − K_BI·X_B with its loads E_BL − K_BI·X_L, f_B − K_BI·X_f.
  MatrixL condensed = KBB, loadMap = MatrixL::Zero(nB, L);
  frame->ConstantLoad = fB;
  for (int n = 0; n < nodes; ++n)
    if (role[node(n)] == TNodeRole::Support && loadColumn[node(n)] >= 0)
      for (int d = 0; d < 2; ++d) loadMap(index[node(6 * n + d)], loadColumn[node(n)] + d) = 1;
  for (TInteriorPart& part : parts) {
    const auto n = static_cast<Eigen::Index>(part.Dofs.size());
    for (const auto& entry : part.Coupling) part.Boundary.push_back(entry.col());
    std::sort(part.Boundary.begin(), part.Boundary.end());
    part.Boundary.erase(std::unique(part.Boundary.begin(), part.Boundary.end()), part.Boundary.end());
    const auto nb = static_cast<Eigen::Index>(part.Boundary.size()), nl = static_cast<Eigen::Index>(part.Loads.size());
    MatrixL KIB = MatrixL::Zero(n, nb);
    for (const auto& entry : part.Coupling) {
      const auto column = std::lower_bound(part.Boundary.begin(), part.Boundary.end(), entry.col()) - part.Boundary.begin();
      KIB(entry.row(), column) += entry.value();
    }
    MatrixL rhs = MatrixL::Zero(n, nb + nl + 1);
    rhs.leftCols(nb) = KIB;
    for (Eigen::Index j = 0; j < nl; ++j) rhs(part.LoadRows[static_cast<std::size_t>(j)], nb + j) = 1;
    for (const auto& [row, load] : part.Held) rhs(row, nb + nl) = load;
    Eigen::SparseMatrix<Real> KII(n, n);
    KII.setFromTriplets(part.Entries.begin(), part.Entries.end());
    Eigen::SimplicialLDLT<Eigen::SparseMatrix<Real>, Eigen::Lower, Eigen::NaturalOrdering<int>> ldlt(KII);
    if (ldlt.info() != Eigen::Success) throw ESingularSystemError("система вырождена: нулевой ведущий элемент в жёсткости вала");
    for (Eigen::Index i = 0; i < n; ++i)
      if (!(ldlt.vectorD()[i] > 0))
        throw ESingularSystemError("жёсткость вала не положительно определена: " + DofName(part.Dofs[static_cast<std::size_t>(i)]));
    part.X = ldlt.solve(rhs);
    const MatrixL KBI = KIB.transpose();
    const MatrixL reduced = KBI * part.X;  // per column of rhs
    for (Eigen::Index r = 0; r < nb; ++r) {
      const int br = part.Boundary[static_cast<std::size_t>(r)];
      for (Eigen::Index c = 0; c < nb; ++c) condensed(br, part.Boundary[static_cast<std::size_t>(c)]) -= reduced(r, c);
      for (Eigen::Index j = 0; j < nl; ++j) loadMap(br, part.Loads[static_cast<std::size_t>(j)]) -= reduced(r, nb + j);
      frame->ConstantLoad[br] -= reduced(r, nb + nl);
    }
  }
  frame->LoadMap = loadMap.cast<double>().sparseView(0.0, 0.0);

  // The condensed system as a band; six entries at least, the width of a support's springs.
  int band = 5;
  for (int r = 0; r < nB; ++r)
    for (int c = 0; c < r; ++c)
      if (condensed(r, c) != 0) band = std::max(band, r - c);
  frame->Band = band;
  frame->Condensed.assign(static_cast<std::size_t>(nB * (2 * band + 1)), 0);
  frame->CondensedRounded.assign(static_cast<std::size_t>(nB * (band + 1)), 0);
  for (int r = 0; r < nB; ++r)
    for (int c = std::max(0, r - band); c <= std::min(nB - 1, r + band); ++c) {
      frame->Condensed[static_cast<std::size_t>(r * (2 * band + 1) + c - r + band)] = condensed(r, c);
      if (c <= r) frame->CondensedRounded[static_cast<std::size_t>(TBandCholesky::Slot(r, c, band))] = static_cast<double>(condensed(r, c));
    }
  frame->Constant = std::all_of(frame->Supports.begin(), frame->Supports.end(),
                                [](const TShaftSupport& support) { return turnsFreely(support.Stiffness); });
  if (frame->Constant) {
    std::vector<double> system = frame->CondensedRounded;
    std::vector<Matrix6L> springs;
    for (const TShaftSupport& support : frame->Supports) springs.push_back(support.Stiffness);
    addSprings(system, band, springs);
    requireFactors(*frame, frame->ConstantFactors.Factor(nB, band, system), -1);
  }

  // End moments of the elements the results read: G·(displacements of its 12 degrees), each
  // degree a support-node unknown or its part's solution X_L·h + X_f − X_B·w.
  frame->ForceOf.assign(elementCount, -1);
  std::vector<int> slot(node(L + nB), -1);
  for (const TBeamThrowElements& t : a.Throws) {
    std::vector<int> wanted = {t.FirstJournal, t.LastJournal, t.FirstPin, t.EndPin};
    wanted.insert(wanted.end(), t.CylinderPins.begin(), t.CylinderPins.end());
    for (int element : wanted) {
      const auto e = node(element);
      if (frame->ForceOf[e] >= 0) continue;
      if (placed[e].Kind != ekMainJournal && placed[e].Kind != ekCrankpin)
        throw std::logic_error("the shaft-frame solver reads the forces of journals and crankpins only");
      TShaftElementForces forces;
      auto column = [&](int unknown) {
        int& at = slot[node(unknown)];
        if (at < 0) {
          at = static_cast<int>(forces.Columns.size());
          forces.Columns.push_back(unknown);
        }
        return at;
      };
      // W: the element's displacements per unknown, built over the columns it meets.
      std::vector<std::array<Real, 12>> W;
      Eigen::Matrix<Real, 12, 1> constant = Eigen::Matrix<Real, 12, 1>::Zero();
      auto add = [&](int unknown, int r, Real value) {
        const auto at = node(column(unknown));
        if (at == W.size()) W.emplace_back().fill(0);
        W[at][node(r)] += value;
      };
      for (int r = 0; r < 12; ++r) {
        const int dof = a.Dofs[e][node(r)];
        const int i = index[node(dof)];
        if (role[node(dof / 6)] == TNodeRole::Support) {
          add(L + i, r, 1);
          continue;
        }
        const TInteriorPart& part = parts[node(partOfNode[node(dof / 6)])];
        const auto nb = static_cast<Eigen::Index>(part.Boundary.size()), nl = static_cast<Eigen::Index>(part.Loads.size());
        for (Eigen::Index j = 0; j < nl; ++j) add(part.Loads[static_cast<std::size_t>(j)], r, part.X(i, nb + j));
        for (Eigen::Index j = 0; j < nb; ++j) add(L + part.Boundary[static_cast<std::size_t>(j)], r, -part.X(i, j));
        constant[r] = part.X(i, nb + nl);
      }
      Eigen::Matrix<Real, MomentCount, 12> G;
      for (int m = 0; m < MomentCount; ++m)
        for (int c = 0; c < 12; ++c) G(m, c) = a.Global[e][node(MomentRows[node(m)])][node(c)];
      forces.Influence.resize(MomentCount, static_cast<Eigen::Index>(W.size()));
      for (std::size_t j = 0; j < W.size(); ++j)
        forces.Influence.col(static_cast<Eigen::Index>(j)) =
            (G * Eigen::Map<const Eigen::Matrix<Real, 12, 1>>(W[j].data())).cast<double>();
      forces.Constant = (G * constant).cast<double>();
      for (int unknown : forces.Columns) slot[node(unknown)] = -1;
      frame->ForceOf[e] = static_cast<int>(frame->Forces.size());
      frame->Forces.push_back(std::move(forces));
    }
  }
  return frame;
}

std::shared_ptr<TShaftFrameWorkspace> MakeShaftFrameWorkspace(const TShaftFrame& frame) {
  auto w = std::make_shared<TShaftFrameWorkspace>();
  w->h.resize(frame.Loads);
  w->x.resize(frame.Loads + frame.Boundary);
  w->Springs.resize(frame.Supports.size());
  std::size_t columns = 0;
  for (const TShaftElementForces& f : frame.Forces) columns = std::max(columns, f.Columns.size());
  w->gathered.resize(static_cast<Eigen::Index>(columns));
  return w;
}

void SolveShaftFrameStep(TDynamicCalcStruct& run, int k, const TShaftFrame& frame, TShaftFrameWorkspace& w) {
  const auto step = static_cast<std::size_t>(k);
  const double angle = run.AngleGrid[step];
  const Real c = std::cos(static_cast<Real>(angle)), s = std::sin(static_cast<Real>(angle));
  const int L = frame.Loads, nB = frame.Boundary;

  // Loads in the shaft's axes.
  for (std::size_t n = 0; n < frame.LoadNodes.size(); ++n) {
    Real fx = 0, fy = 0;
    for (const TReal1DArray* x : frame.LoadNodes[n].X) fx += (*x)[step];
    for (const TReal1DArray* y : frame.LoadNodes[n].Y) fy += (*y)[step];
    w.h[static_cast<Eigen::Index>(2 * n)] = static_cast<double>(c * fx + s * fy);
    w.h[static_cast<Eigen::Index>(2 * n + 1)] = static_cast<double>(-s * fx + c * fy);
  }
  // The support nodes' system: the condensed shaft plus the springs turned into the shaft's
  // axes. The reduced loads are fractions of the loads: double keeps them to the loads' own
  // accuracy.
  w.rounded = frame.LoadMap * w.h;
  w.b = w.rounded.cast<Real>() + frame.ConstantLoad;
  for (std::size_t j = 0; j < frame.Supports.size(); ++j) {
    Vector6L load = frame.Supports[j].Load;
    turnNode(load.data(), c, s, -1);
    w.b.segment<6>(static_cast<Eigen::Index>(6 * j)) += load;
  }
  const TBandCholesky* factors = &frame.ConstantFactors;
  if (!frame.Constant) {
    for (std::size_t j = 0; j < frame.Supports.size(); ++j) w.Springs[j] = toShaftAxes(frame.Supports[j].Stiffness, c, s);
    w.System = frame.CondensedRounded;
    addSprings(w.System, frame.Band, w.Springs);
    requireFactors(frame, w.Factors.Factor(nB, frame.Band, w.System), k);
    factors = &w.Factors;
  }
  const auto springInShaftAxes = [&](std::size_t j) -> const Matrix6L& {
    return frame.Constant ? frame.Supports[j].Stiffness : w.Springs[j];
  };
  // Solved in double and refined once with a residual in long double (the refinement guards
  // engines whose support system is worse conditioned than usual).
  w.rounded = w.b.cast<double>();
  factors->SolveInPlace(w.rounded.data());
  w.w = w.rounded.cast<Real>();
  for (int pass = 0; pass < 1; ++pass) {
    w.residual = w.b;
    subtractBandProduct(frame.Condensed, frame.Band, w.w, w.residual);
    for (std::size_t j = 0; j < frame.Supports.size(); ++j) {
      const auto at = static_cast<Eigen::Index>(6 * j);
      w.residual.segment<6>(at) -= springInShaftAxes(j) * w.w.segment<6>(at);
    }
    w.rounded = w.residual.cast<double>();
    factors->SolveInPlace(w.rounded.data());
    w.w += w.rounded.cast<Real>();
  }
  w.x.head(L) = w.h;
  w.x.tail(nB) = w.w.cast<double>();

  // The end moments the results read, turned to the engine's axes; the other rows stay zero.
  const double cd = static_cast<double>(c), sd = static_cast<double>(s);
  WriteBeamStepResults(
      run, k,
      [&](int element) {
        const TShaftElementForces& f = frame.Forces[static_cast<std::size_t>(frame.ForceOf[static_cast<std::size_t>(element)])];
        const auto columns = static_cast<Eigen::Index>(f.Columns.size());
        for (Eigen::Index j = 0; j < columns; ++j) w.gathered[j] = w.x[f.Columns[static_cast<std::size_t>(j)]];
        const Eigen::Matrix<double, MomentCount, 1> m = f.Constant + f.Influence * w.gathered.head(columns);
        TVector12 forces{};
        forces[3] = cd * m[0] - sd * m[1];
        forces[4] = sd * m[0] + cd * m[1];
        forces[9] = cd * m[2] - sd * m[3];
        forces[10] = sd * m[2] + cd * m[3];
        forces[11] = m[4];
        ZeroSmallForces(forces);
        return forces;
      },
      [&](int element) {
        const TShaftSpringForce& spring =
            frame.Springs[static_cast<std::size_t>(frame.SpringOf[static_cast<std::size_t>(element)])];
        Vector6L u = w.w.segment<6>(6 * spring.Support);
        turnNode(u.data(), c, s, +1);
        Real axial = spring.Constant;
        for (int d = 0; d < 6; ++d) axial += spring.Coefficients[static_cast<std::size_t>(d)] * u[d];
        TVector12 forces{};
        forces[7] = static_cast<double>(axial);
        ZeroSmallForces(forces);
        return forces[7];
      });
}
