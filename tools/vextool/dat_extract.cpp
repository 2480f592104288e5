// vextool dat extract and build: one section's bytes out, a whole valid file in.
#include <cstdio>
#include <utility>
#include <vector>

#include "migration/parameter_file.h"
#include "tools/vextool/command_line.h"
#include "tools/vextool/dat_subcommands.h"

namespace {

const CommandSyntax kExtractSyntax = {
    {"vextool dat extract", "the data of one section of a parameter file",
     "FILE.dat NAME -o OUT.bin",
     "Writes the data of the first section whose name matches NAME on four characters, as the\n"
     "control program matches them, to OUT.bin.",
     "-o, --output OUT.bin  where the data goes",
     "0 the data was written; 1 the file or the section cannot be read, or OUT cannot be\n"
     "written; 64 usage.",
     "$ vextool dat extract config/Mill_A/vexorand.dat CController -o mill.bin"},
    {RequiredOption("--output", "-o")},
    {"FILE.dat", "NAME"},
};

const CommandSyntax kBuildSyntax = {
    {"vextool dat build", "a valid parameter file from the data of its sections",
     "-o FILE.dat NAME=FILE.bin...",
     "Writes a valid parameter file (magic, checksum, section chain) holding the given files'\n"
     "bytes as sections, in the order given. Names have 1 to 44 characters.",
     "-o, --output FILE.dat  the file to write",
     "0 the file was written; 1 an input cannot be read or FILE.dat cannot be written; 64 usage.",
     "$ vextool dat build -o vexorand.dat CMachineInfo=info.bin CController=mill.bin"},
    {RequiredOption("--output", "-o")},
    {"NAME=FILE.bin"},
    true,
};

}  // namespace

int RunDatExtract(const CommandArguments& arguments, VextoolSink&) {
  CommandLine line;
  if (const std::optional<int> status = ReadCommandLine(arguments, kExtractSyntax, &line)) {
    return *status;
  }
  std::vector<unsigned char> data;
  if (!ReadSectionData(line.Operand(0), line.Operand(1), &data)) return 1;
  return WriteWholeFile(line.Value("--output"), std::string(data.begin(), data.end())) ? 0 : 1;
}

int RunDatBuild(const CommandArguments& arguments, VextoolSink&) {
  CommandLine line;
  if (const std::optional<int> status = ReadCommandLine(arguments, kBuildSyntax, &line)) {
    return *status;
  }
  std::vector<std::pair<std::string, std::string>> sections;
  for (const std::string& operand : line.Operands()) {
    const std::size_t equals = operand.find('=');
    if (equals == std::string::npos || equals == 0 || equals > kSectionNameSize) {
      return CommandUsageError(kBuildSyntax.help,
                               "'" + operand + "' is not NAME=FILE with a name of 1 to " +
                                   std::to_string(kSectionNameSize) + " characters");
    }
    std::string data;
    if (!ReadWholeFile(operand.substr(equals + 1), &data)) return 1;
    sections.emplace_back(operand.substr(0, equals), std::move(data));
  }
  return WriteWholeFile(line.Value("--output"), BuildParameterFile(sections)) ? 0 : 1;
}
