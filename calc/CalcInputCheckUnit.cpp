#include "CalcInputCheckUnit.h"

#include <cmath>
#include <tuple>
#include <utility>

#include "NumberFormatUnit.h"

namespace {

[[noreturn]] void refuse(const std::string& message) { throw EVexaInputError(message); }

// "<caption> должен быть положительным (задано 0 м)"; the grammatical gender follows the caption.
void requirePositive(double value, const std::string& caption, const std::string& unit, const char* mustBe) {
  if (!(value > 0 && std::isfinite(value)))
    refuse(caption + " " + mustBe + " (задано " + ShownValue(value, unit) + ")");
}

void requireNonNegative(double value, const std::string& caption, const std::string& unit) {
  if (!(value >= 0 && std::isfinite(value)))
    refuse(caption + " не может быть отрицательным (задано " + ShownValue(value, unit) + ")");
}

void requireFinite(double value, const std::string& caption, const std::string& unit) {
  if (!std::isfinite(value)) refuse(caption + ": задано " + ShownValue(value, unit));
}

// No crankshaft throw is larger; far beyond, the frame's stiffnesses differ by so many decades
// that its solution fails without a word about the cause.
constexpr double LargestLengthM = 10;

void requireAtMost(double value, double limit, const std::string& caption, const std::string& unit) {
  if (value > limit)
    refuse(caption + ": допустимо не больше " + ShownValue(limit, unit) + " (задано " + ShownValue(value, unit) + ")");
}

constexpr const char* Masculine = "должен быть положительным";
constexpr const char* Feminine = "должна быть положительной";
constexpr const char* Neuter = "должно быть положительным";

}  // namespace

std::string ShownValue(double value, const std::string& unit) {
  if (std::isnan(value)) return "не число";
  if (std::isinf(value)) return value > 0 ? "бесконечность" : "минус бесконечность";
  return FormatGeneral(value) + (unit.empty() ? "" : " " + unit);
}

void CheckGeometryInputs(const TEngineDataStruct& d) {
  requirePositive(d.N, "Частота вращения вала", "об/мин", Feminine);
  requirePositive(d.D, "Диаметр цилиндра (D)", "м", Masculine);
  requirePositive(d.R, "Радиус кривошипа (R)", "м", Masculine);
  requirePositive(d.L0, "Длина колена (L0)", "м", Feminine);
  requirePositive(d.DkSh, "Наружный диаметр коренной шейки (DkSh)", "м", Masculine);
  requirePositive(d.DsSh, "Наружный диаметр шатунной шейки (DsSh)", "м", Masculine);
  requireNonNegative(d.DkSb, "Внутренний диаметр коренной шейки (DkSb)", "м");
  requireNonNegative(d.DsSb, "Внутренний диаметр шатунной шейки (DsSb)", "м");
  if (d.DkSb >= d.DkSh)
    refuse("Внутренний диаметр коренной шейки (DkSb) должен быть меньше наружного (задано " + ShownValue(d.DkSb, "м") +
           " при DkSh = " + ShownValue(d.DkSh, "м") + ")");
  if (d.DsSb >= d.DsSh)
    refuse("Внутренний диаметр шатунной шейки (DsSb) должен быть меньше наружного (задано " + ShownValue(d.DsSb, "м") +
           " при DsSh = " + ShownValue(d.DsSh, "м") + ")");
  requirePositive(d.H, "Ширина щеки (H)", "м", Feminine);
  requirePositive(d.B, "Толщина щеки (B)", "м", Feminine);
  requireNonNegative(d.L5, "Расстояние до галтели щеки (L5)", "м");
  requireNonNegative(d.RgalK, "Радиус галтели КШ (RgalK)", "м");
  requireNonNegative(d.RgalS, "Радиус галтели ШШ (RgalS)", "м");
  requirePositive(d.L6, "Смещение оси противовеса (L6)", "м", Neuter);
  requirePositive(d.CoeffH, "Коэффициент cH", "", Masculine);
  requirePositive(d.CoeffB, "Коэффициент cB", "", Masculine);
  requireAtMost(d.CoeffH, 45, "Коэффициент cH", "");
  requireAtMost(d.CoeffB, 45, "Коэффициент cB", "");
  for (const auto& [value, caption] :
       {std::pair{d.D, "Диаметр цилиндра (D)"}, std::pair{d.R, "Радиус кривошипа (R)"},
        std::pair{d.L0, "Длина колена (L0)"}, std::pair{d.DkSh, "Наружный диаметр коренной шейки (DkSh)"},
        std::pair{d.DsSh, "Наружный диаметр шатунной шейки (DsSh)"}, std::pair{d.H, "Ширина щеки (H)"},
        std::pair{d.B, "Толщина щеки (B)"}, std::pair{d.L5, "Расстояние до галтели щеки (L5)"},
        std::pair{d.L6, "Смещение оси противовеса (L6)"}, std::pair{d.RgalK, "Радиус галтели КШ (RgalK)"},
        std::pair{d.RgalS, "Радиус галтели ШШ (RgalS)"}})
    requireAtMost(value, LargestLengthM, caption, "м");
  requireFinite(d.E, "Эксцентриситет облегч. отв. (E)", "м");
  requireNonNegative(d.RMaslK, "Радиус масл. отв. в КШ (RMaslK)", "м");
  requireNonNegative(d.RMaslS, "Радиус масл. отв. в ШШ (RMaslS)", "м");
  if (!(d.PinLength() > 0))
    refuse("Длина колена (L0) слишком мала: на шатунную шейку не остаётся места, L0 − 2·(L5 + RgalK + B) = " +
           ShownValue(d.PinLength(), "м"));

  // With an offset a the piston's dead centres exist only while |a| < l − R.
  requireFinite(d.Dezax, "Дезаксиал (a)", "м");
  for (int r = 1; r <= d.NRad; ++r) {
    const std::string caption = "Длина шатуна l ряда " + std::to_string(r);
    requirePositive(d.ConRodL[r], caption, "м", Feminine);
    if (d.ConRodL[r] <= d.R + std::fabs(d.Dezax))
      refuse(caption + " должна быть больше суммы радиуса кривошипа R и дезаксиала a (задано l = " +
             ShownValue(d.ConRodL[r], "м") + ", R = " + ShownValue(d.R, "м") + ", a = " + ShownValue(d.Dezax, "м") + ")");
    requireFinite(d.ConRodGamma1[r], "Угол gamma1 ряда " + std::to_string(r), "рад");
    requireFinite(d.ConRodR1[r], "Радиус r1 ряда " + std::to_string(r), "м");
  }
}

