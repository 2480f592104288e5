#include "platform/posix/child_output.h"

#include <fcntl.h>
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

}  // namespace

int SpawnProgram(pid_t* child, const char* path, char* const arguments[]) {
  const char* prefix = std::getenv(kOutputPrefixVariable);
  int output[2] = {-1, -1};
  posix_spawn_file_actions_t actions;
  const bool prefixed = prefix != nullptr && *prefix != '\0' && pipe2(output, O_CLOEXEC) == 0;
  if (!prefixed) return posix_spawn(child, path, nullptr, nullptr, arguments, environ);
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, output[1], STDERR_FILENO);
  const int result = posix_spawn(child, path, &actions, nullptr, arguments, environ);
  posix_spawn_file_actions_destroy(&actions);
  close(output[1]);
  if (result == 0) {
    std::thread(ForwardPrefixedLines, output[0], std::string(prefix)).detach();
  } else {
    close(output[0]);
  }
  return result;
}

}  // namespace platform
