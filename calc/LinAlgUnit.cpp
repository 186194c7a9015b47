#include "LinAlgUnit.h"

#include <Eigen/OrderingMethods>
#include <Eigen/SparseCholesky>
#include <Eigen/SparseCore>
#include <algorithm>
#include <cmath>
#include <limits>

int TBeamSystem::Slot(int row, int column) const {
  const auto first = RowIndex.begin() + ColumnStart[static_cast<std::size_t>(column)];
  const auto last = RowIndex.begin() + ColumnStart[static_cast<std::size_t>(column) + 1];
  const auto at = std::lower_bound(first, last, row);
  return at != last && *at == row ? static_cast<int>(at - RowIndex.begin()) : -1;
}

TReal2DArray TBeamSystem::Dense() const {
  TReal2DArray k(static_cast<std::size_t>(Size), TReal1DArray(static_cast<std::size_t>(Size), 0.0));
  for (int c = 0; c < Size; ++c)
    for (int i = ColumnStart[static_cast<std::size_t>(c)]; i < ColumnStart[static_cast<std::size_t>(c) + 1]; ++i)
      k[static_cast<std::size_t>(RowIndex[static_cast<std::size_t>(i)])][static_cast<std::size_t>(c)] =
          Values[static_cast<std::size_t>(i)];
  return k;
}

std::string DofName(int dof) {
  static const char* const names[6] = {"displacement along X", "displacement along Y", "displacement along Z",
                                        "rotation about X",     "rotation about Y",     "rotation about Z"};
  return "node " + std::to_string(dof / 6) + ", " + names[dof % 6];
}

void TLinearSolver::Solve(const TBeamSystem& system, TReal1DArray& U) {
  constexpr int MaxRefinements = 4;
  Factor(system);
  Substitute(system.F, U);
  const std::size_t n = U.size();
  std::vector<long double> residual(n);
  TReal1DArray b(n), correction;
  double previous = std::numeric_limits<double>::max();
  for (int pass = 0; pass < MaxRefinements; ++pass) {
    for (std::size_t i = 0; i < n; ++i) residual[i] = system.F[i];
    for (int c = 0; c < system.Size; ++c) {
      const long double u = U[static_cast<std::size_t>(c)];
      for (int k = system.ColumnStart[static_cast<std::size_t>(c)]; k < system.ColumnStart[static_cast<std::size_t>(c) + 1]; ++k)
        residual[static_cast<std::size_t>(system.RowIndex[static_cast<std::size_t>(k)])] -=
            static_cast<long double>(system.Values[static_cast<std::size_t>(k)]) * u;
    }
    for (std::size_t i = 0; i < n; ++i) b[i] = static_cast<double>(residual[i]);
    Substitute(b, correction);
    double size = 0, change = 0;
    for (std::size_t i = 0; i < n; ++i) {
      U[i] += correction[i];
      size = std::max(size, std::fabs(U[i]));
      change = std::max(change, std::fabs(correction[i]));
    }
    // Stop once the corrections are at rounding level or no longer shrink.
    if (change <= 1e-15 * size || change >= previous) break;
    previous = change;
  }
}

namespace {

// Gaussian elimination without pivoting on dense copies of K and F; a zero pivot is replaced
// by the first row below with a non-zero entry in its column. The eliminated rows and the
// multipliers are kept, so that a right-hand side can be solved again.
class TDenseGaussSolver : public TLinearSolver {
 protected:
  void Factor(const TBeamSystem& system) override {
    const std::size_t n = static_cast<std::size_t>(system.Size);
    k_ = system.Dense();
    rowOf_.resize(n);
    for (std::size_t i = 0; i < n; ++i) rowOf_[i] = i;
    for (std::size_t p = 0; p + 1 < n; ++p) {
      if (k_[p][p] == 0) {
        std::size_t r = p + 1;
        while (r < n && k_[r][p] == 0) ++r;
        if (r == n) throw ESingularSystemError("singular system: no pivot for " + DofName(static_cast<int>(p)));
        std::swap(k_[p], k_[r]);
        std::swap(rowOf_[p], rowOf_[r]);
      }
      const double pivot = k_[p][p];
      for (std::size_t c = p + 1; c < n; ++c) k_[p][c] /= pivot;
      for (std::size_t r = p + 1; r < n; ++r) {
        const double factor = k_[r][p];
        for (std::size_t c = p + 1; c < n; ++c) k_[r][c] -= factor * k_[p][c];
      }
    }
    if (k_[n - 1][n - 1] == 0)
      throw ESingularSystemError("singular system: no pivot for " + DofName(static_cast<int>(n - 1)));
  }

  // The right-hand side goes through the same row exchanges, divisions and subtractions as
  // the matrix did (the multipliers stay in the lower triangle), then back-substitution.
  void Substitute(const TReal1DArray& b, TReal1DArray& x) override {
    const std::size_t n = k_.size();
    TReal1DArray f(n);
    for (std::size_t i = 0; i < n; ++i) f[i] = b[rowOf_[i]];
    for (std::size_t p = 0; p + 1 < n; ++p) {
      f[p] /= k_[p][p];
      for (std::size_t r = p + 1; r < n; ++r) f[r] -= k_[r][p] * f[p];
    }
    x.assign(n, 0.0);
    x[n - 1] = f[n - 1] / k_[n - 1][n - 1];
    for (std::size_t p = n - 1; p-- > 0;) {
      double sum = f[p];
      for (std::size_t q = p + 1; q < n; ++q) sum -= k_[p][q] * x[q];
      x[p] = sum;
    }
  }

