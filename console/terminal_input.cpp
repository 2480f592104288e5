#include "console/terminal_input.h"

#include <unistd.h>

#include <cerrno>

#include "console/stop_signals.h"

TerminalInput::int_type TerminalInput::underflow() {
  if (gptr() < egptr()) {
    return traits_type::to_int_type(*gptr());
  }
  // Only an empty buffer waits, so what was typed before a signal is still read.
  while (WaitForInputUnlessStopped(fd_)) {
    const ssize_t count = read(fd_, buffer_, sizeof buffer_);
    if (count > 0) {
      setg(buffer_, buffer_, buffer_ + count);
      return traits_type::to_int_type(*gptr());
    }
    if (count == 0 || (errno != EINTR && errno != EAGAIN)) {
      break;
    }
  }
  return traits_type::eof();
}
