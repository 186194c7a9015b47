#include "Hessenbergqri.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

#include "FloatCheckUnit.h"

namespace {

// Relative precision of every negligibility test; also scales the replacement of a zero pivot
// in the back-substitution. Held at extended precision.
constexpr long double MachEps = 5e-14L;
// QR iterations allowed for one eigenvalue (or complex pair) before the solver gives up.
constexpr int IterationLimit = 30;
// Iteration counts at which an ad-hoc shift breaks a cycle of the ordinary shifts.
constexpr int FirstExceptionalShift = 10;
constexpr int SecondExceptionalShift = 20;

const std::string Stage = "собственные значения";

[[noreturn]] void arithmeticFault(const std::string& where) {
  throw EVexaFloatError("Недопустимая операция с плавающей точкой: " + Stage + ", " + where);
}

// Fortran's SIGN(magnitude, of): |magnitude| with the sign of `of`, plus for a zero `of`.
double withSignOf(double magnitude, double of) {
  return of < 0.0 ? -std::fabs(magnitude) : std::fabs(magnitude);
}

bool negligible(double entry, long double scale) { return std::fabs(entry) <= MachEps * scale; }

// Reduction to upper Hessenberg form by stabilised elementary similarity transformations
// (row interchange to the largest pivot of the column, then elimination). The multipliers stay
// below the subdiagonal of `a`, the pivot rows go to `pivot`, for the accumulation below.
void reduceToHessenberg(TReal2DArray& a, int n, std::vector<int>& pivot) {
  for (int m = 2; m <= n - 1; ++m) {
    double x = 0.0;
    int row = m;
    for (int j = m; j <= n; ++j)
      if (std::fabs(a[j][m - 1]) > std::fabs(x)) {
        x = a[j][m - 1];
        row = j;
      }
    pivot[m] = row;
    if (row != m) {
      for (int j = m - 1; j <= n; ++j) std::swap(a[row][j], a[m][j]);
      for (int j = 1; j <= n; ++j) std::swap(a[j][row], a[j][m]);
    }
    if (x == 0.0) continue;
    for (int i = m + 1; i <= n; ++i) {
      double multiplier = a[i][m - 1];
      if (multiplier == 0.0) continue;
      multiplier /= x;
      a[i][m - 1] = multiplier;
      for (int j = m; j <= n; ++j) a[i][j] -= multiplier * a[m][j];
      for (int j = 1; j <= n; ++j) a[j][m] += multiplier * a[j][i];
    }
  }
}

// The product of the reduction's transformations, so that eigenvectors of the Hessenberg form
// become eigenvectors of the original matrix.
void accumulateTransformations(const TReal2DArray& a, int n, const std::vector<int>& pivot,
                               TReal2DArray& z) {
  for (int i = 1; i <= n; ++i)
    for (int j = 1; j <= n; ++j) z[i][j] = i == j ? 1.0 : 0.0;
  for (int mp = n - 1; mp >= 2; --mp) {
    for (int i = mp + 1; i <= n; ++i) z[i][mp] = a[i][mp - 1];
    const int row = pivot[mp];
    if (row == mp) continue;
    for (int j = mp; j <= n; ++j) {
      z[mp][j] = z[row][j];
      z[row][j] = 0.0;
    }
    z[row][mp] = 1.0;
  }
}

// One Francis double-shift QR step on the active block rows l..en of the Hessenberg matrix,
// with shifts given by x, y (diagonal) and w (product of the off-diagonal pair) of the trailing
// 2x2 block. Starts at the lowest row m >= l below which two consecutive subdiagonal entries
// make the step's first column negligible there.
void doubleShiftStep(TReal2DArray& h, TReal2DArray& z, int n, int l, int en, double x, double y,
                     double w) {
  const int na = en - 1;
  double p = 0.0, q = 0.0, r = 0.0;
  int m = en - 2;
  for (;; --m) {
    const double diagonal = h[m][m];
    const double dx = x - diagonal;
    const double dy = y - diagonal;
    // First column of (H - s1 I)(H - s2 I) restricted to rows m..m+2, scaled.
    p = (dx * dy - w) / h[m + 1][m] + h[m][m + 1];
    q = h[m + 1][m + 1] - diagonal - dx - dy;
    r = h[m + 2][m + 1];
    const double scale = std::fabs(p) + std::fabs(q) + std::fabs(r);
    p /= scale;
    q /= scale;
    r /= scale;
    if (m == l) break;
    const long double couplingAbove = std::fabs(h[m][m - 1]) * (std::fabs(q) + std::fabs(r));
    const long double size =
        std::fabs(p) * (std::fabs(h[m - 1][m - 1]) + std::fabs(diagonal) + std::fabs(h[m + 1][m + 1]));
    if (couplingAbove <= MachEps * size) break;
  }

  // Entries below the subdiagonal inside the bulge region start from zero.
  for (int i = m + 2; i <= en; ++i) {
    h[i][i - 2] = 0.0;
    if (i != m + 2) h[i][i - 3] = 0.0;
  }

  for (int k = m; k <= na; ++k) {
    const bool notLast = k != na;
    double scale = 0.0;
    if (k != m) {
      // The bulge left by the previous reflection, chased one row down.
      p = h[k][k - 1];
      q = h[k + 1][k - 1];
      r = notLast ? h[k + 2][k - 1] : 0.0;
      scale = std::fabs(p) + std::fabs(q) + std::fabs(r);
      if (scale == 0.0) continue;
      p /= scale;
      q /= scale;
      r /= scale;
    }
    const double s = withSignOf(std::sqrt(p * p + q * q + r * r), p);
    if (k != m)
      h[k][k - 1] = -s * scale;
    else if (l != m)
      h[k][k - 1] = -h[k][k - 1];
    // Reflection that maps (p, q, r) onto (-s, 0, 0): a vector x loses
    // (x_k + q*x_k+1 + r*x_k+2) * (ux, uy, uz) on rows, the transposed pattern on columns.
    p += s;
    const double ux = p / s;
    const double uy = q / s;
    const double uz = r / s;
    q /= p;
    r /= p;

    for (int j = k; j <= n; ++j) {
      double sum = h[k][j] + q * h[k + 1][j];
      if (notLast) {
        sum += r * h[k + 2][j];
        h[k + 2][j] -= sum * uz;
      }
      h[k + 1][j] -= sum * uy;
      h[k][j] -= sum * ux;
    }
    const int lastRow = std::min(en, k + 3);
    for (int i = 1; i <= lastRow; ++i) {
      double sum = ux * h[i][k] + uy * h[i][k + 1];
      if (notLast) {
        sum += uz * h[i][k + 2];
        h[i][k + 2] -= sum * r;
      }
      h[i][k + 1] -= sum * q;
      h[i][k] -= sum;
    }
    for (int i = 1; i <= n; ++i) {
      double sum = ux * z[i][k] + uy * z[i][k + 1];
      if (notLast) {
        sum += uz * z[i][k + 2];
        z[i][k + 2] -= sum * r;
      }
      z[i][k + 1] -= sum * q;
      z[i][k] -= sum;
    }
  }
}

// Trailing 2x2 block (rows na, en) with two real eigenvalues: a plane rotation makes it upper
// triangular in h and is carried into z.
void triangulariseRealPair(TReal2DArray& h, TReal2DArray& z, int n, int en, double zz) {
  const int na = en - 1;
  const double x = h[en][na];
  const double s = std::fabs(x) + std::fabs(zz);
  double p = x / s;
  double q = zz / s;
  const double r = std::sqrt(p * p + q * q);
  p /= r;
  q /= r;
  for (int j = na; j <= n; ++j) {
    const double upper = h[na][j];
    h[na][j] = q * upper + p * h[en][j];
    h[en][j] = q * h[en][j] - p * upper;
  }
  for (int i = 1; i <= en; ++i) {
    const double left = h[i][na];
    h[i][na] = q * left + p * h[i][en];
    h[i][en] = q * h[i][en] - p * left;
  }
  for (int i = 1; i <= n; ++i) {
    const double left = z[i][na];
    z[i][na] = q * left + p * z[i][en];
    z[i][en] = q * z[i][en] - p * left;
  }
}

// QR iteration from the bottom of the Hessenberg matrix upwards, deflating one real eigenvalue
// or one 2x2 block at a time. Leaves h quasi-triangular (the real Schur form), z the product of
// all transformations. False when an eigenvalue does not converge within the limit.
bool iterate(TReal2DArray& h, TReal2DArray& z, int n, double norm, TReal1DArray& wr,
             TReal1DArray& wi) {
  const int low = 1;
  double shiftSum = 0.0;  // the exceptional shifts taken out of the diagonal so far
  int en = n;
  int its = 0;
  while (en >= low) {
    const int na = en - 1;
    // Lowest row l of the unreduced block that ends at en.
    int l = en;
    for (; l > low; --l) {
      long double scale = std::fabs(h[l - 1][l - 1]) + std::fabs(h[l][l]);
      if (scale == 0.0L) scale = norm;
      if (negligible(h[l][l - 1], scale)) break;
    }
    double x = h[en][en];
    if (l == en) {
      h[en][en] = x + shiftSum;
      wr[en] = x + shiftSum;
      wi[en] = 0.0;
      en = na;
      its = 0;
      continue;
    }
    double y = h[na][na];
    double w = h[en][na] * h[na][en];
    if (l == na) {
      // Eigenvalues of the trailing 2x2 block: x + p +- sqrt(p^2 + w).
      const double p = 0.5 * (y - x);
      const double q = p * p + w;
      double zz = std::sqrt(std::fabs(q));
      h[en][en] = x + shiftSum;
      x = h[en][en];
      h[na][na] = y + shiftSum;
      if (q >= 0.0) {
        zz = p + withSignOf(zz, p);
        wr[na] = x + zz;
        wr[en] = zz != 0.0 ? x - w / zz : wr[na];
        wi[na] = 0.0;
        wi[en] = 0.0;
        triangulariseRealPair(h, z, n, en, zz);
      } else {
        wr[na] = x + p;
        wr[en] = x + p;
        wi[na] = zz;
        wi[en] = -zz;
      }
      en -= 2;
      its = 0;
      continue;
    }
    if (its == IterationLimit) return false;
    if (its == FirstExceptionalShift || its == SecondExceptionalShift) {
      shiftSum += x;
      for (int i = low; i <= en; ++i) h[i][i] -= x;
      const double s = std::fabs(h[en][na]) + std::fabs(h[na][en - 2]);
      x = 0.75 * s;
      y = x;
      w = -0.4375 * s * s;
    }
    ++its;
    doubleShiftStep(h, z, n, l, en, x, y, w);
  }
  return true;
}

// Eigenvectors of the quasi-triangular form by back-substitution (stored in the upper part of h),
// then transformed back with z.
void backSubstitute(TReal2DArray& h, TReal2DArray& z, int n, double norm, const TReal1DArray& wr,
                    const TReal1DArray& wi) {
  for (int en = n; en >= 1; --en) {
    const double p = wr[en];
    const double q = wi[en];
    const int na = en - 1;
    // Values carried from the lower row of a 2x2 block to its upper row.
    double zz = 0.0, r = 0.0, s = 0.0;
    if (q == 0.0) {
      // Real eigenvalue: solve (T - p I) v = 0 with v[en] = 1, upwards.
      int m = en;
      h[en][en] = 1.0;
      for (int i = na; i >= 1; --i) {
        const double w = h[i][i] - p;
        double sum = 0.0;
        for (int j = m; j <= en; ++j) sum += h[i][j] * h[j][en];
        if (wi[i] < 0.0) {
          zz = w;
          s = sum;
          continue;
        }
        m = i;
        if (wi[i] == 0.0) {
          double pivotValue = w;
          if (pivotValue == 0.0) pivotValue = static_cast<double>(MachEps * norm);
          h[i][en] = -sum / pivotValue;
        } else {
          // Rows i, i+1 of a 2x2 block with complex eigenvalues: a real 2x2 system whose
          // determinant is |lambda_block - p|^2.
          const double x = h[i][i + 1];
          const double y = h[i + 1][i];
          const double determinant =
              (wr[i] - p) * (wr[i] - p) + wi[i] * wi[i];
          const double t = (x * s - zz * sum) / determinant;
          h[i][en] = t;
          h[i + 1][en] = std::fabs(x) > std::fabs(zz) ? (-sum - w * t) / x : (-s - y * t) / zz;
        }
      }
    } else if (q < 0.0) {
      // Complex pair (na, en): the vector of p - i*q (positive imaginary part), real part in
      // column na, imaginary part in column en; its last component is taken as i.
      int m = na;
      if (std::fabs(h[en][na]) > std::fabs(h[na][en])) {
        h[na][na] = q / h[en][na];
        h[na][en] = -(h[en][en] - p) / h[en][na];
      } else {
        double cr = 0.0, ci = 0.0;
        ComplexDivide(0.0, -h[na][en], h[na][na] - p, q, cr, ci);
        h[na][na] = cr;
        h[na][en] = ci;
      }
      h[en][na] = 0.0;
      h[en][en] = 1.0;
      for (int i = en - 2; i >= 1; --i) {
        const double w = h[i][i] - p;
        double ra = 0.0, sa = 0.0;
        for (int j = m; j <= en; ++j) {
          ra += h[i][j] * h[j][na];
          sa += h[i][j] * h[j][en];
        }
        if (wi[i] < 0.0) {
          zz = w;
          r = ra;
          s = sa;
          continue;
        }
        m = i;
        double cr = 0.0, ci = 0.0;
        if (wi[i] == 0.0) {
          ComplexDivide(-ra, -sa, w, q, cr, ci);
          h[i][na] = cr;
          h[i][en] = ci;
        } else {
          // Complex 2x2 system of a block with its own complex pair.
          const double x = h[i][i + 1];
          const double y = h[i + 1][i];
          double vr = (wr[i] - p) * (wr[i] - p) + wi[i] * wi[i] - q * q;
          const double vi = (wr[i] - p) * 2.0 * q;
          if (vr == 0.0 && vi == 0.0)
            vr = static_cast<double>(MachEps * norm *
                                     (std::fabs(w) + std::fabs(q) + std::fabs(x) + std::fabs(y) +
                                      std::fabs(zz)));
          ComplexDivide(x * r - zz * ra + q * sa, x * s - zz * sa - q * ra, vr, vi, cr, ci);
          h[i][na] = cr;
          h[i][en] = ci;
          if (std::fabs(x) > std::fabs(zz) + std::fabs(q)) {
            h[i + 1][na] = (-ra - w * h[i][na] + q * h[i][en]) / x;
            h[i + 1][en] = (-sa - w * h[i][en] - q * h[i][na]) / x;
          } else {
            ComplexDivide(-r - y * h[i][na], -s - y * h[i][en], zz, q, cr, ci);
            h[i + 1][na] = cr;
            h[i + 1][en] = ci;
          }
        }
      }
    }
  }

  // Eigenvectors of the original matrix: z times the upper-triangular vector matrix.
  for (int j = n; j >= 1; --j)
    for (int i = 1; i <= n; ++i) {
      double sum = 0.0;
      for (int k = 1; k <= j; ++k) sum += z[i][k] * h[k][j];
      z[i][j] = sum;
    }
}

bool allFinite(const TReal2DArray& a, int n) {
  for (int i = 1; i <= n; ++i)
    for (int j = 1; j <= n; ++j)
      if (!std::isfinite(a[i][j])) return false;
  return true;
}

}  // namespace

