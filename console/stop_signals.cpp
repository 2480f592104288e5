#include "console/stop_signals.h"

#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

namespace {

volatile std::sig_atomic_t stopSignal = 0;
// Written by the main thread with the signals blocked, read only by the handler.
std::string notice;
volatile std::sig_atomic_t noticeSet = 0;

// write(2) is all a handler may use; a second signal gets the same notice, not death.
void OnStopSignal(int signal) {
  stopSignal = signal;
  if (noticeSet != 0) {
    const ssize_t ignored = write(STDERR_FILENO, notice.data(), notice.size());
    static_cast<void>(ignored);
  }
}

sigset_t StopSignalSet() {
  sigset_t set;
  sigemptyset(&set);
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&set, signal);
  return set;
}

}  // namespace

void InstallStopSignals() {
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = 0;  // no SA_RESTART: a read from the terminal must end
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal, &action, nullptr);
  // A reader of the output that went away (`setup | tee`, and Ctrl-C ended tee) must not end the
  // update in the middle of a step: the output is lost, the run, its log and report are not.
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  sigemptyset(&ignore.sa_mask);
  sigaction(SIGPIPE, &ignore, nullptr);
}

int StopSignal() {
  return stopSignal;
}

bool WaitForInputUnlessStopped(int fd) {
  const sigset_t set = StopSignalSet();
  sigset_t previous;
  pthread_sigmask(SIG_BLOCK, &set, &previous);
  // Looked at with the signals held back, and let through only inside ppoll: one that comes in
  // between is delivered there and ends the wait.
  while (stopSignal == 0) {
    pollfd input{fd, POLLIN, 0};
    const int ready = ppoll(&input, 1, nullptr, &previous);
    if (ready > 0 || (ready < 0 && errno != EINTR)) break;
  }
  const bool stopped = stopSignal != 0;
  pthread_sigmask(SIG_SETMASK, &previous, nullptr);
  return !stopped;
}

void SetStopNotice(const std::string& text) {
  const sigset_t set = StopSignalSet();
  sigset_t previous;
  pthread_sigmask(SIG_BLOCK, &set, &previous);
  notice = text;
  noticeSet = text.empty() ? 0 : 1;
  pthread_sigmask(SIG_SETMASK, &previous, nullptr);
}
