#include "platform/process.h"

#include <windows.h>

namespace platform {

std::string GetExecutablePath() {
  char buffer[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
  return std::string(buffer, length < MAX_PATH ? length : MAX_PATH);
}

bool StartProcess(const std::string& program, ProcessHandles* handles) {
  *handles = ProcessHandles{};
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION started{};
  if (!CreateProcessA(program.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &started)) {
    return false;
  }
  handles->process = reinterpret_cast<std::intptr_t>(started.hProcess);
  handles->thread = reinterpret_cast<std::intptr_t>(started.hThread);
  return true;
}

WaitResult WaitForProcess(const ProcessHandles& handles, unsigned milliseconds) {
  switch (WaitForSingleObject(reinterpret_cast<HANDLE>(handles.process), milliseconds)) {
    case WAIT_OBJECT_0:
      return WaitResult::kEnded;
    case WAIT_TIMEOUT:
      return WaitResult::kTimedOut;
    default:
      return WaitResult::kFailed;
  }
}

void CloseProcessHandles(ProcessHandles* handles) {
  if (handles->process != 0) CloseHandle(reinterpret_cast<HANDLE>(handles->process));
  if (handles->thread != 0) CloseHandle(reinterpret_cast<HANDLE>(handles->thread));
  *handles = ProcessHandles{};
}

std::string CreateTempFileName(const std::string& folder, const std::string& prefix) {
  char buffer[MAX_PATH] = {};
  return GetTempFileNameA(folder.c_str(), prefix.c_str(), 0, buffer) != 0 ? buffer : "";
}

void SleepMilliseconds(unsigned milliseconds) {
  Sleep(milliseconds);
}

}  // namespace platform
