#include "ResultCatalogUnit.h"

#include <stdexcept>

namespace {

using CylinderField = TReal1DArray TCylinder::*;
using ThrowField = TReal1DArray TCrank::*;

struct TQuantityField {
  CylinderField cylinder = nullptr;
  ThrowField crank = nullptr;
};

// Row q of the catalogue: the array that holds quantity q.
const TQuantityField Fields[QuantityCount] = {
    {&TCylinder::Alpha},     {&TCylinder::Beta},      {&TCylinder::OmegaL},   {&TCylinder::TetaL},
    {&TCylinder::Sp},        {&TCylinder::Vp},        {&TCylinder::Jp},       {&TCylinder::P},
    {&TCylinder::Pj},        {&TCylinder::Ps},        {&TCylinder::N},        {&TCylinder::K},
    {&TCylinder::T},         {&TCylinder::Z},         {nullptr, &TCrank::TSum}, {nullptr, &TCrank::ZSum},
    {nullptr, &TCrank::T1},  {nullptr, &TCrank::Z1},  {nullptr, &TCrank::T2}, {nullptr, &TCrank::Z2},
    {nullptr, &TCrank::XSum}, {nullptr, &TCrank::YSum}, {nullptr, &TCrank::X1}, {nullptr, &TCrank::Y1},
    {nullptr, &TCrank::X2},  {nullptr, &TCrank::Y2},  {nullptr, &TCrank::MX1}, {nullptr, &TCrank::MY1},
    {nullptr, &TCrank::MX2}, {nullptr, &TCrank::MY2}, {nullptr, &TCrank::MT1}, {nullptr, &TCrank::MZ1},
    {nullptr, &TCrank::MT2}, {nullptr, &TCrank::MZ2}, {nullptr, &TCrank::Mkks2}, {nullptr, &TCrank::Mkss},
    {nullptr, &TCrank::MZgalss1}, {nullptr, &TCrank::MZgalss2}, {&TCylinder::MXss}, {&TCylinder::MYss},
    {&TCylinder::MZss},      {&TCylinder::MTss},      {&TCylinder::M0ss},     {nullptr, &TCrank::SplitT1},
    {nullptr, &TCrank::SplitZ1}, {nullptr, &TCrank::SplitT2}, {nullptr, &TCrank::SplitZ2},
    {nullptr, &TCrank::SplitMkks}, {nullptr, &TCrank::SplitMkss}, {nullptr, &TCrank::SplitMZgal1},
    {nullptr, &TCrank::SplitMZgal2}, {&TCylinder::SplitMZss}, {&TCylinder::SplitMTss}, {&TCylinder::SplitM0ss},
};

}  // namespace

TQuantityHolder QuantityHolder(int q) {
  if (q < 0 || q >= QuantityCount) return TQuantityHolder::Throw;
  return Fields[q].cylinder ? TQuantityHolder::Cylinder : TQuantityHolder::Throw;
}

void GetQuantityArray(const TDynamicCalcStruct& run, int q, int s, int n, const TReal1DArray*& target,
                      TAngleUse angleUse) {
  if (run.Cranks.empty()) return;
  if (q < 0 || q >= QuantityCount) {
    target = nullptr;
    return;
  }
  if (q == 0 && angleUse == TAngleUse::Abscissa) {
    target = &run.AngleGrid;
    return;
  }
  const TEngineDataStruct& e = run.Engine;
  if (Fields[q].cylinder) {
    const int row = e.CylRow(n);
    const int section = n - e.NSec * (row - 1);
    const TCrank& crank = *run.Cranks.at(static_cast<std::size_t>(section - 1));
    target = &(crank.Cylinders.at(static_cast<std::size_t>(row - 1)).get()->*Fields[q].cylinder);
  } else {
    target = &(run.Cranks.at(static_cast<std::size_t>(s - 1)).get()->*Fields[q].crank);
  }
}
