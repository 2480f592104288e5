// vextool fmt dump: binds raw bytes to a block format and writes the text dump.
#include "tools/vextool/fmt_dump.h"

#include <cstdint>
#include <cstdio>
#include <vector>

#include "base/language.h"
#include "base/language_folder.h"
#include "base/message_box.h"
#include "format/field_descriptor.h"
#include "platform/file.h"

namespace {

constexpr const char* kUsage =
    "usage: vextool fmt dump FILE.fmt --block NAME --data FILE.bin [--lang-dir DIR] [-o OUT]\n"
    "\n"
    "Binds the bytes of FILE.bin to the block format NAME of the format description and writes\n"
    "'[NAME]' and one line 'path = value' per value, as the setup program writes a temporary\n"
    "parameter file: to standard output, or with -o to OUT (CR LF line ends). The file's size\n"
    "must equal the block's. Parameter numbers that repeat or fall are printed as warnings.\n"
    "\n"
    "--lang-dir DIR  the installation folder whose Lang\\Lang.ini names the language folder of\n"
    "                the {@n} comments (default: the current directory)\n";

// More findings than this are not worth reading one by one.
constexpr int kMaxWarnings = 100;

bool ReadWholeFile(const std::string& path, std::vector<unsigned char>& bytes) {
  platform::File file;
  if (!file.Open(path, platform::File::Mode::kRead)) return false;
  const std::uint64_t length = file.Length();
  if (length == UINT64_MAX || length > SIZE_MAX) return false;
  bytes.resize(static_cast<std::size_t>(length));
  return bytes.empty() || file.Read(bytes.data(), bytes.size()) == bytes.size();
}

std::string OnOneLine(std::string text) {
  for (std::size_t at = 0; (at = text.find("\r\n", at)) != std::string::npos;) {
    const bool after_blank = at > 0 && text[at - 1] == ' ';
    text.replace(at, 2, after_blank ? "" : " ");
  }
  return text;
}

// Message boxes become warnings, printed after what the parse logged; the order check is cut
// short after kMaxWarnings findings.
void CollectMessagesAsWarnings(std::vector<std::string>& warnings) {
  SetMessageBoxFunction([&warnings](const std::string& text, unsigned style) {
    if (warnings.size() >= static_cast<std::size_t>(kMaxWarnings)) {
      warnings.push_back("further findings not shown");
      return kIdCancel;
    }
    warnings.push_back(OnOneLine(text));
    return (style & 0x0F) == kMbYesNo ? kIdYes : kIdOk;
  });
}

struct DumpArguments {
  std::string format;
  std::string block;
  std::string data;
  std::string lang_dir;
  std::string output;
};

bool ReadArguments(const CommandArguments& arguments, DumpArguments& out) {
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    std::string* value = nullptr;
    if (argument == "--block") value = &out.block;
    if (argument == "--data") value = &out.data;
    if (argument == "--lang-dir") value = &out.lang_dir;
    if (argument == "-o") value = &out.output;
    if (value != nullptr) {
      if (++i >= arguments.size()) return false;
      *value = arguments[i];
    } else if (out.format.empty() && argument.rfind("-", 0) != 0) {
      out.format = argument;
    } else {
      return false;
    }
  }
  return !out.format.empty() && !out.block.empty() && !out.data.empty();
}

}  // namespace

int RunFmtDump(const CommandArguments& arguments) {
  for (const std::string& argument : arguments) {
    if (argument == "--help" || argument == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    }
  }
  DumpArguments dump;
  if (!ReadArguments(arguments, dump)) {
    std::fputs(kUsage, stderr);
    return kUsageError;
  }
  std::vector<unsigned char> bytes;
  if (!ReadWholeFile(dump.data, bytes)) {
    std::fprintf(stderr, "vextool fmt dump: cannot read '%s'\n", dump.data.c_str());
    return 1;
  }
  SetLanguage(1);
  std::vector<std::string> warnings;
  CollectMessagesAsWarnings(warnings);
  if (!dump.lang_dir.empty()) {
    if (dump.lang_dir.back() != '\\' && dump.lang_dir.back() != '/') dump.lang_dir += '\\';
    DetermineLanguageFolder(dump.lang_dir);
  }

  CFieldDescriptor binder;
  const bool bound =
      dump.output.empty()
          ? binder.Bind(dump.block, bytes.data(), bytes.size(), dump.format)
          : binder.WriteTextDump(dump.block, bytes.data(), bytes.size(), dump.format, dump.output);
  SetMessageBoxFunction(nullptr);
  for (const std::string& text : binder.Parser().Diagnostics()) std::fputs(text.c_str(), stderr);
  for (const std::string& text : warnings) {
    std::fprintf(stderr, "vextool fmt dump: warning: %s\n", text.c_str());
  }
  if (!binder.BindError().empty()) std::fputs(binder.BindError().c_str(), stderr);
  if (!bound) {
    if (binder.Parser().Diagnostics().empty() && binder.BindError().empty()) {
      std::fprintf(stderr, "vextool fmt dump: cannot read '%s'\n", dump.format.c_str());
    } else if (binder.BoundBlock() != nullptr) {
      std::fprintf(stderr, "vextool fmt dump: cannot write '%s'\n", dump.output.c_str());
    }
    return 1;
  }
  if (dump.output.empty()) {
    const std::string text = binder.TextDump(dump.block);
    std::fwrite(text.data(), 1, text.size(), stdout);
  }
  return 0;
}
