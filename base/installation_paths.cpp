#include "base/installation_paths.h"

#include "platform/file_system.h"
#include "platform/special_folders.h"

namespace {

std::string ShortFormOf(platform::SpecialFolder folder) {
  const std::string longForm = platform::GetSpecialFolder(folder, true);
  const std::string shortForm = platform::GetShortPathForm(longForm);
  // Without a short form the long one still names the folder.
  return shortForm.empty() ? longForm : shortForm;
}

// A folder the system does not name stays empty: a lone backslash would be the current drive's
// root.
std::string FolderWithBackslash(platform::SpecialFolder folder) {
  const std::string path = ShortFormOf(folder);
  return path.empty() ? path : path + "\\";
}

}  // namespace

bool FindMakerFolder(std::string* folder) {
  const std::string programFiles = ShortFormOf(platform::SpecialFolder::kProgramFiles);
  if (programFiles.empty()) {
    return false;
  }
  *folder = programFiles + "\\Pelmo\\";
  return true;
}

std::string GetDesktopFolder() {
  return FolderWithBackslash(platform::SpecialFolder::kDesktop);
}

std::string GetProgramsFolder() {
  return FolderWithBackslash(platform::SpecialFolder::kPrograms);
}
