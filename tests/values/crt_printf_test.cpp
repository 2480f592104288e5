#include "values/crt_printf.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

std::string Int32(const char* format, std::uint32_t value) {
  return CrtFormatInt32(format, value).value_or("<refused>");
}
std::string Int64(const char* format, std::uint64_t value) {
  return CrtFormatInt64(format, value).value_or("<refused>");
}
std::string Real(const char* format, double value) {
  return CrtFormatReal(format, value).value_or("<refused>");
}

TEST(CrtFormatCheck, AcceptsOneFittingConversionWithLiteralText) {
  EXPECT_EQ(FindCrtFormatProblem("0x%08X", CrtArgument::kInt32), "");
  EXPECT_EQ(FindCrtFormatProblem("%% %-+ #05.3hd %%", CrtArgument::kInt32), "");
  EXPECT_EQ(FindCrtFormatProblem("%lu", CrtArgument::kInt32), "");
  EXPECT_EQ(FindCrtFormatProblem("%c", CrtArgument::kInt32), "");
  EXPECT_EQ(FindCrtFormatProblem("%-12p", CrtArgument::kInt32), "");
  EXPECT_EQ(FindCrtFormatProblem("0x%016I64X", CrtArgument::kInt64), "");
  EXPECT_EQ(FindCrtFormatProblem("%I64u", CrtArgument::kInt64), "");
  EXPECT_EQ(FindCrtFormatProblem("%0.3lf mm", CrtArgument::kReal), "");
  EXPECT_EQ(FindCrtFormatProblem("%G", CrtArgument::kReal), "");
}

TEST(CrtFormatCheck, RefusesFormatsThatDoNotHoldExactlyOneConversion) {
  EXPECT_EQ(FindCrtFormatProblem("plain", CrtArgument::kInt32), "it holds no conversion");
  EXPECT_EQ(FindCrtFormatProblem("100%%", CrtArgument::kInt32), "it holds no conversion");
  EXPECT_EQ(FindCrtFormatProblem("%d%d", CrtArgument::kInt32), "it holds more than one conversion");
  EXPECT_EQ(FindCrtFormatProblem("%d%", CrtArgument::kInt32), "it holds more than one conversion");
  EXPECT_EQ(FindCrtFormatProblem("abc%", CrtArgument::kInt32), "it ends inside the conversion '%'");
  EXPECT_EQ(FindCrtFormatProblem("%5%", CrtArgument::kInt32),
            "'%5%' is not a supported conversion");
}

TEST(CrtFormatCheck, RefusesWhatCouldWriteMemoryOrReadMoreArguments) {
  EXPECT_EQ(FindCrtFormatProblem("%n", CrtArgument::kInt32), "'%n' is not allowed");
  EXPECT_EQ(FindCrtFormatProblem("%hn", CrtArgument::kInt32), "'%n' is not allowed");
  EXPECT_EQ(FindCrtFormatProblem("%*d", CrtArgument::kInt32), "'*' is not allowed");
  EXPECT_EQ(FindCrtFormatProblem("%.*f", CrtArgument::kReal), "'*' is not allowed");
  EXPECT_EQ(FindCrtFormatProblem("%s", CrtArgument::kInt32), "'%s' is not a supported conversion");
  EXPECT_EQ(FindCrtFormatProblem("%S", CrtArgument::kInt32), "'%S' is not a supported conversion");
  EXPECT_EQ(FindCrtFormatProblem("%a", CrtArgument::kReal), "'%a' is not a supported conversion");
}

