// vextool fmt layout: where every field of a format description lies.
#include <cstdio>

#include "tools/vextool/command_line.h"
#include "tools/vextool/fmt_dump.h"
#include "tools/vextool/fmt_layout_writer.h"
#include "tools/vextool/fmt_subcommands.h"
#include "tools/vextool/vextool_sink.h"

namespace {

const CommandSyntax kSyntax = {
    {"vextool fmt layout", "where every field of a format description lies",
     "FILE.fmt [--json] [--lang-dir DIR]",
     "Every declared structure and block format: size, alignment, ID span, and per field the\n"
     "offset, size, alignment (the effective one under the pack value, and the type's own),\n"
     "element count, pointer flag, output formats, ID offset and string flag, with the padding\n"
     "holes between fields. A field's type is shown as written: an alias keeps its name. A\n"
     "block format's size has no tail padding.",
     "--json  one object {\"types\":[...],\"blocks\":[...]}; each type has index, name, size,\n"
     "        align, idspan and fields; each field name, type (as written), type_index,\n"
     "        pointer, count, offset, size, align (the type's own alignment), packed_align (the\n"
     "        effective one), format, element_format, comment, idoffset, lower, upper and\n"
     "        string. Absent texts are null; bytes above 127 are written as \\u0080 to \\u00FF.\n"
     "--lang-dir DIR  the installation folder whose Lang\\Lang.ini names the string file of the\n"
     "                {@n} comments (default: the current directory)",
     "0 the layout was written; 1 the file cannot be read or does not parse; 64 usage.",
     "$ vextool fmt layout vexorand.fmt | head -3"},
    {FlagOption("--json"), ValueOption("--lang-dir")},
    {"FILE.fmt"},
};

}  // namespace

int RunFmtLayout(const CommandArguments& arguments, VextoolSink& sink) {
  CommandLine line;
  if (const std::optional<int> status = ReadCommandLine(arguments, kSyntax, &line)) return *status;
  UseLanguageFolderOf(line.Value("--lang-dir"), sink);
  CommandSink counted(sink);
  CFormatParser parser(counted);
  if (!ParseFormatFile(line.Operand(0), parser, counted)) return 1;
  const std::string text = line.Has("--json") ? LayoutJson(parser) : LayoutText(parser);
  std::fwrite(text.data(), 1, text.size(), stdout);
  return 0;
}
