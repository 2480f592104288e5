#include "platform/profile.h"

#include <windows.h>

#include <vector>

#include "platform/file.h"
#include "platform/file_system.h"

// windows.h maps this name onto the system's own function.
#undef WriteProfileString

namespace platform {

std::string ReadProfileString(const std::string& section, const std::string& key,
                              const std::string& defaultValue, const std::string& file,
                              std::size_t bufferSize) {
  if (bufferSize == 0) return "";
  std::vector<char> buffer(bufferSize, '\0');
  const DWORD length =
      GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(), buffer.data(),
                               static_cast<DWORD>(bufferSize), file.c_str());
  return std::string(buffer.data(), length);
}

// The system's reader says nothing of a file it could not read: read it whole here.
bool IsProfileReadable(const std::string& file) {
  File opened;
  if (!opened.Open(file, File::Mode::kReadShared)) {
    const std::uint32_t error = LastErrorCode();
    return error == kErrorFileNotFound || error == kErrorPathNotFound;
  }
  std::string bytes;
  return ReadToEnd(opened, &bytes);
}

int ReadProfileInt(const std::string& section, const std::string& key, int defaultValue,
                   const std::string& file) {
  return static_cast<int>(
      GetPrivateProfileIntA(section.c_str(), key.c_str(), defaultValue, file.c_str()));
}

bool WriteProfileString(const std::string& section, const std::string& key,
                        const std::string& value, const std::string& file) {
  return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.c_str()) !=
         FALSE;
}

bool WriteProfileStringAtomically(const std::string& section, const std::string& key,
                                  const std::string& value, const std::string& file) {
  const std::string copy = file + ".tmp";
  DeleteFileA(copy.c_str());
  if (GetFileAttributesA(file.c_str()) != INVALID_FILE_ATTRIBUTES &&
      !CopyFileA(file.c_str(), copy.c_str(), FALSE)) {
    return false;
  }
  bool written = WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(),
                                            copy.c_str()) != FALSE;
  // The call with no section flushes the system's cached copy of the file; it returns FALSE
  // whenever it flushes, so its result says nothing.
  if (written) {
    static_cast<void>(WritePrivateProfileStringA(nullptr, nullptr, nullptr, copy.c_str()));
    const HANDLE handle = CreateFileA(copy.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    written = handle != INVALID_HANDLE_VALUE && FlushFileBuffers(handle) != FALSE;
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
  }
  written = written && MoveFileExA(copy.c_str(), file.c_str(),
                                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
  if (!written) DeleteFileA(copy.c_str());
  return written;
}

}  // namespace platform
