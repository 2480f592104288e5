#include <cstdio>

#include "tools/vextool/commands.h"

int RunSubcommand(const char* command, const char* usage, const Subcommand* table,
                  std::size_t count, const CommandArguments& arguments) {
  if (arguments.empty() || arguments[0] == "--help" || arguments[0] == "-h") {
    std::fputs(usage, arguments.empty() ? stderr : stdout);
    return arguments.empty() ? kUsageError : 0;
  }
  for (std::size_t i = 0; i < count; ++i) {
    if (arguments[0] == table[i].name) {
      return table[i].run(CommandArguments(arguments.begin() + 1, arguments.end()));
    }
  }
  std::fprintf(stderr, "%s: unknown command '%s'\n%s", command, arguments[0].c_str(), usage);
  return kUsageError;
}

bool PrintHelpIfAsked(const CommandArguments& arguments, const char* usage) {
  for (const std::string& argument : arguments) {
    if (argument == "--help" || argument == "-h") {
      std::fputs(usage, stdout);
      return true;
    }
  }
  return false;
}

int UsageError(const char* usage) {
  std::fputs(usage, stderr);
  return kUsageError;
}
