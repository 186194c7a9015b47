// The error table, the number formats, the stream primitives, the text code page and the
// floating-point guard: the pieces every file and every calculation rely on.
#include <gtest/gtest.h>

#include <cfenv>
#include <clocale>
#include <cmath>
#include <limits>

#include "DataExchangeUnit.h"
#include "EVexaErrorUnit.h"
#include "FloatCheckUnit.h"
#include "MessageTextUnit.h"
#include "MyTypes.h"
#include "NumberFormatUnit.h"
#include "TextCodecUnit.h"

TEST(ErrorTable, UnknownCodesGiveTheGenericMessage) {
  for (int code : {9, 100, 255}) {
    TEVexaError error(static_cast<std::uint8_t>(code));
    EXPECT_EQ(error.Caption, "Ошибка!");
    EXPECT_EQ(error.Text, "Неизвестная ошибка");
  }
}

TEST(ErrorTable, CodeZeroIsEmpty) {
  TEVexaError error(0);
  EXPECT_EQ(error.Caption, "");
  EXPECT_EQ(error.Text, "");
}

TEST(ErrorTable, DetailReplacesThePlaceholder) {
  TEVexaError diagram(7, "/tmp/Default.dia");
  EXPECT_EQ(diagram.Text, "Не могу прочитать индикаторную диаграмму: /tmp/Default.dia");
  EXPECT_STREQ(diagram.what(), diagram.Text.c_str());
  TEVexaError program(8, "/opt/vexa/qinu");
  EXPECT_EQ(program.Text, "Не удалось запустить qin.exe: \r/opt/vexa/qinu");
}

TEST(ErrorTable, DetailWithPerCentSignsIsInsertedUnchanged) {
  TEVexaError error(7, "100%s %d %%.dia");
  EXPECT_EQ(error.Text, "Не могу прочитать индикаторную диаграмму: 100%s %d %%.dia");
}

TEST(ErrorTable, RegistryMessagesNameTheirKeys) {
  EXPECT_EQ(TEVexaError(3).Text, "Не удается открыть ветвь регистра HKEY_CURRENT_USER\\SOFTWARE\\Lumet Programs\\Vexa\\");
  EXPECT_EQ(TEVexaError(4).Text,
            "Не удается открыть ветвь регистра HKEY_CURRENT_USER\\SOFTWARE\\Lumet Programs\\Vexa\\Recent files");
  EXPECT_EQ(TEVexaError(1).Text, "Неверный формат файла данных!");
  EXPECT_EQ(TEVexaError(6).Text, "Сначала необходимо выполнить расчёт (F3)");
}

TEST(ArrayTypes, DeepCopyKeepsEveryRowLength) {
  TReal2DArray source = {{1}, {2, 3, 4}, {}, {5, 6}};
  TReal2DArray target = {{9, 9, 9, 9, 9}};
  CopyReal2DArray(source, target);
  EXPECT_EQ(target, source);
  source[1][0] = 42;
  EXPECT_EQ(target[1][0], 2);
}

TEST(GeneralFormat, PlainNumbersStayPlain) {
  EXPECT_EQ(FormatGeneral(0.26), "0.26");
  EXPECT_EQ(FormatGeneral(1000), "1000");
  EXPECT_EQ(FormatGeneral(0), "0");
  EXPECT_EQ(FormatGeneral(-15), "-15");
  EXPECT_EQ(FormatGeneral(0.1 + 0.2), "0.3");  // 15 significant digits hide binary noise
  EXPECT_EQ(FormatGeneral(1012.7), "1012.7");
  EXPECT_EQ(FormatGeneral(0.00001), "0.00001");
  EXPECT_EQ(FormatGeneral(123456789012345.0), "123456789012345");
}

TEST(GeneralFormat, ExponentOnlyForTinyOrHugeValues) {
  EXPECT_EQ(FormatGeneral(1e-12), "1E-12");
  EXPECT_EQ(FormatGeneral(-2.5e-6), "-2.5E-6");
  EXPECT_EQ(FormatGeneral(1e15), "1E15");
  EXPECT_EQ(FormatGeneral(1e30), "1E30");
}

TEST(GeneralFormat, RoundTripsThroughTheParser) {
  for (double v : {0.26, 1e-12, 0.001, 1431.6, 65 * M_PI / 180, 123.456789012345})
    EXPECT_NEAR(ParseDouble(FormatGeneral(v)), v, std::fabs(v) * 1e-14);
}

TEST(SignificantFormat, GridAndTableFormats) {
  EXPECT_EQ(FormatSignificant(0.123456, 5), "0.12346");
  EXPECT_EQ(FormatSignificant(99999, 5), "99999");
  EXPECT_EQ(FormatSignificant(100000, 5), "1e+05");
  EXPECT_EQ(FormatSignificant(1e30, 4), "1e+30");
  EXPECT_EQ(FormatSignificant(7.0710678e29, 4), "7.071e+29");
  EXPECT_EQ(FormatSignificant(2.5, 4), "2.5");
  EXPECT_EQ(FormatFixed(3.14159, 3, 3), "3.142");
  EXPECT_EQ(FormatFixed(-15, 6, 13), "   -15.000000");
  EXPECT_EQ(FormatFixed(123456.5, 6, 13), "123456.500000");
}

