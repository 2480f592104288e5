#include "values/crt_conversion.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

// Larger widths and precisions are refused anyway; the cap only keeps the arithmetic small.
constexpr int kNumberCap = 100000;

// Longest text of the 309 integer digits of the largest double.
constexpr int kMaxRealIntegerDigits = 309;
// "e+308": msvcrt always writes three exponent digits.
constexpr int kExponentLength = 5;

const char* ArgumentName(CrtArgument argument) {
  switch (argument) {
    case CrtArgument::kInt32:
      return "a 32-bit integer";
    case CrtArgument::kInt64:
      return "a 64-bit integer";
    case CrtArgument::kReal:
      return "a real";
  }
  return "";
}

int ReadNumber(std::string_view format, size_t& i) {
  int value = 0;
  while (i < format.size() && format[i] >= '0' && format[i] <= '9') {
    value = std::min(kNumberCap, value * 10 + (format[i] - '0'));
    ++i;
  }
  return value;
}

// Reads the length modifier; false for one this runtime reads differently or not at all.
bool ReadLength(std::string_view format, size_t& i, char& length) {
  if (i >= format.size()) return true;
  const std::string_view rest = format.substr(i);
  if (rest.substr(0, 3) == "I64") {
    length = 'I';
    i += 3;
    return true;
  }
  if (rest.substr(0, 2) == "hh" || rest.substr(0, 2) == "ll" || rest[0] == 'I' || rest[0] == 'w' ||
      rest[0] == 'z' || rest[0] == 'j' || rest[0] == 't') {
    return false;
  }
  if (rest[0] == 'h' || rest[0] == 'l' || rest[0] == 'L') {
    length = rest[0];
    ++i;
  }
  return true;
}

bool FitsArgument(const CrtConversion& c, CrtArgument argument) {
  const bool integer = std::strchr("diouxX", c.conversion) != nullptr;
  switch (argument) {
    case CrtArgument::kInt32:
      if (integer) return c.length == 0 || c.length == 'h' || c.length == 'l';
      if (c.conversion == 'c') return c.length == 0 || c.length == 'h';
      return c.conversion == 'p' && c.length == 0;
    case CrtArgument::kInt64:
      return integer && c.length == 'I';
    case CrtArgument::kReal:
      return std::strchr("eEfgG", c.conversion) != nullptr &&
             (c.length == 0 || c.length == 'l' || c.length == 'L');
  }
  return false;
}

// Conversions whose flags or precision this runtime reads in ways of its own are kept plain.
bool UsesOnlySimpleOptions(const CrtConversion& c) {
  if (c.conversion == 'p') {
    return !c.plusSign && !c.blankSign && !c.alternate && !c.zeroPad && c.precision < 0;
  }
  if (c.conversion == 'c') return c.precision < 0;
  return true;
}

// Most characters the conversion itself can produce, before padding to the width.
int LongestBody(const CrtConversion& c, CrtArgument argument) {
  const int precision = c.precision;
  if (argument == CrtArgument::kReal) {
    const int p = precision < 0 ? 6 : precision;
    const int special = 1 + 2 + std::max(p, 5) + kExponentLength;
    int finite = 0;
    switch (c.conversion) {
      case 'f':
        finite = 1 + kMaxRealIntegerDigits + 1 + p;
        break;
      case 'e':
      case 'E':
        finite = 1 + 2 + p + kExponentLength;
        break;
      default:  // g, G: the exponent form or a fixed form with at most four leading zeros
        finite = 1 + std::max(p, 1) + 2 + std::max(kExponentLength, 4);
        break;
    }
    return std::max(finite, special);
  }
  if (c.conversion == 'c') return 1;
  if (c.conversion == 'p') return 8;
  const bool wide = argument == CrtArgument::kInt64;
  const bool shortened = c.length == 'h';
  int digits = 0;
  int extra = 0;
  switch (c.conversion) {
    case 'd':
    case 'i':
      digits = wide ? 19 : shortened ? 5 : 10;
      extra = 1;
      break;
    case 'u':
      digits = wide ? 20 : shortened ? 5 : 10;
      break;
    case 'o':
      digits = wide ? 22 : shortened ? 6 : 11;
      extra = c.alternate ? 1 : 0;
      break;
    default:  // x, X
      digits = wide ? 16 : shortened ? 4 : 8;
      extra = c.alternate ? 2 : 0;
      break;
  }
  return extra + std::max(digits, precision);
}

}  // namespace

