#include "QinDataDlgUnit.h"

#include <cmath>

#include <QButtonGroup>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QPushButton>
#include <QRegularExpression>
#include <QRadioButton>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QToolButton>
#include <QValueAxis>
#include <QVBoxLayout>

#include "ControlExchangeUnit.h"
#include "DataExchangeUnit.h"
#include "EVexaErrorUnit.h"
#include "EngineDataStructUnit.h"
#include "IndicatorDiagramUnit.h"
#include "InputCheckUnit.h"
#include "NumberFormatUnit.h"
#include "UserDialogsUnit.h"

namespace {

const char* const QinFilter = "Файлы Qin (*.qin *.dat)";
const char* const DiagramFilter = "Все файлы индикаторных диаграмм (*.dia);;Файлы Qin (*.dia);;Все файлы (*.*)";
const char* const DiagramWarning =
    "Выбран ввод индикаторной диаграммы из файла. Обратите внимание:\n1. Многорежимный расчёт двигателя с учётом "
    "крутильных колебаний буден невозможен.\n2. Файл индикаторной диаграммы нельзя перемещать из указанного каталога.";

QString notANumber(const EFieldConvertError& error) {
  return QString("Поле \"%1\": \"%2\" не является числом.").arg(FieldName(error.Control), error.Text);
}

struct TParamText {
  const char* Name;
  double TQinDataStruct::*Value;
  const char* Label;
};

// The parameters in the page's order with their labels; the first four are taken from the project.
const TParamText ParamTexts[] = {
    {"Q", &TQinDataStruct::Q, "Число цилиндров:"},
    {"D", &TQinDataStruct::D, "Диаметр цилиндра, м:"},
    {"S", &TQinDataStruct::S, "Ход поршня, м:"},
    {"Lam", &TQinDataStruct::Lam, "Отношение R/L:"},
    {"E", &TQinDataStruct::E, "Степень сжатия:"},
    {"N", &TQinDataStruct::N, "Частота вращения вала, об/мин:"},
    {"EM", &TQinDataStruct::EM, "Условный механический КПД:"},
    {"KK", &TQinDataStruct::KK, "КПД компрессора:"},
    {"KT", &TQinDataStruct::KT, "КПД турбины:"},
    {"PK", &TQinDataStruct::PK, "Давление наддува, МПа:"},
    {"DP", &TQinDataStruct::DP, "Потери давления, МПа:"},
    {"TK", &TQinDataStruct::TK, "Температура воздуха, К:"},
    {"P0", &TQinDataStruct::P0, "Давление окружающей среды, МПа:"},
    {"T0", &TQinDataStruct::T0, "Температура окружающей среды, К:"},
    {"PT", &TQinDataStruct::PT, "Давление перед турбиной, МПа:"},
    {"PZT", &TQinDataStruct::PZT, "Давление за турбиной, МПа:"},
    {"B1", &TQinDataStruct::B1, "Угол начала выпуска, град:"},
    {"B12", &TQinDataStruct::B12, "Угол конца открытия \nвыпускных органов, град:"},
    {"B13", &TQinDataStruct::B13, "Угол начала закрытия \nвыпускных органов, град:"},
    {"B2", &TQinDataStruct::B2, "Угол закрытия выпускных \nорганов, град:"},
    {"H1", &TQinDataStruct::H1, "Угол начала впуска, град:"},
    {"H12", &TQinDataStruct::H12, "Угол конца открытия \nвпускных органов, град:"},
    {"H13", &TQinDataStruct::H13, "Угол начала закрытия \nвпускных органов, град:"},
    {"H2", &TQinDataStruct::H2, "Угол закрытия впускных \nорганов, град:"},
    {"FB", &TQinDataStruct::FB, "Максимальное эффективное \nсечение выпускных органов, м2:"},
    {"FH", &TQinDataStruct::FH, "Максимальное эффективное \nсечение впускных органов, м2:"},
    {"BPer", &TQinDataStruct::BPer, "Параметр перемешивания:"},
    {"Hu", &TQinDataStruct::Hu, "Низшая удельная теплота \nсгорания топлива, МДж/кг:"},
    {"QC", &TQinDataStruct::QC, "Цикловая подача топлива, кг:"},
    {"ALFF", &TQinDataStruct::ALFF, "Коэффициент избытка воздуха:"},
    {"FOPT", &TQinDataStruct::FOPT, "Угол опережения впрыска, град:"},
    {"FOPZ", &TQinDataStruct::FOPZ, "Угол опережения зажигания, град:"},
    {"Fz", &TQinDataStruct::Fz, "Продолжительность горения, град:"},
    {"XT", &TQinDataStruct::XT, "Доля топлива, сгорающая по \nкинетическому механизму"},
    {"FCT", &TQinDataStruct::FCT, "Угол максимальной скорости \nкинетического сгорания, град:"},
    {"MT", &TQinDataStruct::MT, "Показатель кинетического сгорания:"},
    {"MW", &TQinDataStruct::MW, "Показатель диффузионного сгорания:"},
    {"TPOR", &TQinDataStruct::TPOR, "Средняя температура поршня, °C:"},
    {"Tkr", &TQinDataStruct::Tkr, "Средняя температура крышки, °C:"},
    {"TWT", &TQinDataStruct::TWT, "Средняя температура гильзы, °C:"},
    {"OFPK", &TQinDataStruct::OFPK, "Отношение площади поршня \nк площади крышки:"},
    {"ALFE", &TQinDataStruct::ALFE, "Отношение α<sub>max</sub> / α<sub>ср</sub>:"},
    {"ALFR", &TQinDataStruct::ALFR, "Относительный радиус α<sub>max</sub>:"},
    {"CG", &TQinDataStruct::CG, "Поправочный множитель \nв формуле Вошни:"},
    {"Cu", &TQinDataStruct::Cu, "Окружная скорость вихря, м/с:"},
    {"C2", &TQinDataStruct::C2, "Коэффициент C2\nв формуле Вошни:"},
    {"Vkam", &TQinDataStruct::Vkam, "Объём отделённой камеры, см3:"},
    {"MFk", &TQinDataStruct::MFk, "Эффективное сечение канала, cм2:"},
    {"PDP", &TQinDataStruct::PDP, "Угор заклинки валов \n(схема с ПДП), град:"},
};

QComboBox* choice(QGridLayout* grid, int row, int column, const QString& label, const char* name,
                  const QStringList& items) {
  auto* combo = new QComboBox;
  combo->setObjectName(name);
  combo->setAccessibleName(QString(label).remove(':'));
  combo->addItems(items);
  grid->addWidget(new QLabel(label), row, column);
  grid->addWidget(combo, row, column + 1);
  return combo;
}

}  // namespace

