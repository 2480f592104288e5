#include "platform/profile_index.h"

namespace platform {
namespace {

template <typename Char>
std::basic_string<Char> StripQuotes(const std::basic_string<Char>& value) {
  if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0]) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

}  // namespace

template <typename Char>
ProfileIndex<Char>::ProfileIndex(const String& text) : lines_(ParseProfileLines(text)) {
  Section repeated;  // the lines of a repeated section, which no query reaches
  Section* current = &unnamed_;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (lines_[i].kind == Line::Kind::kSection) {
      current->last = i;
      const auto added = sections_.try_emplace(AsciiLowerCase(lines_[i].name));
      current = added.second ? &added.first->second : &repeated;
      current->first = i + 1;
    } else if (lines_[i].kind == Line::Kind::kKey) {
      current->keys.try_emplace(AsciiLowerCase(lines_[i].name), i);
    }
  }
  current->last = lines_.size();
}

template <typename Char>
const typename ProfileIndex<Char>::Section* ProfileIndex<Char>::FindSection(
    const String& name) const {
  const String wanted = TrimProfileSpace(name);
  if (wanted.empty()) return &unnamed_;
  const auto found = sections_.find(AsciiLowerCase(wanted));
  return found == sections_.end() ? nullptr : &found->second;
}

template <typename Char>
const typename ProfileIndex<Char>::Line* ProfileIndex<Char>::FindKey(const Section& section,
                                                                     const String& key) const {
  const auto line = section.keys.find(AsciiLowerCase(TrimProfileSpace(key)));
  return line == section.keys.end() ? nullptr : &lines_[line->second];
}

template <typename Char>
bool ProfileIndex<Char>::FindValue(const String& section, const String& key, String* value) const {
  const Section* found = FindSection(section);
  const Line* line = found == nullptr ? nullptr : FindKey(*found, key);
  if (line == nullptr || !line->hasValue) return false;
  *value = StripQuotes(line->value);
  return true;
}

template class ProfileIndex<char>;
template class ProfileIndex<char16_t>;

}  // namespace platform
