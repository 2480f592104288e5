// Starting a program and waiting for it, and the program's own file.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

struct ProcessHandles {
  std::intptr_t process = 0;
  std::intptr_t thread = 0;
};

// GetModuleFileNameA of the running program (at most 260 characters).
std::string GetExecutablePath();

// CreateProcessA of `program` with no arguments, no inherited handles, the default environment
// and working directory, its window shown normally. On POSIX the file is made executable first,
// and when SETUP_PAYLOAD_OUTPUT_PREFIX is set, the child's output lines reach standard output
// behind that prefix, so that a terminal tells them from the caller's own.
bool StartProcess(const std::string& program, ProcessHandles* handles);

enum class WaitResult { kEnded, kTimedOut, kFailed };
// WaitForSingleObject on the process for at most `milliseconds`.
WaitResult WaitForProcess(const ProcessHandles& handles, unsigned milliseconds);
// CloseHandle on both handles; they are cleared.
void CloseProcessHandles(ProcessHandles* handles);

// GetTempFileNameA(folder, prefix, 0): a new empty file with a unique name; "" on failure.
std::string CreateTempFileName(const std::string& folder, const std::string& prefix);

// Sleep.
void SleepMilliseconds(unsigned milliseconds);

}  // namespace platform
