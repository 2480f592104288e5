#include "platform/profile_path.h"

#include "platform/special_folders.h"

namespace platform {

std::string ProfilePath(const std::string& file) {
  if (file.empty() || file.find_first_of("\\/:") != std::string::npos) return file;
  return GetSpecialFolder(SpecialFolder::kWindows, false) + "\\" + file;
}

}  // namespace platform
