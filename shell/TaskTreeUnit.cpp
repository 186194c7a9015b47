#include "TaskTreeUnit.h"

#include <iterator>

#include "EngineDataStructUnit.h"

namespace {

const TTaskItem Items[] = {
    {0, "Исходные данные", 3, TTaskKind::Group},
    {1, "Общая информация", 41, TTaskKind::InputPage},
    {1, "Компоновочная схема", 14, TTaskKind::InputPage},
    {2, "Отключение цилиндров", 69, TTaskKind::InputPage},
    {1, "Свойства материалов", 65, TTaskKind::InputPage},
    {1, "Массы и противовесы", 64, TTaskKind::InputPage},
    {1, "Податливость опор", 70, TTaskKind::InputPage},
    {1, "Геометрия колена", 15, TTaskKind::InputPage},
    {1, "Коэффициенты концентрации", 60, TTaskKind::InputPage},
    {1, "Рабочий процесс", 68, TTaskKind::InputPage},
    {1, "Данные для расчёта крутильных колебаний", 61, TTaskKind::TorsionPage},
    {0, "Результаты расчёта", 5, TTaskKind::Group},
    {1, "Результаты расчёта коленчатого вала на прочность на расчётном режиме", 66, TTaskKind::Group},
    {2, "Графическое представление", 63, TTaskKind::DesignRunView},
    {2, "Табличное представление", 12, TTaskKind::DesignRunView},
    {2, "Вывод в файлы и на печать", 67, TTaskKind::DesignRunView},
    {1, "Результаты расчёта крутильных колебаний", 61, TTaskKind::Group},
    {2, "Режимы, напряжения", 0, TTaskKind::TorsionView},
    {2, "Фазовые диаграммы", 0, TTaskKind::TorsionView},
    {2, "Формы колебаний", 0, TTaskKind::TorsionView},
    {1, "Результаты расчёта коленчатого вала на прочность на резонансных режимах", 66, TTaskKind::Group},
    {2, "Графическое представление ", 63, TTaskKind::ResonanceView},
    {2, "Табличное представление ", 12, TTaskKind::ResonanceView},
    {2, "Вывод в файлы и на печать ", 67, TTaskKind::ResonanceView},
    {1, "Общее заключение по прочности", 0, TTaskKind::Summary},
};

const QString NoTorsion = "Расчёт крутильных колебаний не выбран на странице \"Общая информация\"";
const QString NoCombined =
    "Расчёт на прочность на резонансных режимах не выбран на странице \"Общая информация\"";

}  // namespace

const TTaskItem* TaskItems() { return Items; }
int TaskItemCount() { return static_cast<int>(std::size(Items)); }

QString MissingRequirement(TTaskKind kind, const TEngineDataStruct& data, int runs, int frequencies) {
  switch (kind) {
    case TTaskKind::Group:
    case TTaskKind::InputPage:
      return {};
    case TTaskKind::TorsionPage:
      return data.CalcOscillFlag ? QString() : NoTorsion;
    case TTaskKind::DesignRunView:
      return runs >= 1 ? QString() : "Сначала необходимо выполнить расчёт (F3)";
    case TTaskKind::TorsionView:
      if (!data.CalcOscillFlag) return NoTorsion;
      return frequencies >= 1 ? QString() : "Сначала необходимо выполнить расчёт крутильных колебаний (F3)";
    case TTaskKind::ResonanceView:
    case TTaskKind::Summary:
      if (!data.CalcCombFlag) return NoCombined;
      return runs >= 2 ? QString() : "Сначала необходимо выполнить расчёт на резонансных режимах (F3)";
  }
  return {};
}