bool ParseCrtFormat(std::string_view format, CrtArgument argument, ParsedCrtFormat& parsed,
                    std::string& problem) {
  parsed = ParsedCrtFormat();
  bool found = false;
  size_t i = 0;
  while (i < format.size()) {
    std::string& literal = found ? parsed.after : parsed.before;
    if (format[i] != '%') {
      literal += format[i++];
      continue;
    }
    const size_t start = i++;
    if (i < format.size() && format[i] == '%') {
      literal += '%';
      ++i;
      continue;
    }
    if (found) {
      problem = "it holds more than one conversion";
      return false;
    }
    found = true;
    CrtConversion& c = parsed.conversion;
    for (; i < format.size(); ++i) {
      const char flag = format[i];
      if (flag == '-') {
        c.leftJustify = true;
      } else if (flag == '+') {
        c.plusSign = true;
      } else if (flag == ' ') {
        c.blankSign = true;
      } else if (flag == '#') {
        c.alternate = true;
      } else if (flag == '0') {
        c.zeroPad = true;
      } else {
        break;
      }
    }
    c.width = ReadNumber(format, i);
    if (i < format.size() && format[i] == '.') {
      ++i;
      c.precision = ReadNumber(format, i);
    }
    if (i < format.size() && format[i] == '*') {
      problem = "'*' is not allowed";
      return false;
    }
    if (!ReadLength(format, i, c.length)) {
      size_t end = i + 1;
      while (end < format.size() && std::strchr("hlLIwzjt0123456789", format[end]) != nullptr &&
             format[end] != 0) {
        ++end;
      }
      problem = "the length modifier of '" +
                PrintableFormatText(format.substr(start, end + 1 - start)) + "' is not supported";
      return false;
    }
    if (i >= format.size()) {
      problem = "it ends inside the conversion '" + PrintableFormatText(format.substr(start)) + "'";
      return false;
    }
    c.conversion = format[i++];
    const std::string text = PrintableFormatText(format.substr(start, i - start));
    if (c.conversion == 'n') {
      problem = "'%n' is not allowed";
      return false;
    }
    if (std::strchr("diouxXcpeEfgG", c.conversion) == nullptr || c.conversion == 0) {
      problem = "'" + text + "' is not a supported conversion";
      return false;
    }
    if (!FitsArgument(c, argument)) {
      problem = "'" + text + "' does not fit " + ArgumentName(argument) + " value";
      return false;
    }
    if (!UsesOnlySimpleOptions(c)) {
      problem = "'" + text + "' takes no flags but '-' and no precision";
      return false;
    }
  }
  if (!found) {
    problem = "it holds no conversion";
    return false;
  }
  const int limit = argument == CrtArgument::kReal ? kRealTextLimit : kIntegerTextLimit;
  const long longest = static_cast<long>(parsed.before.size() + parsed.after.size()) +
                       std::max(parsed.conversion.width, LongestBody(parsed.conversion, argument));
  if (longest > limit) {
    problem = "its text may exceed " + std::to_string(limit) + " characters";
    return false;
  }
  return true;
}

std::string PrintableFormatText(std::string_view text) {
  std::string out;
  for (const char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (c >= 0x20 && c < 0x7F) {
      out += static_cast<char>(c);
    } else {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
      out += escaped;
    }
  }
  return out;
}

std::string FindCrtFormatProblem(std::string_view format, CrtArgument argument) {
  ParsedCrtFormat parsed;
  std::string problem;
  ParseCrtFormat(format, argument, parsed, problem);
  return problem;
}

std::string PadConversion(const CrtConversion& conversion, std::string_view prefix,
                          std::string_view body) {
  const size_t length = prefix.size() + body.size();
  const size_t fill = conversion.width > static_cast<int>(length)
                          ? static_cast<size_t>(conversion.width) - length
                          : 0;
  std::string out;
  out.reserve(length + fill);
  if (conversion.leftJustify) {
    out.append(prefix).append(body).append(fill, ' ');
  } else if (conversion.zeroPad) {
    out.append(prefix).append(fill, '0').append(body);
  } else {
    out.append(fill, ' ').append(prefix).append(body);
  }
  return out;
}

std::string JoinConversionText(const ParsedCrtFormat& parsed, std::string body) {
  std::string text = parsed.before;
  const size_t nul = body.find('\0');
  if (nul != std::string::npos) {
    body.resize(nul);
    text += body;
    return text;
  }
  text += body;
  text += parsed.after;
  return text;
}
