#include "platform/named_mutex.h"

#include <windows.h>

namespace platform {

MutexHandle CreateNamedMutex(const std::string& name, bool* alreadyExisted) {
  const HANDLE mutex = CreateMutexA(nullptr, FALSE, name.c_str());
  // GetLastError tells "already exists" even when the call succeeds.
  const DWORD error = GetLastError();
  // A mutex made under other security refuses us access: it exists, so the control program runs.
  *alreadyExisted = (mutex != nullptr && error == ERROR_ALREADY_EXISTS) ||
                    (mutex == nullptr && error == ERROR_ACCESS_DENIED);
  return MutexHandle{reinterpret_cast<std::intptr_t>(mutex)};
}

void CloseNamedMutex(MutexHandle* handle) {
  if (handle->IsValid()) CloseHandle(reinterpret_cast<HANDLE>(handle->value));
  handle->value = 0;
}

}  // namespace platform
