// vextool fmt check: does a format description parse, and what does it declare.
#include <cstdio>

#include "tools/vextool/fmt_subcommands.h"
#include "values/scalar_types.h"

namespace {

constexpr const char* kUsage =
    "usage: vextool fmt check FILE.fmt\n"
    "\n"
    "Parses the format description as the setup program does. Prints 'ok: <T> types, <B> blocks'\n"
    "(T the declared structures, B the block formats) and exits 0, or prints the error as the\n"
    "setup log records it and exits 1. Refused output formats are printed but do not fail.\n";

}  // namespace

int RunFmtCheck(const CommandArguments& arguments) {
  if (PrintHelpIfAsked(arguments, kUsage)) return 0;
  if (arguments.size() != 1) return UsageError(kUsage);
  CFormatParser parser;
  if (!ParseFormatFile(arguments[0], parser)) return 1;
  std::printf("ok: %d types, %d blocks\n", parser.Types().Count() - kScalarTypeCount,
              parser.BlockCount());
  return 0;
}
