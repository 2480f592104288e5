// vextool: the engineers' companion of Setup for format descriptions, parameter files and packages.
#include <cstdio>
#include <cstring>

#include "tools/vextool/commands.h"

namespace {

constexpr const char* kUsage =
    "usage: vextool <command> [arguments]\n"
    "\n"
    "commands:\n"
    "  fmt   format descriptions: check, layout, header, dump\n"
    "  dat   binary parameter files: list, verify, extract, build, dump\n"
    "  pkg   installation packages: build, verify, extract\n"
    "\n"
    "'vextool <command> --help' describes a command.\n";

struct Command {
  const char* name;
  int (*run)(const CommandArguments&);
};

constexpr Command kCommands[] = {
    {"fmt", RunFmtCommand},
    {"dat", RunDatCommand},
    {"pkg", RunPkgCommand},
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
    std::fputs(kUsage, argc < 2 ? stderr : stdout);
    return argc < 2 ? kUsageError : 0;
  }
  for (const Command& command : kCommands) {
    if (std::strcmp(argv[1], command.name) == 0) {
      return command.run(CommandArguments(argv + 2, argv + argc));
    }
  }
  std::fprintf(stderr, "vextool: unknown command '%s'\n%s", argv[1], kUsage);
  return kUsageError;
}
