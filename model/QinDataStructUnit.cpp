#include "QinDataStructUnit.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <system_error>

#include "ChildProcessUnit.h"
#include "EVexaErrorUnit.h"
#include "EngineDataStructUnit.h"
#include "FloatCheckUnit.h"
#include "MessageTextUnit.h"
#include "NumberFormatUnit.h"
#include "SafeFileUnit.h"
#include "TextCodecUnit.h"

std::array<double*, 48> TQinDataStruct::StoredDoubles() {
  return {&D,   &S,    &E,   &Lam,  &N,    &EM,   &KK,   &KT,   &PK,   &DP,   &TK,   &P0,
          &T0,  &PT,   &PZT, &B1,   &B12,  &B13,  &B2,   &H1,   &H12,  &H13,  &H2,   &FB,
          &FH,  &BPer, &Hu,  &QC,   &ALFF, &FOPT, &FOPZ, &Fz,   &XT,   &FCT,  &MT,   &MW,
          &TPOR, &Tkr, &TWT, &OFPK, &ALFE, &ALFR, &CG,   &Cu,   &C2,   &Vkam, &MFk,  &PDP};
}

std::array<std::int16_t*, 6> TQinDataStruct::Choices() {
  return {&EngineType, &TOFormula, &Vp, &Vyp, &V, &Tau};
}

void TQinDataStruct::StreamBlock(TVexaStream& stream, bool Writing) {
  StreamString(stream, Descr, Writing);
  for (std::int16_t* choice : Choices()) StreamSmallInt(stream, *choice, Writing);
  for (double* value : StoredDoubles()) StreamDouble(stream, *value, Writing);
}

namespace {

constexpr int TextFieldWidth = 13;
constexpr int TextDecimals = 6;
constexpr int ChoiceWidth = 4;
constexpr int SkippedLines = 3;
constexpr const char* TitleLine = "          Lumet Programs, VEXA";

// Whitespace-separated numbers of a text, read line after line: a group of numbers may go on
// over the next line, and after a group the rest of its last line is passed over.
class TextCursor {
 public:
  TextCursor(const std::string& text, std::filesystem::path file) : file_(std::move(file)) {
    std::size_t start = 0;
    while (start < text.size()) {
      std::size_t end = text.find('\n', start);
      if (end == std::string::npos) end = text.size();
      lines_.push_back(text.substr(start, end - start));
      start = end + 1;
    }
  }

  void NextLine() {
    ++line_;
    column_ = 0;
  }

  std::string Word() {
    for (;;) {
      if (line_ >= lines_.size()) Fail("файл кончается раньше, чем указано в формате");
      const std::string& text = lines_[line_];
      column_ = text.find_first_not_of(" \t\r\f\v", column_);
      if (column_ != std::string::npos) break;
      NextLine();
    }
    const std::string& text = lines_[line_];
    const std::size_t end = std::min(text.find_first_of(" \t\r\f\v", column_), text.size());
    std::string word = SplitTouching(text.substr(column_, end - column_));
    column_ += word.size();
    return word;
  }

  // Two values of the file's own layout that fill their fields touch without a blank
  // ("     0.260000123456.500000"): the first ends with the sixth decimal after its point.
  // A word with a single point is one number, whatever its decimals.
  static std::string SplitTouching(const std::string& word) {
    const std::size_t point = word.find('.');
    if (point == std::string::npos || word.find('.', point + 1) == std::string::npos) return word;
    const std::size_t end = point + 1 + TextDecimals;
    if (end >= word.size()) return word;
    for (std::size_t i = point + 1; i < end; ++i)
      if (word[i] < '0' || word[i] > '9') return word;
    return word.substr(0, end);
  }

  double Number(const char* name) {
    const std::string word = Word();
    double value = 0;
    try {
      value = ParseDouble(word);
    } catch (const EConvertError&) {
      Fail("значение " + std::string(name) + " не является числом: \"" + word + "\"");
    }
    if (!std::isfinite(value)) Fail("значение " + std::string(name) + " не является конечным числом: \"" + word + "\"");
    return value;
  }

