// Paths of the build as the Windows test program sees them.
#pragma once

#include <algorithm>
#include <string>

// Under wine the host's file system is drive Z; a native build already has Windows paths.
inline std::string FromBuildPath(std::string path) {
  if (!path.empty() && path[0] == '/') path = "Z:" + path;
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}
