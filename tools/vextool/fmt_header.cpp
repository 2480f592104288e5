// vextool fmt header: a C header that proves a program's structures match a format description.
#include <cstdio>

#include "tools/vextool/fmt_header_writer.h"
#include "tools/vextool/fmt_subcommands.h"

namespace {

constexpr const char* kUsage =
    "usage: vextool fmt header FILE.fmt\n"
    "\n"
    "Writes to standard output a C header with every declared structure and block format in\n"
    "fixed-width types (pointers as uint32_t, the controller program being 32-bit) under the\n"
    "same pack pragmas, each followed by static_asserts on its size, alignment and every field's\n"
    "offset and size. Compile it with the controller program's 32-bit compiler: it compiles only\n"
    "if that compiler lays the structures out as the format description does. Names that C\n"
    "cannot use become type_<index>, block_<index> or field_<index>, the declared name in a\n"
    "comment beside them.\n";

}  // namespace

int RunFmtHeader(const CommandArguments& arguments) {
  if (PrintHelpIfAsked(arguments, kUsage)) return 0;
  if (arguments.size() != 1 || arguments[0].rfind("--", 0) == 0) return UsageError(kUsage);
  CFormatParser parser;
  if (!ParseFormatFile(arguments[0], parser)) return 1;
  const std::string text = LayoutHeader(parser, parser.SourceName());
  std::fwrite(text.data(), 1, text.size(), stdout);
  return 0;
}
