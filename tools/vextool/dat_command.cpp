// vextool dat: binary parameter files as they arrive from the field.
#include <cstdio>

#include "migration/parameter_file.h"
#include "platform/file.h"
#include "tools/vextool/command_line.h"
#include "tools/vextool/dat_subcommands.h"
#include "tools/vextool/tool_messages.h"

namespace {

constexpr CommandHelp kHelp = {
    "vextool dat",
    "binary parameter files as they arrive from the field",
    "SUBCOMMAND [ARGUMENTS]",
    "Subcommands:\n"
    "  list FILE.dat          sections (offset, name, data length), whether the checksum holds\n"
    "  verify FILE.dat        whether magic, checksum and section chain hold\n"
    "  extract FILE.dat NAME  the data of one section\n"
    "  build NAME=FILE...     a valid file with these sections in this order\n"
    "  dump FILE.dat          the text dump of a section bound to its block format\n"
    "'vextool dat SUBCOMMAND --help' describes a subcommand.",
    nullptr,
    "that of the subcommand; 64 when the command line cannot be understood.",
    "$ vextool dat verify config/Mill_A/vexorand.dat\n"
    "config/Mill_A/vexorand.dat: good",
};

constexpr Subcommand kSubcommands[] = {
    {"list", RunDatList},   {"verify", RunDatVerify}, {"extract", RunDatExtract},
    {"build", RunDatBuild}, {"dump", RunDatDump},
};

}  // namespace

int RunDatCommand(const CommandArguments& arguments, VextoolSink& sink) {
  return RunSubcommand(kHelp, kSubcommands, arguments, sink);
}

bool ReadWholeFile(const std::string& path, std::string* bytes) {
  platform::File file;
  bytes->clear();
  if (!file.Open(path, platform::File::Mode::kRead) || !platform::ReadToEnd(file, bytes)) {
    SayCannot("vextool dat", "read", path);
    return false;
  }
  return true;
}

bool WriteWholeFile(const std::string& path, const std::string& bytes) {
  platform::File file;
  if (!file.Open(path, platform::File::Mode::kCreate) || !file.Write(bytes.data(), bytes.size())) {
    SayCannot("vextool dat", "write", path);
    return false;
  }
  return true;
}

bool ReadSectionData(const std::string& path, const std::string& name,
                     std::vector<unsigned char>* data) {
  NamedSectionRead read = ReadNamedSection(path, name);
  switch (read.status) {
    case NamedSectionRead::Status::kRead:
      data->swap(read.data);
      return true;
    case NamedSectionRead::Status::kCannotOpen:
      SayCannot("vextool dat", "open", path);
      break;
    case NamedSectionRead::Status::kNotFound:
      std::fprintf(stderr, "vextool dat: no section '%s' in '%s'%s%s\n", name.c_str(), path.c_str(),
                   read.chain == ChainStatus::kComplete ? "" : "; chain broken: ",
                   read.chain == ChainStatus::kComplete ? "" : DescribeChainStatus(read.chain));
      break;
    case NamedSectionRead::Status::kCannotRead:
      std::fprintf(stderr, "vextool dat: cannot read section '%s'\n", read.section.name.c_str());
      break;
  }
  return false;
}