TEST(CrtFormatCheck, RefusesConversionsThatDoNotFitTheArgument) {
  EXPECT_EQ(FindCrtFormatProblem("%f", CrtArgument::kInt32),
            "'%f' does not fit a 32-bit integer value");
  EXPECT_EQ(FindCrtFormatProblem("%I64d", CrtArgument::kInt32),
            "'%I64d' does not fit a 32-bit integer value");
  EXPECT_EQ(FindCrtFormatProblem("%d", CrtArgument::kInt64),
            "'%d' does not fit a 64-bit integer value");
  EXPECT_EQ(FindCrtFormatProblem("%I64c", CrtArgument::kInt64),
            "'%I64c' does not fit a 64-bit integer value");
  EXPECT_EQ(FindCrtFormatProblem("%d", CrtArgument::kReal), "'%d' does not fit a real value");
  EXPECT_EQ(FindCrtFormatProblem("%lc", CrtArgument::kInt32),
            "'%lc' does not fit a 32-bit integer value");
  EXPECT_EQ(FindCrtFormatProblem("%lld", CrtArgument::kInt64),
            "the length modifier of '%lld' is not supported");
  EXPECT_EQ(FindCrtFormatProblem("%I32d", CrtArgument::kInt32),
            "the length modifier of '%I32d' is not supported");
  EXPECT_EQ(FindCrtFormatProblem("%#p", CrtArgument::kInt32),
            "'%#p' takes no flags but '-' and no precision");
  EXPECT_EQ(FindCrtFormatProblem("%.2c", CrtArgument::kInt32),
            "'%.2c' takes no flags but '-' and no precision");
}

TEST(CrtFormatCheck, BoundsTheTextToTheRenderingBuffers) {
  EXPECT_EQ(FindCrtFormatProblem("%63d", CrtArgument::kInt32), "");
  EXPECT_EQ(FindCrtFormatProblem("%64d", CrtArgument::kInt32), "its text may exceed 63 characters");
  EXPECT_EQ(FindCrtFormatProblem("%.62d", CrtArgument::kInt32), "");
  EXPECT_EQ(FindCrtFormatProblem("%.63d", CrtArgument::kInt32),
            "its text may exceed 63 characters");
  EXPECT_EQ(FindCrtFormatProblem("0123456789012345678901234567890123456789012345678901%d",
                                 CrtArgument::kInt32),
            "");
  EXPECT_EQ(FindCrtFormatProblem("01234567890123456789012345678901234567890123456789012%d",
                                 CrtArgument::kInt32),
            "its text may exceed 63 characters");
  EXPECT_EQ(FindCrtFormatProblem("%99999999999d", CrtArgument::kInt32),
            "its text may exceed 63 characters");
  // The largest double has 309 integer digits.
  EXPECT_EQ(FindCrtFormatProblem("%.328f", CrtArgument::kReal), "");
  EXPECT_EQ(FindCrtFormatProblem("%.329f", CrtArgument::kReal),
            "its text may exceed 639 characters");
  EXPECT_EQ(FindCrtFormatProblem("%639e", CrtArgument::kReal), "");
  EXPECT_EQ(FindCrtFormatProblem("%640g", CrtArgument::kReal),
            "its text may exceed 639 characters");
}

TEST(CrtFormatCheck, FormattingRefusesWhatTheCheckRefuses) {
  EXPECT_FALSE(CrtFormatInt32("%s", 0));
  EXPECT_FALSE(CrtFormatInt64("%d", 0));
  EXPECT_FALSE(CrtFormatReal("%n", 0));
  EXPECT_FALSE(CrtFormatReal("%.400f", 1e308));
}

TEST(CrtIntegerFormat, WritesTheRuntimesOwnForms) {
  EXPECT_EQ(Int32("%p", 0x1234), "00001234");
  EXPECT_EQ(Int32("%-10p|", 0xABCDEF01u), "ABCDEF01  |");
  EXPECT_EQ(Int32("%hd", 65535), "-1");
  EXPECT_EQ(Int32("%hu", 0xFFFFFFFFu), "65535");
  EXPECT_EQ(Int32("%hx", 0x12345), "2345");
  EXPECT_EQ(Int32("%lu", 0xFFFFFFFFu), "4294967295");
  EXPECT_EQ(Int32("%d", 0x80000000u), "-2147483648");
  EXPECT_EQ(Int32("%c", 65), "A");
  EXPECT_EQ(Int32("%hc", 0x141), "A");
  EXPECT_EQ(Int64("%I64d", 0x8000000000000000u), "-9223372036854775808");
  EXPECT_EQ(Int64("%I64u", ~std::uint64_t{0}), "18446744073709551615");
  EXPECT_EQ(Int64("%I64o", ~std::uint64_t{0}), "1777777777777777777777");
  EXPECT_EQ(Int64("0x%016I64X", 1), "0x0000000000000001");
}

