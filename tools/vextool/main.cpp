// vextool: the engineers' companion of Setup for format descriptions, parameter files and packages.
#include <csignal>

#include "tools/vextool/commands.h"

int main(int argc, char** argv) {
#ifdef SIGPIPE
  // A reader that went away is a failed write the commands report, not a silent end.
  std::signal(SIGPIPE, SIG_IGN);
#endif
  return RunVextool(CommandArguments(argv + 1, argv + argc));
}
