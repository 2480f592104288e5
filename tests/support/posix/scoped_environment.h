// Sets an environment variable for one test and puts the previous value back.
#pragma once

#include <stdlib.h>

#include <string>

class ScopedEnvironment {
 public:
  ScopedEnvironment(const char* name, const std::string& value) : name_(name) {
    const char* previous = getenv(name);
    hadValue_ = previous != nullptr;
    if (hadValue_) previous_ = previous;
    setenv(name, value.c_str(), 1);
  }
  ~ScopedEnvironment() {
    if (hadValue_) {
      setenv(name_, previous_.c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

 private:
  const char* name_;
  bool hadValue_ = false;
  std::string previous_;
};
