// The subcommands of vextool pkg and what they share.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
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
  bool help = false;  // --help or -h
};

// False, after saying why and showing `usage`, when the command line cannot be understood.
bool ParsePkgOptions(const CommandArguments& arguments, const char* usage, PkgOptions* options);

// Copies `size` bytes from the current position of `from` to the end of `to` in pieces, showing
// each piece to `observe` (for hashing). False after a message naming the file that failed.
bool CopyFileBytes(platform::File& from, const std::string& fromName, std::uint64_t size,
                   platform::File& to, const std::string& toName,
                   const std::function<void(const std::uint8_t*, std::size_t)>& observe);