TQinDataForm::TQinDataForm(QWidget* parent) : TVexaBaseDlg("Данные Qin", parent) {
  HelpPage = "page-process.html";
  auto* layout = new QHBoxLayout(Content());
  auto* left = new QVBoxLayout;
  layout->addLayout(left, 3);

  auto* descrGroup = new QGroupBox("Описание двигателя");
  auto* descrLayout = new QHBoxLayout(descrGroup);
  Descr = new QLineEdit;
  Descr->setObjectName("Descr");
  Descr->setToolTip("Вводится по желанию пользователя для удобства идентификации файла");
  descrGroup->setEnabled(false);
  descrLayout->addWidget(Descr);
  left->addWidget(descrGroup);

  auto* sourceBox = new QGroupBox("Индикаторная диаграмма");
  sourceBox->setToolTip("Укажите, как будут получаться данные о процессе. При задании \"ИД из файла\" "
                        "многорежимный расчёт станет невозможен.");
  auto* sourceLayout = new QVBoxLayout(sourceBox);
  IDRadioGroup = new QButtonGroup(this);
  auto* fromProgram = new QRadioButton("Расчёт процесса по Qin");
  auto* fromFile = new QRadioButton("ИД из файла");
  fromProgram->setObjectName("IDFromProgram");
  fromFile->setObjectName("IDFromFile");
  IDRadioGroup->addButton(fromProgram, 0);
  IDRadioGroup->addButton(fromFile, 1);
  sourceLayout->addWidget(fromProgram);
  sourceLayout->addWidget(fromFile);
  auto* fileRow = new QHBoxLayout;
  IDFilenameEdit = new QLineEdit;
  IDFilenameEdit->setObjectName("IDFilenameEdit");
  IDFilenameEdit->setAccessibleName("Файл индикаторной диаграммы");
  IDFilenameEdit->setToolTip("Здесь нужно задать имся файла, сгенерированного программой расчёта рабочего процесса");
  IDFilenameBrowse = new QToolButton;
  IDFilenameBrowse->setText("…");
  fileRow->addWidget(IDFilenameEdit, 1);
  fileRow->addWidget(IDFilenameBrowse);
  sourceLayout->addLayout(fileRow);
  left->addWidget(sourceBox);

  SchemeGroup = new QGroupBox("Расчетная схема");
  auto* schemeGrid = new QGridLayout(SchemeGroup);
  EngineType = choice(schemeGrid, 0, 0, "Тип двигателя:", "EngineType", {" дизель", " карбюраторный"});
  Vp = choice(schemeGrid, 1, 0, "Впускные органы:", "Vp", {" клапана", " окна"});
  V = choice(schemeGrid, 2, 0, "Схема воздухоснабжения:", "V",
             {" без наддува", " свободный турбокомпрессор", " силовая турбина"});
  TOFormula = choice(schemeGrid, 0, 2, "Формула теплообмена:", "TOFormula", {" Вошни", " Гогенберга", " alpha = f(Tст)"});
  Vyp = choice(schemeGrid, 1, 2, "Выпускные органы:", "Vyp", {" клапана", " окна"});
  Tau = choice(schemeGrid, 2, 2, "Тактность:", "Tau", {" 4-х тактный", " 2-х тактный"});
  left->addWidget(SchemeGroup);

  ParamsGroup = new QGroupBox("Параметры двигателя");
  auto* paramsLayout = new QVBoxLayout(ParamsGroup);
  auto* scroll = new QScrollArea;
  scroll->setWidgetResizable(true);
  auto* panel = new QWidget;
  auto* grid = new QGridLayout(panel);
  const int perColumn = (static_cast<int>(std::size(ParamTexts)) + 1) / 2;
  for (int i = 0; i < static_cast<int>(std::size(ParamTexts)); ++i) {
    const TParamText& text = ParamTexts[i];
    auto* label = new QLabel(text.Label);
    auto* edit = new QLineEdit;
    edit->setObjectName(text.Name);
    edit->setAccessibleName(QString(text.Label).remove(QRegularExpression("<[^>]*>")).replace('\n', "").remove(':'));
    edit->setMaximumWidth(120);
    const int row = i % perColumn, column = 2 * (i / perColumn);
    grid->addWidget(label, row, column);
    grid->addWidget(edit, row, column + 1);
    if (i < 4) {
      // Bore, stroke, R/L and the number of cylinders come from the project.
      label->setEnabled(false);
      edit->setEnabled(false);
    }
    if (text.Value == &TQinDataStruct::FOPT) fopt_ = {label, edit};
    if (text.Value == &TQinDataStruct::FOPZ) fopz_ = {label, edit};
    params_.push_back({edit, text.Value});
    WatchChanges(edit);
    connect(edit, &QLineEdit::textChanged, this, [this] { checkInputs(); });
  }
  grid->setColumnMinimumWidth(2, 220);
  scroll->setWidget(panel);
  paramsLayout->addWidget(scroll);
  left->addWidget(ParamsGroup, 100);
  // Takes the height of the hidden groups when the diagram comes from a file.
  left->addStretch(1);

  auto* right = new QVBoxLayout;
  layout->addLayout(right, 2);
  DiagramChart = new QChartView;
  DiagramChart->setMinimumSize(420, 320);
  DiagramChart->setRenderHint(QPainter::Antialiasing);
  clearChart();
  right->addWidget(DiagramChart, 1);
  DiagramNote = new QLabel;
  DiagramNote->setWordWrap(true);
  right->addWidget(DiagramNote);
  DiagramButton = new QPushButton("Показать индикаторную диаграмму");
  DiagramButton->setObjectName("DiagramButton");
  DiagramButton->setToolTip("Строит диаграмму p(φ), по которой будет выполнен расчёт: из файла диаграммы или "
                            "расчётом рабочего процесса по значениям на странице");
  right->addWidget(DiagramButton, 0, Qt::AlignLeft);

  for (QComboBox* combo : {Vp, V, TOFormula, Vyp, Tau}) WatchChanges(combo);
  WatchChanges(IDFilenameEdit);
  connect(EngineType, &QComboBox::currentIndexChanged, this, [this] { EngineTypeChange(); });
  connect(IDRadioGroup, &QButtonGroup::idClicked, this, [this] { EngineTypeChange(); });
  connect(IDFilenameBrowse, &QToolButton::clicked, this, [this] { ChooseDiagramFile(); });
  connect(IDFilenameEdit, &QLineEdit::editingFinished, this, [this] {
    if (IDRadioGroup->checkedId() == 1) ShowDiagram();
  });
  connect(DiagramButton, &QPushButton::clicked, this, [this] { ShowDiagram(); });
  resize(1280, 760);
}

