// Counts the attempts of other processes to take a named mutex: every attempt opens the mutex's
// lock file in the volume root, which inotify reports. A test that holds the mutex waits for a
// number of attempts instead of for a time in which they should have happened.
#pragma once

#include <chrono>
#include <string>

class MutexAttempts {
 public:
  MutexAttempts(const std::string& root, const std::string& name);
  ~MutexAttempts();
  MutexAttempts(const MutexAttempts&) = delete;
  MutexAttempts& operator=(const MutexAttempts&) = delete;

  // Waits until `count` attempts have been made since the watch began; false after `timeout`.
  bool WaitFor(int count, std::chrono::milliseconds timeout);

 private:
  int inotify_ = -1;
  int seen_ = 0;
};