 private:
  TReal2DArray k_;
  std::vector<std::size_t> rowOf_;  // original row of each row after the exchanges
};

// Sparse LDLᵀ with an approximate minimum degree ordering. At the first solve the ordering is
// computed and the upper triangle of the permuted matrix laid out once; every solve then only
// copies the new values into place and factors them.
class TSparseLdltSolver : public TLinearSolver {
 protected:
  void Factor(const TBeamSystem& system) override {
    if (permuted_.rows() != system.Size) prepare(system);
    double* values = permuted_.valuePtr();
    for (std::size_t i = 0; i < target_.size(); ++i)
      if (target_[i] >= 0) values[target_[i]] = system.Values[i];
    ldlt_.factorize(permuted_);
    if (ldlt_.info() != Eigen::Success) throw ESingularSystemError("singular system: zero pivot in the factorisation");
    const auto& d = ldlt_.vectorD();
    for (Eigen::Index i = 0; i < d.size(); ++i)
      if (!(d[i] > 0))
        throw ESingularSystemError("the stiffness matrix is not positive definite at " +
                                   DofName(inverse_[static_cast<std::size_t>(i)]) + " (pivot " +
                                   std::to_string(d[i]) + ")");
  }

  void Substitute(const TReal1DArray& b, TReal1DArray& x) override {
    const std::size_t n = b.size();
    for (std::size_t i = 0; i < n; ++i) rhs_[position_[i]] = b[i];
    solution_ = ldlt_.solve(rhs_);
    x.resize(n);
    for (std::size_t i = 0; i < n; ++i) x[i] = solution_[position_[i]];
  }

 private:
  void prepare(const TBeamSystem& system) {
    const int n = system.Size;
    const Eigen::SparseMatrix<double> full = Eigen::Map<const Eigen::SparseMatrix<double>>(
        n, n, static_cast<Eigen::Index>(system.Values.size()), system.ColumnStart.data(), system.RowIndex.data(),
        system.Values.data());
    Eigen::PermutationMatrix<Eigen::Dynamic, Eigen::Dynamic, int> order;
    Eigen::AMDOrdering<int>()(full, order);  // order: position of each degree in the elimination
    position_.resize(static_cast<std::size_t>(n));
    inverse_.resize(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
      position_[static_cast<std::size_t>(i)] = order.indices()[i];
      inverse_[static_cast<std::size_t>(order.indices()[i])] = i;
    }
    std::vector<Eigen::Triplet<double>> entries;
    for (int c = 0; c < n; ++c)
      for (int k = system.ColumnStart[static_cast<std::size_t>(c)]; k < system.ColumnStart[static_cast<std::size_t>(c) + 1]; ++k) {
        const int pr = position_[static_cast<std::size_t>(system.RowIndex[static_cast<std::size_t>(k)])];
        const int pc = position_[static_cast<std::size_t>(c)];
        if (pr <= pc) entries.emplace_back(pr, pc, 0.0);
      }
    permuted_.resize(n, n);
    permuted_.setFromTriplets(entries.begin(), entries.end());
    permuted_.makeCompressed();
    target_.assign(system.Values.size(), -1);
    for (int c = 0; c < n; ++c)
      for (int k = system.ColumnStart[static_cast<std::size_t>(c)]; k < system.ColumnStart[static_cast<std::size_t>(c) + 1]; ++k) {
        const int pr = position_[static_cast<std::size_t>(system.RowIndex[static_cast<std::size_t>(k)])];
        const int pc = position_[static_cast<std::size_t>(c)];
        if (pr > pc) continue;
        const int* first = permuted_.innerIndexPtr() + permuted_.outerIndexPtr()[pc];
        const int* last = permuted_.innerIndexPtr() + permuted_.outerIndexPtr()[pc + 1];
        target_[static_cast<std::size_t>(k)] = static_cast<int>(std::lower_bound(first, last, pr) - permuted_.innerIndexPtr());
      }
    ldlt_.analyzePattern(permuted_);
    rhs_.resize(n);
  }

  Eigen::SparseMatrix<double> permuted_;  // upper triangle in elimination order
  std::vector<int> position_, inverse_;   // degree → elimination position and back
  std::vector<int> target_;               // system value → permuted value, −1 for the lower triangle
  Eigen::VectorXd rhs_, solution_;
  Eigen::SimplicialLDLT<Eigen::SparseMatrix<double>, Eigen::Upper, Eigen::NaturalOrdering<int>> ldlt_;
};

}  // namespace

std::unique_ptr<TLinearSolver> MakeSolver(TSolverKind kind) {
  if (kind == TSolverKind::Dense) return std::make_unique<TDenseGaussSolver>();
  return std::make_unique<TSparseLdltSolver>();
}
