// vextool: the engineers' companion of Setup for format descriptions, parameter files and packages.
#include "tools/vextool/commands.h"

int main(int argc, char** argv) {
  return RunVextool(CommandArguments(argv + 1, argv + argc));
}
