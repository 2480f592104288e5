// Driver files are copied into place; a setup information file is registered by copying it into
// the Windows INF folder as the next free oemN.inf, unless the same file is there already.
#include "platform/setup_api.h"

#include <vector>

#include "platform/file.h"
#include "platform/file_system.h"
#include "platform/path_split.h"
#include "platform/posix/last_error.h"
#include "platform/special_folders.h"

namespace platform {
namespace {

bool ReadBytes(const std::string& path, std::string* bytes) {
  File file;
  if (!file.Open(path, File::Mode::kReadShared)) return false;
  char buffer[65536];
  bytes->clear();
  while (const std::size_t got = file.Read(buffer, sizeof buffer)) bytes->append(buffer, got);
  return true;
}

}  // namespace

bool InstallFile(const std::string& sourceFile, const std::string& destination) {
  std::string target = destination;
  if (EndsWithSeparator(target) || (!target.empty() && IsDirectory(target))) {
    target = WithTrailingSeparator(target) + FileNameOf(sourceFile);
  }
  return CopyOneFile(sourceFile, target, false);
}

bool RegisterInformationFile(const std::string& infFile) {
  std::string contents;
  if (!ReadBytes(infFile, &contents)) return false;
  const std::string windows = GetSpecialFolder(SpecialFolder::kWindows, true);
  if (windows.empty()) return false;
  const std::string infFolder = windows + "\\INF";
  if (!IsDirectory(infFolder) && !MakeDirectory(infFolder)) return false;
  for (unsigned number = 0;; ++number) {
    const std::string candidate = infFolder + "\\oem" + std::to_string(number) + ".inf";
    std::string existing;
    if (!PathExists(candidate)) return CopyOneFile(infFile, candidate, true);
    if (ReadBytes(candidate, &existing) && existing == contents) return true;
  }
}

std::string SystemErrorText(std::uint32_t code) {
  struct Text {
    std::uint32_t code;
    const char* text;
  };
  static const Text kTexts[] = {
      {0, "The operation completed successfully."},
      {kErrorFileNotFound, "The system cannot find the file specified."},
      {kErrorPathNotFound, "The system cannot find the path specified."},
      {kErrorAccessDenied, "Access is denied."},
      {kErrorSharingViolation,
       "The process cannot access the file because it is being used by another process."},
      {kErrorFileExists, "The file exists."},
      {kErrorInvalidParameter, "The parameter is incorrect."},
      {kErrorDiskFull, "There is not enough space on the disk."},
      {kErrorDirectoryNotEmpty, "The directory is not empty."},
      {kErrorAlreadyExists, "Cannot create a file when that file already exists."},
      {193, "%1 is not a valid Win32 application."},
      {kErrorNotADirectory, "The directory name is invalid."},
      {kErrorIoDevice, "The request could not be performed because of an I/O device error."},
  };
  for (const Text& text : kTexts) {
    if (text.code == code) return text.text;
  }
  return "";
}

}  // namespace platform
