// The JSON document of the results: the streamed text against a document built in memory with
// the JSON library (the writer's former form, which scripts were written against), the
// numbers read back exactly, and the summary against the extremes of the full arrays.
#include <gtest/gtest.h>

#include <algorithm>
#include <nlohmann/json.hpp>

#include "JsonResultsUnit.h"
#include "ProjectCalcUnit.h"
#include "ProjectFileUnit.h"
#include "ResultCatalogUnit.h"
#include "TestSupport.h"
#include "TorsionReportUnit.h"

using nlohmann::json;

namespace {

// The document as the JSON library builds it from the same results.
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

json referenceDocument(const std::string& project, const TDynamicCalcArray& runs, const TOscillCalcStruct& torsion) {
  json document = {{"project", project}, {"runs", json::array()}};
  for (const auto& run : runs) {
    const TEngineDataStruct& e = run->Engine;
    json cylinders = json::array(), throws = json::array();
    for (std::size_t v = 0; v < run->Cranks.size(); ++v) {
      const TCrank& t = *run->Cranks[v];
      const int number = static_cast<int>(v) + 1;
      throws.push_back(
          {{"number", number},
           {"q", quantities(*run, TQuantityHolder::Throw, number, 1)},
           {"loads",
            {{"WebLeftX", t.WebLeftX}, {"WebLeftY", t.WebLeftY}, {"WebRightX", t.WebRightX},
             {"WebRightY", t.WebRightY}, {"CwLeftX", t.CwLeftX}, {"CwLeftY", t.CwLeftY}, {"CwRightX", t.CwRightX},
             {"CwRightY", t.CwRightY}}},
           {"Mk", t.Mk},
           {"HarmA0", t.HarmA0},
           {"HarmA", t.HarmA},
           {"HarmB", t.HarmB},
           {"HarmAmp", t.HarmAmp},
           {"HarmPhase", t.HarmPhase},
           {"MkksMean", t.MkksMean},
           {"Power", t.Power},
           {"stress",
            {{"TauAKs", t.TauAKs}, {"TauMKs", t.TauMKs}, {"SgmAKs", t.SgmAKs}, {"SgmMKs", t.SgmMKs},
             {"TauASs", t.TauASs}, {"TauMSs", t.TauMSs}, {"SgmAGal1", t.SgmAGal1}, {"SgmMGal1", t.SgmMGal1},
             {"SgmAGal2", t.SgmAGal2}, {"SgmMGal2", t.SgmMGal2}, {"SplitTauAKs", t.SplitTauAKs},
             {"SplitTauMKs", t.SplitTauMKs}, {"SplitTauASs", t.SplitTauASs}, {"SplitTauMSs", t.SplitTauMSs},
             {"SplitSgmAGal1", t.SplitSgmAGal1}, {"SplitSgmMGal1", t.SplitSgmMGal1},
             {"SplitSgmAGal2", t.SplitSgmAGal2}, {"SplitSgmMGal2", t.SplitSgmMGal2},
             {"TorsionalAmp", t.TorsionalAmp}}},
           {"safety",
            {{"NTauKs", t.NTauKs}, {"NSgmKs", t.NSgmKs}, {"NKs", t.NKs}, {"NTauSs", t.NTauSs},
             {"NSgmGal1", t.NSgmGal1}, {"NTauGal1", t.NTauGal1}, {"NGal1", t.NGal1}, {"NSgmGal2", t.NSgmGal2},
             {"NTauGal2", t.NTauGal2}, {"NGal2", t.NGal2}, {"SplitNTauKs", t.SplitNTauKs},
             {"SplitNTauSs", t.SplitNTauSs}, {"SplitNSgmGal1", t.SplitNSgmGal1},
             {"SplitNTauGal1", t.SplitNTauGal1}, {"SplitNGal1", t.SplitNGal1},
             {"SplitNSgmGal2", t.SplitNSgmGal2}, {"SplitNTauGal2", t.SplitNTauGal2},
             {"SplitNGal2", t.SplitNGal2}}}});
      for (const auto& c : t.Cylinders)
        cylinders.push_back(
            {{"number", c->CylNo},
             {"section", e.CylSection(c->CylNo)},
             {"row", e.CylRow(c->CylNo)},
             {"q", quantities(*run, TQuantityHolder::Cylinder, 1, c->CylNo)},
             {"Fx", c->Fx},
             {"Fy", c->Fy},
             {"stress",
              {{"SgmASs", c->SgmASs}, {"SgmMSs", c->SgmMSs}, {"SplitSgmASs", c->SplitSgmASs},
               {"SplitSgmMSs", c->SplitSgmMSs}}},
             {"safety",
              {{"NSgmSs", c->NSgmSs}, {"NSs", c->NSs}, {"SplitNSgmSs", c->SplitNSgmSs},
               {"SplitNSs", c->SplitNSs}}}});
    }
    std::sort(cylinders.begin(), cylinders.end(),
              [](const json& a, const json& b) { return a["number"].get<int>() < b["number"].get<int>(); });
    json summary = json::object();
    int index = 0;
    auto add = [&](const char* name, double value) { summary[name] = {{"value", value}, {"throw", index + 1}}; };
    add("NTauKs", run->MinOverThrows(&TCrank::NTauKs, index));
    add("NSgmKs", run->MinOverThrows(&TCrank::NSgmKs, index));
    add("NKs", run->MinOverThrows(&TCrank::NKs, index));
    add("NTauSs", run->MinOverThrows(&TCrank::NTauSs, index));
    add("NSgmSs", run->MinOverThrows(&TCylinder::NSgmSs, index));
    add("NSs", run->MinOverThrows(&TCylinder::NSs, index));
    add("NSgmGal1", run->MinOverThrows(&TCrank::NSgmGal1, index));
    add("NGal1", run->MinOverThrows(&TCrank::NGal1, index));
    add("NSgmGal2", run->MinOverThrows(&TCrank::NSgmGal2, index));
    add("NGal2", run->MinOverThrows(&TCrank::NGal2, index));
    document["runs"].push_back({{"title", run->Title},
                                {"speed_rpm", run->N},
                                {"steps", run->NPts()},
                                {"angle_grid", run->AngleGrid},
                                {"cylinders", cylinders},
                                {"throws", throws},
                                {"summary", summary}});
  }
  document["torsion"] = json::parse(TorsionJson(torsion));
  return document;
}

// Every number of a document, in document order.
void collectNumbers(const json& value, std::vector<double>& numbers) {
  if (value.is_number()) numbers.push_back(value.get<double>());
  if (value.is_structured())
    for (const auto& item : value) collectNumbers(item, numbers);
}

}  // namespace

