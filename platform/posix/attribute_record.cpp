#include "platform/posix/attribute_record.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <utility>

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

using Record = std::map<std::string, std::uint32_t>;

// The record as last read, kept while the file stays the same: listings ask for every entry.
struct CachedRecord {
  std::string file;
  struct timespec modified {};
  off_t size = -1;
  Record entries;
  unsigned walk = 0;  // the walk during which it was last read or written
};

CachedRecord g_cache;

const Record& ReadRecord() {
  static const Record kEmpty;
  CachedRecord& cache = g_cache;
  const std::string file = RecordFile();
  // Only this process changes the record while a walk runs: one look at the file is enough.
  if (CurrentWalk() != 0 && cache.walk == CurrentWalk() && cache.file == file) {
    return cache.entries;
  }
  struct stat status;
  if (stat(file.c_str(), &status) != 0) {
    cache = CachedRecord{file, {}, -1, Record{}, CurrentWalk()};
    return kEmpty;
  }
  if (cache.file == file && cache.size == status.st_size &&
      cache.modified.tv_sec == status.st_mtim.tv_sec &&
      cache.modified.tv_nsec == status.st_mtim.tv_nsec) {
    cache.walk = CurrentWalk();
    return cache.entries;
  }
  Record record;
  std::ifstream input(file);
  std::string line;
  while (std::getline(input, line)) {
    const std::size_t space = line.find(' ');
    if (space == std::string::npos) continue;
    record[line.substr(space + 1)] =
        static_cast<std::uint32_t>(std::strtoul(line.c_str(), nullptr, 16));
  }
  cache = CachedRecord{file, status.st_mtim, status.st_size, std::move(record), CurrentWalk()};
  return cache.entries;
}

}  // namespace

std::uint32_t RecordedAttributes(const std::string& hostPath) {
  const Record& record = ReadRecord();
  const auto found = record.find(RecordKey(hostPath));
  return found == record.end() ? 0 : found->second;
}

void RecordAttributes(const std::string& hostPath, std::uint32_t bits) {
  if (GetVolumeRoot().empty()) return;
  const std::string key = RecordKey(hostPath);
  const Record& current = ReadRecord();
  const auto found = current.find(key);
  if (found == current.end() ? bits == 0 : found->second == bits) return;
  Record record = current;
  if (bits == 0) {
    record.erase(key);
  } else {
    record[key] = bits;
  }
  g_cache = CachedRecord{};
  {
    std::ofstream output(RecordFile(), std::ios::trunc);
    for (const auto& [path, value] : record) {
      char hex[16];
      std::snprintf(hex, sizeof hex, "%08x", static_cast<unsigned>(value));
      output << hex << ' ' << path << '\n';
    }
  }
  // What was just written is what a walk reads next.
  if (CurrentWalk() != 0)
    g_cache = CachedRecord{RecordFile(), {}, -1, std::move(record), CurrentWalk()};
}

}  // namespace platform
