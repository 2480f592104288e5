#include "format/comment_options.h"

#include <cstdlib>

#include "base/message_sink.h"
#include "format/format_messages.h"
#include "platform/ascii_characters.h"

namespace {

using platform::DigitValue;
using platform::IsAsciiDigit;
using platform::IsAsciiSpace;

std::int32_t Saturate(bool negative, std::int64_t magnitude) {
  if (negative)
    return magnitude > -static_cast<std::int64_t>(INT32_MIN)
               ? INT32_MIN
               : static_cast<std::int32_t>(-magnitude);
  return magnitude > INT32_MAX ? INT32_MAX : static_cast<std::int32_t>(magnitude);
}

// A number must be followed by nothing or white space to count.
bool EndsCleanly(std::string_view text, std::size_t end) {
  return end == text.size() || IsAsciiSpace(text[end]);
}

// strtol with base 0 and a 32-bit long: sign, "0x" for hexadecimal, a leading 0 for octal.
// Nothing when the number runs into other characters, or when no digit could be read: an empty
// value (as "-m -5" leaves) would otherwise count as 0 and zero every value it multiplies.
std::optional<std::int32_t> ParseInteger(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsAsciiSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  int base = 10;
  if (i < text.size() && text[i] == '0') {
    base = 8;
    if (i + 2 < text.size() && (text[i + 1] == 'x' || text[i + 1] == 'X') &&
        DigitValue(text[i + 2]) < 16) {
      base = 16;
      i += 2;
    }
  }
  const std::size_t digits = i;
  std::int64_t magnitude = 0;
  for (; i < text.size() && DigitValue(text[i]) < base; ++i) {
    if (magnitude <= INT32_MAX) magnitude = magnitude * base + DigitValue(text[i]);
  }
  if (i == digits || !EndsCleanly(text, i)) return std::nullopt;
  return Saturate(negative, magnitude);
}

std::size_t SkipDigits(std::string_view text, std::size_t i) {
  while (i < text.size() && IsAsciiDigit(text[i])) ++i;
  return i;
}

// What the Windows C runtime's strtod takes: sign, digits with an optional point, and an
// exponent introduced by e or d. No "inf", "nan" or hexadecimal forms.
// Without digits nothing, as for integers.
std::optional<double> ParseReal(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsAsciiSpace(text[i])) ++i;
  std::string number;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) number += text[i++];
  std::size_t end = SkipDigits(text, i);
  bool hasDigits = end > i;
  if (end < text.size() && text[end] == '.') {
    const std::size_t fraction = SkipDigits(text, end + 1);
    hasDigits = hasDigits || fraction > end + 1;
    end = fraction;
  }
  if (!hasDigits) return std::nullopt;
  number.append(text.substr(i, end - i));
  if (end < text.size() &&
      (text[end] == 'e' || text[end] == 'E' || text[end] == 'd' || text[end] == 'D')) {
    std::size_t exponent = end + 1;
    std::string sign;
    if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-')) {
      sign = text[exponent++];
    }
    const std::size_t exponentEnd = SkipDigits(text, exponent);
    if (exponentEnd > exponent) {
      number += 'e' + sign + std::string(text.substr(exponent, exponentEnd - exponent));
      end = exponentEnd;
    }
  }
  if (!EndsCleanly(text, end)) return std::nullopt;
  return std::strtod(number.c_str(), nullptr);
}

template <typename Number, typename Parse>
std::optional<Number> ReadNumericOption(const std::optional<std::string>& text, char letter,
                                        Parse parse, IMessageSink& sink) {
  const std::optional<std::string> value = ReadCommentOption(text, letter);
  if (!value) return std::nullopt;
  const std::optional<Number> number = parse(*value);
  if (!number) sink.WriteLog(kIllegalCommentString);
  return number;
}

}  // namespace

std::optional<std::string> ReadCommentOption(std::string_view text, char letter) {
  std::size_t start = std::string_view::npos;
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] == '-' && text[i + 1] == letter) {
      start = i + 2;
      break;
    }
  }
  if (start == std::string_view::npos) return std::nullopt;
  if (start < text.size() && text[start] == '\'') {
    const std::size_t close = text.find('\'', start + 1);
    const std::size_t end = close == std::string_view::npos ? text.size() : close;
    return std::string(text.substr(start + 1, end - start - 1));
  }
  std::size_t end = text.find('-', start);
  if (end == std::string_view::npos) end = text.size();
  while (end > start && IsAsciiSpace(text[end - 1])) --end;
  return std::string(text.substr(start, end - start));
}

std::optional<std::string> ReadCommentOption(const std::string& text, char letter) {
  return ReadCommentOption(std::string_view(text), letter);
}

std::optional<std::string> ReadCommentOption(const std::optional<std::string>& text, char letter) {
  if (!text) return std::nullopt;
  return ReadCommentOption(std::string_view(*text), letter);
}

std::optional<std::int32_t> ReadIntegerOption(const std::optional<std::string>& text, char letter,
                                              IMessageSink& sink) {
  return ReadNumericOption<std::int32_t>(text, letter, ParseInteger, sink);
}

std::optional<double> ReadRealOption(const std::optional<std::string>& text, char letter,
                                     IMessageSink& sink) {
  return ReadNumericOption<double>(text, letter, ParseReal, sink);
}

std::int32_t DecimalPrefixValue(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsAsciiSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  std::int64_t magnitude = 0;
  for (; i < text.size() && IsAsciiDigit(text[i]); ++i) {
    if (magnitude <= INT32_MAX) magnitude = magnitude * 10 + (text[i] - '0');
  }
  return Saturate(negative, magnitude);
}