void CheckCalcInputs(const TEngineDataStruct& d) {
  CheckGeometryInputs(d);
  for (int j = 1; j <= d.NSupports(); ++j) {
    const std::string support = "Податливость опоры " + std::to_string(j) + " ";
    requirePositive(d.Py[j], support + "Py", "м/Н", Feminine);
    requirePositive(d.Px[j], support + "Px", "м/Н", Feminine);
    requirePositive(d.Pmy[j], support + "Pmy", "рад/(Н·м)", Feminine);
    requirePositive(d.Pmx[j], support + "Pmx", "рад/(Н·м)", Feminine);
  }
  // Set by the concentration coefficients (or by hand on their page); a new project has none yet.
  requirePositive(d.WebTorsionCoef, "Коэффициент кручения сечения щеки (WebTorsionCoef)", "", Masculine);
  for (int r = 1; r <= d.NRad; ++r) {
    requireFinite(d.Mpd[r], "Масса поступательно движущихся частей ряда " + std::to_string(r), "кг/м²");
    requireFinite(d.M2[r], "Вращающаяся масса шатуна ряда " + std::to_string(r), "кг/м²");
  }
  for (int w = 1; w <= d.NWebs(); ++w) {
    const std::string web = " щеки " + std::to_string(w);
    for (const auto& [value, caption, unit] :
         {std::tuple{d.Msh[w], "Масса", "кг"}, std::tuple{d.Rsh[w], "Радиус центра масс", "м"},
          std::tuple{d.Mpr[w], "Масса противовеса", "кг"}, std::tuple{d.Rpr[w], "Радиус противовеса", "м"},
          std::tuple{d.AlphaPr[w], "Угол противовеса", "рад"}})
      requireFinite(value, caption + web, unit);
  }

  // A damaged material database leaves the project with an empty or partial record.
  const TSteelElem& steel = d.ValSteel;
  const std::string material = "Материал вала \"" +
                               (steel.SteelName.empty() ? std::string("(без названия)") : steel.SteelName) +
                               "\" не годится для расчёта (страница \"Свойства материалов\"): ";
  for (const auto& [value, caption, unit] :
       {std::tuple{steel.E, "модуль упругости E", "МПа"}, std::tuple{steel.Ro, "плотность Ro", "кг/м³"},
        std::tuple{steel.SgmV, "предел прочности σв", "МПа"}, std::tuple{steel.SgmT, "предел текучести σт", "МПа"},
        std::tuple{steel.Sgm_1, "предел усталости при изгибе σ-1", "МПа"},
        std::tuple{steel.Tau_1, "предел усталости при кручении τ-1", "МПа"}})
    if (!(value > 0 && std::isfinite(value)))
      refuse(material + std::string(caption) + " должен быть положительным (задано " + ShownValue(value, unit) + ")");
  if (!(steel.Mu > -1 && steel.Mu <= 0.5))
    refuse(material + "коэффициент Пуассона Mu должен лежать между −1 и 0.5 (задано " + ShownValue(steel.Mu, "") + ")");
}
