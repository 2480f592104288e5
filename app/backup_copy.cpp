#include "app/backup_copy.h"

#include <utility>

#include "app/backup_check.h"
#include "base/folder_tree.h"
#include "base/multibyte_case.h"
#include "platform/file.h"
#include "platform/file_system.h"

namespace {

constexpr std::size_t kCopyBufferSize = 1 << 20;

// The real names in a folder the copy did not make, by their upper-case form: what is copied
// into it joins what is there, letter case aside, as on Windows.
bool ListNames(const platform::FolderWalk& folder, std::map<std::string, std::string>* names) {
  std::vector<platform::DirectoryEntry> entries;
  if (!folder.List("*", &entries)) return false;
  for (const platform::DirectoryEntry& entry : entries) {
    names->emplace(ToUpperMultiByte(entry.name), entry.name);
  }
  return true;
}

}  // namespace

BackupCopier::BackupCopier(IMessageSink& sink, std::string backupFolder)
    : sink_(sink), backupFolder_(std::move(backupFolder)), buffer_(kCopyBufferSize) {}

bool BackupCopier::CopyPart(const std::string& source, const std::string& into,
                            std::string* failedPath) {
  const std::string destination = backupFolder_ + into;
  const bool madeNow = !platform::IsDirectory(destination);
  if (madeNow && !CreateFolderTree(sink_, destination)) {
    *failedPath = destination;
    return false;
  }
  std::string longForm = platform::GetLongPathForm(source);
  if (longForm.empty() && !platform::LastErrorMeansMissing()) {
    *failedPath = source;
    return false;
  }
  manifest_.parts.push_back({longForm.empty() ? source : longForm, into});
  return CopyFolder({platform::FolderWalk(source), source},
                    {platform::FolderWalk(destination), destination}, into, madeNow, failedPath);
}

bool BackupCopier::CopyFolder(const Folder& from, const Folder& to, const std::string& relative,
                              bool madeNow, std::string* failedPath) {
  std::vector<platform::DirectoryEntry> entries;
  std::map<std::string, std::string> present;
  // An empty drive root lists nothing at all; any other folder lists at least "." and "..".
  if (!from.walk.List("*", &entries) && platform::LastErrorCode() != platform::kErrorFileNotFound) {
    *failedPath = from.path;
    return false;
  }
  if (!madeNow && !ListNames(to.walk, &present)) {
    *failedPath = to.path;
    return false;
  }
  for (const platform::DirectoryEntry& entry : entries) {
    const auto found = present.find(ToUpperMultiByte(entry.name));
    const std::string name = found == present.end() ? entry.name : found->second;
    BackupEntry copied;
    copied.part = manifest_.parts.size() - 1;
    copied.path = relative + name;
    copied.folder = entry.IsDirectory();
    if (copied.folder) {
      const bool made = found == present.end();
      if (made && !to.walk.MakeFolder(name)) {
        *failedPath = to.path + name;
        return false;
      }
      Record(copied);
      if (!CopyFolder({from.walk.Enter(entry.name), from.path + entry.name + "\\"},
                      {to.walk.Enter(name), to.path + name + "\\"}, copied.path + "\\", made,
                      failedPath)) {
        return false;
      }
    } else if (CopyFile(from, to, entry, name, &copied, failedPath)) {
      Record(copied);
    } else {
      return false;
    }
    if ((entry.attributes & kBackupKeptAttributes) != 0 &&
        !to.walk.SetAttributes(name, entry.attributes & kBackupKeptAttributes)) {
      *failedPath = to.path + name;
      return false;
    }
  }
  return true;
}

bool BackupCopier::CopyFile(const Folder& from, const Folder& to,
                            const platform::DirectoryEntry& entry, const std::string& name,
                            BackupEntry* copied, std::string* failedPath) {
  platform::File input, output;
  if (!from.walk.OpenFile(entry.name, platform::File::Mode::kRead, &input)) {
    *failedPath = from.path + entry.name;
    return false;
  }
  if (!to.walk.OpenFile(name, platform::File::Mode::kCreate, &output)) {
    *failedPath = to.path + name;
    return false;
  }
  Md5 md5;
  std::uint64_t size = 0;
  bool written = true;
  if (!ReadWholeFile(input, &buffer_, [&](const char* piece, std::size_t count) {
        md5.Update(piece, count);
        size += count;
        written = output.Write(piece, count);
        return written;
      })) {
    *failedPath = written ? from.path + entry.name : to.path + name;
    return false;
  }
  if (!output.CopyTimeStampsFrom(input)) {
    *failedPath = to.path + name;
    return false;
  }
  copied->size = size;
  copied->digest = md5.Finish();
  return true;
}

void BackupCopier::Record(BackupEntry entry) {
  const auto [at, added] =
      entryIndex_.emplace(ToUpperMultiByte(entry.path), manifest_.entries.size());
  if (added) {
    manifest_.entries.push_back(std::move(entry));
  } else {
    manifest_.entries[at->second] = std::move(entry);
  }
}

bool WriteBackupManifest(const std::string& backupFolder, const BackupManifest& manifest) {
  const std::string text = FormatBackupManifest(manifest);
  platform::File file;
  return file.Open(backupFolder + kBackupManifestName, platform::File::Mode::kCreate) &&
         file.Write(text.data(), text.size());
}
