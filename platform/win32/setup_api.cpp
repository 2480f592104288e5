#include "platform/setup_api.h"

// clang-format off
#include <windows.h>
#include <setupapi.h>
// clang-format on

#include "platform/file_system.h"
#include "platform/path_split.h"

namespace platform {

bool InstallFile(const std::string& sourceFile, const std::string& destination) {
  // A folder takes the source's file name; anything else is the target file itself.
  std::string target = destination;
  if (EndsWithSeparator(target) || (!target.empty() && IsDirectory(target))) {
    target = WithTrailingSeparator(target) + FileNameOf(sourceFile);
  }
  return SetupInstallFileA(nullptr, nullptr, sourceFile.c_str(), nullptr, target.c_str(),
                           SP_COPY_SOURCE_ABSOLUTE, nullptr, nullptr) != FALSE;
}

bool RegisterInformationFile(const std::string& infFile) {
  char copiedName[MAX_PATH] = {};
  return SetupCopyOEMInfA(infFile.c_str(), nullptr, SPOST_PATH, 0, copiedName, MAX_PATH, nullptr,
                          nullptr) != FALSE;
}

std::string SystemErrorText(std::uint32_t code) {
  char buffer[1024] = {};
  DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                code, 0, buffer, sizeof buffer, nullptr);
  while (length > 0 && (buffer[length - 1] == '\n' || buffer[length - 1] == '\r')) --length;
  return std::string(buffer, length);
}

}  // namespace platform
