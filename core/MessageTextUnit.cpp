#include "MessageTextUnit.h"

#include "NumberFormatUnit.h"

std::string ValueWithUnit(double value, const std::string& unit) {
  return FormatGeneral(value) + (unit.empty() ? "" : " " + unit);
}

std::string InputValueText(const TInputName* names, std::size_t count, const std::string& symbol, double value) {
  for (std::size_t i = 0; i < count; ++i)
    if (symbol == names[i].Symbol)
      return std::string(names[i].Words) + " " + symbol + " = " + ValueWithUnit(value, names[i].Unit);
  return symbol + " = " + FormatGeneral(value);
}

std::string MustBePositiveText(const std::string& subject, TGender gender, double value, const std::string& unit) {
  const char* predicate = gender == TGender::Feminine  ? " должна быть положительной"
                          : gender == TGender::Neuter ? " должно быть положительным"
                                                      : " должен быть положительным";
  return subject + predicate + " (задано " + ValueWithUnit(value, unit) + ")";
}