  std::int32_t Integer() {
    const std::string word = Word();
    try {
      return ParseInteger(word);
    } catch (const EConvertError&) {
      Fail("номер варианта не является целым числом: \"" + word + "\"");
    }
  }

  [[noreturn]] void Fail(const std::string& what) const {
    throw std::runtime_error("Файл рабочего процесса \"" + file_.string() + "\", строка " +
                             std::to_string(std::min(line_, lines_.size()) + 1) + ": " + what);
  }

 private:
  std::filesystem::path file_;
  std::vector<std::string> lines_;
  std::size_t line_ = 0;
  std::size_t column_ = 0;
};

// The full path of a file or folder, "." and ".." resolved; the user sees it in messages and
// the working-process program gets it in its command line.
std::filesystem::path fullPath(const std::filesystem::path& path) {
  std::error_code ec;
  std::filesystem::path full = std::filesystem::weakly_canonical(path, ec);
  if (ec) full = std::filesystem::absolute(path).lexically_normal();
  return full;
}

}  // namespace

std::array<std::vector<TQinDataStruct::TTextField>, 10> TQinDataStruct::textLines() {
  return {{{{"D", &D}, {"S", &S}, {"E", &E}, {"Lam", &Lam}, {"N", &N}, {"PDP", &PDP}},
           {{"Q", &Q}, {"EM", &EM}, {"KK", &KK}, {"KT", &KT}, {"PK", &PK}},
           {{"DP", &DP}, {"TK", &TK}, {"P0", &P0}, {"T0", &T0}, {"PT", &PT}},
           {{"PZT", &PZT}, {"B1", &B1}, {"B12", &B12}, {"B13", &B13}, {"B2", &B2}},
           {{"FB", &FB}, {"H1", &H1}, {"H12", &H12}, {"H13", &H13}, {"H2", &H2}},
           {{"FH", &FH}, {"BPer", &BPer}, {"Hu", &Hu}, {"QC", &QC}, {"ALFF", &ALFF}},
           {{"FOPT", &FOPT}, {"FOPZ", &FOPZ}, {"Fz", &Fz}, {"XT", &XT}, {"FCT", &FCT}},
           {{"MT", &MT}, {"MW", &MW}, {"TPOR", &TPOR}, {"Tkr", &Tkr}, {"TWT", &TWT}},
           {{"OFPK", &OFPK}, {"ALFE", &ALFE}, {"ALFR", &ALFR}, {"CG", &CG}, {"Cu", &Cu}},
           {{"C2", &C2}, {"1", nullptr}, {"1", nullptr}, {"Vkam", &Vkam}, {"MFk", &MFk}}}};
}

std::array<std::pair<std::int16_t*, std::int16_t>, 5> TQinDataStruct::textChoices() {
  return {{{&TOFormula, 2}, {&Vp, 1}, {&Vyp, 1}, {&V, 2}, {&EngineType, 1}}};
}

void TQinDataStruct::RefreshDerived(const TEngineDataStruct& Engine) {
  const double stroke = Engine.CylStroke(1);
  const double ratio = Engine.R / Engine.ConRodL[1];
  RequireFinite(stroke, "данные рабочего процесса", "ход поршня S");
  RequireFinite(ratio, "данные рабочего процесса", "отношение радиуса кривошипа к длине шатуна Lam = R/L");
  Descr = Engine.ProjectName;
  D = Engine.D;
  S = stroke;
  Lam = ratio;
  Q = static_cast<double>(Engine.NSec) * Engine.NRad;
}

void TQinDataStruct::TransferText(const std::filesystem::path& FileName, bool Writing,
                                  const TEngineDataStruct& Engine) {
  if (Writing) {
    RefreshDerived(Engine);
    writeText(FileName);
  } else {
    readText(FileName);
  }
}

