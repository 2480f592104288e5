// vextool dat: binary parameter files as they arrive from the field.
#include <cstdio>

#include "platform/file.h"
#include "tools/vextool/dat_subcommands.h"

namespace {

constexpr const char* kUsage =
    "usage: vextool dat <subcommand> [arguments]\n"
    "\n"
    "subcommands:\n"
    "  list FILE.dat                     sections (offset, name, data length) and whether the\n"
    "                                    checksum holds\n"
    "  verify FILE.dat                   exit 0 when the file is good, 1 otherwise, saying why\n"
    "                                    (magic, checksum, section chain)\n"
    "  extract FILE.dat NAME -o OUT.bin  the data of the first section whose name matches NAME\n"
    "                                    on four characters, as the control program matches them\n"
    "  build -o FILE.dat NAME=FILE.bin...  a valid file with these sections in this order\n"
    "  dump FILE.dat --fmt FILE.fmt [--block NAME]\n"
    "                                    the text dump of a section bound to its block format\n"
    "                                    (default CController)\n";

constexpr Subcommand kSubcommands[] = {
    {"list", RunDatList},   {"verify", RunDatVerify}, {"extract", RunDatExtract},
    {"build", RunDatBuild}, {"dump", RunDatDump},
};

}  // namespace

int RunDatCommand(const CommandArguments& arguments) {
  return RunSubcommand("vextool dat", kUsage, kSubcommands, arguments);
}

bool ReadWholeFile(const std::string& path, std::string* bytes) {
  platform::File file;
  const std::uint64_t length = file.Open(path, platform::File::Mode::kRead) ? file.Length() : 0;
  if (!file.IsOpen() || length == UINT64_MAX) {
    std::fprintf(stderr, "vextool dat: cannot read '%s'\n", path.c_str());
    return false;
  }
  bytes->assign(static_cast<std::size_t>(length), '\0');
  if (!bytes->empty() && file.Read(&(*bytes)[0], bytes->size()) != bytes->size()) {
    std::fprintf(stderr, "vextool dat: cannot read '%s'\n", path.c_str());
    return false;
  }
  return true;
}

bool WriteWholeFile(const std::string& path, const std::string& bytes) {
  platform::File file;
  if (!file.Open(path, platform::File::Mode::kCreate) || !file.Write(bytes.data(), bytes.size())) {
    std::fprintf(stderr, "vextool dat: cannot write '%s'\n", path.c_str());
    return false;
  }
  return true;
}
