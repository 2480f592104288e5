// The subcommands of vextool pkg and what they share.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "tools/vextool/command_line.h"

namespace platform {
class File;
}

int RunPkgBuild(const CommandArguments& arguments, VextoolSink& sink);
int RunPkgVerify(const CommandArguments& arguments, VextoolSink& sink);
int RunPkgExtract(const CommandArguments& arguments, VextoolSink& sink);

// A subcommand's command line: named values and plain arguments in order.
struct PkgOptions {
  std::string setup;    // --setup
  std::string payload;  // --payload
  std::string output;   // -o
  std::vector<std::string> files;
};

// Reads a subcommand's command line (options --setup, --payload, --output). Returns the exit
// status to end with (0 after --help, kUsageError after saying why), or nothing to go on.
std::optional<int> ParsePkgOptions(const CommandArguments& arguments, const CommandSyntax& syntax,
                                   PkgOptions* options);

// Copies `size` bytes from the current position of `from` to the end of `to` in pieces, showing
// each piece to `observe` (for hashing). False after a message naming the file that failed.
bool CopyFileBytes(platform::File& from, const std::string& fromName, std::uint64_t size,
                   platform::File& to, const std::string& toName,
                   const std::function<void(const std::uint8_t*, std::size_t)>& observe);
