// The subcommands of vextool; each takes the arguments after its own name.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

using CommandArguments = std::vector<std::string>;

// vextool itself: --version, --help, or one of the commands below.
int RunVextool(const CommandArguments& arguments);
// vextool fmt: format descriptions (check, layout, header, dump).
int RunFmtCommand(const CommandArguments& arguments);
// vextool dat: binary parameter files (list, verify, extract, build, dump).
int RunDatCommand(const CommandArguments& arguments);
// vextool pkg: installation packages (build, verify, extract).
int RunPkgCommand(const CommandArguments& arguments);
// vextool migrate: the parameter migration of an update, offline.
int RunMigrateCommand(const CommandArguments& arguments);

// Exit status for a command line that cannot be understood.
constexpr int kUsageError = 64;

struct CommandHelp;

struct Subcommand {
  const char* name;
  int (*run)(const CommandArguments&);
};

// Runs the subcommand that arguments[0] names with the arguments after it. With no arguments, or
// with --help first, prints `help` (to standard error or output); an unknown name is a usage error.
int RunSubcommand(const CommandHelp& help, const Subcommand* table, std::size_t count,
                  const CommandArguments& arguments);
template <std::size_t N>
int RunSubcommand(const CommandHelp& help, const Subcommand (&table)[N],
                  const CommandArguments& arguments) {
  return RunSubcommand(help, table, N, arguments);
}
