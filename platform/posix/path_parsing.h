// A Windows path taken apart before any lookup: its kind, its prefix and its components, with
// "." and ".." taken away as Windows takes them.
#pragma once

#include <string>
#include <vector>

namespace platform {

struct ParsedPath {
  enum class Kind {
    kHost,      // starts with "/": a host path already
    kDrive,     // "X:..."
    kNoVolume,  // rooted without a drive ("\x"), or a network share
    kRelative   // taken relative to the current directory
  } kind = Kind::kRelative;
  std::string prefix;  // "X:" or the leading separator; "" for the others
  std::vector<std::string> components;
  bool trailingSeparator = false;
};
ParsedPath ParseWindowsPath(const std::string& windowsPath);

bool IsPathSeparator(char c);

}  // namespace platform
