// The subcommands of vextool; each takes the arguments after its own name.
#pragma once

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
