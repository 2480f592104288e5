// vextool pkg (its subcommands arrive with the subsystem they expose).
#include <cstdio>

#include "tools/vextool/commands.h"

int RunPkgCommand(const CommandArguments&) {
  std::fputs("vextool pkg: not available in this build\n", stderr);
  return kUsageError;
}
