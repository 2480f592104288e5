// Starting a child whose output a terminal can tell from the caller's own.
#pragma once

#include <sys/types.h>

#include <cstdint>

namespace platform {

// Starts `path` with `arguments` and the caller's environment, SIGINT, SIGTERM and SIGHUP
// ignored. When the environment variable SETUP_PAYLOAD_OUTPUT_PREFIX is set, the child's standard
// output and error reach the caller's standard output a line at a time behind that prefix, and
// `forwarding` receives what FinishChildOutput ends; else it is 0. Returns 0 or the errno of the
// failed start, as posix_spawn does.
int SpawnProgram(pid_t* child, std::intptr_t* forwarding, const char* path,
                 char* const arguments[]);

// Returns once the child's output is on standard output: every line it wrote, and what the
// processes it left holding its output write within a second; those are not waited for longer.
// Frees `forwarding`; 0 does nothing.
void FinishChildOutput(std::intptr_t forwarding);

}  // namespace platform
