// vextool fmt header: a C header that proves a program's structures match a format description.
#include <cstdio>

#include "tools/vextool/command_line.h"
#include "tools/vextool/fmt_dump.h"
#include "tools/vextool/fmt_header_writer.h"
#include "tools/vextool/fmt_subcommands.h"
#include "tools/vextool/vextool_sink.h"

namespace {

const CommandSyntax kSyntax = {
    {"vextool fmt header", "a C header with the layout of a format description",
     "FILE.fmt [--lang-dir DIR]",
     "Writes to standard output a C header with every declared structure and block format in\n"
     "fixed-width types (pointers as uint32_t, the controller program being 32-bit) under the\n"
     "same pack pragmas, each followed by static_asserts on its size, alignment and every\n"
     "field's offset and size. Compile it with the controller program's 32-bit compiler: it\n"
     "compiles only if that compiler lays the structures out as the format description does.\n"
     "It compiles as C and as C++. Names that C cannot use become type_<index>, block_<index>\n"
     "or field_<index>, the declared name in a comment beside them.",
     "--lang-dir DIR  the installation folder whose Lang\\Lang.ini names the string file of the\n"
     "                {@n} comments (default: the current directory)",
     "0 the header was written; 1 the file cannot be read or does not parse; 64 usage.",
     "$ vextool fmt header vexorand.fmt > vexorand_layout.h\n"
     "$ i686-w64-mingw32-gcc -fsyntax-only -x c vexorand_layout.h"},
    {ValueOption("--lang-dir")},
    {"FILE.fmt"},
};

}  // namespace

int RunFmtHeader(const CommandArguments& arguments, VextoolSink& sink) {
  CommandLine line;
  if (const std::optional<int> status = ReadCommandLine(arguments, kSyntax, &line)) return *status;
  UseLanguageFolderOf(line.Value("--lang-dir"), sink);
  CommandSink counted(sink);
  CFormatParser parser(counted);
  if (!ParseFormatFile(line.Operand(0), parser, counted)) return 1;
  const std::string text = LayoutHeader(parser, parser.SourceName());
  std::fwrite(text.data(), 1, text.size(), stdout);
  return 0;
}
