#include "JsonResultsUnit.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <nlohmann/json.hpp>
#include <sstream>
#include <vector>

#include "ResultCatalogUnit.h"
#include "StatisticsUnit.h"
#include "TorsionReportUnit.h"

namespace {

// Compact JSON written into a buffer that goes to the stream in large blocks; it places the
// commas between the members of every open object or array.
class TJsonWriter {
 public:
  explicit TJsonWriter(std::ostream& out) : out_(out) { buffer_.reserve(BlockSize + 4096); }
  ~TJsonWriter() { flush(); }
  TJsonWriter(const TJsonWriter&) = delete;
  TJsonWriter& operator=(const TJsonWriter&) = delete;

  void BeginObject() { open('{'); }
  void EndObject() { close('}'); }
  void BeginArray() { open('['); }
  void EndArray() { close(']'); }
  void Key(const char* name) {
    separate();
    buffer_ += '"';
    buffer_ += name;
    buffer_ += "\":";
    afterKey_ = true;
  }
  void Value(int value) {
    separate();
    char text[16];
    char* end = std::to_chars(text, text + sizeof text, value).ptr;
    buffer_.append(text, end);
  }
  // The shortest text that reads back as the same double, always with a fraction or an
  // exponent so that readers keep it a floating-point number; null for a non-finite value.
  void Value(double value) {
    separate();
    number(value);
  }
  // Strings go through the JSON library, which escapes them and checks their UTF-8.
  void Value(const std::string& text) {
    separate();
    buffer_ += nlohmann::json(text).dump();
  }
  // The per-step arrays make up nearly the whole document: their numbers are written in one
  // loop, without the bookkeeping of nested values.
  void Value(const TReal1DArray& values) {
    separate();
    buffer_ += '[';
    for (std::size_t i = 0; i < values.size(); ++i) {
      if (i > 0) buffer_ += ',';
      number(values[i]);
    }
    buffer_ += ']';
    if (buffer_.size() >= BlockSize) flush();
  }
  // A complete JSON text as the next value.
  void Raw(const std::string& json) {
    separate();
    buffer_ += json;
  }
  template <typename T>
  void Member(const char* name, const T& value) {
    Key(name);
    Value(value);
  }

 private:
  static constexpr std::size_t BlockSize = 1 << 20;
  std::ostream& out_;
  std::string buffer_;
  std::vector<bool> hasMembers_;  // per open object or array
  bool afterKey_ = false;

