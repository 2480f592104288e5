#include "platform/profile_text.h"

#include <cctype>
#include <cstdint>
#include <vector>

namespace platform {
namespace {

// The white space the system trims around lines, names and values (Ctrl-Z included).
bool IsProfileSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r' || c == 0x1A;
}

bool IsLineBreak(char c) {
  return c == '\r' || c == '\n';
}

std::string Trim(const std::string& text) {
  std::size_t begin = 0, end = text.size();
  while (begin < end && IsProfileSpace(text[begin])) ++begin;
  while (end > begin && IsProfileSpace(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

// Names and values end at a zero byte, as the system's strings do.
std::string UpToNul(const std::string& text) { return text.substr(0, text.find('\0')); }

bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

struct ProfileLine {
  // A comment line is a key line whose name begins with ";": no query asks for such a name.
  enum class Kind { kBlank, kSection, kKey };
  Kind kind = Kind::kBlank;
  std::size_t start = 0;  // first byte of the line
  std::size_t end = 0;    // first byte of its line break
  std::size_t next = 0;   // first byte of the next line
  std::string name;       // section or key name
  bool hasValue = false;  // a key line with "="
  std::string value;      // trimmed, quotes still on
};

std::size_t ContentStart(const std::string& text) {
  return text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
}

ProfileLine ParseLine(const std::string& text, std::size_t start, std::size_t end) {
  ProfileLine line;
  line.start = start;
  line.end = end;
  const std::string content = Trim(text.substr(start, end - start));
  if (content.empty()) return line;
  if (content[0] == '[') {
    const std::size_t close = content.find(']');
    if (close != std::string::npos) {
      line.kind = ProfileLine::Kind::kSection;
      line.name = UpToNul(Trim(content.substr(1, close - 1)));
      return line;
    }
  }
  line.kind = ProfileLine::Kind::kKey;
  const std::size_t equals = content.find('=');
  line.name = UpToNul(Trim(content.substr(0, equals)));
  if (equals != std::string::npos) {
    line.hasValue = true;
    line.value = UpToNul(Trim(content.substr(equals + 1)));
  }
  return line;
}

std::vector<ProfileLine> ParseLines(const std::string& text) {
  std::vector<ProfileLine> lines;
  std::size_t position = ContentStart(text);
  while (position < text.size()) {
    std::size_t end = position;
    while (end < text.size() && !IsLineBreak(text[end])) ++end;
    ProfileLine line = ParseLine(text, position, end);
    // A run of line breaks ends one line: CR LF, LF and CR alone all work.
    std::size_t next = end;
    while (next < text.size() && IsLineBreak(text[next])) ++next;
    line.next = next;
    lines.push_back(line);
    position = next;
  }
  return lines;
}

// The lines of the first section named `section`: [first, last) indexes after its header.
// Lines before any header form a section without a name.
bool FindSection(const std::vector<ProfileLine>& lines, const std::string& section,
                 std::size_t* first, std::size_t* last) {
  const std::string wanted = Trim(section);
  std::size_t begin = 0;
  bool found = wanted.empty();
  for (std::size_t i = 0; i < lines.size() && !found; ++i) {
    if (lines[i].kind == ProfileLine::Kind::kSection && SameName(lines[i].name, wanted)) {
      begin = i + 1;
      found = true;
    }
  }
  if (!found) return false;
  std::size_t end = begin;
  while (end < lines.size() && lines[end].kind != ProfileLine::Kind::kSection) ++end;
  *first = begin;
  *last = end;
  return true;
}

const ProfileLine* FindKey(const std::vector<ProfileLine>& lines, std::size_t first,
                           std::size_t last, const std::string& key) {
  const std::string wanted = Trim(key);
  for (std::size_t i = first; i < last; ++i) {
    if (lines[i].kind == ProfileLine::Kind::kKey && SameName(lines[i].name, wanted)) {
      return &lines[i];
    }
  }
  return nullptr;
}

std::string StripQuotes(const std::string& value) {
  if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0]) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

std::string CutToBuffer(std::string value, std::size_t bufferSize) {
  if (bufferSize == 0) return "";
  if (value.size() > bufferSize - 1) value.resize(bufferSize - 1);
  return value;
}

int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'z') return c - 'a' + 10;
  if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
  return -1;
}

// The line break the file already uses, so that added lines match it.
std::string LineBreakOf(const std::string& text) {
  const std::size_t found = text.find_first_of("\r\n");
  if (found == std::string::npos) return "\r\n";
  if (text[found] == '\n') return "\n";
  return found + 1 < text.size() && text[found + 1] == '\n' ? "\r\n" : "\r";
}

}  // namespace

