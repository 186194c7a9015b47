// Cholesky factorisation L·Lᵀ of a symmetric positive definite band matrix, for the small
// systems of the shaft's support nodes: their couplings reach only the neighbouring supports,
// so a band of a dozen entries holds the whole matrix and its factor.
#pragma once

#include <vector>

class TBandCholesky {
 public:
  // The lower band of an n×n symmetric matrix with `band` entries left of the diagonal,
  // row by row: entry (i, j), i − band ≤ j ≤ i, at i·(band + 1) + j − i + band; the entries
  // left of column 0 are not read.
  static int Slot(int i, int j, int band) { return i * (band + 1) + j - i + band; }

  // Factors the matrix given by its lower band. Returns the first row whose pivot is not
  // positive (the matrix is not positive definite), or −1 when the factors are complete.
  int Factor(int n, int band, const std::vector<double>& lowerBand);
  // x = A⁻¹·x with the factors of the last successful Factor.
  void SolveInPlace(double* x) const;
  int Size() const { return n_; }

 private:
  int n_ = 0, band_ = 0;
  std::vector<double> factor_;  // L in the same band layout
  std::vector<double> inverseDiagonal_;
};
