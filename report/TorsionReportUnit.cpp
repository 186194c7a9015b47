#include "TorsionReportUnit.h"

#include <cmath>
#include <numbers>
#include <nlohmann/json.hpp>

#include "NumberFormatUnit.h"

namespace {

std::size_t at(int index) { return static_cast<std::size_t>(index); }

double perMinute(double omega) { return omega * 30 / std::numbers::pi; }

}  // namespace

std::vector<TResonanceLine> ResonanceLines(const TOscillCalcStruct& model) {
  std::vector<TResonanceLine> lines;
  if (!model.Calc) return lines;
  const int harmonics = static_cast<int>(model.ResAmpl.size());
  for (int mode = 1; mode < model.NModes(); ++mode)
    for (int harmonic = 0; harmonic < harmonics; ++harmonic) {
      if (!model.IsResonance(mode, harmonic)) continue;
      TResonanceLine line;
      line.Mode = mode;
      line.Harmonic = harmonic;
      line.Order = model.Calc->HarmOrders.at(at(harmonic));
      line.Speed = model.ResonanceSpeed(mode, harmonic);
      line.Amplitude = model.ResAmpl[at(harmonic)][at(mode)];
      const TReal1DArray& tau = model.SectTau.at(at(mode)).at(at(harmonic));
      for (std::size_t k = 0; k < tau.size(); ++k)
        if (std::fabs(tau[k]) > line.LargestTau) {
          line.LargestTau = std::fabs(tau[k]);
          line.Section = static_cast<int>(k) + 1;
        }
      lines.push_back(line);
    }
  return lines;
}

std::vector<std::string> TorsionReportLines(const TOscillCalcStruct& model) {
  std::vector<std::string> out;
  out.push_back("Собственные частоты крутильных колебаний");
  out.push_back("  форма   рад/с        кол/мин");
  for (int mode = 0; mode < model.NModes(); ++mode)
    out.push_back("  " + FormatFixed(mode, 0, 5) + FormatFixed(model.Omega[at(mode)], 2, 10) +
                  FormatFixed(perMinute(model.Omega[at(mode)]), 1, 13));
  out.push_back("Резонансы в диапазоне частот вращения");
  out.push_back("  форма  порядок  n, об/мин  амплитуда, рад  макс. tau, МПа  участок");
  for (const TResonanceLine& r : ResonanceLines(model))
    out.push_back("  " + FormatFixed(r.Mode, 0, 5) + FormatFixed(r.Order, 1, 9) + FormatFixed(r.Speed, 1, 11) +
                  "  " + FormatSignificant(r.Amplitude, 5) + std::string(14 - std::min<std::size_t>(14, FormatSignificant(r.Amplitude, 5).size()), ' ') +
                  FormatFixed(r.LargestTau / 1e6, 2, 14) + FormatFixed(r.Section, 0, 9));
  return out;
}

std::string TorsionJson(const TOscillCalcStruct& model) {
  nlohmann::json resonances = nlohmann::json::array();
  for (const TResonanceLine& r : ResonanceLines(model))
    resonances.push_back({{"mode", r.Mode},
                          {"harmonic", r.Harmonic},
                          {"order", r.Order},
                          {"speed_rpm", r.Speed},
                          {"AkMax", model.AkMax[at(r.Harmonic)][at(r.Mode)]},
                          {"Aksi", model.Aksi[at(r.Harmonic)][at(r.Mode)]},
                          {"ResAmpl", r.Amplitude},
                          {"SectMoment", model.SectMoment.at(at(r.Mode)).at(at(r.Harmonic))},
                          {"SectTau", model.SectTau.at(at(r.Mode)).at(at(r.Harmonic))}});
  const nlohmann::json torsion = {
      {"omega", model.Omega}, {"modes", model.Modes}, {"red_length", model.RedLength}, {"resonances", resonances}};
  return torsion.dump();
}