// The design run and the torsional calculation of the example (no resonance runs: the
// document's form is the same for every run).
class ResultsJsonTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    TRunSettings settings;
    settings.ProjectDir = testsupport::SourceDir() / "examples";
    project_ = new TVexaProject(settings);
    LoadProjectFile(project_->EngineData, settings.ProjectDir / "V16-26-26.vxa");
    project_->EngineData.CalcCombFlag = false;
    ASSERT_TRUE(project_->CalcDynamicExecute().Completed);
  }
  static void TearDownTestSuite() {
    delete project_;
    project_ = nullptr;
  }
  static TVexaProject* project_;
  static json written(TJsonContent content) {
    return json::parse(ResultsJson("Проект \"V16\"", project_->Results, project_->OscillCalc.get(), content));
  }
};
TVexaProject* ResultsJsonTest::project_ = nullptr;

TEST_F(ResultsJsonTest, StreamedDocumentIsTheDocumentScriptsKnow) {
  const json expected = referenceDocument("Проект \"V16\"", project_->Results, *project_->OscillCalc);
  const json actual = written(TJsonContent::Full);
  EXPECT_EQ(actual, expected) << json::diff(expected, actual).dump().substr(0, 2000);
  // Floating-point values stay floating-point for the readers, also where they are whole.
  EXPECT_TRUE(actual["runs"][0]["angle_grid"][0].is_number_float());
  EXPECT_TRUE(actual["runs"][0]["steps"].is_number_integer());
}

TEST_F(ResultsJsonTest, EveryNumberReadsBackExactly) {
  std::vector<double> expected, actual;
  collectNumbers(referenceDocument("V16", project_->Results, *project_->OscillCalc), expected);
  collectNumbers(written(TJsonContent::Full), actual);
  ASSERT_EQ(actual.size(), expected.size());
  for (std::size_t i = 0; i < actual.size(); ++i) ASSERT_EQ(actual[i], expected[i]) << "number " << i;
}

TEST_F(ResultsJsonTest, TextIsCompactAndEscapesStrings) {
  const std::string text = ResultsJson("a\"b\\c\nd", project_->Results, nullptr);
  EXPECT_EQ(text.find('\n'), std::string::npos);
  EXPECT_EQ(text.find(", "), std::string::npos);
  EXPECT_EQ(json::parse(text)["project"], "a\"b\\c\nd");
  EXPECT_FALSE(json::parse(text).contains("torsion"));
}

TEST_F(ResultsJsonTest, SummaryIsTheDocumentWithExtremesInPlaceOfHistories) {
  const json full = written(TJsonContent::Full), summary = written(TJsonContent::Summary);
  EXPECT_EQ(summary["project"], full["project"]);
  EXPECT_EQ(summary["torsion"], full["torsion"]);
  ASSERT_EQ(summary["runs"].size(), full["runs"].size());
  for (std::size_t r = 0; r < full["runs"].size(); ++r) {
    const json &f = full["runs"][r], &s = summary["runs"][r];
    for (const char* key : {"title", "speed_rpm", "steps", "summary"}) EXPECT_EQ(s[key], f[key]) << key;
    EXPECT_FALSE(s.contains("angle_grid"));
    for (const char* holder : {"cylinders", "throws"}) {
      ASSERT_EQ(s[holder].size(), f[holder].size());
      for (std::size_t i = 0; i < f[holder].size(); ++i) {
        const json &fi = f[holder][i], &si = s[holder][i];
        for (const char* key : {"Fx", "Fy", "loads", "Mk"}) EXPECT_FALSE(si.contains(key)) << key;
        for (const char* key : {"number", "stress", "safety"}) EXPECT_EQ(si[key], fi[key]) << key;
        ASSERT_EQ(si["q"].size(), fi["q"].size());
        for (const auto& [number, history] : fi["q"].items()) {
          const std::vector<double> values = history.get<std::vector<double>>();
          const auto [low, high] = std::minmax_element(values.begin(), values.end());
          const json& x = si["q"][number];
          EXPECT_EQ(x["min"].get<double>(), *low) << holder << " " << number;
          EXPECT_EQ(x["max"].get<double>(), *high) << holder << " " << number;
          EXPECT_EQ(values[x["min_step"].get<std::size_t>()], *low);
          EXPECT_EQ(values[x["max_step"].get<std::size_t>()], *high);
          EXPECT_DOUBLE_EQ(x["amplitude"].get<double>(), std::fabs(*high - *low) / 2);
          EXPECT_DOUBLE_EQ(x["mean"].get<double>(), std::fabs(*high + *low) / 2);
        }
      }
    }
  }
}
