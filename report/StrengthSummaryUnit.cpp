#include "StrengthSummaryUnit.h"

#include "EVexaErrorUnit.h"
#include "NumberFormatUnit.h"
#include "ResultTablesUnit.h"
#include "StrengthUnit.h"

const char* const StrengthSummaryCaption = "Общее заключение по прочности";
const char* const StrengthSummaryColumns[3] = {"Название коэффициента запаса", "На расчётном режиме",
                                               "На резонансной частоте"};

namespace {

// A factor held by the throw, or by each cylinder (taken as the smallest over the throw's cylinders).
struct TSummaryFactor {
  const char* caption;
  double TCrank::*throwFactor;
  double TCylinder::*cylinderFactor;

  double MinOverThrows(const TDynamicCalcStruct& run, int& index) const {
    return throwFactor ? run.MinOverThrows(throwFactor, index) : run.MinOverThrows(cylinderFactor, index);
  }
};

// The crankpin captions end with "Сечение " and no number: the line covers every row.
const TSummaryFactor Factors[] = {
    {"Кручение правой коренной шейки (масл. отв.)", &TCrank::NTauKs, nullptr},
    {"Изгиб правой коренной шейки (масл. отв.)", &TCrank::NSgmKs, nullptr},
    {"Общий запас правой коренной шейки (масл. отв.)", &TCrank::NKs, nullptr},
    {"Кручение шатунной шейки (масл. отв.), Сечение ", &TCrank::NTauSs, nullptr},
    {"Изгиб шатунной шейки (масл. отв.), Сечение ", nullptr, &TCylinder::NSgmSs},
    {"Общий запас шатунной шейки (масл. отв.), Сечение ", nullptr, &TCylinder::NSs},
    {"Изгиб в левой галтели шатунной шейки в плоскости колена", &TCrank::NSgmGal1, nullptr},
    {"Общий запас в левой галтели шатунной шейки", &TCrank::NGal1, nullptr},
    {"Изгиб в правой галтели шатунной шейки в плоскости колена", &TCrank::NSgmGal2, nullptr},
    {"Общий запас в правой галтели шатунной шейки", &TCrank::NGal2, nullptr},
};

std::string inSection(double value, int section) {
  return FormatSignificant(value, 4) + " в секции №" + std::to_string(section);
}

}  // namespace

std::vector<TStrengthSummaryValue> StrengthSummaryValues(const TDynamicCalcArray& runs) {
  if (runs.empty() || !runs.front()) throw TEVexaError(ErrNoResults);
  const TDynamicCalcStruct& design = *runs.front();
  RequireRunResults(design);
  std::vector<TStrengthSummaryValue> lines;
  for (const TSummaryFactor& factor : Factors) {
    int index = 0;
    TStrengthSummaryValue line{factor.caption, factor.MinOverThrows(design, index), 0, UnlimitedSafetyFactor, 0, 0};
    line.DesignSection = index + 1;
    // Over the resonance runs: the section carries over from the design run until a
    // resonance run gives a smaller factor.
    for (std::size_t r = 1; r < runs.size(); ++r) {
      if (!runs[r]) continue;
      int resonanceIndex = 0;
      const double smallest = factor.MinOverThrows(*runs[r], resonanceIndex);
      if (smallest < line.Resonance)
        line.Resonance = smallest, index = resonanceIndex, line.ResonanceSpeed = runs[r]->N;
    }
    line.ResonanceSection = index + 1;
    lines.push_back(std::move(line));
  }
  return lines;
}

std::vector<TStrengthSummaryLine> StrengthSummary(const TDynamicCalcArray& runs) {
  std::vector<TStrengthSummaryLine> lines;
  for (const TStrengthSummaryValue& v : StrengthSummaryValues(runs))
    lines.push_back({v.Caption, inSection(v.Design, v.DesignSection),
                     inSection(v.Resonance, v.ResonanceSection) + " на частоте " +
                         FormatSignificant(v.ResonanceSpeed, 4) + " об/мин"});
  return lines;
}

std::vector<std::string> StrengthSummaryLines(const TDynamicCalcArray& runs) {
  std::vector<std::string> text;
  for (const TStrengthSummaryLine& line : StrengthSummary(runs))
    text.push_back(line.Caption + " | " + line.Design + " | " + line.Resonance);
  return text;
}
