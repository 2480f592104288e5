// Holds a named mutex while it lives, as the running control program does: on POSIX from a
// child process (the lock must belong to someone else), on Windows through an open handle.
#pragma once

#include <cstdint>
#include <string>

class MutexHolder {
 public:
  explicit MutexHolder(const std::string& name);
  ~MutexHolder();
  MutexHolder(const MutexHolder&) = delete;
  MutexHolder& operator=(const MutexHolder&) = delete;

  // Lets the mutex go before the holder is destroyed.
  void Release();

 private:
  std::intptr_t holder_ = 0;  // POSIX: the child's process id; Windows: the handle
  int releasePipe_ = -1;
};
