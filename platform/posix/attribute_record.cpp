#include "platform/posix/attribute_record.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>

#include "platform/posix/volume_map.h"

namespace platform {
namespace {

std::string RecordFile() {
  return GetVolumeRoot() + "/.attributes";
}

// The path as recorded: relative to the root, so a staged machine can be moved.
std::string RecordKey(std::string hostPath) {
  while (hostPath.size() > 1 && hostPath.back() == '/') hostPath.pop_back();
  const std::string root = GetVolumeRoot() + "/";
  if (hostPath.compare(0, root.size(), root) == 0) hostPath.erase(0, root.size());
  return hostPath;
}

std::map<std::string, std::uint32_t> ReadRecord() {
  std::map<std::string, std::uint32_t> record;
  std::ifstream input(RecordFile());
  std::string line;
  while (std::getline(input, line)) {
    const std::size_t space = line.find(' ');
    if (space == std::string::npos) continue;
    record[line.substr(space + 1)] =
        static_cast<std::uint32_t>(std::strtoul(line.c_str(), nullptr, 16));
  }
  return record;
}

}  // namespace

std::uint32_t RecordedAttributes(const std::string& hostPath) {
  const auto record = ReadRecord();
  const auto found = record.find(RecordKey(hostPath));
  return found == record.end() ? 0 : found->second;
}

void RecordAttributes(const std::string& hostPath, std::uint32_t bits) {
  auto record = ReadRecord();
  const std::string key = RecordKey(hostPath);
  if (bits == 0 && record.find(key) == record.end()) return;
  if (bits == 0) {
    record.erase(key);
  } else {
    record[key] = bits;
  }
  std::ofstream output(RecordFile(), std::ios::trunc);
  for (const auto& [path, value] : record) {
    char hex[16];
    std::snprintf(hex, sizeof hex, "%08x", static_cast<unsigned>(value));
    output << hex << ' ' << path << '\n';
  }
}

}  // namespace platform
