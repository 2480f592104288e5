#include "platform/volume_flush.h"

#include <windows.h>

namespace platform {

bool FlushVolume(const std::string& path) {
  char root[MAX_PATH];
  if (GetVolumePathNameA(path.c_str(), root, MAX_PATH) == FALSE) return false;
  // "D:\" names the folder; "\\.\D:" the volume itself.
  std::string volume = std::string("\\\\.\\") + root;
  while (!volume.empty() && volume.back() == '\\') volume.pop_back();
  const HANDLE handle =
      CreateFileA(volume.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  nullptr, OPEN_EXISTING, 0, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  const bool flushed = FlushFileBuffers(handle) != FALSE;
  const DWORD error = GetLastError();
  CloseHandle(handle);
  SetLastError(error);
  return flushed;
}

}  // namespace platform