  void separate() {
    if (afterKey_) {
      afterKey_ = false;
    } else if (!hasMembers_.empty()) {
      if (hasMembers_.back()) buffer_ += ',';
      hasMembers_.back() = true;
    }
    if (buffer_.size() >= BlockSize) flush();
  }
  void number(double value) {
    if (!std::isfinite(value)) {
      buffer_ += "null";
      return;
    }
    char text[32];
    char* end = std::to_chars(text, text + sizeof text, value).ptr;
    buffer_.append(text, end);
    if (std::none_of(text, end, [](char c) { return c == '.' || c == 'e'; })) buffer_ += ".0";
  }
  void open(char bracket) {
    separate();
    buffer_ += bracket;
    hasMembers_.push_back(false);
  }
  void close(char bracket) {
    buffer_ += bracket;
    hasMembers_.pop_back();
  }
  void flush() {
    out_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
    buffer_.clear();
  }
};

// The catalogue arrays of one holder kind, keyed by their catalogue number: the histories,
// or their extremes.
void quantities(TJsonWriter& w, const TDynamicCalcStruct& run, TQuantityHolder holder, int throwNumber, int cylinder,
                TJsonContent content) {
  w.Key("q");
  w.BeginObject();
  for (int number = 0; number < QuantityCount; ++number) {
    if (QuantityHolder(number) != holder) continue;
    const TReal1DArray* values = nullptr;
    GetQuantityArray(run, number, throwNumber, cylinder, values);
    if (!values) continue;
    const std::string key = std::to_string(number);
    if (content == TJsonContent::Full) {
      w.Member(key.c_str(), *values);
      continue;
    }
    TArrayStats stats;
    GetStatistics(*values, stats);
    w.Key(key.c_str());
    w.BeginObject();
    w.Member("min", stats.MinValue);
    w.Member("min_step", static_cast<int>(stats.MinIndex));
    w.Member("max", stats.MaxValue);
    w.Member("max_step", static_cast<int>(stats.MaxIndex));
    w.Member("mean", stats.Mean);
    w.Member("amplitude", stats.Amplitude);
    w.EndObject();
  }
  w.EndObject();
}

void cylinderJson(TJsonWriter& w, const TDynamicCalcStruct& run, const TCylinder& c, TJsonContent content) {
  const TEngineDataStruct& e = run.Engine;
  w.BeginObject();
  w.Member("number", static_cast<int>(c.CylNo));
  w.Member("section", e.CylSection(c.CylNo));
  w.Member("row", e.CylRow(c.CylNo));
  quantities(w, run, TQuantityHolder::Cylinder, 1, c.CylNo, content);
  if (content == TJsonContent::Full) {
    w.Member("Fx", c.Fx);
    w.Member("Fy", c.Fy);
  }
  w.Key("stress");
  w.BeginObject();
  w.Member("SgmASs", c.SgmASs);
  w.Member("SgmMSs", c.SgmMSs);
  w.Member("SplitSgmASs", c.SplitSgmASs);
  w.Member("SplitSgmMSs", c.SplitSgmMSs);
  w.EndObject();
  w.Key("safety");
  w.BeginObject();
  w.Member("NSgmSs", c.NSgmSs);
  w.Member("NSs", c.NSs);
  w.Member("SplitNSgmSs", c.SplitNSgmSs);
  w.Member("SplitNSs", c.SplitNSs);
  w.EndObject();
  w.EndObject();
}

void throwJson(TJsonWriter& w, const TDynamicCalcStruct& run, const TCrank& t, int number, TJsonContent content) {
  w.BeginObject();
  w.Member("number", number);
  quantities(w, run, TQuantityHolder::Throw, number, 1, content);
  if (content == TJsonContent::Full) {
    w.Key("loads");
    w.BeginObject();
    w.Member("WebLeftX", t.WebLeftX);
    w.Member("WebLeftY", t.WebLeftY);
    w.Member("WebRightX", t.WebRightX);
    w.Member("WebRightY", t.WebRightY);
    w.Member("CwLeftX", t.CwLeftX);
    w.Member("CwLeftY", t.CwLeftY);
    w.Member("CwRightX", t.CwRightX);
    w.Member("CwRightY", t.CwRightY);
    w.EndObject();
    w.Member("Mk", t.Mk);
  }
  w.Member("HarmA0", t.HarmA0);
  w.Member("HarmA", t.HarmA);
  w.Member("HarmB", t.HarmB);
  w.Member("HarmAmp", t.HarmAmp);
  w.Member("HarmPhase", t.HarmPhase);
  w.Member("MkksMean", t.MkksMean);
  w.Member("Power", t.Power);
  w.Key("stress");
  w.BeginObject();
  for (const auto& [name, value] :
       {std::pair{"TauAKs", t.TauAKs}, {"TauMKs", t.TauMKs}, {"SgmAKs", t.SgmAKs}, {"SgmMKs", t.SgmMKs},
        {"TauASs", t.TauASs}, {"TauMSs", t.TauMSs}, {"SgmAGal1", t.SgmAGal1}, {"SgmMGal1", t.SgmMGal1},
        {"SgmAGal2", t.SgmAGal2}, {"SgmMGal2", t.SgmMGal2}, {"SplitTauAKs", t.SplitTauAKs},
        {"SplitTauMKs", t.SplitTauMKs}, {"SplitTauASs", t.SplitTauASs}, {"SplitTauMSs", t.SplitTauMSs},
        {"SplitSgmAGal1", t.SplitSgmAGal1}, {"SplitSgmMGal1", t.SplitSgmMGal1}, {"SplitSgmAGal2", t.SplitSgmAGal2},
        {"SplitSgmMGal2", t.SplitSgmMGal2}, {"TorsionalAmp", t.TorsionalAmp}})
    w.Member(name, value);
  w.EndObject();
  w.Key("safety");
  w.BeginObject();
  for (const auto& [name, value] :
       {std::pair{"NTauKs", t.NTauKs}, {"NSgmKs", t.NSgmKs}, {"NKs", t.NKs}, {"NTauSs", t.NTauSs},
        {"NSgmGal1", t.NSgmGal1}, {"NTauGal1", t.NTauGal1}, {"NGal1", t.NGal1}, {"NSgmGal2", t.NSgmGal2},
        {"NTauGal2", t.NTauGal2}, {"NGal2", t.NGal2}, {"SplitNTauKs", t.SplitNTauKs}, {"SplitNTauSs", t.SplitNTauSs},
        {"SplitNSgmGal1", t.SplitNSgmGal1}, {"SplitNTauGal1", t.SplitNTauGal1}, {"SplitNGal1", t.SplitNGal1},
        {"SplitNSgmGal2", t.SplitNSgmGal2}, {"SplitNTauGal2", t.SplitNTauGal2}, {"SplitNGal2", t.SplitNGal2}})
    w.Member(name, value);
  w.EndObject();
  w.EndObject();
}

void summaryJson(TJsonWriter& w, const TDynamicCalcStruct& run) {
  w.BeginObject();
  int index = 0;
  auto add = [&](const char* name, double value) {
    w.Key(name);
    w.BeginObject();
    w.Member("value", value);
    w.Member("throw", index + 1);
    w.EndObject();
  };
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
  w.EndObject();
}

void runJson(TJsonWriter& w, const TDynamicCalcStruct& run, TJsonContent content) {
  w.BeginObject();
  w.Member("title", run.Title);
  w.Member("speed_rpm", run.N);
  w.Member("steps", run.NPts());
  if (content == TJsonContent::Full) w.Member("angle_grid", run.AngleGrid);
  std::vector<const TCylinder*> cylinders;
  for (const auto& crank : run.Cranks)
    for (const auto& c : crank->Cylinders) cylinders.push_back(c.get());
  std::stable_sort(cylinders.begin(), cylinders.end(),
                   [](const TCylinder* a, const TCylinder* b) { return a->CylNo < b->CylNo; });
  w.Key("cylinders");
  w.BeginArray();
  for (const TCylinder* c : cylinders) cylinderJson(w, run, *c, content);
  w.EndArray();
  w.Key("throws");
  w.BeginArray();
  for (std::size_t v = 0; v < run.Cranks.size(); ++v)
    throwJson(w, run, *run.Cranks[v], static_cast<int>(v) + 1, content);
  w.EndArray();
  w.Key("summary");
  summaryJson(w, run);
  w.EndObject();
}

}  // namespace

void WriteResultsJson(std::ostream& out, const std::string& projectName, const TDynamicCalcArray& runs,
                      const TOscillCalcStruct* torsion, TJsonContent content) {
  TJsonWriter w(out);
  w.BeginObject();
  w.Member("project", projectName);
  w.Key("runs");
  w.BeginArray();
  for (const auto& run : runs) runJson(w, *run, content);
  w.EndArray();
  if (torsion) {
    w.Key("torsion");
    w.Raw(TorsionJson(*torsion));
  }
  w.EndObject();
}

std::string ResultsJson(const std::string& projectName, const TDynamicCalcArray& runs,
                        const TOscillCalcStruct* torsion, TJsonContent content) {
  std::ostringstream out;
  WriteResultsJson(out, projectName, runs, torsion, content);
  return out.str();
}
