#include "ResultViewsUnit.h"

#include "CombTableFormUnit.h"
#include "FormsFormUnit.h"
#include "MDIChildWinUnit.h"
#include "OmegaFormUnit.h"
#include "OscillCalcUnit.h"
#include "PlotGraphUnit.h"
#include "ProjectCalcUnit.h"
#include "SaveToFileDlgUnit.h"
#include "TableResultsFormUnit.h"
#include "VDFormUnit.h"

void RegisterResultViews(TShellShared& shared, QWidget* owner) {
  auto* graphs = new TPlotGraphForm(owner);
  auto* tables = new TTableResultsForm(owner);
  auto* export_ = new TSaveToFileDlg(owner);
  auto* summary = new TCombTableForm(owner);
  shared.RunViews["Графическое представление"] = [graphs](TMDIChildWin& window, TDynamicCalcStruct& run) {
    graphs->ShowResults(window.EngineData(), run);
  };
  shared.RunViews["Табличное представление"] = [tables](TMDIChildWin& window, TDynamicCalcStruct& run) {
    tables->ShowResults(window.EngineData(), run);
  };
  shared.RunViews["Вывод в файлы и на печать"] = [export_](TMDIChildWin& window, TDynamicCalcStruct& run) {
    export_->ShowResults(window.EngineData(), run, window.Project().Results, window.IsNew ? QString() : window.FileName);
  };
  auto* omega = new TOmegaForm(owner);
  auto* vectors = new TVDForm(owner);
  auto* modes = new TFormsForm(owner);
  shared.ProjectViews["Режимы, напряжения"] = [omega](TMDIChildWin& window) {
    omega->ShowResults(window.EngineData(), *window.Project().OscillCalc);
  };
  shared.ProjectViews["Фазовые диаграммы"] = [vectors](TMDIChildWin& window) {
    vectors->ShowResults(window.EngineData(), *window.Project().OscillCalc);
  };
  shared.ProjectViews["Формы колебаний"] = [modes](TMDIChildWin& window) {
    modes->ShowResults(window.EngineData(), *window.Project().OscillCalc);
  };
  shared.ProjectViews["Общее заключение по прочности"] = [summary](TMDIChildWin& window) {
    summary->ShowResults(window.EngineData(), window.Project().Results);
  };
}
