#include "ShaftFrameUnit.h"

#include <Eigen/Dense>
#include <Eigen/OrderingMethods>
#include <Eigen/SparseCholesky>
#include <Eigen/SparseCore>
#include <cmath>
#include <string>

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

}  // namespace

// A node loaded by some elements: the sum of their force histories along X and Y.
struct TShaftLoadNode {
  std::vector<const TReal1DArray*> X, Y;
};

// A support node: its springs condensed (the ground nodes eliminated), in the engine's axes.
struct TShaftSupport {
  int Node = 0;
  Matrix6L Stiffness = Matrix6L::Zero();  // N/m, N·m/rad
  Vector6L Load = Vector6L::Zero();       // what the penalty of the ground nodes hands on, N, N·m
};

// End forces of an element in the shaft's axes as an affine function of the unknowns x = (the
// shaft-axis loads h, the support-node displacements w): only the columns that act on it.
struct TShaftElementForces {
  std::vector<int> Columns;
  Eigen::Matrix<double, 12, Eigen::Dynamic> Influence;  // 12 × Columns
  Eigen::Matrix<double, 12, 1> Constant;
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
  // The shaft's stiffness condensed on the support nodes, shaft axes: for the residuals, and
  // rounded for the factorisation. It couples neighbouring supports only, as the load map
  // (the reduced load on the support nodes per entry of h) couples a support with the loads
  // of its two spans: both are kept sparse.
  Eigen::SparseMatrix<Real> Condensed;
  Eigen::MatrixXd CondensedRounded;
  Eigen::SparseMatrix<double> LoadMap;
  VectorL ConstantLoad;
  std::vector<int> ForceOf;  // element → index in Forces, −1 when its forces are not needed
  std::vector<TShaftElementForces> Forces;
  std::vector<int> SpringOf;  // element → index in Springs, −1 for the others
  std::vector<TShaftSpringForce> Springs;
};

struct TShaftFrameWorkspace {
  VectorL h, b, w, residual;
  std::vector<Matrix6L> Springs;  // the support nodes' springs in the shaft's axes
  Eigen::MatrixXd Md;
  Eigen::LLT<Eigen::MatrixXd> Factors;
  Eigen::VectorXd rounded, correction;
  Eigen::VectorXd x;  // (h, w)
  Eigen::VectorXd gathered;
};

