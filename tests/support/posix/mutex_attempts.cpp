#include "tests/support/posix/mutex_attempts.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

MutexAttempts::MutexAttempts(const std::string& root, const std::string& name) {
  std::string fileName = name;
  for (char& c : fileName) {
    if (c == '/' || c == '\\') c = '_';
  }
  const std::string lockFile = root + "/.mutex/" + fileName;
  inotify_ = inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
  if (inotify_ < 0 || inotify_add_watch(inotify_, lockFile.c_str(), IN_OPEN) < 0) {
    ADD_FAILURE() << "cannot watch " << lockFile << " (is the mutex held?)";
  }
}

MutexAttempts::~MutexAttempts() {
  if (inotify_ >= 0) close(inotify_);
}

bool MutexAttempts::WaitFor(int count, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (seen_ < count) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    pollfd watch{inotify_, POLLIN, 0};
    if (poll(&watch, 1, static_cast<int>(left.count())) <= 0) continue;
    alignas(inotify_event) char events[4096];
    const ssize_t length = read(inotify_, events, sizeof events);
    for (ssize_t at = 0; at < length;) {
      const auto* event = reinterpret_cast<const inotify_event*>(events + at);
      if ((event->mask & IN_OPEN) != 0) ++seen_;
      at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
    }
  }
  return true;
}
