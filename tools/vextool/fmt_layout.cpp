// vextool fmt layout: where every field of a format description lies.
#include <cstdio>

#include "tools/vextool/fmt_layout_writer.h"
#include "tools/vextool/fmt_subcommands.h"

namespace {

constexpr const char* kUsage =
    "usage: vextool fmt layout FILE.fmt [--json]\n"
    "\n"
    "Every declared structure and block format: size, alignment, ID span, and per field the\n"
    "offset, size, alignment, element count, pointer flag, output formats, ID offset and string\n"
    "flag, with the padding holes between fields. A block format's size has no tail padding.\n"
    "\n"
    "--json  one object {\"types\":[...],\"blocks\":[...]}; each type has index, name, size,\n"
    "        align, idspan and fields; each field name, type, type_index, pointer, count,\n"
    "        offset, size, align (its type's own alignment), format, element_format, comment,\n"
    "        idoffset, lower, upper and string. Absent texts are null; bytes above 127 are\n"
    "        written as \\u0080 to \\u00FF.\n";

}  // namespace

int RunFmtLayout(const CommandArguments& arguments) {
  if (PrintHelpIfAsked(arguments, kUsage)) return 0;
  std::string path;
  bool json = false;
  for (const std::string& argument : arguments) {
    if (argument == "--json") {
      json = true;
    } else if (path.empty() && argument.rfind("--", 0) != 0) {
      path = argument;
    } else {
      return UsageError(kUsage);
    }
  }
  if (path.empty()) return UsageError(kUsage);
  CFormatParser parser;
  if (!ParseFormatFile(path, parser)) return 1;
  const std::string text = json ? LayoutJson(parser) : LayoutText(parser);
  std::fwrite(text.data(), 1, text.size(), stdout);
  return 0;
}
