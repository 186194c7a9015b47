// The program's own error: a caption and a text from the fixed table of numbered
// messages, raised wherever the user must be told and shown by the nearest user command.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

// Message numbers of the table.
enum TVexaErrorCode : std::uint8_t {
  ErrNone = 0,
  ErrBadDataFile = 1,      // "Неверный формат файла данных!"
  ErrNotANumber = 2,       // "Введите числовое значение"
  ErrRegistryRoot = 3,
  ErrRegistryRecent = 4,
  ErrExcel = 5,
  ErrNoResults = 6,        // "Сначала необходимо выполнить расчёт (F3)"
  ErrIndicatorDiagram = 7, // detail: the diagram file name
  ErrWorkingProcess = 8,   // detail: the program's full path
};

class TEVexaError : public std::runtime_error {
 public:
  explicit TEVexaError(std::uint8_t code);
  // The detail replaces the message's own %s; per-cent signs in the detail stay as they are.
  TEVexaError(std::uint8_t code, const std::string& detail);

  std::uint8_t Code;
  std::string Caption;
  std::string Text;

  // Caption and text of a message number without raising it.
  static std::string CaptionOf(std::uint8_t code);
  static std::string TextOf(std::uint8_t code);
};
