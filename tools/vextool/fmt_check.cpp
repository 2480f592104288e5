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
     "records it. Refused output formats are printed but do not fail. A file that declares no\n"
     "block format is no format description the setup program can use: it fails.",
     "--lang-dir DIR  the installation folder whose Lang\\Lang.ini names the string file of the\n"
     "                {@n} comments (default: the current directory)",
     "0 the file parses; 1 it cannot be read, does not parse or declares no block format;\n"
     "64 usage.",
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
  const std::string& path = line.Operand(0);
  if (!ParseFormatFile(path, parser, counted)) return 1;
  const int types = parser.Types().Count() - kScalarTypeCount;
  if (parser.BlockCount() == 0) {
    std::fprintf(stderr, "vextool fmt check: '%s' declares %s\n", path.c_str(),
                 types == 0 ? "nothing (is it empty?)"
                            : "no block format ('field NAME { ... };'), only structures");
    return 1;
  }
  std::printf("ok: %d types, %d blocks\n", types, parser.BlockCount());
  return 0;
}
