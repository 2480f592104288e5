// vextool dat dump: a section bound to its block format and written as the setup program writes
// a temporary parameter file.
#include <cstdio>
#include <vector>

#include "format/field_descriptor.h"
#include "tools/vextool/command_line.h"
#include "tools/vextool/dat_subcommands.h"
#include "tools/vextool/fmt_dump.h"
#include "tools/vextool/tool_messages.h"
#include "tools/vextool/vextool_sink.h"

namespace {

const CommandSyntax kSyntax = {
    {"vextool dat dump", "a section of a parameter file as the setup program dumps it",
     "FILE.dat --fmt FILE.fmt [--block NAME] [--lang-dir DIR]",
     "Reads the first section whose name matches NAME on four characters, binds its bytes to\n"
     "the block format NAME of FILE.fmt and prints '[NAME]' and one line 'path = value' per\n"
     "value. The section's length must equal the block's size. The order check's findings are\n"
     "printed as warnings.",
     "--fmt FILE.fmt  the format description\n"
     "--block NAME    the section and block format (default CController)\n"
     "--lang-dir DIR  the installation folder whose Lang\\Lang.ini names the language folder of\n"
     "                the {@n} comments (default: the current directory)",
     "0 the dump was written; 1 a file cannot be read or the section does not bind; 64 usage.",
     "$ vextool dat dump config/Mill_A/vexorand.dat --fmt vexorand.fmt | head -2\n"
     "[CController]\n"
     "m_dwOptions = 0x00000013"},
    {RequiredOption("--fmt"), ValueOption("--block"), ValueOption("--lang-dir")},
    {"FILE.dat"},
};

constexpr int kMaxWarnings = 100;

}  // namespace

int RunDatDump(const CommandArguments& arguments, VextoolSink& sink) {
  CommandLine line;
  if (const std::optional<int> status = ReadCommandLine(arguments, kSyntax, &line)) return *status;
  struct {
    std::string file, format, block;
  } dump{line.Operand(0), line.Value("--fmt"),
         line.Has("--block") ? line.Value("--block") : "CController"};
  std::vector<unsigned char> bytes;
  if (!ReadSectionData(dump.file, dump.block, &bytes)) return 1;
  // The order check's findings are worth seeing, but nobody is there to answer them, and past a
  // hundred they are no longer read one by one.
  UseLanguageFolderOf(line.Value("--lang-dir"), sink);
  CommandSink reported(sink, [count = 0](const std::string& text, unsigned) mutable {
    if (++count > kMaxWarnings) {
      std::fputs("vextool dat dump: warning: further findings not shown\n", stderr);
      return kIdCancel;
    }
    std::fprintf(stderr, "vextool dat dump: warning: %s\n", text.c_str());
    return kIdOk;
  });
  CFieldDescriptor binder(reported);
  const bool bound = binder.Bind(dump.block, bytes.data(), bytes.size(), dump.format);
  if (!bound) {
    if (reported.LogEntries() == 0) {
      SayCannot("vextool dat dump", "read", dump.format);
    }
    return 1;
  }
  const std::string text = binder.TextDump(dump.block);
  std::fwrite(text.data(), 1, text.size(), stdout);
  return 0;
}
