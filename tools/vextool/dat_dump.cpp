// vextool dat dump: a section bound to its block format and written as the setup program writes
// a temporary parameter file.
#include <cstdio>
#include <vector>

#include "base/language.h"
#include "base/message_box.h"
#include "format/field_descriptor.h"
#include "migration/parameter_file.h"
#include "tools/vextool/dat_subcommands.h"

namespace {

constexpr const char* kUsage =
    "usage: vextool dat dump FILE.dat --fmt FILE.fmt [--block NAME]\n"
    "\n"
    "Reads the first section whose name matches NAME on four characters (default CController),\n"
    "binds its bytes to the block format NAME of FILE.fmt and prints '[NAME]' and one line\n"
    "'path = value' per value. The section's length must equal the block's size.\n";

constexpr int kMaxWarnings = 100;

struct DumpArguments {
  std::string file;
  std::string format;
  std::string block = "CController";
};

bool ReadArguments(const CommandArguments& arguments, DumpArguments* out) {
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if ((argument == "--fmt" || argument == "--block") && i + 1 < arguments.size()) {
      (argument == "--fmt" ? out->format : out->block) = arguments[++i];
    } else if (out->file.empty() && argument.rfind("-", 0) != 0) {
      out->file = argument;
    } else {
      return false;
    }
  }
  return !out->file.empty() && !out->format.empty() && !out->block.empty();
}

bool ReadSection(const std::string& path, const std::string& name,
                 std::vector<unsigned char>* bytes) {
  platform::File file;
  if (!file.Open(path, platform::File::Mode::kRead)) {
    std::fprintf(stderr, "vextool dat: cannot open '%s'\n", path.c_str());
    return false;
  }
  ParameterSection found;
  bool matched = false;
  const ChainStatus chain = WalkSections(file, [&](const ParameterSection& section) {
    matched = SectionNamesMatch(name, section.name);
    found = section;
    return !matched;
  });
  if (!matched) {
    std::fprintf(stderr, "vextool dat: no section '%s' in '%s'%s%s\n", name.c_str(), path.c_str(),
                 chain == ChainStatus::kComplete ? "" : "; chain broken: ",
                 chain == ChainStatus::kComplete ? "" : DescribeChainStatus(chain));
    return false;
  }
  bytes->resize(static_cast<std::size_t>(found.dataLength));
  if (!file.Seek(found.DataOffset()) ||
      (!bytes->empty() && file.Read(bytes->data(), bytes->size()) != bytes->size())) {
    std::fprintf(stderr, "vextool dat: cannot read section '%s'\n", found.name.c_str());
    return false;
  }
  return true;
}

}  // namespace

int RunDatDump(const CommandArguments& arguments) {
  if (arguments.size() == 1 && (arguments[0] == "--help" || arguments[0] == "-h")) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  DumpArguments dump;
  if (!ReadArguments(arguments, &dump)) {
    std::fputs(kUsage, stderr);
    return kUsageError;
  }
  std::vector<unsigned char> bytes;
  if (!ReadSection(dump.file, dump.block, &bytes)) {
    return 1;
  }
  // The order check's findings are worth seeing, but nobody is there to answer them, and past a
  // hundred they are no longer read one by one.
  SetLanguage(1);
  SetMessageBoxFunction([count = 0](const std::string& text, unsigned) mutable {
    if (++count > kMaxWarnings) {
      std::fputs("vextool dat dump: warning: further findings not shown\n", stderr);
      return kIdCancel;
    }
    std::fprintf(stderr, "vextool dat dump: warning: %s\n", text.c_str());
    return kIdOk;
  });
  CFieldDescriptor binder;
  const bool bound = binder.Bind(dump.block, bytes.data(), bytes.size(), dump.format);
  for (const std::string& text : binder.Parser().Diagnostics()) {
    std::fputs(text.c_str(), stderr);
  }
  std::fputs(binder.BindError().c_str(), stderr);
  if (!bound) {
    if (binder.Parser().Diagnostics().empty() && binder.BindError().empty()) {
      std::fprintf(stderr, "vextool dat dump: cannot read '%s'\n", dump.format.c_str());
    }
    return 1;
  }
  const std::string text = binder.TextDump(dump.block);
  std::fwrite(text.data(), 1, text.size(), stdout);
  return 0;
}