QString TQinDataForm::ProjectFolder() const { return property("projectFolder").toString(); }

QLineEdit* TQinDataForm::Field(const QString& name) const {
  for (const TParam& param : params_)
    if (param.Edit->objectName() == name) return param.Edit;
  return nullptr;
}

void TQinDataForm::InitDialog() {
  TVexaBaseDlg::InitDialog();
  PlaceButtons(true);
  ServButton1->setText("&Сохранить как");
  ServButton2->setText("&Загрузить");
  ServButton1->show();
  ServButton2->show();
  applyVisibility();
  clearChart();
  DiagramNote->clear();
  // A diagram file is read at once; the working-process program runs only on request.
  if (source_ == 1) ShowDiagram();
}

void TQinDataForm::ExchangeData(bool ToEngine) {
  TEngineDataStruct& engine = *Data;
  if (ToEngine) {
    engine.IDSource = source_;
    engine.IDFileName = fileName_;
    engine.Qin.Descr = qin_.Descr;
    for (std::size_t i = 0; i < 6; ++i) *engine.Qin.Choices()[i] = *qin_.Choices()[i];
    for (std::size_t i = 0; i < 48; ++i) *engine.Qin.StoredDoubles()[i] = *qin_.StoredDoubles()[i];
    engine.Qin.Q = qin_.Q;
    engine.N = qin_.N;
    return;
  }
  source_ = engine.IDSource;
  fileName_ = engine.IDFileName;
  try {
    engine.Qin.RefreshDerived(engine);
  } catch (const std::exception&) {
    // A geometry without a finite stroke keeps the derived values it had; the geometry page marks it.
  }
  qin_ = engine.Qin;
}

