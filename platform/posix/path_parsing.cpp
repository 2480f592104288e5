#include "platform/posix/path_parsing.h"

#include "platform/ascii_characters.h"
#include "platform/posix/volume_map.h"

namespace platform {

bool IsPathSeparator(char c) {
  return c == '\\' || c == '/';
}

ParsedPath ParseWindowsPath(const std::string& windowsPath) {
  ParsedPath parsed;
  std::size_t position = 0;
  if (!windowsPath.empty() && windowsPath[0] == '/') {
    // A host path: backslashes in it separate components too (a host folder with a relative
    // Windows path appended), and ".." is left to the host, which knows its links.
    parsed.kind = ParsedPath::Kind::kHost;
  } else if (windowsPath.size() >= 2 && windowsPath[1] == ':' && IsAsciiLetter(windowsPath[0])) {
    parsed.kind = ParsedPath::Kind::kDrive;
    parsed.prefix = windowsPath.substr(0, 2);
    position = 2;
  } else if (!windowsPath.empty() && IsPathSeparator(windowsPath[0])) {
    parsed.kind = ParsedPath::Kind::kNoVolume;
    parsed.prefix = windowsPath.substr(0, 1);
  }
  const bool host = parsed.kind == ParsedPath::Kind::kHost;
  std::vector<std::string>& components = parsed.components;
  while (position < windowsPath.size()) {
    std::size_t end = position;
    while (end < windowsPath.size() && !IsPathSeparator(windowsPath[end])) ++end;
    const std::string component = windowsPath.substr(position, end - position);
    position = end + 1;
    if (component.empty() || component == ".") continue;
    if (component == ".." && !host && !components.empty() && components.back() != "..") {
      components.pop_back();
    } else if (component != ".." || host || parsed.prefix.empty()) {
      components.push_back(component);
    }
  }
  parsed.trailingSeparator = !windowsPath.empty() && IsPathSeparator(windowsPath.back());
  return parsed;
}

std::string WithoutTrailingSlashes(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

std::string HostParentOf(const std::string& hostPath) {
  const std::string path = WithoutTrailingSlashes(hostPath);
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace platform
