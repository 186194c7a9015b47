// Names of the result quantities 0 … 53 (long names with units for tables and lists, short
// names with a %d for the cylinder or throw number) and the captions of the torsional table.
#pragma once

#include <string>

constexpr int QuantityCount = 54;

extern const char* const QuantityLongNames[QuantityCount];
extern const char* const QuantityShortNames[QuantityCount];
extern const char* const TorsionalCaptions[6];

// The short name with the number put in place of its %d ("T1[3], МПа").
std::string QuantityShortName(int quantity, int number);
