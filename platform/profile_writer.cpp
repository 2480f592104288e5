#include "platform/profile_writer.h"

#include "platform/profile_index.h"

namespace platform {
namespace {

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

}  // namespace

template <typename Char>
std::basic_string<Char> WriteProfileLine(const std::basic_string<Char>& text,
                                         const std::basic_string<Char>& section,
                                         const std::basic_string<Char>& key,
                                         const std::basic_string<Char>& value) {
  using String = std::basic_string<Char>;
  const ProfileIndex<Char> index(text);
  const String lineBreak = LineBreakOf(text);
  const String entry = key + Char{'='} + value;
  const auto* found = index.FindSection(section);
  if (found == nullptr) {
    String result = text;
    if (!result.empty() && !IsLineBreak(result.back())) result += lineBreak;
    return result + Char{'['} + section + Char{']'} + lineBreak + entry + lineBreak;
  }
  if (const ProfileLine<Char>* line = index.FindKey(*found, key)) {
    return text.substr(0, line->start) + entry + text.substr(line->end);
  }
  // After the section's last non-blank line, or right after its header.
  const auto& lines = index.Lines();
  std::size_t after = found->first;
  for (std::size_t i = found->first; i < found->last; ++i) {
    if (lines[i].kind != ProfileLine<Char>::Kind::kBlank) after = i + 1;
  }
  if (after == 0) {
    const std::size_t start = ProfileContentStart(text);
    return text.substr(0, start) + entry + lineBreak + text.substr(start);
  }
  const ProfileLine<Char>& previous = lines[after - 1];
  if (previous.end == text.size()) return text + lineBreak + entry + lineBreak;
  // Right after the previous line's own break, ahead of any blank lines.
  std::size_t insertAt = previous.end + 1;
  if (text[previous.end] == '\r' && insertAt < text.size() && text[insertAt] == '\n') ++insertAt;
  return text.substr(0, insertAt) + entry + lineBreak + text.substr(insertAt);
}

template std::string WriteProfileLine(const std::string&, const std::string&, const std::string&,
                                      const std::string&);
template std::u16string WriteProfileLine(const std::u16string&, const std::u16string&,
                                         const std::u16string&, const std::u16string&);

}  // namespace platform
