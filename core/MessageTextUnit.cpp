#include "MessageTextUnit.h"

#include "NumberFormatUnit.h"

std::string ValueWithUnit(double value, const std::string& unit) {
  return FormatGeneral(value) + (unit.empty() ? "" : " " + unit);
}

std::string SystemErrorText(const std::error_code& error) {
  if (error == std::errc::no_such_file_or_directory) return "нет такого файла или папки";
  if (error == std::errc::permission_denied || error == std::errc::operation_not_permitted) return "нет доступа";
  if (error == std::errc::no_space_on_device) return "на диске нет места";
  if (error == std::errc::read_only_file_system) return "файловая система доступна только для чтения";
  if (error == std::errc::file_exists) return "файл уже существует";
  if (error == std::errc::is_a_directory) return "это папка, а не файл";
  if (error == std::errc::not_a_directory) return "часть пути не является папкой";
  if (error == std::errc::executable_format_error) return "файл не является программой";
  if (error == std::errc::device_or_resource_busy || error == std::errc::text_file_busy) return "файл занят";
  return error.message();
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
