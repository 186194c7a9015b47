// Eigenvalues and eigenvectors of a general real square matrix, such as the torsional dynamic
// matrix J^-1*K (not symmetric): elimination to Hessenberg form, then double-shift QR iteration.
#pragma once

#include "MyTypes.h"

// All eigenvalues and eigenvectors of A[1..n][1..n]. Every array is 1-based: index 0 of every
// dimension is never read or written.
// - A: (n+1) x (n+1) at least; the solver works on a private copy, A stays unchanged.
// - WR, WI (resized to n+1): real and imaginary parts of the eigenvalues, in the order the
//   iteration deflates them (not sorted). A complex pair sits on adjacent indices, the lower
//   index carrying the positive imaginary part.
// - Z (resized to (n+1) x (n+1)): eigenvectors in columns 1..n, not normalised. For a real
//   eigenvalue j, column j is its vector; for a complex pair (j, j+1), columns j and j+1 hold the
//   real and imaginary parts of the vector of WR[j] + i*WI[j] (that of the conjugate is
//   Z[.][j] - i*Z[.][j+1]).
// Resizing keeps what the arrays held, so entries the solver does not reach keep their values.
// Returns true when every eigenvalue converged within 30 QR iterations. Returns false at once
// when one eigenvalue (or pair) does not: the eigenvalues at indices above the one that failed
// are valid, the other WR/WI entries are not computed and no eigenvector is formed.
// Throws std::invalid_argument for n < 0 or arrays smaller than n+1, and EVexaFloatError
// (core/FloatCheckUnit.h) when A holds a NaN or an infinity or the arithmetic overflows, so a
// non-finite number never leaves the solver.
bool HessenbergQRIEigen(const TReal2DArray& A, int n, TReal1DArray& WR, TReal2DArray& Z,
                        TReal1DArray& WI);

// Complex division (ar + i*ai) / (br + i*bi) = cr + i*ci by Smith's method, which scales by the
// larger part of the divisor so that no intermediate product overflows needlessly.
void ComplexDivide(double ar, double ai, double br, double bi, double& cr, double& ci);
