#include "EVexaErrorUnit.h"

namespace {

const char* const RegistryText = "Не удается открыть ветвь регистра HKEY_CURRENT_USER%s";

std::string insertDetail(const std::string& text, const std::string& detail) {
  const auto at = text.find("%s");
  if (at == std::string::npos) return text;
  return text.substr(0, at) + detail + text.substr(at + 2);
}

}  // namespace

std::string TEVexaError::CaptionOf(std::uint8_t code) {
  return code == ErrNone ? std::string() : std::string("Ошибка!");
}

std::string TEVexaError::TextOf(std::uint8_t code) {
  switch (code) {
    case ErrNone: return {};
    case ErrBadDataFile: return "Неверный формат файла данных!";
    case ErrNotANumber: return "Введите числовое значение";
    case ErrRegistryRoot: return insertDetail(RegistryText, "\\SOFTWARE\\Lumet Programs\\Vexa\\");
    case ErrRegistryRecent:
      return insertDetail(RegistryText, "\\SOFTWARE\\Lumet Programs\\Vexa\\Recent files");
    case ErrExcel: return "Ошибка OLE при работе с EXCEL";
    case ErrNoResults: return "Сначала необходимо выполнить расчёт (F3)";
    case ErrIndicatorDiagram: return "Не могу прочитать индикаторную диаграмму: %s";
    case ErrWorkingProcess: return "Не удалось запустить qin.exe: \r%s";
    default: return "Неизвестная ошибка";
  }
}

TEVexaError::TEVexaError(std::uint8_t code)
    : std::runtime_error(TextOf(code)), Code(code), Caption(CaptionOf(code)), Text(TextOf(code)) {}

TEVexaError::TEVexaError(std::uint8_t code, const std::string& detail)
    : std::runtime_error(insertDetail(TextOf(code), detail)),
      Code(code),
      Caption(CaptionOf(code)),
      Text(insertDetail(TextOf(code), detail)) {}
