#include "app/backup_manifest.h"

#include <set>
#include <sstream>

#include "base/multibyte_case.h"
#include "platform/path_split.h"

namespace {

constexpr const char* kHeader = "Pelmo backup manifest 1";

constexpr char kHexDigits[] = "0123456789abcdef";

// Every file of a backup has its digest written and read back: no formatting call per byte.
void AppendHexDigest(const Md5Digest& digest, std::string* text) {
  for (const std::uint8_t byte : digest) {
    *text += kHexDigits[byte >> 4];
    *text += kHexDigits[byte & 15];
  }
}

// The value of a lower-case hexadecimal digit, or -1.
int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

bool ReadHexDigest(const std::string& hex, Md5Digest* digest) {
  if (hex.size() != 32) return false;
  for (std::size_t i = 0; i < 16; ++i) {
    const int high = HexValue(hex[2 * i]), low = HexValue(hex[2 * i + 1]);
    if (high < 0 || low < 0) return false;
    (*digest)[i] = static_cast<std::uint8_t>(high * 16 + low);
  }
  return true;
}

bool ReadNumber(const std::string& text, std::uint64_t limit, std::uint64_t* value) {
  if (text.empty() || text.size() > 19) return false;
  *value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
    *value = *value * 10 + static_cast<std::uint64_t>(c - '0');
  }
  return *value <= limit;
}

// The fields of a line split at tabs, the last taking the rest of the line.
std::vector<std::string> SplitFields(const std::string& line, std::size_t count) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  while (fields.size() + 1 < count) {
    const std::size_t tab = line.find('\t', start);
    if (tab == std::string::npos) break;
    fields.push_back(line.substr(start, tab - start));
    start = tab + 1;
  }
  fields.push_back(line.substr(start));
  return fields;
}

// A relative path that stays inside the backup folder: no drive, no root, no "." or "..", no
// empty component.
bool StaysInside(const std::string& path) {
  if (path.empty() || path.find(':') != std::string::npos) return false;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = path.find_first_of("\\/", start);
    const std::string component = path.substr(start, end - start);
    if (component.empty() || component == "." || component == "..") return false;
    if (end == std::string::npos) return true;
    start = end + 1;
  }
}

bool ReadEntry(const std::vector<std::string>& fields, const BackupManifest& manifest,
               BackupEntry* entry) {
  std::uint64_t part = 0;
  if (manifest.parts.empty() || !ReadNumber(fields[1], manifest.parts.size() - 1, &part)) {
    return false;
  }
  entry->part = static_cast<std::size_t>(part);
  entry->path = fields.back();
  const std::string& into = manifest.parts[entry->part].into;
  if (!StaysInside(entry->path) || entry->path.size() <= into.size() ||
      entry->path.compare(0, into.size(), into) != 0) {
    return false;
  }
  if (entry->folder) return true;
  return ReadNumber(fields[2], UINT64_MAX >> 1, &entry->size) &&
         ReadHexDigest(fields[3], &entry->digest);
}

}  // namespace

std::string FormatBackupManifest(const BackupManifest& manifest) {
  std::string text = std::string(kHeader) + "\r\n";
  for (const BackupPart& part : manifest.parts) {
    text += "part\t" + part.into + "\t" + part.source + "\r\n";
  }
  for (const BackupEntry& entry : manifest.entries) {
    text += entry.folder ? "folder\t" : "file\t";
    text += std::to_string(entry.part) + "\t";
    if (!entry.folder) {
      text += std::to_string(entry.size) + "\t";
      AppendHexDigest(entry.digest, &text);
      text += "\t";
    }
    text += entry.path + "\r\n";
  }
  return text;
}

bool ParseBackupManifest(const std::string& text, BackupManifest* manifest, std::string* error) {
  *manifest = BackupManifest();
  std::istringstream lines(text);
  std::string line;
  std::size_t number = 0;
  std::set<std::string> paths;  // letter case aside, as the file system compares them
  const auto refuse = [&](const char* what) {
    *error = "line " + std::to_string(number) + ": " + what;
    return false;
  };
  while (std::getline(lines, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (number == 1) {
      if (line != kHeader) return refuse("not a backup manifest");
      continue;
    }
    const std::string kind = line.substr(0, line.find('\t'));
    if (kind == "part") {
      const std::vector<std::string> fields = SplitFields(line, 3);
      const std::string& into = fields[1];
      if (fields.size() != 3 || fields[2].empty() || !manifest->entries.empty() ||
          (!into.empty() && (into.back() != '\\' || !platform::EndsWithSeparator(into) ||
                             !StaysInside(into.substr(0, into.size() - 1))))) {
        return refuse("a part needs its folder in the backup and its source, before any entry");
      }
      manifest->parts.push_back({fields[2], into});
      continue;
    }
    BackupEntry entry;
    entry.folder = kind == "folder";
    const std::vector<std::string> fields = SplitFields(line, entry.folder ? 3 : 5);
    if ((kind != "file" && !entry.folder) || fields.size() != (entry.folder ? 3u : 5u) ||
        !ReadEntry(fields, *manifest, &entry)) {
      return refuse("not a well-formed folder or file line");
    }
    if (!paths.insert(ToUpperMultiByte(entry.path)).second) return refuse("a path named twice");
    manifest->entries.push_back(std::move(entry));
  }
  if (number == 0) return refuse("not a backup manifest");
  return true;
}
