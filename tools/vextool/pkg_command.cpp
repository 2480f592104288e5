// vextool pkg: installation packages (setup program, payload, trailer).
#include <cstdio>

#include "app/package_read.h"
#include "platform/file.h"
#include "tools/vextool/pkg_subcommands.h"

namespace {

constexpr const char* kUsage =
    "usage: vextool pkg <subcommand> [arguments]\n"
    "\n"
    "subcommands:\n"
    "  build --setup EXE --payload EXE -o OUT   a package: the setup program, the payload and\n"
    "                                           the trailer with offset and MD5 digest\n"
    "  verify FILE                              payload offset and length, signature text; exit\n"
    "                                           0 when the digest matches, 1 when not\n"
    "  extract FILE -o OUT                      the payload of an intact package\n"
    "\n"
    "'vextool pkg <subcommand> --help' describes a subcommand.\n";

constexpr Subcommand kSubcommands[] = {
    {"build", RunPkgBuild},
    {"verify", RunPkgVerify},
    {"extract", RunPkgExtract},
};

}  // namespace

int RunPkgCommand(const CommandArguments& arguments) {
  return RunSubcommand("vextool pkg", kUsage, kSubcommands, arguments);
}

std::optional<int> ParsePkgOptions(const CommandArguments& arguments, const char* usage,
                                   const PkgSyntax& syntax, PkgOptions* options) {
  if (PrintHelpIfAsked(arguments, usage)) {
    return 0;
  }
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    std::string* value = nullptr;
    if (argument == "--setup") {
      value = &options->setup;
    } else if (argument == "--payload") {
      value = &options->payload;
    } else if (argument == "-o" || argument == "--output") {
      value = &options->output;
    } else if (!argument.empty() && argument[0] == '-') {
      std::fprintf(stderr, "vextool pkg: unknown option '%s'\n%s", argument.c_str(), usage);
      return kUsageError;
    } else {
      options->files.push_back(argument);
      continue;
    }
    if (i + 1 == arguments.size()) {
      std::fprintf(stderr, "vextool pkg: '%s' needs a value\n%s", argument.c_str(), usage);
      return kUsageError;
    }
    *value = arguments[++i];
  }
  const bool fits =
      options->setup.empty() != syntax.setup && options->payload.empty() != syntax.payload &&
      options->output.empty() != syntax.output && options->files.size() == syntax.files;
  if (!fits) {
    return UsageError(usage);
  }
  return std::nullopt;
}

bool CopyFileBytes(platform::File& from, const std::string& fromName, std::uint64_t size,
                   platform::File& to, const std::string& toName,
                   const std::function<void(const std::uint8_t*, std::size_t)>& observe) {
  bool writeFailed = false;
  const bool copied = ReadInPieces(
      [&from](void* buffer, std::size_t count) { return from.Read(buffer, count); }, size,
      [&](const std::uint8_t* piece, std::size_t count) {
        observe(piece, count);
        writeFailed = !to.Write(piece, count);
        return !writeFailed;
      });
  if (!copied) {
    std::fprintf(stderr, "vextool pkg: cannot %s '%s'\n", writeFailed ? "write" : "read",
                 writeFailed ? toName.c_str() : fromName.c_str());
  }
  return copied;
}
