// Our printf emulation against the Windows C runtime's own sprintf, taken from msvcrt.dll
// directly so that the C99 printf of the toolchain's runtime does not stand in for it.
//
// Where these tests run, msvcrt.dll may be wine's, which departs from Microsoft's runtime (the
// one our emulation follows) in two known ways, handled by rule below:
// - wine keeps the '0' flag of an integer conversion that has a precision, which Microsoft's
//   turns off: such a format is compared with the runtime's text of the format without the flag;
// - wine writes a real's exact binary digits, where Microsoft's rounds the value to 17
//   significant digits, writes zeros after them and rounds the requested digits from those 17:
//   a real conversion whose digits differ between the two roundings is left out.
#include <gtest/gtest.h>
#include <windows.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

#include "values/crt_printf.h"

namespace {

using RuntimeSprintf = int(__cdecl*)(char*, size_t, const char*, ...);

RuntimeSprintf RuntimeFunction() {
  static const RuntimeSprintf function = [] {
    HMODULE module = LoadLibraryA("msvcrt.dll");
    return module == nullptr ? nullptr
                             : reinterpret_cast<RuntimeSprintf>(
                                   reinterpret_cast<void*>(GetProcAddress(module, "_snprintf")));
  }();
  return function;
}

template <typename T>
std::string Runtime(const std::string& format, T value) {
  char buffer[2048] = {};
  RuntimeFunction()(buffer, sizeof buffer - 1, format.c_str(), value);
  return buffer;
}

// The pieces of a format with one conversion.
struct FormatParts {
  std::string flags;
  int precision = -1;
  char conversion = 0;
};

FormatParts Parts(const std::string& format) {
  FormatParts parts;
  size_t i = format.find('%') + 1;
  while (std::string("-+ #0").find(format[i]) != std::string::npos) parts.flags += format[i++];
  while (isdigit(static_cast<unsigned char>(format[i]))) ++i;
  if (format[i] == '.') {
    parts.precision = std::atoi(format.c_str() + ++i);
    while (isdigit(static_cast<unsigned char>(format[i]))) ++i;
  }
  while (std::string("hlLI64").find(format[i]) != std::string::npos) ++i;
  parts.conversion = format[i];
  return parts;
}

// The format as Microsoft's runtime reads it when wine's reads it differently: without a '0'
// flag that a precision turns off.
std::string AsMicrosoftReadsIt(const std::string& format) {
  const FormatParts parts = Parts(format);
  if (parts.conversion == 'c' || parts.precision < 0) return format;
  std::string without = format;
  const size_t flags = without.find('%') + 1;
  const size_t zero = without.find('0', flags);
  if (zero < flags + parts.flags.size()) without.erase(zero, 1);
  return without;
}

struct DecimalDigits {
  std::string digits;
  int exponent = 0;
  bool operator==(const DecimalDigits& other) const {
    return digits == other.digits && exponent == other.exponent;
  }
};

// `count` significant digits of a finite non-zero value, rounded by the runtime under test.
DecimalDigits RuntimeDigits(double value, int count) {
  char format[16];
  std::snprintf(format, sizeof format, "%%.%de", count - 1);
  const std::string text = Runtime(format, std::fabs(value));
  DecimalDigits out;
  const size_t e = text.find('e');
  for (size_t i = 0; i < e; ++i) {
    if (text[i] != '.') out.digits += text[i];
  }
  out.exponent = std::atoi(text.c_str() + e + 1);
  return out;
}

// True when a real conversion's digits come out differently from the exact value and from its
// 17-digit form, that is where wine and Microsoft's runtime are known to part.
bool DependsOnDigitsPastTheSeventeenth(const std::string& format, double value) {
  if (value == 0 || !std::isfinite(value)) return false;
  const FormatParts parts = Parts(format);
  const DecimalDigits seventeen = RuntimeDigits(value, 17);
  int count = parts.precision < 0 ? 6 : parts.precision;
  if (parts.conversion == 'f') count += seventeen.exponent + 1;
  if (parts.conversion == 'e' || parts.conversion == 'E') count += 1;
  if ((parts.conversion == 'g' || parts.conversion == 'G') && count == 0) count = 1;
  if (count <= 0) return false;
  DecimalDigits rounded = seventeen;
  rounded.digits.resize(static_cast<size_t>(count), '0');
  if (count < 17 && seventeen.digits[static_cast<size_t>(count)] >= '5') {
    size_t i = rounded.digits.size();
    while (i > 0 && rounded.digits[i - 1] == '9') rounded.digits[--i] = '0';
    if (i == 0) {
      rounded.digits.insert(0, "1");
      rounded.digits.pop_back();
      ++rounded.exponent;
    } else {
      ++rounded.digits[i - 1];
    }
  }
  return !(rounded == RuntimeDigits(value, count));
}

// Every combination of the flags the check accepts.
std::vector<std::string> FlagSets(const std::string& flags) {
  std::vector<std::string> sets;
  for (unsigned mask = 0; mask < (1u << flags.size()); ++mask) {
    std::string set;
    for (size_t i = 0; i < flags.size(); ++i) {
      if ((mask & (1u << i)) != 0) set += flags[i];
    }
    sets.push_back(set);
  }
  return sets;
}

struct FormatGrid {
  std::vector<std::string> conversions;  // length modifier and conversion letter, e.g. "hd"
  std::string flags;
  std::vector<std::string> widths;
  std::vector<std::string> precisions;
};

std::vector<std::string> Formats(const FormatGrid& grid) {
  std::vector<std::string> formats;
  for (const std::string& conversion : grid.conversions) {
    for (const std::string& flags : FlagSets(grid.flags)) {
      for (const std::string& width : grid.widths) {
        for (const std::string& precision : grid.precisions) {
          formats.push_back("<%" + flags + width + precision + conversion + ">");
        }
      }
    }
  }
  return formats;
}

// Reports the first few differences of one kind instead of flooding the log.
class Mismatches {
 public:
  void Compare(const std::string& format, const std::string& value, const std::string& ours,
               const std::string& runtime) {
    ++compared_;
    if (ours == runtime) return;
    ++count_;
    if (count_ <= 20) {
      ADD_FAILURE() << format << " of " << value << ": ours \"" << ours << "\", runtime \""
                    << runtime << "\"";
    }
  }
  void Skip() { ++skipped_; }
  ~Mismatches() {
    EXPECT_EQ(count_, 0) << "differences out of " << compared_ << " conversions";
    EXPECT_GT(compared_, 0) << skipped_ << " conversions left out as known departures of wine";
  }

