#include "MassChainUnit.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double LargestRadius = 0.5;
constexpr double SmallestRadius = 0.08;  // a massless or zero entry stays visible
constexpr double WidestSpring = 0.2;
constexpr double DiscHalfThickness = 0.06;

double at(const TReal1DArray& values, int i) {
  return i >= 0 && i < static_cast<int>(values.size()) ? values[static_cast<std::size_t>(i)] : 0.0;
}

double sectionStiffness(const TReal2DArray& C, int k) {
  if (k + 1 >= static_cast<int>(C.size())) return 0.0;
  return at(C[static_cast<std::size_t>(k + 1)], k);
}

double fourthRoot(double x) { return x > 0 ? std::sqrt(std::sqrt(x)) : 0.0; }

}  // namespace

TMassChainPicture MassChainPicture(const TReal1DArray& J, const TReal2DArray& C, int nMass, int nSec,
                                   int firstMotor, int damperMass) {
  TMassChainPicture picture;
  if (nMass <= 0) return picture;
  double largestJ = 0, largestC = 0;
  for (int i = 0; i < nMass; ++i) largestJ = std::max(largestJ, at(J, i));
  for (int k = 0; k + 1 < nMass; ++k) largestC = std::max(largestC, sectionStiffness(C, k));

  for (int i = 0; i < nMass; ++i) {
    TChainDisc disc;
    disc.Number = i + 1;
    disc.X = i;
    disc.J = at(J, i);
    const double relative = largestJ > 0 ? fourthRoot(disc.J / largestJ) : 0.0;
    disc.Radius = std::max(SmallestRadius, LargestRadius * relative);
    if (disc.Number >= firstMotor && disc.Number < firstMotor + nSec)
      disc.Kind = TChainMassKind::Motor;
    else if (disc.Number >= firstMotor + nSec)
      disc.Kind = TChainMassKind::Driven;
    disc.Damper = disc.Number == damperMass;
    picture.Discs.push_back(disc);
  }
  for (int k = 0; k + 1 < nMass; ++k) {
    TChainSpring spring;
    spring.X0 = k + DiscHalfThickness;
    spring.X1 = k + 1 - DiscHalfThickness;
    spring.C = sectionStiffness(C, k);
    spring.HalfWidth = largestC > 0 ? WidestSpring * fourthRoot(spring.C / largestC) : 0.0;
    picture.Springs.push_back(spring);
  }
  picture.Width = (nMass - 1) + 2 * DiscHalfThickness;
  return picture;
}
