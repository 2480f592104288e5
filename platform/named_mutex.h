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

// Makes the mutex exist for as long as the handle is open. `alreadyExisted` tells that another
// process has it already; the handle is valid in both cases unless the call failed (CreateMutexA,
// not owned, default security; ERROR_ALREADY_EXISTS).
MutexHandle CreateNamedMutex(const std::string& name, bool* alreadyExisted);
// Lets the mutex go, if this handle made it exist; the handle is cleared.
void CloseNamedMutex(MutexHandle* handle);

}  // namespace platform
