// vextool pkg: installation packages (setup program, payload, trailer).
#include <cstdio>

#include "app/package_read.h"
#include "platform/file.h"
#include "tools/vextool/pkg_subcommands.h"
#include "tools/vextool/tool_messages.h"

namespace {

constexpr CommandHelp kHelp = {
    "vextool pkg",
    "installation packages: setup program, payload and trailer",
    "SUBCOMMAND [ARGUMENTS]",
    "Subcommands:\n"
    "  build --setup EXE --payload EXE -o OUT  a package: the setup program, the payload and\n"
    "                                          the trailer with offset and MD5 digest\n"
    "  verify FILE                             payload offset and length, signature text\n"
    "  extract FILE -o OUT                     the payload of an intact package\n"
    "'vextool pkg SUBCOMMAND --help' describes a subcommand.",
    nullptr,
    "that of the subcommand; 64 when the command line cannot be understood.",
    "$ vextool pkg build --setup build/console/setup --payload vexorand-5.4.run -o package",
};

constexpr Subcommand kSubcommands[] = {
    {"build", RunPkgBuild},
    {"verify", RunPkgVerify},
    {"extract", RunPkgExtract},
};

}  // namespace

int RunPkgCommand(const CommandArguments& arguments, VextoolSink& sink) {
  return RunSubcommand(kHelp, kSubcommands, arguments, sink);
}

std::optional<int> ParsePkgOptions(const CommandArguments& arguments, const CommandSyntax& syntax,
                                   PkgOptions* options) {
  CommandLine line;
  if (const std::optional<int> status = ReadCommandLine(arguments, syntax, &line)) return *status;
  options->setup = line.Value("--setup");
  options->payload = line.Value("--payload");
  options->output = line.Value("--output");
  options->files = line.Operands();
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
  if (!copied)
    SayCannot("vextool pkg", writeFailed ? "write" : "read", writeFailed ? toName : fromName);
  return copied;
}
