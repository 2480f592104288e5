// Character classes and letter case of ASCII, for characters of any width (bytes, UTF-16 units,
// the ints a reader gives back). They are the same in every locale and take any byte: a byte
// above 0x7F, or a negative char, is no digit, space or letter, which <cctype> cannot promise.
#pragma once

#include <string>

namespace platform {

// The C locale's white space: blank, tab, line feed, vertical tab, form feed, carriage return.
template <typename Char>
constexpr bool IsAsciiSpace(Char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

template <typename Char>
constexpr bool IsAsciiDigit(Char c) {
  return c >= '0' && c <= '9';
}

template <typename Char>
constexpr bool IsAsciiLetter(Char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// What DigitValue gives for a character that is a digit in no base up to 36.
constexpr int kNoDigit = 36;

// The character's value as a digit: 0-9, then a-z or A-Z for 10-35; kNoDigit for any other, so
// that `DigitValue(c) < base` asks whether it is a digit of that base.
template <typename Char>
constexpr int DigitValue(Char c) {
  if (IsAsciiDigit(c)) return static_cast<int>(c - '0');
  if (c >= 'a' && c <= 'z') return static_cast<int>(c - 'a') + 10;
  if (c >= 'A' && c <= 'Z') return static_cast<int>(c - 'A') + 10;
  return kNoDigit;
}

template <typename Char>
constexpr Char ToAsciiUpper(Char c) {
  return c >= 'a' && c <= 'z' ? static_cast<Char>(c - 'a' + 'A') : c;
}

template <typename Char>
constexpr Char ToAsciiLower(Char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<Char>(c - 'A' + 'a') : c;
}

// Every ASCII letter of `text` upper-cased. Only for texts without double-byte characters, whose
// trail bytes may be letters: see base/multibyte_case.h for texts in the system code page.
template <typename Char>
std::basic_string<Char> AsciiUpperCase(std::basic_string<Char> text) {
  for (Char& c : text) c = ToAsciiUpper(c);
  return text;
}

template <typename Char>
std::basic_string<Char> AsciiLowerCase(std::basic_string<Char> text) {
  for (Char& c : text) c = ToAsciiLower(c);
  return text;
}

// Equal but for the letter case of ASCII letters; the same caveat as for AsciiUpperCase.
template <typename Char>
bool EqualIgnoringAsciiCase(const std::basic_string<Char>& a, const std::basic_string<Char>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (ToAsciiUpper(a[i]) != ToAsciiUpper(b[i])) return false;
  }
  return true;
}

}  // namespace platform
