// Resolves Windows paths on the host: drive letters become folders of the root, and each
// component is found without regard to letter case, 8.3 aliases included. A lookup the disk
// fails is a failure of the resolution, never a missing name.
#include "platform/posix/volume_map.h"

#include <algorithm>
#include <cerrno>

#include "platform/ascii_characters.h"
#include "platform/posix/host_calls.h"
#include "platform/posix/last_error.h"
#include "platform/posix/path_parsing.h"
#include "platform/posix/short_names.h"
#include "platform/posix/walk_listings.h"

namespace platform {
namespace {

// 1 when the entry is there, 0 when it is not, -1 when the disk could not tell (errno set).
int Presence(const std::string& hostPath) {
  struct stat status;
  if (LinkStatusHost(hostPath, &status)) return 1;
  return MeansMissing(errno) ? 0 : -1;
}

bool ReadListing(const std::string& hostFolder, FolderListing* listing) {
  std::vector<std::string> names;
  if (!ReadFolderNames(hostFolder, &names)) return false;
  for (const std::string& name : names) listing->Add(name);
  return true;
}

std::string FindInListing(const FolderListing& listing, const std::string& component) {
  if (listing.names.count(component) != 0) return component;
  const auto group = listing.byUpperCase.find(AsciiUpperCase(component));
  if (group != listing.byUpperCase.end()) return *group->second.begin();
  if (component.find('~') == std::string::npos) return "";
  const std::vector<std::string> names(listing.names.begin(), listing.names.end());
  for (const std::string& name : names) {
    if (EqualIgnoringAsciiCase(AliasAmong(names, name), component)) return name;
  }
  return "";
}

// The drive's folder in the root, or "" when the machine has no such drive; false when the
// disk could not tell.
bool FindDriveFolder(char letter, std::string* folder) {
  const std::string& root = GetVolumeRoot();
  folder->clear();
  for (const char c : {ToAsciiLower(letter), ToAsciiUpper(letter)}) {
    const std::string candidate = root + "/" + c;
    const int presence = Presence(candidate);
    if (presence < 0) return false;
    if (presence > 0) {
      *folder = candidate;
      return true;
    }
  }
  return true;
}

}  // namespace

ResolvedPath ResolvePath(const std::string& windowsPath) {
  ResolvedPath resolved;
  const ParsedPath parsed = ParseWindowsPath(windowsPath);
  resolved.prefix = parsed.prefix;
  resolved.hostPathGiven = parsed.kind == ParsedPath::Kind::kHost;
  std::string base;
  switch (parsed.kind) {
    case ParsedPath::Kind::kHost:
      base = "/";
      break;
    case ParsedPath::Kind::kDrive:
      // Without a root, or without the drive's folder, the drive does not exist: nothing may be
      // created for it, and nothing may land in the host's own root folder.
      if (!GetVolumeRoot().empty() && !FindDriveFolder(windowsPath[0], &base)) {
        resolved.error = errno;
      }
      break;
    case ParsedPath::Kind::kNoVolume:
      // Rooted without a drive, or a network share: neither has a folder on this machine.
      break;
    case ParsedPath::Kind::kRelative:
      base = ".";
      break;
  }
  if (base.empty()) {
    resolved.names = parsed.components;
    return resolved;
  }

  int presence = Presence(base);
  if (presence < 0) resolved.error = errno;
  std::string hostFolder = base == "/" ? "" : base;
  for (const std::string& component : parsed.components) {
    std::string name;
    if (presence > 0 &&
        !FindNameInFolder(hostFolder.empty() ? "/" : hostFolder, component, &name)) {
      resolved.error = errno;
      presence = -1;
    }
    if (name.empty()) {
      presence = std::min(presence, 0);
      name = component;
    }
    resolved.names.push_back(name);
    hostFolder += "/" + name;
  }
  if (hostFolder.empty()) hostFolder = "/";

  resolved.exists = presence > 0;
  resolved.host = base == "." && !resolved.names.empty() ? hostFolder.substr(2) : hostFolder;
  // A trailing separator asks for a folder, as on Windows: "file.txt\" does not exist.
  if (parsed.trailingSeparator && !resolved.names.empty()) {
    resolved.host += "/";
    if (resolved.exists) {
      struct stat status;
      resolved.exists = StatHost(resolved.host, &status);
      if (!resolved.exists && !MeansMissing(errno)) resolved.error = errno;
    }
  }
  return resolved;
}

bool FindNameInFolder(const std::string& hostFolder, const std::string& component,
                      std::string* name) {
  name->clear();
  if (component == "..") {
    *name = component;
    return true;
  }
  const std::string folder = WithoutTrailingSlashes(hostFolder);
  FolderListing* listing = KeptListing(folder);
  if (listing == nullptr) {
    // One look at the exact name first: most names are written as they are stored.
    const int presence = Presence(folder == "/" ? "/" + component : folder + "/" + component);
    if (presence != 0) {
      if (presence > 0) *name = component;
      return presence > 0;
    }
    FolderListing read;
    if (!ReadListing(folder, &read)) return false;
    listing = KeepListing(folder, read);
    if (listing == nullptr) {
      *name = FindInListing(read, component);
      return true;
    }
  }
  *name = FindInListing(*listing, component);
  return true;
}

std::string ToHostPath(const std::string& windowsPath) {
  return ResolvePath(windowsPath).host;
}

bool ResolveHostPath(const std::string& windowsPath, std::string* host) {
  const ResolvedPath resolved = ResolvePath(windowsPath);
  *host = resolved.host;
  if (resolved.error == 0) return true;
  SetLastErrorFromErrno(resolved.error);
  return false;
}

}  // namespace platform
