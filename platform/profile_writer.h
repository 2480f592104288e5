// How WritePrivateProfileStringA changes a file's text, in characters of either width.
#pragma once

#include <string>

namespace platform {

// The text with `key` set to `value` in `section`: the key's line replaced, or a new line added
// at the end of the section, or a new section at the end of the text; every other character kept.
template <typename Char>
std::basic_string<Char> WriteProfileLine(const std::basic_string<Char>& text,
                                         const std::basic_string<Char>& section,
                                         const std::basic_string<Char>& key,
                                         const std::basic_string<Char>& value);

}  // namespace platform
