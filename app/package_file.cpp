#include "app/package_file.h"

#include "platform/process.h"

namespace {

std::string& ChosenPackageFile() {
  static std::string path;
  return path;
}

}  // namespace

std::string GetPackageFile() {
  const std::string& chosen = ChosenPackageFile();
  return chosen.empty() ? platform::GetExecutablePath() : chosen;
}

void SetPackageFile(const std::string& path) {
  ChosenPackageFile() = path;
}
