// Starting a program and waiting for it, and the program's own file.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

struct ProcessHandles {
  std::intptr_t process = 0;
  std::intptr_t thread = 0;  // POSIX: what forwards the child's output lines, or 0
};

// The full path of the running program's file, at most 260 characters (GetModuleFileNameA).
std::string GetExecutablePath();

// Starts `program` with no arguments, no inherited handles, the default environment and working
// directory, its window shown normally; on POSIX the file is made executable first, and when
// SETUP_PAYLOAD_OUTPUT_PREFIX is set, the child's output lines reach standard output behind that
// prefix, so that a terminal tells them from the caller's own. True when it runs; `handles` then
// refer to it until CloseProcessHandles (CreateProcessA).
bool StartProcess(const std::string& program, ProcessHandles* handles);

enum class WaitResult { kEnded, kTimedOut, kFailed };
// Waits at most `milliseconds` for the process to end. Waiting leaves the process as it is: a
// later wait on an ended process says kEnded again (WaitForSingleObject).
WaitResult WaitForProcess(const ProcessHandles& handles, unsigned milliseconds);
// Lets go of the process, which runs on if it has not ended; the handles are cleared
// (CloseHandle). On POSIX the child's forwarded output lines are all out when it returns (those
// of processes it left running, within a second).
void CloseProcessHandles(ProcessHandles* handles);

// Creates a new empty file `folder` + the first three characters of `prefix` + up to four
// hexadecimal digits + ".tmp", never an existing one; its path, or "" on failure
// (GetTempFileNameA with 0).
std::string CreateTempFileName(const std::string& folder, const std::string& prefix);

// Blocks the calling thread for at least `milliseconds` (Sleep).
void SleepMilliseconds(unsigned milliseconds);

}  // namespace platform
