#include "QinuReportUnit.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <stdexcept>

namespace qinu {

namespace {

constexpr double kMPa = 1e6;

// printf into a std::string; the program never changes the C locale, so "." is the
// decimal separator.
std::string Format(const char* format, ...) {
  va_list args;
  va_start(args, format);
  char buffer[512];
  const int length = std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  return std::string(buffer, length < 0 ? 0 : std::min<std::size_t>(length, sizeof buffer - 1));
}

// The text widened with blanks to width characters (not bytes: the report is UTF-8 and its
// words are Russian).
std::string PadRight(const std::string& text, std::size_t width) {
  const auto characters =
      static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
  return characters >= width ? text : text + std::string(width - characters, ' ');
}

std::string Row(const char* name, double value, const char* unit, const char* meaning) {
  return Format("  %-10s %14.6g  ", name, value) + PadRight(unit, 9) + " " + meaning + "\n";
}

std::string ChoiceRow(const char* name, const char* choice, const char* meaning) {
  // The choice takes the value and unit columns of a number.
  return Format("  %-10s ", name) + PadRight(choice, 25) + " " + meaning + "\n";
}

std::string Figure(const char* meaning, const std::string& value) {
  return "  " + PadRight(meaning, 52) + " " + value + "\n";
}

const char* ChoiceText(int value, std::initializer_list<const char*> texts) {
  int i = 0;
  for (const char* text : texts)
    if (i++ == value) return text;
  return "?";
}

}  // namespace

std::string FormatDiagram(const TCycleResult& result) {
  std::string text = Format("%8s%16s%8s%10s%9s%12s%12s%11s\n", "fi,deg", "V,dm3", "p,MPa", "T,K",
                            "x", "dQ,J/deg", "dQw,J/deg", "m,g");
  for (const TDiagramPoint& d : result.Diagram) {
    const double pressure = d.Pressure / kMPa;
    if (!(pressure >= 0 && pressure < 999.99995))
      throw std::runtime_error("давление в цилиндре " + std::to_string(pressure) +
                               " МПа не помещается в формат диаграммы");
    text += Format("%8.1f%16.6f%8.4f%10.1f%9.5f%12.3f%12.3f%11.5f\n", d.Angle, d.Volume * 1e3,
                   pressure, d.Temperature, d.Burned, d.HeatRelease, d.WallHeat, d.Mass * 1e3);
  }
  return text;
}

std::string FormatReport(const TQinInput& in, const TCycleResult& r, const std::string& inputName) {
  std::string t;
  t += "QINU - рабочий процесс двигателя\n";
  t += "Исходные данные: " + inputName + "\n\n";

  t += "ИСХОДНЫЕ ДАННЫЕ\n";
  t += Row("D", in.D, "м", "диаметр цилиндра");
  t += Row("S", in.S, "м", "ход поршня");
  t += Row("E", in.E, "-", "степень сжатия");
  t += Row("Lam", in.Lam, "-", "отношение радиуса кривошипа к длине шатуна R/L");
  t += Row("N", in.N, "об/мин", "частота вращения вала");
  t += Row("PDP", in.PDP, "град", "угол заклинки валов (схема с ПДП)");
  t += Row("Q", in.Q, "-", "число цилиндров");
  t += Row("EM", in.EM, "-", "условный механический КПД");
  t += Row("KK", in.KK, "-", "КПД компрессора");
  t += Row("KT", in.KT, "-", "КПД турбины");
  t += Row("PK", in.PK, "МПа", "давление наддува");
  t += Row("DP", in.DP, "МПа", "потери давления во впускном тракте");
  t += Row("TK", in.TK, "К", "температура наддувочного воздуха");
  t += Row("P0", in.P0, "МПа", "давление окружающей среды");
  t += Row("T0", in.T0, "К", "температура окружающей среды");
  t += Row("PT", in.PT, "МПа", "давление перед турбиной");
  t += Row("PZT", in.PZT, "МПа", "давление за турбиной");
  t += Row("B1", in.B1, "град", "угол начала выпуска");
  t += Row("B12", in.B12, "град", "угол конца открытия выпускных органов");
  t += Row("B13", in.B13, "град", "угол начала закрытия выпускных органов");
  t += Row("B2", in.B2, "град", "угол закрытия выпускных органов");
  t += Row("FB", in.FB, "м2", "максимальное эффективное сечение выпускных органов");
  t += Row("H1", in.H1, "град", "угол начала впуска");
  t += Row("H12", in.H12, "град", "угол конца открытия впускных органов");
  t += Row("H13", in.H13, "град", "угол начала закрытия впускных органов");
  t += Row("H2", in.H2, "град", "угол закрытия впускных органов");
  t += Row("FH", in.FH, "м2", "максимальное эффективное сечение впускных органов");
  t += Row("BPer", in.BPer, "-", "параметр перемешивания");
  t += Row("Hu", in.Hu, "кДж/кг", "низшая удельная теплота сгорания топлива");
  t += Row("QC", in.QC, "кг", "цикловая подача топлива на цилиндр");
  t += Row("ALFF", in.ALFF, "-", "коэффициент избытка воздуха по данным");
  t += Row("FOPT", in.FOPT, "град", "угол опережения впрыска");
  t += Row("FOPZ", in.FOPZ, "град", "угол опережения зажигания");
  t += Row("Fz", in.Fz, "град", "продолжительность горения");
  t += Row("XT", in.XT, "-", "доля топлива, сгорающая по кинетическому механизму");
  t += Row("FCT", in.FCT, "град", "угол максимальной скорости кинетического сгорания после начала");
  t += Row("MT", in.MT, "-", "показатель кинетического сгорания (Вибе)");
  t += Row("MW", in.MW, "-", "показатель диффузионного сгорания (Вибе)");
  t += Row("TPOR", in.TPOR, "°C", "средняя температура поршня");
  t += Row("Tkr", in.Tkr, "°C", "средняя температура крышки");
  t += Row("TWT", in.TWT, "°C", "средняя температура гильзы");
  t += Row("OFPK", in.OFPK, "-", "отношение площади поршня к площади крышки");
  t += Row("ALFE", in.ALFE, "-", "отношение наибольшего коэффициента теплоотдачи к среднему");
  t += Row("ALFR", in.ALFR, "-", "относительный радиус наибольшего коэффициента теплоотдачи");
  t += Row("CG", in.CG, "-", "поправочный множитель в формуле Вошни");
  t += Row("Cu", in.Cu, "м/с", "окружная скорость вихря");
  t += Row("C2", in.C2, "м/(с·К)", "коэффициент C2 в формуле Вошни");
  t += Row("Vkam", in.Vkam, "см3", "объём отделённой камеры");
  t += Row("MFk", in.MFk, "см2", "эффективное сечение канала");
  t += ChoiceRow("TOFormula", ChoiceText(in.TOFormula, {"Вошни", "Гогенберга", "alpha=f(Tст)"}), "формула теплообмена");
  t += ChoiceRow("Vp", ChoiceText(in.Vp, {"клапаны", "окна"}), "впускные органы");
  t += ChoiceRow("Vyp", ChoiceText(in.Vyp, {"клапаны", "окна"}), "выпускные органы");
  t += ChoiceRow("V", ChoiceText(in.V, {"без наддува", "свободный турбокомпрессор", "силовая турбина"}),
                 "схема воздухоснабжения");
  t += ChoiceRow("EngineType", ChoiceText(in.EngineType, {"дизель", "иск. зажигание"}), "тип двигателя");

  t += "\nМОДЕЛЬ\n";
  t += "  Однозонная модель цикла; воздух и продукты сгорания с cp(T) (полиномы NASA);\n"
       "  двойной закон тепловыделения Вибе; теплоотдача в стенки по формуле " +
       std::string(in.TOFormula == 1 ? "Гогенберга" : "Вошни") +
       ";\n  течение сжимаемого газа через впускные и выпускные органы; циклы повторяются,\n"
       "  пока состояние заряда не установится.\n";
  t += Format("  %s двигатель, цикл %.0f град; угол диаграммы = угол от в.м.т. сгорания + %.0f град.\n",
              r.TwoStroke ? "Двухтактный" : "Четырёхтактный", r.PeriodDeg, r.DiagramShiftDeg);
  for (const std::string& note : r.Notes) t += "  * " + note + "\n";

  t += "\nРЕЗУЛЬТАТЫ\n";
  t += Figure("Циклов до установления", Format("%d%s", r.Cycles, r.Converged ? "" : " (не установилось)"));
  t += Figure("Рабочий объём, дм3", Format("%.4f", r.SweptVolume * 1e3));
  t += Figure("Впускной ресивер: давление МПа, температура К",
              Format("%.4f, %.1f", r.IntakePressure / kMPa, r.IntakeTemperature));
  t += Figure("Давление в выпускном коллекторе, МПа", Format("%.4f", r.ExhaustPressure / kMPa));
  t += Figure("Заряд заперт при угле, град от в.м.т. сгорания", Format("%.1f", r.TrapAngle));
  t += Figure("Масса заряда, г", Format("%.4f", r.TrappedMass * 1e3));
  t += Figure("Давление заряда МПа, температура К",
              Format("%.4f, %.1f", r.TrappedPressure / kMPa, r.TrappedTemperature));
  t += Figure("Коэффициент остаточных газов", Format("%.4f", r.ResidualFraction));
  t += Figure("Доля продуктов сгорания в заряде", Format("%.4f", r.ProductsFraction));
  t += Figure("Коэффициент наполнения по плотности на впуске", Format("%.4f", r.VolumetricEfficiency));
  t += Figure("Теоретическое количество воздуха L0, кг/кг", Format("%.3f", r.StoichiometricAir));
  if (r.Fuel > 0) {
    t += Figure("Коэффициент избытка воздуха alpha", Format("%.3f", r.ExcessAir));
    t += Figure("Отношение воздух/топливо, кг/кг", Format("%.2f", r.AirFuelRatio));
    t += Figure("Горение от ... до, град от в.м.т. сгорания",
                Format("%.1f ... %.1f", r.CombustionStart, r.CombustionEnd));
    t += Figure("Энергия топлива QC x Hu, Дж", Format("%.1f", r.FuelEnergy));
    t += Figure("Выделившаяся теплота (сгоревшее топливо x Hu), Дж", Format("%.1f", r.HeatReleased));
  }
  t += Figure("Наибольшее давление, МПа", Format("%.4f", r.PeakPressure / kMPa));
  t += Figure("  при угле диаграммы, град", Format("%.2f (%.2f от в.м.т. сгорания)", r.PeakPressureAngle,
                                                   r.PeakPressureAngle - r.DiagramShiftDeg));
  t += Figure("Наибольшая скорость нарастания давления, МПа/град", Format("%.4f", r.MaxPressureRise / kMPa));
  t += Figure("  при угле диаграммы, град", Format("%.2f", r.MaxPressureRiseAngle));
  t += Figure("Наибольшая температура, К", Format("%.1f", r.PeakTemperature));
  t += Figure("  при угле диаграммы, град", Format("%.2f", r.PeakTemperatureAngle));
  t += Figure("Средняя температура выпускных газов, К", Format("%.1f", r.ExhaustTemperature));
  t += Figure("Индикаторная работа цикла (нетто), Дж", Format("%.1f", r.IndicatedWork));
  t += Figure("Среднее индикаторное давление (нетто), МПа", Format("%.4f", r.Imep / kMPa));
  t += Figure("  брутто (сжатие и расширение), МПа", Format("%.4f", r.GrossImep / kMPa));
  t += Figure("  насосных ходов, МПа", Format("%.4f", r.PumpingMep / kMPa));
  if (r.Fuel > 0) {
    t += Figure("Индикаторный КПД", Format("%.4f", r.IndicatedEfficiency));
    if (r.SpecificFuelConsumption > 0)
      t += Figure("Индикаторный удельный расход топлива, г/(кВт·ч)",
                  Format("%.1f", r.SpecificFuelConsumption));
  }
  t += Figure("Индикаторная мощность цилиндра, кВт", Format("%.2f", r.IndicatedPower / 1e3));
  if (in.Q > 0) {
    t += Figure("Индикаторная мощность двигателя, кВт", Format("%.1f", r.IndicatedPower * in.Q / 1e3));
    if (r.IndicatedPower > 0)
      t += Figure("Эффективная мощность с EM, кВт", Format("%.1f", r.IndicatedPower * in.Q * in.EM / 1e3));
  }
  t += Figure("Теплота, отданная в стенки за цикл, Дж", Format("%.1f", r.WallHeat));
  t += Figure("  поршень, крышка, гильза, Дж",
              Format("%.1f, %.1f, %.1f", r.WallHeatPiston, r.WallHeatHead, r.WallHeatLiner));
  if (r.FuelEnergy > 0)
    t += Figure("  доля от энергии топлива", Format("%.4f", r.WallHeat / r.FuelEnergy));
  t += "\nИндикаторная диаграмма содержит " + std::to_string(r.Diagram.size()) +
       " точек с шагом 1 град.\n";
  return t;
}

std::string FormatFailureReport(const std::string& inputName, const std::string& message) {
  return "QINU - рабочий процесс двигателя\n"
         "Исходные данные: " + inputName + "\n\n"
         "ОШИБКА: " + message + "\n\n"
         "Расчёт не выполнен; индикаторная диаграмма не записана.\n";
}

}  // namespace qinu
