// Starting a child whose output a terminal can tell from the caller's own.
#pragma once

#include <sys/types.h>

namespace platform {

// Starts `path` with `arguments` and the caller's environment, SIGINT, SIGTERM and SIGHUP
// ignored. When the environment
// variable SETUP_PAYLOAD_OUTPUT_PREFIX is set, the child's standard output and error reach the
// caller's standard output a line at a time behind that prefix. Returns 0 or the errno of the
// failed start, as posix_spawn does.
int SpawnProgram(pid_t* child, const char* path, char* const arguments[]);

}  // namespace platform
