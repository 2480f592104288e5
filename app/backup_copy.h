// The backup's own copy: every file read and written by this program, so that its MD5 digest is
// taken from the bytes as they are written and every failure, a listing's included, is seen.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "app/backup_manifest.h"
#include "base/message_sink.h"
#include "platform/folder_walk.h"

// The attribute bits a backup keeps of each file and folder (read-only, hidden, system); the
// others are the system's to set.
constexpr std::uint32_t kBackupKeptAttributes =
    platform::kAttributeReadOnly | platform::kAttributeHidden | 0x04;

class BackupCopier {
 public:
  // Into the folder `backupFolder` (trailing backslash), which exists; a folder path too long to
  // make is logged through `sink`.
  BackupCopier(IMessageSink& sink, std::string backupFolder);

  // Copies the contents of the folder `source` (trailing backslash) into `into` (relative to the
  // backup folder, "" or ending in a backslash, made when missing) and adds the part and all it
  // holds to the manifest. A file that an earlier part brought under the same name is replaced,
  // and so is its manifest entry. False at the first failure, with `failedPath` naming what
  // could not be listed, made, read or written.
  bool CopyPart(const std::string& source, const std::string& into, std::string* failedPath);

  const BackupManifest& manifest() const { return manifest_; }

 private:
  struct Folder {
    platform::FolderWalk walk;
    std::string path;  // Windows path with a trailing backslash, to name failures
  };

  bool CopyFolder(const Folder& from, const Folder& to, const std::string& relative, bool madeNow,
                  std::string* failedPath);
  bool CopyFile(const Folder& from, const Folder& to, const platform::DirectoryEntry& entry,
                const std::string& name, BackupEntry* copied, std::string* failedPath);
  void Record(BackupEntry entry);

  IMessageSink& sink_;
  std::string backupFolder_;
  BackupManifest manifest_;
  std::map<std::string, std::size_t> entryIndex_;  // upper-case path to its manifest entry
  std::vector<char> buffer_;
};

// Writes the manifest into the backup folder; the flush of the backup folder puts it on the disk
// with the files it lists. False when it cannot be written.
bool WriteBackupManifest(const std::string& backupFolder, const BackupManifest& manifest);