TEST(SignificantFormat, ResultsStayFixedDownToAHundredThousandth) {
  EXPECT_EQ(FormatResult(2.424e-05), "0.00002424");
  EXPECT_EQ(FormatResult(-2.5e-05), "-0.000025");
  EXPECT_EQ(FormatResult(0.00012345678), "0.0001235");
  EXPECT_EQ(FormatResult(9.99996e-06), "0.00001");  // rounds up into fixed notation
  EXPECT_EQ(FormatResult(9.9e-06), "9.9e-06");
  EXPECT_EQ(FormatResult(1e-12), "1e-12");
  EXPECT_EQ(FormatResult(0.5), "0.5");
  EXPECT_EQ(FormatResult(100), "100");
  EXPECT_EQ(FormatResult(1234.4), "1234");
  EXPECT_EQ(FormatResult(9999.6), "1e+04");  // five digits before the separator once rounded
  EXPECT_EQ(FormatResult(-12346), "-1.235e+04");
  EXPECT_EQ(FormatResult(1e30), "1e+30");
  EXPECT_EQ(FormatResult(-0.0), "0");
  // Four significant digits survive the trip through the text.
  for (double v : {3.0517578125e-05, 0.000987654, 0.0123456, 1.23456, 987.654})
    EXPECT_NEAR(ParseDouble(FormatResult(v)), v, 5e-4 * v);
}

