#include "QinuTestSupport.h"

#include <cstdio>
#include <fstream>
#include <initializer_list>
#include <stdexcept>

namespace qinutest {

qinu::TQinInput DefaultExample() {
  qinu::TQinInput in;
  in.D = 0.26;
  in.S = 0.26;
  in.Lam = 0.13 / 0.58;
  in.N = 1000;
  in.Q = 16;
  return in;
}

qinu::TQinInput RatedExample() {
  qinu::TQinInput in = DefaultExample();
  in.V = 1;
  // 2206 kW x 0.205 kg/kWh / (16 cylinders x 500 cycles/min x 60 min/h) = 0.942 g per cycle.
  in.QC = 2206.0 * 0.205 / (16 * 500.0 * 60);
  // Four-valve head: two intake valves of 0.35 B and two exhaust valves of 0.30 B head
  // diameter, lifted a quarter of their diameter (curtain area = head area), discharge
  // coefficient 0.55 at full lift (valve proportions and flow as in Heywood, ch. 6).
  const double kDischarge = 0.55;
  const double intakeValve = 0.35 * in.D, exhaustValve = 0.30 * in.D;
  in.FH = 2 * 3.14159265358979 / 4 * intakeValve * intakeValve * kDischarge;
  in.FB = 2 * 3.14159265358979 / 4 * exhaustValve * exhaustValve * kDischarge;
  return in;
}

qinu::TQinInput TwoStrokeExample() {
  qinu::TQinInput in = DefaultExample();
  in.Vp = in.Vyp = 1;
  in.V = 1;
  in.B1 = 100;
  in.B12 = 130;
  in.B13 = 230;
  in.B2 = 260;
  in.H1 = 130;
  in.H12 = 150;
  in.H13 = 210;
  in.H2 = 230;
  in.FB = in.FH = 0.012;
  in.QC = 0.0004;
  return in;
}

namespace {

std::string Fields(std::initializer_list<double> values) {
  std::string line;
  char buffer[64];
  for (double v : values) {
    std::snprintf(buffer, sizeof buffer, "%13.6f", v);
    line += buffer;
  }
  return line + "\n";
}

}  // namespace

std::string FormatQinFile(const qinu::TQinInput& in, const std::string& fileName) {
  std::string text(60, '-');
  text += "\n          VEXA test data\n";
  text += std::string(15, ' ') + fileName + "   example engine\n";
  text += Fields({in.D, in.S, in.E, in.Lam, in.N, in.PDP});
  text += Fields({in.Q, in.EM, in.KK, in.KT, in.PK});
  text += Fields({in.DP, in.TK, in.P0, in.T0, in.PT});
  text += Fields({in.PZT, in.B1, in.B12, in.B13, in.B2});
  text += Fields({in.FB, in.H1, in.H12, in.H13, in.H2});
  text += Fields({in.FH, in.BPer, in.Hu, in.QC, in.ALFF});
  text += Fields({in.FOPT, in.FOPZ, in.Fz, in.XT, in.FCT});
  text += Fields({in.MT, in.MW, in.TPOR, in.Tkr, in.TWT});
  text += Fields({in.OFPK, in.ALFE, in.ALFR, in.CG, in.Cu});
  text += Fields({in.C2, 1, 1, in.Vkam, in.MFk});
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%4d%4d%4d%4d%4d%4d\n", in.TOFormula + 1, in.Vp + 1,
                in.Vyp + 1, in.V + 1, in.EngineType + 1, 1);
  return text + buffer;
}

void WriteQinFile(const std::filesystem::path& path, const qinu::TQinInput& input) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << FormatQinFile(input, path.filename().string());
  if (!file) throw std::runtime_error("cannot write " + path.string());
}

}  // namespace qinutest
