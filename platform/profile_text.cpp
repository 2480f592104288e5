// The rules work on characters of either width: 8-bit files as they are, UTF-16 files (known by
// their byte-order mark) in 16-bit units, so that a write changes nothing else in them.
#include "platform/profile_text.h"

#include <cstdint>
#include <unordered_map>
#include <vector>

namespace platform {
namespace {

// The white space the system trims around lines, names and values (Ctrl-Z included).
template <typename Char>
bool IsProfileSpace(Char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r' || c == 0x1A;
}

template <typename Char>
bool IsLineBreak(Char c) {
  return c == '\r' || c == '\n';
}

template <typename Char>
std::basic_string<Char> Trim(const std::basic_string<Char>& text) {
  std::size_t begin = 0, end = text.size();
  while (begin < end && IsProfileSpace(text[begin])) ++begin;
  while (end > begin && IsProfileSpace(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

// Names and values end at a zero character, as the system's strings do.
template <typename Char>
std::basic_string<Char> UpToNul(const std::basic_string<Char>& text) {
  return text.substr(0, text.find(Char{0}));
}

template <typename Char>
unsigned FoldCase(Char c) {
  const auto code = static_cast<unsigned>(static_cast<std::make_unsigned_t<Char>>(c));
  return code >= 'A' && code <= 'Z' ? code + ('a' - 'A') : code;
}

template <typename Char>
bool SameName(const std::basic_string<Char>& a, const std::basic_string<Char>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (FoldCase(a[i]) != FoldCase(b[i])) return false;
  }
  return true;
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
std::size_t ContentStart(const std::string& text) {
  return text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
}
std::size_t ContentStart(const std::u16string&) {
  return 0;
}

template <typename Char>
ProfileLine<Char> ParseLine(const std::basic_string<Char>& text, std::size_t start,
                            std::size_t end) {
  using Line = ProfileLine<Char>;
  Line line;
  line.start = start;
  line.end = end;
  const std::basic_string<Char> content = Trim(text.substr(start, end - start));
  if (content.empty()) return line;
  if (content[0] == '[') {
    const std::size_t close = content.find(Char{']'});
    if (close != std::basic_string<Char>::npos) {
      line.kind = Line::Kind::kSection;
      line.name = UpToNul(Trim(content.substr(1, close - 1)));
      return line;
    }
  }
  line.kind = Line::Kind::kKey;
  const std::size_t equals = content.find(Char{'='});
  line.name = UpToNul(Trim(content.substr(0, equals)));
  if (equals != std::basic_string<Char>::npos) {
    line.hasValue = true;
    line.value = UpToNul(Trim(content.substr(equals + 1)));
  }
  return line;
}

template <typename Char>
std::vector<ProfileLine<Char>> ParseLines(const std::basic_string<Char>& text) {
  std::vector<ProfileLine<Char>> lines;
  std::size_t position = ContentStart(text);
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

// The lines of the first section named `section`: [first, last) indexes after its header.
// Lines before any header form a section without a name.
template <typename Char>
bool FindSection(const std::vector<ProfileLine<Char>>& lines,
                 const std::basic_string<Char>& section, std::size_t* first, std::size_t* last) {
  using Kind = typename ProfileLine<Char>::Kind;
  const std::basic_string<Char> wanted = Trim(section);
  std::size_t begin = 0;
  bool found = wanted.empty();
  for (std::size_t i = 0; i < lines.size() && !found; ++i) {
    if (lines[i].kind == Kind::kSection && SameName(lines[i].name, wanted)) {
      begin = i + 1;
      found = true;
    }
  }
  if (!found) return false;
  std::size_t end = begin;
  while (end < lines.size() && lines[end].kind != Kind::kSection) ++end;
  *first = begin;
  *last = end;
  return true;
}

template <typename Char>
const ProfileLine<Char>* FindKey(const std::vector<ProfileLine<Char>>& lines, std::size_t first,
                                 std::size_t last, const std::basic_string<Char>& key) {
  const std::basic_string<Char> wanted = Trim(key);
  for (std::size_t i = first; i < last; ++i) {
    if (lines[i].kind == ProfileLine<Char>::Kind::kKey && SameName(lines[i].name, wanted)) {
      return &lines[i];
    }
  }
  return nullptr;
}

template <typename Char>
std::basic_string<Char> StripQuotes(const std::basic_string<Char>& value) {
  if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0]) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

// The line break the file already uses, so that added lines match it.
template <typename Char>
std::basic_string<Char> LineBreakOf(const std::basic_string<Char>& text) {
  const std::basic_string<Char> crlf = {Char{'\r'}, Char{'\n'}};
  std::size_t found = 0;
  while (found < text.size() && !IsLineBreak(text[found])) ++found;
  if (found == text.size()) return crlf;
  if (text[found] == '\n') return {Char{'\n'}};
  return found + 1 < text.size() && text[found + 1] == '\n' ? crlf
                                                            : std::basic_string<Char>{Char{'\r'}};
}

template <typename Char>
bool FindValue(const std::basic_string<Char>& text, const std::basic_string<Char>& section,
               const std::basic_string<Char>& key, std::basic_string<Char>* value) {
  const auto lines = ParseLines(text);
  std::size_t first = 0, last = 0;
  if (!FindSection(lines, section, &first, &last)) return false;
  const ProfileLine<Char>* line = FindKey(lines, first, last, key);
  if (line == nullptr || !line->hasValue) return false;
  *value = StripQuotes(line->value);
  return true;
}

template <typename Char>
std::basic_string<Char> WriteValue(const std::basic_string<Char>& text,
                                   const std::basic_string<Char>& section,
                                   const std::basic_string<Char>& key,
                                   const std::basic_string<Char>& value) {
  using String = std::basic_string<Char>;
  const auto lines = ParseLines(text);
  const String lineBreak = LineBreakOf(text);
  const String entry = key + Char{'='} + value;
  std::size_t first = 0, last = 0;
  if (!FindSection(lines, section, &first, &last)) {
    String result = text;
    if (!result.empty() && !IsLineBreak(result.back())) result += lineBreak;
    return result + Char{'['} + section + Char{']'} + lineBreak + entry + lineBreak;
  }
  if (const ProfileLine<Char>* line = FindKey(lines, first, last, key)) {
    return text.substr(0, line->start) + entry + text.substr(line->end);
  }
  // After the section's last non-blank line, or right after its header.
  std::size_t after = first;
  for (std::size_t i = first; i < last; ++i) {
    if (lines[i].kind != ProfileLine<Char>::Kind::kBlank) after = i + 1;
  }
  if (after == 0) {
    const std::size_t start = ContentStart(text);
    return text.substr(0, start) + entry + lineBreak + text.substr(start);
  }
  const ProfileLine<Char>& previous = lines[after - 1];
  if (previous.end == text.size()) return text + lineBreak + entry + lineBreak;
  // Right after the previous line's own break, ahead of any blank lines.
  std::size_t insertAt = previous.end + 1;
  if (text[previous.end] == '\r' && insertAt < text.size() && text[insertAt] == '\n') ++insertAt;
  return text.substr(0, insertAt) + entry + lineBreak + text.substr(insertAt);
}

// Every lookup of a parsed file by name: the first section of each name and, in it, the first key
// of each name, as the linear search above finds them.
template <typename Char>
struct LineIndex {
  using String = std::basic_string<Char>;
  using Keys = std::unordered_map<String, std::size_t>;  // folded name -> line
  std::vector<ProfileLine<Char>> lines;
  Keys unnamed;  // the lines before any header, which an empty section name asks for
  std::unordered_map<String, Keys> sections;

  static String Folded(const String& name) {
    String folded(name.size(), Char{0});
    for (std::size_t i = 0; i < name.size(); ++i) folded[i] = static_cast<Char>(FoldCase(name[i]));
    return folded;
  }

  explicit LineIndex(const String& text) : lines(ParseLines(text)) {
    using Kind = typename ProfileLine<Char>::Kind;
    Keys* current = &unnamed;
    for (std::size_t i = 0; i < lines.size(); ++i) {
      if (lines[i].kind == Kind::kSection) {
        const auto added = sections.try_emplace(Folded(lines[i].name));
        current = added.second ? &added.first->second : nullptr;  // a repeat is never searched
      } else if (lines[i].kind == Kind::kKey && current != nullptr) {
        current->try_emplace(Folded(lines[i].name), i);
      }
    }
  }

  bool Find(const String& section, const String& key, String* value) const {
    const String wanted = Trim(section);
    const Keys* keys = &unnamed;
    if (!wanted.empty()) {
      const auto found = sections.find(Folded(wanted));
      if (found == sections.end()) return false;
      keys = &found->second;
    }
    const auto line = keys->find(Folded(Trim(key)));
    if (line == keys->end() || !lines[line->second].hasValue) return false;
    *value = StripQuotes(lines[line->second].value);
    return true;
  }
};

// UTF-16 files. Their text reaches callers as 8-bit characters of the system code page.
enum class Encoding { kBytes, kUtf16LittleEndian, kUtf16BigEndian };

Encoding EncodingOf(const std::string& text) {
  if (text.compare(0, 2, "\xFF\xFE") == 0) return Encoding::kUtf16LittleEndian;
  if (text.compare(0, 2, "\xFE\xFF") == 0) return Encoding::kUtf16BigEndian;
  return Encoding::kBytes;
}

std::u16string DecodeUtf16(const std::string& text, Encoding encoding) {
  std::u16string units;
  const bool little = encoding == Encoding::kUtf16LittleEndian;
  // An odd last byte is no character.
  for (std::size_t i = 2; i + 1 < text.size(); i += 2) {
    const auto low = static_cast<unsigned char>(text[little ? i : i + 1]);
    const auto high = static_cast<unsigned char>(text[little ? i + 1 : i]);
    units.push_back(static_cast<char16_t>(low | (high << 8)));
  }
  return units;
}

std::string EncodeUtf16(const std::u16string& units, Encoding encoding) {
  const bool little = encoding == Encoding::kUtf16LittleEndian;
  std::string text = little ? "\xFF\xFE" : "\xFE\xFF";
  for (const char16_t unit : units) {
    const char low = static_cast<char>(unit & 0xFF), high = static_cast<char>(unit >> 8);
    text += little ? low : high;
    text += little ? high : low;
  }
  return text;
}

void AppendUnits(std::u16string* units, std::uint32_t code) {
  if (code < 0x10000) {
    units->push_back(static_cast<char16_t>(code));
  } else {
    code -= 0x10000;
    units->push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
    units->push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
  }
}

// One UTF-8 sequence at `i`: its code point and length, or length 0 when it is not well formed.
std::uint32_t DecodeUtf8(const std::string& text, std::size_t i, std::size_t* length) {
  const auto byte = [&text](std::size_t at) { return static_cast<unsigned char>(text[at]); };
  const unsigned lead = byte(i);
  const std::size_t count = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
  *length = 0;
  if (count == 0 || lead > 0xF4 || i + count > text.size()) return 0;
  std::uint32_t code = lead & (0x7F >> count);
  for (std::size_t k = 1; k < count; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
    code = (code << 6) | (byte(i + k) & 0x3F);
  }
  const std::uint32_t smallest = count == 2 ? 0x80 : count == 3 ? 0x800 : 0x10000;
  if (code < smallest || code > 0x10FFFF || (code >= 0xD800 && code < 0xE000)) return 0;
  *length = count;
  return code;
}

std::u16string Widen(const std::string& text, ProfileCodePage codePage) {
  std::u16string units;
  for (std::size_t i = 0; i < text.size();) {
    const auto byte = static_cast<unsigned char>(text[i]);
    std::size_t length = 0;
    const std::uint32_t code =
        codePage == ProfileCodePage::kUtf8 && byte >= 0x80 ? DecodeUtf8(text, i, &length) : 0;
    // A byte that is no UTF-8 stands for the code point of its own value.
    AppendUnits(&units, length == 0 ? byte : code);
    i += length == 0 ? 1 : length;
  }
  return units;
}

void AppendUtf8(std::string* text, std::uint32_t code) {
  if (code < 0x80) {
    *text += static_cast<char>(code);
  } else if (code < 0x800) {
    *text += static_cast<char>(0xC0 | (code >> 6));
    *text += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    *text += static_cast<char>(0xE0 | (code >> 12));
    *text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    *text += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    *text += static_cast<char>(0xF0 | (code >> 18));
    *text += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    *text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    *text += static_cast<char>(0x80 | (code & 0x3F));
  }
}

std::string Narrow(const std::u16string& units, ProfileCodePage codePage) {
  std::string text;
  for (std::size_t i = 0; i < units.size(); ++i) {
    const char16_t unit = units[i];
    if (codePage == ProfileCodePage::kWestern) {
      text += unit < 0x100 ? static_cast<char>(unit) : '?';
    } else if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
               units[i + 1] < 0xE000) {
      const std::uint32_t high = unit - 0xD800u;
      const std::uint32_t low = units[++i] - 0xDC00u;
      AppendUtf8(&text, 0x10000 + (high << 10) + low);
    } else {
      AppendUtf8(&text, unit >= 0xD800 && unit < 0xE000 ? '?' : unit);  // a lone half
    }
  }
  return text;
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

// What a read gives once the value was looked for.
std::string StringResult(bool found, std::string value, const std::string& defaultValue,
                         std::size_t bufferSize) {
  if (!found) {
    value = defaultValue;
    // The system drops the default's trailing blanks but always keeps its first character.
    while (value.size() > 1 && value.back() == ' ') value.pop_back();
  }
  return CutToBuffer(value, bufferSize);
}

int IntResult(const std::string& value, int defaultValue) {
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

}  // namespace

struct ParsedProfile::Index {
  Encoding encoding = Encoding::kBytes;
  std::unique_ptr<LineIndex<char>> bytes;
  std::unique_ptr<LineIndex<char16_t>> wide;
};

ParsedProfile::ParsedProfile(std::string text, ProfileCodePage codePage)
    : text_(std::move(text)), codePage_(codePage), index_(std::make_unique<Index>()) {
  index_->encoding = EncodingOf(text_);
  if (index_->encoding == Encoding::kBytes) {
    index_->bytes = std::make_unique<LineIndex<char>>(text_);
  } else {
    index_->wide = std::make_unique<LineIndex<char16_t>>(DecodeUtf16(text_, index_->encoding));
  }
}

ParsedProfile::~ParsedProfile() = default;

bool ParsedProfile::Find(const std::string& section, const std::string& key,
                         std::string* value) const {
  if (index_->bytes) return index_->bytes->Find(section, key, value);
  std::u16string wide;
  if (!index_->wide->Find(Widen(section, codePage_), Widen(key, codePage_), &wide)) return false;
  *value = Narrow(wide, codePage_);
  return true;
}

std::string ParsedProfile::ReadString(const std::string& section, const std::string& key,
                                      const std::string& defaultValue,
                                      std::size_t bufferSize) const {
  std::string value;
  const bool found = Find(section, key, &value);
  return StringResult(found, std::move(value), defaultValue, bufferSize);
}

int ParsedProfile::ReadInt(const std::string& section, const std::string& key,
                           int defaultValue) const {
  return IntResult(ReadString(section, key, "", kProfileIntBufferSize), defaultValue);
}

bool FindProfileValue(const std::string& text, const std::string& section, const std::string& key,
                      std::string* value, ProfileCodePage codePage) {
  const Encoding encoding = EncodingOf(text);
  if (encoding == Encoding::kBytes) return FindValue(text, section, key, value);
  std::u16string wide;
  if (!FindValue(DecodeUtf16(text, encoding), Widen(section, codePage), Widen(key, codePage),
                 &wide)) {
    return false;
  }
  *value = Narrow(wide, codePage);
  return true;
}

std::string ReadProfileStringFromText(const std::string& text, const std::string& section,
                                      const std::string& key, const std::string& defaultValue,
                                      std::size_t bufferSize, ProfileCodePage codePage) {
  std::string value;
  const bool found = FindProfileValue(text, section, key, &value, codePage);
  return StringResult(found, std::move(value), defaultValue, bufferSize);
}

int ReadProfileIntFromText(const std::string& text, const std::string& section,
                           const std::string& key, int defaultValue, ProfileCodePage codePage) {
  return IntResult(
      ReadProfileStringFromText(text, section, key, "", kProfileIntBufferSize, codePage),
      defaultValue);
}

std::string WriteProfileStringToText(const std::string& text, const std::string& section,
                                     const std::string& key, const std::string& value,
                                     ProfileCodePage codePage) {
  const Encoding encoding = EncodingOf(text);
  if (encoding == Encoding::kBytes) return WriteValue(text, section, key, value);
  const std::u16string written = WriteValue(DecodeUtf16(text, encoding), Widen(section, codePage),
                                            Widen(key, codePage), Widen(value, codePage));
  // A stray last byte is no character, but it stays.
  return EncodeUtf16(written, encoding) +
         (text.size() % 2 == 1 ? text.substr(text.size() - 1) : "");
}

}  // namespace platform
