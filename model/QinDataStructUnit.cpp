#include "QinDataStructUnit.h"

std::array<double*, 48> TQinDataStruct::StoredDoubles() {
  return {&D,   &S,    &E,   &Lam,  &N,    &EM,   &KK,   &KT,   &PK,   &DP,   &TK,   &P0,
          &T0,  &PT,   &PZT, &B1,   &B12,  &B13,  &B2,   &H1,   &H12,  &H13,  &H2,   &FB,
          &FH,  &BPer, &Hu,  &QC,   &ALFF, &FOPT, &FOPZ, &Fz,   &XT,   &FCT,  &MT,   &MW,
          &TPOR, &Tkr, &TWT, &OFPK, &ALFE, &ALFR, &CG,   &Cu,   &C2,   &Vkam, &MFk,  &PDP};
}

std::array<std::int16_t*, 6> TQinDataStruct::Choices() {
  return {&EngineType, &TOFormula, &Vp, &Vyp, &V, &Tau};
}

void TQinDataStruct::StreamBlock(TVexaStream& stream, bool Writing) {
  StreamString(stream, Descr, Writing);
  for (std::int16_t* choice : Choices()) StreamSmallInt(stream, *choice, Writing);
  for (double* value : StoredDoubles()) StreamDouble(stream, *value, Writing);
}
