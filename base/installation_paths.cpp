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
  return ShortFormOf(platform::SpecialFolder::kDesktop) + "\\";
}

std::string GetProgramsFolder() {
  return ShortFormOf(platform::SpecialFolder::kPrograms) + "\\";
}
