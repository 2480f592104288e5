// vextool fmt check: does a format description parse, and what does it declare.
#include <cstdio>

#include "tools/vextool/command_line.h"
#include "tools/vextool/fmt_dump.h"
#include "tools/vextool/fmt_subcommands.h"
#include "tools/vextool/vextool_sink.h"
#include "values/scalar_types.h"

namespace {

const CommandSyntax kSyntax = {
    {"vextool fmt check", "parse a format description as the setup program does",
     "FILE.fmt [--lang-dir DIR]",
     "Parses the format description as the setup program does. Prints 'ok: <T> types, <B>\n"
     "blocks' (T the declared structures, B the block formats), or the error as the setup log\n"
     "records it. Refused output formats are printed but do not fail.",
     "--lang-dir DIR  the installation folder whose Lang\\Lang.ini names the string file of the\n"
     "                {@n} comments (default: the current directory)",
     "0 the file parses; 1 it cannot be read or does not parse; 64 usage.",
     "$ vextool fmt check vexorand.fmt\n"
     "ok: 9 types, 1 blocks"},
    {ValueOption("--lang-dir")},
    {"FILE.fmt"},
};

}  // namespace

int RunFmtCheck(const CommandArguments& arguments, VextoolSink& sink) {
  CommandLine line;
  if (const std::optional<int> status = ReadCommandLine(arguments, kSyntax, &line)) return *status;
  UseLanguageFolderOf(line.Value("--lang-dir"), sink);
  CommandSink counted(sink);
  CFormatParser parser(counted);
  if (!ParseFormatFile(line.Operand(0), parser, counted)) return 1;
  std::printf("ok: %d types, %d blocks\n", parser.Types().Count() - kScalarTypeCount,
              parser.BlockCount());
  return 0;
}