bool FindProfileValue(const std::string& text, const std::string& section, const std::string& key,
                      std::string* value) {
  const std::vector<ProfileLine> lines = ParseLines(text);
  std::size_t first = 0, last = 0;
  if (!FindSection(lines, section, &first, &last)) return false;
  const ProfileLine* line = FindKey(lines, first, last, key);
  if (line == nullptr || !line->hasValue) return false;
  *value = StripQuotes(line->value);
  return true;
}

std::string ReadProfileStringFromText(const std::string& text, const std::string& section,
                                      const std::string& key, const std::string& defaultValue,
                                      std::size_t bufferSize) {
  std::string value;
  if (!FindProfileValue(text, section, key, &value)) {
    value = defaultValue;
    // The system drops the default's trailing blanks but always keeps its first character.
    while (value.size() > 1 && value.back() == ' ') value.pop_back();
  }
  return CutToBuffer(value, bufferSize);
}

int ReadProfileIntFromText(const std::string& text, const std::string& section,
                           const std::string& key, int defaultValue) {
  const std::string value =
      ReadProfileStringFromText(text, section, key, "", kProfileIntBufferSize);
  if (value.empty()) return defaultValue;
  std::size_t i = 0;
  while (i < value.size() && static_cast<unsigned char>(value[i]) <= ' ') ++i;
  bool negative = false;
  if (i < value.size() && (value[i] == '+' || value[i] == '-')) negative = value[i++] == '-';
  // Like the system's text-to-integer conversion: "0x", "0o" and "0b" choose the base.
  unsigned base = 10;
  if (i + 1 < value.size() && value[i] == '0') {
    const char marker = value[i + 1];
    base = marker == 'x' ? 16 : marker == 'o' ? 8 : marker == 'b' ? 2 : 10;
    if (base != 10) i += 2;
  }
  std::uint32_t total = 0;
  for (; i < value.size(); ++i) {
    const int digit = DigitValue(value[i]);
    if (digit < 0 || static_cast<unsigned>(digit) >= base) break;
    total = total * base + static_cast<std::uint32_t>(digit);
  }
  if (negative) total = 0u - total;
  return static_cast<int>(total);
}

std::string WriteProfileStringToText(const std::string& text, const std::string& section,
                                     const std::string& key, const std::string& value) {
  const std::vector<ProfileLine> lines = ParseLines(text);
  const std::string lineBreak = LineBreakOf(text);
  const std::string entry = key + "=" + value;
  std::size_t first = 0, last = 0;
  if (!FindSection(lines, section, &first, &last)) {
    std::string result = text;
    if (!result.empty() && !IsLineBreak(result.back())) result += lineBreak;
    return result + "[" + section + "]" + lineBreak + entry + lineBreak;
  }
  if (const ProfileLine* line = FindKey(lines, first, last, key)) {
    return text.substr(0, line->start) + entry + text.substr(line->end);
  }
  // After the section's last non-blank line, or right after its header.
  std::size_t after = first;
  for (std::size_t i = first; i < last; ++i) {
    if (lines[i].kind != ProfileLine::Kind::kBlank) after = i + 1;
  }
  if (after == 0) {
    const std::size_t start = ContentStart(text);
    return text.substr(0, start) + entry + lineBreak + text.substr(start);
  }
  const ProfileLine& previous = lines[after - 1];
  if (previous.end == text.size()) return text + lineBreak + entry + lineBreak;
  // Right after the previous line's own break, ahead of any blank lines.
  std::size_t insertAt = previous.end + 1;
  if (text[previous.end] == '\r' && insertAt < text.size() && text[insertAt] == '\n') ++insertAt;
  const std::string insertion = entry + lineBreak;
  return text.substr(0, insertAt) + insertion + text.substr(insertAt);
}

}  // namespace platform