TEST(CrtIntegerFormat, FlagsWidthAndPrecisionAsTheRuntimeReadsThem) {
  EXPECT_EQ(Int32("%-05d|", 7), "7    |");
  EXPECT_EQ(Int32("%+d", 0), "+0");
  EXPECT_EQ(Int32("%+ d", 5), "+5");
  EXPECT_EQ(Int32("% 05d", static_cast<std::uint32_t>(-5)), "-0005");
  EXPECT_EQ(Int32("%+u", 5), "5");
  EXPECT_EQ(Int32("% x", 5), "5");
  EXPECT_EQ(Int32("%#x", 0), "0");
  EXPECT_EQ(Int32("%#05x", 255), "0x0ff");
  EXPECT_EQ(Int32("%#-8X|", 255), "0XFF    |");
  EXPECT_EQ(Int32("%#o", 8), "010");
  EXPECT_EQ(Int32("%#.5o", 8), "00010");
  EXPECT_EQ(Int32("[%.0d]", 0), "[]");
  EXPECT_EQ(Int32("[%#.0o]", 0), "[]");
  EXPECT_EQ(Int32("[%#.0x]", 0), "[]");
  EXPECT_EQ(Int32("%05c|", 65), "0000A|");
}

// The runtime turns the '0' flag off when an integer conversion has a precision; the zeros then
// come from the precision alone.
TEST(CrtIntegerFormat, APrecisionTurnsTheZeroFlagOff) {
  EXPECT_EQ(Int32("%08.3x", 10), "     00a");
  EXPECT_EQ(Int32("%08.3d", 5), "     005");
  EXPECT_EQ(Int32("%010.5d", static_cast<std::uint32_t>(-42)), "    -00042");
  EXPECT_EQ(Int32("%+06.0d|", 0), "     +|");
  EXPECT_EQ(Int32("%#08.2o", 8), "     010");
  EXPECT_EQ(Int32("%#010.4X", 255), "    0X00FF");
  EXPECT_EQ(Int64("%020.1I64u", 7), "                   7");
  EXPECT_EQ(Int32("%05d", 7), "00007");  // without a precision the flag pads
}

TEST(CrtIntegerFormat, TextEndsAtAWrittenNulAsACStringWould) {
  EXPECT_EQ(Int32("%c", 0), "");
  EXPECT_EQ(Int32("[%3c]", 0), "[  ");
  EXPECT_EQ(Int32("[%-3c]", 0), "[");
}

// The runtime rounds a real to 17 significant digits, writes zeros after them and rounds the
// requested digits from those 17, ties away from zero both times. The first four are answers of
// the runtime itself; the double roundings follow from it (0.0115 is stored as
// 0.01149999999999999998..., whose 17 digits are 0.011500000000000000).
TEST(CrtRealFormat, SeventeenSignificantDigitsThenZeros) {
  const struct {
    const char* format;
    double value;
    std::string text;
  } cases[] = {
      {"%.30f", 1.0 / 3, "0.333333333333333310000000000000"},
      {"%.30lf", std::sqrt(2.0), "1.414213562373095100000000000000"},
      {"%.20f", 0.1, "0.10000000000000001000"},
      {"%.0f", 1208925819614629174706176.0, "1208925819614629200000000"},  // 2^80
      {"%.0f", 1e23, "99999999999999992000000"},
      {"%.20e", 1208925819614629174706176.0, "1.20892581961462920000e+024"},
      {"%.20g", 0.1, "0.10000000000000001"},
      {"%#.20g", 0.1, "0.10000000000000001000"},
      {"%.25g", 1e23, "99999999999999992000000"},
      {"%.17f", 0.7, "0.69999999999999996"},
      {"%.20f", 1e-5, "0.00001000000000000000"},
      {"%.4f", 123456789012345.25, "123456789012345.2500"},
      {"%.328f", 4.9406564584124654e-324, "0." + std::string(323, '0') + "49407"},
      // Double rounding: the requested digits are rounded from the 17, not from the exact value.
      {"%.3f", 0.0115, "0.012"},
      {"%.1e", 0.0115, "1.2e-002"},
      {"%.2g", 0.0115, "0.012"},
      {"%.3f", 0.0545, "0.055"},
      {"%.2f", 2.675, "2.67"},  // 17 digits 2.6749999999999998
      {"%.2f", 1.005, "1.00"},
      // Ties of the exact value and carries out of the leading digit.
      {"%.0f", 2.5, "3"},
      {"%.0f", -2.5, "-3"},
      {"%.0f", 0.5, "1"},
      {"%.1f", 0.25, "0.3"},
      {"%.2f", 0.125, "0.13"},
      {"%.1f", 0.35, "0.3"},
      {"%.2e", 9.995, "9.99e+000"},
      {"%.0e", 25.0, "3e+001"},
      {"%.1e", 9.95, "9.9e+000"},
      {"%.0e", 9.5, "1e+001"},
      {"%.1f", 9.96, "10.0"},
      {"%.1f", 0.05, "0.1"},
      {"%.1f", 0.04, "0.0"},
      {"%.3f", 0.0004, "0.000"},
      {"%.0f", -0.4, "-0"},
      {"%f", -0.0, "-0.000000"},
      {"%.3f", 0.0, "0.000"},
  };
  for (const auto& c : cases) EXPECT_EQ(Real(c.format, c.value), c.text) << c.format;
}

