// Makes `function` the process-wide message function while it lives, and puts the previous one
// back, so that a host made inside another leaves the outer one answering.
#pragma once

#include <utility>

#include "base/message_box.h"

class ScopedMessageBoxFunction {
 public:
  explicit ScopedMessageBoxFunction(MessageBoxFunction function)
      : previous_(SetMessageBoxFunction(std::move(function))) {}
  ~ScopedMessageBoxFunction() { SetMessageBoxFunction(std::move(previous_)); }
  ScopedMessageBoxFunction(const ScopedMessageBoxFunction&) = delete;
  ScopedMessageBoxFunction& operator=(const ScopedMessageBoxFunction&) = delete;

 private:
  MessageBoxFunction previous_;
};
