// Real conversions (e E f g G) of the 32-bit Windows C runtime: at most 17 significant digits and
// then zeros, three exponent digits, and the "1.#INF" family for the values that
// are not numbers.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "values/crt_conversion.h"

namespace {

// Digits d0 d1 d2 ... of a value d0.d1d2... x 10^exponent.
struct ScientificDigits {
  std::string digits;
  int exponent = 0;
};

// The value as an odd integer times a power of two (0 for zero).
struct BinaryForm {
  std::uint64_t odd = 0;
  int power = 0;
};

BinaryForm Decompose(double magnitude) {
  std::uint64_t bits;
  std::memcpy(&bits, &magnitude, sizeof bits);
  const int biased = static_cast<int>((bits >> 52) & 0x7FF);
  BinaryForm form;
  form.odd = bits & ((std::uint64_t{1} << 52) - 1);
  form.power = biased == 0 ? -1074 : biased - 1075;
  if (biased != 0) form.odd |= std::uint64_t{1} << 52;
  if (form.odd == 0) return BinaryForm();
  while ((form.odd & 1) == 0) {
    form.odd >>= 1;
    ++form.power;
  }
  return form;
}

int FactorsOfFive(std::uint64_t n) {
  int count = 0;
  while (n != 0 && n % 5 == 0) {
    n /= 5;
    ++count;
  }
  return count;
}

// Number of significant decimal digits of the exact value, given its decimal exponent.
int ExactSignificantDigits(const BinaryForm& form, int exponent) {
  if (form.power < 0) return exponent + 1 - form.power;
  return exponent + 1 - std::min(form.power, FactorsOfFive(form.odd));
}

// Adds one unit in the last place of a digit string that may hold a '.'; true when the carry
// runs out of the leading digit (the caller then has one digit more in front).
bool IncrementDigits(std::string& digits) {
  for (size_t i = digits.size(); i-- > 0;) {
    if (digits[i] == '.') continue;
    if (digits[i] != '9') {
      ++digits[i];
      return false;
    }
    digits[i] = '0';
  }
  return true;
}

std::string ToChars(double magnitude, std::chars_format style, int precision) {
  std::string buffer(static_cast<size_t>(precision) + 340, '\0');
  const auto result =
      std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude, style, precision);
  buffer.resize(static_cast<size_t>(result.ptr - buffer.data()));
  return buffer;
}

ScientificDigits ParseScientific(const std::string& text) {
  ScientificDigits out;
  const size_t e = text.find('e');
  for (size_t i = 0; i < e; ++i) {
    if (text[i] != '.') out.digits += text[i];
  }
  out.exponent = std::atoi(text.c_str() + e + 1);
  return out;
}

// The runtime first converts a real to a string of 17 significant digits, the exact value rounded
// with ties away from zero, and builds every conversion from that string.
ScientificDigits SeventeenDigits(double magnitude) {
  if (magnitude == 0) return ScientificDigits{std::string(17, '0'), 0};
  ScientificDigits longer = ParseScientific(ToChars(magnitude, std::chars_format::scientific, 17));
  const bool tie = longer.digits.back() == '5' &&
                   ExactSignificantDigits(Decompose(magnitude), longer.exponent) <= 18;
  if (!tie) return ParseScientific(ToChars(magnitude, std::chars_format::scientific, 16));
  longer.digits.pop_back();
  if (IncrementDigits(longer.digits)) {
    longer.digits.insert(0, "1");
    longer.digits.pop_back();
    ++longer.exponent;
  }
  return longer;
}

// The first `count` digits of the 17-digit string, zeros past its end, rounded up when the next
// digit is '5' or more, without looking further: a second rounding, as the runtime does it. A
// carry out of the leading digit puts a '1' in front and raises the exponent; a negative count
// leaves no digit to round.
ScientificDigits RoundDigits(const ScientificDigits& form, int count) {
  ScientificDigits out = form;
  out.digits.resize(static_cast<size_t>(std::max(count, 0)), '0');
  if (count >= 0 && static_cast<size_t>(count) < form.digits.size() &&
      form.digits[static_cast<size_t>(count)] >= '5' && IncrementDigits(out.digits)) {
    out.digits.insert(0, "1");
    ++out.exponent;
  }
  return out;
}

// `precision` digits after the point of a non-negative value.
std::string FixedText(double magnitude, int precision) {
  ScientificDigits s = SeventeenDigits(magnitude);
  if (magnitude == 0) s.exponent = -1;  // the runtime places zero's point before its digits
  const ScientificDigits r = RoundDigits(s, precision + s.exponent + 1);
  const int point = r.exponent + 1;  // digits in front of the point
  std::string text = point > 0 ? r.digits.substr(0, static_cast<size_t>(point)) : "0";
  if (precision == 0) return text;
  text += '.';
  if (point >= 0) return text + r.digits.substr(static_cast<size_t>(point));
  return text.append(static_cast<size_t>(std::min(-point, precision)), '0') + r.digits;
}

// `precision` + 1 significant digits of a non-negative value.
ScientificDigits ScientificText(double magnitude, int precision) {
  if (magnitude == 0)
    return ScientificDigits{std::string(static_cast<size_t>(precision) + 1, '0'), 0};
  ScientificDigits r = RoundDigits(SeventeenDigits(magnitude), precision + 1);
  r.digits.resize(static_cast<size_t>(precision) + 1);
  return r;
}

