// The number formats of the program. All of them use "." as the decimal separator
// whatever the user's locale, and so does parsing.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

// General format: 15 significant digits, trailing zeros dropped, exponent form
// ("1E-12", "1.5E20") only below 0.00001 in magnitude or beyond 15 integer digits.
std::string FormatGeneral(double value);

// printf "%.<digits>g" (grids "%.5g", tables and the text report "%.4g").
std::string FormatSignificant(double value, int digits);

// "%.4g" of the result tables, the strength summary and the text report: 4 significant
// digits, trailing zeros dropped, fixed notation when the rounded value has at most 4 digits
// before the separator and a magnitude of at least 0.00001 ("0.00002424"), else exponent
// form as printf writes it ("1e+30"); a negative zero is written 0.
std::string FormatResult(double value);

// printf "%<width>.<decimals>f" (result tables "%3.3f", the ".qin" fields "%13.6f").
std::string FormatFixed(double value, int decimals, int width = 0);

// The whole text must be one number; otherwise a conversion error naming the text.
double ParseDouble(const std::string& text);
std::int32_t ParseInteger(const std::string& text);

// The error of a text that is not a number (the platform's conversion error).
class EConvertError : public std::invalid_argument {
 public:
  using std::invalid_argument::invalid_argument;
};
