#include "platform/posix/child_output.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
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

// The signals that ask the update to stop (Ctrl-C, a closed terminal, a deployment tool) reach the
// whole process group; the installer is left to finish its work, since the update stops only at
// its next safe point. They stay pending in the child, blocked.
struct StopSignalsBlocked {
  StopSignalsBlocked() {
    posix_spawnattr_init(&attributes);
    sigset_t mask;
    pthread_sigmask(SIG_BLOCK, nullptr, &mask);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&mask, signal);
    posix_spawnattr_setsigmask(&attributes, &mask);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK);
  }
  ~StopSignalsBlocked() { posix_spawnattr_destroy(&attributes); }
  posix_spawnattr_t attributes;
};

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
  posix_spawn_file_actions_t actions;
  const bool prefixed = prefix != nullptr && *prefix != '\0' && pipe2(output, O_CLOEXEC) == 0;
  StopSignalsBlocked blocked;
  if (!prefixed) return posix_spawn(child, path, nullptr, &blocked.attributes, arguments, environ);
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, output[1], STDERR_FILENO);
  const int result = posix_spawn(child, path, &actions, &blocked.attributes, arguments, environ);
  posix_spawn_file_actions_destroy(&actions);
  close(output[1]);
  if (result == 0) {
    StartForwarding(output[0], prefix);
  } else {
    close(output[0]);
  }
  return result;
}

}  // namespace platform
