#include "tests/support/mutex_holder.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/named_mutex.h"

MutexHolder::MutexHolder(const std::string& name) {
  int ready[2], release[2];
  // Close-on-exec: a program started meanwhile must not keep the release pipe open, or Release
  // would wait until that program ends.
  if (pipe2(ready, O_CLOEXEC) != 0 || pipe2(release, O_CLOEXEC) != 0) {
    ADD_FAILURE() << "pipe failed";
    return;
  }
  const pid_t child = fork();
  if (child == 0) {
    close(ready[0]);
    close(release[1]);
    bool existed = false;
    platform::MutexHandle handle = platform::CreateNamedMutex(name, &existed);
    const char state = handle.IsValid() && !existed ? 'y' : 'n';
    if (write(ready[1], &state, 1) != 1) _exit(1);
    char ignored;
    while (read(release[0], &ignored, 1) > 0) {
    }
    _exit(0);
  }
  close(ready[1]);
  close(release[0]);
  holder_ = child;
  releasePipe_ = release[1];
  char state = 'n';
  if (read(ready[0], &state, 1) != 1 || state != 'y') ADD_FAILURE() << "the holder got no lock";
  close(ready[0]);
}

MutexHolder::~MutexHolder() {
  Release();
}

void MutexHolder::Release() {
  if (holder_ <= 0) return;
  close(releasePipe_);
  int status = 0;
  waitpid(static_cast<pid_t>(holder_), &status, 0);
  holder_ = 0;
  releasePipe_ = -1;
}
