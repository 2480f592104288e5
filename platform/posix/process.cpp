// Processes are started with posix_spawn and polled, so a wait with a timeout needs no signals.
// An ended child stays a zombie until its handles are closed, so it can be waited for again.
#include "platform/process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <thread>

#include "platform/file.h"
#include "platform/file_system.h"
#include "platform/path_split.h"
#include "platform/posix/child_output.h"
#include "platform/posix/last_error.h"
#include "platform/posix/volume_map.h"

extern char** environ;

namespace platform {
namespace {

constexpr unsigned kInfinite = 0xFFFFFFFF;
constexpr std::uint32_t kErrorBadExeFormat = 193;

bool HasEnded(pid_t process, bool* failed) {
  siginfo_t info{};
  if (waitid(P_PID, static_cast<id_t>(process), &info, WEXITED | WNOHANG | WNOWAIT) != 0) {
    *failed = true;
    return false;
  }
  return info.si_pid == process;
}

}  // namespace

std::string GetExecutablePath() {
  char buffer[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (length <= 0) return "";
  const std::string host(buffer, static_cast<std::size_t>(length));
  const std::string windowsPath = ToWindowsPath(host);
  // Outside the root the host path itself still works with every function of this layer.
  return windowsPath.empty() ? host : windowsPath;
}

bool StartProcess(const std::string& program, ProcessHandles* handles) {
  *handles = ProcessHandles{};
  const std::string host = ToHostPath(program);
  struct stat status;
  if (stat(host.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) {
    SetLastErrorCode(kErrorFileNotFound);
    return false;
  }
  chmod(host.c_str(), (status.st_mode & 07777) | S_IXUSR | S_IXGRP | S_IXOTH);
  char* const arguments[] = {const_cast<char*>(host.c_str()), nullptr};
  pid_t process = 0;
  std::intptr_t forwarding = 0;
  const int result = SpawnProgram(&process, &forwarding, host.c_str(), arguments);
  if (result != 0) {
    if (result == ENOEXEC) {
      SetLastErrorCode(kErrorBadExeFormat);
    } else {
      SetLastErrorFromErrno(result);
    }
    return false;
  }
  handles->process = process;
  handles->thread = forwarding;
  return true;
}

WaitResult WaitForProcess(const ProcessHandles& handles, unsigned milliseconds) {
  if (handles.process <= 0) return WaitResult::kFailed;
  const auto process = static_cast<pid_t>(handles.process);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  for (;;) {
    bool failed = false;
    if (HasEnded(process, &failed)) return WaitResult::kEnded;
    if (failed) return WaitResult::kFailed;
    if (milliseconds != kInfinite && std::chrono::steady_clock::now() >= deadline) {
      return WaitResult::kTimedOut;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
}

void CloseProcessHandles(ProcessHandles* handles) {
  FinishChildOutput(handles->thread);
  if (handles->process > 0) {
    int status = 0;
    waitpid(static_cast<pid_t>(handles->process), &status, WNOHANG);
  }
  *handles = ProcessHandles{};
}

std::string CreateTempFileName(const std::string& folder, const std::string& prefix) {
  const std::string base = WithTrailingSeparator(folder) + prefix.substr(0, 3);
  // Four hexadecimal digits, never 0, tried in turn until a name is free.
  static unsigned counter = static_cast<unsigned>(getpid());
  for (unsigned attempt = 0; attempt < 0xFFFF; ++attempt) {
    counter = counter % 0xFFFF + 1;
    char name[16];
    std::snprintf(name, sizeof name, "%X.tmp", counter);
    const std::string path = base + name;
    File file;
    if (file.Open(path, File::Mode::kCreateExclusive)) return path;
    if (LastErrorCode() != kErrorAlreadyExists) return "";
  }
  return "";
}

void SleepMilliseconds(unsigned milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace platform