void TQinDataForm::DoDataExchange(bool FromControls) {
  TVexaBaseDlg::DoDataExchange(FromControls);
  Updating = true;
  if (!FromControls && Data) {
    try {
      qin_.RefreshDerived(*Data);
    } catch (const std::exception&) {
    }
  }
  ExchangeEditText(Descr, qin_.Descr, FromControls);
  std::int16_t source = source_;
  ExchangeRadio(IDRadioGroup, source, FromControls);
  source_ = static_cast<std::uint8_t>(source);
  ExchangeEditText(IDFilenameEdit, fileName_, FromControls);
  if (FromControls && fileName_.size() >= 2 && fileName_.front() == '"' && fileName_.back() == '"')
    fileName_ = fileName_.substr(1, fileName_.size() - 2);
  ExchangeCombo(EngineType, qin_.EngineType, FromControls);
  ExchangeCombo(Vp, qin_.Vp, FromControls);
  ExchangeCombo(V, qin_.V, FromControls);
  ExchangeCombo(TOFormula, qin_.TOFormula, FromControls);
  ExchangeCombo(Vyp, qin_.Vyp, FromControls);
  ExchangeCombo(Tau, qin_.Tau, FromControls);
  for (const TParam& param : params_) {
    ExchangeEditFloat(param.Edit, qin_.*param.Value, FromControls);
    // Long numbers show their leading digits.
    if (!FromControls) param.Edit->setCursorPosition(0);
  }
  Updating = false;
  checkInputs();
}

void TQinDataForm::EngineTypeChange() {
  OnModify(qobject_cast<QWidget*>(sender()));
  applyVisibility();
}

void TQinDataForm::applyVisibility() {
  const bool sparkIgnition = EngineType->currentIndex() == 1;
  for (QWidget* w : fopz_) w->setVisible(sparkIgnition);
  for (QWidget* w : fopt_) w->setVisible(!sparkIgnition);
  const bool fromFile = IDRadioGroup->checkedId() == 1;
  SchemeGroup->setVisible(!fromFile);
  ParamsGroup->setVisible(!fromFile);
  IDFilenameEdit->setVisible(fromFile);
  IDFilenameBrowse->setVisible(fromFile);
  DiagramButton->setText(fromFile ? "Показать индикаторную диаграмму из файла"
                                  : "Рассчитать индикаторную диаграмму по Qin");
}

void TQinDataForm::ChooseDiagramFile() {
  const QString file = UserDialogs().OpenFileName(this, DiagramFilter);
  if (file.isEmpty()) return;
  IDFilenameEdit->setText(file);
  UserDialogs().Inform(this, "Внимание!", DiagramWarning);
  ShowDiagram();
}

bool TQinDataForm::transferQin(bool Writing) {
  const QString file = Writing ? UserDialogs().SaveFileName(this, QinFilter) : UserDialogs().OpenFileName(this, QinFilter);
  if (file.isEmpty()) return false;
  try {
    DoDataExchange(true);
    qin_.TransferText(file.toStdString(), Writing, *Data);
  } catch (const EFieldConvertError& error) {
    Updating = false;
    UserDialogs().ShowError(this, "Ошибка!", notANumber(error));
    return false;
  } catch (const std::exception& error) {
    UserDialogs().ShowError(this, "Ошибка!", QString::fromLocal8Bit(error.what()));
    return false;
  }
  return true;
}

