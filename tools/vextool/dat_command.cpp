// vextool dat (its subcommands arrive with the subsystem they expose).
#include <cstdio>

#include "tools/vextool/commands.h"

int RunDatCommand(const CommandArguments&) {
  std::fputs("vextool dat: not available in this build\n", stderr);
  return kUsageError;
}