std::shared_ptr<const TShaftFrame> BuildShaftFrame(const TDynamicCalcStruct& run) {
  const TBeamAssembly& a = *run.Assembly();
  auto frame = std::make_shared<TShaftFrame>();
  const int nodes = run.NNodes;
  const std::size_t elementCount = run.Elements.size();

  // The shaft's elements in their positions at crank angle 0: the shaft's own axes.
  std::vector<TBeamElem> placed = run.Elements;
  std::vector<TPoint3> positions(static_cast<std::size_t>(nodes));
  PlaceBeamElementsAt(run.Engine, 0.0, placed, positions);

  std::vector<TNodeRole> role(static_cast<std::size_t>(nodes), TNodeRole::Interior);
  std::vector<int> groundUse(static_cast<std::size_t>(nodes), 0);
  for (const TBeamElem& el : placed)
    if (el.Kind == ekSupport) {
      role[static_cast<std::size_t>(el.Node1)] = TNodeRole::Support;
      role[static_cast<std::size_t>(el.Node2)] = TNodeRole::Ground;
    }
  for (const TBeamElem& el : placed)
    for (int node : {el.Node1, el.Node2})
      if (role[static_cast<std::size_t>(node)] == TNodeRole::Ground) ++groundUse[static_cast<std::size_t>(node)];

  // Numbering: interior degrees and support-node degrees.
  std::vector<int> index(static_cast<std::size_t>(6 * nodes), -1), interiorDof;
  std::vector<int> supportOf(static_cast<std::size_t>(nodes), -1);
  int interior = 0;
  for (int n = 0; n < nodes; ++n) {
    const auto un = static_cast<std::size_t>(n);
    if (role[un] == TNodeRole::Support) {
      supportOf[un] = static_cast<int>(frame->Supports.size());
      frame->Supports.push_back({});
      frame->Supports.back().Node = n;
      for (int d = 0; d < 6; ++d) index[un * 6 + static_cast<std::size_t>(d)] = 6 * supportOf[un] + d;
    } else if (role[un] == TNodeRole::Interior) {
      for (int d = 0; d < 6; ++d) {
        index[un * 6 + static_cast<std::size_t>(d)] = interior++;
        interiorDof.push_back(6 * n + d);
      }
    }
  }
  const int nB = 6 * static_cast<int>(frame->Supports.size());
  frame->Boundary = nB;

  // Loads: every node that some element loads, with its histories.
  std::vector<int> loadColumn(static_cast<std::size_t>(nodes), -1);
  for (const TBeamElem& el : placed)
    for (int side = 0; side < 2; ++side) {
      const TReal1DArray* x = side == 0 ? el.LoadX1 : el.LoadX2;
      const TReal1DArray* y = side == 0 ? el.LoadY1 : el.LoadY2;
      if ((!x || x == &run.ZeroCurve) && (!y || y == &run.ZeroCurve)) continue;
      const int node = side == 0 ? el.Node1 : el.Node2;
      if (role[static_cast<std::size_t>(node)] == TNodeRole::Ground)
        throw std::logic_error("a ground node of the frame carries a load");
      int& column = loadColumn[static_cast<std::size_t>(node)];
      if (column < 0) {
        column = 2 * static_cast<int>(frame->LoadNodes.size());
        frame->LoadNodes.emplace_back();
      }
      TShaftLoadNode& load = frame->LoadNodes[static_cast<std::size_t>(column / 2)];
      if (x) load.X.push_back(x);
      if (y) load.Y.push_back(y);
    }
  const int L = 2 * static_cast<int>(frame->LoadNodes.size());
  frame->Loads = L;

  // The shaft's stiffness in its own axes, split into interior and support-node blocks, with
  // the held degrees of the shaft (its end along and about Z, which do not turn) by penalty.
  std::vector<Eigen::Triplet<Real>> interiorEntries;
  MatrixL KIB = MatrixL::Zero(interior, nB), KBB = MatrixL::Zero(nB, nB);
  VectorL fI = VectorL::Zero(interior), fB = VectorL::Zero(nB);
  std::vector<Real> springDiagonal(static_cast<std::size_t>(6 * nodes), 0);
  for (std::size_t i = 0; i < elementCount; ++i)
    if (placed[i].Kind == ekSupport)
      for (std::size_t d = 0; d < 6; ++d)
        springDiagonal[static_cast<std::size_t>(a.Dofs[i][d])] += a.Global[i][d][d];
  auto heldScale = [&](int dof) {
    return run.DofFix[static_cast<std::size_t>(dof)] == TF_EMPTY ? Real(1) : Real(PenaltyFactor);
  };
  for (std::size_t i = 0; i < elementCount; ++i) {
    if (placed[i].Kind == ekSupport) continue;
    const TMatrix12 g = RotateStiffness(a.Local[i], placed[i].Cosines);
    for (std::size_t r = 0; r < 12; ++r)
      for (std::size_t c = 0; c < 12; ++c) {
        const int dr = a.Dofs[i][r], dc = a.Dofs[i][c];
        Real value = g[r][c];
        if (dr == dc) value *= heldScale(dr);
        const bool rowSupport = role[static_cast<std::size_t>(dr / 6)] == TNodeRole::Support;
        const bool columnSupport = role[static_cast<std::size_t>(dc / 6)] == TNodeRole::Support;
        const int ir = index[static_cast<std::size_t>(dr)], ic = index[static_cast<std::size_t>(dc)];
        if (!rowSupport && !columnSupport)
          interiorEntries.emplace_back(ir, ic, value);
        else if (!rowSupport)
          KIB(ir, ic) += value;
        else if (columnSupport)
          KBB(ir, ic) += value;
      }
  }
  for (int dof = 0; dof < 6 * nodes; ++dof) {
    const auto ud = static_cast<std::size_t>(dof);
    if (run.DofFix[ud] == TF_EMPTY || role[ud / 6] == TNodeRole::Ground) continue;
    if (dof % 6 != 2 && dof % 6 != 5)
      throw std::logic_error("the shaft-frame solver holds shaft degrees along or about Z only");
    const Real load = run.DofFix[ud] == TF_FIXED ? Real(PenaltyLoad) : Real(0);
    if (role[ud / 6] == TNodeRole::Support) {
      // The springs' share of the diagonal is multiplied too, as in the whole frame's system.
      KBB(index[ud], index[ud]) += springDiagonal[ud] * (Real(PenaltyFactor) - 1);
      fB[index[ud]] = load;
    } else {
      fI[index[ud]] = load;
    }
  }

  // The springs: each ground node belongs to one spring; its held displacements (penalty) and
  // free rotations are eliminated, leaving a 6×6 stiffness on the support node.
  frame->SpringOf.assign(elementCount, -1);
  for (std::size_t i = 0; i < elementCount; ++i) {
    const TBeamElem& el = placed[i];
    if (el.Kind != ekSupport) continue;
    if (groundUse[static_cast<std::size_t>(el.Node2)] != 1)
      throw std::logic_error("a ground node of the frame is shared by several elements");
    Eigen::Matrix<Real, 12, 12> g;
    for (int r = 0; r < 12; ++r)
      for (int c = 0; c < 12; ++c) g(r, c) = a.Global[i][static_cast<std::size_t>(r)][static_cast<std::size_t>(c)];
    Vector6L groundLoad = Vector6L::Zero();
    for (int d = 0; d < 6; ++d) {
      const int dof = a.Dofs[i][static_cast<std::size_t>(d) + 6];
      g(6 + d, 6 + d) *= heldScale(dof);
      if (run.DofFix[static_cast<std::size_t>(dof)] == TF_FIXED) groundLoad[d] = PenaltyLoad;
    }
    const Matrix6L Snn = g.topLeftCorner<6, 6>(), Sng = g.topRightCorner<6, 6>(), Sgn = g.bottomLeftCorner<6, 6>();
    const Eigen::LDLT<Matrix6L> ground(g.bottomRightCorner<6, 6>());
    if (ground.info() != Eigen::Success || !(ground.vectorD().minCoeff() > 0))
      throw ESingularSystemError("singular system: the ground node of a support spring at " + DofName(a.Dofs[i][6]) +
                                 " is not held");
    const Matrix6L groundPerShaft = ground.solve(Sgn);         // u_g = groundFree − groundPerShaft·u_n
    const Vector6L groundFree = ground.solve(groundLoad);
    TShaftSupport& support = frame->Supports[static_cast<std::size_t>(supportOf[static_cast<std::size_t>(el.Node1)])];
    support.Stiffness += Snn - Sng * groundPerShaft;
    support.Load -= Sng * groundFree;
    // Axial force: row 7 of K·T·(u_n, u_g).
    Eigen::Matrix<Real, 1, 12> row = Eigen::Matrix<Real, 1, 12>::Zero();
    for (int j = 0; j < 12; ++j)
      for (int m = 0; m < 3; ++m)
        row(j) += Real(a.Local[i][7][static_cast<std::size_t>(3 * (j / 3) + m)]) *
                  Real(el.Cosines[static_cast<std::size_t>(m)][static_cast<std::size_t>(j % 3)]);
    const Eigen::Matrix<Real, 1, 6> coefficients = row.leftCols<6>() - row.rightCols<6>() * groundPerShaft;
    TShaftSpringForce spring;
    spring.Support = supportOf[static_cast<std::size_t>(el.Node1)];
    for (int d = 0; d < 6; ++d) spring.Coefficients[static_cast<std::size_t>(d)] = coefficients(d);
    spring.Constant = (row.rightCols<6>() * groundFree)(0);
    frame->SpringOf[i] = static_cast<int>(frame->Springs.size());
    frame->Springs.push_back(spring);
  }

  // Condensation on the support nodes: X = K_II⁻¹·(K_IB, E_IL, f_I).
  Eigen::SparseMatrix<Real> KII(interior, interior);
  KII.setFromTriplets(interiorEntries.begin(), interiorEntries.end());
  Eigen::SimplicialLDLT<Eigen::SparseMatrix<Real>, Eigen::Lower, Eigen::NaturalOrdering<int>> ldlt(KII);
  if (ldlt.info() != Eigen::Success) throw ESingularSystemError("singular system: zero pivot in the shaft's stiffness");
  for (Eigen::Index i = 0; i < ldlt.vectorD().size(); ++i)
    if (!(ldlt.vectorD()[i] > 0))
      throw ESingularSystemError("the shaft's stiffness is not positive definite at " +
                                 DofName(interiorDof[static_cast<std::size_t>(i)]));
  MatrixL EIL = MatrixL::Zero(interior, L), EBL = MatrixL::Zero(nB, L);
  for (int n = 0; n < nodes; ++n) {
    const int column = loadColumn[static_cast<std::size_t>(n)];
    if (column < 0) continue;
    for (int d = 0; d < 2; ++d) {
      const int i = index[static_cast<std::size_t>(6 * n + d)];
      (role[static_cast<std::size_t>(n)] == TNodeRole::Support ? EBL : EIL)(i, column + d) = 1;
    }
  }
  MatrixL rhs(interior, nB + L + 1);
  rhs << KIB, EIL, fI;
  const Eigen::SparseMatrix<Real> KBI = KIB.transpose().sparseView(Real(0), Real(0));
  const MatrixL X = ldlt.solve(rhs);
  const auto XB = X.leftCols(nB), XL = X.middleCols(nB, L);
  const auto Xf = X.col(nB + L);
  const MatrixL condensed = KBB - KBI * XB;
  frame->Condensed = condensed.sparseView(Real(0), Real(0));
  frame->CondensedRounded = condensed.cast<double>();
  frame->LoadMap = MatrixL(EBL - KBI * XL).cast<double>().sparseView(0.0, 0.0);
  frame->ConstantLoad = fB - KBI * Xf;

  // End forces of the elements the results read: G·(displacements of its 12 degrees), each
  // degree a support-node unknown or the interior solution X_L·h + X_f − X_B·w.
  frame->ForceOf.assign(elementCount, -1);
  for (const TBeamThrowElements& t : a.Throws) {
    std::vector<int> wanted = {t.FirstJournal, t.LastJournal, t.FirstPin, t.EndPin};
    wanted.insert(wanted.end(), t.CylinderPins.begin(), t.CylinderPins.end());
    for (int element : wanted) {
      const auto e = static_cast<std::size_t>(element);
      if (frame->ForceOf[e] >= 0) continue;
      if (placed[e].Kind != ekMainJournal && placed[e].Kind != ekCrankpin)
        throw std::logic_error("the shaft-frame solver reads the forces of journals and crankpins only");
      MatrixL W = MatrixL::Zero(12, L + nB + 1);
      for (int r = 0; r < 12; ++r) {
        const int dof = a.Dofs[e][static_cast<std::size_t>(r)];
        const int i = index[static_cast<std::size_t>(dof)];
        if (role[static_cast<std::size_t>(dof / 6)] == TNodeRole::Support) {
          W(r, L + i) = 1;
        } else {
          W.block(r, 0, 1, L) = XL.row(i);
          W.block(r, L, 1, nB) = -XB.row(i);
          W(r, L + nB) = Xf(i);
        }
      }
      MatrixL G(12, 12);
      for (int r = 0; r < 12; ++r)
        for (int c = 0; c < 12; ++c) G(r, c) = a.Global[e][static_cast<std::size_t>(r)][static_cast<std::size_t>(c)];
      TShaftElementForces forces;
      for (int c = 0; c < L + nB; ++c)
        if (W.col(c).cwiseAbs().maxCoeff() != 0) forces.Columns.push_back(c);
      forces.Influence.resize(12, static_cast<Eigen::Index>(forces.Columns.size()));
      for (std::size_t j = 0; j < forces.Columns.size(); ++j)
        forces.Influence.col(static_cast<Eigen::Index>(j)) = (G * W.col(forces.Columns[j])).cast<double>();
      forces.Constant = (G * W.col(L + nB)).cast<double>();
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
  return w;
}

void SolveShaftFrameStep(TDynamicCalcStruct& run, int k, const TShaftFrame& frame, TShaftFrameWorkspace& w) {
  const auto step = static_cast<std::size_t>(k);
  const double angle = run.AngleGrid[step];
  const Real c = std::cos(static_cast<Real>(angle)), s = std::sin(static_cast<Real>(angle));
  const int L = frame.Loads;

  // Loads in the shaft's axes.
  for (std::size_t n = 0; n < frame.LoadNodes.size(); ++n) {
    Real fx = 0, fy = 0;
    for (const TReal1DArray* x : frame.LoadNodes[n].X) fx += (*x)[step];
    for (const TReal1DArray* y : frame.LoadNodes[n].Y) fy += (*y)[step];
    w.h[static_cast<Eigen::Index>(2 * n)] = c * fx + s * fy;
    w.h[static_cast<Eigen::Index>(2 * n + 1)] = -s * fx + c * fy;
  }
  // The support nodes' system: the condensed shaft plus the springs turned into the shaft's axes.
  // The reduced loads are fractions of the loads: double keeps them to the loads' own accuracy.
  w.rounded = w.h.cast<double>();
  w.correction = frame.LoadMap * w.rounded;
  w.b = w.correction.cast<Real>() + frame.ConstantLoad;
  w.Md = frame.CondensedRounded;
  w.Springs.resize(frame.Supports.size());
  for (std::size_t j = 0; j < frame.Supports.size(); ++j) {
    const TShaftSupport& support = frame.Supports[j];
    const auto at = static_cast<Eigen::Index>(6 * j);
    w.Springs[j] = toShaftAxes(support.Stiffness, c, s);
    w.Md.block<6, 6>(at, at) += w.Springs[j].cast<double>();
    Vector6L load = support.Load;
    turnNode(load.data(), c, s, -1);
    w.b.segment<6>(at) += load;
  }
  w.Factors.compute(w.Md);
  if (w.Factors.info() != Eigen::Success)
    throw ESingularSystemError("Beam model at step " + std::to_string(k) +
                               ": the system of the support nodes is not positive definite");
  // Solved in double, refined twice with residuals in long double.
  w.rounded = w.b.cast<double>();
  w.Factors.solveInPlace(w.rounded);
  w.w = w.rounded.cast<Real>();
  for (int pass = 0; pass < 2; ++pass) {
    w.residual = w.b - frame.Condensed * w.w;
    for (std::size_t j = 0; j < w.Springs.size(); ++j)
      w.residual.segment<6>(static_cast<Eigen::Index>(6 * j)) -= w.Springs[j] * w.w.segment<6>(static_cast<Eigen::Index>(6 * j));
    w.rounded = w.residual.cast<double>();
    w.Factors.solveInPlace(w.rounded);
    w.w += w.rounded.cast<Real>();
  }
  w.x.head(L) = w.h.cast<double>();
  w.x.tail(frame.Boundary) = w.w.cast<double>();

  WriteBeamStepResults(
      run, k,
      [&](int element) {
        const TShaftElementForces& f = frame.Forces[static_cast<std::size_t>(frame.ForceOf[static_cast<std::size_t>(element)])];
        w.gathered.resize(static_cast<Eigen::Index>(f.Columns.size()));
        for (std::size_t j = 0; j < f.Columns.size(); ++j) w.gathered[static_cast<Eigen::Index>(j)] = w.x[f.Columns[j]];
        Eigen::Matrix<Real, 12, 1> sum = (f.Constant + f.Influence * w.gathered).cast<Real>();
        turnNode(sum.data(), c, s, +1);
        turnNode(sum.data() + 6, c, s, +1);
        TVector12 forces;
        for (std::size_t r = 0; r < 12; ++r) forces[r] = static_cast<double>(sum[static_cast<Eigen::Index>(r)]);
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
