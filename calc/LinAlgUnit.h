// The linear system of the crankshaft frame and the two solvers behind one interface: the
// reference (Gaussian elimination without pivoting on dense copies) and the production
// solver (sparse LDLᵀ with a fill-reducing ordering).
#pragma once

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "MyTypes.h"

// K·U = F with K symmetric, stored whole (both triangles) in compressed columns; the pattern
// is fixed when the model is built, the values change at every step.
struct TBeamSystem {
  int Size = 0;
  std::vector<int> ColumnStart;  // Size + 1 entries
  std::vector<int> RowIndex;     // row of every stored value, rising within a column
  TReal1DArray Values;
  TReal1DArray F;

  // Index of entry (row, column) in Values, or −1 when it is not in the pattern.
  int Slot(int row, int column) const;
  // Dense copy of K (reference solver, tests).
  TReal2DArray Dense() const;
};

// A system without a unique solution (a zero pivot, or a matrix that is not positive
// definite); the message names the degree of freedom.
class ESingularSystemError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Factor-and-solve of K·U = F (K symmetric). Both solvers refine their solution with residuals
// computed in double-double precision: the frame's stiffnesses span some thirteen decades (a
// 2 mm crankpin segment beside soft tilting supports), which leaves a plain double-precision
// elimination accurate to about 1e−7 only; refined, either solver gives the same solution to
// about 1e−10.
class TLinearSolver {
 public:
  virtual ~TLinearSolver() = default;
  // Solves K·U = F; the system is not changed.
  void Solve(const TBeamSystem& system, TReal1DArray& U);

 protected:
  // Factors K (raises ESingularSystemError).
  virtual void Factor(const TBeamSystem& system) = 0;
  // Solves with the factors of the last Factor: x = K⁻¹·b.
  virtual void Substitute(const TReal1DArray& b, TReal1DArray& x) = 0;
};

// The reference dense elimination, the sparse LDLᵀ of the whole frame, and the condensation in
// the shaft's own frame (not a TLinearSolver: it solves the frame's steps as a whole).
enum class TSolverKind { Dense, Fast, Shaft };

// The solver of the whole frame's system (Dense or Fast).
std::unique_ptr<TLinearSolver> MakeSolver(TSolverKind kind);

// Names a degree of freedom for messages: "node 12, rotation about Y".
std::string DofName(int dof);
