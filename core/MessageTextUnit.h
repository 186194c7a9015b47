// Pieces of the Russian messages that refuse an input: a value with its unit, and the
// sentence that an input must be positive, agreed with the gender of the input's name.
#pragma once

#include <cstddef>
#include <string>
#include <system_error>

// Grammatical gender of the name that opens a sentence ("Податливость" is feminine,
// "Радиус" masculine), so that the predicate agrees with it.
enum class TGender { Masculine, Feminine, Neuter };

// "0 м/Н"; the value in the general format, the unit after a blank (none when empty).
std::string ValueWithUnit(double value, const std::string& unit);

// How a refusal names an input: its words as its page gives them and the unit of its value.
struct TInputName {
  const char* Symbol;  // the engine field, e.g. "B"
  const char* Words;   // e.g. "толщина щеки"
  const char* Unit;    // e.g. "м"; empty for a ratio
};

// "толщина щеки B = 0 м" for the input of that symbol in names; the bare symbol and value
// when the list does not hold it.
std::string InputValueText(const TInputName* names, std::size_t count, const std::string& symbol, double value);
template <std::size_t N>
std::string InputValueText(const TInputName (&names)[N], const std::string& symbol, double value) {
  return InputValueText(names, N, symbol, value);
}

// The reason of a failed file or process operation (a system error number) in the program's
// words, as a message shows it after a colon: "нет прав доступа". A rare one keeps its number
// and the system's own text.
std::string SystemErrorText(int error);
std::string SystemErrorText(const std::error_code& error);

// "<subject> должна быть положительной (задано 0 м/Н)": the subject names the input as its
// page does; a value that is not finite is refused by the same sentence.
std::string MustBePositiveText(const std::string& subject, TGender gender, double value, const std::string& unit);