 private:
  long count_ = 0;
  long compared_ = 0;
  long skipped_ = 0;
};

const std::vector<std::string> kIntegerWidths = {"", "1", "5", "12", "20"};
const std::vector<std::string> kIntegerPrecisions = {"", ".", ".0", ".1", ".5", ".12", ".20"};

std::uint64_t NextRandom(std::uint64_t& state) {
  state ^= state << 13;
  state ^= state >> 7;
  state ^= state << 17;
  return state;
}

class MsvcrtComparison : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(RuntimeFunction(), nullptr) << "msvcrt.dll _snprintf"; }
};

TEST_F(MsvcrtComparison, ThirtyTwoBitIntegers) {
  std::vector<std::uint32_t> values = {
      0,      1,      0xFFFFFFFF, 42,         65,         0x7F, 0x80, 0xFF,  0x100,     0x7FFF,
      0x8000, 0xFFFF, 0x10000,    0x7FFFFFFF, 0x80000000, 8,    1000, 0x141, 0xFFFFFF80};
  std::uint64_t state = 0x9E3779B97F4A7C15u;
  for (int i = 0; i < 8; ++i) values.push_back(static_cast<std::uint32_t>(NextRandom(state)));

  std::vector<std::string> formats = Formats({{"d", "i", "o", "u", "x", "X", "hd", "hi", "ho", "hu",
                                               "hx", "hX", "ld", "li", "lo", "lu", "lx", "lX"},
                                              "-+ #0",
                                              kIntegerWidths,
                                              kIntegerPrecisions});
  for (const std::string& f : Formats({{"c", "hc"}, "-+ #0", kIntegerWidths, {""}})) {
    formats.push_back(f);
  }
  Mismatches mismatches;
  for (const std::string& format : formats) {
    ASSERT_EQ(FindCrtFormatProblem(format, CrtArgument::kInt32), "") << format;
    for (std::uint32_t value : values) {
      mismatches.Compare(format, std::to_string(value), *CrtFormatInt32(format, value),
                         Runtime(AsMicrosoftReadsIt(format), value));
    }
  }
}

// The 64-bit runtime's "%p" writes sixteen digits; the 32-bit runtime's is "%.8X" with the same
// flags and width, and that is what "%p" must give here.
TEST_F(MsvcrtComparison, PointersAsTheThirtyTwoBitRuntimeWritesThem) {
  Mismatches mismatches;
  for (const char* flags : {"", "-"}) {
    for (const std::string& width : kIntegerWidths) {
      const std::string format = std::string("<%") + flags + width + "p>";
      const std::string reference = std::string("<%") + flags + width + ".8X>";
      ASSERT_EQ(FindCrtFormatProblem(format, CrtArgument::kInt32), "") << format;
      for (std::uint32_t value : {0u, 1u, 0x1234u, 0xABCDEF01u, 0xFFFFFFFFu}) {
        mismatches.Compare(format, std::to_string(value), *CrtFormatInt32(format, value),
                           Runtime(reference, value));
      }
    }
  }
}

