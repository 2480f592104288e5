// vextool fmt: format descriptions, for the engineers who maintain them.
#include <cstdio>

#include "tools/vextool/fmt_dump.h"
#include "tools/vextool/fmt_subcommands.h"

namespace {

constexpr const char* kUsage =
    "usage: vextool fmt <subcommand> [arguments]\n"
    "\n"
    "subcommands:\n"
    "  check FILE.fmt              parse; 'ok: <T> types, <B> blocks' or the error, exit 1\n"
    "  layout FILE.fmt [--json]    sizes, alignments, ID spans and every field's place,\n"
    "                              with the padding holes\n"
    "  header FILE.fmt             a C header with the same layout and static_asserts on it\n"
    "  dump FILE.fmt --block NAME --data FILE.bin [--lang-dir DIR] [-o OUT]\n"
    "                              bind raw bytes to a block format and write the text dump\n"
    "\n"
    "'vextool fmt <subcommand> --help' describes a subcommand. Errors also go to the setup\n"
    "log, VexorandSetupLog.txt in the current directory.\n";

constexpr Subcommand kSubcommands[] = {
    {"check", RunFmtCheck},
    {"layout", RunFmtLayout},
    {"header", RunFmtHeader},
    {"dump", RunFmtDump},
};

}  // namespace

int RunFmtCommand(const CommandArguments& arguments) {
  return RunSubcommand("vextool fmt", kUsage, kSubcommands, arguments);
}

bool ParseFormatFile(const std::string& path, CFormatParser& parser) {
  const bool parsed = parser.Parse(path);
  for (const std::string& text : parser.Diagnostics()) std::fputs(text.c_str(), stderr);
  if (!parsed && parser.Diagnostics().empty()) {
    std::fprintf(stderr, "vextool fmt: cannot read '%s'\n", path.c_str());
  }
  return parsed;
}
