#include "JsonResultsUnit.h"

#include <nlohmann/json.hpp>

#include "ResultCatalogUnit.h"
#include "TorsionReportUnit.h"

using nlohmann::json;

namespace {

// The catalogue arrays of one holder kind, keyed by their catalogue number.
json quantities(const TDynamicCalcStruct& run, TQuantityHolder holder, int throwNumber, int cylinder) {
  json q = json::object();
  for (int number = 0; number < QuantityCount; ++number) {
    if (QuantityHolder(number) != holder) continue;
    const TReal1DArray* values = nullptr;
    GetQuantityArray(run, number, throwNumber, cylinder, values);
    if (values) q[std::to_string(number)] = *values;
  }
  return q;
}

json cylinderJson(const TDynamicCalcStruct& run, const TCylinder& c) {
  const TEngineDataStruct& e = run.Engine;
  return {{"number", c.CylNo},
          {"section", e.CylSection(c.CylNo)},
          {"row", e.CylRow(c.CylNo)},
          {"q", quantities(run, TQuantityHolder::Cylinder, 1, c.CylNo)},
          {"Fx", c.Fx},
          {"Fy", c.Fy},
          {"stress", {{"SgmASs", c.SgmASs}, {"SgmMSs", c.SgmMSs}, {"SplitSgmASs", c.SplitSgmASs}, {"SplitSgmMSs", c.SplitSgmMSs}}},
          {"safety", {{"NSgmSs", c.NSgmSs}, {"NSs", c.NSs}, {"SplitNSgmSs", c.SplitNSgmSs}, {"SplitNSs", c.SplitNSs}}}};
}

json throwJson(const TDynamicCalcStruct& run, const TCrank& t, int number) {
  json stress = {{"TauAKs", t.TauAKs},           {"TauMKs", t.TauMKs},           {"SgmAKs", t.SgmAKs},
                 {"SgmMKs", t.SgmMKs},           {"TauASs", t.TauASs},           {"TauMSs", t.TauMSs},
                 {"SgmAGal1", t.SgmAGal1},       {"SgmMGal1", t.SgmMGal1},       {"SgmAGal2", t.SgmAGal2},
                 {"SgmMGal2", t.SgmMGal2},       {"SplitTauAKs", t.SplitTauAKs}, {"SplitTauMKs", t.SplitTauMKs},
                 {"SplitTauASs", t.SplitTauASs}, {"SplitTauMSs", t.SplitTauMSs}, {"SplitSgmAGal1", t.SplitSgmAGal1},
                 {"SplitSgmMGal1", t.SplitSgmMGal1}, {"SplitSgmAGal2", t.SplitSgmAGal2},
                 {"SplitSgmMGal2", t.SplitSgmMGal2}, {"TorsionalAmp", t.TorsionalAmp}};
  json safety = {{"NTauKs", t.NTauKs},           {"NSgmKs", t.NSgmKs},           {"NKs", t.NKs},
                 {"NTauSs", t.NTauSs},           {"NSgmGal1", t.NSgmGal1},       {"NTauGal1", t.NTauGal1},
                 {"NGal1", t.NGal1},             {"NSgmGal2", t.NSgmGal2},       {"NTauGal2", t.NTauGal2},
                 {"NGal2", t.NGal2},             {"SplitNTauKs", t.SplitNTauKs}, {"SplitNTauSs", t.SplitNTauSs},
                 {"SplitNSgmGal1", t.SplitNSgmGal1}, {"SplitNTauGal1", t.SplitNTauGal1}, {"SplitNGal1", t.SplitNGal1},
                 {"SplitNSgmGal2", t.SplitNSgmGal2}, {"SplitNTauGal2", t.SplitNTauGal2}, {"SplitNGal2", t.SplitNGal2}};
  return {{"number", number},
          {"q", quantities(run, TQuantityHolder::Throw, number, 1)},
          {"loads",
           {{"WebLeftX", t.WebLeftX}, {"WebLeftY", t.WebLeftY}, {"WebRightX", t.WebRightX}, {"WebRightY", t.WebRightY},
            {"CwLeftX", t.CwLeftX}, {"CwLeftY", t.CwLeftY}, {"CwRightX", t.CwRightX}, {"CwRightY", t.CwRightY}}},
          {"Mk", t.Mk},
          {"HarmA0", t.HarmA0},
          {"HarmA", t.HarmA},
          {"HarmB", t.HarmB},
          {"HarmAmp", t.HarmAmp},
          {"HarmPhase", t.HarmPhase},
          {"MkksMean", t.MkksMean},
          {"Power", t.Power},
          {"stress", stress},
          {"safety", safety}};
}

json summaryJson(const TDynamicCalcStruct& run) {
  json summary = json::object();
  int index = 0;
  auto add = [&](const char* name, double value) { summary[name] = {{"value", value}, {"throw", index + 1}}; };
  add("NTauKs", run.MinOverThrows(&TCrank::NTauKs, index));
  add("NSgmKs", run.MinOverThrows(&TCrank::NSgmKs, index));
  add("NKs", run.MinOverThrows(&TCrank::NKs, index));
  add("NTauSs", run.MinOverThrows(&TCrank::NTauSs, index));
  add("NSgmSs", run.MinOverThrows(&TCylinder::NSgmSs, index));
  add("NSs", run.MinOverThrows(&TCylinder::NSs, index));
  add("NSgmGal1", run.MinOverThrows(&TCrank::NSgmGal1, index));
  add("NGal1", run.MinOverThrows(&TCrank::NGal1, index));
  add("NSgmGal2", run.MinOverThrows(&TCrank::NSgmGal2, index));
  add("NGal2", run.MinOverThrows(&TCrank::NGal2, index));
  return summary;
}

}  // namespace

std::string ResultsJson(const std::string& projectName, const TDynamicCalcArray& runs, int indent,
                        const TOscillCalcStruct* torsion) {
  json document = {{"project", projectName}, {"runs", json::array()}};
  for (const auto& run : runs) {
    json cylinders = json::array(), throws = json::array();
    for (std::size_t v = 0; v < run->Cranks.size(); ++v) {
      throws.push_back(throwJson(*run, *run->Cranks[v], static_cast<int>(v) + 1));
      for (const auto& c : run->Cranks[v]->Cylinders) cylinders.push_back(cylinderJson(*run, *c));
    }
    std::sort(cylinders.begin(), cylinders.end(),
              [](const json& a, const json& b) { return a["number"].get<int>() < b["number"].get<int>(); });
    document["runs"].push_back({{"title", run->Title},
                                {"speed_rpm", run->N},
                                {"steps", run->NPts()},
                                {"angle_grid", run->AngleGrid},
                                {"cylinders", cylinders},
                                {"throws", throws},
                                {"summary", summaryJson(*run)}});
  }
  if (torsion) document["torsion"] = json::parse(TorsionJson(*torsion));
  return document.dump(indent);
}
