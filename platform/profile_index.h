// The one lookup of profile files by name, for reads and writes alike: the first section of each
// name and, in it, the first key of each name, letter case and surrounding blanks aside.
#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/profile_lines.h"

namespace platform {

template <typename Char>
class ProfileIndex {
 public:
  using String = std::basic_string<Char>;
  using Line = ProfileLine<Char>;

  struct Section {
    std::size_t first = 0;  // index of the first line after the header
    std::size_t last = 0;   // index of the next header, or the number of lines
    std::unordered_map<String, std::size_t> keys;  // folded name -> line
  };

  explicit ProfileIndex(const String& text);

  const std::vector<Line>& Lines() const { return lines_; }
  // The section `name` asks for; the lines before any header for an empty name. Null when the
  // file has none of that name.
  const Section* FindSection(const String& name) const;
  // The key line of `key` in `section`, or null.
  const Line* FindKey(const Section& section, const String& key) const;
  // The key's value, outer quotes removed; false when the section or key is missing or the key's
  // line has no "=".
  bool FindValue(const String& section, const String& key, String* value) const;

 private:
  std::vector<Line> lines_;
  Section unnamed_;
  std::unordered_map<String, Section> sections_;  // folded name -> first section of that name
};

extern template class ProfileIndex<char>;
extern template class ProfileIndex<char16_t>;

}  // namespace platform
