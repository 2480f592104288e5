#include "platform/posix/child_output.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <thread>

extern char** environ;

namespace platform {
namespace {

constexpr const char* kOutputPrefixVariable = "SETUP_PAYLOAD_OUTPUT_PREFIX";

// Copies the child's output to standard output a line at a time, each behind `prefix`, until
// every writer has closed the pipe.
void ForwardPrefixedLines(int pipe, std::string prefix) {
  std::string line;
  char buffer[4096];
  const auto emit = [&prefix](const std::string& text) {
    const std::string out = prefix + text;
    for (std::size_t done = 0; done < out.size();) {
      const ssize_t written = write(STDOUT_FILENO, out.data() + done, out.size() - done);
      if (written <= 0 && errno != EINTR) return;
      if (written > 0) done += static_cast<std::size_t>(written);
    }
  };
  for (;;) {
    const ssize_t count = read(pipe, buffer, sizeof buffer);
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) break;
    for (ssize_t i = 0; i < count; ++i) {
      line += buffer[i];
      if (buffer[i] == '\n') {
        emit(line);
        line.clear();
      }
    }
  }
  if (!line.empty()) emit(line + "\n");
  close(pipe);
}

// fork and exec, reporting exec's failure as posix_spawn would. The signals that ask the update to
// stop (Ctrl-C, a closed terminal, a deployment tool) reach the whole process group; the child
// starts with them ignored, which it inherits (a shell keeps a signal ignored at its entry), so
// the installer finishes its work while the update stops at its next safe point. posix_spawn
// cannot start a child with a signal ignored without the caller ignoring it meanwhile, and a
// signal that came then would be lost. Only async-signal-safe calls run between fork and exec.
int StartChild(pid_t* child, const char* path, char* const arguments[], int output) {
  int status[2];
  if (pipe2(status, O_CLOEXEC) != 0) return errno;
  const pid_t process = fork();
  if (process < 0) {
    const int error = errno;
    close(status[0]);
    close(status[1]);
    return error;
  }
  if (process == 0) {
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal, &ignore, nullptr);
    struct sigaction byDefault {};
    byDefault.sa_handler = SIG_DFL;
    sigemptyset(&byDefault.sa_mask);
    sigaction(SIGPIPE, &byDefault, nullptr);  // the caller may ignore it; the child has its own
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    if (output >= 0) {
      dup2(output, STDOUT_FILENO);
      dup2(output, STDERR_FILENO);
    }
    execve(path, arguments, environ);
    const int error = errno;
    const ssize_t ignored = write(status[1], &error, sizeof error);
    static_cast<void>(ignored);
    _exit(127);
  }
  close(status[1]);
  int error = 0;
  ssize_t count = 0;
  do {
    count = read(status[0], &error, sizeof error);
  } while (count < 0 && errno == EINTR);
  close(status[0]);
  if (count == static_cast<ssize_t>(sizeof error)) {
    waitpid(process, nullptr, 0);
    return error;
  }
  *child = process;
  return 0;
}

// The forwarding thread takes no signal: those are the main thread's, to end a prompt.
void StartForwarding(int pipe, const char* prefix) {
  sigset_t all;
  sigset_t previous;
  sigfillset(&all);
  pthread_sigmask(SIG_BLOCK, &all, &previous);
  std::thread(ForwardPrefixedLines, pipe, std::string(prefix)).detach();
  pthread_sigmask(SIG_SETMASK, &previous, nullptr);
}

}  // namespace

int SpawnProgram(pid_t* child, const char* path, char* const arguments[]) {
  const char* prefix = std::getenv(kOutputPrefixVariable);
  int output[2] = {-1, -1};
  const bool prefixed = prefix != nullptr && *prefix != '\0' && pipe2(output, O_CLOEXEC) == 0;
  if (!prefixed) return StartChild(child, path, arguments, -1);
  const int result = StartChild(child, path, arguments, output[1]);
  close(output[1]);
  if (result == 0) {
    StartForwarding(output[0], prefix);
  } else {
    close(output[0]);
  }
  return result;
}

}  // namespace platform
