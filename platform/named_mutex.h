// The named mutex that tells whether the control program runs. On POSIX it is an advisory
// lock on a file in the volume map, so a stand-in control program can hold it.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

struct MutexHandle {
  std::intptr_t value = 0;
  bool IsValid() const { return value != 0; }
};

// CreateMutexA (not owned, default security). `alreadyExisted` is set when another process
// holds the mutex (ERROR_ALREADY_EXISTS); the handle is valid in both cases unless the call
// failed.
MutexHandle CreateNamedMutex(const std::string& name, bool* alreadyExisted);
void CloseNamedMutex(MutexHandle* handle);

}  // namespace platform
