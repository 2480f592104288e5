#include "app/backup_check.h"

#include <algorithm>
#include <map>

#include "base/multibyte_case.h"
#include "platform/file.h"
#include "platform/file_system.h"
#include "platform/folder_walk.h"
#include "platform/setup_api.h"

namespace {

struct TreeEntry {
  std::string path;
  bool folder = false;
  bool link = false;  // its listed size is the link's, not its target's
  std::uint64_t size = 0;
};

// Entries by their upper-case path, as the file system tells names apart.
using Tree = std::map<std::string, TreeEntry>;

bool ListInto(const platform::FolderWalk& folder, const std::string& relative,
              const std::string& path, Tree* tree, std::string* failedPath) {
  std::vector<platform::DirectoryEntry> entries;
  // An empty drive root lists nothing at all; any other folder lists at least "." and "..".
  if (!folder.List("*", &entries) && platform::LastErrorCode() != platform::kErrorFileNotFound) {
    *failedPath = path;
    return false;
  }
  for (const platform::DirectoryEntry& entry : entries) {
    const std::string name = relative + entry.name;
    (*tree)[ToUpperMultiByte(name)] = {name, entry.IsDirectory(), entry.IsLink(), entry.size};
    if (entry.IsDirectory() && !ListInto(folder.Enter(entry.name), name + "\\",
                                         path + entry.name + "\\", tree, failedPath)) {
      return false;
    }
  }
  return true;
}

// Every folder and file below `folder` (trailing backslash), their paths prefixed by `into`.
bool ListTree(const std::string& folder, const std::string& into, Tree* tree,
              std::string* failedPath) {
  return ListInto(platform::FolderWalk(folder), into, folder, tree, failedPath);
}

Tree ManifestTree(const BackupManifest& manifest) {
  Tree tree;
  for (const BackupEntry& entry : manifest.entries) {
    tree[ToUpperMultiByte(entry.path)] = {entry.path, entry.folder, false, entry.size};
  }
  return tree;
}

// The folders that hold a part of the backup without belonging to any part.
bool HoldsAPart(const BackupManifest& manifest, const std::string& upperPath) {
  for (const BackupPart& part : manifest.parts) {
    if (ToUpperMultiByte(part.into).rfind(upperPath + "\\", 0) == 0) return true;
  }
  return false;
}

// What `found` holds against what the manifest says; what only one of them has is `onlyExpected`
// or `onlyFound`.
void Compare(const Tree& found, const Tree& expected, BackupDifference::Kind onlyExpected,
             BackupDifference::Kind onlyFound, std::vector<BackupDifference>* differences) {
  for (const auto& [key, entry] : expected) {
    const auto there = found.find(key);
    if (there == found.end() || there->second.folder != entry.folder) {
      differences->push_back({onlyExpected, entry.path});
    } else if (!entry.folder && !there->second.link && there->second.size != entry.size) {
      differences->push_back({BackupDifference::Kind::kSize, entry.path});
    }
  }
  for (const auto& [key, entry] : found) {
    if (expected.count(key) == 0) {
      differences->push_back({onlyFound, entry.path});
    }
  }
}

// The backup folder's own listing, without the manifest and the folders that only hold parts;
// `listed` is the manifest's tree.
bool ListBackup(const std::string& backupFolder, const BackupManifest& manifest, const Tree& listed,
                Tree* tree, std::string* failedPath) {
  if (!ListTree(backupFolder, "", tree, failedPath)) return false;
  tree->erase(ToUpperMultiByte(kBackupManifestName));
  for (auto it = tree->begin(); it != tree->end();) {
    const bool holder = it->second.folder && HoldsAPart(manifest, it->first);
    it = holder && listed.count(it->first) == 0 ? tree->erase(it) : std::next(it);
  }
  return true;
}

bool DigestOf(const std::string& path, std::uint64_t* size, Md5Digest* digest) {
  platform::File file;
  Md5 md5;
  *size = 0;
  std::vector<char> buffer(1 << 20);
  if (!file.Open(path, platform::File::Mode::kReadShared) ||
      !ReadWholeFile(file, &buffer, [&](const char* piece, std::size_t count) {
        md5.Update(piece, count);
        *size += count;
        return true;
      })) {
    return false;
  }
  *digest = md5.Finish();
  return true;
}

}  // namespace

