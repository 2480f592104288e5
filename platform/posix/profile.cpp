// Profile files read and written by our own reader, which follows the system's rules. A file is
// parsed once and its parse reused until the file changes or is written: a string file of
// thousands of entries is read entry by entry.
#include "platform/profile.h"

#include <sys/stat.h>
#include <time.h>

#include <algorithm>
#include <memory>
#include <mutex>
#include <unordered_map>

#include "platform/file.h"
#include "platform/file_system.h"
#include "platform/posix/fault_injection.h"
#include "platform/posix/volume_map.h"
#include "platform/profile_path.h"
#include "platform/profile_text.h"

namespace platform {
namespace {

// The file's bytes; a missing file reads as an empty one. False when it exists but cannot be
// read.
bool ReadWholeFile(const std::string& path, std::string* text) {
  text->clear();
  File file;
  if (!file.Open(path, File::Mode::kReadShared)) return !PathExists(path);
  return ReadToEnd(file, text);
}

// What tells one version of a file from another without reading it.
struct FileIdentity {
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  timespec modified{};
  timespec changed{};
  bool operator==(const FileIdentity& o) const {
    return device == o.device && inode == o.inode && size == o.size &&
           modified.tv_sec == o.modified.tv_sec && modified.tv_nsec == o.modified.tv_nsec &&
           changed.tv_sec == o.changed.tv_sec && changed.tv_nsec == o.changed.tv_nsec;
  }
};

struct CachedProfile {
  FileIdentity identity;
  timespec parsedAt{};
  std::shared_ptr<const ParsedProfile> parsed;
};

// File times come from a coarse clock: a change made within this margin of the parse may leave
// the times as they were, so such an entry is confirmed by its contents.
constexpr long long kTimeMarginNs = 100'000'000;
constexpr std::size_t kCachedFiles = 32;

long long Nanoseconds(const timespec& t) {
  return static_cast<long long>(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
}

std::mutex& CacheLock() {
  static std::mutex lock;
  return lock;
}

std::unordered_map<std::string, CachedProfile>& Cache() {
  static std::unordered_map<std::string, CachedProfile> cache;
  return cache;
}

std::shared_ptr<const ParsedProfile> Parse(std::string text) {
  return std::make_shared<const ParsedProfile>(std::move(text), ProfileCodePage::kUtf8);
}

// ReadWholeFile of a file whose parse is held, to confirm it. Whether the clock calls for it
// depends on timing, so a fault plan neither counts nor fails it.
bool ReadToConfirm(const std::string& path, std::string* text) {
  const UncountedFileOperations uncounted;
  return ReadWholeFile(path, text);
}

// The parse of the file as it is now: an empty one for a missing file, and for one that cannot
// be read, with `readable` (when given) set false; the kept one when only its confirming read
// fails.
std::shared_ptr<const ParsedProfile> Load(const std::string& file, bool* readable = nullptr) {
  if (readable != nullptr) *readable = true;
  const std::string path = ProfilePath(file);
  const std::string host = ToHostPath(path);
  struct stat status;
  if (stat(host.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) {
    std::string text;
    const bool read = ReadWholeFile(path, &text);
    if (readable != nullptr) *readable = read;
    return Parse(std::move(text));
  }
  FileIdentity identity{status.st_dev, status.st_ino, status.st_size, status.st_mtim,
                        status.st_ctim};
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  std::lock_guard<std::mutex> hold(CacheLock());
  auto& cache = Cache();
  const auto cached = cache.find(host);
  const bool sameFile = cached != cache.end() && cached->second.identity == identity;
  if (sameFile) {
    const long long newest =
        std::max(Nanoseconds(identity.modified), Nanoseconds(identity.changed));
    if (newest + kTimeMarginNs < Nanoseconds(cached->second.parsedAt)) {
      return cached->second.parsed;
    }
  }
  std::string text;
  if (sameFile && !ReadToConfirm(path, &text)) {
    // Nothing says the file changed, and its last parse beats none.
    return cached->second.parsed;
  }
  if (!sameFile && !ReadWholeFile(path, &text)) {
    if (readable != nullptr) *readable = false;
    cache.erase(host);
    return Parse(std::string());
  }
  if (sameFile && cached->second.parsed->Text() == text) {
    cached->second.parsedAt = now;
    return cached->second.parsed;
  }
  if (cache.size() >= kCachedFiles) cache.clear();
  CachedProfile& entry = cache[host];
  entry.identity = identity;
  entry.parsedAt = now;
  entry.parsed = Parse(std::move(text));
  return entry.parsed;
}

// The text of the file at `path` with the entry set; false when its present contents cannot be
// read, so that they are never rewritten.
bool TextWithEntry(const std::string& path, const std::string& section, const std::string& key,
                   const std::string& value, std::string* text) {
  if (!ReadWholeFile(path, text)) return false;
  *text = WriteProfileStringToText(*text, section, key, value, ProfileCodePage::kUtf8);
  return true;
}

void Forget(const std::string& file) {
  const std::string host = ToHostPath(ProfilePath(file));
  std::lock_guard<std::mutex> hold(CacheLock());
  Cache().erase(host);
}

}  // namespace

std::string ReadProfileString(const std::string& section, const std::string& key,
                              const std::string& defaultValue, const std::string& file,
                              std::size_t bufferSize) {
  return Load(file)->ReadString(section, key, defaultValue, bufferSize);
}

bool IsProfileReadable(const std::string& file) {
  bool readable = true;
  Load(file, &readable);
  return readable;
}

int ReadProfileInt(const std::string& section, const std::string& key, int defaultValue,
                   const std::string& file) {
  return Load(file)->ReadInt(section, key, defaultValue);
}

bool WriteProfileString(const std::string& section, const std::string& key,
                        const std::string& value, const std::string& file) {
  const std::string path = ProfilePath(file);
  std::string text;
  if (!TextWithEntry(path, section, key, value, &text)) return false;
  File output;
  const bool written =
      output.Open(path, File::Mode::kCreate) && output.Write(text.data(), text.size());
  output.Close();
  Forget(path);
  return written;
}

bool WriteProfileStringAtomically(const std::string& section, const std::string& key,
                                  const std::string& value, const std::string& file) {
  const std::string path = ProfilePath(file);
  std::string text;
  if (!TextWithEntry(path, section, key, value, &text)) return false;
  const std::string copy = path + ".tmp";
  File output;
  bool written = output.Open(copy, File::Mode::kCreate) && output.Write(text.data(), text.size()) &&
                 output.Flush();
  output.Close();
  written = written && ReplaceFileAtomically(copy, path);
  if (!written) RemoveFile(copy);
  Forget(path);
  return written;
}

}  // namespace platform
