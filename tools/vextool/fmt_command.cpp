// vextool fmt: format descriptions, for the engineers who maintain them.
#include <cstdio>

#include "tools/vextool/command_line.h"
#include "tools/vextool/fmt_dump.h"
#include "tools/vextool/fmt_subcommands.h"
#include "tools/vextool/tool_messages.h"
#include "tools/vextool/vextool_sink.h"

namespace {

constexpr CommandHelp kHelp = {
    "vextool fmt",
    "format descriptions, for the engineers who maintain them",
    "SUBCOMMAND [ARGUMENTS]",
    "Subcommands:\n"
    "  check FILE.fmt     parse; 'ok: <T> types, <B> blocks' or the error\n"
    "  layout FILE.fmt    sizes, alignments, ID spans and every field's place, with the holes\n"
    "  header FILE.fmt    a C header with the same layout and static_asserts on it\n"
    "  dump FILE.fmt      bind raw bytes to a block format and write the text dump\n"
    "  diff OLD NEW       what changed between two format descriptions, and what a migration\n"
    "                     between them drops\n"
    "'vextool fmt SUBCOMMAND --help' describes a subcommand. What a subcommand's work writes to\n"
    "the setup log (VexorandSetupLog.txt in the current directory) also goes to standard error.",
    nullptr,
    "that of the subcommand; 64 when the command line cannot be understood.",
    "$ vextool fmt check demo/old/Control/vexorand.fmt\n"
    "ok: 9 types, 1 blocks",
};

constexpr Subcommand kSubcommands[] = {
    {"check", RunFmtCheck}, {"layout", RunFmtLayout}, {"header", RunFmtHeader},
    {"dump", RunFmtDump},   {"diff", RunFmtDiff},
};

}  // namespace

int RunFmtCommand(const CommandArguments& arguments, VextoolSink& sink) {
  return RunSubcommand(kHelp, kSubcommands, arguments, sink);
}

bool ParseFormatFile(const std::string& path, CFormatParser& parser, const CommandSink& sink) {
  const int logged = sink.LogEntries();
  const bool parsed = parser.Parse(path);
  if (!parsed && sink.LogEntries() == logged) {
    SayCannot("vextool fmt", "read", path);
  }
  return parsed;
}
