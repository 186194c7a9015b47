#include "VectorDiagramUnit.h"

#include <algorithm>
#include <cmath>

TVectorDiagram VectorDiagram(const TOscillCalcStruct& model, int mode, int harmonic, bool phase) {
  TVectorDiagram diagram;
  diagram.Order = model.Calc->HarmOrders.at(static_cast<std::size_t>(harmonic));
  if (mode < 1 || mode >= model.NModes()) throw std::out_of_range("номер собственной частоты вне диапазона");
  diagram.InRange = model.IsResonance(mode, harmonic);
  if (!diagram.InRange) return diagram;
  const auto& sines = model.SinPart.at(static_cast<std::size_t>(mode)).at(static_cast<std::size_t>(harmonic));
  const auto& cosines = model.CosPart.at(static_cast<std::size_t>(mode)).at(static_cast<std::size_t>(harmonic));
  double x = 0, y = 0;
  for (std::size_t v = 0; v < sines.size(); ++v) {
    const std::string label = std::to_string(v + 1);
    if (phase) {
      diagram.Arrows.push_back({0, 0, sines[v], cosines[v], label});
    } else {
      diagram.Arrows.push_back({x, y, x + sines[v], y + cosines[v], label});
      x += sines[v];
      y += cosines[v];
    }
  }
  if (!phase) diagram.Arrows.push_back({0, 0, x, y, "Sum"});
  for (const TVectorArrow& a : diagram.Arrows)
    diagram.Extent = std::max({diagram.Extent, std::abs(a.X0), std::abs(a.Y0), std::abs(a.X1), std::abs(a.Y1)});
  return diagram;
}
