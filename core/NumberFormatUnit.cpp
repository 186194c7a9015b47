#include "NumberFormatUnit.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <system_error>

namespace {

std::string nonFinite(double value) {
  if (std::isnan(value)) return "NAN";
  return value < 0 ? "-INF" : "INF";
}

std::string trim(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return {};
  const auto last = text.find_last_not_of(" \t\r\n");
  return text.substr(first, last - first + 1);
}

}  // namespace

std::string FormatGeneral(double value) {
  if (!std::isfinite(value)) return nonFinite(value);
  if (value == 0) return "0";
  constexpr int Precision = 15;
  char buf[64];
  // d.ddddddddddddddde±XX: the 15 significant digits and the decimal exponent after rounding.
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, Precision - 1);
  std::string text(buf, end);
  const bool negative = text[0] == '-';
  if (negative) text.erase(0, 1);
  const auto ePos = text.find('e');
  const int exponent = std::atoi(text.c_str() + ePos + 1);
  std::string digits = text.substr(0, 1) + text.substr(2, ePos - 2);
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

  std::string out = negative ? "-" : "";
  if (std::fabs(value) < 0.00001 || exponent >= Precision) {
    out += digits.substr(0, 1);
    if (digits.size() > 1) out += "." + digits.substr(1);
    out += "E" + std::to_string(exponent);
  } else if (exponent < 0) {
    out += "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
  } else {
    const auto intDigits = static_cast<std::size_t>(exponent + 1);
    if (digits.size() <= intDigits) {
      out += digits + std::string(intDigits - digits.size(), '0');
    } else {
      out += digits.substr(0, intDigits) + "." + digits.substr(intDigits);
    }
  }
  return out;
}

std::string FormatSignificant(double value, int digits) {
  if (!std::isfinite(value)) return nonFinite(value);
  char buf[64];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, digits);
  return std::string(buf, end);
}

std::string FormatResult(double value) {
  constexpr int Digits = 4, SmallestFixedExponent = -5;
  if (!std::isfinite(value)) return nonFinite(value);
  if (value == 0) return "0";
  // The decimal exponent after rounding to 4 digits decides the notation, as in printf.
  char buf[64];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, Digits - 1);
  const std::string scientific(buf, end);
  const int exponent = std::atoi(scientific.c_str() + scientific.find('e') + 1);
  if (exponent < SmallestFixedExponent || exponent >= Digits) return FormatSignificant(value, Digits);
  std::string text = FormatFixed(value, Digits - 1 - exponent);
  if (text.find('.') != std::string::npos) {
    text.erase(text.find_last_not_of('0') + 1);
    if (text.back() == '.') text.pop_back();
  }
  return text;
}

std::string FormatFixed(double value, int decimals, int width) {
  std::string text;
  if (!std::isfinite(value)) {
    text = nonFinite(value);
  } else {
    char buf[400];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    text.assign(buf, end);
  }
  if (static_cast<int>(text.size()) < width)
    text.insert(0, static_cast<std::size_t>(width) - text.size(), ' ');
  return text;
}

double ParseDouble(const std::string& text) {
  const std::string t = trim(text);
  const char* first = t.data();
  const char* last = t.data() + t.size();
  if (first != last && *first == '+') ++first;
  double value = 0;
  auto [ptr, ec] = std::from_chars(first, last, value);
  if (t.empty() || ec != std::errc() || ptr != last)
    throw EConvertError("«" + text + "» не является числом");
  return value;
}

std::int32_t ParseInteger(const std::string& text) {
  const std::string t = trim(text);
  const char* first = t.data();
  const char* last = t.data() + t.size();
  if (first != last && *first == '+') ++first;
  std::int32_t value = 0;
  auto [ptr, ec] = std::from_chars(first, last, value);
  if (t.empty() || ec != std::errc() || ptr != last)
    throw EConvertError("«" + text + "» не является целым числом");
  return value;
}
