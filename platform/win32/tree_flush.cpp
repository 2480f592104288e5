#include "platform/tree_flush.h"

#include <windows.h>

#include "platform/path_split.h"

namespace platform {
namespace {

// FlushFileBuffers of a file or folder, which takes a handle that may write. A read-only file
// is made writable for the moment.
bool FlushPath(const std::string& path, bool folder) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  const bool readOnly = !folder && attributes != INVALID_FILE_ATTRIBUTES &&
                        (attributes & FILE_ATTRIBUTE_READONLY) != 0;
  if (readOnly)
    SetFileAttributesA(path.c_str(), attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
  const HANDLE handle =
      CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                  folder ? FILE_FLAG_BACKUP_SEMANTICS : 0, nullptr);
  const bool flushed = handle != INVALID_HANDLE_VALUE && FlushFileBuffers(handle) != FALSE;
  const DWORD error = GetLastError();
  if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
  if (readOnly) SetFileAttributesA(path.c_str(), attributes);
  SetLastError(error);
  return flushed;
}

bool FlushBelow(const std::string& folder) {
  WIN32_FIND_DATAA found;
  const HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  bool flushed = true;
  do {
    const std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    const bool isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    flushed =
        (isFolder ? FlushBelow(folder + "\\" + name) : FlushPath(folder + "\\" + name, false));
  } while (flushed && FindNextFileA(search, &found) != FALSE);
  // The reason a flush failed, or why the listing stopped: only its end means every entry.
  const DWORD error = GetLastError();
  FindClose(search);
  SetLastError(error);
  return flushed && error == ERROR_NO_MORE_FILES && FlushPath(folder, true);
}

bool FlushVolume(const std::string& root) {
  // "D:\" names the folder; "\\.\D:" the volume itself.
  std::string volume = "\\\\.\\" + root;
  while (!volume.empty() && volume.back() == '\\') volume.pop_back();
  const HANDLE handle =
      CreateFileA(volume.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  nullptr, OPEN_EXISTING, 0, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  const bool flushed = FlushFileBuffers(handle) != FALSE;
  CloseHandle(handle);
  return flushed;
}

}  // namespace

bool FlushTree(const std::string& folder) {
  std::string path = WithoutTrailingSeparators(folder, 3);
  char root[MAX_PATH];
  if (GetVolumePathNameA(path.c_str(), root, MAX_PATH) == FALSE) return false;
  // The volume's flush would succeed for a folder that is not there.
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    SetLastError(ERROR_DIRECTORY);
    return false;
  }
  const std::string volumeRoot = root;
  if (FlushVolume(volumeRoot)) return true;
  if (!FlushBelow(path)) return false;
  // The folder's entry lies in its parent, and so on up to the volume's root, which holds the
  // entry of the topmost folder an update may have made.
  while (path.size() > volumeRoot.size()) {
    const std::size_t separator = FindLastSeparator(path);
    if (separator == std::string::npos) break;
    path = separator < volumeRoot.size() ? volumeRoot : path.substr(0, separator);
    if (!FlushPath(path, true)) return false;
  }
  return true;
}

}  // namespace platform
