#include "platform/posix/wildcard.h"

#include "platform/ascii_characters.h"

namespace platform {
namespace {

bool SameLetter(char a, char b) {
  return ToAsciiUpper(a) == ToAsciiUpper(b);
}

bool MatchFrom(const std::string& pattern, std::size_t p, const std::string& name, std::size_t n) {
  // Iterative with one backtrack point: the last "*" seen.
  std::size_t starPattern = std::string::npos, starName = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || SameLetter(pattern[p], name[n]))) {
      ++p;
      ++n;
    } else if (p < pattern.size() && pattern[p] == '*') {
      starPattern = p++;
      starName = n;
    } else if (starPattern != std::string::npos) {
      p = starPattern + 1;
      n = ++starName;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

bool MatchesWildcard(const std::string& pattern, const std::string& name) {
  if (MatchFrom(pattern, 0, name, 0)) return true;
  const bool hasDot = name.find('.') != std::string::npos;
  if (EndsWith(pattern, ".*") && !hasDot) {
    return MatchFrom(pattern.substr(0, pattern.size() - 2), 0, name, 0);
  }
  if (EndsWith(pattern, ".") && !hasDot) {
    return MatchFrom(pattern.substr(0, pattern.size() - 1), 0, name, 0);
  }
  return false;
}

bool HasWildcards(const std::string& pattern) {
  return pattern.find_first_of("*?") != std::string::npos;
}

}  // namespace platform
