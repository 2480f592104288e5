// vextool dat extract and build: one section's bytes out, a whole valid file in.
#include <cstdio>
#include <utility>
#include <vector>

#include "migration/parameter_file.h"
#include "tools/vextool/dat_subcommands.h"

namespace {

bool IsHelp(const CommandArguments& arguments) {
  return arguments.size() == 1 && (arguments[0] == "--help" || arguments[0] == "-h");
}

}  // namespace

int RunDatExtract(const CommandArguments& arguments) {
  static const char kUsage[] =
      "usage: vextool dat extract FILE.dat NAME -o OUT.bin\n"
      "Writes the data of the first section whose name matches NAME on four characters.\n";
  if (IsHelp(arguments)) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  std::vector<std::string> positional;
  std::string output;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    if (arguments[i] == "-o" && i + 1 < arguments.size()) {
      output = arguments[++i];
    } else {
      positional.push_back(arguments[i]);
    }
  }
  if (positional.size() != 2 || output.empty()) {
    std::fputs(kUsage, stderr);
    return kUsageError;
  }
  platform::File file;
  if (!file.Open(positional[0], platform::File::Mode::kRead)) {
    std::fprintf(stderr, "vextool dat: cannot open '%s'\n", positional[0].c_str());
    return 1;
  }
  ParameterSection found;
  bool matched = false;
  const ChainStatus chain = WalkSections(file, [&](const ParameterSection& section) {
    matched = SectionNamesMatch(positional[1], section.name);
    found = section;
    return !matched;
  });
  if (!matched) {
    std::fprintf(stderr, "vextool dat: no section '%s' in '%s'%s%s\n", positional[1].c_str(),
                 positional[0].c_str(), chain == ChainStatus::kComplete ? "" : "; chain broken: ",
                 chain == ChainStatus::kComplete ? "" : DescribeChainStatus(chain));
    return 1;
  }
  std::string bytes(static_cast<std::size_t>(found.dataLength), '\0');
  if (!file.Seek(found.DataOffset()) ||
      (!bytes.empty() && file.Read(&bytes[0], bytes.size()) != bytes.size())) {
    std::fprintf(stderr, "vextool dat: cannot read section '%s'\n", found.name.c_str());
    return 1;
  }
  return WriteWholeFile(output, bytes) ? 0 : 1;
}

int RunDatBuild(const CommandArguments& arguments) {
  static const char kUsage[] =
      "usage: vextool dat build -o FILE.dat NAME=FILE.bin [NAME=FILE.bin...]\n"
      "Writes a valid parameter file (magic, checksum, section chain) holding the given files'\n"
      "bytes as sections, in the order given. Names have at most 44 characters.\n";
  if (IsHelp(arguments)) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  std::string output;
  std::vector<std::pair<std::string, std::string>> sections;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    if (arguments[i] == "-o" && i + 1 < arguments.size()) {
      output = arguments[++i];
      continue;
    }
    const std::size_t equals = arguments[i].find('=');
    if (equals == std::string::npos || equals == 0 || equals > kSectionNameSize) {
      std::fprintf(stderr,
                   "vextool dat: '%s' is not NAME=FILE with a name of 1 to %zu characters\n",
                   arguments[i].c_str(), kSectionNameSize);
      return kUsageError;
    }
    std::string data;
    if (!ReadWholeFile(arguments[i].substr(equals + 1), &data)) {
      return 1;
    }
    sections.emplace_back(arguments[i].substr(0, equals), std::move(data));
  }
  if (output.empty() || sections.empty()) {
    std::fputs(kUsage, stderr);
    return kUsageError;
  }
  return WriteWholeFile(output, BuildParameterFile(sections)) ? 0 : 1;
}
