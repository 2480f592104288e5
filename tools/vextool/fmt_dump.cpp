// vextool fmt dump: binds raw bytes to a block format and writes the text dump.
#include "tools/vextool/fmt_dump.h"

#include <cstdio>
#include <vector>

#include "base/language_folder.h"
#include "format/field_descriptor.h"
#include "format/node_paths.h"
#include "platform/file.h"
#include "platform/path_split.h"
#include "tools/vextool/command_line.h"
#include "tools/vextool/tool_messages.h"
#include "tools/vextool/vextool_sink.h"

namespace {

const CommandSyntax kSyntax = {
    {"vextool fmt dump", "bind raw bytes to a block format and write the text dump",
     "FILE.fmt --block NAME --data FILE.bin [--lang-dir DIR] [-o OUT]",
     "Binds the bytes of FILE.bin to the block format NAME of the format description and\n"
     "writes '[NAME]' and one line 'path = value' per value, as the setup program writes a\n"
     "temporary parameter file: to standard output, or with -o to OUT (CR LF line ends). The\n"
     "file's size must equal the block's. Parameter numbers that repeat or fall are printed as\n"
     "warnings. A block without parameter numbers is dumped in declaration order.",
     "--block NAME    the block format to bind to\n"
     "--data FILE     the raw bytes of one block\n"
     "--lang-dir DIR  the installation folder whose Lang\\Lang.ini names the language folder of\n"
     "                the {@n} comments (default: the current directory); a host folder,\n"
     "                absolute or relative\n"
     "-o, --output OUT  write the dump to OUT instead of standard output",
     "0 the dump was written; 1 a file cannot be read or written, or the bytes do not bind;\n"
     "64 usage.",
     "$ vextool fmt dump vexorand.fmt --block CController --data mill.bin | head -3\n"
     "[CController]\n"
     "m_dwOptions = 0x00000013\n"
     "m_Axes[0].m_szName = \"X\""},
    {RequiredOption("--block"), RequiredOption("--data"), ValueOption("--lang-dir"),
     ValueOption("--output", "-o")},
    {"FILE.fmt"},
};

// More findings than this are not worth reading one by one.
constexpr int kMaxWarnings = 100;

bool ReadWholeFile(const std::string& path, std::vector<unsigned char>& bytes) {
  platform::File file;
  std::string read;
  if (!file.Open(path, platform::File::Mode::kRead) || !platform::ReadToEnd(file, &read)) {
    return false;
  }
  bytes.assign(read.begin(), read.end());
  return true;
}

std::string OnOneLine(std::string text) {
  for (std::size_t at = 0; (at = text.find("\r\n", at)) != std::string::npos;) {
    const bool afterBlank = at > 0 && text[at - 1] == ' ';
    text.replace(at, 2, afterBlank ? "" : " ");
  }
  return text;
}

// Message boxes become warnings, printed after what the parse logged; the order check is cut
// short after kMaxWarnings findings.
CommandSink::Show CollectMessagesAsWarnings(std::vector<std::string>& warnings) {
  return [&warnings](const std::string& text, unsigned style) {
    if (warnings.size() >= static_cast<std::size_t>(kMaxWarnings)) {
      warnings.push_back("further findings not shown");
      return kIdCancel;
    }
    warnings.push_back(OnOneLine(text));
    return (style & 0x0F) == kMbYesNo ? kIdYes : kIdOk;
  };
}

}  // namespace

void UseLanguageFolderOf(const std::string& folder, IMessageSink& sink) {
  if (folder.empty()) return;
  DetermineLanguageFolder(platform::WithTrailingSeparator(folder), sink);
}

int RunFmtDump(const CommandArguments& arguments, VextoolSink& sink) {
  CommandLine line;
  if (const std::optional<int> status = ReadCommandLine(arguments, kSyntax, &line)) return *status;
  struct {
    std::string format, block, data, langDir, output;
  } dump{line.Operand(0), line.Value("--block"), line.Value("--data"), line.Value("--lang-dir"),
         line.Value("--output")};
  std::vector<unsigned char> bytes;
  if (!ReadWholeFile(dump.data, bytes)) {
    SayCannot("vextool fmt dump", "read", dump.data);
    return 1;
  }
  std::vector<std::string> warnings;
  CommandSink reported(sink, CollectMessagesAsWarnings(warnings));
  UseLanguageFolderOf(dump.langDir, reported);

  CFieldDescriptor binder(reported);
  const bool bound =
      dump.output.empty()
          ? binder.Bind(dump.block, bytes.data(), bytes.size(), dump.format)
          : binder.WriteTextDump(dump.block, bytes.data(), bytes.size(), dump.format, dump.output);
  for (const std::string& text : warnings) {
    std::fprintf(stderr, "vextool fmt dump: warning: %s\n", text.c_str());
  }
  if (!bound) {
    // A block is bound only when the format was read, so then it was the dump that failed.
    if (binder.BoundBlock() != nullptr) {
      SayCannot("vextool fmt dump", "write", dump.output);
    } else if (reported.LogEntries() == 0) {
      SayCannot("vextool fmt dump", "read", dump.format);
    }
    return 1;
  }
  if (dump.output.empty()) {
    const std::string text = binder.TextDump(dump.block);
    std::fwrite(text.data(), 1, text.size(), stdout);
  }
  // Left out of the dump: in a parameter line they would be cut short or add lines.
  for (const CValueNode* node : binder.UncarriedNodes()) {
    std::string value;
    for (const char c : node->valueText) {
      value += c == '\n' ? "\\n" : c == '\r' ? "\\r" : std::string(1, c);
    }
    std::fprintf(stderr,
                 "vextool fmt dump: warning: %s = %s: the value holds ';' or a line break, which "
                 "a parameter line cannot carry; left out\n",
                 FieldPath(*node).c_str(), value.c_str());
  }
  return 0;
}
