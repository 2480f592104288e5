// The manifest a backup folder holds: where each part of the backup came from, and every folder
// and file in it with the file's size and MD5 digest, so that the backup can be checked and put
// back long after the update that made it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/md5.h"

// The manifest's name in the backup folder.
constexpr const char* kBackupManifestName = "backup_manifest.txt";

// A folder copied into the backup: `source` (Windows path, long form, trailing backslash) went
// into `into`, relative to the backup folder ("" for the backup folder itself, else ending in a
// backslash).
struct BackupPart {
  std::string source;
  std::string into;
};

// A folder or file of the backup; `path` is relative to the backup folder and lies in the part
// `part` (an index of BackupManifest::parts).
struct BackupEntry {
  std::size_t part = 0;
  std::string path;
  bool folder = false;
  std::uint64_t size = 0;  // files only
  Md5Digest digest{};      // files only
};

struct BackupManifest {
  std::vector<BackupPart> parts;
  std::vector<BackupEntry> entries;
};

// The manifest's text: one line a part, folder or file, fields separated by tabs, the path last.
// A name with a line break in it does not read back (Windows allows none).
std::string FormatBackupManifest(const BackupManifest& manifest);

// Reads a manifest's text, which may be anything: false, with the line and what is wrong with
// it in `error`, unless every line is well formed, every entry lies in its part, and no path
// leaves the backup folder.
bool ParseBackupManifest(const std::string& text, BackupManifest* manifest, std::string* error);
