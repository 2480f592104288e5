// vextool dat dump: a section read as the setup program reads it for the migration.
#include <cstdio>

#include "tools/vextool/dat_subcommands.h"

int RunDatDump(const CommandArguments&) {
  std::fputs("vextool dat dump: not available yet\n", stderr);
  return kUsageError;
}
