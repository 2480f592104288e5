// The payload file on Windows: created with CREATE_NEW and no sharing, written, then held open
// for reading with writing and deletion denied until the process has started. The loader cannot
// open a file that anyone holds open for writing, so the lock is taken after the writer lets go;
// the caller reads the content back through the lock to rule out a change in between.
#include "platform/payload_file.h"

#include <windows.h>

#include <cstdio>

namespace platform {

namespace {

constexpr unsigned kNameNumbers = 0x10000;

void CloseFileHandle(HANDLE* handle) {
  if (*handle != INVALID_HANDLE_VALUE) CloseHandle(*handle);
  *handle = INVALID_HANDLE_VALUE;
}

}  // namespace

struct PayloadFile::Impl {
  std::string path;
  HANDLE writer = INVALID_HANDLE_VALUE;
  HANDLE lock = INVALID_HANDLE_VALUE;
};

PayloadFile::PayloadFile() : impl_(std::make_unique<Impl>()) {}

PayloadFile::~PayloadFile() {
  CloseFileHandle(&impl_->writer);
  CloseFileHandle(&impl_->lock);
}

bool PayloadFile::Create(const std::string& folder, const std::string& prefix) {
  // GetTempFileNameA names files the same way but opens the file it made only later, shared.
  const unsigned start = GetTickCount();
  for (unsigned attempt = 0; attempt < kNameNumbers; ++attempt) {
    char number[8];
    std::snprintf(number, sizeof number, "%04X", (start + attempt) % kNameNumbers);
    const std::string path = folder + prefix + number + ".tmp";
    const HANDLE handle = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
      const DWORD error = GetLastError();
      if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) continue;
      return false;
    }
    impl_->path = path;
    impl_->writer = handle;
    return true;
  }
  SetLastError(ERROR_FILE_EXISTS);
  return false;
}

const std::string& PayloadFile::Path() const {
  return impl_->path;
}

bool PayloadFile::Write(const void* data, std::size_t size) {
  const auto* bytes = static_cast<const char*>(data);
  while (size > 0 && impl_->writer != INVALID_HANDLE_VALUE) {
    const DWORD chunk = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
    DWORD written = 0;
    if (!WriteFile(impl_->writer, bytes, chunk, &written, nullptr) || written == 0) return false;
    bytes += written;
    size -= written;
  }
  return impl_->writer != INVALID_HANDLE_VALUE;
}

bool PayloadFile::Seal() {
  if (impl_->writer == INVALID_HANDLE_VALUE) return false;
  CloseFileHandle(&impl_->writer);
  impl_->lock = CreateFileA(impl_->path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  return impl_->lock != INVALID_HANDLE_VALUE;
}

std::size_t PayloadFile::Read(void* buffer, std::size_t size) {
  auto* bytes = static_cast<char*>(buffer);
  std::size_t total = 0;
  while (total < size && impl_->lock != INVALID_HANDLE_VALUE) {
    const std::size_t left = size - total;
    const DWORD chunk = left > 0x40000000 ? 0x40000000 : static_cast<DWORD>(left);
    DWORD got = 0;
    if (!ReadFile(impl_->lock, bytes + total, chunk, &got, nullptr)) return 0;
    if (got == 0) break;
    total += got;
  }
  return total;
}

bool PayloadFile::Start(ProcessHandles* handles) {
  if (impl_->lock == INVALID_HANDLE_VALUE) return false;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION process = {};
  const BOOL started = CreateProcessA(impl_->path.c_str(), nullptr, nullptr, nullptr, FALSE, 0,
                                      nullptr, nullptr, &startup, &process);
  const DWORD error = GetLastError();
  CloseFileHandle(&impl_->lock);
  if (!started) {
    SetLastError(error);
    return false;
  }
  handles->process = reinterpret_cast<std::intptr_t>(process.hProcess);
  handles->thread = reinterpret_cast<std::intptr_t>(process.hThread);
  return true;
}

bool PayloadFile::Discard() {
  CloseFileHandle(&impl_->writer);
  CloseFileHandle(&impl_->lock);
  return impl_->path.empty() || DeleteFileA(impl_->path.c_str()) != FALSE;
}

}  // namespace platform
