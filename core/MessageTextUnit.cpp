#include "MessageTextUnit.h"

#include "NumberFormatUnit.h"

std::string ValueWithUnit(double value, const std::string& unit) {
  return FormatGeneral(value) + (unit.empty() ? "" : " " + unit);
}

std::string MustBePositiveText(const std::string& subject, TGender gender, double value, const std::string& unit) {
  const char* predicate = gender == TGender::Feminine  ? " должна быть положительной"
                          : gender == TGender::Neuter ? " должно быть положительным"
                                                      : " должен быть положительным";
  return subject + predicate + " (задано " + ValueWithUnit(value, unit) + ")";
}
