#include "MessageTextUnit.h"

#include <cerrno>

#include "NumberFormatUnit.h"

std::string ValueWithUnit(double value, const std::string& unit) {
  return FormatGeneral(value) + (unit.empty() ? "" : " " + unit);
}

std::string SystemErrorText(int error) {
  switch (error) {
    case ENOENT: return "файл или папка не найдены";
    case EACCES:
    case EPERM: return "нет прав доступа";
    case EISDIR: return "это папка, а не файл";
    case ENOTDIR: return "путь проходит через файл, а не через папку";
    case EEXIST: return "файл уже существует";
    case ENOSPC: return "диск заполнен";
    case EDQUOT: return "исчерпана дисковая квота";
    case EFBIG: return "превышен допустимый размер файла";
    case EROFS: return "файловая система доступна только для чтения";
    case ENAMETOOLONG: return "слишком длинное имя";
    case ELOOP: return "слишком много символических ссылок";
    case EIO: return "ошибка ввода-вывода";
    case EMFILE:
    case ENFILE: return "открыто слишком много файлов";
    case EBUSY:
    case ETXTBSY: return "файл занят";
    case ENOEXEC: return "файл не является программой";
    case EXDEV: return "файл и его временная копия оказались на разных дисках";
    default: return "системная ошибка " + std::to_string(error) + " (" + std::generic_category().message(error) + ")";
  }
}

std::string SystemErrorText(const std::error_code& error) {
  const bool systemNumber = error.category() == std::generic_category() || error.category() == std::system_category();
  return systemNumber ? SystemErrorText(error.value()) : error.message();
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
