// The subcommands of vextool; each takes the arguments after its own name.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

class IMessageSink;
class VextoolSink;

using CommandArguments = std::vector<std::string>;

// vextool itself: --version, --help, help COMMAND, --lang, or one of the commands below; a command
// whose output did not arrive fails. The setup log's entries are shown on standard error and kept
// by `log`; without it, in the log file of the current directory.
int RunVextool(const CommandArguments& arguments, IMessageSink& log);
int RunVextool(const CommandArguments& arguments);

// The commands report through `sink`, vextool's own.
// vextool fmt: format descriptions (check, layout, header, dump, diff).
int RunFmtCommand(const CommandArguments& arguments, VextoolSink& sink);
// vextool dat: binary parameter files (list, verify, extract, build, dump).
int RunDatCommand(const CommandArguments& arguments, VextoolSink& sink);
// vextool pkg: installation packages (build, verify, extract).
int RunPkgCommand(const CommandArguments& arguments, VextoolSink& sink);
// vextool migrate: the parameter migration of an update, offline.
int RunMigrateCommand(const CommandArguments& arguments, VextoolSink& sink);
// vextool backup: the update's backup folders (verify).
int RunBackupCommand(const CommandArguments& arguments, VextoolSink& sink);
// vextool restore: the old installation put back from a backup.
int RunRestoreCommand(const CommandArguments& arguments, VextoolSink& sink);

// Exit status for a command line that cannot be understood.
constexpr int kUsageError = 64;

struct CommandHelp;

struct Subcommand {
  const char* name;
  int (*run)(const CommandArguments&, VextoolSink&);
};

// Runs the subcommand that arguments[0] names with the arguments after it and `sink`. With no
// arguments, or with --help first, prints `help` (to standard error or output), with --version
// first the version; an unknown name is a usage error.
int RunSubcommand(const CommandHelp& help, const Subcommand* table, std::size_t count,
                  const CommandArguments& arguments, VextoolSink& sink);
template <std::size_t N>
int RunSubcommand(const CommandHelp& help, const Subcommand (&table)[N],
                  const CommandArguments& arguments, VextoolSink& sink) {
  return RunSubcommand(help, table, N, arguments, sink);
}
