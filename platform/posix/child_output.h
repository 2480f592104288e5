// Starting a child whose output a terminal can tell from the caller's own.
#pragma once

#include <sys/types.h>

namespace platform {

// posix_spawn of `path` with `arguments` and the caller's environment. When the environment
// variable SETUP_PAYLOAD_OUTPUT_PREFIX is set, the child's standard output and error reach the
// caller's standard output a line at a time behind that prefix. Returns posix_spawn's result.
int SpawnProgram(pid_t* child, const char* path, char* const arguments[]);

}  // namespace platform
