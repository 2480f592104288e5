#include "app/compact_flash.h"

#include <optional>

#include "base/setup_run.h"
#include "platform/file_system.h"

namespace {

const std::string kPlaceholder = "CFCard:";

}  // namespace

char FindCompactFlashDrive() {
  for (char drive = 'D'; drive <= 'Z'; ++drive) {
    if (platform::PathExists(std::string(1, drive) + ":\\cfinfo.sys")) {
      return drive;
    }
  }
  return '\0';
}

void ReplaceCompactFlashPlaceholder(std::string* path, char drive) {
  if (drive == '\0') {
    path->clear();
    return;
  }
  const std::string replacement = std::string(1, drive) + ":";
  for (std::size_t at = path->find(kPlaceholder); at != std::string::npos;
       at = path->find(kPlaceholder, at + replacement.size())) {
    path->replace(at, kPlaceholder.size(), replacement);
  }
}

bool ResolveCompactFlash(SetupRun& run, std::string* path) {
  if (path->find(kPlaceholder) == std::string::npos) {
    return false;
  }
  std::optional<char>& drive = run.compactFlashDrive;
  if (!drive) {
    drive = FindCompactFlashDrive();
  }
  ReplaceCompactFlashPlaceholder(path, *drive);
  return true;
}
