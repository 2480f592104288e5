// vextool dat list and verify: what a parameter file holds and whether it is whole.
#include <cinttypes>
#include <cstdio>
#include <vector>

#include "migration/parameter_file.h"
#include "tools/vextool/dat_subcommands.h"

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
    std::fprintf(stderr, "vextool dat: cannot open '%s'\n", path.c_str());
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

bool TakeOnePath(const CommandArguments& arguments, const char* usage, std::string* path) {
  if (arguments.size() == 1 && (arguments[0] == "--help" || arguments[0] == "-h")) {
    std::fputs(usage, stdout);
    return false;
  }
  if (arguments.size() != 1) {
    std::fputs(usage, stderr);
    return false;
  }
  *path = arguments[0];
  return true;
}

int HelpOrUsageStatus(const CommandArguments& arguments) {
  return arguments.size() == 1 && (arguments[0] == "--help" || arguments[0] == "-h") ? 0
                                                                                     : kUsageError;
}

}  // namespace

int RunDatList(const CommandArguments& arguments) {
  static const char kListUsage[] =
      "usage: vextool dat list FILE.dat\n"
      "Lists the sections (header offset, name, data length) and checks magic and checksum.\n";
  std::string path;
  if (!TakeOnePath(arguments, kListUsage, &path)) {
    return HelpOrUsageStatus(arguments);
  }
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

int RunDatVerify(const CommandArguments& arguments) {
  static const char kVerifyUsage[] =
      "usage: vextool dat verify FILE.dat\n"
      "Exit status 0 when magic, checksum and section chain hold, 1 otherwise.\n";
  std::string path;
  if (!TakeOnePath(arguments, kVerifyUsage, &path)) {
    return HelpOrUsageStatus(arguments);
  }
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
