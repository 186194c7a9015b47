// Pieces of the Russian messages that refuse an input: a value with its unit, and the
// sentence that an input must be positive, agreed with the gender of the input's name.
#pragma once

#include <string>

// Grammatical gender of the name that opens a sentence ("Податливость" is feminine,
// "Радиус" masculine), so that the predicate agrees with it.
enum class TGender { Masculine, Feminine, Neuter };

// "0 м/Н"; the value in the general format, the unit after a blank (none when empty).
std::string ValueWithUnit(double value, const std::string& unit);

// "<subject> должна быть положительной (задано 0 м/Н)": the subject names the input as its
// page does; a value that is not finite is refused by the same sentence.
std::string MustBePositiveText(const std::string& subject, TGender gender, double value, const std::string& unit);