std::string TQinDataStruct::textOf(const std::filesystem::path& FileName) {
  std::string text = std::string(60, '-') + "\n" + TitleLine + "\n";
  // A line break in a name would make the rest of the name a line of numbers.
  text += std::string(15, ' ') + Utf8ToCp1251(SingleLineText(FileName.filename().string())) + "   " +
          Utf8ToCp1251(SingleLineText(Descr)) + "\n";
  for (const auto& line : textLines()) {
    std::string fields;
    for (const TTextField& field : line) {
      const double value = field.Value ? *field.Value : 1.0;
      RequireFinite(value, "файл рабочего процесса", field.Name);
      std::string number = FormatFixed(value, TextDecimals, TextFieldWidth);
      // A value too wide for its field must not run into the one before it; one that fills
      // its field exactly keeps to it, so that the columns stay where programs reading by
      // position expect them (the readers split such touching values, see SplitTouching).
      if (!fields.empty() && number.size() > static_cast<std::size_t>(TextFieldWidth)) number.insert(0, 1, ' ');
      fields += number;
    }
    text += fields + "\n";
  }
  for (const auto& [choice, largest] : textChoices())
    text += FormatFixed(*choice + 1, 0, ChoiceWidth);
  text += FormatFixed(1, 0, ChoiceWidth) + "\n";
  return text;
}

void TQinDataStruct::writeText(const std::filesystem::path& FileName) {
  const std::string text = textOf(FileName);
  TVexaStream(std::vector<std::uint8_t>(text.begin(), text.end())).SaveToFile(FileName);
}

void TQinDataStruct::readText(const std::filesystem::path& FileName) {
  const TVexaStream stream = TVexaStream::FromFile(FileName);
  TextCursor cursor(std::string(stream.Bytes().begin(), stream.Bytes().end()), FileName);
  for (int i = 0; i < SkippedLines; ++i) cursor.NextLine();

  // Read into a copy, so that a damaged file changes nothing.
  TQinDataStruct read = *this;
  for (const auto& line : read.textLines()) {
    for (const TTextField& field : line) {
      const double value = cursor.Number(field.Name);
      if (field.Value) *field.Value = value;
    }
    cursor.NextLine();
  }
  for (const auto& [choice, largest] : read.textChoices()) {
    const std::int32_t value = cursor.Integer() - 1;
    if (value < 0 || value > largest)
      cursor.Fail("номер варианта " + std::to_string(value + 1) + " вне допустимых значений 1 … " +
                  std::to_string(largest + 1));
    *choice = static_cast<std::int16_t>(value);
  }
  *this = std::move(read);
}

namespace {

// Why the program cannot be started, in the user's words; empty when it looks startable.
std::string whyNotStartable(const std::filesystem::path& program, const std::filesystem::path& folder) {
  struct stat status;
  if (::stat(program.c_str(), &status) != 0) return errno == ENOENT ? "программа не найдена" : SystemErrorText(errno);
  if (!S_ISREG(status.st_mode) || ::access(program.c_str(), X_OK) != 0)
    return "файл не является исполняемой программой или нет права на его запуск";
  if (::stat(folder.c_str(), &status) != 0 || !S_ISDIR(status.st_mode))
    return "папка обмена \"" + folder.string() + "\" недоступна";
  return {};
}

// The last lines of the program's report, for a message about its failure.
std::string reportTail(const std::filesystem::path& report) {
  constexpr std::size_t Lines = 8;
  std::vector<std::string> lines;
  try {
    std::istringstream in(ReadWholeTextFile(report));
    for (std::string line; std::getline(in, line);)
      if (line.find_first_not_of(" \t\r") != std::string::npos) lines.push_back(line);
  } catch (const EVexaFileError&) {
    return {};
  }
  if (lines.empty()) return {};
  std::string tail = "\nПоследние строки её отчёта \"" + report.filename().string() + "\":";
  for (std::size_t i = lines.size() > Lines ? lines.size() - Lines : 0; i < lines.size(); ++i)
    tail += "\n  " + lines[i];
  return tail;
}

}  // namespace

