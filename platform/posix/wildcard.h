// File-name patterns as FindFirstFileA matches them.
#pragma once

#include <string>

namespace platform {

// True when `name` matches `pattern`: "*" any run of characters, "?" one character, letter case
// ignored; a trailing ".*" also matches names without an extension ("*.*" matches every name)
// and a trailing "." matches only names without a dot.
bool MatchesWildcard(const std::string& pattern, const std::string& name);

bool HasWildcards(const std::string& pattern);

}  // namespace platform
