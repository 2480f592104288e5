#include "platform/file_identity.h"

// clang-format off
#include <windows.h>
// clang-format on

namespace platform {
namespace {

bool IdentityOf(const std::string& path, BY_HANDLE_FILE_INFORMATION* information) {
  const HANDLE file =
      CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const bool known = GetFileInformationByHandle(file, information) != FALSE;
  CloseHandle(file);
  return known;
}

// A Windows API call that fills a buffer: the text, or "" on failure.
template <typename Call>
std::string Filled(Call call) {
  std::string buffer(MAX_PATH, '\0');
  DWORD length = call(&buffer[0], static_cast<DWORD>(buffer.size()));
  if (length >= buffer.size()) {
    buffer.resize(length);
    length = call(&buffer[0], static_cast<DWORD>(buffer.size()));
  }
  if (length == 0 || length >= buffer.size()) return "";
  buffer.resize(length);
  return buffer;
}

}  // namespace

bool IsSameFile(const std::string& first, const std::string& second) {
  BY_HANDLE_FILE_INFORMATION one, other;
  return IdentityOf(first, &one) && IdentityOf(second, &other) &&
         one.dwVolumeSerialNumber == other.dwVolumeSerialNumber &&
         one.nFileIndexHigh == other.nFileIndexHigh && one.nFileIndexLow == other.nFileIndexLow;
}

bool CopyPermissions(const std::string&, const std::string&) {
  return true;
}

std::string HostPathOf(const std::string& path) {
  const std::string full = Filled([&path](char* buffer, DWORD size) {
    return GetFullPathNameA(path.c_str(), size, buffer, nullptr);
  });
  if (full.empty()) return "";
  return Filled(
      [&full](char* buffer, DWORD size) { return GetLongPathNameA(full.c_str(), buffer, size); });
}

}  // namespace platform
