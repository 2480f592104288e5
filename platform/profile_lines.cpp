#include "platform/profile_lines.h"

namespace platform {
namespace {

// Names and values end at a zero character, as the system's strings do.
template <typename Char>
std::basic_string<Char> UpToNul(const std::basic_string<Char>& text) {
  return text.substr(0, text.find(Char{0}));
}

template <typename Char>
ProfileLine<Char> ParseLine(const std::basic_string<Char>& text, std::size_t start,
                            std::size_t end) {
  using Line = ProfileLine<Char>;
  Line line;
  line.start = start;
  line.end = end;
  const std::basic_string<Char> content = TrimProfileSpace(text.substr(start, end - start));
  if (content.empty()) return line;
  if (content[0] == '[') {
    const std::size_t close = content.find(Char{']'});
    if (close != std::basic_string<Char>::npos) {
      line.kind = Line::Kind::kSection;
      line.name = UpToNul(TrimProfileSpace(content.substr(1, close - 1)));
      return line;
    }
  }
  line.kind = Line::Kind::kKey;
  const std::size_t equals = content.find(Char{'='});
  line.name = UpToNul(TrimProfileSpace(content.substr(0, equals)));
  if (equals != std::basic_string<Char>::npos) {
    line.hasValue = true;
    line.value = UpToNul(TrimProfileSpace(content.substr(equals + 1)));
  }
  return line;
}

}  // namespace

std::size_t ProfileContentStart(const std::string& text) {
  return text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
}

std::size_t ProfileContentStart(const std::u16string&) {
  return 0;
}

template <typename Char>
std::basic_string<Char> TrimProfileSpace(const std::basic_string<Char>& text) {
  std::size_t begin = 0, end = text.size();
  while (begin < end && IsProfileSpace(text[begin])) ++begin;
  while (end > begin && IsProfileSpace(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

template <typename Char>
std::vector<ProfileLine<Char>> ParseProfileLines(const std::basic_string<Char>& text) {
  std::vector<ProfileLine<Char>> lines;
  std::size_t position = ProfileContentStart(text);
  while (position < text.size()) {
    std::size_t end = position;
    while (end < text.size() && !IsLineBreak(text[end])) ++end;
    ProfileLine<Char> line = ParseLine(text, position, end);
    // A run of line breaks ends one line: CR LF, LF and CR alone all work.
    std::size_t next = end;
    while (next < text.size() && IsLineBreak(text[next])) ++next;
    line.next = next;
    lines.push_back(line);
    position = next;
  }
  return lines;
}

template std::string TrimProfileSpace(const std::string&);
template std::u16string TrimProfileSpace(const std::u16string&);
template std::vector<ProfileLine<char>> ParseProfileLines(const std::string&);
template std::vector<ProfileLine<char16_t>> ParseProfileLines(const std::u16string&);

}  // namespace platform
