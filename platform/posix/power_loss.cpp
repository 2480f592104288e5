#include "platform/posix/power_loss.h"

#ifdef SETUP_FAULT_INJECTION

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <set>
#include <utility>
#include <vector>

#include "platform/posix/volume_map.h"

namespace platform {
namespace {

struct Inode {
  dev_t device = 0;
  ino_t number = 0;
  bool operator<(const Inode& other) const {
    return device != other.device ? device < other.device : number < other.number;
  }
};

// A file's contents as of its last fsync, and a descriptor to put them back through: the file
// may be renamed meanwhile.
struct Snapshot {
  int descriptor = -1;
  std::string contents;
};

// What stood at a path before a change took it away, to be put back.
struct KeptEntry {
  bool present = false;
  bool folder = false;
  std::string contents;  // a file's contents as of its last fsync; a link's target
  bool link = false;
  mode_t mode = 0644;
};

struct EntryChange {
  enum class Kind { kCreated, kRenamed } kind;
  std::string path;          // made, or the rename's source
  std::string to;            // the rename's target
  KeptEntry kept;            // what the rename replaced
  std::set<Inode> awaiting;  // folders whose flush makes the change last
};

std::map<Inode, Snapshot> g_snapshots;
std::vector<EntryChange> g_changes;

bool InodeOf(int descriptor, Inode* inode) {
  struct stat status;
  if (fstat(descriptor, &status) != 0) return false;
  *inode = {status.st_dev, status.st_ino};
  return true;
}

bool InodeAt(const std::string& hostPath, Inode* inode) {
  struct stat status;
  if (stat(hostPath.c_str(), &status) != 0) return false;
  *inode = {status.st_dev, status.st_ino};
  return true;
}

std::string ReadAll(int descriptor) {
  std::string contents;
  char buffer[65536];
  for (off_t offset = 0;;) {
    const ssize_t got = pread(descriptor, buffer, sizeof buffer, offset);
    if (got <= 0) return contents;
    contents.append(buffer, static_cast<std::size_t>(got));
    offset += got;
  }
}

void WriteAll(int descriptor, const std::string& contents) {
  if (ftruncate(descriptor, 0) != 0) return;
  for (std::size_t done = 0; done < contents.size();) {
    const ssize_t put = pwrite(descriptor, contents.data() + done, contents.size() - done,
                               static_cast<off_t>(done));
    if (put <= 0) return;
    done += static_cast<std::size_t>(put);
  }
}

// Keeps the contents of the open file as they are now, unless its last flushed contents are
// kept already. Opened again through /proc so that a file opened for writing only can be read.
void KeepContents(int descriptor, const Inode& inode) {
  if (g_snapshots.count(inode) != 0) return;
  const std::string self = "/proc/self/fd/" + std::to_string(descriptor);
  const int copy = open(self.c_str(), O_RDWR | O_CLOEXEC);
  if (copy < 0) return;
  g_snapshots[inode] = Snapshot{copy, ReadAll(copy)};
}

// The entry at `hostPath` as the disk last held it.
KeptEntry KeepEntry(const std::string& hostPath) {
  KeptEntry kept;
  struct stat status;
  if (lstat(hostPath.c_str(), &status) != 0) return kept;
  kept.present = true;
  kept.mode = status.st_mode & 07777;
  if (S_ISDIR(status.st_mode)) {
    kept.folder = true;
  } else if (S_ISLNK(status.st_mode)) {
    kept.link = true;
    kept.contents = std::filesystem::read_symlink(hostPath).string();
  } else {
    const auto snapshot = g_snapshots.find({status.st_dev, status.st_ino});
    if (snapshot != g_snapshots.end()) {
      kept.contents = snapshot->second.contents;
    } else if (const int file = open(hostPath.c_str(), O_RDONLY | O_CLOEXEC); file >= 0) {
      kept.contents = ReadAll(file);
      close(file);
    }
  }
  return kept;
}

void PutBack(const std::string& hostPath, const KeptEntry& kept) {
  if (!kept.present) return;
  if (kept.folder) {
    mkdir(hostPath.c_str(), kept.mode);
  } else if (kept.link) {
    symlink(kept.contents.c_str(), hostPath.c_str());
  } else {
    const int file = open(hostPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, kept.mode);
    if (file < 0) return;
    WriteAll(file, kept.contents);
    fchmod(file, kept.mode);
    close(file);
  }
}

void Journal(EntryChange change, const std::vector<std::string>& folders) {
  for (const std::string& folder : folders) {
    Inode inode;
    if (InodeAt(folder, &inode)) change.awaiting.insert(inode);
  }
  g_changes.push_back(std::move(change));
}

}  // namespace

void NoteContentsChanging(int descriptor) {
  Inode inode;
  if (PowerLossModelled() && InodeOf(descriptor, &inode)) KeepContents(descriptor, inode);
}

void NoteTruncating(const std::string& hostPath) {
  if (!PowerLossModelled()) return;
  const int file = open(hostPath.c_str(), O_RDONLY | O_CLOEXEC);
  if (file < 0) return;
  Inode inode;
  if (InodeOf(file, &inode)) KeepContents(file, inode);
  close(file);
}

void NoteFileFlushed(int descriptor) {
  Inode inode;
  if (!PowerLossModelled() || !InodeOf(descriptor, &inode)) return;
  const auto snapshot = g_snapshots.find(inode);
  if (snapshot == g_snapshots.end()) return;
  close(snapshot->second.descriptor);
  g_snapshots.erase(snapshot);
}

void NoteFolderFlushed(int descriptor) {
  Inode inode;
  if (!PowerLossModelled() || !InodeOf(descriptor, &inode)) return;
  std::vector<EntryChange> pending;
  for (EntryChange& change : g_changes) {
    change.awaiting.erase(inode);
    if (!change.awaiting.empty()) pending.push_back(std::move(change));
  }
  g_changes = std::move(pending);
}

void NoteVolumeFlushed(int descriptor) {
  Inode volume;
  if (!PowerLossModelled() || !InodeOf(descriptor, &volume)) return;
  for (auto snapshot = g_snapshots.begin(); snapshot != g_snapshots.end();) {
    if (snapshot->first.device != volume.device) {
      ++snapshot;
      continue;
    }
    close(snapshot->second.descriptor);
    snapshot = g_snapshots.erase(snapshot);
  }
  std::vector<EntryChange> pending;
  for (EntryChange& change : g_changes) {
    for (auto folder = change.awaiting.begin(); folder != change.awaiting.end();) {
      folder = folder->device == volume.device ? change.awaiting.erase(folder) : std::next(folder);
    }
    if (!change.awaiting.empty()) pending.push_back(std::move(change));
  }
  g_changes = std::move(pending);
}

void NoteCreated(const std::string& hostPath) {
  if (!PowerLossModelled()) return;
  Journal({EntryChange::Kind::kCreated, hostPath, "", {}, {}}, {HostParentOf(hostPath)});
}

void NoteRenaming(const std::string& from, const std::string& to) {
  if (!PowerLossModelled()) return;
  Journal({EntryChange::Kind::kRenamed, from, to, KeepEntry(to), {}},
          {HostParentOf(from), HostParentOf(to)});
}

void ForgetLastChange() {
  if (PowerLossModelled() && !g_changes.empty()) g_changes.pop_back();
}

void LoseUnflushedChanges() {
  for (auto change = g_changes.rbegin(); change != g_changes.rend(); ++change) {
    std::error_code ignored;
    switch (change->kind) {
      case EntryChange::Kind::kCreated:
        std::filesystem::remove_all(change->path, ignored);
        break;
      case EntryChange::Kind::kRenamed:
        rename(change->to.c_str(), change->path.c_str());
        PutBack(change->to, change->kept);
        break;
    }
  }
  for (const auto& [inode, snapshot] : g_snapshots) {
    WriteAll(snapshot.descriptor, snapshot.contents);
    close(snapshot.descriptor);
  }
  g_snapshots.clear();
  g_changes.clear();
}

}  // namespace platform

#endif
