#include "BandCholeskyUnit.h"

#include <algorithm>
#include <cmath>

int TBandCholesky::Factor(int n, int band, const std::vector<double>& lowerBand) {
  n_ = n;
  band_ = band;
  factor_ = lowerBand;
  double* L = factor_.data();
  for (int i = 0; i < n; ++i) {
    const int first = std::max(0, i - band);
    for (int j = first; j <= i; ++j) {
      double sum = L[Slot(i, j, band)];
      for (int k = std::max(first, j - band); k < j; ++k) sum -= L[Slot(i, k, band)] * L[Slot(j, k, band)];
      if (j < i) {
        L[Slot(i, j, band)] = sum / L[Slot(j, j, band)];
      } else {
        if (!(sum > 0)) return i;
        L[Slot(i, i, band)] = std::sqrt(sum);
      }
    }
  }
  inverseDiagonal_.resize(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) inverseDiagonal_[static_cast<std::size_t>(i)] = 1 / L[Slot(i, i, band)];
  return -1;
}

// Both substitutions run along the rows of L, where the band is contiguous: the forward one
// as dot products, the backward one (with Lᵀ) as updates of the entries still to come.
void TBandCholesky::SolveInPlace(double* x) const {
  for (int i = 0; i < n_; ++i) {
    const int first = std::max(0, i - band_);
    const double* row = factor_.data() + Slot(i, first, band_);
    double sum = x[i];
    for (int k = first; k < i; ++k) sum -= row[k - first] * x[k];
    x[i] = sum * inverseDiagonal_[static_cast<std::size_t>(i)];
  }
  for (int i = n_ - 1; i >= 0; --i) {
    const int first = std::max(0, i - band_);
    const double* row = factor_.data() + Slot(i, first, band_);
    x[i] *= inverseDiagonal_[static_cast<std::size_t>(i)];
    for (int k = first; k < i; ++k) x[k] -= row[k - first] * x[i];
  }
}
