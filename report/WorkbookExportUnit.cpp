#include "WorkbookExportUnit.h"

#include <cerrno>
#include <cmath>
#include <cstring>
#include <memory>
#include <numbers>
#include <stdexcept>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <xlsxwriter.h>

#include "MessageTextUnit.h"
#include "SafeFileUnit.h"
#include "EVexaErrorUnit.h"
#include "ResultCatalogUnit.h"
#include "ResultTablesUnit.h"
#include "StrengthSummaryUnit.h"

namespace fs = std::filesystem;

namespace {

// ---- Sheet names ----

constexpr std::size_t SheetNameLength = 31;  // UTF-16 units, as spreadsheet programs count

std::vector<char32_t> codePoints(const std::string& utf8) {
  std::vector<char32_t> points;
  for (std::size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    const int length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    char32_t point = length == 1 ? lead : lead & (0x7F >> length);
    for (int k = 1; k < length && i + k < utf8.size(); ++k)
      point = (point << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    points.push_back(point);
    i += static_cast<std::size_t>(length);
  }
  return points;
}

std::string utf8Of(const std::vector<char32_t>& points) {
  std::string out;
  for (char32_t p : points) {
    if (p < 0x80) {
      out += static_cast<char>(p);
    } else if (p < 0x800) {
      out += static_cast<char>(0xC0 | (p >> 6));
      out += static_cast<char>(0x80 | (p & 0x3F));
    } else if (p < 0x10000) {
      out += static_cast<char>(0xE0 | (p >> 12));
      out += static_cast<char>(0x80 | ((p >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (p & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (p >> 18));
      out += static_cast<char>(0x80 | ((p >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((p >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (p & 0x3F));
    }
  }
  return out;
}

// Latin and Cyrillic capitals to small letters: the names the program gives are of these.
std::vector<char32_t> folded(const std::string& utf8) {
  std::vector<char32_t> points = codePoints(utf8);
  for (char32_t& p : points) {
    if ((p >= U'A' && p <= U'Z') || (p >= 0x410 && p <= 0x42F)) p += 0x20;
    else if (p >= 0x400 && p <= 0x40F) p += 0x50;  // Ё and the other capitals before А
  }
  return points;
}

// The longest start of `points` that takes at most `units` UTF-16 units.
std::vector<char32_t> cut(std::vector<char32_t> points, std::size_t units) {
  std::size_t used = 0, keep = 0;
  for (; keep < points.size(); ++keep) {
    used += points[keep] >= 0x10000 ? 2 : 1;
    if (used > units) break;
  }
  points.resize(keep);
  return points;
}

// ---- The workbook ----

// Russian reason of a failed libxlsxwriter call; errno, when set, says more.
std::string workbookReason(lxw_error error, int systemError) {
  std::string reason;
  switch (error) {
    case LXW_ERROR_MEMORY_MALLOC_FAILED: reason = "не хватает памяти"; break;
    case LXW_ERROR_CREATING_XLSX_FILE: reason = "не удалось создать файл"; break;
    case LXW_ERROR_CREATING_TMPFILE:
    case LXW_ERROR_READING_TMPFILE: reason = "не удалось записать промежуточный файл во временной папке"; break;
    case LXW_ERROR_ZIP_FILE_OPERATION:
    case LXW_ERROR_ZIP_PARAMETER_ERROR:
    case LXW_ERROR_ZIP_BAD_ZIP_FILE:
    case LXW_ERROR_ZIP_INTERNAL_ERROR:
    case LXW_ERROR_ZIP_FILE_ADD:
    case LXW_ERROR_ZIP_CLOSE: reason = "не удалось записать содержимое файла"; break;
    default: reason = std::string("ошибка библиотеки записи книг: ") + lxw_strerror(error); break;
  }
  if (systemError != 0) reason += " (" + SystemErrorText(systemError) + ")";
  return reason;
}

void check(lxw_error error) {
  if (error != LXW_NO_ERROR) throw std::runtime_error(workbookReason(error, 0));
}

constexpr double DegPerRad = 180 / std::numbers::pi;
constexpr double TableCaptionWidth = 75, ValueWidth = 14;  // characters
const char* const AngleAxisName = "УКВ, град";
const char* const SplitSuffix = " [Разр.]";  // the program's mark of the split scheme

// The workbook being written: owns libxlsxwriter's workbook until it is closed.
class TWorkbook {
 public:
  explicit TWorkbook(const fs::path& file) : book_(workbook_new(file.c_str())) {
    if (!book_) throw std::runtime_error(workbookReason(LXW_ERROR_MEMORY_MALLOC_FAILED, 0));
    header_ = workbook_add_format(book_.get());
    format_set_bold(header_);
    format_set_text_wrap(header_);
    format_set_align(header_, LXW_ALIGN_CENTER);
    format_set_align(header_, LXW_ALIGN_VERTICAL_CENTER);
  }

  void SetTitle(const std::string& title, const std::string& subject) {
    title_ = title, subject_ = subject;
    lxw_doc_properties properties{};
    properties.title = title_.data();
    properties.subject = subject_.data();
    check(workbook_set_properties(book_.get(), &properties));
  }

  // A sheet with a valid name of its own; the name it got is returned through the sheet list.
  lxw_worksheet* AddSheet(const std::string& wanted) {
    names_.push_back(ExcelSheetName(wanted, names_));
    lxw_worksheet* sheet = workbook_add_worksheet(book_.get(), names_.back().c_str());
    if (!sheet) throw std::runtime_error(workbookReason(LXW_ERROR_MEMORY_MALLOC_FAILED, 0));
    return sheet;
  }
  const std::string& LastSheetName() const { return names_.back(); }

  // The header row, frozen so that it stays in view while scrolling.
  void Header(lxw_worksheet* sheet, const std::vector<std::string>& texts) {
    for (std::size_t c = 0; c < texts.size(); ++c)
      check(worksheet_write_string(sheet, 0, static_cast<lxw_col_t>(c), texts[c].c_str(), header_));
    worksheet_freeze_panes(sheet, 1, 0);
  }
  void Text(lxw_worksheet* sheet, std::size_t row, std::size_t col, const std::string& text) {
    check(worksheet_write_string(sheet, static_cast<lxw_row_t>(row), static_cast<lxw_col_t>(col), text.c_str(),
                                 nullptr));
  }
  // A value that is not a finite number would make the file unreadable: refused with its place.
  void Number(lxw_worksheet* sheet, std::size_t row, std::size_t col, double value) {
    if (!std::isfinite(value))
      throw std::runtime_error("на листе \"" + LastSheetName() + "\" в строке " + std::to_string(row + 1) +
                               " значение не является числом");
    check(worksheet_write_number(sheet, static_cast<lxw_row_t>(row), static_cast<lxw_col_t>(col), value, nullptr));
  }
  static void Widths(lxw_worksheet* sheet, std::size_t columns, double first, double others) {
    check(worksheet_set_column(sheet, 0, 0, first, nullptr));
    if (columns > 1) check(worksheet_set_column(sheet, 1, static_cast<lxw_col_t>(columns - 1), others, nullptr));
  }

  lxw_chart* AddChart() { return workbook_add_chart(book_.get(), LXW_CHART_SCATTER_STRAIGHT); }

  // Writes the file; the workbook is gone afterwards, whatever the outcome.
  void Close() {
    errno = 0;
    const lxw_error error = workbook_close(book_.release());
    if (error != LXW_NO_ERROR) throw std::runtime_error(workbookReason(error, errno));
  }

 private:
  struct TFree {
    void operator()(lxw_workbook* book) const { lxw_workbook_free(book); }
  };
  std::unique_ptr<lxw_workbook, TFree> book_;
  lxw_format* header_ = nullptr;
  std::vector<std::string> names_;
  std::string title_, subject_;  // kept alive for the properties
};

// One sheet of per-step values: the block's headers, then one row per crank-angle step.
void writeBlock(TWorkbook& book, const std::string& sheetName, const TReportBlock& block) {
  lxw_worksheet* sheet = book.AddSheet(sheetName);
  book.Header(sheet, block.Headers);
  TWorkbook::Widths(sheet, block.Headers.size(), ValueWidth, ValueWidth);
  for (std::size_t k = 0; k < block.Steps(); ++k) {
    book.Number(sheet, k + 1, 0, block.AngleValue(k));
    for (std::size_t c = 0; c < block.Columns.size(); ++c) book.Number(sheet, k + 1, c + 1, block.Value(c, k));
  }
}

// The stress or safety-factor table: the result table's captions and column headers, each throw
// column followed by its split-scheme column, the values as numbers.
void writeValueTable(TWorkbook& book, const std::string& sheetName, const TResultTable& table,
                     const std::vector<TResultValueRow>& rows, bool withMinimum) {
  lxw_worksheet* sheet = book.AddSheet(sheetName);
  std::vector<std::string> headers{table.Columns.front().Caption};
  for (std::size_t c = 1; c < table.Columns.size(); ++c) {
    headers.push_back(table.Columns[c].Caption);
    headers.push_back(table.Columns[c].Caption + SplitSuffix);
  }
  book.Header(sheet, headers);
  TWorkbook::Widths(sheet, headers.size(), TableCaptionWidth, ValueWidth);
  for (std::size_t r = 0; r < rows.size(); ++r) {
    book.Text(sheet, r + 1, 0, rows[r].Caption);
    std::vector<std::pair<double, double>> values = rows[r].Values;
    if (withMinimum) values.push_back(SmallestOverThrows(rows[r]));
    for (std::size_t i = 0; i < values.size(); ++i) {
      book.Number(sheet, r + 1, 1 + 2 * i, values[i].first);
      book.Number(sheet, r + 1, 2 + 2 * i, values[i].second);
    }
  }
}

void writeSummary(TWorkbook& book, const TDynamicCalcArray& runs) {
  lxw_worksheet* sheet = book.AddSheet(StrengthSummaryCaption);
  book.Header(sheet, {StrengthSummaryColumns[0], StrengthSummaryColumns[1], "Секция", StrengthSummaryColumns[2],
                      "Секция", "Частота вращения, об/мин"});
  TWorkbook::Widths(sheet, 6, TableCaptionWidth, ValueWidth + 6);
  const auto lines = StrengthSummaryValues(runs);
  for (std::size_t r = 0; r < lines.size(); ++r) {
    const TStrengthSummaryValue& line = lines[r];
    book.Text(sheet, r + 1, 0, line.Caption);
    book.Number(sheet, r + 1, 1, line.Design);
    book.Number(sheet, r + 1, 2, line.DesignSection);
    book.Number(sheet, r + 1, 3, line.Resonance);
    book.Number(sheet, r + 1, 4, line.ResonanceSection);
    book.Number(sheet, r + 1, 5, line.ResonanceSpeed);
  }
}

const TReal1DArray& quantity(const TDynamicCalcStruct& run, int q, int throwNumber, int cylinder) {
  const TReal1DArray* values = nullptr;
  GetQuantityArray(run, q, throwNumber, cylinder, values);
  if (!values) throw std::logic_error("no array of quantity " + std::to_string(q));
  return *values;
}

// Catalogue quantities of the charts.
constexpr int GasForce = 7, InertiaForce = 8, PinTorque = 35, PinForceX = 20, PinForceY = 21;

// The charts of the main curves over the crank angle, on a sheet of their own, with their data
// on the next sheet: the gas and inertia forces of cylinder 1, the crankpin torque of every throw,
// and the crankpin load of every throw in shaft axes.
void writeCharts(TWorkbook& book, const TDynamicCalcStruct& run) {
  const int throws = RunThrowCount(run);
  struct TSeries {
    std::string header;
    const TReal1DArray* values;
  };
  std::vector<TSeries> data{{QuantityShortName(GasForce, 1), &quantity(run, GasForce, 1, 1)},
                            {QuantityShortName(InertiaForce, 1), &quantity(run, InertiaForce, 1, 1)}};
  for (int t = 1; t <= throws; ++t) data.push_back({QuantityShortName(PinTorque, t), &quantity(run, PinTorque, t, 1)});
  for (int t = 1; t <= throws; ++t)
    for (int q : {PinForceX, PinForceY}) data.push_back({QuantityShortName(q, t), &quantity(run, q, t, 1)});

  lxw_worksheet* chartSheet = book.AddSheet("Графики");
  lxw_worksheet* dataSheet = book.AddSheet("Данные графиков");
  const std::string dataName = book.LastSheetName();
  const TReal1DArray& angle = quantity(run, 0, 1, 1);  // the grid: crank angle of cylinder 1
  std::vector<std::string> headers{QuantityShortName(0, 1)};
  for (const TSeries& s : data) headers.push_back(s.header);
  book.Header(dataSheet, headers);
  TWorkbook::Widths(dataSheet, headers.size(), ValueWidth, ValueWidth);
  for (std::size_t k = 0; k < angle.size(); ++k) {
    book.Number(dataSheet, k + 1, 0, angle[k] * DegPerRad);
    for (std::size_t c = 0; c < data.size(); ++c) book.Number(dataSheet, k + 1, c + 1, data[c].values->at(k));
  }

  const auto lastRow = static_cast<lxw_row_t>(angle.size());
  const double firstAngle = angle.empty() ? 0 : std::floor(angle.front() * DegPerRad / 90) * 90;
  const double lastAngle = angle.empty() ? 720 : std::ceil(angle.back() * DegPerRad / 90) * 90;
  int placed = 0;
  // A chart of the data columns [first, first + count) with its title and the unit of its values.
  auto chart = [&](const std::string& title, const char* unit, std::size_t first, std::size_t count) {
    lxw_chart* c = book.AddChart();
    chart_title_set_name(c, title.c_str());
    for (std::size_t s = first; s < first + count; ++s) {
      const auto col = static_cast<lxw_col_t>(s + 1);
      lxw_chart_series* series = chart_add_series(c, nullptr, nullptr);
      chart_series_set_categories(series, dataName.c_str(), 1, 0, lastRow, 0);
      chart_series_set_values(series, dataName.c_str(), 1, col, lastRow, col);
      chart_series_set_name_range(series, dataName.c_str(), 0, col);
    }
    chart_axis_set_name(c->x_axis, AngleAxisName);
    chart_axis_set_min(c->x_axis, firstAngle);
    chart_axis_set_max(c->x_axis, lastAngle);
    chart_axis_set_major_unit(c->x_axis, 90);
    chart_axis_set_name(c->y_axis, unit);
    chart_legend_set_position(c, LXW_CHART_LEGEND_BOTTOM);
    lxw_chart_options place{};
    place.x_scale = 1.5, place.y_scale = 1.25;  // 720 × 360 pixels: 12 columns by 18 rows
    check(worksheet_insert_chart_opt(chartSheet, static_cast<lxw_row_t>(1 + (placed / 2) * 19),
                                     static_cast<lxw_col_t>(1 + (placed % 2) * 12), c, &place));
    ++placed;
  };
  chart("Газовая сила и сила инерции, цилиндр 1", "МПа", 0, 2);
  chart("Крутящий момент на шатунной шейке", "Нм", 2, static_cast<std::size_t>(throws));
  for (int t = 1; t <= throws; ++t)
    chart("Нагрузка на шатунную шейку, колено " + std::to_string(t), "Н",
          2 + static_cast<std::size_t>(throws) + 2 * static_cast<std::size_t>(t - 1), 2);
}

void writeWorkbook(const fs::path& file, const TDynamicCalcStruct& run, const TDynamicCalcArray& runs,
                   const TTextReportItems& items, const std::string& title) {
  TWorkbook book(file);
  book.SetTitle(title, run.Title);
  for (const TReportBlock& block : CylinderReportBlocks(run, items))
    writeBlock(book, "Цилиндр " + std::to_string(block.Number), block);
  for (const TReportBlock& block : ThrowReportBlocks(run, items))
    writeBlock(book, "Колено " + std::to_string(block.Number), block);
  if (items.IsTicked(StressItem)) writeValueTable(book, "Напряжения", StressTable(run), StressValues(run), false);
  if (items.IsTicked(SafetyItem))
    writeValueTable(book, "Запасы прочности", SafetyTable(run), SafetyValues(run), true);
  if (runs.size() > 1) writeSummary(book, runs);
  writeCharts(book, run);
  book.Close();
}

TEVexaError workbookError(const fs::path& file, const std::string& reason) {
  TEVexaError error(ErrExcel);
  error.Text += "\nНе удалось записать файл " + file.string() + ": " + reason;
  return error;
}

}  // namespace

std::filesystem::path WorkbookFileName(const std::filesystem::path& projectFile, const std::string& projectName) {
  return ResultFileName(projectFile, projectName, ".xlsx");
}

void SaveWorkbook(const std::filesystem::path& file, const TDynamicCalcStruct& run, const TDynamicCalcArray& runs,
                  const TTextReportItems& items, const std::string& title) {
  RequireRunResults(run);
  try {
    ReplaceFileByWriting(file, [&](const fs::path& temporary) { writeWorkbook(temporary, run, runs, items, title); });
  } catch (const TEVexaError&) {
    throw;
  } catch (const std::exception& error) {
    throw workbookError(file, error.what());
  }
}

std::string WorkbookSavedMessage(const std::filesystem::path& file) {
  return "Результаты сохранены в файле " + file.string();
}

std::string ExcelSheetName(const std::string& wanted, const std::vector<std::string>& taken) {
  std::vector<char32_t> name = codePoints(wanted);
  for (char32_t& p : name)
    if (std::u32string_view(U"[]:*?/\\").find(p) != std::u32string_view::npos) p = U'_';
  while (!name.empty() && name.front() == U'\'') name.erase(name.begin());
  while (!name.empty() && name.back() == U'\'') name.pop_back();
  if (name.empty()) name = codePoints("Лист");
  auto isTaken = [&taken](const std::vector<char32_t>& candidate) {
    const std::vector<char32_t> key = folded(utf8Of(candidate));
    for (const std::string& other : taken)
      if (folded(other) == key) return true;
    return false;
  };
  std::vector<char32_t> candidate = cut(name, SheetNameLength);
  for (int copy = 2; isTaken(candidate); ++copy) {
    const std::vector<char32_t> suffix = codePoints(" (" + std::to_string(copy) + ")");
    candidate = cut(name, SheetNameLength - suffix.size());
    candidate.insert(candidate.end(), suffix.begin(), suffix.end());
  }
  return utf8Of(candidate);
}

