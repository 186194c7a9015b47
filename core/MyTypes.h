// Array types that hold every curve, matrix and per-step result of the program,
// and the boundary kind of a degree of freedom of the beam model.
#pragma once

#include <cstdint>
#include <vector>

using TReal1DArray = std::vector<double>;
using TReal2DArray = std::vector<TReal1DArray>;
using TInteger1DArray = std::vector<std::int32_t>;

// Boundary kind of one degree of freedom of the beam model.
enum TFix : std::uint8_t {
  TF_FIXED = 0,  // held at zero
  TF_EMPTY = 1,  // free
  TF_DISPL = 2,  // prescribed displacement
};
using TFixArray = std::vector<TFix>;

// Sizes travel as 16-bit signed integers through the whole program.
constexpr int MaxArraySize = 32767;

double AbsDouble(double value);

// Deep copy: the target gets as many rows as the source, each with the source row's length.
void CopyReal2DArray(const TReal2DArray& source, TReal2DArray& target);
