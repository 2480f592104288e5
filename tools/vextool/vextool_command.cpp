// vextool's command table and help: what `vextool` with no command name offers.
#include <cstdio>

#include "base/setup_log.h"
#include "tools/vextool/command_line.h"
#include "tools/vextool/commands.h"

namespace {

constexpr CommandHelp kHelp = {
    "vextool",
    "format descriptions, parameter files, packages and the parameter migration",
    "COMMAND [ARGUMENTS]\n--version",
    "The engineers' and technicians' companion of the update program. Commands:\n"
    "  fmt      format descriptions: check, layout, header, dump, diff\n"
    "  dat      binary parameter files: list, verify, extract, build, dump\n"
    "  pkg      installation packages: build, verify, extract\n"
    "  migrate  the parameter migration of an update, offline: preview or recovery\n"
    "'vextool COMMAND --help' describes a command, 'vextool COMMAND SUBCOMMAND --help' a\n"
    "subcommand. Every command takes '--opt value' and '--opt=value' alike.",
    "--version  print the version and exit",
    "0 success; 1 the work failed; 64 the command line cannot be understood.\n"
    "Some commands use 2 as well (see their help).",
    "$ vextool --version\n"
    "vextool 5.4.0",
};

constexpr Subcommand kCommands[] = {
    {"fmt", RunFmtCommand},
    {"dat", RunDatCommand},
    {"pkg", RunPkgCommand},
    {"migrate", RunMigrateCommand},
};

// The engineer reads the terminal: what the work logs is shown there too.
void EchoToStandardError(const std::string& text) {
  std::fputs(text.c_str(), stderr);
  if (text.empty() || text.back() != '\n') std::fputc('\n', stderr);
}

}  // namespace

int RunVextool(const CommandArguments& arguments) {
  if (!arguments.empty() && arguments[0] == "--version") {
    std::printf("vextool %s\n", VextoolVersion());
    return 0;
  }
  const LogEcho previous = SetLogEcho(EchoToStandardError);
  const int status = RunSubcommand(kHelp, kCommands, arguments);
  SetLogEcho(previous);
  return status;
}
