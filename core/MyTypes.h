// Array types that hold every curve, matrix and per-step result of the program,
// and the boundary kind of a degree of freedom of the beam model.
#pragma once

#include <array>
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

// Fixed-capacity array indexed from 1 (sections, rows, webs, supports of the engine data).
// Index 0 and indices beyond the capacity are programming errors.
template <typename T, int Capacity>
class TOneBasedArray {
 public:
  static constexpr int Size = Capacity;
  T& operator[](int index) { return items_.at(static_cast<std::size_t>(index - 1)); }
  const T& operator[](int index) const { return items_.at(static_cast<std::size_t>(index - 1)); }
  void Fill(const T& value) { items_.fill(value); }
  T* begin() { return items_.data(); }
  T* end() { return items_.data() + Capacity; }
  const T* begin() const { return items_.data(); }
  const T* end() const { return items_.data() + Capacity; }
  bool operator==(const TOneBasedArray&) const = default;

 private:
  std::array<T, Capacity> items_{};
};
