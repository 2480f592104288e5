// SIGINT, SIGTERM and SIGHUP ask the console edition to stop: a prompt they arrive at is
// answered No (Cancel), and the update stops between two steps, never inside one.
#pragma once

#include <string>

// Installs the handlers. They interrupt a read from the terminal, so that a prompt ends. SIGPIPE
// is ignored: output nobody reads any more fails, the update goes on.
void InstallStopSignals();

// The signal that asked to stop, or 0.
int StopSignal();

// Waits until `fd` can be read (data, its end or an error); false once a stop signal has come,
// before or during the wait. A plain blocking read would miss a signal that arrives just before
// it and wait on.
bool WaitForInputUnlessStopped(int fd);

// While set, a stop signal prints `notice` at once (to standard error): the update is in steps
// that must not be left half done and will stop at the next safe point. "" clears it.
void SetStopNotice(const std::string& notice);
