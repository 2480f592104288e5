// The subcommands of vextool pkg and what they share.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "tools/vextool/commands.h"

namespace platform {
class File;
}

int RunPkgBuild(const CommandArguments& arguments);
int RunPkgVerify(const CommandArguments& arguments);
int RunPkgExtract(const CommandArguments& arguments);

// A subcommand's command line: named values and plain arguments in order.
struct PkgOptions {
  std::string setup;    // --setup
  std::string payload;  // --payload
  std::string output;   // -o
  std::vector<std::string> files;
};

// What a subcommand's command line must hold: each named value it takes, and how many files.
struct PkgSyntax {
  bool setup = false;
  bool payload = false;
  bool output = false;
  std::size_t files = 0;
};

// Reads a subcommand's command line. Returns the exit status to end with (0 after --help,
// kUsageError after saying why when the line does not fit `syntax`), or nothing to go on.
std::optional<int> ParsePkgOptions(const CommandArguments& arguments, const char* usage,
                                   const PkgSyntax& syntax, PkgOptions* options);

// Copies `size` bytes from the current position of `from` to the end of `to` in pieces, showing
// each piece to `observe` (for hashing). False after a message naming the file that failed.
bool CopyFileBytes(platform::File& from, const std::string& fromName, std::uint64_t size,
                   platform::File& to, const std::string& toName,
                   const std::function<void(const std::uint8_t*, std::size_t)>& observe);
