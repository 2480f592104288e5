// vextool: the engineers' companion of Setup for format descriptions, parameter files and packages.
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

constexpr Subcommand kCommands[] = {
    {"fmt", RunFmtCommand},
    {"dat", RunDatCommand},
    {"pkg", RunPkgCommand},
};

}  // namespace

int main(int argc, char** argv) {
  return RunSubcommand("vextool", kUsage, kCommands, CommandArguments(argv + 1, argv + argc));
}
