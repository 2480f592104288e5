#include "base/string_escapes.h"

#include "platform/ascii_characters.h"

namespace {

// The byte a backslash and a letter stand for, or -1 when the letter is not a control escape.
int ControlEscape(char letter) {
  switch (letter) {
    case 'a':
      return 7;
    case 'b':
      return 8;
    case 'f':
      return 12;
    case 'n':
      return 10;
    case 'r':
      return 13;
    case 't':
      return 9;
    case 'v':
      return 11;
    default:
      return -1;
  }
}

}  // namespace

std::string DecodeEscapes(const std::string& text) {
  std::string result;
  result.reserve(text.size());
  const std::size_t size = text.size();
  std::size_t i = 0;
  while (i < size && text[i] != '\0') {
    if (text[i] != '\\') {
      result += text[i++];
      continue;
    }
    ++i;
    if (i >= size || text[i] == '\0') {
      break;
    }
    const char c = text[i];
    unsigned value = 0;
    if (platform::DigitValue(c) < 8) {
      for (int digits = 0; digits < 3 && i < size && platform::DigitValue(text[i]) < 8;
           ++digits, ++i) {
        value = value * 8 + static_cast<unsigned>(platform::DigitValue(text[i]));
      }
    } else if (c == 'x' || c == 'X') {
      ++i;
      for (int digits = 0; digits < 2 && i < size && platform::DigitValue(text[i]) < 16;
           ++digits, ++i) {
        value = value * 16 + static_cast<unsigned>(platform::DigitValue(text[i]));
      }
    } else if (ControlEscape(c) >= 0) {
      value = static_cast<unsigned>(ControlEscape(c));
      ++i;
    } else {
      // \" \' \\ and every other character stand for themselves.
      value = static_cast<unsigned char>(c);
      ++i;
    }
    value &= 0xFF;
    if (value == 0) {
      break;
    }
    result += static_cast<char>(value);
  }
  return result;
}