const char* DescribeBackupDifference(BackupDifference::Kind kind) {
  switch (kind) {
    case BackupDifference::Kind::kMissing:
      return "missing";
    case BackupDifference::Kind::kNotInManifest:
      return "not in the manifest";
    case BackupDifference::Kind::kSize:
      return "size differs";
    case BackupDifference::Kind::kContent:
      return "content differs";
    case BackupDifference::Kind::kUnreadable:
      return "cannot be read";
  }
  return "";
}

bool ReadWholeFile(platform::File& file, std::vector<char>* buffer,
                   const std::function<bool(const char*, std::size_t)>& take) {
  const std::uint64_t length = file.Length();
  if (length == UINT64_MAX) return false;
  for (std::uint64_t done = 0; done < length;) {
    const std::size_t got =
        file.Read(buffer->data(),
                  static_cast<std::size_t>(std::min<std::uint64_t>(buffer->size(), length - done)));
    if (got == 0 || !take(buffer->data(), got)) return false;
    done += got;
  }
  return true;
}

bool ReadBackupManifestText(const std::string& backupFolder, std::string* text) {
  platform::File file;
  std::vector<char> buffer(1 << 16);
  return file.Open(backupFolder + kBackupManifestName, platform::File::Mode::kReadShared) &&
         ReadWholeFile(file, &buffer, [text](const char* piece, std::size_t count) {
           text->append(piece, count);
           return true;
         });
}

bool ReadBackupManifest(const std::string& backupFolder, BackupManifest* manifest,
                        std::string* error) {
  std::string text;
  if (!ReadBackupManifestText(backupFolder, &text)) {
    *error = std::string(kBackupManifestName) +
             " cannot be read: " + platform::SystemErrorText(platform::LastErrorCode());
    return false;
  }
  return ParseBackupManifest(text, manifest, error);
}

bool CompareBackupWithSources(const std::string& backupFolder, const BackupManifest& manifest,
                              std::vector<BackupDifference>* differences, std::string* failedPath) {
  Tree sources;
  // A later part replaces what an earlier one brought under the same name, as the copy does.
  for (const BackupPart& part : manifest.parts) {
    if (!ListTree(part.source, part.into, &sources, failedPath)) return false;
  }
  const Tree expected = ManifestTree(manifest);
  Tree backup;
  if (!ListBackup(backupFolder, manifest, expected, &backup, failedPath)) return false;
  // A file of the installation that the manifest lacks is missing from the backup.
  Compare(sources, expected, BackupDifference::Kind::kNotInManifest,
          BackupDifference::Kind::kMissing, differences);
  Compare(backup, expected, BackupDifference::Kind::kMissing,
          BackupDifference::Kind::kNotInManifest, differences);
  return true;
}

bool VerifyBackup(const std::string& backupFolder, const BackupManifest& manifest,
                  std::vector<BackupDifference>* differences, std::string* failedPath) {
  const Tree expected = ManifestTree(manifest);
  Tree backup;
  if (!ListBackup(backupFolder, manifest, expected, &backup, failedPath)) return false;
  Compare(backup, expected, BackupDifference::Kind::kMissing,
          BackupDifference::Kind::kNotInManifest, differences);
  for (const BackupEntry& entry : manifest.entries) {
    const auto there = backup.find(ToUpperMultiByte(entry.path));
    if (entry.folder || there == backup.end() || there->second.folder) continue;
    std::uint64_t size = 0;
    Md5Digest digest{};
    if (!DigestOf(backupFolder + entry.path, &size, &digest)) {
      differences->push_back({BackupDifference::Kind::kUnreadable, entry.path});
    } else if (size == entry.size && digest != entry.digest) {
      differences->push_back({BackupDifference::Kind::kContent, entry.path});
    }
  }
  return true;
}
