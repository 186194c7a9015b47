#include "InputChecksUnit.h"

#include <cmath>

#include "NumberFormatUnit.h"

std::string CheckDimension(double value) {
  return value > 0 ? std::string() : "размер должен быть больше нуля, расчёт его не примет";
}

std::string CheckBore(double inner, double outer) {
  if (inner < 0) return "внутренний диаметр не может быть отрицательным";
  if (inner >= outer) return "внутренний диаметр должен быть меньше наружного";
  return {};
}

std::string CheckJournalRadius(double radius, double journalDiameter) {
  if (radius < 0) return "радиус не может быть отрицательным";
  if (radius >= journalDiameter / 2) return "радиус должен быть меньше радиуса шейки";
  return {};
}

std::string CheckPinLength(double L0, double L5, double RgalK, double B) {
  if (L0 - 2 * (L5 + RgalK + B) > 0) return {};
  return "колено короче, чем 2·(L5 + RgalK + B): шатунной шейке не остаётся длины";
}

std::string CheckRodLength(double rodLength, double crankRadius, double dezax) {
  if (rodLength > crankRadius + std::fabs(dezax)) return {};
  return "шатун должен быть длиннее суммы радиуса кривошипа (R = " + FormatGeneral(crankRadius) +
         " м) и дезаксиала (a = " + FormatGeneral(dezax) + " м)";
}

std::string CheckCompliance(double value) {
  return value > 0 ? std::string() : "податливость должна быть больше нуля, иначе опора не имеет конечной жёсткости";
}

std::string CheckNonNegative(double value) {
  return value >= 0 ? std::string() : "значение не может быть отрицательным";
}

std::string WarningText(const std::string& field, double value, const std::string& unit, const std::string& reason) {
  std::string text = field + " = " + FormatGeneral(value);
  if (!unit.empty()) text += " " + unit;
  return text + ": " + reason;
}
