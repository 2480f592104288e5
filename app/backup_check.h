// Checking a backup folder: against the installation it was made of, before anything is deleted
// (names and sizes only), and against its manifest, as long afterwards as needed (every byte).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/backup_manifest.h"
#include "platform/file.h"

struct BackupDifference {
  enum class Kind { kMissing, kNotInManifest, kSize, kContent, kUnreadable };
  Kind kind;
  std::string path;  // relative to the backup folder
};

// "missing", "not in the manifest", ...: how a difference is named in logs and reports.
const char* DescribeBackupDifference(BackupDifference::Kind kind);

// Reads the whole of `file`, exactly its length, passing each piece to `take` (which may refuse
// it) through `buffer`: a read that fails is never taken for the end.
bool ReadWholeFile(platform::File& file, std::vector<char>* buffer,
                   const std::function<bool(const char*, std::size_t)>& take);

// The manifest's bytes; false when they cannot be read.
bool ReadBackupManifestText(const std::string& backupFolder, std::string* text);
// Reads `backupFolder`'s manifest; false with what is wrong in `error` (the system's reason when
// it cannot be read).
bool ReadBackupManifest(const std::string& backupFolder, BackupManifest* manifest,
                        std::string* error);

// The folders and files the backup and the folders it was made of hold against the manifest:
// the same names, kinds and sizes. A file a walk missed shows here. False, with `failedPath`,
// when a folder cannot be listed.
bool CompareBackupWithSources(const std::string& backupFolder, const BackupManifest& manifest,
                              std::vector<BackupDifference>* differences, std::string* failedPath);

// The backup against its manifest: every folder and file there and nothing else, each file of
// its size and MD5 digest. False, with `failedPath`, when a folder cannot be listed.
bool VerifyBackup(const std::string& backupFolder, const BackupManifest& manifest,
                  std::vector<BackupDifference>* differences, std::string* failedPath);
