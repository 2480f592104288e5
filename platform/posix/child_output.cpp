#include "platform/posix/child_output.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <utility>

extern char** environ;

namespace platform {
namespace {

constexpr const char* kOutputPrefixVariable = "SETUP_PAYLOAD_OUTPUT_PREFIX";
// How long the processes a child leaves behind may go on writing to its output once it has ended.
constexpr std::chrono::milliseconds kGrace(1000);

using Clock = std::chrono::steady_clock;

struct Forwarding {
  int ended = -1;  // closed when the child has ended
  std::thread thread;
};

// Passes the output on a line at a time, each behind `prefix`.
class LineForwarder {
 public:
  explicit LineForwarder(std::string prefix) : prefix_(std::move(prefix)) {}
  ~LineForwarder() {
    if (!line_.empty()) Emit(line_ + "\n");
  }

  // Bytes read and passed on: 0 at the end of the output or when it cannot be read.
  std::size_t ReadSome(int pipe, std::size_t most) {
    char buffer[4096];
    ssize_t count = 0;
    do {
      count = read(pipe, buffer, std::min(sizeof buffer, most));
    } while (count < 0 && errno == EINTR);
    if (count <= 0) return 0;
    for (ssize_t i = 0; i < count; ++i) {
      line_ += buffer[i];
      if (buffer[i] == '\n') {
        Emit(line_);
        line_.clear();
      }
    }
    return static_cast<std::size_t>(count);
  }

 private:
  void Emit(const std::string& text) const {
    const std::string out = prefix_ + text;
    for (std::size_t done = 0; done < out.size();) {
      const ssize_t written = write(STDOUT_FILENO, out.data() + done, out.size() - done);
      if (written <= 0 && errno != EINTR) return;
      if (written > 0) done += static_cast<std::size_t>(written);
    }
  }

  std::string prefix_;
  std::string line_;
};

// Forwards the child's output until every writer has closed the pipe. Once `ended` says the
// child has ended, what the pipe holds is all of its output and goes out in full; a process it
// left holding the pipe gets kGrace, so the update never hangs on it.
void ForwardPrefixedLines(int pipe, int ended, std::string prefix) {
  LineForwarder forwarder(std::move(prefix));
  bool ending = false;
  Clock::time_point deadline;
  for (;;) {
    int timeout = -1;
    if (ending) {
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
      if (left <= 0) break;
      timeout = static_cast<int>(left);
    }
    pollfd watched[2] = {{pipe, POLLIN, 0}, {ended, POLLIN, 0}};
    const int ready = poll(watched, ending ? 1 : 2, timeout);
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) break;
    if (!ending && watched[1].revents != 0) {
      ending = true;
      int pending = 0;
      if (ioctl(pipe, FIONREAD, &pending) != 0) pending = 0;
      for (auto left = static_cast<std::size_t>(pending); left > 0;) {
        const std::size_t got = forwarder.ReadSome(pipe, left);
        if (got == 0) break;
        left -= got;
      }
      deadline = Clock::now() + kGrace;
      continue;
    }
    if (forwarder.ReadSome(pipe, SIZE_MAX) == 0) break;
  }
  close(pipe);
  close(ended);
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
Forwarding* StartForwarding(int pipe, const char* prefix) {
  int ended[2];
  if (pipe2(ended, O_CLOEXEC) != 0) {
    close(pipe);
    return nullptr;
  }
  auto forwarding = std::make_unique<Forwarding>();
  forwarding->ended = ended[1];
  sigset_t all;
  sigset_t previous;
  sigfillset(&all);
  pthread_sigmask(SIG_BLOCK, &all, &previous);
  forwarding->thread = std::thread(ForwardPrefixedLines, pipe, ended[0], std::string(prefix));
  pthread_sigmask(SIG_SETMASK, &previous, nullptr);
  return forwarding.release();
}

}  // namespace

int SpawnProgram(pid_t* child, std::intptr_t* forwarding, const char* path,
                 char* const arguments[]) {
  *forwarding = 0;
  const char* prefix = std::getenv(kOutputPrefixVariable);
  int output[2] = {-1, -1};
  const bool prefixed = prefix != nullptr && *prefix != '\0' && pipe2(output, O_CLOEXEC) == 0;
  if (!prefixed) return StartChild(child, path, arguments, -1);
  const int result = StartChild(child, path, arguments, output[1]);
  close(output[1]);
  if (result == 0) {
    *forwarding = reinterpret_cast<std::intptr_t>(StartForwarding(output[0], prefix));
  } else {
    close(output[0]);
  }
  return result;
}

void FinishChildOutput(std::intptr_t forwarding) {
  if (forwarding == 0) return;
  const std::unique_ptr<Forwarding> finished(reinterpret_cast<Forwarding*>(forwarding));
  close(finished->ended);
  finished->thread.join();
}

}  // namespace platform
