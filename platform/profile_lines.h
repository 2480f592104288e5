// The line grammar of profile files: blank lines, section headers and key lines, in characters of
// either width (the bytes of an 8-bit file, the units of a UTF-16 one).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/ascii_characters.h"

namespace platform {

// The white space the system trims around lines, names and values (Ctrl-Z included).
template <typename Char>
constexpr bool IsProfileSpace(Char c) {
  return IsAsciiSpace(c) || c == 0x1A;
}

template <typename Char>
constexpr bool IsLineBreak(Char c) {
  return c == '\r' || c == '\n';
}

template <typename Char>
struct ProfileLine {
  // A comment line is a key line whose name begins with ";": no query asks for such a name.
  enum class Kind { kBlank, kSection, kKey };
  Kind kind = Kind::kBlank;
  std::size_t start = 0;          // first character of the line
  std::size_t end = 0;            // first character of its line break
  std::size_t next = 0;           // first character of the next line
  std::basic_string<Char> name;   // section or key name
  bool hasValue = false;          // a key line with "="
  std::basic_string<Char> value;  // trimmed, quotes still on
};

// Where the lines start: after a UTF-8 byte-order mark, which the system skips.
std::size_t ProfileContentStart(const std::string& text);
std::size_t ProfileContentStart(const std::u16string& text);

template <typename Char>
std::basic_string<Char> TrimProfileSpace(const std::basic_string<Char>& text);

template <typename Char>
std::vector<ProfileLine<Char>> ParseProfileLines(const std::basic_string<Char>& text);

}  // namespace platform
