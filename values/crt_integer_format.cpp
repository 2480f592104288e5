// Integer conversions (d i o u x X c p) of the 32-bit Windows C runtime.
#include <cstdint>

#include "values/crt_conversion.h"

namespace {

std::string Digits(std::uint64_t magnitude, unsigned base, bool upper) {
  const char* digits = upper ? "0123456789ABCDEF" : "0123456789abcdef";
  char buffer[24];
  char* end = buffer + sizeof buffer;
  char* p = end;
  do {
    *--p = digits[magnitude % base];
    magnitude /= base;
  } while (magnitude != 0);
  return std::string(p, end);
}

// `value` holds the argument as the conversion reads it: already cut to 16 bits for 'h' and
// sign-extended to 64 bits for the signed conversions.
std::string ConvertInteger(CrtConversion c, std::uint64_t value) {
  if (c.conversion == 'c') {
    return PadConversion(c, "", std::string(1, static_cast<char>(value & 0xFF)));
  }
  // In this runtime a precision turns the '0' flag off.
  if (c.precision >= 0) c.zeroPad = false;
  if (c.conversion == 'p') {
    std::string digits = Digits(value & 0xFFFFFFFFu, 16, true);
    return PadConversion(c, "", std::string(8 - digits.size(), '0') + digits);
  }
  const bool isSigned = c.conversion == 'd' || c.conversion == 'i';
  const bool negative = isSigned && static_cast<std::int64_t>(value) < 0;
  const std::uint64_t magnitude = negative ? 0 - value : value;
  unsigned base = 10;
  if (c.conversion == 'o') base = 8;
  if (c.conversion == 'x' || c.conversion == 'X') base = 16;

  // An explicit precision of 0 prints nothing for 0, even with '#'.
  std::string digits = (c.precision == 0 && value == 0)
                           ? std::string()
                           : Digits(magnitude, base, c.conversion == 'X');
  if (c.precision > static_cast<int>(digits.size())) {
    digits.insert(0, static_cast<size_t>(c.precision) - digits.size(), '0');
  }
  std::string prefix;
  if (negative) {
    prefix = "-";
  } else if (isSigned && c.plusSign) {
    prefix = "+";
  } else if (isSigned && c.blankSign) {
    prefix = " ";
  }
  if (c.alternate && base == 8 && (digits.empty() || digits[0] != '0') && value != 0) {
    digits.insert(0, "0");
  }
  if (c.alternate && base == 16 && value != 0) {
    prefix = c.conversion == 'X' ? "0X" : "0x";
  }
  return PadConversion(c, prefix, digits);
}

std::uint64_t ReadAsInt32(const CrtConversion& c, std::uint32_t value) {
  const bool isSigned = c.conversion == 'd' || c.conversion == 'i';
  if (c.length == 'h' && c.conversion != 'c') {
    return isSigned ? static_cast<std::uint64_t>(static_cast<std::int16_t>(value))
                    : static_cast<std::uint16_t>(value);
  }
  return isSigned ? static_cast<std::uint64_t>(static_cast<std::int32_t>(value)) : value;
}

}  // namespace

std::optional<std::string> CrtFormatInt32(std::string_view format, std::uint32_t value) {
  ParsedCrtFormat parsed;
  std::string problem;
  if (!ParseCrtFormat(format, CrtArgument::kInt32, parsed, problem)) return std::nullopt;
  return JoinConversionText(
      parsed, ConvertInteger(parsed.conversion, ReadAsInt32(parsed.conversion, value)));
}

std::optional<std::string> CrtFormatInt64(std::string_view format, std::uint64_t value) {
  ParsedCrtFormat parsed;
  std::string problem;
  if (!ParseCrtFormat(format, CrtArgument::kInt64, parsed, problem)) return std::nullopt;
  return JoinConversionText(parsed, ConvertInteger(parsed.conversion, value));
}