void ComplexDivide(double ar, double ai, double br, double bi, double& cr, double& ci) {
  if (std::fabs(br) >= std::fabs(bi)) {
    const double s = bi / br;
    const double d = br + bi * s;
    cr = (ar + ai * s) / d;
    ci = (ai - ar * s) / d;
  } else {
    const double s = br / bi;
    const double d = bi + br * s;
    cr = (ar * s + ai) / d;
    ci = (ai * s - ar) / d;
  }
}

bool HessenbergQRIEigen(const TReal2DArray& A, int n, TReal1DArray& WR, TReal2DArray& Z,
                        TReal1DArray& WI) {
  if (n < 0) throw std::invalid_argument("Собственные значения: отрицательный порядок матрицы " + std::to_string(n));
  if (A.size() < static_cast<std::size_t>(n) + 1)
    throw std::invalid_argument("Собственные значения: в матрице меньше " + std::to_string(n + 1) + " строк");
  for (int i = 1; i <= n; ++i) {
    if (A[i].size() < static_cast<std::size_t>(n) + 1)
      throw std::invalid_argument("Собственные значения: в строке " + std::to_string(i) + " матрицы меньше " +
                                  std::to_string(n + 1) + " элементов");
    for (int j = 1; j <= n; ++j)
      RequireFinite(A[i][j], Stage,
                    "элемент матрицы (" + std::to_string(i) + ", " + std::to_string(j) + ")");
  }

  WR.resize(n + 1);
  WI.resize(n + 1);
  Z.resize(n + 1);
  for (auto& row : Z) row.resize(n + 1);

  // Private working copy; row and column 0 stay unused.
  TReal2DArray h(n + 1, TReal1DArray(n + 1, 0.0));
  for (int i = 1; i <= n; ++i)
    for (int j = 1; j <= n; ++j) h[i][j] = A[i][j];
  std::vector<int> pivot(n + 1, 0);

  reduceToHessenberg(h, n, pivot);
  accumulateTransformations(h, n, pivot, Z);

  double norm = 0.0;
  for (int i = 1; i <= n; ++i)
    for (int j = std::max(i - 1, 1); j <= n; ++j) norm += std::fabs(h[i][j]);
  RequireFinite(norm, Stage, "норма матрицы");

  if (!iterate(h, Z, n, norm, WR, WI)) {
    // A stall caused by an overflow is an arithmetic fault, not slow convergence.
    if (!allFinite(h, n)) arithmeticFault("QR-итерации");
    return false;
  }
  if (norm != 0.0) backSubstitute(h, Z, n, norm, WR, WI);

  for (int i = 1; i <= n; ++i) {
    RequireFinite(WR[i], Stage, "собственное значение " + std::to_string(i));
    RequireFinite(WI[i], Stage, "собственное значение " + std::to_string(i));
  }
  if (!allFinite(Z, n)) arithmeticFault("собственные векторы");
  return true;
}
