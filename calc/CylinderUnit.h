// One cylinder of a run (`TCylinder`): its kinematics and forces over the crank-angle grid,
// and the crankpin moments of its rod's section.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "KinematicsUnit.h"
#include "MyTypes.h"
#include "StatisticsUnit.h"

class TCrank;

// The kinematics of a cylinder's steps that do not depend on the speed: the positions of its
// central or of its articulated rod (the other stays empty).
struct TCylinderPositions {
  std::vector<Kinematics::TCentralPosition> Central;
  std::vector<Kinematics::TArticulatedPosition> Articulated;
};

class TCylinder {
 public:
  explicit TCylinder(TCrank& crank);

  TCrank& Crank;          // owning throw
  std::int16_t CylNo = 0; // global number: section + NSec·(row − 1)
  std::int16_t High = 0;  // NPts − 1
  double Fp = 0;          // piston area, m²
  std::int16_t Shift = 0; // grid step of the cylinder's firing angle

  // Kinematics.
  TReal1DArray Alpha;   // own crank angle from its own top dead centre, rad
  TReal1DArray Beta;    // rod swing angle, rad
  TReal1DArray OmegaL;  // rod angular velocity, rad/s
  TReal1DArray TetaL;   // rod angular acceleration, rad/s²
  TReal1DArray Sp;      // piston distance from top dead centre, m
  TReal1DArray Vp;      // piston velocity, m/s
  TReal1DArray Jp;      // piston acceleration, m/s²
  TReal1DArray Vol;     // volume above the piston, m³

  // Forces per piston area, MPa, and the crankpin force in shaft axes, N.
  TReal1DArray P, Pj, Ps, N, K, T, Z;
  TReal1DArray Fx, Fy;

  // Crankpin moments under this cylinder's rod, N·m: continuous beam and split scheme.
  TReal1DArray MXss, MYss, MZss, MTss, M0ss;
  TReal1DArray SplitMZss, SplitMTss, SplitM0ss;

  // Strength at the crankpin oil hole under this rod.
  TArrayStats MXssStat, MYssStat, MZssStat, MTssStat, M0ssStat, SplitMZssStat, SplitMTssStat, SplitM0ssStat;
  double SgmASs = 0, SgmMSs = 0, SplitSgmASs = 0, SplitSgmMSs = 0;  // bending amplitude and mean, Pa
  double NSgmSs = 0, NSs = 0, SplitNSgmSs = 0, SplitNSs = 0;        // bending and combined safety factors

  // Sets the step arrays of the angle loop and the strengths to nPts zeros; the kinematics,
  // the forces and the split scheme get theirs when computed.
  void Allocate(int nPts);
  // The part of the kinematics that does not depend on the speed, for the cylinder of section
  // s, row r: its number, firing step and piston area, Alpha, Beta, Sp, Vol and the positions.
  void ComputePositions(int s, int r);
  // Takes that part from the same cylinder of a run of the same engine and diagram at
  // another speed; the positions are shared, not copied.
  void TakePositions(const TCylinder& same);
  // The rest of the kinematics at the run's speed: OmegaL, TetaL, Vp and Jp.
  void ComputeRates();
  // Fills the force arrays; the kinematics of every cylinder of the throw come first.
  void ComputeForces(int s, int r);
  // Tangential force on the crankpin (MPa) of a given force history along the cylinder axis
  // (MPa per step), with the cylinder's kinematics: T is linear in that force.
  TReal1DArray TangentialForces(const TReal1DArray& ps) const;

 private:
  // A cylinder of row 2 and above on an articulated rod.
  bool articulated() const;
  // Reaction the articulated rod hands to its master at step i for the axial force ps, MPa.
  double articulatedReaction(double ps, std::size_t i) const;
  std::string kinematicsStage() const;
  std::shared_ptr<const TCylinderPositions> positions_;
};
