// vextool dat list and verify: what a parameter file holds and whether it is whole.
#include <cinttypes>
#include <cstdio>
#include <vector>

#include "migration/parameter_file.h"
#include "tools/vextool/command_line.h"
#include "tools/vextool/dat_subcommands.h"
#include "tools/vextool/tool_messages.h"

namespace {

struct FileReport {
  bool headerRead = false;
  ParameterFileHeader header;
  bool checksumRead = false;
  std::uint32_t checksum = 0;
  std::vector<ParameterSection> sections;
  ChainStatus chain = ChainStatus::kUnreadable;

  bool MagicHolds() const { return headerRead && header.magic == kParameterFileMagic; }
  bool ChecksumHolds() const { return headerRead && checksumRead && checksum == header.checksum; }
  bool ChainHolds() const { return chain == ChainStatus::kComplete; }
};

bool Examine(const std::string& path, FileReport* report) {
  platform::File file;
  if (!file.Open(path, platform::File::Mode::kRead)) {
    SayCannot("vextool dat", "open", path);
    return false;
  }
  report->headerRead = ReadParameterFileHeader(file, &report->header);
  report->checksumRead = ComputeParameterFileChecksum(file, &report->checksum);
  report->chain = WalkSections(file, [report](const ParameterSection& section) {
    report->sections.push_back(section);
    return true;
  });
  return true;
}

const CommandSyntax kListSyntax = {
    {"vextool dat list", "the sections of a parameter file", "FILE.dat",
     "Lists the sections (header offset, name, data length) and says whether the magic and\n"
     "the checksum hold, and where the section chain breaks if it does.",
     nullptr, "0 the file was read; 1 it cannot be opened; 64 usage.",
     "$ vextool dat list config/Mill_A/vexorand.dat\n"
     "magic:    FFLC\n"
     "checksum: stored 0x5A1C02F3, computed 0x5A1C02F3, holds\n"
     "offset      name                                          length\n"
     "0x00000008  CMachineInfo                                  12\n"
     "0x00000040  CController                                   1016"},
    {},
    {"FILE.dat"},
};

const CommandSyntax kVerifySyntax = {
    {"vextool dat verify", "whether a parameter file is whole", "FILE.dat",
     "Checks the magic, the checksum and the section chain as the setup program does, and\n"
     "names each fault found.",
     nullptr, "0 the file is good; 1 it is not, or cannot be opened; 64 usage.",
     "$ vextool dat verify config/Mill_A/vexorand.dat\n"
     "config/Mill_A/vexorand.dat: good"},
    {},
    {"FILE.dat"},
};

}  // namespace

int RunDatList(const CommandArguments& arguments, VextoolSink&) {
  CommandLine line;
  if (const std::optional<int> status = ReadCommandLine(arguments, kListSyntax, &line)) {
    return *status;
  }
  const std::string& path = line.Operand(0);
  FileReport report;
  if (!Examine(path, &report)) {
    return 1;
  }
  std::printf("magic:    %s\n", report.MagicHolds() ? "FFLC" : "wrong");
  if (report.headerRead && report.checksumRead) {
    std::printf("checksum: stored 0x%08" PRIX32 ", computed 0x%08" PRIX32 ", %s\n",
                report.header.checksum, report.checksum,
                report.ChecksumHolds() ? "holds" : "does not hold");
  } else {
    std::printf("checksum: cannot be taken (file shorter than its header)\n");
  }
  std::printf("%-10s  %-44s  %s\n", "offset", "name", "length");
  for (const ParameterSection& section : report.sections) {
    std::printf("0x%08" PRIX64 "  %-44s  %" PRIu64 "\n", section.headerOffset, section.name.c_str(),
                section.dataLength);
  }
  if (!report.ChainHolds()) {
    std::printf("chain:    broken: %s\n", DescribeChainStatus(report.chain));
  }
  return 0;
}

int RunDatVerify(const CommandArguments& arguments, VextoolSink&) {
  CommandLine line;
  if (const std::optional<int> status = ReadCommandLine(arguments, kVerifySyntax, &line)) {
    return *status;
  }
  const std::string& path = line.Operand(0);
  FileReport report;
  if (!Examine(path, &report)) {
    return 1;
  }
  std::vector<std::string> faults;
  if (!report.headerRead) {
    faults.push_back("file shorter than its 8-byte header");
  } else if (!report.MagicHolds()) {
    faults.push_back("wrong file magic");
  }
  if (report.headerRead && !report.ChecksumHolds()) {
    faults.push_back("checksum does not hold");
  }
  if (!report.ChainHolds()) {
    faults.push_back(std::string("section chain broken: ") + DescribeChainStatus(report.chain));
  }
  if (faults.empty()) {
    std::printf("%s: good\n", path.c_str());
    return 0;
  }
  for (const std::string& fault : faults) {
    std::printf("%s: %s\n", path.c_str(), fault.c_str());
  }
  return 1;
}
