#include "LinAlgUnit.h"

#include <Eigen/OrderingMethods>
#include <Eigen/SparseCholesky>
#include <Eigen/SparseCore>
#include <algorithm>
#include <cmath>
#include <limits>

#include "NumberFormatUnit.h"

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
  static const char* const names[6] = {"перемещение по X", "перемещение по Y", "перемещение по Z",
                                        "поворот вокруг X", "поворот вокруг Y", "поворот вокруг Z"};
  return "узел " + std::to_string(dof / 6) + ", " + names[dof % 6];
}

namespace {

// Halves of a double with 26 significant bits each (Veltkamp's splitting).
inline void split(double a, double& high, double& low) {
  const double c = 134217729.0 * a;  // 2^27 + 1
  high = c - (c - a);
  low = a - high;
}

// The rounding error of product = a·b, exactly (Dekker's product).
inline double productRoundingError(double a, double b, double product) {
  double ah, al, bh, bl;
  split(a, ah, al);
  split(b, bh, bl);
  return al * bl - (((product - ah * bh) - al * bh) - ah * bl);
}

// r = F − K·U with every row accumulated in double-double arithmetic (error-free products and
// compensated sums), so that the residual is exact to about 1e−32 relative. K is symmetric,
// so row i is read as column i.
void exactResidual(const TBeamSystem& system, const TReal1DArray& U, TReal1DArray& r) {
  r.resize(U.size());
  for (int c = 0; c < system.Size; ++c) {
    double high = system.F[static_cast<std::size_t>(c)], low = 0;
    for (int k = system.ColumnStart[static_cast<std::size_t>(c)]; k < system.ColumnStart[static_cast<std::size_t>(c) + 1];
         ++k) {
      const double a = -system.Values[static_cast<std::size_t>(k)];
      const double u = U[static_cast<std::size_t>(system.RowIndex[static_cast<std::size_t>(k)])];
      const double product = a * u;
      const double productError = productRoundingError(a, u, product);
      const double sum = high + product;
      const double z = sum - high;
      low += (high - (sum - z)) + (product - z) + productError;
      high = sum;
    }
    r[static_cast<std::size_t>(c)] = high + low;
  }
}

}  // namespace

void TLinearSolver::Solve(const TBeamSystem& system, TReal1DArray& U) {
  constexpr int MaxRefinements = 3;
  Factor(system);
  Substitute(system.F, U);
  TReal1DArray residual, correction;
  double previous = std::numeric_limits<double>::max();
  for (int pass = 0; pass < MaxRefinements; ++pass) {
    exactResidual(system, U, residual);
    Substitute(residual, correction);
    double size = 0, change = 0;
    for (std::size_t i = 0; i < U.size(); ++i) {
      U[i] += correction[i];
      size = std::max(size, std::fabs(U[i]));
      change = std::max(change, std::fabs(correction[i]));
    }
    // Done when the correction is at the level the conditioning allows, or no longer shrinks.
    if (change <= 1e-9 * size || change >= previous) break;
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
        if (r == n) throw ESingularSystemError("система вырождена: нет ведущего элемента для " + DofName(static_cast<int>(p)));
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
      throw ESingularSystemError("система вырождена: нет ведущего элемента для " + DofName(static_cast<int>(n - 1)));
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

// Sparse LDLᵀ in the model's own numbering, which follows the shaft from one end to the other
// and so already keeps the fill small (smaller than a minimum-degree ordering gives). At the
// first solve the upper triangle is laid out once; every solve then only copies the new values
// into place and factors them.
class TSparseLdltSolver : public TLinearSolver {
 protected:
  void Factor(const TBeamSystem& system) override {
    if (upper_.rows() != system.Size) prepare(system);
    double* values = upper_.valuePtr();
    for (std::size_t i = 0; i < target_.size(); ++i)
      if (target_[i] >= 0) values[target_[i]] = system.Values[i];
    ldlt_.factorize(upper_);
    if (ldlt_.info() != Eigen::Success) throw ESingularSystemError("система вырождена: нулевой ведущий элемент при разложении");
    const auto& d = ldlt_.vectorD();
    for (Eigen::Index i = 0; i < d.size(); ++i)
      if (!(d[i] > 0))
        throw ESingularSystemError("матрица жёсткости не положительно определена: " + DofName(static_cast<int>(i)) +
                                   " (ведущий элемент " + FormatGeneral(d[i]) + ")");
  }

  void Substitute(const TReal1DArray& b, TReal1DArray& x) override {
    const Eigen::Map<const Eigen::VectorXd> rhs(b.data(), static_cast<Eigen::Index>(b.size()));
    x.resize(b.size());
    Eigen::Map<Eigen::VectorXd>(x.data(), static_cast<Eigen::Index>(x.size())) = ldlt_.solve(rhs);
  }

 private:
  void prepare(const TBeamSystem& system) {
    const int n = system.Size;
    std::vector<Eigen::Triplet<double>> entries;
    for (int c = 0; c < n; ++c)
      for (int k = system.ColumnStart[static_cast<std::size_t>(c)]; k < system.ColumnStart[static_cast<std::size_t>(c) + 1]; ++k)
        if (system.RowIndex[static_cast<std::size_t>(k)] <= c) entries.emplace_back(system.RowIndex[static_cast<std::size_t>(k)], c, 0.0);
    upper_.resize(n, n);
    upper_.setFromTriplets(entries.begin(), entries.end());
    upper_.makeCompressed();
    // The system stores the upper triangle in the same order: column by column, rows rising.
    target_.assign(system.Values.size(), -1);
    int next = 0;
    for (int c = 0; c < n; ++c)
      for (int k = system.ColumnStart[static_cast<std::size_t>(c)]; k < system.ColumnStart[static_cast<std::size_t>(c) + 1]; ++k)
        if (system.RowIndex[static_cast<std::size_t>(k)] <= c) target_[static_cast<std::size_t>(k)] = next++;
    ldlt_.analyzePattern(upper_);
  }

  Eigen::SparseMatrix<double> upper_;  // upper triangle of K
  std::vector<int> target_;            // system value → upper value, −1 for the lower triangle
  Eigen::SimplicialLDLT<Eigen::SparseMatrix<double>, Eigen::Upper, Eigen::NaturalOrdering<int>> ldlt_;
};

}  // namespace

std::unique_ptr<TLinearSolver> MakeSolver(TSolverKind kind) {
  if (kind == TSolverKind::Dense) return std::make_unique<TDenseGaussSolver>();
  if (kind == TSolverKind::Fast) return std::make_unique<TSparseLdltSolver>();
  throw std::logic_error("the shaft-frame solver does not solve the whole frame's system");
}
