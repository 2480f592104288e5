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

const std::string& GetMakerFolder() {
  static const std::string folder =
      ShortFormOf(platform::SpecialFolder::kProgramFiles) + "\\Pelmo\\";
  return folder;
}

const std::string& GetDesktopFolder() {
  static const std::string folder = ShortFormOf(platform::SpecialFolder::kDesktop) + "\\";
  return folder;
}

const std::string& GetProgramsFolder() {
  static const std::string folder = ShortFormOf(platform::SpecialFolder::kPrograms) + "\\";
  return folder;
}
