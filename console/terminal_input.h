// Standard input as a stream that a stop signal ends: a prompt waiting on it is answered as at
// the end of input, however close to the wait the signal came.
#pragma once

#include <streambuf>

class TerminalInput : public std::streambuf {
 public:
  explicit TerminalInput(int fd) : fd_(fd) {}

 protected:
  int_type underflow() override;

 private:
  int fd_;
  char buffer_[256];
};
