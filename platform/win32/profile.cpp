#include "platform/profile.h"

#include <windows.h>

#include <vector>

#include "platform/file.h"
#include "platform/file_system.h"
#include "platform/profile_path.h"

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
  // The copy and the rename must reach the file the system's writer would change.
  const std::string path = ProfilePath(file);
  const std::string copy = path + ".tmp";
  DeleteFileA(copy.c_str());
  if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
    if (!CopyFileA(path.c_str(), copy.c_str(), FALSE)) return false;
  } else if (!LastErrorMeansMissing()) {
    // A file that cannot be looked at is not a new one: starting afresh would drop its keys.
    return false;
  }
  bool written = WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(),
                                            copy.c_str()) != FALSE;
  // The call with no section flushes the system's cached copy of the file; it returns FALSE
  // whenever it flushes, so its result says nothing.
  if (written) {
    static_cast<void>(WritePrivateProfileStringA(nullptr, nullptr, nullptr, copy.c_str()));
    written = FlushFile(copy);
  }
  written = written && ReplaceFileAtomically(copy, path);
  if (!written) {
    const DWORD error = GetLastError();
    DeleteFileA(copy.c_str());
    SetLastError(error);
  }
  return written;
}

}  // namespace platform