TEST(CrtRealFormat, ExponentsHaveThreeDigitsAndGeneralFormChoosesLikeC) {
  EXPECT_EQ(Real("%e", 1.0), "1.000000e+000");
  EXPECT_EQ(Real("%E", 12345.678), "1.234568E+004");
  EXPECT_EQ(Real("%e", 4.9406564584124654e-324), "4.940656e-324");
  EXPECT_EQ(Real("%e", 0.0), "0.000000e+000");
  EXPECT_EQ(Real("%g", 1e20), "1e+020");
  EXPECT_EQ(Real("%g", 100000.0), "100000");
  EXPECT_EQ(Real("%g", 999999.5), "1e+006");
  EXPECT_EQ(Real("%g", 0.0001), "0.0001");
  EXPECT_EQ(Real("%G", 0.00001), "1E-005");
  EXPECT_EQ(Real("%g", -0.0), "-0");
  EXPECT_EQ(Real("%#g", 1.0), "1.00000");
  EXPECT_EQ(Real("%#.3g", 100.0), "100.");
  EXPECT_EQ(Real("%.0g", 2.5), "3");
  EXPECT_EQ(Real("%#.0e", 1.0), "1.e+000");
  EXPECT_EQ(Real("%#.0f", 1.0), "1.");
  EXPECT_EQ(Real("%+010.2f", 3.14159), "+000003.14");
}

TEST(CrtRealFormat, InfinitiesAndNaNsInTheRuntimesNotation) {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(Real("%f", inf), "1.#INF00");
  EXPECT_EQ(Real("%f", -inf), "-1.#INF00");
  EXPECT_EQ(Real("%f", nan), "1.#QNAN0");
  EXPECT_EQ(Real("%f", -nan), "-1.#IND00");
  EXPECT_EQ(Real("%e", inf), "1.#INF00e+000");
  EXPECT_EQ(Real("%g", inf), "1.#INF");
  EXPECT_EQ(Real("%#g", inf), "1.#INF");
  EXPECT_EQ(Real("%.0g", inf), "1.#INF");
  EXPECT_EQ(Real("%.1g", inf), "1");
  EXPECT_EQ(Real("%#.0f", inf), "1");
  // A precision that cuts the tag short rounds its characters as if they were digits.
  EXPECT_EQ(Real("%.1f", inf), "1.$");
  EXPECT_EQ(Real("%.2f", inf), "1.#J");
  EXPECT_EQ(Real("%.3f", -nan), "-1.#IO");
  EXPECT_EQ(Real("%.4g", nan), "1.#QO");
  EXPECT_EQ(Real("%010f", inf), "001.#INF00");
  EXPECT_EQ(Real("%-10f|", inf), "1.#INF    |");
  EXPECT_EQ(Real("%-e|", inf), "1.#INFe+000  |");
  EXPECT_EQ(Real("%-16e|", inf), "1.#INF   e+000  |");
  EXPECT_EQ(Real("%8.0e", inf), "      1e+000");
  EXPECT_EQ(Real("%#.8g", inf), "1.#INF000");
  EXPECT_EQ(Real("%+f", inf), "+1.#INF00");
}

}  // namespace