TEST_F(MsvcrtComparison, SixtyFourBitIntegers) {
  std::vector<std::uint64_t> values = {0,
                                       1,
                                       ~std::uint64_t{0},
                                       0x7FFFFFFF,
                                       0x80000000,
                                       0xFFFFFFFF,
                                       0x100000000,
                                       0x7FFFFFFFFFFFFFFF,
                                       0x8000000000000000,
                                       12345678901234,
                                       static_cast<std::uint64_t>(-12345678901234)};
  std::uint64_t state = 0x2545F4914F6CDD1Du;
  for (int i = 0; i < 6; ++i) values.push_back(NextRandom(state));
  Mismatches mismatches;
  for (const std::string& format : Formats({{"I64d", "I64i", "I64o", "I64u", "I64x", "I64X"},
                                            "-+ #0",
                                            kIntegerWidths,
                                            kIntegerPrecisions})) {
    ASSERT_EQ(FindCrtFormatProblem(format, CrtArgument::kInt64), "") << format;
    for (std::uint64_t value : values) {
      mismatches.Compare(format, std::to_string(value), *CrtFormatInt64(format, value),
                         Runtime(AsMicrosoftReadsIt(format), value));
    }
  }
}

std::vector<double> RealValues() {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  std::vector<double> values = {0.0,       -0.0,      0.1,        0.5,
                                1.0,       1.5,       2.5,        -2.5,
                                0.125,     0.35,      2.675,      9.995,
                                9.5,       99.5,      1.0 / 3,    -2.0 / 3,
                                1.23456,   1e-5,      1e-4,       0.00012345,
                                123456.5,  999999.5,  1e15,       1e16,
                                1e17,      1e22,      1e23,       1e300,
                                -1e-300,   DBL_MAX,   DBL_MIN,    4.9406564584124654e-324,
                                12345.678, 0.0999999, inf,        -inf,
                                nan,       -nan,      3.0e-7,     65536.0,
                                1e6,       0.95,      255.0 / 256};
  std::uint64_t state = 0xD1B54A32D192ED03u;
  for (int i = 0; i < 12; ++i) {
    std::uint64_t bits = NextRandom(state);
    double value;
    memcpy(&value, &bits, sizeof value);
    values.push_back(value);
  }
  for (int i = 0; i < 12; ++i) {
    values.push_back(static_cast<double>(NextRandom(state) % 2000000) / 1000.0 - 1000.0);
  }
  return values;
}

TEST_F(MsvcrtComparison, Reals) {
  const std::vector<double> values = RealValues();
  std::vector<std::string> formats = Formats(
      {{"e", "E", "f", "g", "G"},
       "-+ #0",
       {"", "1", "8", "15", "30"},
       {"", ".", ".0", ".1", ".2", ".3", ".4", ".5", ".6", ".10", ".16", ".17", ".20", ".40"}});
  for (const std::string& f : Formats({{"lf", "Lf", "le", "Lg"}, "-0", {"", "12"}, {"", ".3"}})) {
    formats.push_back(f);
  }
  Mismatches mismatches;
  for (const std::string& format : formats) {
    ASSERT_EQ(FindCrtFormatProblem(format, CrtArgument::kReal), "") << format;
    for (double value : values) {
      if (DependsOnDigitsPastTheSeventeenth(format, value)) {
        mismatches.Skip();
        continue;
      }
      mismatches.Compare(format, Runtime("%.17g", value), *CrtFormatReal(format, value),
                         Runtime(format, value));
    }
  }
}

TEST_F(MsvcrtComparison, LongestRealTexts) {
  Mismatches mismatches;
  for (const char* format : {"%.328f", "%639.300e", "%.600g", "%#.600G", "%-639f"}) {
    ASSERT_EQ(FindCrtFormatProblem(format, CrtArgument::kReal), "") << format;
    for (double value :
         {DBL_MAX, -DBL_MAX, DBL_MIN, 4.9406564584124654e-324, 0.1, 1.0 / 3, 0.5, 1e22, -65536.0}) {
      if (DependsOnDigitsPastTheSeventeenth(format, value)) {
        mismatches.Skip();
        continue;
      }
      mismatches.Compare(format, Runtime("%.17g", value), *CrtFormatReal(format, value),
                         Runtime(format, value));
    }
  }
}

}  // namespace