void TQinDataForm::ServButton1Click() { transferQin(true); }

void TQinDataForm::ServButton2Click() {
  if (!transferQin(false)) return;
  DoDataExchange(false);
  OnModify(ServButton2);
}

void TQinDataForm::ShowDiagram() {
  TReal1DArray angles, pressures;
  QString title;
  try {
    DoDataExchange(true);
    if (source_ == 1) {
      std::filesystem::path file = fileName_;
      if (file.is_relative() && !ProjectFolder().isEmpty()) file = ProjectFolder().toStdString() / file;
      ReadIndicatorDiagramFile(file, angles, pressures);
      title = "Диаграмма из файла " + QString::fromStdString(file.filename().string());
    } else {
      QTemporaryDir exchange;
      TWorkingProcessOptions options;
      options.ExchangeDirectory = exchange.path().toStdString();
      TEngineDataStruct engine = *Data;
      engine.OwnerNotify = nullptr;
      qin_.RunWorkingProcess(engine, options);
      ReadIndicatorDiagramFile(options.DiagramFile(), angles, pressures);
      title = "Диаграмма по расчёту рабочего процесса";
    }
  } catch (const EFieldConvertError& error) {
    Updating = false;
    DiagramNote->setText(notANumber(error));
    return;
  } catch (const TEVexaError& error) {
    clearChart();
    DiagramNote->setText(QString::fromStdString(error.Text));
    return;
  } catch (const std::exception& error) {
    clearChart();
    DiagramNote->setText(QString::fromLocal8Bit(error.what()));
    return;
  }
  std::vector<double> degrees(angles.size());
  for (std::size_t i = 0; i < angles.size(); ++i) degrees[i] = angles[i] * 180.0 / M_PI;
  plot(degrees, pressures, title);
}

void TQinDataForm::plot(const std::vector<double>& anglesDeg, const std::vector<double>& pressures,
                        const QString& title) {
  clearChart();
  QChart* chart = DiagramChart->chart();
  auto* series = new QLineSeries;
  double top = 0;
  for (std::size_t i = 0; i < anglesDeg.size(); ++i) {
    series->append(anglesDeg[i], pressures[i]);
    top = std::max(top, pressures[i]);
  }
  chart->addSeries(series);
  auto* x = new QValueAxis;
  x->setTitleText("φ, град (0 — ВМТ сгорания)");
  x->setRange(0, anglesDeg.empty() ? 720 : std::ceil(anglesDeg.back() / 90) * 90);
  x->setTickCount(9);
  x->setLabelFormat("%.0f");
  auto* y = new QValueAxis;
  y->setTitleText("p, МПа");
  y->setRange(0, top > 0 ? std::ceil(top * 1.1) : 1);
  y->setLabelFormat("%.3g");
  chart->addAxis(x, Qt::AlignBottom);
  chart->addAxis(y, Qt::AlignLeft);
  series->attachAxis(x);
  series->attachAxis(y);
  chart->setTitle(title);
  const auto peak = std::max_element(pressures.begin(), pressures.end());
  DiagramNote->setText(peak == pressures.end()
                           ? QString()
                           : QString("Шагов: %1; pmax = %2 МПа при φ = %3°")
                                 .arg(pressures.size())
                                 .arg(QString::fromStdString(FormatSignificant(*peak, 4)))
                                 .arg(QString::fromStdString(
                                     FormatSignificant(anglesDeg[std::size_t(peak - pressures.begin())], 4))));
}

void TQinDataForm::clearChart() {
  // A new chart each time: the old one's series and axes go with it.
  QChart* old = DiagramChart->chart();
  auto* chart = new QChart;
  chart->legend()->hide();
  DiagramChart->setChart(chart);
  delete old;
}

void TQinDataForm::checkInputs() {
  auto rule = [this](const char* name, auto refused, const char* why) {
    const auto x = TypedNumber(Field(name)->text());
    MarkInvalid(Field(name), x && refused(*x) ? why : QString());
  };
  const auto notPositive = [](double x) { return x <= 0; };
  rule("N", notPositive, "Частота вращения должна быть больше нуля");
  rule("E", [](double x) { return x <= 1; }, "Степень сжатия должна быть больше 1");
  for (const char* name : {"PK", "P0", "TK", "T0"}) rule(name, notPositive, "Величина должна быть больше нуля");
}