void TQinDataStruct::RunWorkingProcess(const TEngineDataStruct& Engine, const TWorkingProcessOptions& Options) {
  if (Engine.IDSource == 1) return;
  const std::filesystem::path folder = fullPath(Options.ExchangeDirectory);
  const std::filesystem::path program = fullPath(Options.ProgramPath);

  // An old diagram or report must never pass for the result of this run.
  const std::filesystem::path diagram = folder / WorkingProcessDiagramName;
  const std::filesystem::path report = folder / WorkingProcessReportName;
  for (const std::filesystem::path& old : {diagram, report}) {
    if (::unlink(old.c_str()) != 0 && errno != ENOENT) {
      const std::string why = SystemErrorText(errno);
      throw EVexaFileError("Не удаётся удалить старый файл \"" + old.string() + "\": " + why, why);
    }
  }

  const std::filesystem::path input = folder / WorkingProcessInputName;
  RefreshDerived(Engine);
  const std::string text = textOf(input);
  SaveWholeFile(input, text);
  if (Options.Cache && !Options.Cache->Diagram.empty() && Options.Cache->QinText == text) {
    TVexaStream(Options.Cache->Diagram).SaveToFile(diagram);
    if (!Options.Cache->Report.empty()) TVexaStream(Options.Cache->Report).SaveToFile(report);
    return;
  }

  if (const std::string why = whyNotStartable(program, folder); !why.empty())
    throw TEVexaError(ErrWorkingProcess, program.string() + " (" + why + ")");
  // The program expects its input name glued to its own path, as in the command line
  // "<path>Default.qin Default.rez".
  const std::vector<std::string> args = {program.string() + WorkingProcessInputName, WorkingProcessReportName};
  std::optional<TChildProcess> child;
  try {
    child.emplace(TChildProcess::Start(program, args, folder));
  } catch (const EChildStartError& e) {
    throw TEVexaError(ErrWorkingProcess, program.string() + " (" + SystemErrorText(e.Error) + ")");
  }
  const std::string name = "Программа рабочего процесса \"" + program.string() + "\"";
  int exitCode = 0;
  try {
    exitCode = child->Wait(Options.WaitLimit, Options.PollInterval);
  } catch (const EChildTimeoutError&) {
    throw EChildTimeoutError(name + " не закончила работу за " +
                             FormatGeneral(static_cast<double>(Options.WaitLimit.count()) / 1000.0) +
                             " с и остановлена" + reportTail(report));
  }
  // A diagram left by a program that then failed is not trusted.
  if (child->TerminatingSignal() != 0)
    throw EWorkingProcessError(name + " прервана сигналом " + std::to_string(child->TerminatingSignal()) +
                               reportTail(report));
  if (exitCode != 0)
    throw EWorkingProcessError(name + " завершилась с ошибкой (код " + std::to_string(exitCode) + ")" +
                               reportTail(report));
  std::error_code ec;
  if (Options.Cache && std::filesystem::is_regular_file(diagram, ec))
    *Options.Cache = {text, TVexaStream::FromFile(diagram).Bytes(),
                      std::filesystem::is_regular_file(report, ec) ? TVexaStream::FromFile(report).Bytes()
                                                                   : std::vector<std::uint8_t>{}};
}

namespace {

std::string firstLine(const std::vector<std::uint8_t>& bytes) {
  std::string line(bytes.begin(), std::find(bytes.begin(), bytes.end(), '\n'));
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

}  // namespace

std::string KeepWorkingProcessReport(const std::filesystem::path& report, const std::filesystem::path& target) {
  try {
    if (!std::filesystem::exists(report)) return {};
    const std::vector<std::uint8_t> text = TVexaStream::FromFile(report).Bytes();
    if (std::filesystem::exists(target)) {
      const std::string heading = firstLine(text);
      if (heading.empty() || firstLine(TVexaStream::FromFile(target).Bytes()) != heading)
        return "Отчёт программы рабочего процесса не сохранён: файл " + target.string() +
               " записан не ею и не перезаписывается";
    }
    TVexaStream(text).SaveToFile(target);
    return "Отчёт программы рабочего процесса сохранён в файле " + target.string();
  } catch (const std::exception& error) {
    return "Не удалось сохранить отчёт программы рабочего процесса в файле " + target.string() + ": " + error.what();
  }
}
