// The subcommands of vextool; each takes the arguments after its own name.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

using CommandArguments = std::vector<std::string>;

// vextool fmt: format descriptions (check, layout, header, dump).
int RunFmtCommand(const CommandArguments& arguments);
// vextool dat: binary parameter files (list, verify, extract, build, dump).
int RunDatCommand(const CommandArguments& arguments);
// vextool pkg: installation packages (build, verify, extract).
int RunPkgCommand(const CommandArguments& arguments);

// Exit status for a command line that cannot be understood.
constexpr int kUsageError = 64;

struct Subcommand {
  const char* name;
  int (*run)(const CommandArguments&);
};

// Runs the subcommand that arguments[0] names with the arguments after it. With no arguments, or
// with --help, prints `usage` (to standard error or output); an unknown name is a usage error.
// `command` names the caller in messages ("vextool fmt").
template <std::size_t N>
int RunSubcommand(const char* command, const char* usage, const Subcommand (&table)[N],
                  const CommandArguments& arguments) {
  return RunSubcommand(command, usage, table, N, arguments);
}
int RunSubcommand(const char* command, const char* usage, const Subcommand* table,
                  std::size_t count, const CommandArguments& arguments);

// True when `arguments` ask for help; prints `usage` to standard output then.
bool PrintHelpIfAsked(const CommandArguments& arguments, const char* usage);
// Says that the command line cannot be understood and returns kUsageError.
int UsageError(const char* usage);
