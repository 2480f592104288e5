#include "platform/file.h"

#include <windows.h>

#include <algorithm>

namespace platform {

struct File::Impl {
  HANDLE handle = INVALID_HANDLE_VALUE;
};

File::File() : impl_(std::make_unique<Impl>()) {}

File::~File() {
  Close();
}

bool File::Open(const std::string& path, Mode mode) {
  return OpenResolved(path, mode);
}

bool File::OpenResolved(const std::string& path, Mode mode) {
  Close();
  DWORD access = GENERIC_READ | GENERIC_WRITE;
  DWORD share = FILE_SHARE_READ;
  DWORD disposition = OPEN_EXISTING;
  switch (mode) {
    case Mode::kRead:
      access = GENERIC_READ;
      break;
    case Mode::kReadShared:
      access = GENERIC_READ;
      share = FILE_SHARE_READ | FILE_SHARE_WRITE;
      break;
    case Mode::kReadWrite:
      disposition = OPEN_ALWAYS;
      break;
    case Mode::kCreate:
      disposition = CREATE_ALWAYS;
      break;
    case Mode::kCreateExclusive:
      disposition = CREATE_NEW;
      break;
  }
  impl_->handle = CreateFileA(path.c_str(), access, share, nullptr, disposition,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  return impl_->handle != INVALID_HANDLE_VALUE;
}

void File::Close() {
  if (impl_->handle != INVALID_HANDLE_VALUE) CloseHandle(impl_->handle);
  impl_->handle = INVALID_HANDLE_VALUE;
}

bool File::IsOpen() const {
  return impl_->handle != INVALID_HANDLE_VALUE;
}

std::size_t File::Read(void* buffer, std::size_t count) {
  if (!IsOpen()) return 0;
  auto* bytes = static_cast<char*>(buffer);
  std::size_t total = 0;
  while (total < count) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(count - total, 1u << 30));
    DWORD got = 0;
    if (!ReadFile(impl_->handle, bytes + total, chunk, &got, nullptr)) return 0;
    if (got == 0) break;
    total += got;
  }
  return total;
}

bool File::Flush() {
  return IsOpen() && FlushFileBuffers(impl_->handle) != FALSE;
}

bool File::Write(const void* buffer, std::size_t count) {
  if (!IsOpen()) return false;
  const auto* bytes = static_cast<const char*>(buffer);
  std::size_t total = 0;
  while (total < count) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(count - total, 1u << 30));
    DWORD put = 0;
    if (!WriteFile(impl_->handle, bytes + total, chunk, &put, nullptr) || put == 0) {
      return false;
    }
    total += put;
  }
  return true;
}

bool File::Seek(std::uint64_t offset) {
  LARGE_INTEGER distance;
  distance.QuadPart = static_cast<LONGLONG>(offset);
  return IsOpen() && offset <= static_cast<std::uint64_t>(INT64_MAX) &&
         SetFilePointerEx(impl_->handle, distance, nullptr, FILE_BEGIN) != FALSE;
}

bool File::SeekToEnd() {
  LARGE_INTEGER zero;
  zero.QuadPart = 0;
  return IsOpen() && SetFilePointerEx(impl_->handle, zero, nullptr, FILE_END) != FALSE;
}

std::uint64_t File::Length() const {
  LARGE_INTEGER size;
  if (!IsOpen() || !GetFileSizeEx(impl_->handle, &size)) return UINT64_MAX;
  return static_cast<std::uint64_t>(size.QuadPart);
}

bool File::CopyTimeStampsFrom(const File& source) {
  FILETIME created, accessed, written;
  return IsOpen() && source.IsOpen() &&
         GetFileTime(source.impl_->handle, &created, &accessed, &written) != FALSE &&
         SetFileTime(impl_->handle, &created, &accessed, &written) != FALSE;
}

std::uint64_t File::Position() const {
  LARGE_INTEGER zero;
  zero.QuadPart = 0;
  LARGE_INTEGER position;
  if (!IsOpen() || !SetFilePointerEx(impl_->handle, zero, &position, FILE_CURRENT)) {
    return UINT64_MAX;
  }
  return static_cast<std::uint64_t>(position.QuadPart);
}

}  // namespace platform
