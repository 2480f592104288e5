// The root folder of the volume map, and the way back from a host path to a Windows one.
#include <climits>
#include <cstdlib>

#include "platform/ascii_characters.h"
#include "platform/posix/volume_map.h"

namespace platform {
namespace {

std::string g_explicitRoot;
bool g_rootSet = false;

std::string CanonicalHostPath(const std::string& path) {
  char buffer[PATH_MAX];
  return realpath(path.c_str(), buffer) != nullptr ? buffer : path;
}

}  // namespace

void SetVolumeRoot(const std::string& root) {
  g_explicitRoot = root;
  while (g_explicitRoot.size() > 1 && g_explicitRoot.back() == '/') g_explicitRoot.pop_back();
  g_rootSet = true;
  // Programs this process starts (a payload) must work on the same machine.
  if (g_explicitRoot.empty()) {
    unsetenv(kVolumeRootVariable);
  } else {
    setenv(kVolumeRootVariable, g_explicitRoot.c_str(), 1);
  }
}

const std::string& GetVolumeRoot() {
  if (g_rootSet) return g_explicitRoot;
  static std::string fromEnvironment;
  const char* value = std::getenv(kVolumeRootVariable);
  fromEnvironment = value != nullptr ? value : "";
  while (fromEnvironment.size() > 1 && fromEnvironment.back() == '/') fromEnvironment.pop_back();
  return fromEnvironment;
}

std::string ToWindowsPath(const std::string& hostPath) {
  if (GetVolumeRoot().empty()) return "";
  const std::string root = CanonicalHostPath(GetVolumeRoot()) + "/";
  const std::string path = CanonicalHostPath(hostPath);
  if (path.compare(0, root.size(), root) != 0) return "";
  std::string rest = path.substr(root.size());
  if (rest.empty() || !IsAsciiLetter(rest[0]) || (rest.size() > 1 && rest[1] != '/')) {
    return "";
  }
  std::string windowsPath = std::string(1, ToAsciiUpper(rest[0])) + ":\\";
  if (rest.size() > 2) windowsPath += rest.substr(2);
  for (char& c : windowsPath) {
    if (c == '/') c = '\\';
  }
  return windowsPath;
}

}  // namespace platform
