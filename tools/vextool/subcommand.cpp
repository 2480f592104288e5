#include <cstdio>

#include "tools/vextool/command_line.h"
#include "tools/vextool/commands.h"

int RunSubcommand(const CommandHelp& help, const Subcommand* table, std::size_t count,
                  const CommandArguments& arguments, VextoolSink& sink) {
  if (arguments.empty()) {
    return CommandUsageError(help, "missing the subcommand");
  }
  if (arguments[0] == "--help" || arguments[0] == "-h") {
    std::fputs(HelpText(help).c_str(), stdout);
    return 0;
  }
  if (arguments[0] == "--version") return PrintVersion();
  for (std::size_t i = 0; i < count; ++i) {
    if (arguments[0] == table[i].name) {
      return table[i].run(CommandArguments(arguments.begin() + 1, arguments.end()), sink);
    }
  }
  return CommandUsageError(help, "unknown subcommand '" + arguments[0] + "'");
}