TEST(SignificantFormat, DecimalPointWhateverTheLocale) {
  const char* previous = std::setlocale(LC_NUMERIC, nullptr);
  const std::string saved = previous ? previous : "C";
  if (!std::setlocale(LC_NUMERIC, "ru_RU.UTF-8") && !std::setlocale(LC_NUMERIC, "de_DE.UTF-8"))
    GTEST_SKIP() << "no locale with a decimal comma installed";
  EXPECT_EQ(FormatSignificant(0.5, 4), "0.5");
  EXPECT_EQ(FormatGeneral(0.26), "0.26");
  EXPECT_EQ(ParseDouble("0.5"), 0.5);
  std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(Parsing, RejectsWhatIsNotANumber) {
  EXPECT_EQ(ParseInteger("12"), 12);
  EXPECT_THROW(ParseInteger("1.5"), EConvertError);
  EXPECT_THROW(ParseDouble("0,5"), EConvertError);
  EXPECT_THROW(ParseDouble(""), EConvertError);
  EXPECT_THROW(ParseDouble("1.5x"), EConvertError);
  EXPECT_EQ(ParseDouble(" -1.5E-3 "), -1.5e-3);
}

TEST(MessageText, RefusalAgreesWithItsSubjectAndGivesTheUnit) {
  EXPECT_EQ(MustBePositiveText("Податливость опоры 3 Py", TGender::Feminine, 0, "м/Н"),
            "Податливость опоры 3 Py должна быть положительной (задано 0 м/Н)");
  EXPECT_EQ(MustBePositiveText("Радиус кривошипа (R)", TGender::Masculine, -0.13, "м"),
            "Радиус кривошипа (R) должен быть положительным (задано -0.13 м)");
  EXPECT_EQ(MustBePositiveText("Смещение оси противовеса (L6)", TGender::Neuter, 0, "м"),
            "Смещение оси противовеса (L6) должно быть положительным (задано 0 м)");
  // A ratio has no unit; a value that is not finite is shown as such, with "." whatever the locale.
  EXPECT_EQ(ValueWithUnit(std::numeric_limits<double>::infinity(), ""), "INF");
  EXPECT_EQ(ValueWithUnit(1.5e-9, "м/Н"), "1.5E-9 м/Н");
}

TEST(MessageText, CommonSystemErrorsAreInRussian) {
  // The same words whether the error comes as a number or as an error code.
  EXPECT_EQ(SystemErrorText(std::make_error_code(std::errc::no_such_file_or_directory)), "файл или папка не найдены");
  EXPECT_EQ(SystemErrorText(EACCES), "нет прав доступа");
  EXPECT_EQ(SystemErrorText(std::error_code(EPERM, std::system_category())), "нет прав доступа");
  // Anything rarer keeps its number and the system's text rather than losing the reason.
  const auto rare = std::make_error_code(std::errc::network_down);
  EXPECT_NE(SystemErrorText(rare).find(rare.message()), std::string::npos);
  EXPECT_NE(SystemErrorText(rare).find(std::to_string(ENETDOWN)), std::string::npos);
}

TEST(MessageText, InputIsNamedByItsWordsOrItsSymbolAlone) {
  const TInputName names[] = {{"B", "толщина щеки", "м"}, {"CoeffB", "коэффициент cB", ""}};
  EXPECT_EQ(InputValueText(names, "B", 0), "толщина щеки B = 0 м");
  EXPECT_EQ(InputValueText(names, "CoeffB", 0.5), "коэффициент cB CoeffB = 0.5");
  EXPECT_EQ(InputValueText(names, "H", 0.2), "H = 0.2");
}

TEST(StreamPrimitives, StringsAreLengthPrefixedCodePage1251) {
  TVexaStream out;
  std::string empty;
  StreamString(out, empty, true);
  EXPECT_EQ(out.Bytes(), (std::vector<std::uint8_t>{0, 0}));

  TVexaStream longOut;
  std::string longText(300, 'x');
  StreamString(longOut, longText, true);
  ASSERT_EQ(longOut.Bytes().size(), 302u);
  EXPECT_EQ(longOut.Bytes()[0], 0x2C);
  EXPECT_EQ(longOut.Bytes()[1], 0x01);

  TVexaStream cyr;
  std::string name = "Сталь";
  StreamString(cyr, name, true);
  EXPECT_EQ(cyr.Bytes(), (std::vector<std::uint8_t>{5, 0, 0xD1, 0xF2, 0xE0, 0xEB, 0xFC}));
  TVexaStream back(cyr.Bytes());
  std::string read = "old";
  StreamString(back, read, false);
  EXPECT_EQ(read, "Сталь");
}

TEST(StreamPrimitives, NegativeLengthReadsAsEmptyString) {
  TVexaStream in(std::vector<std::uint8_t>{0xFF, 0xFF});
  std::string text = "old";
  StreamString(in, text, false);
  EXPECT_EQ(text, "");
}

TEST(StreamPrimitives, ShortReadsAreBadFormat) {
  TVexaStream in(std::vector<std::uint8_t>{1, 2, 3});
  double value = 0;
  try {
    StreamDouble(in, value, false);
    FAIL();
  } catch (const TEVexaError& error) {
    EXPECT_EQ(error.Code, 1);
  }
  TVexaStream name(std::vector<std::uint8_t>{10, 0, 'a', 'b'});
  std::string text;
  EXPECT_THROW(StreamString(name, text, false), TEVexaError);
}

TEST(StreamPrimitives, IntegersAsDoublesRoundToNearest) {
  TVexaStream out;
  for (double v : {11.0, 2.4999, -3.6, 40000.0}) StreamDouble(out, v, true);
  TVexaStream in(out.Bytes());
  std::int16_t value = 0;
  StreamIntAsDouble(in, value, false);
  EXPECT_EQ(value, 11);
  StreamIntAsDouble(in, value, false);
  EXPECT_EQ(value, 2);
  StreamIntAsDouble(in, value, false);
  EXPECT_EQ(value, -4);
  EXPECT_THROW(StreamIntAsDouble(in, value, false), TEVexaError);  // beyond a SmallInt
}

TEST(TextCodec, UnrepresentableCharactersBecomeQuestionMarks) {
  EXPECT_EQ(Cp1251ToUtf8(Utf8ToCp1251("Вал №1 — ok")), "Вал №1 — ok");
  EXPECT_EQ(Utf8ToCp1251("日"), "?");
  EXPECT_EQ(Cp1251ToUtf8(std::string("\x98")), "?");
}

TEST(TextCodec, ControlCharactersNeverReachTheTerminalOrStartALine) {
  // An escape sequence that would clear the screen, a C1 control (U+009B, the one-byte
  // CSI), Cyrillic text that stays as it is.
  const std::string name = "Дизель\x1b[2J\xc2\x9b" "31m\t\x7f";
  EXPECT_EQ(TerminalText(name), "Дизель?[2J?31m??");
  EXPECT_EQ(TerminalText("a\r\nb\rc\n"), "a\nb\nc\n");
  EXPECT_EQ(SingleLineText("V16\r\n  0.1 0.2\x1b"), "V16    0.1 0.2 ");
  EXPECT_EQ(SingleLineText("Дизель 16ЧН"), "Дизель 16ЧН");
}

TEST(FloatGuard, TurnsFloatingPointEventsIntoErrors) {
  ClearFloatFlags();
  volatile double zero = 0;
  volatile double result = 1 / zero;
  (void)result;
  try {
    CheckFloatFlags("Kinematics", "Beta[3]");
    FAIL();
  } catch (const EVexaFloatError& error) {
    EXPECT_STREQ(error.what(), "Деление на ноль при вычислениях с плавающей точкой: Kinematics, Beta[3]");
  }
  // The check clears the flags, so the next stage starts clean.
  EXPECT_NO_THROW(CheckFloatFlags("Forces", ""));
  volatile double invalid = std::sqrt(-zero - 1);
  (void)invalid;
  EXPECT_THROW(CheckFloatFlags("Forces", "K"), EVexaFloatError);
  EXPECT_THROW(RequireFinite(std::numeric_limits<double>::quiet_NaN(), "Loads", "Mk"), EVexaFloatError);
  EXPECT_NO_THROW(RequireFinite(1e300, "Loads", "Mk"));
}