std::string ExponentText(char letter, int exponent) {
  std::string text(1, letter);
  text += exponent < 0 ? '-' : '+';
  const int magnitude = exponent < 0 ? -exponent : exponent;
  const std::string digits = std::to_string(magnitude);
  text.append(digits.size() < 3 ? 3 - digits.size() : 0, '0').append(digits);
  return text;
}

std::string ExponentForm(const CrtConversion& c, const ScientificDigits& s) {
  std::string body(1, s.digits[0]);
  if (s.digits.size() > 1 || c.alternate) body += '.';
  body.append(s.digits, 1, std::string::npos);
  return body + ExponentText(c.conversion == 'E' || c.conversion == 'G' ? 'E' : 'e', s.exponent);
}

// The digits of `s` written without exponent; `s` holds every significant digit wanted.
std::string PlainForm(const ScientificDigits& s, bool alternate) {
  if (s.exponent < 0)
    return "0." + std::string(static_cast<size_t>(-s.exponent - 1), '0') + s.digits;
  const size_t point = static_cast<size_t>(s.exponent) + 1;  // digits in front of the point
  if (point < s.digits.size()) return s.digits.substr(0, point) + "." + s.digits.substr(point);
  std::string body = s.digits + std::string(point - s.digits.size(), '0');
  if (alternate) body += '.';
  return body;
}

std::string GeneralForm(const CrtConversion& c, double magnitude) {
  const int significant = c.precision < 0 ? 6 : c.precision == 0 ? 1 : c.precision;
  ScientificDigits s = ScientificText(magnitude, significant - 1);
  const bool exponentForm = s.exponent < -4 || s.exponent >= significant;
  if (!c.alternate) {
    while (s.digits.size() > 1 && s.digits.back() == '0') s.digits.pop_back();
  }
  return exponentForm ? ExponentForm(c, s) : PlainForm(s, c.alternate);
}

// The runtime writes infinities and NaNs as "1." and a tag, rounding the tag's characters as if
// they were digits when the precision cuts it short ("%.2f" of infinity gives "1.#J"). Its layout
// has quirks of its own, kept here: zeros that fill a longer precision become blanks at the end
// when the text is left-justified; with an exponent, the padding goes between the number and the
// exponent when left-justified, and the width is measured as if the cut-off tag were still there.
std::string SpecialText(const CrtConversion& c, const std::string& prefix, double value) {
  const char* tag = std::isinf(value) ? "#INF" : std::signbit(value) ? "#IND" : "#QNAN";
  const int tagLength = static_cast<int>(std::strlen(tag));
  int decimals = c.precision < 0 ? 6 : c.precision;
  if ((c.conversion == 'g' || c.conversion == 'G') && !(c.alternate && c.precision > 0)) {
    decimals = (c.precision == 0 || decimals - 1 >= tagLength) ? tagLength : decimals - 1;
  } else if (c.conversion == 'g' || c.conversion == 'G') {
    decimals = c.precision - 1;
  }
  std::string number = "1";
  if (decimals > 0)
    number.append(".").append(tag, static_cast<size_t>(std::min(decimals, tagLength)));
  if (decimals > 0 && decimals < tagLength && tag[decimals] >= '5') ++number.back();
  const size_t filler = decimals > tagLength ? static_cast<size_t>(decimals - tagLength) : 0;
  const bool exponentForm = c.conversion == 'e' || c.conversion == 'E';
  if (!exponentForm) {
    return PadConversion(c, prefix, number + std::string(filler, c.leftJustify ? ' ' : '0'));
  }
  const std::string exponent = ExponentText(c.conversion, 0);
  const size_t length = prefix.size() + number.size() + filler + exponent.size();
  const size_t measured = length - static_cast<size_t>(std::max(0, tagLength - decimals));
  const size_t pad =
      c.width > static_cast<int>(measured) ? static_cast<size_t>(c.width) - measured : 0;
  if (c.leftJustify) {
    return prefix + number + std::string(pad, ' ') + exponent + std::string(filler, ' ');
  }
  const std::string digits = number + std::string(filler, '0') + exponent;
  return c.zeroPad ? prefix + std::string(pad, '0') + digits
                   : std::string(pad, ' ') + prefix + digits;
}

std::string ConvertReal(const CrtConversion& c, double value) {
  std::string prefix;
  if (std::signbit(value)) {
    prefix = "-";
  } else if (c.plusSign) {
    prefix = "+";
  } else if (c.blankSign) {
    prefix = " ";
  }
  if (!std::isfinite(value)) return SpecialText(c, prefix, value);
  const double magnitude = std::fabs(value);
  const int precision = c.precision < 0 ? 6 : c.precision;
  std::string body;
  switch (c.conversion) {
    case 'f':
      body = FixedText(magnitude, precision);
      if (precision == 0 && c.alternate) body += '.';
      break;
    case 'e':
    case 'E':
      body = ExponentForm(c, ScientificText(magnitude, precision));
      break;
    default:
      body = GeneralForm(c, magnitude);
      break;
  }
  return PadConversion(c, prefix, body);
}

}  // namespace

std::optional<std::string> CrtFormatReal(std::string_view format, double value) {
  ParsedCrtFormat parsed;
  std::string problem;
  if (!ParseCrtFormat(format, CrtArgument::kReal, parsed, problem)) return std::nullopt;
  return JoinConversionText(parsed, ConvertReal(parsed.conversion, value));
}
