// vextool fmt (its subcommands arrive with the subsystem they expose).
#include <cstdio>

#include "tools/vextool/commands.h"

int RunFmtCommand(const CommandArguments&) {
  std::fputs("vextool fmt: not available in this build\n", stderr);
  return kUsageError;
}
